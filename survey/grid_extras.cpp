// Grid convergence and point scale factor by the textbook series of the Gauss-Krueger
// projection, in powers of l·cos B to the order of the forward series in projection.cpp:
//  - γ as 孔祥元、郭际明、刘宗泉《大地测量学基础》(高斯投影, 子午线收敛角) gives it, to l⁵;
//  - k as J. P. Snyder, Map Projections: A Working Manual (USGS Professional Paper 1395,
//    1987), eq. 8-11 gives it, to (l·cos B)⁶; the Chinese textbooks stop at the fourth
//    power without the η² terms there, 2E-9 short at 1.5 degrees from the meridian.

#include "survey/grid_extras.h"

#include <cmath>

namespace hc {

GridExtras gridExtras(double b, double l, const Ellipsoid& p, double k0) {
    const double s = std::sin(b);
    const double c = std::cos(b);
    const double t = std::tan(b);
    const double t2 = t * t;
    const double eta2 = p.ep2 * c * c;
    const double m2 = l * l * c * c;
    const double m4 = m2 * m2;
    const double gamma =
        l * s * (1 + m2 * (1 + 3 * eta2 + 2 * eta2 * eta2) / 3 + m4 * (2 - t2) / 15);
    const double k = k0 * (1 + m2 * (1 + eta2) / 2 +
                           m4 * (5 - 4 * t2 + 42 * eta2 + 13 * eta2 * eta2 - 28 * p.ep2) / 24 +
                           m4 * m2 * (61 - 148 * t2 + 16 * t2 * t2) / 720);
    return {gamma, k};
}

double meanRadius(double b, const Ellipsoid& p) {
    const double s = std::sin(b);
    const double w2 = 1 - p.e2 * s * s;
    return p.a * std::sqrt(1 - p.e2) / w2;
}

double heightScale(double b, double h, const Ellipsoid& p) {
    if (h == 0) return 1;
    const double r = meanRadius(b, p);
    return (r + h) / r;
}

}  // namespace hc
