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

    // A double quotient below 2^53, and exact operands whose quotient leaves the
    // Decimal range, still take the remainder of the doubles.
    const struct {
        const char* a;
        const char* b;
        double expected;
    } doubles[] = {
        {"1E+30", "1.2E+14", std::fmod(1e30, 1.2e14)},  // quotient 8.3E+15
        {"79228162514263999999999999999", "0.0001",
         std::fmod(79228162514263999999999999999.0, 0.0001)},
    };
    for (const auto& c : doubles) {
        ScopedCalcLog scope;
        const Num r = ZelLiangShuYu(Num::ofText(q(c.a)), Num::ofText(q(c.b)));
        EXPECT_FALSE(r.isFailure()) << c.a;
        EXPECT_DOUBLE_EQ(r.toDouble(), c.expected) << c.a << " \\ " << c.b;
        EXPECT_EQ(scope.log().errorCount, 0) << c.a;
    }
}

}  // namespace
}  // namespace hc
