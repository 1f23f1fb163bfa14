#include "engine/power.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "engine/number.h"

namespace hc {

// Readable Decimal values in failure messages.
inline void PrintTo(const Decimal& d, std::ostream* os) { *os << d.toString().toStdString(); }

namespace {

class ChengFangTest : public ::testing::Test {
protected:
    void SetUp() override {
        ZelChongZhi();
        calcLog().precisionLimit = 29;
    }
    CalcLog& state = calcLog();
};

Decimal dec(const char* text) { return Decimal::fromText(QString::fromUtf8(text)); }

Num power(const char* a, const char* b) { return ZelChengFang(Num::ofText(a), Num::ofText(b)); }

// |value - reference| <= tolerance, all as number texts.
void expectNear(const Num& value, const char* reference, const char* tolerance) {
    ASSERT_TRUE(value.isDecimal()) << value.text().toStdString();
    const Decimal diff = (value.decimal() - dec(reference)).abs();
    EXPECT_LE(diff, dec(tolerance)) << value.text().toStdString() << " vs " << reference;
}

TEST_F(ChengFangTest, ExactResultsAndPrecisionLimit) {
    struct Case {
        const char* a;
        const char* b;
        const char* text;
        int limit;
    };
    const std::vector<Case> cases = {
        {"2", "10", "1024", 28},
        {"2", "-2", "0.25", 28},
        {"-2", "3", "-8", 28},
        {"5", "0", "1", 29},
        {"abc", "0", "1", 29},
        {"0", "5", "0", 29},
        {"0", "0", "1", 29},
        {"2", "0.5", "1.4142135623730950488016887242", 28},
        {"4", "0.5", "2", 28},
        {"4", "-0.5", "0.5", 28},
        {"16", "0.25", "2", 28},
        {"10", "20", "100000000000000000000", 28},
        {"10", "-2", "0.01", 28},
        {"1.1", "2", "1.21", 28},
        {"3", "40", "12157665459056928801", 28},
        {"-3", "39", "-4052555153018976267", 28},
        {"2", "95", "39614081257132168796771975168", 28},
        {"1", "12345.678", "1", 28},
        {" 2 ", " 3 ", "8", 28},
    };
    for (const Case& c : cases) {
        ZelChongZhi();
        const Num r = power(c.a, c.b);
        EXPECT_TRUE(r.isDecimal()) << c.a << "^" << c.b;
        EXPECT_EQ(r.text(), QString::fromUtf8(c.text)) << c.a << "^" << c.b;
        EXPECT_EQ(state.precisionLimit, c.limit) << c.a << "^" << c.b;
        EXPECT_EQ(state.errorCount, 0) << c.a << "^" << c.b;
    }
}

TEST_F(ChengFangTest, IntegerPowersAreExactWhileTheyFit) {
    Decimal expected = 1, twoPower = 1;
    for (int n = 1; n <= 60; ++n) {
        expected = expected * Decimal(3);
        twoPower = twoPower * Decimal(2);
        const Num r = ZelChengFang(Num::ofInt(3), Num::ofInt(n));
        ASSERT_TRUE(r.isDecimal()) << n;
        EXPECT_EQ(r.decimal(), expected) << "3^" << n;
        if (n <= 28) {
            // 0.5^n has n decimals: exact up to the scale limit.
            const Num half = ZelChengFang(Num::ofText("0.5"), Num::ofInt(n));
            ASSERT_TRUE(half.isDecimal()) << n;
            EXPECT_EQ(half.decimal() * twoPower, Decimal(1)) << "0.5^" << n;
        }
    }
    EXPECT_EQ(state.errorCount, 0);
}

// The step-by-step cycles exactly as the calculation was first written: every
// pass up to the exponent, with no early stop.
Decimal referenceLoop(const Decimal& a, long long exponent) {
    Decimal r = 1, p = 1, q;
    long long n = exponent;
    for (long long i = 1; i <= exponent; ++i) {
        const long long k = i;
        p = p * a;
        q = p;
        if (i == n) r = r * p;
        if (2 * k >= n) continue;
        p = q * q;
        i = 2 * k;
        if (i == n) r = r * p;
        if (k > n - i && i < n) {
            r = r * p;
            n -= i;
            i = 0;
            p = 1;
        }
        if (i > n - i && k < n - i) {
            p = p * q;
            r = r * p;
            n = n - i - k;
            i = 0;
            p = 1;
        }
    }
    return r;
}

TEST_F(ChengFangTest, IntegerLoopKeepsTheOrderOfMultiplications) {
    for (const char* base : {"1.000123456789", "0.99991234567891234567", "-1.0000000000123"}) {
        const Decimal a = dec(base);
        for (long long n = 1; n <= 400; ++n) {
            const Num r = ZelChengFang(Num::ofDecimal(a), Num::ofDecimal(Decimal(n)));
            ASSERT_TRUE(r.isDecimal()) << base << "^" << n;
            ASSERT_EQ(r.decimal(), referenceLoop(a, n)) << base << "^" << n;
        }
    }
    expectNear(power("1.000123456789", "1000"), "1.1313924930850674166358449054", "1E-26");
    // 2^19 - 2 makes the loop walk half of the exponent in single steps.
    const Decimal a = dec("1.0000001");
    EXPECT_EQ(ZelChengFang(Num::ofDecimal(a), Num::ofInt(524286)).decimal(),
              referenceLoop(a, 524286));
}

TEST_F(ChengFangTest, FractionalExponentsBitByBit) {
    // 8^(1/3) goes through 93 bits of the fraction; chained roots round in the last digits.
    const Num r = power("8", "0.3333333333333333333333333333");
    expectNear(r, "2", "1E-26");
    EXPECT_NE(r.text(), QStringLiteral("2"));
    EXPECT_EQ(state.precisionLimit, 28);
    // 10^0.75 = 5.6234132519034908039495103977648...
    expectNear(power("10", "0.75"), "5.6234132519034908039495103978", "1E-26");
    // 2^-0.5 through step 6.
    expectNear(power("2", "-0.5"), "0.7071067811865475244008443621", "1E-27");
    expectNear(power("2", "2.5"), "5.6568542494923801952067548968", "1E-26");
    EXPECT_EQ(state.errorCount, 0);
}

TEST_F(ChengFangTest, NegativePowersOfSmallBasesKeepTheirDigits) {
    // A^|B| of these bases keeps few digits at 28 decimals; 1/A is raised instead.
    EXPECT_EQ(power("0.5", "-60").text(), QStringLiteral("1152921504606846976"));
    EXPECT_EQ(power("0.5", "-95").text(), QStringLiteral("39614081257132168796771975168"));
    EXPECT_EQ(power("-0.5", "-3").text(), QStringLiteral("-8"));
    expectNear(power("0.3", "-30"), "4856935749618861.1379062426649746", "5E-12");
    expectNear(power("0.7", "-100.5"), "3695276826954158.1857931089290411", "1E-11");
    expectNear(power("0.00000000000000000002", "-0.5"), "7071067811.8654752440084436210", "1E-19");
    // Close to 1 the reciprocal's rounding would cost more: A^|B| stays the way.
    expectNear(power("0.99", "-458"), "99.788587283712258568843804125", "1E-24");
    EXPECT_EQ(state.errorCount, 0);
    EXPECT_EQ(state.precisionLimit, 28);
}

TEST_F(ChengFangTest, DoublePathBeyondTheDecimalRange) {
    struct Case {
        const char* a;
        const char* b;
        const char* text;
    };
    for (const Case& c : std::vector<Case>{{"10", "40", "1E+40"},
                                           {"1E+30", "2", "1E+60"},
                                           {"2", "1E+2", "1.26765060022823E+30"},
                                           {"0.1", "30", "1E-30"},
                                           {"1E-30", "0.5", "1E-15"}}) {
        ZelChongZhi();
        const Num r = power(c.a, c.b);
        EXPECT_TRUE(r.isDouble()) << c.a << "^" << c.b;
        EXPECT_EQ(r.text(), QString::fromUtf8(c.text)) << c.a << "^" << c.b;
        EXPECT_EQ(state.precisionLimit, 15) << c.a << "^" << c.b;
        EXPECT_EQ(state.errorCount, 0) << c.a << "^" << c.b;
    }
}

TEST_F(ChengFangTest, FailuresReportAndGiveTheEmptyText) {
    struct Case {
        const char* a;
        const char* b;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"0", "-1", "0^-1 乘方计算超出本程序计算范围！返回 [空值] 。"},
        {"0", "-2", "0^-2 乘方计算超出本程序计算范围！返回 [空值] 。"},
        {"-8", "0.3333333333333333333333333333",
         "-8^0.3333333333333333333333333333 乘方计算超出本程序计算范围！返回 [空值] 。"},
        {"10", "400", "10^400 乘方计算超出本程序计算范围！返回 [空值] 。"},
        {"-4", "0.5", "-4^0.5 乘方计算超出本程序计算范围！返回 [空值] 。"},
    };
    for (const Case& c : cases) {
        ZelChongZhi();
        const Num r = power(c.a, c.b);
        EXPECT_TRUE(r.isText() && r.rawText().isEmpty()) << c.a << "^" << c.b;
        EXPECT_EQ(state.errorCount, 1) << c.a << "^" << c.b;
        EXPECT_EQ(state.firstMessage, QString::fromUtf8(c.message));
        EXPECT_EQ(state.errorLog, QString::fromUtf8(c.message) + QStringLiteral("\r\n"));
    }
}

TEST_F(ChengFangTest, HugeExponentsFinish) {
    // Beyond the step-by-step loop the integer part is squared repeatedly.
    expectNear(power("1.0000000001", "10000000000"), "2.7182818283231311439497940013", "1E-17");
    expectNear(power("1.000001", "1000000"), "2.7182804693193768838197997085", "1E-20");
    // 2^21 - 2 would need more than a million passes of the loop.
    expectNear(power("1.0000001", "2097150"), "1.2333264988752938259142090811", "1E-20");
    EXPECT_EQ(power("1", "1000000000000000000000000000").text(), QStringLiteral("1"));
    EXPECT_EQ(power("-1", "1000000000000000000000000001").text(), QStringLiteral("-1"));
    EXPECT_EQ(power("-1", "1000000000000000000000000000").text(), QStringLiteral("1"));
    EXPECT_EQ(power("1", "-1000000000000000000000000000.5").text(), QStringLiteral("1"));
    EXPECT_EQ(power("0.5", "1000000000000000000000000000").text(), QStringLiteral("0"));
    // (1 + 1E-28)^(10^27): near e^0.1, with the error a 29-digit base allows.
    const Num r = power("1.0000000000000000000000000001", "1000000000000000000000000000");
    ASSERT_TRUE(r.isDecimal());
    EXPECT_GE(r.decimal(), dec("1.1"));
    EXPECT_LE(r.decimal(), dec("1.11"));
    EXPECT_EQ(state.errorCount, 0);
    // Overflow of a huge exponent is the routine's failure, found at once.
    ZelChongZhi();
    EXPECT_TRUE(power("2", "1000000000000000000000000000").rawText().isEmpty());
    EXPECT_EQ(state.errorCount, 1);
}

TEST_F(ChengFangTest, SquareRoot) {
    const Num r2 = ZelKaiPingFang(Num::ofInt(2));
    EXPECT_EQ(r2.text(), QStringLiteral("1.4142135623730950488016887242"));
    EXPECT_EQ(state.precisionLimit, 28);

    state.precisionLimit = 29;
    EXPECT_EQ(ZelKaiPingFang(Num::ofText("6.25")).text(), QStringLiteral("2.5"));
    EXPECT_EQ(ZelKaiPingFang(Num::ofInt(0)).text(), QStringLiteral("0"));
    EXPECT_EQ(state.precisionLimit, 29);  // exact roots return at once

    expectNear(ZelKaiPingFang(Num::ofInt(3)), "1.7320508075688772935274463415", "1E-28");
    expectNear(ZelKaiPingFang(Num::ofText("0.5")), "0.7071067811865475244008443621", "1E-28");
    expectNear(ZelKaiPingFang(Num::ofText("12345.6789")), "111.11111060555555440541666143",
               "1E-25");
    expectNear(ZelKaiPingFang(Num::ofText("79228162514264337593543950335")),
               "281474976710655.99999999999999822364", "1E-13");
    EXPECT_EQ(state.errorCount, 0);

    const Num negative = ZelKaiPingFang(Num::ofText(" -1 "));
    EXPECT_TRUE(negative.isText() && negative.rawText().isEmpty());
    EXPECT_EQ(state.errorCount, 1);
    EXPECT_EQ(
        state.lastMessage,
        QStringLiteral(
            "  进行[开平方]运算时， -1 数值超出计算范围，无法表示！返回数值用 [空值] 表示。"));
}

}  // namespace
}  // namespace hc
