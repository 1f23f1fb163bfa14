#pragma once
// Areas of parcels: the calculation of the area window Form215 and of
// "hechuan-cli area".
//
// Input is a point list (point_list.h): one vertex a line, "name, X, Y, H". A blank
// line, or a line holding only a name, ends the parcel; a name-only line names the
// next one. Grid input: X north and Y east in metres, Y with its zone number in
// front (or, with a chosen central meridian, without one). Geographic input: X the
// latitude and Y the longitude in packed degrees (d.mmss..., north and east
// positive).
//
// The plane area is the shoelace sum of the typed coordinates in exact rational
// arithmetic; the ellipsoidal area is the geodesic polygon area on the datum's
// ellipsoid, grid vertices being taken back to latitude and longitude by the
// inverse Gauss-Krueger projection.

#include <gmpxx.h>

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "engine/decimal.h"
#include "engine/notice.h"
#include "survey/distance_bearing.h"
#include "survey/survey_settings.h"

namespace hc {

struct AreaOptions {
    bool geographic = false;
    Datum datum = Datum::Beijing1954;
    // Grid input: the zone width. Nothing: read from the zone number, 13 ... 23 being
    // 6-degree zones and 24 ... 45 3-degree zones (the zones over China).
    std::optional<ZoneWidth> zone;
    // Grid input: a central meridian in decimal degrees; the eastings then carry no
    // zone number (Y = 500000 + easting from the meridian).
    std::optional<double> meridian;
    int decimals = 3;  // places of the areas in m² (0 ... kMaxAreaDecimals)
};

inline constexpr int kMaxAreaDecimals = 8;
// Vertices kept of one parcel (rows repeating the vertex before them not counted); a
// larger parcel is refused with a notice, which keeps memory bounded.
inline constexpr int kMaxParcelVertices = 2000000;

// The shoelace sum of a ring, exact: the signed area in m² is
// twice / (2 * 10^(2 * scale)), positive for a clockwise ring on the map (X north,
// Y east). An empty or one-point ring gives 0.
struct ShoelaceSum {
    mpz_class twice;
    int scale = 0;
    mpq_class area() const;  // the signed area, m²
};
ShoelaceSum shoelace(const std::vector<Decimal>& x, const std::vector<Decimal>& y);

// `value` rounded to `places` decimals, half away from zero, as plain text with
// exactly that many decimals ("-12.50", "0").
QString roundedText(const mpq_class& value, int places);

// The geodesic polygon of latitudes and longitudes (decimal degrees) on the datum's
// ellipsoid: area in m² (signed, positive clockwise) and perimeter in metres.
struct GeodesicPolygon {
    double area;
    double perimeter;
};
GeodesicPolygon geodesicPolygon(const std::vector<double>& lat, const std::vector<double>& lon,
                                Datum datum);

// Whether two edges of the ring (consecutive equal vertices taken as one) cross or
// touch other than at the vertex adjacent edges share, decided exactly on the typed
// values. Nothing when the ring is too large for the check's bounded work.
std::optional<bool> ringCrosses(const std::vector<Decimal>& x, const std::vector<Decimal>& y);

// The column heading above the parcel rows.
QString areaHeading(bool geographic);

struct AreaRun {
    QString input;   // the point list laid out again (the input box)
    QString output;  // the heading, one row per parcel and the total row, CR LF after each
    Notices notices;
    bool failed = false;  // no parcel could be computed
};

// Reads `input` and computes every parcel. Never throws but for memory.
AreaRun runParcelArea(const QString& input, const AreaOptions& options);

// The same over rows that come one at a time (the command line): appends the output
// box text to `out` and the notices to `notices`; returns false when no parcel could
// be computed.
bool parcelAreaRows(const PointRowWalk& walk, const AreaOptions& options, QString& out,
                    Notices& notices);

}  // namespace hc

namespace hc {

// The area window's controls as they read at the click.
struct AreaControls {
    QString input;                               // Text1, the point list
    bool geographic = false;                     // Check1
    QString ellipsoid = QStringLiteral("北京");  // ComboDatum: 北京, 西安, WGS, 2000
    QString zone = QStringLiteral("自动");       // ComboZone: 自动, 6度带, 3度带, 1.5度带
    QString meridian;                            // Text3: empty, or a central meridian
    QString decimals = QStringLiteral("3");      // ComboDecimals
};

// The choices of the zone box.
QStringList areaZoneChoices();

// Lines of the window's point list computed at one click: the calculation runs in the
// event handler, and at this size it stays within a fraction of a second.
inline constexpr int kWindowAreaLines = 100000;

// Command1: reads the controls and computes. An unreadable meridian or decimals text,
// or a list of more than kWindowAreaLines lines, gives a notice and no result (failed).
// Never throws but for memory.
AreaRun areaWindowCalculate(const AreaControls& controls);

}  // namespace hc
