#pragma once
// Module ZelZuoBiao2, shared pieces of the Gauss-Krueger conversions: the ellipsoid
// parameter sets, the angle forms (packed degrees-minutes-seconds d.mmss..., decimal
// degrees, radians), the module's rounding routine and the two projection cores.

#include <QString>

#include "survey/survey_settings.h"

namespace hc {

struct KrugerSeries;

// One ellipsoid parameter set. The constants are used as listed, never derived
// from one another.
struct Ellipsoid {
    double a;       // semi-major axis, metres
    double e2;      // first eccentricity squared
    double ep2;     // second eccentricity squared
    double alpha0;  // meridian-arc coefficients of the forward core
    double alpha2;
    double alpha4;
    double alpha6;
    double arcA;   // meridian-arc radius of the inverse core (a * alpha0)
    double beta1;  // footpoint-latitude coefficients of the inverse core
    double beta2;
    double beta3;
    double a1e2;  // a * (1 - e2)
    // When set, the cores project with these series (ellipsoid_series.h) instead of the
    // textbook series on the constants above.
    const KrugerSeries* kruger = nullptr;
};

const Ellipsoid& beijing1954();
const Ellipsoid& xian1980();
const Ellipsoid& wgs84();
const Ellipsoid& ellipsoidOf(Datum datum);

// "XA" Xi'an 1980, "WGS" WGS-84, anything else Beijing 1954; the code is compared
// trimmed of spaces and upper-cased.
const Ellipsoid& ZelTuoQiuCanShu(const QString& code);

// The grid laid over the projection, apart from the ellipsoid: false northing and
// false easting (metres) and the scale factor on the central meridian.
struct GridParameters {
    double falseNorthing;
    double falseEasting;
    double k0;
};
// The grid of every datum today: no false northing, 500000 m false easting, scale 1.
inline constexpr GridParameters kZoneGrid{0, 500000, 1};

// Rounds to `places` decimals (0..17), half away from zero, deciding on the decimal
// text of the value. Other place counts and huge magnitudes return the value.
double ZelSheRuXiaoShu(double value, int places);

// Packed degrees-minutes-seconds on doubles. These read and write the decimal text of
// a double (15 significant digits, decimalText below): d.mmss... with the minutes in the
// first two fraction digits, whole seconds in the next two and fractions of a second
// after them, fewer than four fraction digits read as if zeros followed, the sign of
// the whole angle in front. Seconds above 60, and minutes with seconds above 60, are
// taken as 60 without a word. Decimal degrees to packed rounds the seconds to the 4
// places of an 8-place packed angle and carries them into the minutes when that gives 60.
// They stay apart from the calculator's ZelDuZhuanTiDu / ZelTiDuZhuanDu
// (engine/angle.h), which read the 29-digit number text of a value, tell the user
// about seconds or minutes above 60, and round the seconds to 24 places before a
// carry: the same angle can come out differently in the last places.
double ZelDuFenMiaoZhuanBaiFenDu(double packed);
double ZelBaiFenDuZhuanDuFenMiao(double degrees);
// Carries seconds or minutes that reached 60 into the next unit.
double ZelDuFenMiaoGuiZheng(double packed);
// Whether a packed angle's minutes or whole seconds, as ZelDuFenMiaoZhuanBaiFenDu reads
// them, are 60 or more (39.7000, 39.5975, 39.5960): it then takes them as 60.
bool packedBeyondSixty(double packed);
double ZelDuFenMiaoZhuanHuDu(double packed);
double ZelBaiFenDuZhuanHuDu(double degrees);
// Radians to decimal degrees, in doubles.
double radiansToDegrees(double radians);

// Magnitudes above this are left alone by the angle conversions and the rounding.
inline constexpr double kAngleGuard = 179769313486232.0;

// The decimal text of a double: rounded to 15 significant digits, written without
// exponent and without trailing zeros ("39.4125536", "117", "-0.3"). Magnitudes
// beyond the Decimal range get their number text ("1E+30").
QString decimalText(double value);

struct GridXY {
    double x;  // northing, metres
    double y;  // easting from the central meridian, metres, without prefix or false easting
};

struct LatDiff {
    double b;  // latitude, radians
    double l;  // longitude difference from the central meridian, radians
};

// Forward core: latitude and longitude difference (radians) to northing and easting.
GridXY ZelTouYingZhengSuan(double b, double l, const Ellipsoid& set,
                           const GridParameters& grid = kZoneGrid);
// Footpoint latitude (radians) of a northing x (metres): the latitude whose meridian arc
// is x, by the inverse core's series.
double footpointLatitude(double x, const Ellipsoid& set, const GridParameters& grid = kZoneGrid);
// The northing of the pole (metres): the meridian arc from the equator to the pole.
double meridianQuadrant(const Ellipsoid& set, const GridParameters& grid = kZoneGrid);
// How far from the central meridian (degrees of longitude) the conversions reach: the
// forward ones refuse a point farther off, the inverse ones grid values that come back
// farther (inverseWithinReach). The series in y/N are within 5 cm of the exact
// projection at 6 degrees and fall apart well beyond.
inline constexpr double kMeridianReach = 6;
// The largest reduced easting (metres) the inverse series are run on at northing x
// (>= 0): kInverseSeriesGuard degrees on the parallel of the footpoint latitude, so it
// shrinks to 0 at the pole. A point kMeridianReach degrees off lies within 6.03 degrees
// on that parallel (the footpoint is nearer the pole than the point), so the guard only
// keeps the series from points far beyond; inverseWithinReach decides.
inline constexpr double kInverseSeriesGuard = 7;
double inverseEastingLimit(double x, const Ellipsoid& set, const GridParameters& grid = kZoneGrid);
// Whether an inverse result, latitude b and longitude difference l (radians), lies
// within kMeridianReach degrees of the central meridian, the forward conversions' test,
// give or take what a round trip adds: the grid values' rounding to the millimetre and
// the textbook series' disagreement (up to 5 cm on the parallel at 6 degrees). The
// allowance is 2 mm plus 10 cm times k0 along the parallel of b on the grid.
bool inverseWithinReach(double b, double l, const Ellipsoid& set, double k0);
// Inverse core: northing (>= 0) and reduced easting to latitude and longitude difference.
LatDiff ZelTouYingFanSuan(double x, double yReduced, const Ellipsoid& set,
                          const GridParameters& grid = kZoneGrid);

}  // namespace hc
