#pragma once
// Grid options of the command-line coordinate batch beyond the conversion window's
// controls: scale on the central meridian, false easting and northing, a central
// meridian anywhere (a local grid), a projection surface above the ellipsoid and the
// convergence and scale columns.
//
// The options apply to the grids on both sides of a conversion. With their defaults
// every row is converted by the zone routines of zones.h exactly as the window does.
// The inverse takes the false northing off before the zone routine's checks, so that
// its northing limit and the hemisphere read from the sign hold for the true northing.
//
// Height: the projection surface at height H above the ellipsoid. Its grid is the
// ellipsoid's grid scaled about the central meridian and the false origin by
//   s = (R + H) / R,   R = √(M·N) = a·√(1 − e²) / (1 − e²·sin²B)
// the mean radius of curvature at the point's latitude B:
//   x = FN + s·(x₀ − FN),   y = zone prefix + FE + s·y₀′
// where x₀ and y₀′ are the northing and the easting from the central meridian on the
// ellipsoid (with k0). The inverse divides back; as B is what it looks for, it starts
// from the footpoint latitude and repeats with the latitude it found until s settles.
//
// Local grid: a central meridian that is not a multiple of 1.5 degrees belongs to no
// zone. Every point is computed on it, the easting carries no zone number (y = FE + y′),
// and the inverse reads eastings the same way. Points more than 6 degrees of longitude
// from it are rejected; beyond the zone width's cross-zone distance (3, 1.5 or 0.75
// degrees) they get the "……跨带" remark.

#include <QString>
#include <optional>

#include "survey/coord_text.h"
#include "survey/zones.h"

namespace hc {

struct GkGridOptions {
    GridParameters grid = kZoneGrid;  // false northing, false easting (metres), k0
    double height = 0;                // projection surface above the ellipsoid, metres
    bool localMeridian = false;       // the central meridian is not a multiple of 1.5
    bool extra = false;               // append the convergence and scale columns
    // True when the options change nothing: the zone routines apply as they are.
    bool isDefault() const;
};

struct MeridianOption {
    double degrees;  // decimal degrees, -180 ... 180
    bool local;      // not a multiple of 1.5 degrees
};
// Reads a central meridian given on the command line. In this order:
//  - degrees, minutes and seconds with marks: 117°15′, 117°15'30", 117度15分30秒 (the
//    minutes and the seconds may be left out, the seconds may have a fraction);
//  - a setting the window accepts (a multiple of 1.5 within ±180, "112.5", "117度-6"),
//    read as decimal degrees as the window reads it;
//  - otherwise a number in packed d.mmss: 117.15 is 117°15′, 117.153 is 117°15′30″.
// Minutes and seconds must be below 60, the result within ±180. Nothing when the text
// is none of these.
std::optional<MeridianOption> meridianOption(const QString& text);

// True for a conversion remark that rejects the point (its values are zeroed): the
// range and overflow messages of zones.h, which all begin "错误".
bool isRejection(const QString& remark);

// One point through a conversion with options. `in` is the zone width of grid input
// (nothing: packed latitude and longitude), `out` that of grid output; u, v are the
// northing and easting (metres) or latitude and longitude (packed d.mmss). `meridian`
// is the central meridian setting in decimal degrees.
struct ConvertedPoint {
    double u;        // northing or latitude, as the zone routines round them
    double v;        // easting or longitude
    QString remark;  // "" when none
    bool rejected;   // a step rejected the point
    double gamma;    // grid convergence, decimal degrees; 0 when rejected
    double k;        // point scale factor (with k0 and the height scale); 0 when rejected
};
// The convergence and scale are those of the point on the output grid, or on the
// input grid when the output is latitude and longitude. Throws nothing.
ConvertedPoint convertWithOptions(std::optional<ZoneWidth> in, std::optional<ZoneWidth> out,
                                  double u, double v, double meridian, const Ellipsoid& set,
                                  const GkGridOptions& options);

// Appends the output row of a point (see convertWithOptions) for the window's layout,
// with " , γ , k" after the height when options.extra is set. `names` is the name
// column, `xyz` the column order. Returns false when the point was rejected.
bool appendRowWithOptions(std::optional<ZoneWidth> in, std::optional<ZoneWidth> out, double u,
                          double v, double height, const QString& names, bool xyz, double meridian,
                          const Ellipsoid& set, const GkGridOptions& options, QString& row);

}  // namespace hc
