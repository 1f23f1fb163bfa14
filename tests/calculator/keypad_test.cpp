#include "calculator/keypad.h"

#include <gtest/gtest.h>

#include "engine/number.h"
#include "tests/calculator/print.h"
#include "ui/services.h"

namespace hc {
namespace {

TEST(KeyTable, CaptionsTokensAndAdvances) {
    struct Row {
        int index;
        const char* caption;
        const char* token;
        int advance;
    };
    const Row rows[] = {
        {1, "1", "1", 1},
        {10, "0", "0", 1},
        {11, ".", ".", 1},
        {18, "\\余", "\\", 1},
        {19, "1/", "1/", 2},
        {21, "空格", " ", 1},
        {22, "n!", "!", 1},
        {24, "平方", "^2", 2},
        {25, "开平方", "^(1/2)", 6},
        {27, "开方", "^(1/)", 4},
        {28, "log", "( lg()/lg() )", 5},
        {29, "ln", "ln()", 3},
        {31, "Sin", "sin()", 4},
        {38, "反Cot", "arccot()", 7},
        {39, "π", "π", 1},
        {41, "双曲 正弦", "sh()", 3},
        {44, "双曲 余切", "cth()", 4},
        {46, "余割 csc", "csc()", 4},
        {48, "反余割", "arccsc()", 7},
        {49, "E", "E", 1},
        {51, "变量r", " r ", 3},
        {59, "变量z", " z ", 3},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.index);
        const KeyInfo* k = hmKey(r.index);
        ASSERT_NE(k, nullptr);
        EXPECT_EQ(k->caption, QString::fromUtf8(r.caption));
        EXPECT_EQ(k->token, QString::fromUtf8(r.token));
        EXPECT_EQ(k->advance, r.advance);
        EXPECT_FALSE(k->help.isEmpty());
    }
    EXPECT_EQ(hmKey(0), nullptr);
    EXPECT_EQ(hmKey(61), nullptr);
    EXPECT_EQ(hmKey(50)->caption, "F-E");
    EXPECT_EQ(hmKey(60)->caption, QString::fromUtf8("随机数"));
}

TEST(KeyTable, OddAndEvenDigitsExplainDifferentThings) {
    const QString odd = hmKey(1)->help;
    const QString even = hmKey(2)->help;
    for (int i : {3, 5, 7, 9}) EXPECT_EQ(hmKey(i)->help, odd);
    for (int i : {4, 6, 8, 10}) EXPECT_EQ(hmKey(i)->help, even);
    EXPECT_EQ(
        odd,
        QString::fromUtf8(
            "  运算顺序为括号()--变量r等--函数sin等--阶乘!百分数%--乘方^--乘*除/余\\--加+减-。"));
    EXPECT_EQ(even,
              QString::fromUtf8("  加减乘除等运算后==>29位有效数字；\r\n  反三角函数、对数函数等"
                                "运算后==>15位有效数字。"));
}

TEST(KeyTable, HelpTextsWithLineBreaksAndSpecialCharacters) {
    EXPECT_EQ(hmKey(34)->help,
              QString::fromUtf8("余切函数---必须注意角度的制式，度分秒和百分度、弧度。\r\n"
                                "请注意三角函数输出结果最多为28位有效数字。"));
    EXPECT_EQ(hmKey(55)->help,
              QString::fromUtf8(
                  "内存变量 -- 共有九个，你可以修改它们，并且编入公式中参加计算。\r\n例如：( "
                  "r^2 + s^2 )^0.5   (r+s+t+u+v+w)/6\u3000\u3000２*X*Y/Z "));
    EXPECT_EQ(hmKey(18)->help,
              QString::fromUtf8(
                  "使用[余] \\ 运算符计算整除后的余数,例 4\\-3=1   -5.12\\3=-2.12。  注意 \\ "
                  "* / 为同级运算符。"));
    EXPECT_EQ(hmKey(46)->help,
              QString::fromUtf8("（余割）csc(x) = 1 / sin(x)  \r\n 请注意函数输出结果最多"
                                "为28位有效数字。"));
}

TEST(InsertToken, ReplacesTheSavedSelectionAndMovesTheCaret) {
    struct Case {
        const char* formula;
        int start, length;
        const char* token;
        int advance;
        const char* expected;
        int caret;
    };
    const Case cases[] = {
        {"", 0, 0, "sin()", 4, "sin()", 4},
        {"1+2", 2, 1, "5", 1, "1+5", 3},                        // the selected 2 is replaced
        {"1+2", 3, 0, "^(1/)", 4, "1+2^(1/)", 7},               // caret between "/" and ")"
        {"12", 9, 0, "+", 1, "12+", 3},                         // start beyond the end is clamped
        {"12", 1, 7, "( lg()/lg() )", 5, "1( lg()/lg() )", 6},  // selection past the end
        {"abc", 0, 3, " r ", 3, " r ", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.formula);
        SavedSelection sel{c.start, c.length, QStringLiteral("x")};
        EXPECT_EQ(
            insertToken(QString::fromUtf8(c.formula), sel, QString::fromUtf8(c.token), c.advance),
            QString::fromUtf8(c.expected));
        EXPECT_EQ(sel.start, c.caret);
        EXPECT_EQ(sel.length, 0);
        EXPECT_TRUE(sel.text.isEmpty());
    }
}

TEST(ScientificNotation, ConvertsNumbersAndDisplayedResults) {
    const std::pair<const char*, const char*> cases[] = {
        {"123.45", "1.2345E+2"},
        {"0.00123", "1.23E-3"},
        {"-5", "-5E0"},
        {"1200", "1.200E+3"},
        {"0", "0E+0"},
        {"2.5E+30", "2.5E+30"},
        {"-0.0000000612345", "-6.12345E-8"},
        {"612345000", "6.12345000E+8"},
        {"                             3.14_____________", "3.14E0"},
        {"                            42.______________", "4.2E+1"},
        {"                            -0.5______________", "-5E-1"},
        {"约数                         2.5              ", "2.5E0"},
        {"算式中存在严重错误，请查找原因，修改算式后再计算。", "0E+0"},
    };
    for (const auto& [in, out] : cases) {
        SCOPED_TRACE(in);
        ZelChongZhi();
        EXPECT_EQ(ZelKeXueJiShu(QString::fromUtf8(in)), QString::fromUtf8(out));
    }
    ZelChongZhi();
}

TEST(RandomToken, PlainTextsWithSevenSignificantDigits) {
    EXPECT_EQ(plainSignificant(0.123456789, 7), "0.1234568");
    EXPECT_EQ(plainSignificant(0.5, 7), "0.5");
    EXPECT_EQ(plainSignificant(0.000123, 7), "0.000123");
    EXPECT_EQ(plainSignificant(0.0, 7), "0");
    EXPECT_EQ(plainSignificant(0.99999999, 7), "1");
    EXPECT_EQ(randomToken(0.1234567, 0.7654321, 0.1111119), "0.12345677654321111111");
    // Short texts contribute only the digits they have.
    EXPECT_EQ(randomToken(0.5, 0.25, 0.0), "0.525");
}

TEST(RandomToken, DrawsThreeValuesReseedingBeforeEach) {
    ui::RecordingServices rec;
    rec.randomValues = {0.3141593, 0.2718282, 0.1414214};
    EXPECT_EQ(drawRandomToken(), "0.31415932718282141421");
    EXPECT_EQ(rec.reseeds, 3);
    EXPECT_TRUE(rec.randomValues.isEmpty());
}

}  // namespace
}  // namespace hc
