#include "engine/arithmetic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/number.h"

namespace hc {
namespace {

std::string s(const QString& t) { return t.toStdString(); }
QString q(const char* t) { return QString::fromUtf8(t); }

using Routine = Num (*)(const Num&, const Num&);

const QString kEnding = q(" 数值超出计算范围，我无法计算！返回数值用 [空值] 表示。");

class ArithmeticTest : public ::testing::Test {
protected:
    void SetUp() override { ZelChongZhi(); }
    void TearDown() override { ZelChongZhi(); }
};

struct Case {
    Routine f;
    const char* a;
    const char* b;
    const char* text;
    bool isDouble;
};

TEST_F(ArithmeticTest, DecimalAndDoubleResults) {
    const Case cases[] = {
        {ZelLiangShuHe, "0.1", "0.2", "0.3", false},
        {ZelLiangShuShang, "1", "3", "0.3333333333333333333333333333", false},
        {ZelLiangShuShang, "2", "3", "0.6666666666666666666666666667", false},
        {ZelLiangShuShang, "1", "7", "0.1428571428571428571428571429", false},
        {ZelLiangShuShang, "7", "2", "3.5", false},
        {ZelLiangShuJi, "-3", "4", "-12", false},
        {ZelLiangShuJi, "1.5", "0", "0", false},
        {ZelLiangShuCha, "1.5", "0.5", "1", false},
        {ZelLiangShuCha, "  2 ", "5", "-3", false},
        {ZelLiangShuHe, "", "0", "", false},
        {ZelLiangShuJi, "0.00000000000001", "0.00000000000001", "0.0000000000000000000000000001",
         false},
        {ZelLiangShuHe, "79228162514264337593543950", "0.335", "79228162514264337593543950.335",
         false},
        {ZelLiangShuHe, "1.5E+20", "1", "150000000000000000001", false},
        // Out of the Decimal range: doubles.
        {ZelLiangShuJi, "50000000000000000000000000000", "2", "1E+29", true},
        {ZelLiangShuHe, "79228162514264000000000000000", "79228162514264000000000000000",
         "1.58456325028528E+29", true},
        {ZelLiangShuJi, "1E-20", "1E-20", "1E-40", true},
        {ZelLiangShuJi, "0.000000000000001", "0.00000000000001", "1E-29", true},
        {ZelLiangShuShang, "0.0000000000000000000000000001", "3", "3.33333333333333E-29", true},
        {ZelLiangShuHe, "1E+30", "1", "1E+30", true},
        {ZelLiangShuCha, "1E+30", "1E+30", "0", true},
        {ZelLiangShuShang, "1", "1E+30", "1E-30", true},
        {ZelLiangShuJi, "1E-30", "0", "0", true},
        {ZelLiangShuJi, "1E-200", "1E-200", "0", true},
    };
    for (const Case& c : cases) {
        ZelChongZhi();
        const Num r = c.f(Num::ofText(q(c.a)), Num::ofText(q(c.b)));
        const std::string what = std::string(c.a) + " and " + c.b;
        if (c.text[0] == '\0') {  // an empty operand is no number
            EXPECT_TRUE(r.isText()) << what;
            EXPECT_EQ(calcLog().errorCount, 1) << what;
            continue;
        }
        EXPECT_EQ(s(r.text()), c.text) << what;
        EXPECT_EQ(r.isDouble(), c.isDouble) << what;
        EXPECT_EQ(r.isDecimal(), !c.isDouble) << what;
        EXPECT_EQ(calcLog().precisionLimit, c.isDouble ? 15 : 29) << what;
        EXPECT_EQ(calcLog().errorCount, 0) << what;
    }
}

TEST_F(ArithmeticTest, ValueOperands) {
    const Num two(Decimal(2));
    EXPECT_EQ(s(ZelLiangShuShang(two, Num::ofDouble(4.0)).text()), "0.5");
    EXPECT_TRUE(ZelLiangShuShang(two, Num::ofDouble(4.0)).isDecimal());
    EXPECT_EQ(s(ZelLiangShuJi(Num::ofInt(3), Num::ofInt(-4)).text()), "-12");
    EXPECT_TRUE(ZelLiangShuJi(Num::ofInt(3), Num::ofInt(-4)).isDecimal());
    EXPECT_EQ(s(ZelLiangShuHe(Num::ofDouble(0.1), Num::ofDouble(0.2)).text()), "0.3");
    EXPECT_EQ(calcLog().precisionLimit, 29);
    const Num big = ZelLiangShuShang(two, Num::ofDouble(1e30));
    EXPECT_TRUE(big.isDouble());
    EXPECT_EQ(s(big.text()), "2E-30");
    EXPECT_EQ(calcLog().errorCount, 0);
}

TEST_F(ArithmeticTest, DoubleFailuresNameTheOperation) {
    struct Fail {
        Routine f;
        const char* a;
        const char* b;
        const char* message;
    } cases[] = {
        {ZelLiangShuJi, "1.5E+300", "1E+300", "  进行[Zel两数积]运算时， 1.5E+300*1E+300"},
        {ZelLiangShuShang, "1E+300", "1E-300", "  进行[Zel两数商]运算时， 1E+300/1E-300"},
        {ZelLiangShuHe, "1E+308", " 1E+308 ", "  进行[Zel两数和]运算时， 1E+308+1E+308"},
        {ZelLiangShuCha, "-1E+308", "1E+308", "  进行[Zel两数差]运算时， -1E+308-1E+308"},
        {ZelLiangShuShang, "1", "0", "  进行[Zel两数商]运算时， 1/0"},
        {ZelLiangShuShang, "0", "0", "  进行[Zel两数商]运算时， 0/0"},
        {ZelLiangShuShang, "1E+30", "0", "  进行[Zel两数商]运算时， 1E+30/0"},
    };
    for (const Fail& c : cases) {
        ZelChongZhi();
        const Num r = c.f(Num::ofText(q(c.a)), Num::ofText(q(c.b)));
        EXPECT_TRUE(r.isText()) << c.message;
        EXPECT_TRUE(r.rawText().isEmpty()) << c.message;
        const QString m = q(c.message) + kEnding;
        EXPECT_EQ(calcLog().errorCount, 1) << c.message;
        EXPECT_EQ(s(calcLog().firstMessage), s(m));
        EXPECT_EQ(s(calcLog().errorLog), s(m + q("\r\n")));
    }
}

TEST_F(ArithmeticTest, NonNumberOperandCountsTwice) {
    const Num r = ZelLiangShuHe(Num::ofText(q("abc")), Num::ofText(q("1")));
    EXPECT_TRUE(r.isText());
    EXPECT_TRUE(r.rawText().isEmpty());
    CalcLog& st = calcLog();
    EXPECT_EQ(st.errorCount, 2);
    const QString m1 =
        q("  进行[Zel数转数]运算时， abc 数值超出计算范围，我无法计算！返回数值用[空值]表示。");
    const QString m2 = q("  进行[Zel两数和]运算时， abc+1") + kEnding;
    EXPECT_EQ(s(st.firstMessage), s(m1));
    EXPECT_EQ(s(st.lastMessage), s(m2));
    EXPECT_EQ(s(st.errorLog), s(m1 + q("\r\n") + m2 + q("\r\n")));
}

TEST_F(ArithmeticTest, ExponentOperandSkipsReadingTheOther) {
    // The first operand sends the sum down the double path before the second is read.
    ZelLiangShuHe(Num::ofText(q("1E+30")), Num::ofText(q("abc")));
    EXPECT_EQ(calcLog().errorCount, 1);
    EXPECT_EQ(s(calcLog().firstMessage), s(q("  进行[Zel两数和]运算时， 1E+30+abc") + kEnding));
}

TEST_F(ArithmeticTest, Remainder) {
    struct Rem {
        const char* a;
        const char* b;
        const char* text;
    } cases[] = {
        {"4", "-3", "1"},
        {"-5.12", "3", "-2.12"},
        {"7", "7", "0"},
        {"7.5", "2", "1.5"},
        {"-7", "2", "-1"},
        {"7", "-2", "1"},
        {"0", "5", "0"},
        {"2", "5", "2"},
        {"1E-20", "3", "0.00000000000000000001"},
        {"12345678901234567890.5", "10", "0.5"},
    };
    for (const Rem& c : cases) {
        ZelChongZhi();
        const Num r = ZelLiangShuYu(Num::ofText(q(c.a)), Num::ofText(q(c.b)));
        EXPECT_EQ(s(r.text()), c.text) << c.a << " \\ " << c.b;
        EXPECT_EQ(calcLog().errorCount, 0) << c.a << " \\ " << c.b;
    }
}

TEST_F(ArithmeticTest, RemainderOfAQuotientBeyondTheDecimalRangeStaysBelowTheDivisor) {
    // With a double operand the integer part of such a quotient is only known to 15
    // digits: the remainder is taken on the doubles, keeps the sign of the dividend
    // and stays below the divisor.
    struct Rem {
        const char* a;
        const char* b;
        double expected;
    } cases[] = {
        {"1E+30", "1.2E+14", std::fmod(1e30, 1.2e14)},
        {"-1E+30", "1.2E+14", std::fmod(-1e30, 1.2e14)},
    };
    for (const Rem& c : cases) {
        ZelChongZhi();
        const Num r = ZelLiangShuYu(Num::ofText(q(c.a)), Num::ofText(q(c.b)));
        const double v = r.toDouble();
        EXPECT_DOUBLE_EQ(v, c.expected) << c.a << " \\ " << c.b;
        EXPECT_LT(std::fabs(v), std::fabs(std::stod(c.b))) << c.a;
        EXPECT_FALSE(v * std::stod(c.a) < 0) << c.a;
        EXPECT_EQ(calcLog().precisionLimit, 15) << c.a;
        EXPECT_EQ(calcLog().errorCount, 0) << c.a;
    }
}

TEST_F(ArithmeticTest, RemainderByZeroGivesTheDividendAndCounts) {
    const Num r = ZelLiangShuYu(Num::ofText(q("10.5")), Num::ofText(q("0")));
    EXPECT_EQ(s(r.text()), "10.5");
    EXPECT_EQ(calcLog().errorCount, 1);
    EXPECT_EQ(s(calcLog().firstMessage), s(q("  进行[Zel两数商]运算时， 10.5/0") + kEnding));
}

}  // namespace
}  // namespace hc
