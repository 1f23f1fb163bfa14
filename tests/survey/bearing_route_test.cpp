// bearingFrom against the same computation written with the engine's mixed
// arithmetic on number values (each double operand converted by Num::toDecimal):
// the four results must agree in value, coefficient and scale, and a failure in one
// must be a failure in the other, for random points of every size and direction.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "engine/angle.h"
#include "engine/functions.h"
#include "engine/rounding.h"
#include "survey/distance_bearing.h"
#include "survey/point_steps.h"

namespace hc {
namespace {

namespace mixed_route {

Num rounded(const Num& v, int places) { return requireNumber(ZelSiSheWuRu(v, places)); }

Decimal roundedDegrees(double radians) {
    return rounded(mixedMul(Num::ofDouble(radians), Num::ofDecimal(degreesPerRadian())), 6)
        .toDecimal();
}

Num packed(const Decimal& degrees) {
    return rounded(requireNumber(ZelTiDuZhuanDu(Num::ofDecimal(degrees))), 6);
}

Decimal azimuthDegrees(const Decimal& dx, const Decimal& dy) {
    const Decimal zero;
    if (dx.isZero()) {
        if (dy.isZero()) return zero;
        return dy > zero ? Decimal(90) : Decimal(270);
    }
    if (dy.isZero()) return dx > zero ? zero : Decimal(180);
    const Decimal f = roundedDegrees(std::atan((dy / dx).toDouble())).abs();
    if (dx > zero) return dy > zero ? f : Decimal(360) - f;
    return dy > zero ? Decimal(180) - f : f + Decimal(180);
}

PointBearing bearingFrom(const Decimal& x0, const Decimal& y0, const Decimal& z0, const Decimal& x,
                         const Decimal& y, const Decimal& z) {
    const Decimal dx = x - x0;
    const Decimal dy = y - y0;
    const Decimal dz = z - z0;
    const double hd = std::abs(std::sqrt((dx * dx + dy * dy).toDouble()));

    PointBearing b;
    b.horizontalDistance = rounded(Num::ofDouble(hd), 3);
    b.azimuth = shownPacked(packed(azimuthDegrees(dx, dy)), 360);
    const Num slopeSquare = mixedAdd(Num::ofDouble(hd * hd), Num::ofDecimal(dz * dz));
    b.slopeDistance = rounded(Num::ofDouble(std::abs(std::sqrt(slopeSquare.toDouble()))), 3);

    Decimal vertical;
    if (dz.isZero()) {
        vertical = Decimal(0);
    } else if (hd == 0) {
        static const Decimal halfPi = Decimal::fromText(kHalfPi);
        const Decimal right = halfPi * degreesPerRadian();
        vertical = rounded(Num::ofDecimal(dz.isNegative() ? -right : right), 6).toDecimal();
    } else {
        const double q = mixedDiv(Num::ofDecimal(dz), Num::ofDouble(hd)).toDouble();
        vertical = roundedDegrees(std::atan(q));
    }
    b.verticalAngle = shownPacked(packed(vertical), 0);
    return b;
}

}  // namespace mixed_route

std::string describe(const Num& v) {
    std::string s = v.text().toStdString();
    if (v.isDecimal()) s += " (scale " + std::to_string(v.decimal().scale()) + ")";
    return s;
}

bool sameValue(const Num& a, const Num& b) {
    if (a.kind() != b.kind() || a.text() != b.text()) return false;
    if (!a.isDecimal()) return true;
    return a.decimal().coefficient() == b.decimal().coefficient() &&
           a.decimal().scale() == b.decimal().scale() &&
           a.decimal().isNegative() == b.decimal().isNegative();
}

class BearingRouteTest : public ::testing::Test {
protected:
    std::mt19937_64 rng{1210};
    int differences = 0;
    int failures = 0;

    int uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

    // A coordinate with `digits` digits at `scale` decimals, maybe negative.
    Decimal coordinate(int digits, int scale) {
        Decimal::u128 c = 0;
        for (int i = 0; i < digits; ++i) c = c * 10 + static_cast<unsigned>(uniform(0, 9));
        return Decimal::fromParts(c, scale, uniform(0, 3) == 0);
    }

    void check(const Decimal (&p)[6]) {
        if (differences >= 5) return;
        PointBearing a, b;
        bool aFailed = false, bFailed = false;
        try {
            a = bearingFrom(p[0], p[1], p[2], p[3], p[4], p[5]);
        } catch (const DecimalError&) {
            aFailed = true;
        }
        try {
            b = mixed_route::bearingFrom(p[0], p[1], p[2], p[3], p[4], p[5]);
        } catch (const DecimalError&) {
            bFailed = true;
        }
        if (bFailed) ++failures;
        const bool same = aFailed == bFailed &&
                          (aFailed || (sameValue(a.horizontalDistance, b.horizontalDistance) &&
                                       sameValue(a.azimuth, b.azimuth) &&
                                       sameValue(a.slopeDistance, b.slopeDistance) &&
                                       sameValue(a.verticalAngle, b.verticalAngle)));
        if (!same) {
            ++differences;
            std::string points;
            for (const Decimal& d : p) points += d.toString().toStdString() + " ";
            ADD_FAILURE() << "points " << points << "gave "
                          << (aFailed ? "a failure"
                                      : describe(a.horizontalDistance) + " " + describe(a.azimuth) +
                                            " " + describe(a.slopeDistance) + " " +
                                            describe(a.verticalAngle))
                          << ", mixed arithmetic "
                          << (bFailed ? "a failure"
                                      : describe(b.horizontalDistance) + " " + describe(b.azimuth) +
                                            " " + describe(b.slopeDistance) + " " +
                                            describe(b.verticalAngle));
        }
    }
};

TEST_F(BearingRouteTest, SurveyPointsAroundAGridOrigin) {
    for (int i = 0; i < 60000; ++i) {
        // Grid coordinates in millimetres; now and then a shared X, Y or H.
        Decimal p[6] = {coordinate(10, 3), coordinate(11, 3), coordinate(5, 3),
                        coordinate(10, 3), coordinate(11, 3), coordinate(5, 3)};
        const int same = uniform(0, 7);
        if (same < 3) p[3 + same] = p[same];
        check(p);
    }
}

TEST_F(BearingRouteTest, TinyHugeAndLongCoordinates) {
    for (int i = 0; i < 60000; ++i) {
        Decimal p[6];
        for (Decimal& d : p) {
            switch (uniform(0, 3)) {
                case 0:  // a few units of the last places
                    d = coordinate(uniform(1, 3), uniform(20, 28));
                    break;
                case 1:  // near the end of the Decimal range
                    d = coordinate(uniform(25, 28), uniform(0, 2));
                    break;
                case 2:  // many digits after the point
                    d = coordinate(uniform(15, 28), uniform(10, 26));
                    break;
                default:
                    d = coordinate(uniform(1, 12), uniform(0, 6));
                    break;
            }
        }
        check(p);
    }
    // The family reaches the failures of huge coordinates too.
    EXPECT_GT(failures, 0);
}

}  // namespace
}  // namespace hc
