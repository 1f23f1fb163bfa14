#include "survey/ellipsoid_series.h"

#include <cmath>

namespace hc {

Ellipsoid ellipsoidFromEccentricity(double a, double e2) {
    const double e4 = e2 * e2;
    const double e6 = e4 * e2;
    // (1 − s) / (1 + s) with s = √(1 − e²), written without the cancellation in 1 − s.
    const double s = std::sqrt(1 - e2);
    const double e1 = e2 / ((1 + s) * (1 + s));
    const double e1p2 = e1 * e1;
    const double e1p3 = e1p2 * e1;
    Ellipsoid set{};
    set.a = a;
    set.e2 = e2;
    set.ep2 = e2 / (1 - e2);
    set.alpha0 = 1 - e2 / 4 - 3 * e4 / 64 - 5 * e6 / 256;
    set.alpha2 = 3 * e2 / 8 + 3 * e4 / 32 + 45 * e6 / 1024;
    set.alpha4 = 15 * e4 / 256 + 45 * e6 / 1024;
    set.alpha6 = 35 * e6 / 3072;
    set.arcA = a * set.alpha0;
    set.beta1 = 3 * e1 / 2 - 27 * e1p3 / 32;
    set.beta2 = 21 * e1p2 / 16 - 55 * e1p2 * e1p2 / 32;
    set.beta3 = 151 * e1p3 / 96;
    set.a1e2 = a * (1 - e2);
    return set;
}

Ellipsoid ellipsoidFromFlattening(double a, double f) {
    return ellipsoidFromEccentricity(a, f * (2 - f));
}

const Ellipsoid& cgcs2000() {
    static const Ellipsoid set = ellipsoidFromFlattening(6378137, 1 / 298.257222101);
    return set;
}

}  // namespace hc
