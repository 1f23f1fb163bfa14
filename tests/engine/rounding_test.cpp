#include "engine/rounding.h"

#include <gtest/gtest.h>

#include "engine/number.h"

namespace hc {
namespace {

std::string s(const QString& t) { return t.toStdString(); }
QString q(const char* t) { return QString::fromUtf8(t); }

class RoundingTest : public ::testing::Test {
protected:
    void SetUp() override { ZelChongZhi(); }
    void TearDown() override { ZelChongZhi(); }
};

TEST_F(RoundingTest, SignificantDigitCount) {
    struct Case {
        Num x;
        int count;
    } cases[] = {
        {Num::ofText(q("0.0012")), 2},
        {Num::ofText(q("1.50")), 3},
        {Num::ofText(q("-120")), 3},
        {Num::ofText(q("1.5E+20")), 2},
        {Num::ofText(q("")), 0},
        {Num::ofText(q("Error")), 0},
        {Num::ofText(q("1 2")), 2},
        {Num::ofText(q("  +00.0100x99")), 3},
        {Num::ofText(q("0")), 0},
        {Num::ofText(q("约数12")), 0},
        {Num::ofDecimal(Decimal::fromText(u"-0.0000000000000000000000000001")), 1},
        {Num::ofDecimal(Decimal::fromText(u"1200.50")), 5},
        {Num::ofDecimal(Decimal::max()), 29},
        {Num::ofDecimal(Decimal()), 0},
        {Num::ofInt(-120), 3},
        {Num::ofInt(0), 0},
        {Num::ofDouble(1.0 / 3), 15},
        {Num::ofDouble(1.5e-20), 2},
        {Num::ofDouble(1200.0), 4},
    };
    for (const Case& c : cases) EXPECT_EQ(ZelYouXiao109ChangDu(c.x), c.count) << s(c.x.text());
    EXPECT_EQ(calcLog().errorCount, 0);
}

TEST_F(RoundingTest, CutToSignificantDigits) {
    struct Case {
        const char* x;
        int n;
        const char* out;
    } cases[] = {
        {"3.14159", 3, "3.14"},
        {"1234.5678", 3, "1234."},
        {"123456", 3, "123456"},
        {"0.000123456", 2, "0.00012"},
        {"1.23456E+20", 3, "1.23E+20"},
        {"12", 5, "12"},
        {"-3.14159", 3, "-3.14"},
        {" 2.71828 ", 1, "2."},
        {"0.5", 29, "0.5"},
        {"3.99999", 2, "3.9"},
        {"1.2e3e5", 1, "1.e5"},
        {"1.23456e-30", 4, "1.234e-30"},
        {"3.14", 0, "3."},
        {"", 3, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(s(ZelYouXiaoChangDu(Num::ofText(q(c.x)), c.n)), c.out) << c.x << " to " << c.n;
    EXPECT_EQ(s(ZelYouXiaoChangDu(Num::ofDecimal(Decimal::fromText(u"-0.0123456")), 3)), "-0.0123");
    EXPECT_EQ(s(ZelYouXiaoChangDu(Num::ofDouble(1.0 / 3), 4)), "0.3333");
    EXPECT_EQ(calcLog().errorCount, 0);
}

TEST_F(RoundingTest, RoundHalfAwayFromZeroOnTheDigits) {
    struct Case {
        const char* x;
        int n;
        const char* out;
    } cases[] = {
        {"2.675", 2, "2.68"},
        {"-2.675", 2, "-2.68"},
        {"2.5", 0, "3"},
        {"-2.5", 0, "-3"},
        {"-0.5", 0, "-1"},
        {"0.4999", 0, "0"},
        {"-0.4999", 0, "0"},
        {"0.995", 2, "1"},
        {"-0.995", 2, "-1"},
        {"9.9999", 3, "10"},
        {"0.05", 1, "0.1"},
        {"-0.125", 2, "-0.13"},
        {"-0.001", 2, "0"},
        {"1.5", 3, "1.5"},
        {"1.25", 40, "1.25"},
        {"7", 3, "7"},
        {"7.5", -2, "8"},
        {"0.12345", 4, "0.1235"},
        {"0.12344999", 4, "0.1234"},
        {"1.0000000000000000000000000005", 27, "1.000000000000000000000000001"},
        {"0.3333333333333333333333333333", 27, "0.333333333333333333333333333"},
        {"79228162514264337593543", 5, "79228162514264337593543"},
        {"", 2, "0"},
    };
    for (const Case& c : cases) {
        const Num r = ZelSiSheWuRu(Num::ofText(q(c.x)), c.n);
        EXPECT_TRUE(r.isDecimal()) << c.x;
        EXPECT_EQ(s(r.text()), c.out) << c.x << " to " << c.n;
    }
    EXPECT_EQ(calcLog().errorCount, 0);
}

TEST_F(RoundingTest, RoundLeavesExponentFormAlone) {
    const Num r = ZelSiSheWuRu(Num::ofText(q("1E+30")), 2);
    EXPECT_TRUE(r.isDouble());
    EXPECT_EQ(s(r.text()), "1E+30");
    EXPECT_EQ(s(ZelSiSheWuRu(Num::ofText(q("1.23456789E-22")), 3).text()), "1.23456789E-22");
    EXPECT_EQ(calcLog().precisionLimit, 15);
}

TEST_F(RoundingTest, RoundOfANonNumberIsZeroWithTheReadersReport) {
    const Num r = ZelSiSheWuRu(Num::ofText(q("abc")), 2);
    EXPECT_EQ(s(r.text()), "0");
    EXPECT_EQ(calcLog().errorCount, 1);
}

TEST_F(RoundingTest, IntegerAndFractionParts) {
    struct Case {
        Num x;
        const char* whole;
        const char* fraction;
    } cases[] = {
        {Num::ofText(q("12.75")), "12", "75"},
        {Num::ofText(q("-12.75")), "-12", "75"},
        {Num::ofText(q("-0.5")), "-0", "5"},
        {Num::ofText(q("0.5")), "0", "5"},
        {Num::ofText(q("-0.05")), "-0", "05"},
        {Num::ofText(q("7")), "7", "0"},
        {Num::ofText(q("-7")), "-7", "0"},
        {Num::ofText(q("0")), "0", "0"},
        {Num::ofText(q("")), "0", "0"},
        {Num::ofText(q(" 3.50 ")), "3", "5"},
        {Num::ofText(q("1.5E+30")), "1.5E+30", "0"},
        {Num::ofText(q("-1.5E+30")), "-1.5E+30", "0"},
        {Num::ofText(q("1E-30")), "0", "1E-30"},
        {Num::ofText(q("-1E-30")), "-0", "-1E-30"},
        {Num::ofDecimal(Decimal::fromText(u"79228162514264337593543950.335")),
         "79228162514264337593543950", "335"},
        {Num::ofInt(-3), "-3", "0"},
        {Num::ofDouble(2.25), "2", "25"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(s(ZelZhengShuBuFen(c.x)), c.whole) << s(c.x.text());
        EXPECT_EQ(s(ZelXiaoShuBuFen(c.x)), c.fraction) << s(c.x.text());
    }
    EXPECT_EQ(calcLog().errorCount, 0);
}

TEST_F(RoundingTest, PartsOfANonNumber) {
    EXPECT_EQ(s(ZelZhengShuBuFen(Num::ofText(q("abc")))), "0");
    EXPECT_EQ(s(ZelXiaoShuBuFen(Num::ofText(q("abc")))), "0");
    EXPECT_EQ(calcLog().errorCount, 2);
}

TEST(XianShiKuanDu, CodePage936Columns) {
    struct Case {
        const char* text;
        int width;
    } cases[] = {
        {"", 0},
        {"abc", 3},
        {"约数", 4},
        {"-12.5", 5},
        {"计 算", 5},
        {"１２", 4},              // full-width digits
        {"，。！", 6},            // Chinese punctuation
        {"\xE2\x82\xAC", 1},      // the euro sign is one byte in CP936
        {"é·", 4},                // Latin-1 letters CP936 writes in two bytes
        {"한", 2},                // Hangul: not in CP936, wide
        {"\xF0\xA0\x80\x80", 2},  // a CJK extension B ideograph
        {"\xF0\x9F\x98\x80", 1},  // an emoji: not in CP936, not in the wide ranges
        {"ÿ", 1},                 // not in CP936
        {"Ж", 2},
    };
    for (const Case& c : cases) EXPECT_EQ(ZelXianShiKuanDu(q(c.text)), c.width) << c.text;
    // A lone surrogate counts one column.
    EXPECT_EQ(ZelXianShiKuanDu(QString(QChar(0xD800))), 1);
    // Cached answers stay the same.
    EXPECT_EQ(ZelXianShiKuanDu(q("约数约数")), 8);
}

}  // namespace
}  // namespace hc
