#pragma once
// The per-point routines of the zone conversions without decimal texts and Decimal
// values, for the batch: each gives what the routine it mirrors (projection.h,
// zones.h) gives, bit for bit. They compute on exact integers, or in extended
// precision with a bound on the error, and hand every value they cannot decide that
// way (a result next to a rounding boundary, an unusual range) to the routine they
// mirror, so the two agree on every input.

#include <cstdint>

#include "survey/projection.h"
#include "survey/zones.h"

namespace hc::fast {

// ZelSheRuXiaoShu(value, places).
double roundPlaces(double value, int places);
// The same rounding as a count of 10^-places units: value = ±units / 10^places. False
// when the routine would give anything else (huge values, a value without decimals
// that it returns untouched), and then nothing is set.
bool roundedUnits(double value, int places, std::int64_t& units, bool& negative);

// ZelDuFenMiaoZhuanBaiFenDu: packed d.mmss... to decimal degrees.
double packedToDegrees(double packed);
// ZelBaiFenDuZhuanHuDu: decimal degrees to radians through the Decimal product.
double degreesToRadians(double degrees);
// ZelBaiFenDuZhuanDuFenMiao: decimal degrees to packed d.mmss....
double degreesToPacked(double degrees);

// Remark of a forward conversion that keeps its values.
enum class GridRemark : std::uint8_t {
    None,
    CrossZone,      // "……跨带 " & meridian & "度"
    OtherMeridian,  // "⊕⊕中央 " & meridian & "度"
};

// A forward conversion (toGrid) as numbers: x and y also as whole millimetres, the
// meridian the remark names.
struct FastGrid {
    double x;
    double y;
    std::int64_t xMm;  // |x| in millimetres
    std::int64_t yMm;  // |y| in millimetres
    bool xNegative;
    bool yNegative;
    GridRemark remark;
    double meridian;
    double lonDegrees;  // the longitude in decimal degrees, once the range test passed
};
// The zone of the last point of a run of forward conversions, which most points of a
// batch share. One memo serves one width, setting and grid.
struct ZoneMemo {
    bool valid = false;
    double choice = 0;  // the longitude the zone was chosen from
    double l0 = 0;
    double offset = 0;  // zone number and false easting added to y
    double l0Radians = 0;
};
// toGrid(width, lat, lon, setting, set, grid) for the points it converts without an
// error remark; false for the others (out of range, overflow), which take toGrid.
// `memo`, when given, keeps the zone worked out for the previous point.
bool toGridFast(ZoneWidth width, double lat, double lon, double setting, const Ellipsoid& set,
                const GridParameters& grid, FastGrid& out, ZoneMemo* memo = nullptr);
// The remark text of a FastGrid, as toGrid writes it.
QString gridRemarkText(GridRemark remark, double meridian);

// An inverse conversion (toGeographic) as numbers: the packed angles also as whole
// units of 1E-8.
struct FastGeo {
    double lat;
    double lon;
    std::int64_t latUnits;  // |lat| * 1E+8
    std::int64_t lonUnits;  // |lon| * 1E+8
    bool latNegative;
    bool lonNegative;
};
// toGeographic(width, x, y, set, grid) for the points it converts without a remark;
// false for the others (rejected, overflow), which take toGeographic.
bool toGeographicFast(ZoneWidth width, double x, double y, const Ellipsoid& set,
                      const GridParameters& grid, FastGeo& out);

}  // namespace hc::fast
