#include "engine/number.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "engine/arithmetic.h"
#include "engine/rounding.h"

namespace hc {
namespace {

std::string s(const QString& t) { return t.toStdString(); }
QString q(const char* t) { return QString::fromUtf8(t); }

const char* kindName(Num::Kind k) {
    switch (k) {
        case Num::Kind::Decimal:
            return "Decimal";
        case Num::Kind::Double:
            return "Double";
        case Num::Kind::Integer:
            return "Integer";
        case Num::Kind::Text:
            return "Text";
    }
    return "?";
}

const QString kReaderEnding = q(" 数值超出计算范围，我无法计算！返回数值用[空值]表示。");

class NumberTest : public ::testing::Test {
protected:
    void SetUp() override { ZelChongZhi(); }
    void TearDown() override { ZelChongZhi(); }
};

TEST(DoubleToText, FifteenDigitsPlainOrExponentForm) {
    struct Case {
        double d;
        const char* text;
    } cases[] = {
        {0.0, "0"},
        {-0.0, "0"},
        {0.5, "0.5"},
        {-123.456, "-123.456"},
        {100, "100"},
        {1e28, "1E+28"},
        {-1.5e-5, "-1.5E-05"},
        {7.92281625142642E+28, "7.92281625142642E+28"},
        {79228162514264337593543950335.0, "7.92281625142643E+28"},
        {1e-29, "1E-29"},
        {1e-4, "0.0001"},
        {0.00012345, "0.00012345"},
        {1e-5, "1E-05"},
        {123456789012345.0, "123456789012345"},
        {1e15, "1E+15"},
        {999999999999999.9, "1E+15"},
        {99999.99999999999, "100000"},
        {1234567.5, "1234567.5"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3, "0.333333333333333"},
        {2.0 / 3, "0.666666666666667"},
        {-2.0 / 3 * 1e-10, "-6.66666666666667E-11"},
        {1e300, "1E+300"},
        {-1.5e-300, "-1.5E-300"},
        {std::numeric_limits<double>::denorm_min(), "4.94065645841247E-324"},
        {std::numeric_limits<double>::max(), "1.79769313486232E+308"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(s(doubleToText(c.d)), c.text) << "value " << c.d;
        EXPECT_EQ(s(Num::ofDouble(c.d).text()), c.text);
    }
}

TEST(NumText, EachKind) {
    EXPECT_EQ(s(Num::ofDecimal(Decimal::fromText(u"1.50")).text()), "1.5");
    EXPECT_EQ(s(Num::ofDecimal(Decimal(100)).text()), "100");
    EXPECT_EQ(s(Num::ofDecimal(Decimal::fromText(u"-0.25")).text()), "-0.25");
    EXPECT_EQ(s(Num::ofInt(-1).text()), "-1");
    EXPECT_EQ(s(Num::ofInt(0).text()), "0");
    EXPECT_EQ(s(Num::ofText(q(" 1.2 ")).text()), " 1.2 ");
    EXPECT_EQ(s(Num().text()), "");
    EXPECT_TRUE(Num().isText());
}

TEST(TextToDouble, Grammar) {
    struct Case {
        const char* text;
        double value;
    } good[] = {
        {"12", 12},    {"-0.5", -0.5},        {".5", 0.5},        {"3.", 3},
        {"+7", 7},     {"1.23E+20", 1.23e20}, {"-2e-5", -2e-5},   {"  4  ", 4},
        {"3.e2", 300}, {"-.5E1", -5},         {"0e999999999", 0}, {"1e-400", 0},
        {"007", 7},    {"1E308", 1e308},
    };
    for (const Case& c : good) {
        double d = -99;
        EXPECT_TRUE(textToDouble(q(c.text), d)) << c.text;
        EXPECT_EQ(d, c.value) << c.text;
    }
    const char* bad[] = {"",    "   ",   "abc", "+",   "-",      ".",    "1.2.3", "1e",
                         "1e+", "e5",    "1 2", "--1", "+-1",    "1,5",  "0x10",  "inf",
                         "nan", "1e400", "1d5", "\t1", "1E+5.0", "１２", "12abc", "-1e99999"};
    for (const char* b : bad) {
        double d = -99;
        EXPECT_FALSE(textToDouble(q(b), d)) << b;
        EXPECT_EQ(d, -99) << b;
    }
}

TEST(TextToDouble, IgnoresTheCLocale) {
    const char* saved = std::setlocale(LC_ALL, nullptr);
    const std::string restore = saved ? saved : "C";
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "fr_FR.UTF-8")) {
        // Most machines have no such locale compiled; build one for this process.
        const std::string dir = ::testing::TempDir() + "hc_locales";
        const std::string cmd = "mkdir -p '" + dir + "' && localedef -i de_DE -f UTF-8 '" + dir +
                                "/de_DE.UTF-8' >/dev/null 2>&1";
        if (std::system(cmd.c_str()) == 0) setenv("LOCPATH", dir.c_str(), 1);
        if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
            GTEST_SKIP() << "no locale with a decimal comma available";
    }
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.1f", 1.5);
    ASSERT_STREQ(buf, "1,5") << "the locale in force must write a decimal comma";
    double d = 0;
    EXPECT_TRUE(textToDouble(q("1.5"), d));
    EXPECT_EQ(d, 1.5);
    EXPECT_FALSE(textToDouble(q("1,5"), d));
    EXPECT_EQ(s(doubleToText(-2.25e-7)), "-2.25E-07");
    std::setlocale(LC_ALL, restore.c_str());
}

TEST_F(NumberTest, ReportAndLogOnly) {
    CalcLog& st = calcLog();
    st.report(q("一"));
    st.logOnly(q("细节"));
    st.report(q("二"));
    EXPECT_EQ(st.errorCount, 2);
    EXPECT_EQ(s(st.firstMessage), "一");
    EXPECT_EQ(s(st.lastMessage), "二");
    EXPECT_EQ(s(st.errorLog), "一\r\n细节\r\n二\r\n");
}

TEST_F(NumberTest, ResetClearsTheLogButKeepsItsNotices) {
    CalcLog& st = calcLog();
    st.report(q("x"));
    st.notify(q("提示"));
    st.precisionLimit = 15;
    ZelChongZhi();
    EXPECT_EQ(st.errorCount, 0);
    EXPECT_TRUE(st.firstMessage.isEmpty());
    EXPECT_TRUE(st.lastMessage.isEmpty());
    EXPECT_TRUE(st.errorLog.isEmpty());
    EXPECT_EQ(st.precisionLimit, 29);
    ASSERT_EQ(st.notices.size(), 1);
    EXPECT_EQ(s(st.notices[0].text), "提示");
    st.notices.clear();
}

struct ReadCase {
    const char* in;
    Num::Kind kind;
    const char* text;
    int limit;  // precision limit afterwards
};

TEST_F(NumberTest, ShuZhuanShuReadsTexts) {
    const ReadCase cases[] = {
        {"", Num::Kind::Decimal, "0", 29},
        {"     ", Num::Kind::Decimal, "0", 29},
        {"12", Num::Kind::Decimal, "12", 29},
        {" -0.5 ", Num::Kind::Decimal, "-0.5", 29},
        {".5", Num::Kind::Decimal, "0.5", 29},
        {"3.", Num::Kind::Decimal, "3", 29},
        {"+7", Num::Kind::Decimal, "7", 29},
        {"-0", Num::Kind::Decimal, "0", 29},
        {"1.50", Num::Kind::Decimal, "1.5", 29},
        {"1.23E+20", Num::Kind::Decimal, "123000000000000000000", 29},
        {"-2e-5", Num::Kind::Decimal, "-0.00002", 29},
        {"1.5E-20", Num::Kind::Decimal, "0.000000000000000000015", 29},
        {"1E-28", Num::Kind::Decimal, "0.0000000000000000000000000001", 29},
        {"-1E-28", Num::Kind::Decimal, "-0.0000000000000000000000000001", 29},
        {"0.3333333333333333333333333333", Num::Kind::Decimal, "0.3333333333333333333333333333",
         29},
        {"3.14159265358979323846264338327950", Num::Kind::Decimal, "3.1415926535897932384626433833",
         29},
        {"79228162514264000000000000000", Num::Kind::Decimal, "79228162514264000000000000000", 29},
        {"1E+30", Num::Kind::Double, "1E+30", 15},
        {"-1.5e30", Num::Kind::Double, "-1.5E+30", 15},
        {"79228162514264337593543950335", Num::Kind::Double, "7.92281625142643E+28", 15},
        {"7.92281625142642E+28", Num::Kind::Double, "7.92281625142642E+28", 15},
        {"1E-30", Num::Kind::Double, "1E-30", 15},
        {"1e-400", Num::Kind::Decimal, "0", 29},
        {"1.23456789E-22", Num::Kind::Double, "1.23456789E-22", 15},
        {"-1.23456789E-22", Num::Kind::Double, "-1.23456789E-22", 15},
        {"1.2345E-24", Num::Kind::Decimal, "0.0000000000000000000000012345", 29},
        {"1.23456E-24", Num::Kind::Double, "1.23456E-24", 15},
        {"1.234E-25", Num::Kind::Decimal, "0.0000000000000000000000001234", 29},
        {"0.00000000000000000000001234567", Num::Kind::Double, "1.234567E-23", 15},
    };
    for (const ReadCase& c : cases) {
        ZelChongZhi();
        const Num r = ZelShuZhuanShu(Num::ofText(q(c.in)));
        EXPECT_EQ(kindName(r.kind()), std::string(kindName(c.kind))) << c.in;
        EXPECT_EQ(s(r.text()), c.text) << c.in;
        EXPECT_EQ(calcLog().precisionLimit, c.limit) << c.in;
        EXPECT_EQ(calcLog().errorCount, 0) << c.in;
    }
}

TEST_F(NumberTest, ReaderAgreesWithDecimalText) {
    const char* texts[] = {
        "7922816251426433759354395033.5",  // coefficient 2^96 - 1
        "7922816251426433759354395033.6",  // one more: rounded to 28 digits
        "0.1234567890123456789012345678",
        "1.2345678901234567890123456789",
        "1.23456789012345678901234567891",
        "12345678901234567890123456789e-28",
        "-0.00000000000000000000000000015",
        "0.00000000000000000000000000025",
        "123e20",
        "-4.5E+10",
        "0000000000000000000000000000000000012.5",
        "1.0000000000000000000000000000000000",
        "9999999999999999999.5",
        "0.0",
    };
    for (const char* t : texts) {
        const Decimal expected = Decimal::fromText(q(t));
        const Decimal got = Num::ofText(q(t)).toDecimal();
        EXPECT_TRUE(got == expected) << t;
        EXPECT_EQ(s(got.toString()), s(expected.toString())) << t;
        if (!expected.isZero() && std::fabs(expected.toDouble()) < 1e-13) continue;
        const Num r = ZelShuZhuanShu(Num::ofText(q(t)));
        ASSERT_TRUE(r.isDecimal()) << t;
        EXPECT_EQ(s(r.text()), s(expected.toString())) << t;
    }
}

// Step 6 of the reader, literally: the double wins when its text has more
// significant digits than the Decimal's.
TEST_F(NumberTest, ReaderPicksTheDoubleByDigitCount) {
    const std::string digits = "12345678901234567890123";
    for (int len = 1; len <= 23; ++len) {
        for (int e = -8; e >= -28; --e) {
            const std::string t =
                digits.substr(0, 1) + "." + digits.substr(1, len - 1) + "E" + std::to_string(e);
            const QString text = QString::fromStdString(t);
            double d = 0;
            ASSERT_TRUE(textToDouble(text, d));
            const Decimal v = Decimal::fromText(text);
            const bool doubleWins = ZelYouXiao109ChangDu(Num::ofText(doubleToText(d))) >
                                    ZelYouXiao109ChangDu(Num::ofText(v.toString()));
            ZelChongZhi();
            const Num r = ZelShuZhuanShu(Num::ofText(text));
            EXPECT_EQ(r.isDouble(), doubleWins) << t;
            EXPECT_EQ(s(r.text()), s(doubleWins ? doubleToText(d) : v.toString())) << t;
            EXPECT_EQ(calcLog().precisionLimit, doubleWins ? 15 : 29) << t;
        }
    }
}

TEST_F(NumberTest, ShuZhuanShuReadsLongTexts) {
    const Num big = ZelShuZhuanShu(Num::ofText(QString(150, u'9')));
    EXPECT_TRUE(big.isDouble());
    EXPECT_EQ(s(big.text()), "1E+150");
    const Num tiny = ZelShuZhuanShu(Num::ofText(q("0.") + QString(120, u'0') + q("1")));
    EXPECT_TRUE(tiny.isDouble());
    EXPECT_EQ(s(tiny.text()), "1E-121");
    const Num third = ZelShuZhuanShu(Num::ofText(q("0.") + QString(200, u'3')));
    EXPECT_TRUE(third.isDecimal());
    EXPECT_EQ(s(third.text()), "0.3333333333333333333333333333");
    EXPECT_EQ(calcLog().errorCount, 0);
    ZelShuZhuanShu(Num::ofText(QString(150, u'9') + q("x")));
    EXPECT_EQ(calcLog().errorCount, 1);
}

TEST_F(NumberTest, ShuZhuanShuReadsValues) {
    EXPECT_EQ(s(ZelShuZhuanShu(Num::ofDecimal(Decimal::fromText(u"-12.5"))).text()), "-12.5");
    EXPECT_TRUE(ZelShuZhuanShu(Num::ofInt(7)).isDecimal());
    EXPECT_EQ(s(ZelShuZhuanShu(Num::ofInt(-7)).text()), "-7");
    // A double in range becomes a Decimal with its 15 significant digits.
    const Num third = ZelShuZhuanShu(Num::ofDouble(1.0 / 3));
    EXPECT_TRUE(third.isDecimal());
    EXPECT_EQ(s(third.text()), "0.333333333333333");
    EXPECT_EQ(calcLog().precisionLimit, 29);
    // The largest Decimals read as doubles: their double is beyond the bound.
    const Num big = ZelShuZhuanShu(Num::ofDecimal(Decimal::max()));
    EXPECT_TRUE(big.isDouble());
    EXPECT_EQ(calcLog().precisionLimit, 15);
    ZelChongZhi();
    EXPECT_TRUE(ZelShuZhuanShu(Num::ofDouble(1e-30)).isDouble());
    EXPECT_TRUE(ZelShuZhuanShu(Num::ofDouble(1.23456789e-22)).isDouble());
    EXPECT_TRUE(ZelShuZhuanShu(Num::ofDouble(1.5e-20)).isDecimal());
    EXPECT_EQ(calcLog().errorCount, 0);
}

TEST_F(NumberTest, ShuZhuanShuFailureMessage) {
    const Num r = ZelShuZhuanShu(Num::ofText(q("  abc ")));
    EXPECT_TRUE(r.isText());
    EXPECT_EQ(s(r.rawText()), "0");
    const QString m = q("  进行[Zel数转数]运算时， ") + q("abc") + kReaderEnding;
    CalcLog& st = calcLog();
    EXPECT_EQ(st.errorCount, 1);
    EXPECT_EQ(s(st.firstMessage), s(m));
    EXPECT_EQ(s(st.lastMessage), s(m));
    EXPECT_EQ(s(st.errorLog), s(m + q("\r\n")));
}

TEST_F(NumberTest, SecondFailureKeepsTheFirstMessage) {
    ZelShuZhuanShu(Num::ofText(q("abc")));
    ZelShuZhuanShu(Num::ofText(q("1e400")));
    const QString m1 = q("  进行[Zel数转数]运算时， abc") + kReaderEnding;
    const QString m2 = q("  进行[Zel数转数]运算时， 1e400") + kReaderEnding;
    CalcLog& st = calcLog();
    EXPECT_EQ(st.errorCount, 2);
    EXPECT_EQ(s(st.firstMessage), s(m1));
    EXPECT_EQ(s(st.lastMessage), s(m2));
    EXPECT_EQ(s(st.errorLog), s(m1 + q("\r\n") + m2 + q("\r\n")));
}

TEST_F(NumberTest, ShuZhuanShuRejectsNonFiniteDoubles) {
    for (double d :
         {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
          std::numeric_limits<double>::quiet_NaN()}) {
        ZelChongZhi();
        const Num r = ZelShuZhuanShu(Num::ofDouble(d));
        EXPECT_TRUE(r.isText());
        EXPECT_EQ(s(r.rawText()), "0");
        EXPECT_EQ(calcLog().errorCount, 1);
    }
}

TEST_F(NumberTest, PrecisionLimitIsOnlyLowered) {
    calcLog().precisionLimit = 12;
    ZelShuZhuanShu(Num::ofText(q("1E+30")));
    EXPECT_EQ(calcLog().precisionLimit, 12);
}

TEST_F(NumberTest, MixedOperationsTakeTheStrongerKind) {
    using F = Num (*)(const Num&, const Num&);
    struct Case {
        F f;
        Num a;
        Num b;
        Num::Kind kind;
        const char* text;
    } cases[] = {
        {mixedDiv, Num::ofDecimal(Decimal(2)), Num::ofDouble(4.0), Num::Kind::Decimal, "0.5"},
        {mixedDiv, Num::ofDouble(1.0), Num::ofDecimal(Decimal(3)), Num::Kind::Decimal,
         "0.3333333333333333333333333333"},
        {mixedAdd, Num::ofDouble(0.1 + 0.2), Num::ofDecimal(Decimal(0)), Num::Kind::Decimal, "0.3"},
        {mixedMul, Num::ofInt(3), Num::ofInt(-4), Num::Kind::Decimal, "-12"},
        {mixedDiv, Num::ofInt(1), Num::ofInt(3), Num::Kind::Decimal,
         "0.3333333333333333333333333333"},
        {mixedSub, Num::ofText(q("1.5")), Num::ofInt(1), Num::Kind::Decimal, "0.5"},
        {mixedAdd, Num::ofDouble(1e30), Num::ofInt(1), Num::Kind::Double, "1E+30"},
        {mixedMul, Num::ofText(q("1.5")), Num::ofDouble(2.0), Num::Kind::Double, "3"},
        {mixedSub, Num::ofDouble(1e-30), Num::ofDouble(1e-30), Num::Kind::Double, "0"},
    };
    for (const Case& c : cases) {
        ZelChongZhi();
        const Num r = c.f(c.a, c.b);
        EXPECT_EQ(kindName(r.kind()), std::string(kindName(c.kind))) << c.text;
        EXPECT_EQ(s(r.text()), c.text);
        EXPECT_EQ(calcLog().precisionLimit, c.kind == Num::Kind::Double ? 15 : 29) << c.text;
    }
    struct Failing {
        F f;
        Num a;
        Num b;
    } failing[] = {
        {mixedDiv, Num::ofDecimal(Decimal(2)), Num::ofDouble(7.92281625142642E+28)},
        {mixedMul, Num::ofDecimal(Decimal(2)), Num::ofDouble(-1e30)},
        {mixedAdd, Num::ofDecimal(Decimal(2)), Num()},
        {mixedAdd, Num::ofText(q("  ")), Num::ofInt(1)},
        {mixedMul, Num::ofText(q("abc")), Num::ofDouble(1.0)},
        {mixedDiv, Num::ofDecimal(Decimal(2)), Num::ofInt(0)},
        {mixedDiv, Num::ofDouble(2.0), Num::ofInt(0)},
        {mixedMul, Num::ofDouble(1e308), Num::ofDouble(10.0)},
        {mixedMul, Num::ofDecimal(Decimal::max()), Num::ofInt(2)},
    };
    for (const Failing& c : failing)
        EXPECT_THROW(c.f(c.a, c.b), DecimalError) << s(c.a.text()) << " " << s(c.b.text());
    EXPECT_EQ(calcLog().errorCount, 0);
}

TEST_F(NumberTest, DuoShaoECountsExponentLetters) {
    struct Case {
        Num x;
        int count;
    } cases[] = {
        {Num::ofText(q("1.5e3")), 1},
        {Num::ofText(q("12")), 0},
        {Num::ofText(q("1E+30")), 1},
        {Num::ofText(q("eEe")), 3},
        {Num::ofText(q("")), 0},
        {Num::ofDecimal(Decimal::max()), 0},
        {Num::ofDecimal(Decimal::fromText(u"0.0000000000000000000000000001")), 0},
        {Num::ofInt(5), 0},
        {Num::ofDouble(1e30), 1},
        {Num::ofDouble(0.5), 0},
        {Num::ofDouble(1e-5), 1},
        {Num::ofDouble(123456789012345.0), 0},
    };
    for (const Case& c : cases) EXPECT_EQ(ZelDuoShaoE(c.x), c.count) << s(c.x.text());
    EXPECT_EQ(calcLog().errorCount, 0);
}

TEST_F(NumberTest, ChuanZhuanShuReadsTypedNumbers) {
    struct Case {
        const char* in;
        const char* text;
    } cases[] = {
        {"三", "3"},           {"三点一四", "3.14"}, {"负五", "-5"},
        {"１２．５", "12.5"},  {"一百二十", "12"},   {"1,234", "1234"},
        {"2e", "2"},           {"abc", "0"},         {"1.2.3", "1.2"},
        {"  壹贰叁  ", "123"}, {"另点零五", "0.05"}, {"减减七", "7"},
        {"正负八", "-8"},      {"+-+9", "-9"},       {"1..5", "1.5"},
        {"1.5E3", "1500"},     {"e5", "5"},          {"1e5e6", "100000"},
        {"1e2.5", "100"},      {"1.e2", "100"},      {"2-e3", "2000"},
        {"＿3", "-3"},         {"━3", "-3"},         {"1·5", "1.5"},
        {"一、五", "1.5"},     {"eee", "0"},         {"", "0"},
        {"\t5", "0"},
    };
    for (const Case& c : cases) {
        ZelChongZhi();
        EXPECT_EQ(s(ZelChuanZhuanShu(Num::ofText(q(c.in))).text()), c.text) << c.in;
        EXPECT_EQ(calcLog().errorCount, 0) << c.in;
    }
    EXPECT_TRUE(ZelChuanZhuanShu(Num::ofText(q("abc"))).isInteger());
    EXPECT_TRUE(ZelChuanZhuanShu(Num::ofText(q("三"))).isDecimal());
}

TEST_F(NumberTest, ChuanZhuanShuPassesOnTheReadersFailure) {
    // Only a sign is left: the reader reports it and hands on "0".
    const Num r = ZelChuanZhuanShu(Num::ofText(q("加")));
    EXPECT_TRUE(r.isText());
    EXPECT_EQ(s(r.rawText()), "0");
    EXPECT_EQ(calcLog().errorCount, 1);
    EXPECT_EQ(s(calcLog().firstMessage), s(q("  进行[Zel数转数]运算时， +") + kReaderEnding));
}

// Texts that no routine may choke on.
const char* const kGarbage[] = {
    "",
    " ",
    "abc",
    "+",
    "-",
    ".",
    "e",
    "E+",
    "1.2.3",
    "--5",
    "1e99999999999",
    "-1e-99999999",
    "NaN",
    "inf",
    "1e",
    "١٢٣",
    "\t\r\n",
    "0x1F",
    "约数",
    "１２",
    "😀",
    "\xef\xbf\xbd",
    "1 2",
    "99999999999999999999999999999999999999999999999999.5",
    "0.000000000000000000000000000000000000000000000000001",
    "79228162514264337593543950336",
    "-79228162514264337593543950335.5",
};

TEST_F(NumberTest, GarbageNeverThrows) {
    for (const char* g : kGarbage) {
        const Num x = Num::ofText(q(g));
        EXPECT_NO_THROW({
            ZelShuZhuanShu(x);
            ZelDuoShaoE(x);
            ZelChuanZhuanShu(x);
            ZelYouXiao109ChangDu(x);
            ZelYouXiaoChangDu(x, 3);
            ZelSiSheWuRu(x, 2);
            ZelZhengShuBuFen(x);
            ZelXiaoShuBuFen(x);
            ZelXianShiKuanDu(x.rawText());
            for (const char* other : {"2", "0", "", "1E+300", "abc"}) {
                const Num y = Num::ofText(q(other));
                ZelLiangShuJi(x, y);
                ZelLiangShuShang(x, y);
                ZelLiangShuHe(x, y);
                ZelLiangShuCha(x, y);
                ZelLiangShuYu(x, y);
                ZelLiangShuYu(y, x);
            }
        }) << g;
    }
    EXPECT_GT(calcLog().errorCount, 0);
    EXPECT_TRUE(calcLog().errorLog.endsWith(q("\r\n")));
}

}  // namespace
}  // namespace hc
