#include "survey/datum_fit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace hc {
namespace {

struct Synthetic {
    std::vector<Xyz> source;
    std::vector<Xyz> target;
};

// n points in a square of `spread` degrees around (lat, lon) on Beijing 1954, heights
// 0 ... 2000 m, carried over by `p` and disturbed by normal noise of `sigma` metres in each
// coordinate.
Synthetic synthetic(std::mt19937_64& rng, int n, double lat, double lon, double spread,
                    const HelmertParameters& p, double sigma = 0) {
    std::uniform_real_distribution<double> u(-spread / 2, spread / 2), h(0, 2000);
    std::normal_distribution<double> noise(0, sigma > 0 ? sigma : 1);
    const Helmert t(p);
    Synthetic s;
    for (int i = 0; i < n; ++i) {
        const Xyz x = geocentricOf(Datum::Beijing1954, lat + u(rng), lon + u(rng), h(rng));
        Xyz y = t.forward(x);
        if (sigma > 0) {
            y.x += noise(rng);
            y.y += noise(rng);
            y.z += noise(rng);
        }
        s.source.push_back(x);
        s.target.push_back(y);
    }
    return s;
}

HelmertParameters beijingToCgcs(Rotation rotation) {
    HelmertParameters p;
    p.tx = -15.53;
    p.ty = 142.61;
    p.tz = 82.37;
    p.rx = 1.0471;
    p.ry = -2.3314;
    p.rz = 3.5127;
    p.scalePpm = -4.27;
    p.rotation = rotation;
    return p;
}

TEST(FitHelmert, RecoversKnownParametersWithoutNoise) {
    std::mt19937_64 rng(11);
    const struct {
        double lat, lon, spread;
        int n;
    } networks[] = {{36, 104, 20, 30}, {30.5, 114.3, 2, 8}, {45, 125, 5, 3}};
    for (Rotation rotation : {Rotation::PositionVector, Rotation::CoordinateFrame}) {
        const HelmertParameters p = beijingToCgcs(rotation);
        for (const auto& net : networks) {
            const Synthetic s = synthetic(rng, net.n, net.lat, net.lon, net.spread, p);
            const HelmertFit fit = fitHelmert(s.source, s.target, rotation);
            ASSERT_EQ(fit.fault, FitFault::None);
            const HelmertParameters& q = fit.parameters;
            EXPECT_EQ(q.rotation, rotation);
            EXPECT_NEAR(q.tx, p.tx, 1e-6) << net.spread;
            EXPECT_NEAR(q.ty, p.ty, 1e-6) << net.spread;
            EXPECT_NEAR(q.tz, p.tz, 1e-6) << net.spread;
            EXPECT_NEAR(q.rx, p.rx, 1e-6) << net.spread;
            EXPECT_NEAR(q.ry, p.ry, 1e-6) << net.spread;
            EXPECT_NEAR(q.rz, p.rz, 1e-6) << net.spread;
            EXPECT_NEAR(q.scalePpm, p.scalePpm, 1e-6) << net.spread;
            for (const Xyz& r : fit.residuals)
                EXPECT_LT(std::fabs(r.x) + std::fabs(r.y) + std::fabs(r.z), 1e-6);
        }
    }
}

TEST(FitHelmert, ThreeParametersAreTheMeanShift) {
    std::mt19937_64 rng(3);
    HelmertParameters p;
    p.tx = 24.1;
    p.ty = -131.2;
    p.tz = -80.6;
    const Synthetic one = synthetic(rng, 1, 35, 110, 1, p);
    const HelmertFit fit = fitHelmert(one.source, one.target, Rotation::PositionVector, true);
    ASSERT_EQ(fit.fault, FitFault::None);
    EXPECT_NEAR(fit.parameters.tx, p.tx, 1e-8);
    EXPECT_NEAR(fit.parameters.tz, p.tz, 1e-8);
    EXPECT_EQ(fit.parameters.rx, 0);
    EXPECT_EQ(fit.parameters.scalePpm, 0);
    EXPECT_FALSE(fit.statistics.rms);  // one point leaves nothing over
    EXPECT_EQ(fit.statistics.redundancy, 0);
}

// sqrt of the mean squared residual component over the redundancy, as the fit defines it.
TEST(FitHelmert, RmsEstimatesTheNoise) {
    const double sigma = 0.02;
    std::mt19937_64 rng(5);
    for (Rotation rotation : {Rotation::PositionVector, Rotation::CoordinateFrame}) {
        const Synthetic s = synthetic(rng, 400, 33, 112, 4, beijingToCgcs(rotation), sigma);
        const HelmertFit fit = fitHelmert(s.source, s.target, rotation);
        ASSERT_TRUE(fit.statistics.rms);
        EXPECT_NEAR(*fit.statistics.rms, sigma, 0.1 * sigma);
        EXPECT_EQ(fit.statistics.redundancy, 3 * 400 - 7);
    }
    // On 20 points one estimate scatters by about 10 %; its square is unbiased, which the
    // mean over many networks shows.
    double sum = 0;
    const int trials = 400;
    for (int i = 0; i < trials; ++i) {
        const Synthetic s =
            synthetic(rng, 20, 40, 116, 1, beijingToCgcs(Rotation::PositionVector), sigma);
        const HelmertFit fit = fitHelmert(s.source, s.target, Rotation::PositionVector);
        sum += *fit.statistics.rms * *fit.statistics.rms;
    }
    EXPECT_NEAR(std::sqrt(sum / trials), sigma, 0.03 * sigma);
}

TEST(FitHelmert, ResidualsMeetTheNormalEquations) {
    // The least-squares residuals v are orthogonal to every column of the design: their
    // sum (shifts), the sum of u . v (scale) and of u x v (rotations), u the source less
    // its centroid.
    std::mt19937_64 rng(9);
    for (Rotation rotation : {Rotation::PositionVector, Rotation::CoordinateFrame}) {
        const Synthetic s = synthetic(rng, 25, 28, 100, 3, beijingToCgcs(rotation), 0.05);
        const HelmertFit fit = fitHelmert(s.source, s.target, rotation);
        ASSERT_EQ(fit.fault, FitFault::None);
        Xyz c;
        for (const Xyz& x : s.source) {
            c.x += x.x / 25;
            c.y += x.y / 25;
            c.z += x.z / 25;
        }
        // Each residual is known to about 1e-8 m (coordinates of 6e6 m in doubles), so
        // each sum can be off by that much times the size of what it sums.
        const double eps = 1e-8;
        Xyz sum, cross;
        double dot = 0, spread = 0;
        for (std::size_t i = 0; i < s.source.size(); ++i) {
            const Xyz& v = fit.residuals[i];
            const Xyz u{s.source[i].x - c.x, s.source[i].y - c.y, s.source[i].z - c.z};
            sum.x += v.x;
            sum.y += v.y;
            sum.z += v.z;
            dot += u.x * v.x + u.y * v.y + u.z * v.z;
            cross.x += u.y * v.z - u.z * v.y;
            cross.y += u.z * v.x - u.x * v.z;
            cross.z += u.x * v.y - u.y * v.x;
            spread += std::sqrt(u.x * u.x + u.y * u.y + u.z * u.z);
        }
        const double n = static_cast<double>(s.source.size());
        EXPECT_NEAR(sum.x, 0, n * eps);
        EXPECT_NEAR(sum.y, 0, n * eps);
        EXPECT_NEAR(sum.z, 0, n * eps);
        // A scale or rotation off by 1e-12 would leave sums of about 1e-12 * spread^2,
        // some 2 m here.
        EXPECT_NEAR(dot, 0, spread * eps);
        EXPECT_NEAR(cross.x, 0, spread * eps);
        EXPECT_NEAR(cross.y, 0, spread * eps);
        EXPECT_NEAR(cross.z, 0, spread * eps);
    }
}

TEST(FitHelmert, RefusesTooFewAndDegeneratePoints) {
    const Helmert t(beijingToCgcs(Rotation::PositionVector));
    auto carried = [&](const std::vector<Xyz>& src) {
        std::vector<Xyz> dst;
        for (const Xyz& x : src) dst.push_back(t.forward(x));
        return dst;
    };
    const Xyz a = geocentricOf(Datum::Beijing1954, 30, 110, 100);
    const Xyz b = geocentricOf(Datum::Beijing1954, 30.2, 110.3, 150);
    const Xyz d{b.x - a.x, b.y - a.y, b.z - a.z};
    auto along = [&](double k) { return Xyz{a.x + k * d.x, a.y + k * d.y, a.z + k * d.z}; };
    const struct {
        std::vector<Xyz> source;
        bool shiftsOnly;
        FitFault fault;
    } cases[] = {
        {{a, b}, false, FitFault::TooFewPoints},
        {{}, true, FitFault::TooFewPoints},
        {{a, along(1), along(2.5), along(-3)}, false, FitFault::Degenerate},
        {{a, a, a, a}, false, FitFault::Degenerate},
        {{a, b, Xyz{a.x, NAN, a.z}}, false, FitFault::NotFinite},
        {{a, b, geocentricOf(Datum::Beijing1954, 30.1, 110.0, 120)}, false, FitFault::None},
        {{a, a}, true, FitFault::None},
    };
    for (const auto& c : cases) {
        const HelmertFit fit =
            fitHelmert(c.source, carried(c.source), Rotation::PositionVector, c.shiftsOnly);
        EXPECT_EQ(fit.fault, c.fault) << c.source.size();
        if (c.fault != FitFault::None) {
            EXPECT_TRUE(fit.residuals.empty());
        }
    }
}

struct PlaneSynthetic {
    std::vector<Xyz> source, target;
};

PlaneSynthetic planeSynthetic(std::mt19937_64& rng, int n, const PlaneParameters& p,
                              double sigma = 0) {
    // Eastings within the zone: the plane transformation works without the zone prefix.
    std::uniform_real_distribution<double> x(3300000, 3330000), y(480000, 520000), h(10, 800);
    std::normal_distribution<double> noise(0, sigma > 0 ? sigma : 1);
    const PlaneSimilarity s(p);
    PlaneSynthetic out;
    for (int i = 0; i < n; ++i) {
        Xyz a{x(rng), y(rng), h(rng)};
        Xyz b = a;
        s.forward(b.x, b.y, b.z);
        if (sigma > 0) {
            b.x += noise(rng);
            b.y += noise(rng);
            b.z += noise(rng);
        }
        out.source.push_back(a);
        out.target.push_back(b);
    }
    return out;
}

PlaneParameters planeParameters(HeightSurface surface) {
    PlaneParameters p;
    p.dx = -412.345;
    p.dy = 167.891;
    p.rotation = 3.7215;
    p.scalePpm = 12.48;
    p.height.surface = surface;
    p.height.x0 = 3315000;
    p.height.y0 = 500000;
    const double c[6] = {-11.2, 0.021, -0.034, 4e-4, -3e-4, 2e-4};
    std::copy(c, c + 6, p.height.c);
    return p;
}

TEST(FitPlane, RecoversKnownParametersWithoutNoise) {
    std::mt19937_64 rng(13);
    for (HeightSurface surface :
         {HeightSurface::None, HeightSurface::Plane, HeightSurface::Quadratic}) {
        const PlaneParameters p = planeParameters(surface);
        const PlaneSynthetic s = planeSynthetic(rng, 12, p);
        const PlaneFit fit = fitPlane(s.source, s.target, surface);
        ASSERT_EQ(fit.fault, FitFault::None);
        const PlaneParameters& q = fit.parameters;
        EXPECT_NEAR(q.dx, p.dx, 1e-6);
        EXPECT_NEAR(q.dy, p.dy, 1e-6);
        EXPECT_NEAR(q.rotation, p.rotation, 1e-6);
        EXPECT_NEAR(q.scalePpm, p.scalePpm, 1e-6);
        // The surface is fitted about the centroid, not p's origin: compare its values.
        if (surface != HeightSurface::None) {
            for (const Xyz& a : s.source)
                EXPECT_NEAR(q.height.at(a.x, a.y), p.height.at(a.x, a.y), 1e-7);
        }
        for (const Xyz& r : fit.residuals) {
            EXPECT_LT(std::hypot(r.x, r.y), 1e-6);
            EXPECT_LT(std::fabs(r.z), 1e-6);
        }
    }
}

TEST(FitPlane, NoiseAndNormalEquations) {
    const double sigma = 0.01;
    std::mt19937_64 rng(17);
    const PlaneSynthetic s = planeSynthetic(rng, 300, planeParameters(HeightSurface::Plane), sigma);
    const PlaneFit fit = fitPlane(s.source, s.target, HeightSurface::Plane);
    ASSERT_EQ(fit.fault, FitFault::None);
    ASSERT_TRUE(fit.statistics.rms);
    EXPECT_NEAR(*fit.statistics.rms, sigma, 0.1 * sigma);
    ASSERT_TRUE(fit.heightStatistics.rms);
    EXPECT_NEAR(*fit.heightStatistics.rms, sigma, 0.1 * sigma);
    EXPECT_EQ(fit.statistics.redundancy, 2 * 300 - 4);
    EXPECT_EQ(fit.heightStatistics.redundancy, 300 - 3);
    // Orthogonality of the residuals to the design columns.
    double cx = 0, cy = 0;
    for (const Xyz& a : s.source) {
        cx += a.x / 300;
        cy += a.y / 300;
    }
    const double eps = 1e-8;  // what one residual is known to
    double sx = 0, sy = 0, sh = 0, scale = 0, turn = 0, hu = 0, hw = 0, spread = 0;
    for (std::size_t i = 0; i < s.source.size(); ++i) {
        const Xyz& v = fit.residuals[i];
        const double u = s.source[i].x - cx, w = s.source[i].y - cy;
        sx += v.x;
        sy += v.y;
        sh += v.z;
        scale += u * v.x + w * v.y;
        turn += -w * v.x + u * v.y;
        hu += u * v.z;
        hw += w * v.z;
        spread += std::hypot(u, w);
    }
    EXPECT_NEAR(sx, 0, 300 * eps);
    EXPECT_NEAR(sy, 0, 300 * eps);
    EXPECT_NEAR(sh, 0, 300 * eps);
    for (double t : {scale, turn, hu, hw}) EXPECT_NEAR(t, 0, spread * eps);
}

TEST(FitPlane, RefusesTooFewAndDegeneratePoints) {
    const PlaneSimilarity t(planeParameters(HeightSurface::None));
    auto carried = [&](const std::vector<Xyz>& src) {
        std::vector<Xyz> dst;
        for (Xyz x : src) {
            t.forward(x.x, x.y, x.z);
            dst.push_back(x);
        }
        return dst;
    };
    const Xyz a{3300000, 500000, 10}, b{3301000, 501000, 20}, c{3302000, 502000, 30},
        d{3300500, 503000, 25};
    const struct {
        std::vector<Xyz> source;
        HeightSurface surface;
        FitFault fault;
        bool heightFault;
    } cases[] = {
        {{a}, HeightSurface::None, FitFault::TooFewPoints, false},
        {{a, a, a}, HeightSurface::None, FitFault::Degenerate, false},
        {{a, b}, HeightSurface::None, FitFault::None, false},
        {{a, b, c}, HeightSurface::None, FitFault::None, false},  // collinear is enough
        {{a, b}, HeightSurface::Plane, FitFault::TooFewPoints, true},
        {{a, b, c}, HeightSurface::Plane, FitFault::Degenerate, true},
        {{a, b, c, d}, HeightSurface::Plane, FitFault::None, false},
        {{a, b, c, d}, HeightSurface::Quadratic, FitFault::TooFewPoints, true},
    };
    for (const auto& k : cases) {
        const PlaneFit fit = fitPlane(k.source, carried(k.source), k.surface);
        EXPECT_EQ(fit.fault, k.fault) << k.source.size();
        EXPECT_EQ(fit.heightFault, k.heightFault) << k.source.size();
    }
}

TEST(FitThenApply, RoundTripThroughTheGridsWithFittedParameters) {
    // Common points on Beijing 1954 3-degree grid and on CGCS2000 3-degree grid, fitted,
    // then points carried there and back: within 0.1 mm.
    std::mt19937_64 rng(23);
    std::uniform_real_distribution<double> lat(30.5, 31.5), lon(113.6, 115.4), h(20, 900);
    const HelmertParameters truth = beijingToCgcs(Rotation::CoordinateFrame);
    const CoordSystem bj{Datum::Beijing1954, ZoneWidth::Three, std::nullopt};
    const CoordSystem cg{Datum::Cgcs2000, ZoneWidth::Three, std::nullopt};
    std::vector<Xyz> src, dst;
    const Helmert t(truth);
    for (int i = 0; i < 8; ++i) {
        const Xyz x = geocentricOf(Datum::Beijing1954, lat(rng), lon(rng), h(rng));
        src.push_back(x);
        dst.push_back(t.forward(x));
    }
    const HelmertFit fit = fitHelmert(src, dst, Rotation::CoordinateFrame);
    ASSERT_EQ(fit.fault, FitFault::None);
    DatumParameters p;
    p.model = DatumModel::SevenCF;
    p.helmert = fit.parameters;
    const DatumChain there(bj, cg, p, false), back(cg, bj, p, true);
    double worst = 0, moved = 0;
    for (int i = 0; i < 2000; ++i) {
        DatumPoint a{}, b{}, c{};
        ASSERT_EQ(geographicToGrid(Datum::Beijing1954, ZoneWidth::Three, lat(rng), lon(rng),
                                   std::nullopt, a.x, a.y),
                  PointFault::None);
        a.h = h(rng);
        ASSERT_EQ(there.apply(a, b), PointFault::None);
        ASSERT_EQ(back.apply(b, c), PointFault::None);
        moved = std::max(moved, std::hypot(b.x - a.x, b.y - a.y));
        worst = std::max({worst, std::hypot(c.x - a.x, c.y - a.y), std::fabs(c.h - a.h)});
    }
    EXPECT_GT(moved, 10);  // the datums differ
    EXPECT_LT(worst, 1e-4);
}

}  // namespace
}  // namespace hc
