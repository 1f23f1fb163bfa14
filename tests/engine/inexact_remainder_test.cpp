// Remainders of operands that read as doubles: from a quotient of 2^53 on the
// remainder is not determined and the operation fails instead of giving a digit.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/arithmetic.h"
#include "engine/calc_log.h"
#include "engine/number.h"

namespace hc {
namespace {

QString q(const char* t) { return QString::fromUtf8(t); }
std::string s(const QString& t) { return t.toStdString(); }

const QString kEnding = q(" 数值超出计算范围，我无法计算！返回数值用 [空值] 表示。");

TEST(InexactRemainderTest, UndeterminedRemaindersFail) {
    const struct {
        const char* a;
        const char* b;
    } cases[] = {
        {"1E+30", "7"},
        {"-1E+30", "7"},
        {"1E+29", "3"},
        {"1e29", "7"},
        {"7", "1E-30"},
        {"1E+30", "1.1E+14"},  // quotient 9.09E+15, just above 2^53
        // The largest Decimal reads as the double 2^96, one above it.
        {"79228162514264337593543950335", "7"},
    };
    for (const auto& c : cases) {
        ScopedCalcLog scope;
        const Num r = ZelLiangShuYu(Num::ofText(q(c.a)), Num::ofText(q(c.b)));
        EXPECT_TRUE(r.isFailure()) << c.a << " \\ " << c.b << " gave " << s(r.text());
        EXPECT_EQ(s(r.text()), "") << c.a;
        EXPECT_EQ(scope.log().errorCount, 1) << c.a;
        EXPECT_EQ(s(scope.log().firstMessage),
                  s(q("  进行[Zel两数余]运算时， ") + q(c.a) + q("余") + q(c.b) + kEnding));
    }
}

TEST(InexactRemainderTest, DeterminedRemaindersKeepTheirResults) {
    const struct {
        const char* a;
        const char* b;
        const char* text;
    } cases[] = {
        {"7", "1E+30", "7"},
        {"-7", "1E+30", "-7"},
        // Just inside the range the reader keeps as a Decimal: exact.
        {"79228162514263999999999999999", "1000", "999"},
        {"-79228162514263999999999999999", "1000", "-999"},
        {"10000000000000000000000000000", "3", "1"},
        {"1E+30", "1E+20", "0"},
    };
    for (const auto& c : cases) {
        ScopedCalcLog scope;
        EXPECT_EQ(s(ZelLiangShuYu(Num::ofText(q(c.a)), Num::ofText(q(c.b))).text()), c.text)
            << c.a << " \\ " << c.b;
        EXPECT_EQ(scope.log().errorCount, 0) << c.a;
    }

    // A double operand with a quotient below 2^53 still takes the remainder of the
    // doubles.
    const struct {
        const char* a;
        const char* b;
        double expected;
    } doubles[] = {
        {"1E+30", "1.2E+14", std::fmod(1e30, 1.2e14)},  // quotient 8.3E+15
    };
    for (const auto& c : doubles) {
        ScopedCalcLog scope;
        const Num r = ZelLiangShuYu(Num::ofText(q(c.a)), Num::ofText(q(c.b)));
        EXPECT_FALSE(r.isFailure()) << c.a;
        EXPECT_DOUBLE_EQ(r.toDouble(), c.expected) << c.a << " \\ " << c.b;
        EXPECT_EQ(scope.log().errorCount, 0) << c.a;
    }
}

TEST(InexactRemainderTest, ExactOperandsGiveTheExactRemainderOfLargeQuotients) {
    // Quotients of 29 digits (1.4E+28, rounded in a Decimal) and from 7.9E+28 up (no
    // Decimal); the remainders worked out on the exact decimals.
    const struct {
        const char* a;
        const char* b;
        const char* text;
    } cases[] = {
        {"1000000000000000000000000000", "0.01", "0"},
        {"1000000000000000000000000000", "0.07", "0.05"},
        {"-1000000000000000000000000000", "0.07", "-0.05"},
        {"79228162514263999999999999999", "0.0001", "0"},
        {"12345678901234567890123456788", "0.0000000000000000000000000013",
         "0.000000000000000000000000001"},
        {"-7922816251426433759354395033.1", "0.0000000000000000000000000017",
         "-0.0000000000000000000000000005"},
        {"79228162514264000000000000000", "0.000000000000000000123", "0.000000000000000000113"},
        {"79228162514264000000000000000", "-0.000000000000000000123", "0.000000000000000000113"},
    };
    for (const auto& c : cases) {
        ScopedCalcLog scope;
        const Num r = ZelLiangShuYu(Num::ofText(q(c.a)), Num::ofText(q(c.b)));
        EXPECT_EQ(s(r.text()), c.text) << c.a << " \\ " << c.b;
        EXPECT_TRUE(r.isDecimal()) << c.a;
        EXPECT_EQ(scope.log().errorCount, 0) << c.a;
        // Exact: the quotient's trip through doubles leaves no mark on the result.
        EXPECT_EQ(scope.log().precisionLimit, 29) << c.a;
    }
}

}  // namespace
}  // namespace hc
