#include "expr/evaluate.h"

#include "expr_testing.h"

namespace hc {
namespace {

class EvaluateTest : public ExprTest {
protected:
    // The evaluator on a formula as the validator leaves it.
    std::string evaluate(const char* formula) const {
        ZelChongZhi();
        return s(ZelBiaoDaShiJiSuan(q(formula), settings));
    }
};

TEST_F(EvaluateTest, PrecedenceAndLeftAssociativity) {
    const struct {
        const char* formula;
        const char* result;
    } cases[] = {
        {"1+2*3", "7"},
        {"(1+2)*3", "9"},
        {"2^3^2", "64"},
        {"10-4-3", "3"},
        {"8/4/2", "1"},
        {"-2^2", "4"},
        {"5-2^2", "1"},
        {"-3^-2", "0.111111111111111"},
        {"4\\-3", "1"},
        {"-5.12\\3", "-2.12"},
        // A quotient beyond the Decimal range: the exact remainder, not that of doubles.
        {"1000000000000000000000000000\\0.01", "0"},
        {"1000000000000000000000000000\\0.07+1", "1.05"},
        {"1e3+1", "1001"},
        {"2e-5-3", "-2.99998"},
        {"2e+3", "2000"},
        {"((2))", "2"},
        {"-(2+3)*2", "-10"},
        {"2*-3", "-6"},
        {"3--2", "5"},
        {"1-2-3-4", "-8"},
        {"-1-2", "-3"},
        {"((1+2)*(3+4))*((5))", "105"},
        {"0.1+0.2", "0.3"},
        {"1/3*3", "1"},
        {"1234567890123456789012345678+1", "1234567890123456789012345679"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(value(c.formula), c.result) << c.formula;
    }
}

TEST_F(EvaluateTest, FactorialAndPercent) {
    const struct {
        const char* formula;
        const char* result;
    } cases[] = {
        {"5!", "120"},
        {"-5!", "-120"},
        {"0!", "0"},
        {"0.5!", "0"},
        {"1.4!", "1"},
        {"3!!", "6"},
        {"26!", "403291461126605635584000000"},
        {"50%", "0.5"},
        {"-50%", "-0.5"},
        {"200*50%", "100"},
        {"2-50%", "1.5"},
        {"3!%", "0.06"},
        // "100%" shrinks to "1"; the scan goes on after the inserted text, so the "!" that
        // follows is still met (resuming at the old position would skip it and give 5).
        {"100%5!", "120"},
        {"5!+3!", "126"},
        // The sign of an exponent is part of the operand: 1e-5 is below 1, so its factorial
        // is 0 (not 1e-(5!)).
        {"1e-5!", "0"},
        {"-1e-5!", "0"},
        {"2.5e-1!+1", "1"},
        {"1.5e+1!", "1307674368000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(value(c.formula), c.result) << c.formula;
    }
}

TEST_F(EvaluateTest, LargeFactorialReportsAndVoidsTheResult) {
    const CalcResult r = ZelJiSuanSuanShi(q("27!"), settings);
    EXPECT_TRUE(r.failed);
    EXPECT_EQ(s(r.result), s(q("阶乘计算时数值太大，超出计算范围。")));
    EXPECT_TRUE(r.status.contains(q("表达式计算过程中，")));
}

TEST_F(EvaluateTest, DivisionByZero) {
    ZelChongZhi();
    EXPECT_EQ(s(ZelBiaoDaShiJiSuan(q(" 1 / 0 "), settings)), "error");
    const CalcLog& st = calcLog();
    EXPECT_EQ(st.errorCount, 2);
    EXPECT_EQ(s(st.firstMessage), s(q(" 1/0   除数为0错误！请修改算式后计算。")));
    EXPECT_EQ(
        s(st.lastMessage),
        s(q("  表达式计算过程中，1 / 0出现超出计算范围错误，我无法计算！返回数值用 error 表示。")));

    // A zero divisor inside a bracket ends the formula as well.
    const CalcResult r = ZelJiSuanSuanShi(q("2*(3/(1-1))"), settings);
    EXPECT_TRUE(r.failed);
    EXPECT_TRUE(r.result.contains(q("除数为0错误")));
}

TEST_F(EvaluateTest, BracketErrorsOfTheEvaluator) {
    EXPECT_EQ(evaluate("(1+2"), "error");
    EXPECT_EQ(s(calcLog().firstMessage), s(q(" 算式--括号无法配对--错误,请修改。")));
    EXPECT_EQ(calcLog().errorCount, 1);
    EXPECT_EQ(evaluate("1)+(2"), "error");
    EXPECT_EQ(s(calcLog().firstMessage), s(q(" 算式--括号顺序--错误,请修改。")));
}

TEST_F(EvaluateTest, ErrorOnEntryReturnsAtOnce) {
    ZelChongZhi();
    calcLog().report(q("x"));
    EXPECT_EQ(s(ZelBiaoDaShiJiSuan(q("1+1"), settings)), "error");
    EXPECT_EQ(s(ZelKBiaoDaShiJiSuan(q("1+1"), settings)), "1");
    EXPECT_EQ(calcLog().errorCount, 1);
}

TEST_F(EvaluateTest, RoundsToTheDisplayDecimals) {
    settings.displayDecimals = 3;
    EXPECT_EQ(evaluate("2/3"), "0.667");
    EXPECT_EQ(evaluate("-2/3"), "-0.667");
    EXPECT_EQ(evaluate(".5"), "0.5");
    EXPECT_EQ(evaluate("-.5"), "-0.5");
    EXPECT_EQ(evaluate("0.0004"), "0");
    settings.displayDecimals = 0;
    EXPECT_EQ(evaluate("2.5"), "3");
}

TEST_F(EvaluateTest, ForwardScanner) {
    const struct {
        const char* text;
        qsizetype p;
        const char* number;
    } cases[] = {
        {"12+3", 1, "12"}, {" -5*2", 1, " -5"}, {"1.5e-3+1", 1, "1.5e-3"}, {"2E+3", 1, "2e+3"},
        {"7", 5, "7"},     {"1+23", 3, "23"},   {"3 4", 1, "3"},           {".5)", 1, ".5"},
    };
    for (const auto& c : cases) {
        ZelChongZhi();
        EXPECT_EQ(s(ZelXiangHouQuShuZi(q(c.text), c.p)), c.number) << c.text;
        EXPECT_EQ(calcLog().errorCount, 0) << c.text;
    }
}

TEST_F(EvaluateTest, ForwardScannerFailures) {
    const struct {
        const char* text;
        const char* detail;
    } cases[] = {
        {"2e", " 表达式--无数字--错误！请修改算式后计算。"},
        {"1.2.3", " 表达式--小数点数太多--错误！请修改算式后计算。"},
        {"--3", " 表达式--正负号太多--错误！请修改算式后计算。"},
        {"1e2e3", " 表达式--存在多个 e E 字母--错误！请修改算式后计算。"},
        {"*", " 表达式--无数字--错误！请修改算式后计算。"},
    };
    for (const auto& c : cases) {
        ZelChongZhi();
        EXPECT_EQ(s(ZelXiangHouQuShuZi(q(c.text), 1)), c.text);
        const CalcLog& st = calcLog();
        EXPECT_EQ(st.errorCount, 1) << c.text;
        EXPECT_EQ(s(st.errorLog), s(q(c.text) + q(c.detail) + QStringLiteral("\r\n") +
                                    q("  进行[向后取数字]运算时， ") + q(c.text) +
                                    q(" 数值超出计算范围，我无法计算！返回错误数值。\r\n")));
    }
}

TEST_F(EvaluateTest, BackwardScanner) {
    const struct {
        const char* text;
        qsizetype p;
        const char* number;
    } cases[] = {
        {"2+12", 4, "12"},       {" -5", 3, "-5"},    {"5-3", 3, "3"}, {"2*-3", 4, "-3"},
        {"1.5e-3", 6, "1.5e-3"}, {"x 12 ", 5, "12 "}, {"12", 9, "12"}, {"(7", 2, "7"},
        {"1e+5", 4, "1e+5"},     {"3\\-4", 4, "-4"},
    };
    for (const auto& c : cases) {
        ZelChongZhi();
        EXPECT_EQ(s(ZelXiangQianQuShuZi(q(c.text), c.p)), c.number) << c.text;
        EXPECT_EQ(calcLog().errorCount, 0) << c.text;
    }
    ZelChongZhi();
    EXPECT_EQ(s(ZelXiangQianQuShuZi(q("1.2.3"), 5)), "1.2.3");
    EXPECT_EQ(calcLog().errorCount, 1);
    EXPECT_TRUE(calcLog().errorLog.startsWith(q("1.2.3 表达式--小数点数太多--错误！")));
    EXPECT_EQ(
        s(calcLog().lastMessage),
        s(q("  进行[向前取数字]运算时， 1.2.3 数值超出计算范围，我无法计算！返回错误数值。")));
}

TEST_F(EvaluateTest, ExponentWithoutDigitsFailsInTheLastPhase) {
    ZelChongZhi();
    ZelKBiaoDaShiJiSuan(q("2e"), settings);
    EXPECT_GT(calcLog().errorCount, 0);
    EXPECT_TRUE(calcLog().errorLog.contains(q("2e 表达式--无数字--错误！")));
}

}  // namespace
}  // namespace hc
