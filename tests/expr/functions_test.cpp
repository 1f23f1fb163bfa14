// Constants, memory variables and function names of formulas, through the whole
// calculate command.

#include "engine/rounding.h"
#include "expr/evaluate.h"
#include "expr_testing.h"

namespace hc {
namespace {

class FunctionsTest : public ExprTest {
protected:
    // The evaluator alone, with 28 display decimals.
    std::string evaluate(const char* formula) const {
        CalcSettings wide = settings;
        wide.displayDecimals = 28;
        ZelChongZhi();
        return s(ZelBiaoDaShiJiSuan(q(formula), wide));
    }
};

TEST_F(FunctionsTest, ConstantsAndVariables) {
    EXPECT_EQ(evaluate("π"), "3.1415926535897932384626433833");
    EXPECT_EQ(evaluate("ε"), "2.7182818284590452353602874714");
    EXPECT_EQ(value("π"), "3.141592653589793");
    EXPECT_EQ(value("pi"), "3.141592653589793");
    EXPECT_EQ(value("r*s*t*u*v*w*x*y*z"), "362880");
    EXPECT_EQ(value("(r^2+s^2)^0.5"), "2.23606797749979");
    EXPECT_EQ(value("2r"), "2");
    EXPECT_EQ(value("z(1+1)"), "18");

    settings.memory[0] = Num::ofDecimal(Decimal(-2));
    EXPECT_EQ(value("r^2"), "4");
    EXPECT_EQ(value("3-r"), "5");
    settings.memory[0] = Num::ofDouble(1e30);
    EXPECT_EQ(value("r*2"), "2E+30");
}

TEST_F(FunctionsTest, NamesThatAreNotFunctionsEndTheFormula) {
    const struct {
        const char* formula;
        const char* message;
    } cases[] = {
        {"rs", "rs  函数错误！请修改算式后计算。"},
        {"sinsin30", "sins 函数错误！请修改算式后计算。"},
        {"2*b", "b  函数错误！请修改算式后计算。"},
        {"2ex", "ex  函数错误！请修改算式后计算。"},
        {"arcsinh(1)", "arcsin 函数错误！请修改算式后计算。"},
        {"log(2)", "log 函数错误！请修改算式后计算。"},
        {"tg(1)", "tg1 函数错误！请修改算式后计算。"},
    };
    for (const auto& c : cases) {
        const CalcResult r = ZelJiSuanSuanShi(q(c.formula), settings);
        EXPECT_TRUE(r.failed) << c.formula;
        EXPECT_EQ(s(r.result), s(q(c.message))) << c.formula;
    }
    EXPECT_EQ(value("1.5e-3"), "0.0015");
}

TEST_F(FunctionsTest, ExactPointsKeepFullPrecision) {
    EXPECT_EQ(evaluate("sin(π/2)"), "1");
    ZelChongZhi();
    ZelBiaoDaShiJiSuan(q("sin(π/2)"), settings);
    EXPECT_EQ(calcLog().precisionLimit, 29);
    EXPECT_EQ(evaluate("sin(-π/2)"), "-1");
    EXPECT_EQ(evaluate("cos(0)"), "1");
}

TEST_F(FunctionsTest, DegreesAndPackedAngles) {
    settings.angleUnit = kDecimalDegrees;
    EXPECT_EQ(evaluate("sin(30)"), "0.5000000000000000000000000004");
    EXPECT_EQ(calcLog().precisionLimit, 27);
    EXPECT_EQ(value("sin(30)"), "0.5");
    EXPECT_EQ(evaluate("arcsin(1)"), "90");
    EXPECT_EQ(evaluate("arctan(1)"), "44.999999999999982260329362381");
    EXPECT_EQ(calcLog().precisionLimit, 15);
    EXPECT_EQ(value("2*sin-30"), "-1");

    settings.angleUnit = kPackedDms;
    EXPECT_EQ(evaluate("arcsin(1)"), "90");
    EXPECT_EQ(value("sin(30)"), "0.5");
    EXPECT_EQ(value("cos(60)"), "0.5");
}

TEST_F(FunctionsTest, LogarithmsIgnoreTheAngleUnit) {
    for (const AngleUnit unit : {kRadians, kDecimalDegrees, kPackedDms}) {
        settings.angleUnit = unit;
        EXPECT_EQ(value("ln(ε)"), "1") << unit;
        EXPECT_EQ(value("lg(1000)"), "3") << unit;
    }
}

TEST_F(FunctionsTest, InfiniteSecantShowsAMessageBoxWithoutError) {
    const CalcResult r = ZelJiSuanSuanShi(q("sec(π/2)"), settings);
    EXPECT_FALSE(r.failed);
    // The inserted 1E+28 is read back as a Decimal by the last phase.
    EXPECT_EQ(s(r.value), "10000000000000000000000000000");
    ASSERT_EQ(r.notices.size(), 1);
    EXPECT_EQ(s(r.notices[0].text), s(q("sec(x)为无穷大，采用近似计算....1E+28。")));
    EXPECT_EQ(r.notices[0].buttons, NoticeButtons::Ok);
    EXPECT_TRUE(r.notices[0].title.isEmpty());
}

TEST_F(FunctionsTest, DomainFailures) {
    const CalcResult lg0 = ZelJiSuanSuanShi(q("lg(0)"), settings);
    EXPECT_TRUE(lg0.failed);
    EXPECT_EQ(s(lg0.result), s(q("lg(x)的x 小于等于0错误。")));

    const CalcResult sh = ZelJiSuanSuanShi(q("sh(100)"), settings);
    EXPECT_TRUE(sh.failed);
    EXPECT_TRUE(sh.result.startsWith(q("  K表达式计算过程中，"))) << s(sh.result);
    EXPECT_EQ(value("th(100)"), "1");

    const CalcResult asec = ZelJiSuanSuanShi(q("arcsec(0.5)"), settings);
    EXPECT_TRUE(asec.failed);
    EXPECT_TRUE(asec.result.startsWith(q("  K表达式计算过程中，"))) << s(asec.result);

    const CalcResult asin = ZelJiSuanSuanShi(q("arcsin(2)"), settings);
    EXPECT_TRUE(asin.failed);
    EXPECT_EQ(s(asin.result), s(q("arcsin(x)中 x 大于1错误，计算结果无效。")));
}

TEST_F(FunctionsTest, FunctionsBindTighterThanOperators) {
    settings.angleUnit = kDecimalDegrees;
    EXPECT_EQ(value("sin30^2"), "0.25");
    EXPECT_EQ(value("2^sin30"), "1.414213562373095");
    EXPECT_EQ(value("sin(cos(0)*30)"), "0.5");
    EXPECT_EQ(value("-sin30"), "-0.5");
}

}  // namespace
}  // namespace hc
