#pragma once
// Module ZelZuoBiao2, the Gauss-Krueger projection: the grid laid over it and the
// two projection cores. The ellipsoid parameter sets (survey/ellipsoid.h) and the
// angle forms and rounding on doubles (survey/packed_angle.h) are included for the
// code that reads them all from here.

#include <QString>

#include "survey/ellipsoid.h"
#include "survey/packed_angle.h"
#include "survey/survey_settings.h"

namespace hc {

// The grid laid over the projection, apart from the ellipsoid: false northing and
// false easting (metres) and the scale factor on the central meridian.
struct GridParameters {
    double falseNorthing;
    double falseEasting;
    double k0;
};
// The grid of every datum today: no false northing, 500000 m false easting, scale 1.
inline constexpr GridParameters kZoneGrid{0, 500000, 1};

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
