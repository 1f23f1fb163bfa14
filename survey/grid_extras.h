#pragma once
// What a Gauss-Krueger grid says about a point besides its coordinates: the grid
// convergence and the point scale factor, and the scale of a projection surface raised
// above the ellipsoid.

#include "survey/projection.h"

namespace hc {

struct GridExtras {
    double gamma;  // grid convergence, radians: grid north clockwise from true north
    double k;      // point scale factor, with the scale on the central meridian
};

// Grid convergence and point scale factor at latitude b and longitude difference l from
// the central meridian (radians), for a grid with scale k0 on the central meridian:
//   γ = l·sin B·[1 + l²cos²B·(1 + 3η² + 2η⁴)/3 + l⁴cos⁴B·(2 − t²)/15]
//   k = k0·[1 + A²(1 + η²)/2 + A⁴(5 − 4t² + 42η² + 13η⁴ − 28e′²)/24
//           + A⁶(61 − 148t² + 16t⁴)/720],  A = l·cos B
// with t = tan B and η² = e′²·cos²B. Throws nothing; non-finite inputs give non-finite
// results.
GridExtras gridExtras(double b, double l, const Ellipsoid& set, double k0);

// Mean radius of curvature R = √(M·N) at latitude b (radians), metres:
// M = a(1 − e²)/W³, N = a/W, W = √(1 − e²·sin²B), so R = a·√(1 − e²)/W².
double meanRadius(double b, const Ellipsoid& set);

// The scale (R + H)/R of the projection surface at height h (metres) above the ellipsoid,
// R = meanRadius(b). A grid on that surface is the ellipsoid's grid scaled by it about
// the central meridian and the false origin. Throws nothing.
double heightScale(double b, double h, const Ellipsoid& set);

}  // namespace hc
