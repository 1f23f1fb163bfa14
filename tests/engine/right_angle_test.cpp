// Degree arguments of the circular functions: whole turns removed in exact degrees,
// and right angles handed on as the exact quarter-turn constants.

#include <gtest/gtest.h>

#include <string>

#include "engine/angle.h"
#include "engine/calc_log.h"
#include "engine/functions.h"
#include "engine/number.h"

namespace hc {
namespace {

QString q(const char* t) { return QString::fromUtf8(t); }
std::string s(const QString& t) { return t.toStdString(); }
Decimal dec(const char* t) { return Decimal::fromText(q(t)); }

const Decimal kPiOver180Value = Decimal::fromText(kPiOver180);

class RightAngleTest : public ::testing::Test {
protected:
    std::string radians(const char* angle, AngleUnit unit) {
        return s(ZelDanWeiZhuanHuDu(Num::ofText(q(angle)), unit).text());
    }
    ScopedCalcLog scope;
};

TEST_F(RightAngleTest, MultiplesOfARightAngleGiveTheQuarterConstants) {
    const struct {
        const char* degrees;
        const char* packed;
        QString radians;
    } cases[] = {
        {"0", "0", q("0")},
        {"90", "90.0000", kHalfPi},
        {"180", "180", kPi},
        {"270", "270.0000", kThreeHalfPi},
        {"360", "360.0000", q("0")},
        {"-90", "-90.0000", kThreeHalfPi},
        {"-180", "-180", kPi},
        {"-270", "-270.0000", kHalfPi},
        {"450.000", "450", kHalfPi},
        {"-720", "-720.0000", q("0")},
        {"79228162514264337593544060", "79228162514264337593544060", kPi},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(radians(c.degrees, kDecimalDegrees), s(c.radians)) << c.degrees;
        EXPECT_EQ(radians(c.packed, kPackedDms), s(c.radians)) << c.packed;
    }
    // 89 degrees 60 minutes reads as 90 degrees in the packed unit.
    EXPECT_EQ(radians("89.6", kPackedDms), s(kHalfPi));
    EXPECT_EQ(scope.log().errorCount, 0);
}

TEST_F(RightAngleTest, WholeTurnsAreRemovedExactly) {
    const struct {
        const char* angle;
        AngleUnit unit;
        const char* degrees;  // what is left after the whole turns
    } cases[] = {
        {"36000030", kDecimalDegrees, "30"},
        {"-390.5", kDecimalDegrees, "-30.5"},
        {"720.0000000000000000000000001", kDecimalDegrees, "0.0000000000000000000000001"},
        {"100000000000000000000", kDecimalDegrees, "280"},
        {"-79228162514264337593543950.123", kDecimalDegrees, "-70.123"},
        {"36000030.3", kPackedDms, "30.5"},
        {"-1110.45", kPackedDms, "-30.75"},
    };
    for (const auto& c : cases) {
        const Num r = ZelDanWeiZhuanHuDu(Num::ofText(q(c.angle)), c.unit);
        ASSERT_TRUE(r.isDecimal()) << c.angle;
        EXPECT_EQ(r.decimal(), dec(c.degrees) * kPiOver180Value) << c.angle;
    }
}

TEST_F(RightAngleTest, AnglesWithinOneTurnAreConvertedAsBefore) {
    for (const char* a : {"30", "-30", "359.99999999999999999999999999", "-359.9", "89.9999999",
                          "0.0000000000000000000000000001", "179.5"}) {
        const Num r = ZelDanWeiZhuanHuDu(Num::ofText(q(a)), kDecimalDegrees);
        ASSERT_TRUE(r.isDecimal()) << a;
        EXPECT_EQ(r.decimal(), dec(a) * kPiOver180Value) << a;
    }
    // Radians are never reduced or snapped.
    EXPECT_EQ(radians("6.2831853071795864769252867666", kRadians),
              "6.2831853071795864769252867666");
    EXPECT_EQ(radians("1E+30", kDecimalDegrees), "0");
}

}  // namespace
}  // namespace hc
