#pragma once
// Module ZelZuoBiao2: 6, 3 and 1.5 degree zones, the six zone conversions and the
// central-meridian setting of the coordinate conversion.

#include <QString>

#include "survey/projection.h"
#include "survey/survey_settings.h"

namespace hc {

// A forward conversion's result: northing x and easting y in metres, rounded to 3
// decimals, y with the zone prefix and the false easting; both 0 when the point was
// rejected. The remark is "" when there is none.
struct GridPoint {
    double x;
    double y;
    QString remark;
};

// An inverse conversion's result: packed latitude and longitude (d.mmss...), rounded to
// 8 decimals; both 0 when the point was rejected. The remark is "" when there is none.
struct GeoPoint {
    double lat;
    double lon;
    QString remark;
};

// Forward conversions of a packed latitude and longitude in the zones of `width`.
// `setting` is the chosen central meridian in decimal degrees.
GridPoint toGrid(ZoneWidth width, double lat, double lon, double setting, const Ellipsoid& set,
                 const GridParameters& grid = kZoneGrid);
GridPoint ZelZhengSuan6(double lat, double lon, double setting, const Ellipsoid& set);
GridPoint ZelZhengSuan3(double lat, double lon, double setting, const Ellipsoid& set);
GridPoint ZelZhengSuan15(double lat, double lon, double setting, const Ellipsoid& set);

// Inverse conversions of a northing and an easting (metres, the easting with its zone
// prefix and false easting) in the zones of `width`.
GeoPoint toGeographic(ZoneWidth width, double x, double y, const Ellipsoid& set,
                      const GridParameters& grid = kZoneGrid);
GeoPoint ZelFanSuan15(double x, double y, const Ellipsoid& set);
GeoPoint ZelFanSuan3(double x, double y, const Ellipsoid& set);
GeoPoint ZelFanSuan6(double x, double y, const Ellipsoid& set);

// The first range rule of the inverse conversions that northing x and easting y
// (metres, the easting with its zone prefix and false easting) break, in the order
// their remarks are given; None for non-finite values that break none of them.
enum class GridRangeFault { None, EastingTooSmall, EastingTooLarge, NorthingTooLarge };
GridRangeFault gridRangeFault(ZoneWidth width, double x, double y);

// A grid easting taken apart: the central meridian of its zone (degrees), the easting
// from that meridian without the false easting (metres), and whether the longitude is
// west (a negative easting of the 6 and 3 degree zones). Checks nothing.
struct ZoneEasting {
    double meridian;
    double reduced;
    bool western;
};
ZoneEasting zoneEasting(ZoneWidth width, double y, double falseEasting);

// Whether grid values x, y that a forward conversion wrote (metres; x without the false
// northing, y with its zone prefix and false easting) for a point projected on central
// meridian `meridian` (degrees), with easting `yReduced` from it, read back as that
// point: the inverse's range rules hold and the easting's zone prefix gives back that
// meridian and easting (to the millimetre). False when y' + FE left the zone's
// 0 ... 999999 m, so that the prefix would name another zone, or the grid values broke
// a range rule of the inverse.
bool gridReadsBack(ZoneWidth width, double x, double y, double meridian, double yReduced,
                   double falseEasting);

// The inverse core with the checks every inverse conversion makes on a northing ax >= 0
// (the false northing taken off) and a reduced easting: a northing beyond the pole by
// more than the millimetre rounding, an easting beyond the series' guard
// (inverseEastingLimit) and a result beyond the meridian reach (inverseWithinReach).
// A northing within the rounding beyond the pole is taken as the pole's. `out` is set
// when the result is None.
enum class InverseFault { None, BeyondPole, FarEasting, Overflow };
InverseFault checkedInverse(double ax, double reduced, const Ellipsoid& set,
                            const GridParameters& grid, LatDiff& out);

// The remark of a conversion whose arithmetic left the range of doubles.
QString overflowMessage();
// The remark of a forward conversion refusing a point more than kMeridianReach degrees
// of longitude from its central meridian.
QString farFromMeridianMessage();
// The remark of a forward conversion refusing a point whose easting would not read back
// in its zone (gridReadsBack).
QString eastingOutsideZoneMessage();
// Packed d.mmss of an inverse result given in decimal degrees: rounded to 8 places,
// read back through its 15-digit text, negated when `negate` is set (a western zone's
// result, computed on its magnitude), then carried. False when it is not finite.
bool packedResult(double degrees, bool negate, double& out);

inline constexpr double kDefaultMeridian = 117;
// The label of the default setting (no space after the colon).
QString defaultZoneLabel();
// The message box shown for an invalid central-meridian setting.
QString invalidMeridianMessage();

struct MeridianSetting {
    double value;  // 117 when the text did not hold a valid setting
    bool valid;
};

// The number at the start of a setting text ("117度-6" -> 117, "度" -> 0). Grammar:
// spaces, an optional sign, then digits with at most one decimal point, read up to the
// first character that cannot continue them; no exponent. A text without digits is 0,
// one with too many digits for a double is HUGE_VAL. It is separate from the data
// field reader (coord_text.h) because the setting stops at "e" and at a second sign.
double leadingNumber(const QString& text);
// Reads and validates a setting text: within -180 ... 180 and a multiple of 1.5.
MeridianSetting ZelZhongYangJingDu(const QString& text);
// "对应带号:" with the 6, 3 and 1.5 degree zone numbers of a central meridian.
QString ZelDuiYingDaiHao(double meridian);

}  // namespace hc
