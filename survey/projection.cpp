// The Gauss-Krueger projection as the Chinese surveying textbooks give it
// (高斯投影正反算公式), in two series (a set with Krüger's series, CGCS2000, projects
// with those instead, ellipsoid_series.h):
//  - forward: the classical meridian arc X = a(α0·B − α2·sin 2B + α4·sin 4B − α6·sin 6B),
//    then northing and easting as power series in m = l·cos B (to m^6 and m^5);
//  - inverse: the footpoint latitude Bf = μ + β1·sin 2μ + β2·sin 4μ + β3·sin 6μ with
//    μ = x / A, then latitude and longitude difference as power series in D = y / Nf
//    (to D^6 and D^5).
// The constants of each ellipsoid (a, e², e′², α0 … α6, A, β1 … β3, a(1 − e²)) are used
// exactly as listed below, never derived from one another or recomputed.

#include "survey/projection.h"

#include <cmath>

#include "engine/angle_constants.h"
#include "survey/ellipsoid_series.h"

namespace hc {

GridXY ZelTouYingZhengSuan(double b, double l, const Ellipsoid& p, const GridParameters& g) {
    if (p.kruger) return krugerForward(b, l, *p.kruger, g);
    const double s = std::sin(b);
    const double c = std::cos(b);
    const double t = std::tan(b);
    const double t2 = t * t;
    const double eta2 = p.ep2 * c * c;
    const double m = c * l;
    const double m2 = m * m;
    const double m4 = m2 * m2;

    const double arc = p.a * (p.alpha0 * b - p.alpha2 * std::sin(2 * b) +
                              p.alpha4 * std::sin(4 * b) - p.alpha6 * std::sin(6 * b));
    const double n = p.a / std::sqrt(1 - p.e2 * s * s);

    const double x =
        g.k0 *
            (arc + n * t *
                       (m2 / 2 + m4 * (5 - t2 + 9 * eta2 + 4 * eta2 * eta2) / 24 +
                        m4 * m2 * (61 - 58 * t2 + t2 * t2 + 270 * eta2 - 330 * eta2 * t2) / 720)) +
        g.falseNorthing;
    const double y = g.k0 * n *
                     (m + m2 * m * (1 - t2 + eta2) / 6 +
                      m4 * m * (5 - 18 * t2 + t2 * t2 + 14 * eta2 - 58 * eta2 * t2) / 120);
    return {x, y};
}

double footpointLatitude(double x, const Ellipsoid& p, const GridParameters& g) {
    if (p.kruger) return krugerInverse(x, 0, *p.kruger, g).b;
    const double mu = ((x - g.falseNorthing) / g.k0) / p.arcA;
    return mu + p.beta1 * std::sin(2 * mu) + p.beta2 * std::sin(4 * mu) +
           p.beta3 * std::sin(6 * mu);
}

double meridianQuadrant(const Ellipsoid& p, const GridParameters& g) {
    const double radius = p.kruger ? p.kruger->rectifying : p.arcA;
    return g.falseNorthing + g.k0 * radius * (kPiDouble / 2);
}

double inverseEastingLimit(double x, const Ellipsoid& p, const GridParameters& g) {
    const double bf = footpointLatitude(x, p, g);
    const double sf = std::sin(bf);
    const double nf = p.a / std::sqrt(1 - p.e2 * sf * sf);
    return g.k0 * nf * std::fabs(std::cos(bf)) * (kInverseSeriesGuard * kPiDouble / 180);
}

bool inverseWithinReach(double b, double l, const Ellipsoid& p, double k0) {
    const double excess = std::fabs(l) - kMeridianReach * kPiDouble / 180;
    if (excess <= 0) return true;
    const double s = std::sin(b);
    const double n = p.a / std::sqrt(1 - p.e2 * s * s);
    return k0 * n * std::fabs(std::cos(b)) * excess <= 0.002 + 0.1 * k0;
}

LatDiff ZelTouYingFanSuan(double x, double yReduced, const Ellipsoid& p, const GridParameters& g) {
    if (p.kruger) return krugerInverse(x, yReduced, *p.kruger, g);
    const double bf = footpointLatitude(x, p, g);
    const double sf = std::sin(bf);
    const double cf = std::cos(bf);
    const double w = 1 - p.e2 * sf * sf;
    const double mf = p.a1e2 / std::pow(w, 1.5);
    const double nf = p.a / std::sqrt(w);
    const double etaf2 = p.ep2 * cf * cf;
    const double tf = std::tan(bf);
    const double tf2 = tf * tf;
    const double d = (yReduced / g.k0) / nf;
    const double d2 = d * d;
    const double d4 = d2 * d2;

    const double b =
        bf - (tf * nf / mf) * (d2 / 2 - d4 * (5 + 3 * tf2 + etaf2 - 9 * etaf2 * tf2) / 24 +
                               d4 * d2 * (61 + 90 * tf2 + 45 * tf2 * tf2) / 720);
    const double l =
        (d - d2 * d * (1 + 2 * tf2 + etaf2) / 6 +
         d4 * d * (5 + 28 * tf2 + 24 * tf2 * tf2 + 6 * etaf2 + 8 * etaf2 * tf2) / 120) /
        cf;
    return {b, l};
}

}  // namespace hc
