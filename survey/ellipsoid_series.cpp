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

KrugerSeries krugerSeries(double a, double f) {
    const double n = f / (2 - f);
    const double n2 = n * n;
    const double n3 = n2 * n;
    const double n4 = n3 * n;
    const double n5 = n4 * n;
    const double n6 = n5 * n;
    KrugerSeries s{};
    s.e2 = f * (2 - f);
    s.e = std::sqrt(s.e2);
    s.rectifying = a / (1 + n) * (1 + n2 / 4 + n4 / 64 + n6 / 256);
    s.alpha[0] =
        n / 2 - 2 * n2 / 3 + 5 * n3 / 16 + 41 * n4 / 180 - 127 * n5 / 288 + 7891 * n6 / 37800;
    s.alpha[1] =
        13 * n2 / 48 - 3 * n3 / 5 + 557 * n4 / 1440 + 281 * n5 / 630 - 1983433 * n6 / 1935360;
    s.alpha[2] = 61 * n3 / 240 - 103 * n4 / 140 + 15061 * n5 / 26880 + 167603 * n6 / 181440;
    s.alpha[3] = 49561 * n4 / 161280 - 179 * n5 / 168 + 6601661 * n6 / 7257600;
    s.alpha[4] = 34729 * n5 / 80640 - 3418889 * n6 / 1995840;
    s.alpha[5] = 212378941 * n6 / 319334400;
    s.beta[0] = n / 2 - 2 * n2 / 3 + 37 * n3 / 96 - n4 / 360 - 81 * n5 / 512 + 96199 * n6 / 604800;
    s.beta[1] = n2 / 48 + n3 / 15 - 437 * n4 / 1440 + 46 * n5 / 105 - 1118711 * n6 / 3870720;
    s.beta[2] = 17 * n3 / 480 - 37 * n4 / 840 - 209 * n5 / 4480 + 5569 * n6 / 90720;
    s.beta[3] = 4397 * n4 / 161280 - 11 * n5 / 504 - 830251 * n6 / 7257600;
    s.beta[4] = 4583 * n5 / 161280 - 108847 * n6 / 3991680;
    s.beta[5] = 20648693 * n6 / 638668800;
    return s;
}

namespace {

// tan of the conformal latitude of a latitude whose tangent is tau.
double conformalTan(double tau, const KrugerSeries& s) {
    const double tau1 = std::hypot(1.0, tau);
    const double sigma = std::sinh(s.e * std::atanh(s.e * tau / tau1));
    return tau * std::hypot(1.0, sigma) - sigma * tau1;
}

// The latitude's tangent of a conformal latitude's tangent, by Newton's method on
// conformalTan; three steps reach the doubles' precision.
double geodeticTan(double taup, const KrugerSeries& s) {
    if (!(std::fabs(taup) < 1e150)) return taup;
    const double e2m = 1 - s.e2;
    const double tolerance = 1e-9 * std::fmax(1.0, std::fabs(taup));
    double tau = taup / e2m;
    for (int i = 0; i < 8; ++i) {
        const double taupi = conformalTan(tau, s);
        const double step = (taup - taupi) * (1 + e2m * tau * tau) /
                            (e2m * std::hypot(1.0, tau) * std::hypot(1.0, taupi));
        tau += step;
        if (!(std::fabs(step) >= tolerance)) break;
    }
    return tau;
}

}  // namespace

GridXY krugerForward(double b, double l, const KrugerSeries& s, const GridParameters& grid) {
    const double taup = conformalTan(std::tan(b), s);
    const double cl = std::cos(l);
    const double xip = std::atan2(taup, cl);
    const double etap = std::asinh(std::sin(l) / std::hypot(taup, cl));
    double xi = xip;
    double eta = etap;
    for (int j = 1; j <= 6; ++j) {
        const double a = s.alpha[j - 1];
        xi += a * std::sin(2 * j * xip) * std::cosh(2 * j * etap);
        eta += a * std::cos(2 * j * xip) * std::sinh(2 * j * etap);
    }
    const double scale = grid.k0 * s.rectifying;
    return {grid.falseNorthing + scale * xi, scale * eta};
}

LatDiff krugerInverse(double x, double yReduced, const KrugerSeries& s,
                      const GridParameters& grid) {
    const double scale = grid.k0 * s.rectifying;
    const double xi = (x - grid.falseNorthing) / scale;
    const double eta = yReduced / scale;
    double xip = xi;
    double etap = eta;
    for (int j = 1; j <= 6; ++j) {
        const double b = s.beta[j - 1];
        xip -= b * std::sin(2 * j * xi) * std::cosh(2 * j * eta);
        etap -= b * std::cos(2 * j * xi) * std::sinh(2 * j * eta);
    }
    const double sh = std::sinh(etap);
    const double cx = std::cos(xip);
    const double taup = std::sin(xip) / std::hypot(sh, cx);
    return {std::atan(geodeticTan(taup, s)), std::atan2(sh, cx)};
}

const Ellipsoid& cgcs2000() {
    constexpr double kA = 6378137;
    constexpr double kF = 1 / 298.257222101;
    static const KrugerSeries series = krugerSeries(kA, kF);
    static const Ellipsoid set = [] {
        Ellipsoid e = ellipsoidFromFlattening(kA, kF);
        e.kruger = &series;
        return e;
    }();
    return set;
}

}  // namespace hc
