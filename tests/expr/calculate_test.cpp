#include "expr_testing.h"

namespace hc {
namespace {

using CalculateTest = ExprTest;

std::string spaces(int n) { return std::string(n, ' '); }
std::string fill(int n, char c = '_') { return std::string(n, c); }

TEST_F(CalculateTest, LayoutAlignsThePointInColumn31) {
    const struct {
        const char* result;
        bool approximate;
        int decimals;
        std::string display;
    } cases[] = {
        {"3.14", false, 15, spaces(29) + "3.14" + fill(13)},
        {"42", false, 15, spaces(28) + "42." + fill(15)},
        {"-0.5", false, 15, spaces(28) + "-0.5" + fill(14)},
        {"2.5", true, 15, "约数" + spaces(25) + "2.5" + fill(14, ' ')},
        {"2.1E+125", false, 15, spaces(29) + "2.1E+125"},
        {"1e-30", false, 15, spaces(25) + "1e-30"},
        {"7", false, 0, spaces(29) + "7."},
        {"0.125", false, 3, spaces(29) + "0.125"},
        {"Error", false, 15, spaces(25) + "Error"},
        {"123456789012345678901234567.5", true, 2,
         spaces(3) + "123456789012345678901234567.5" + fill(1, ' ')},
        {"12345678901234567890123456789012", false, 2, "12345678901234567890123456789012_"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(s(ZelXianShiJieGuo(q(c.result), c.approximate, c.decimals)), c.display)
            << c.result;
    }
}

TEST_F(CalculateTest, WholeCommand) {
    const CalcResult r = ZelJiSuanSuanShi(q("(1+2)*3"), settings);
    EXPECT_FALSE(r.failed);
    EXPECT_EQ(s(r.formula), "  ( 1 + 2 )  * 3 ");
    EXPECT_EQ(s(r.result), spaces(29) + "9." + fill(15));
    EXPECT_EQ(s(r.value), "9");
    EXPECT_EQ(s(r.status),
              s(q("\u3000\u3000请在重要计算时仔细核对运算成果，多次运算后尾部采用近似值表示。"
                  "如有计算错误，给您带来不便请谅解，向程序员报错可给予物质奖励。")));
    // The state is left reset.
    EXPECT_EQ(calcLog().errorCount, 0);
    EXPECT_EQ(calcLog().precisionLimit, 29);
}

TEST_F(CalculateTest, RecalculatingTheFormulaBoxGivesTheSameResult) {
    for (const char* formula : {"2*(3+4)", "-。11加[2.2-3。3]乘以-2", "sin(1)+2π", "5!2-3%"}) {
        const CalcResult first = ZelJiSuanSuanShi(q(formula), settings);
        const CalcResult second = ZelJiSuanSuanShi(first.formula, settings);
        EXPECT_EQ(s(second.formula), s(first.formula)) << formula;
        EXPECT_EQ(s(second.result), s(first.result)) << formula;
    }
    EXPECT_EQ(s(ZelJiSuanSuanShi(q("2*(3+4)"), settings).formula), " 2 *  ( 3 + 4 )  ");
}

TEST_F(CalculateTest, EmptyFormulaIsZero) {
    settings.displayDecimals = 4;
    const CalcResult r = ZelJiSuanSuanShi(QString(), settings);
    EXPECT_EQ(s(r.formula), " 0 ");
    EXPECT_EQ(s(r.result), spaces(29) + "0." + fill(4));
}

TEST_F(CalculateTest, ValidatorErrorsShowTheFirstMessageOrTheGenericOne) {
    const CalcResult one = ZelJiSuanSuanShi(q("(1+2"), settings);
    EXPECT_TRUE(one.failed);
    EXPECT_EQ(s(one.value), "Error");
    EXPECT_EQ(s(one.result), s(q(" 算式--括号顺序--错误,请修改。")));
    EXPECT_EQ(s(one.status), s(q("算式--括号顺序--错误,请修改。\r\n")));

    const CalcResult two = ZelJiSuanSuanShi(q("1*/2"), settings);
    EXPECT_TRUE(two.failed);
    EXPECT_EQ(s(two.result), s(q("算式中存在严重错误，请查找原因，修改算式后再计算。")));
    EXPECT_EQ(s(two.status), s(q("算式中存在多个运算符相临的错误，请修改算式。\r\n")));
    EXPECT_EQ(calcLog().errorCount, 0);
}

TEST_F(CalculateTest, LowPrecisionResultIsCutAndMarked) {
    settings.displayDecimals = 28;
    const CalcResult r = ZelJiSuanSuanShi(q("lg(100)+0.1234567890123456789"), settings);
    EXPECT_FALSE(r.failed);
    EXPECT_EQ(s(r.value), "2.12345678901234");
    EXPECT_EQ(s(r.status),
              s(q("在运算中，某函数运算结果的有效数字较少，经混合运算后，可能从第16位有效数字后不能"
                  "满足精度要求，后部应于删除。")));
    EXPECT_EQ(s(r.result), "约数" + spaces(25) + "2.12345678901234" + fill(14, ' '));
}

TEST_F(CalculateTest, ExponentResultGetsNoFill) {
    const CalcResult r = ZelJiSuanSuanShi(q("1e20*1e20"), settings);
    EXPECT_FALSE(r.failed);
    EXPECT_EQ(s(r.result), spaces(25) + "1E+40");
}

}  // namespace
}  // namespace hc
