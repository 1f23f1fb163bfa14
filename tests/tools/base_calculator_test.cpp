// The base calculator without its window: calculation, base switch, operation
// choice and key entry, as listed cases and against a magnitude-plus-sign model of
// the bitwise operations.

#include "tools/base_calculator.h"

#include <gmpxx.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "tools/base_conversion.h"

namespace hc {
namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

BaseWindowState stateWith(int base, BaseOperation op, const char* x, const char* y) {
    BaseWindowState s;
    s.base = base;
    chooseOperation(s, op);
    s.data[0].text = u(x);
    s.data[1].text = u(y);
    return s;
}

struct CalcCase {
    int base;
    const char* op;
    const char* x;
    const char* y;
    const char* result;
};

TEST(BaseCalculator, CalculationExamples) {
    const CalcCase cases[] = {
        {10, "与", "12", "10", "8"},
        {10, "与", "-12", "10", "8"},
        {10, "与", "-12", "-10", "-8"},
        {10, "或", "5", "-3", "-7"},
        {10, "异或", "6", "3", "5"},
        {10, "异或", "-6", "3", "-5"},
        {10, "异或", "0", "5", "5"},
        {10, "与非", "12", "10", "-7"},
        {10, "或非", "12", "10", "-1"},  // NOT 14 = -0001
        {10, "非", "99", "5", "-2"},
        {10, "非", "-3.5", "5", "-2"},
        {10, "非", "0", "1", "0"},  // NOT 1 is "-0", shown as the Decimal 0
        {10, "与", "2.5", "3", "2"},
        {10, "与", "3.5", "3", "0"},  // 4 AND 3
        {10, "与", "2147483647", "-2147483647", "2147483647"},
        {10, "加", "0.1", "0.2", "0.3"},
        {10, "减", "1", "3", "-2"},
        {10, "除", "1", "3", "0.3333333333333333333333333333"},
        {10, "幂", "2", "10", "1024"},
        {10, "余", "-5.12", "3", "-2.12"},
        // Quotients of 29 digits and more: the exact remainder of the operands.
        {10, "余", "1000000000000000000000000000", "0.01", "0"},
        {10, "余", "-1000000000000000000000000000", "0.07", "-0.05"},
        // 2^95 \ 3/16 = 2/16.
        {2, "余",
         "1"
         "000000000000000000000000000000000000000000000000"
         "00000000000000000000000000000000000000000000000",
         "0.0011", "0.001"},
        {10, "加", "", " ", "0"},
        {2, "加", "00101", "11", "1000"},
        {2, "减", "1", "11", "-10"},
        {2, "与", "1100", "1010", "1000"},
        {2, "非", "", "101", "-10"},
        {8, "乘", "17", "2", "36"},
        {16, "乘", "A", "A", "64"},
        {16, "加", "ff", "1", "100"},
        {16, "除", "1", "2", "0.8"},
    };
    for (const CalcCase& c : cases) {
        BaseWindowState s = stateWith(c.base, *operationFromName(u(c.op)), c.x, c.y);
        const Notices notices = calculate(s);
        EXPECT_EQ(s.result, u(c.result)) << c.x << " " << c.op << " " << c.y << " base " << c.base;
        EXPECT_TRUE(notices.isEmpty()) << c.x << " " << c.op << " " << c.y;
    }
}

TEST(BaseCalculator, OperandsAreRewrittenInTheirBase) {
    BaseWindowState s = stateWith(2, BaseOperation::Add, "00101", "  11 ");
    calculate(s);
    EXPECT_EQ(s.data[0].text, "101");
    EXPECT_EQ(s.data[1].text, "11");
    s = stateWith(16, BaseOperation::Add, "00ff", "a.8");
    calculate(s);
    EXPECT_EQ(s.data[0].text, "00FF");  // each hexadecimal digit keeps its four bits
    EXPECT_EQ(s.data[1].text, "A.8");
    EXPECT_EQ(s.result, "109.8");
    s = stateWith(10, BaseOperation::Add, " 1.50 ", "");
    calculate(s);
    EXPECT_EQ(s.data[0].text, "1.5");
    EXPECT_EQ(s.data[1].text, "0");
}

TEST(BaseCalculator, FailuresEndWithTheirTexts) {
    const QString ended = calculationFailedText();
    const QString converted = conversionFailedText();
    EXPECT_TRUE(ended.endsWith(u("。")));
    EXPECT_TRUE(converted.endsWith(u("！")));
    const CalcCase cases[] = {
        {10, "与", "3000000000", "1", nullptr},
        {10, "与", "2147483647.5", "1", nullptr},  // rounds to 2^31
        {10, "除", "5", "0", nullptr},
        {10, "加", "abc", "1", nullptr},
        {10, "乘", "79228162514264337593543950335", "2", nullptr},
        {2, "除", "1", "0", nullptr},
    };
    for (const CalcCase& c : cases) {
        BaseWindowState s = stateWith(c.base, *operationFromName(u(c.op)), c.x, c.y);
        calculate(s);
        EXPECT_EQ(s.result, ended) << c.x << " " << c.op << " " << c.y;
    }
    // Failures that a routine catches: the power, the remainder.
    for (const CalcCase& c :
         {CalcCase{10, "幂", "0", "-1", nullptr}, CalcCase{10, "余", "5", "0", nullptr},
          CalcCase{2, "幂", "10", "1111111111", nullptr}}) {
        BaseWindowState s = stateWith(c.base, *operationFromName(u(c.op)), c.x, c.y);
        calculate(s);
        EXPECT_EQ(s.result, converted) << c.x << " " << c.op << " " << c.y;
    }
}

TEST(BaseCalculator, OctalWithANineShowsTheConversionMessage) {
    BaseWindowState s = stateWith(8, BaseOperation::Add, "19", "1");
    const Notices notices = calculate(s);
    ASSERT_EQ(notices.size(), 1);
    EXPECT_EQ(
        notices[0].text,
        u("把数19由八进制转换为二进制时，出现超出范围的错误！计算结果无效，请修改数据后再计算。"));
    EXPECT_EQ(s.data[0].text, "-1");
    EXPECT_EQ(s.result, conversionFailedText());
    EXPECT_FALSE(s.warningVisible);
}

TEST(BaseCalculator, LongResultShowsTheWarning) {
    BaseWindowState s = stateWith(2, BaseOperation::Div, "1", "11");
    calculate(s);
    ASSERT_GE(s.result.size(), 37);
    EXPECT_TRUE(s.warningVisible);
    EXPECT_EQ(s.warning, u("计算结果为 ") + QString::number(s.result.size()) +
                             u(" 位，显示框不能完全显示，敬请注意！"));
    // A short result hides it again; a failure that ends the calculation leaves it.
    s.data[1].text = QStringLiteral("0");
    calculate(s);
    EXPECT_TRUE(s.warningVisible);
    s.data[1].text = QStringLiteral("1");
    calculate(s);
    EXPECT_EQ(s.result, "1");
    EXPECT_FALSE(s.warningVisible);
}

struct SwitchCase {
    int from, to;
    const char* text;
    const char* expected;
};

TEST(BaseCalculator, BaseSwitchConvertsBothBoxes) {
    const SwitchCase cases[] = {
        {16, 8, "1F", "37"},     {10, 16, "10", "A"}, {10, 2, "5.5", "101.1"},
        {2, 10, "101.1", "5.5"}, {8, 16, "17", "0F"}, {16, 10, "-a.8", "-10.5"},
        {10, 8, "", "0"},        {2, 16, "", "0"},    {10, 10, "abc", "abc"},
    };
    for (const SwitchCase& c : cases) {
        BaseWindowState s;
        s.base = c.from;
        s.data[0].text = u(c.text);
        s.data[1].text = u(c.text);
        s.result = QStringLiteral("old");
        EXPECT_TRUE(switchBase(s, c.to).isEmpty());
        EXPECT_EQ(s.data[0].text, u(c.expected)) << c.text << " " << c.from << "->" << c.to;
        EXPECT_EQ(s.data[1].text, u(c.expected));
        EXPECT_EQ(s.base, c.to);
        EXPECT_EQ(s.result.isEmpty(), c.from != c.to);
    }
    BaseWindowState s;
    s.base = 10;
    s.data[0].text = QStringLiteral("abc");
    const Notices notices = switchBase(s, 16);
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices[0].text.startsWith(u("把数abc由十进制转换为二进制时")));
    EXPECT_EQ(s.data[0].text, "-1");
    EXPECT_EQ(s.data[1].text, "0");
    EXPECT_EQ(s.help, baseSwitchHelp(10, 16));
    EXPECT_TRUE(s.help.endsWith(u("\r\n    以前为10进制，当前为16进制。")));
    EXPECT_TRUE(s.help.startsWith(u("    [十六进制]--有点复杂了")));
}

TEST(BaseCalculator, SwitchingALongFractionRoundAndRoundStaysBounded) {
    BaseWindowState s;
    s.base = 10;
    s.data[0].text = QStringLiteral("0.1234567890123456789012345678");
    s.data[1].text = QStringLiteral("-79228162514264337593543950335");
    const int bases[] = {2, 16, 8, 10};
    for (int round = 0; round < 50; ++round) {
        for (int b : bases) {
            EXPECT_TRUE(switchBase(s, b).isEmpty()) << round << " " << b;
            EXPECT_LE(s.data[0].text.size(), 100);
        }
    }
    EXPECT_EQ(s.data[1].text, "-79228162514264337593543950335");
    // Each round through binary may move the last digits: the fraction keeps 92 bits
    // and the powers of 0.5 are rounded to 28 decimals.
    EXPECT_TRUE(s.data[0].text.startsWith(QLatin1String("0.12345678901234567890123457")))
        << s.data[0].text.toStdString();
}

TEST(BaseCalculator, OperationChoice) {
    BaseWindowState s;
    EXPECT_EQ(s.label, u("加法 +"));
    const QString initialHelp = s.help;
    s.result = QStringLiteral("x");
    chooseOperation(s, BaseOperation::Mod);
    EXPECT_EQ(s.label, u("求余数\\"));
    EXPECT_EQ(s.help, initialHelp);  // arithmetic leaves the help box alone
    EXPECT_TRUE(s.result.isEmpty());
    chooseOperation(s, BaseOperation::Not);
    EXPECT_FALSE(s.data1Visible);
    EXPECT_EQ(s.help.split(QStringLiteral("\r\n")).size(), 4);
    EXPECT_TRUE(s.help.endsWith(u("再转回原进制。")));
    chooseOperation(s, BaseOperation::Nor);
    EXPECT_TRUE(s.data1Visible);
    EXPECT_EQ(s.label, u("或非  OrNot"));
    EXPECT_EQ(s.help.split(QStringLiteral("\r\n")).size(), 5);
    const char* names[] = {"加", "减", "乘", "除",   "幂",   "余",
                           "与", "或", "非", "异或", "与非", "或非"};
    const char* ascii[] = {"add", "sub", "mul", "div", "pow",  "mod",
                           "and", "or",  "not", "xor", "nand", "NOR"};
    for (int i = 0; i < kBaseOperationCount; ++i) {
        EXPECT_EQ(operationFromName(u(names[i])), static_cast<BaseOperation>(i));
        EXPECT_EQ(operationFromName(u(ascii[i])), static_cast<BaseOperation>(i));
        EXPECT_EQ(operationCaption(static_cast<BaseOperation>(i)), u(names[i]));
    }
    EXPECT_FALSE(operationFromName(QStringLiteral("plus")));
}

// ---- Key entry ---------------------------------------------------------------------

BaseWindowState keyed(int base, const char* text, int caret, int selLength = 0) {
    BaseWindowState s;
    s.base = base;
    s.data[0].text = u(text);
    s.data[0].selStart = caret;
    s.data[0].selLength = selLength;
    return s;
}

TEST(BaseCalculator, DigitKeysInsertAtTheRememberedCaret) {
    BaseWindowState s = keyed(16, "12", 1);
    EXPECT_TRUE(pressDigit(s, u'F'));
    EXPECT_EQ(s.data[0].text, "1F2");
    EXPECT_EQ(s.data[0].selStart, 2);
    s = keyed(16, "1234", 1, 2);  // the selection is replaced
    EXPECT_TRUE(pressDigit(s, u'A'));
    EXPECT_EQ(s.data[0].text, "1A4");
    s = keyed(2, "10", 9);  // a caret beyond the text is clamped
    EXPECT_TRUE(pressDigit(s, u'1'));
    EXPECT_EQ(s.data[0].text, "101");
    EXPECT_EQ(s.data[0].selStart, 3);
    s = keyed(10, "-12", 0);  // before the minus sign: nothing, the caret goes to the end
    s.result = QStringLiteral("r");
    EXPECT_FALSE(pressDigit(s, u'3'));
    EXPECT_EQ(s.data[0].text, "-12");
    EXPECT_EQ(s.data[0].selStart, 3);
    EXPECT_EQ(s.result, "r");
    s.active = 1;  // data 2 is independent
    EXPECT_TRUE(pressDigit(s, u'7'));
    EXPECT_EQ(s.data[1].text, "7");
    EXPECT_EQ(s.data[0].text, "-12");
}

TEST(BaseCalculator, EntryLimitsPerBase) {
    BaseWindowState s = keyed(10, "", 0);
    for (int i = 0; i < 29; ++i) EXPECT_TRUE(pressDigit(s, u'9')) << i;
    EXPECT_EQ(s.data[0].text, QString(29, u'9'));
    EXPECT_FALSE(pressDigit(s, u'9'));
    EXPECT_EQ(s.result, u("第一个数字太长了！"));
    EXPECT_EQ(s.data[0].text.size(), 29);
    s.active = 1;
    s.data[1].text = QString(29, u'1');
    EXPECT_FALSE(pressDigit(s, u'1'));
    EXPECT_EQ(s.result, u("第二个数字太长了！"));

    for (int base : {8, 16}) {
        BaseWindowState t = keyed(base, "", 0);
        for (int i = 0; i < 31; ++i) EXPECT_TRUE(pressDigit(t, u'7')) << base << " " << i;
        EXPECT_FALSE(pressDigit(t, u'7'));
        EXPECT_EQ(t.data[0].text.size(), 31);
        EXPECT_EQ(t.result, u("第一个数字太长了！"));
    }
    BaseWindowState b = keyed(2, "", 0);
    for (int i = 0; i < 300; ++i) ASSERT_TRUE(pressDigit(b, u'1'));
    EXPECT_EQ(b.data[0].text.size(), 300);
    EXPECT_TRUE(b.result.isEmpty());
}

TEST(BaseCalculator, SignPointDeleteAndClearKeys) {
    BaseWindowState s = keyed(10, " 12", 1);
    EXPECT_TRUE(pressSign(s));
    EXPECT_EQ(s.data[0].text, "-12");
    EXPECT_EQ(s.data[0].selStart, 2);
    EXPECT_TRUE(pressSign(s));  // never removes the sign
    EXPECT_EQ(s.data[0].text, "-12");
    EXPECT_EQ(s.data[0].selStart, 2);

    s = keyed(10, "-12", 3);
    EXPECT_TRUE(pressPoint(s));
    EXPECT_EQ(s.data[0].text, "-12.");
    EXPECT_TRUE(pressPoint(s));  // a second point is refused
    EXPECT_EQ(s.data[0].text, "-12.");
    s = keyed(10, "-12", 0);  // before the minus: the caret goes to the end
    EXPECT_TRUE(pressPoint(s));
    EXPECT_EQ(s.data[0].text, "-12");
    EXPECT_EQ(s.data[0].selStart, 3);

    s = keyed(10, "12345", 3, 1);  // the selection and the character before it go
    s.result = QStringLiteral("r");
    EXPECT_TRUE(pressDelete(s));
    EXPECT_EQ(s.data[0].text, "125");
    EXPECT_EQ(s.data[0].selStart, 2);
    EXPECT_TRUE(s.result.isEmpty());
    s = keyed(10, "12", 0);
    EXPECT_TRUE(pressDelete(s));
    EXPECT_EQ(s.data[0].text, "12");
    EXPECT_TRUE(pressDelete(s = keyed(10, "", 0)));
    EXPECT_EQ(s.data[0].text, "");

    s = keyed(10, "12", 1, 1);
    s.result = QStringLiteral("r");
    EXPECT_TRUE(pressClear(s));
    EXPECT_EQ(s.data[0].text, "");
    EXPECT_EQ(s.data[0].selStart, 0);
    EXPECT_EQ(s.data[0].selLength, 0);
    EXPECT_TRUE(s.result.isEmpty());
}

TEST(BaseCalculator, KeyboardEntryIsPolicedLikeTheKeys) {
    BaseWindowState s = keyed(8, "1", 1);
    EXPECT_TRUE(typeCharacter(s, u'9'));  // the base is checked by the calculation
    EXPECT_EQ(s.data[0].text, "19");
    EXPECT_TRUE(typeCharacter(s, u'.'));
    EXPECT_FALSE(typeCharacter(s, u'.'));
    EXPECT_FALSE(typeCharacter(s, u'-'));  // not first
    s.data[0].selStart = 0;
    EXPECT_TRUE(typeCharacter(s, u'-'));
    EXPECT_EQ(s.data[0].text, "-19.");
    s.data[0].selStart = 0;
    EXPECT_FALSE(typeCharacter(s, u'-'));
    EXPECT_FALSE(typeCharacter(s, u'5'));  // before the minus
    for (QChar c : {QChar(0), QChar(u'\t'), QChar(u'\r'), QChar(u' '), QChar(0x7f)})
        EXPECT_FALSE(typeCharacter(s, c)) << int(c.unicode());
    EXPECT_EQ(s.data[0].text, "-19.");
    BaseWindowState d = keyed(10, "", 0);
    for (int i = 0; i < 29; ++i) typeCharacter(d, u'1');
    EXPECT_FALSE(typeCharacter(d, u'1'));
    EXPECT_EQ(d.result, u("第一个数字太长了！"));
}

TEST(BaseCalculator, DigitKeysPerBase) {
    for (int base : {2, 8, 10, 16})
        for (int digit = 0; digit < 16; ++digit)
            EXPECT_EQ(digitKeyEnabled(base, digit), digit < base) << base << " " << digit;
}

// ---- Bitwise operations against magnitude plus sign ------------------------------------

std::int64_t roundHalfEven(const mpq_class& m) {
    mpz_class whole = m.get_num() / m.get_den();
    const mpq_class rest = m - whole;
    if (rest > mpq_class(1, 2) || (rest == mpq_class(1, 2) && whole % 2 == 1)) ++whole;
    return whole.get_si();
}

// NOT with the sign as one more bit, for a whole number.
std::int64_t modelNot(std::int64_t v) {
    const std::int64_t m = v < 0 ? -v : v;
    int n = 1;
    while ((m >> n) != 0) ++n;
    const std::int64_t inverted = ((std::int64_t{1} << n) - 1) - m;
    return v < 0 ? inverted : -inverted;
}

TEST(BaseCalculatorModel, BitwiseOperationsAgainstMagnitudeAndSign) {
    std::mt19937_64 rng(14);
    const BaseOperation ops[] = {BaseOperation::And,  BaseOperation::Or,  BaseOperation::Xor,
                                 BaseOperation::Nand, BaseOperation::Nor, BaseOperation::Not};
    const int bases[] = {2, 8, 10, 16};
    for (int i = 0; i < 6000; ++i) {
        // Whole numbers in every base; in decimal also halves and other fractions.
        const int base = bases[i % 4];
        auto operand = [&](std::int64_t& whole, mpq_class& exactValue, std::string& text) {
            const int bitsWanted = 1 + static_cast<int>(rng() % 31);
            std::int64_t m =
                static_cast<std::int64_t>(rng() & ((std::uint64_t{1} << bitsWanted) - 1));
            const bool negative = rng() % 2;
            exactValue = mpq_class(m);
            if (base == 10 && rng() % 2) {
                const int tenths = static_cast<int>(rng() % 10);
                mpq_class t(tenths, 10);
                t.canonicalize();
                exactValue += t;
                if (exactValue >= mpq_class(2147483647) + mpq_class(1, 2)) exactValue = 5;
            }
            whole = roundHalfEven(exactValue);
            if (negative) exactValue = -exactValue;
            if (base == 10) {
                mpz_class num = exactValue.get_num() * 10 / exactValue.get_den();
                std::string digits = mpz_class(abs(num)).get_str();
                if (digits.size() < 2) digits.insert(0, 2 - digits.size(), '0');
                digits.insert(digits.size() - 1, ".");
                text = (num < 0 ? "-" : "") + digits;
            } else {
                text = mpz_class(exactValue.get_num()).get_str(base);
                for (char& c : text) c = static_cast<char>(std::toupper(c));
            }
        };
        std::int64_t a, b;
        mpq_class x, y;
        std::string tx, ty;
        operand(a, x, tx);
        operand(b, y, ty);
        const BaseOperation op = ops[rng() % 6];
        BaseWindowState s = stateWith(base, op, tx.c_str(), ty.c_str());
        calculate(s);

        std::int64_t expected = 0;
        const bool nx = x < 0, ny = y < 0;
        switch (op) {
            case BaseOperation::And:
            case BaseOperation::Nand:
                expected = (nx && ny) ? -(a & b) : (a & b);
                break;
            case BaseOperation::Or:
            case BaseOperation::Nor:
                expected = (nx || ny) ? -(a | b) : (a | b);
                break;
            case BaseOperation::Xor:
                expected = (nx != ny) ? -(a ^ b) : (a ^ b);
                break;
            default:
                break;
        }
        if (op == BaseOperation::Nand || op == BaseOperation::Nor) expected = modelNot(expected);
        if (op == BaseOperation::Not) {
            // NOT takes data 2 as it is; only whole numbers have this simple model.
            if (y != mpq_class(roundHalfEven(abs(y))) * (ny ? -1 : 1)) continue;
            expected = modelNot(ny ? -b : b);
        }
        std::string want = mpz_class(expected).get_str(base);
        for (char& c : want) c = static_cast<char>(std::toupper(c));
        EXPECT_EQ(s.result.toStdString(), want)
            << tx << " " << operationCaption(op).toStdString() << " " << ty << " base " << base;
    }
}

}  // namespace
}  // namespace hc
