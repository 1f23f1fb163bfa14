#pragma once
// The constants of an ellipsoid parameter set derived from its shape, with the series
// the listed sets were computed with: the meridian arc in powers of e² to e⁶ and the
// footpoint latitude in powers of e1 = (1 − √(1 − e²)) / (1 + √(1 − e²)); and Krüger's
// series of the transverse Mercator in the third flattening, which CGCS2000 projects with.

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

// Krüger's series of the transverse Mercator in the third flattening n = f / (2 − f),
// to n⁶, as C. F. F. Karney gives them in "Transverse Mercator with an accuracy of a few
// nanometers", J. Geodesy 85 (2011) 475–485, eqs. (7)–(11), (15), (19)–(21), (35), (36):
//   forward: conformal latitude, then ξ = ξ′ + Σ αj sin 2jξ′ cosh 2jη′,
//            η = η′ + Σ αj cos 2jξ′ sinh 2jη′,  x = k0·A·ξ + FN,  y = k0·A·η;
//   inverse: ξ′ = ξ − Σ βj sin 2jξ cosh 2jη,  η′ = η − Σ βj cos 2jξ sinh 2jη, then the
//            latitude from the conformal latitude by Newton's method.
// Within 4000 km of the central meridian they stay within 5 nm of the exact projection,
// so in every zone the doubles' rounding is all that is left.
struct KrugerSeries {
    double e;           // first eccentricity
    double e2;          // its square
    double rectifying;  // A = a/(1 + n)·(1 + n²/4 + n⁴/64 + n⁶/256), metres
    double alpha[6];    // α1 … α6 of the forward series
    double beta[6];     // β1 … β6 of the inverse series
};

// From the semi-major axis a (metres) and the flattening f, computed once in doubles
// from those two numbers alone.
KrugerSeries krugerSeries(double a, double f);

// Northing (with FN and k0) and easting from the central meridian (with k0, without
// the false easting) of latitude b and longitude difference l, radians.
GridXY krugerForward(double b, double l, const KrugerSeries& s, const GridParameters& grid);
// Latitude and longitude difference (radians) of a northing x (with FN) and an easting
// y′ from the central meridian (metres).
LatDiff krugerInverse(double x, double yReduced, const KrugerSeries& s, const GridParameters& grid);

// CGCS2000: a = 6378137 m, 1/f = 298.257222101. Its textbook constants are derived as
// above (for the convergence, scale and height columns), and it projects with Krüger's
// series.
const Ellipsoid& cgcs2000();

}  // namespace hc
