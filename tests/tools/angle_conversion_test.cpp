#include "tools/angle_conversion.h"

#include <gtest/gtest.h>

#include "engine/calc_log.h"
#include "tests/survey/print_qstring.h"

namespace hc {
namespace {

QString q(const char* s) { return QString::fromUtf8(s); }

TEST(AngleConversion, ButtonExamples) {
    const struct {
        AngleConversion op;
        const char* input;
        const char* shownInput;
        const char* result;
    } cases[] = {
        {AngleConversion::RadToDeg, "1", "1", "57.295779513082320876798154814"},
        {AngleConversion::RadToDeg, "3.1415926535897932384626433833",
         "3.1415926535897932384626433833", "180"},
        {AngleConversion::RadToDms, "3.1415926535897932384626433833",
         "3.1415926535897932384626433833", "180"},
        {AngleConversion::DegToRad, "180", "180", "3.141592653589793238462643386"},
        {AngleConversion::DmsToRad, "90", "90", "1.570796326794896619231321693"},
        {AngleConversion::DegToDms, "12.5", "12.5", "12.3"},
        {AngleConversion::DmsToDeg, "12.3", "12.3", "12.5"},
        {AngleConversion::DegToDms, "  1.50  ", "1.5", "1.3"},
        {AngleConversion::RadToDeg, "abc", "0", "0"},
        {AngleConversion::DmsToDeg, "", "0", "0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        const AngleConversionResult r = convertAngle(c.op, q(c.input));
        EXPECT_EQ(r.input, q(c.shownInput));
        EXPECT_EQ(r.result, q(c.result));
        EXPECT_TRUE(r.notices.isEmpty());
    }
}

TEST(AngleConversion, SecondsAboveSixtyGiveTheirNotice) {
    const AngleConversionResult r = convertAngle(AngleConversion::DmsToDeg, q("12.3075"));
    EXPECT_TRUE(r.result.startsWith(q("12.51666"))) << r.result.toStdString();
    ASSERT_EQ(r.notices.size(), 1);
    EXPECT_TRUE(r.notices[0].text.contains(q("[秒]"))) << r.notices[0].text.toStdString();
}

TEST(AngleConversion, OutcomeComesWithTheResultNotFromTheThreadLog) {
    // A failure and a lowered precision already in the calling thread's log must not
    // mark a good input as no number, and the conversion must leave that log alone.
    ScopedCalcLog caller;
    caller.log().report(QStringLiteral("earlier"));
    caller.log().limitTo(3);
    const struct {
        AngleConversion op;
        const char* input;
        bool number;
        int notices;
    } cases[] = {
        {AngleConversion::DegToRad, "1", true, 0},
        {AngleConversion::DegToRad, "abc", false, 0},
        {AngleConversion::DmsToDeg, "12.3075", true, 1},
        {AngleConversion::DmsToRad, "12.7", true, 1},
    };
    for (const auto& c : cases) {
        const AngleConversionResult r = convertAngle(c.op, q(c.input));
        EXPECT_EQ(r.number, c.number) << c.input;
        EXPECT_EQ(r.notices.size(), c.notices) << c.input;
    }
    EXPECT_EQ(caller.log().errorCount, 1);
    EXPECT_EQ(caller.log().precisionLimit, 3);
    EXPECT_TRUE(caller.log().notices.isEmpty());
}

TEST(AngleConversion, CaptionsAndDirections) {
    const char* captions[] = {"弧度 ==> 度分秒",   "弧度 ==> 百分度",   "百分度 ==> 度分秒",
                              "百分度 ==> 弧  度", "度分秒 ==> 弧  度", "度分秒 ==> 百分度"};
    const char* directions[] = {"弧度==>度分秒", "弧度==>百分度", "百分度==>度分秒",
                                "百分度==>弧度", "度分秒==>弧度", "度分秒==>百分度"};
    for (int i = 0; i < kAngleConversions; ++i) {
        EXPECT_EQ(angleButtonCaption(angleConversion(i)), q(captions[i]));
        EXPECT_EQ(angleDirection(angleConversion(i)), q(directions[i]));
        EXPECT_EQ(convertAngle(angleConversion(i), q("1")).direction, q(directions[i]));
    }
}

TEST(AngleConversion, ProductsBeyondTheDecimalRangeKeepRunning) {
    // 1E+28 radians in degrees leaves the Decimal range: the product is taken on doubles.
    EXPECT_EQ(convertAngle(AngleConversion::RadToDeg, q("1E+28")).result,
              q("5.72957795130823E+29"));
    EXPECT_EQ(convertAngle(AngleConversion::DegToRad, q("1E+300")).result,
              q("1.74532925199433E+298"));
    EXPECT_FALSE(convertAngle(AngleConversion::RadToDms, q("1E+308")).result.isEmpty());
    // Exponent forms read by the packed-angle routines give 0.
    EXPECT_EQ(convertAngle(AngleConversion::DmsToRad, q("1E-30")).result, q("0"));
}

TEST(AngleConversion, UnitNames) {
    int from = -1, to = -1;
    ASSERT_TRUE(parseAngleUnitName(q("RAD"), from));
    ASSERT_TRUE(parseAngleUnitName(q("dms"), to));
    AngleConversion op;
    ASSERT_TRUE(angleConversionBetween(from, to, op));
    EXPECT_EQ(op, AngleConversion::RadToDms);
    ASSERT_TRUE(angleConversionBetween(2, 1, op));
    EXPECT_EQ(op, AngleConversion::DmsToDeg);
    EXPECT_FALSE(angleConversionBetween(1, 1, op));
    EXPECT_FALSE(parseAngleUnitName(q("grad"), from));
}

}  // namespace
}  // namespace hc
