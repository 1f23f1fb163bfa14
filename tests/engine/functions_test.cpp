#include "engine/functions.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <functional>
#include <limits>
#include <ostream>
#include <vector>

#include "engine/angle.h"
#include "engine/calc_log.h"
#include "engine/number.h"
#include "tests/engine/log_test.h"
#include "engine/number_routines.h"
#include "engine/power.h"

namespace hc {

// Readable Decimal values in failure messages.
inline void PrintTo(const Decimal& d, std::ostream* os) { *os << d.toString().toStdString(); }

namespace {

using ElementaryFunctionsTest = LogTest;

Decimal dec(const char* text) { return Decimal::fromText(QString::fromUtf8(text)); }

Decimal unitIn27thDigit(const Decimal& reference);

// One unit in the 27th significant digit of the reference, but no less than
// 3E-28: a Decimal below 0.1 keeps fewer than 27 significant digits, and the
// roundings of the series terms add up to a few units of the 28th decimal.
Decimal tolerance27(const Decimal& reference) {
    const Decimal floor = Decimal::fromParts(3, 28, false);
    const Decimal unit = unitIn27thDigit(reference);
    return unit > floor ? unit : floor;
}

Decimal unitIn27thDigit(const Decimal& reference) {
    Decimal unit = Decimal::fromParts(1, 26, false);  // for 1 <= |reference| < 10
    const Decimal magnitude = reference.abs();
    for (Decimal bound = 1; magnitude < bound && !unit.isZero(); bound = bound / Decimal(10))
        unit = unit / Decimal(10);
    for (Decimal bound = 10; magnitude >= bound; bound = bound * Decimal(10))
        unit = unit * Decimal(10);
    return unit;
}

void expectDigits27(const Num& value, const char* reference, const char* what) {
    ASSERT_TRUE(value.isDecimal()) << what << ": " << value.text().toStdString();
    const Decimal ref = dec(reference);
    EXPECT_LE((value.decimal() - ref).abs(), tolerance27(ref))
        << what << ": " << value.text().toStdString() << " vs " << reference;
}

TEST_F(ElementaryFunctionsTest, CircularFunctionsAgreeWithReferenceTo27Digits) {
    // Made with: for x in ...; do echo "scale=40; s($x); c($x); s($x)/c($x)" | bc -l; done
    struct Case {
        const char* x;
        const char* sin;
        const char* cos;
        const char* tan;
    };
    const std::vector<Case> cases = {
        {"0.001", "0.0009999998333333416666664682539710097001",
         "0.9999995000000416666652777778025793648037",
         "0.0010000003333334666667206349425044180342"},
        {"0.1", "0.0998334166468281523068141984106220269899",
         "0.9950041652780257660955619878038702948385",
         "0.1003346720854505450580800457811115368189"},
        {"0.5", "0.4794255386042030002732879352155713880818",
         "0.8775825618903727161162815826038296519916",
         "0.5463024898437905132551794657802853832975"},
        {"1", "0.8414709848078965066525023216302989996225",
         "0.5403023058681397174009366074429766037323",
         "1.5574077246549022305069748074583601730871"},
        {"1.5", "0.9974949866040544309417233711414873227066",
         "0.0707372016677029100881898514342687090850",
         "14.1014199471717193876460836519877564456769"},
        {"2", "0.9092974268256816953960198659117448427022",
         "-0.4161468365471423869975682295007621897660",
         "-2.1850398632615189916433061023136825434318"},
        {"2.5", "0.5984721441039564940518547021861622717035",
         "-0.8011436155469337148335027904673516644285",
         "-0.7470222972386602793553526878252745579040"},
        {"3", "0.1411200080598672221007448028081102798469",
         "-0.9899924966004454572715727947312613023936",
         "-0.1425465430742778052956354105339134932260"},
        {"3.5", "-0.3507832276896198481203688000436355850849",
         "-0.9364566872907963376986576266717604630199",
         "0.3745856401585946663305125799891473884508"},
        {"4", "-0.7568024953079282513726390945118290941359",
         "-0.6536436208636119146391681830977503814241",
         "1.1578212823495775831373424182673239231198"},
        {"4.5", "-0.9775301176650970553891350144986297778643",
         "-0.2107957994307797059804818247938303930107",
         "4.6373320545511844683190866949596267300218"},
        {"5", "-0.9589242746631384688931544061559939733524",
         "0.2836621854632262644666391715135573083344",
         "-3.3805150062465856369827058794473439087096"},
        {"5.5", "-0.7055403255703919062319191755220700788472",
         "0.7086697742912600000274211813258437349877",
         "-0.9955840522138850177019161740702867286905"},
        {"6", "-0.2794154981989258728115554466118947596279",
         "0.9601702866503660205456522979229244054519",
         "-0.2910061913847491570536995888681755428310"},
        {"-1", "-0.8414709848078965066525023216302989996225",
         "0.5403023058681397174009366074429766037323",
         "-1.5574077246549022305069748074583601730871"},
        {"-2.5", "-0.5984721441039564940518547021861622717035",
         "-0.8011436155469337148335027904673516644285",
         "0.7470222972386602793553526878252745579040"},
        {"10", "-0.5440211108893698134047476618513772816836",
         "-0.8390715290764524522588639478240648345199",
         "0.6483608274590866712591249330098086768168"},
        {"12.345", "-0.2195669967379331208777903944186641358284",
         "0.9755974241168764311137172339035216636347",
         "-0.2250590164654114812867215778154361950134"},
    };
    auto rounded = [](const char* text) {
        // The references carry 40 decimals; a Decimal keeps 28.
        return Decimal::fromText(QString::fromUtf8(text)).toString().toStdString();
    };
    for (const Case& c : cases) {
        const Num x = Num::ofText(c.x);
        expectDigits27(ZelSin(x), rounded(c.sin).c_str(), c.x);
        expectDigits27(ZelCos(x), rounded(c.cos).c_str(), c.x);
        expectDigits27(ZelTan(x), rounded(c.tan).c_str(), c.x);
    }
    EXPECT_EQ(state.errorCount, 0);
    EXPECT_EQ(state.precisionLimit, 27);
}

TEST_F(ElementaryFunctionsTest, SineExactPointsKeepThePrecisionLimit) {
    struct Case {
        QString x;
        const char* sin;
    };
    const std::vector<Case> cases = {
        {QStringLiteral("0"), "0"}, {kHalfPi, "1"}, {kPi, "0"},
        {kThreeHalfPi, "-1"},       {kTwoPi, "0"},  {QStringLiteral(""), "0"}};
    for (const Case& c : cases) {
        const Num r = ZelSin(Num::ofText(c.x));
        ASSERT_TRUE(r.isDecimal()) << c.x.toStdString();
        EXPECT_EQ(r.text(), QString::fromUtf8(c.sin)) << c.x.toStdString();
    }
    EXPECT_EQ(ZelCos(Num::ofInt(0)).text(), QStringLiteral("1"));
    EXPECT_EQ(ZelTan(Num::ofInt(0)).text(), QStringLiteral("0"));
    EXPECT_EQ(ZelCos(Num::ofText(kPi)).text(), QStringLiteral("-1"));
    EXPECT_EQ(state.precisionLimit, 29);
    EXPECT_EQ(state.errorCount, 0);
}

TEST_F(ElementaryFunctionsTest, SineIsOddAndClamped) {
    const Num plus = ZelSin(Num::ofInt(1)), minus = ZelSin(Num::ofInt(-1));
    EXPECT_EQ(minus.decimal(), -plus.decimal());
    EXPECT_EQ(ZelSin(Num::ofText("1.5707963267948966192313216915")).text(), QStringLiteral("1"));
    // -pi/2 + 2pi of the rounded texts misses 3pi/2 by one unit: the series runs
    // and its sum is clamped to 1.
    EXPECT_EQ(ZelSin(Num::ofText(QStringLiteral("-") + kHalfPi)).text(), QStringLiteral("-1"));
    // 100 loses 15 turns of the 29-digit 2pi: the error shows in the last digits only.
    const Num r = ZelSin(Num::ofInt(100));
    ASSERT_TRUE(r.isDecimal());
    EXPECT_LE((r.decimal() - dec("-0.5063656411097587936565576105")).abs(), dec("1E-26"));
}

TEST_F(ElementaryFunctionsTest, TangentAndCotangentOfAZeroDivisorFail) {
    EXPECT_TRUE(ZelTan(Num::ofText(kHalfPi)).rawText().isEmpty());
    EXPECT_EQ(state.errorCount, 1);
    EXPECT_EQ(state.firstMessage,
              QStringLiteral("  进行[ZelTan]正切运算时， ") + kHalfPi +
                  QStringLiteral(" 数值超出计算范围，我无法计算！返回数值用 [空值] 表示。"));
    const Num cot = ZelCot(Num::ofText(" 0 "));
    EXPECT_TRUE(cot.isText() && cot.rawText().isEmpty());
    EXPECT_EQ(state.errorCount, 2);
    EXPECT_EQ(state.lastMessage,
              QStringLiteral("  进行[ZelCot]余切运算时， 0 "
                             "数值超出计算范围，我无法计算！返回数值用 [空值] 表示。"));
    expectDigits27(ZelCot(Num::ofInt(1)), "0.6420926159343307030064199866", "cot 1");
    EXPECT_TRUE(notices().isEmpty());
}

TEST_F(ElementaryFunctionsTest, SecantCosecantAndCthOfAZeroDivisorShowAMessageBox) {
    struct Case {
        Num (*f)(const Num&);
        QString x;
        const char* box;
    };
    const std::vector<Case> cases = {
        {ZelSec, kHalfPi, "sec(x)为无穷大，采用近似计算....1E+28。"},
        {ZelSec, kThreeHalfPi, "sec(x)为无穷大，采用近似计算....1E+28。"},
        {ZelCsc, QStringLiteral("0"), "csc(x)为无穷大，采用近似计算....1E+28。"},
        {ZelCsc, kPi, "csc(x)为无穷大，采用近似计算....1E+28。"},
        {ZelCth, QStringLiteral("0"), "cth(x)为无穷大，采用近似计算....1E+28。"},
    };
    for (const Case& c : cases) {
        state.notices.clear();
        const Num r = c.f(Num::ofText(c.x));
        ASSERT_TRUE(r.isDouble()) << c.box;
        EXPECT_EQ(r.text(), QStringLiteral("1E+28"));
        EXPECT_EQ(notices(), QStringList{QString::fromUtf8(c.box)});
    }
    EXPECT_EQ(state.errorCount, 0);

    state.notices.clear();
    EXPECT_EQ(ZelSec(Num::ofInt(0)).text(), QStringLiteral("1"));
    expectDigits27(ZelSec(Num::ofInt(1)), "1.8508157176809256179117532414", "sec 1");
    expectDigits27(ZelCsc(Num::ofInt(1)), "1.1883951057781212162615994524", "csc 1");
    EXPECT_TRUE(notices().isEmpty());
    EXPECT_EQ(state.errorCount, 0);
}

TEST_F(ElementaryFunctionsTest, HyperbolicFunctionsFromPowersOfE) {
    EXPECT_EQ(ZelSh(Num::ofInt(0)).text(), QStringLiteral("0"));
    EXPECT_EQ(ZelCh(Num::ofInt(0)).text(), QStringLiteral("1"));
    EXPECT_EQ(ZelTh(Num::ofInt(0)).text(), QStringLiteral("0"));
    // (e(1) - e(-1)) / 2 ... with bc -l at scale 50.
    expectDigits27(ZelSh(Num::ofInt(1)), "1.1752011936438014568823818506", "sh 1");
    expectDigits27(ZelCh(Num::ofInt(1)), "1.5430806348152437784779056208", "ch 1");
    expectDigits27(ZelTh(Num::ofText("0.5")), "0.4621171572600097585023184836", "th 0.5");
    expectDigits27(ZelSh(Num::ofInt(-1)), "-1.1752011936438014568823818506", "sh -1");
    EXPECT_EQ(state.precisionLimit, 28);
    EXPECT_EQ(state.errorCount, 0);
    EXPECT_TRUE(notices().isEmpty());
}

TEST_F(ElementaryFunctionsTest, HyperbolicFunctionsBeyondTheDecimalRange) {
    const Num th = ZelTh(Num::ofInt(100));
    EXPECT_TRUE(th.isDouble());
    EXPECT_EQ(th.text(), QStringLiteral("1"));
    EXPECT_EQ(ZelCth(Num::ofInt(100)).text(), QStringLiteral("1"));
    // e^100 as a double cannot be divided by the Decimal 2.
    EXPECT_TRUE(endsFormula(ZelSh(Num::ofInt(100))));
    EXPECT_TRUE(endsFormula(ZelCh(Num::ofInt(-100))));
    EXPECT_FALSE(endsFormula(ZelSh(Num::ofInt(66))));
    EXPECT_EQ(state.errorCount, 0);
    // e^1000 leaves even the doubles: the power reports, the formula ends.
    EXPECT_TRUE(endsFormula(ZelTh(Num::ofInt(1000))));
    EXPECT_GE(state.errorCount, 1);
}

TEST_F(ElementaryFunctionsTest, Logarithms) {
    const Num lg = ZelLg(Num::ofInt(100));
    EXPECT_TRUE(lg.isDouble());
    EXPECT_EQ(lg.text(), QStringLiteral("2"));
    EXPECT_EQ(state.precisionLimit, 15);
    EXPECT_EQ(ZelLg(Num::ofText("0.001")).text(), QStringLiteral("-3"));
    EXPECT_EQ(ZelLn(Num::ofText(kE)).text(), QStringLiteral("1"));
    EXPECT_EQ(ZelLn(Num::ofInt(2)).text(), QStringLiteral("0.693147180559945"));
    EXPECT_EQ(ZelLg(Num::ofDouble(1E+300)).text(), QStringLiteral("300"));
    EXPECT_EQ(state.errorCount, 0);

    struct Case {
        Num (*f)(const Num&);
        Num x;
        const char* message;
    };
    const std::vector<Case> cases = {
        {ZelLg, Num::ofInt(0), "lg(x)的x 小于等于0错误。"},
        {ZelLg, Num::ofDecimal(Decimal(-5)), "lg(x)的x 小于等于0错误。"},
        {ZelLn, Num::ofDouble(0.0), "ln(x)的x 小于等于0错误。"},
        {ZelLn, Num::ofDouble(-1E+40), "ln(x)的x 小于等于0错误。"},
    };
    for (const Case& c : cases) {
        ZelChongZhi();
        const Num r = c.f(c.x);
        EXPECT_TRUE(r.isDouble());
        EXPECT_EQ(r.text(), QStringLiteral("-1E+28"));
        EXPECT_EQ(state.errorCount, 1);
        EXPECT_EQ(state.firstMessage, QString::fromUtf8(c.message));
        EXPECT_EQ(state.precisionLimit, 15);
    }
}

TEST_F(ElementaryFunctionsTest, InverseCircularFunctions) {
    struct Case {
        Num (*f)(const Num&);
        const char* x;
        const char* text;
    };
    const std::vector<Case> cases = {
        {ZelArcsin, "0.5", "0.523598775598299"},
        {ZelArcsin, "-0.5", "-0.523598775598299"},
        {ZelArcsin, "0", "0"},
        {ZelArccos, "0.5", "1.0471975511966"},
        {ZelArccos, "0", "1.5707963267949"},
        {ZelArctan, "1", "0.785398163397448"},
        {ZelArctan, "-1E+30", "-1.5707963267949"},
        {ZelArccot, "1", "0.785398163397448"},
        {ZelArccot, "0", "1.5707963267949"},
        {ZelArcsec, "2", "1.0471975511966"},
        {ZelArcsec, "-2", "2.0943951023932"},
        {ZelArccsc, "2", "0.523598775598299"},
        {ZelArccsc, "-2", "-0.523598775598299"},
        // Decimal arguments close to 1 keep their distance from 1.
        {ZelArcsin, "0.99999999999999999999", "1.57079632665348"},
    };
    for (const Case& c : cases) {
        ZelChongZhi();
        state.precisionLimit = 29;
        const Num r = c.f(ZelShuZhuanShu(Num::ofText(c.x)));
        EXPECT_EQ(r.text(), QString::fromUtf8(c.text)) << c.x;
        EXPECT_EQ(state.precisionLimit, 15) << c.x;
        EXPECT_EQ(state.errorCount, 0) << c.x;
    }

    state.precisionLimit = 29;
    EXPECT_EQ(ZelArcsin(Num::ofDecimal(Decimal(1))).text(), kHalfPi);
    EXPECT_EQ(ZelArcsin(Num::ofDecimal(Decimal(-1))).text(), QStringLiteral("-") + kHalfPi);
    EXPECT_EQ(ZelArccos(Num::ofDecimal(Decimal(1))).text(), QStringLiteral("0"));
    EXPECT_EQ(ZelArccos(Num::ofDecimal(Decimal(-1))).text(), kPi);
    EXPECT_EQ(state.precisionLimit, 29);
    EXPECT_EQ(state.errorCount, 0);
}

TEST_F(ElementaryFunctionsTest, InverseCircularReportsAndClamps) {
    struct Case {
        Num (*f)(const Num&);
        Num x;
        QString text;
        const char* message;
    };
    const std::vector<Case> cases = {
        {ZelArcsin, Num::ofDecimal(Decimal(2)), kHalfPi, "arcsin(x)中 x 大于1错误，计算结果无效。"},
        {ZelArcsin, Num::ofDouble(-1E+30), QStringLiteral("-") + kHalfPi,
         "arcsin(x)中 x 小于-1错误，计算结果无效。"},
        {ZelArccos, Num::ofDecimal(Decimal::fromText(u"1.0000000000000000000000000001")), "0",
         "arccos(x)中 x 大于1错误，计算结果无效。"},
        {ZelArccos, Num::ofDecimal(Decimal(-3)), kPi, "arccos(x)中 x 小于-1错误，计算结果无效。"},
        {ZelArcsec, Num::ofDecimal(Decimal(1)), "-1", "arcsec(x)无意义，计算结果无效。"},
        {ZelArcsec, Num::ofDecimal(Decimal(-1)), "-1", "arcsec(x)无意义，计算结果无效。"},
        {ZelArccsc, Num::ofDecimal(Decimal(1)), "-1", "arccsc(x)无意义，计算结果无效。"},
    };
    for (const Case& c : cases) {
        ZelChongZhi();
        const Num r = c.f(c.x);
        EXPECT_EQ(r.text(), c.text) << c.message;
        EXPECT_EQ(state.errorCount, 1) << c.message;
        EXPECT_EQ(state.errorLog, QString::fromUtf8(c.message) + QStringLiteral("\r\n"));
    }
}

TEST_F(ElementaryFunctionsTest, SecantInversesInsideTheUnitIntervalEndTheFormula) {
    for (const char* x : {"0.5", "0", "-0.999"}) {
        ZelChongZhi();
        EXPECT_TRUE(endsFormula(ZelArcsec(ZelShuZhuanShu(Num::ofText(x))))) << x;
        EXPECT_TRUE(endsFormula(ZelArccsc(ZelShuZhuanShu(Num::ofText(x))))) << x;
        // The evaluator reports the summary; nothing is counted here.
        EXPECT_EQ(state.errorCount, 0) << x;
    }
    EXPECT_FALSE(endsFormula(Num::ofText(QString())));
    EXPECT_FALSE(endsFormula(Num::ofInt(-1)));
}

// Every routine of this module hands back a value for any operand, however odd:
// a number text, the empty text or "error" -- never an exception or a hang.
TEST_F(ElementaryFunctionsTest, OddOperandsGiveAValue) {
    using F = std::function<Num(const Num&)>;
    AngleUnit unit = kRadians;
    const std::vector<F> functions = {
        ZelSin,         ZelCos,
        ZelTan,         ZelCot,
        ZelSec,         ZelCsc,
        ZelSh,          ZelCh,
        ZelTh,          ZelCth,
        ZelLg,          ZelLn,
        ZelArcsin,      ZelArccos,
        ZelArctan,      ZelArccot,
        ZelArcsec,      ZelArccsc,
        ZelKaiPingFang, [&unit](const Num& x) { return ZelDanWeiZhuanHuDu(x, unit); },
        ZelDuZhuanTiDu, ZelDuZhuanHuDu,
        ZelTiDuZhuanDu};
    const std::vector<Num> operands = {Num(),
                                       Num::ofText("abc"),
                                       Num::ofText("error"),
                                       Num::ofText("1E+300"),
                                       Num::ofText("-1E-300"),
                                       Num::ofDecimal(Decimal::max()),
                                       Num::ofDecimal(-Decimal::max()),
                                       Num::ofDecimal(Decimal::fromParts(1, 28, false)),
                                       Num::ofDouble(1E+300),
                                       Num::ofDouble(-5E-324),
                                       Num::ofDouble(std::numeric_limits<double>::infinity()),
                                       Num::ofDouble(std::numeric_limits<double>::quiet_NaN()),
                                       Num::ofInt(-1),
                                       Num::ofText("  -89.5959999999999999999999  ")};
    auto valid = [](const Num& r) {
        if (!r.isText()) return true;
        Decimal d;
        return r.rawText().isEmpty() || r.rawText() == u"error" ||
               Decimal::tryFromText(r.rawText(), d);
    };
    for (const AngleUnit u : {kRadians, kDecimalDegrees, kPackedDms}) {
        unit = u;
        for (const Num& x : operands) {
            for (F f : functions) {
                Num r;
                EXPECT_NO_THROW(r = f(x)) << x.text().toStdString();
                EXPECT_TRUE(valid(r)) << x.text().toStdString() << " -> " << r.text().toStdString();
            }
            for (const Num& y : operands) {
                Num r;
                EXPECT_NO_THROW(r = ZelChengFang(x, y)) << x.text().toStdString();
                EXPECT_TRUE(valid(r)) << x.text().toStdString() << "^" << y.text().toStdString();
            }
        }
    }
}

}  // namespace
}  // namespace hc
