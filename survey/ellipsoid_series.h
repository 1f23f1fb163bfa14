#pragma once
// The constants of an ellipsoid parameter set derived from its shape, with the series
// the listed sets were computed with: the meridian arc in powers of e² to e⁶ and the
// footpoint latitude in powers of e1 = (1 − √(1 − e²)) / (1 + √(1 − e²)).

#include "survey/projection.h"

namespace hc {

// From the semi-major axis a (metres) and the first eccentricity squared e2:
//   e′² = e² / (1 − e²),  a(1 − e²),
//   α0 = 1 − e²/4 − 3e⁴/64 − 5e⁶/256,   α2 = 3e²/8 + 3e⁴/32 + 45e⁶/1024,
//   α4 = 15e⁴/256 + 45e⁶/1024,           α6 = 35e⁶/3072,            A = a·α0,
//   β1 = 3e1/2 − 27e1³/32,  β2 = 21e1²/16 − 55e1⁴/32,  β3 = 151e1³/96.
// For the Earth's flattening the truncated terms (e⁸ in the arc, e1⁴ and e1⁵ in the
// footpoint) make the meridian arc 0.25 mm long at 45 degrees latitude and 0.76 mm at
// 60 to 80, as in the listed sets. Throws nothing; a and e2 must be positive, e2 < 1.
Ellipsoid ellipsoidFromEccentricity(double a, double e2);

// From a and the flattening f (e² = f(2 − f)).
Ellipsoid ellipsoidFromFlattening(double a, double f);

// CGCS2000: a = 6378137 m, 1/f = 298.257222101, derived as above once.
const Ellipsoid& cgcs2000();

}  // namespace hc
