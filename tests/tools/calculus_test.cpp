// Integrals, derivatives, roots and error propagation against reference values.
// The 40-digit references come from scripts/calculus_reference.py (mpmath at 60 digits).

#include "tools/calculus.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>

#include "tests/survey/print_qstring.h"

namespace hc {
namespace {

struct Row {
    const char* f;
    const char* a;
    const char* b;
    const char* reference;
    double digits;  // correct significant digits required
};

// Relative error of `r` against the reference, after checking that the reported
// error bound covers the true error.
void expectAccurate(const CalculusResult& r, const Row& c) {
    const std::string where = std::string(c.f) + " on " + c.a + " .. " + c.b;
    ASSERT_FALSE(r.failed) << where << "\n" << r.output.toStdString();
    const Decimal ref = Decimal::fromText(QString::fromUtf8(c.reference));
    const Decimal diff = (r.value - ref).abs();
    EXPECT_LE(diff, r.error) << where << ": value " << r.value.toString().toStdString()
                             << ", error bound " << r.error.toString().toStdString();
    const double scale = std::max(std::fabs(ref.toDouble()), 1e-300);
    EXPECT_LE(diff.toDouble() / scale, std::pow(10.0, -c.digits))
        << where << ": value " << r.value.toString().toStdString();
}

// Integrands of the functions the engine computes to 27 digits and more.
const Row kSmoothIntegrals[] = {
    {"x^2", "0", "1", "0.3333333333333333333333333333333333333333", 20},
    {"x^5-3*x^2+1", "-1", "2", "4.5", 20},
    {"x^10", "0", "1", "0.09090909090909090909090909090909090909091", 20},
    {"ε^x", "0", "1", "1.718281828459045235360287471352662497757", 20},
    {"sin(x)", "0", "π", "2", 20},
    {"cos(x)", "0", "1", "0.8414709848078965066525023216302989996226", 20},
    {"x*sin(x)", "0", "π", "3.141592653589793238462643383279502884197", 20},
    {"sin(x)^2", "0", "π", "1.570796326794896619231321691639751442099", 20},
    {"x^2*cos(x)", "0", "1", "0.2391336269283829281493708932556542078421", 20},
    {"tan(x)", "0", "1", "0.6156264703860142621470375164088918633509", 20},
    {"1/(2+cos(x))", "0", "2*π", "3.627598728468435701188156515284311464568", 20},
    {"ε^sin(x)", "0", "1", "1.631869608418051348137161723744681088397", 20},
    {"sh(x)", "0", "1", "0.5430806348152437784779056207570616826015", 20},
    {"ch(x)", "-1", "1", "2.350402387287602913764763701191201630311", 20},
    {"1/(1+x^2)", "0", "1", "0.7853981633974483096156608458198757210493", 20},
    {"1/(1+x)", "0", "1", "0.6931471805599453094172321214581765680755", 20},
    {"1/x", "1", "2", "0.6931471805599453094172321214581765680755", 20},
    {"1/(x^2+4)", "-2", "2", "0.7853981633974483096156608458198757210493", 20},
    {"1/(1+x*x*x*x)", "0", "1", "0.8669729873399110375739951638828707136522", 20},
    {"x/(1+x^2)^2", "0", "2", "0.4", 20},
    {"x^3*ε^x", "0", "2", "20.77811219786130045446085492115001562636", 20},
    {"2^x", "0", "3", "10.09886528622274385151947276701324496199", 20},
    {"ε^(0-x^2)", "0", "1", "0.7468241328124270253994674361318530053545", 20},
    {"x^0.5", "0", "1", "0.6666666666666666666666666666666666666667", 20},
    {"(1-x^2)^0.5", "-1", "1", "1.570796326794896619231321691639751442099", 20},
    {"ε^(0-x)", "0", "∞", "1", 20},
    {"x^3*ε^(0-x)", "0", "inf", "6", 20},
    {"ε^(0-x^2)", "-inf", "inf", "1.772453850905516027298167483341145182798", 20},
    {"ε^x", "-∞", "0", "1", 20},
};

TEST(Integral, SmoothIntegrandsToTwentyDigitsWithinTheirBound) {
    for (const Row& c : kSmoothIntegrals)
        expectAccurate(integrate(QString::fromUtf8(c.f), QString::fromUtf8(c.a),
                                 QString::fromUtf8(c.b), CalcSettings{}),
                       c);
}

// Integrands infinite at a bound or decaying like a power towards infinity: the piece
// closer than 1E-28 to the bound, or where f is lost in its rounding, is the model's.
const Row kEndModelIntegrals[] = {
    {"1/x^0.5", "0", "1", "2", 20},
    {"x^-0.3", "0", "1", "1.428571428571428571428571428571428571429", 20},
    {"1/(x-1)^0.5", "1", "2", "2", 20},
    {"(2-x)^-0.5", "1", "2", "2", 20},
    {"(1-x^2)^-0.5", "-1", "1", "3.141592653589793238462643383279502884197", 20},
    {"x^-0.5*cos(x)", "0", "1", "1.809048475800544162949576733665114291616", 20},
    {"ε^(0-x)/x^0.5", "0", "∞", "1.772453850905516027298167483341145182798", 20},
    {"x^-1.5", "1", "inf", "2", 20},
    {"x^-2", "1", "inf", "1", 20},
    {"x^-0.7*ε^x", "0", "1", "4.381973658929764618295793943170618620253", 20},
    {"1/(1+x^2)", "0", "inf", "1.570796326794896619231321691639751442099", 20},
    // Tails with corrections in 1/x and 1/x² to their leading power.
    {"1/(1+x)^1.5", "0", "inf", "2", 20},
    {"(1+x^2)^-0.75", "-inf", "inf", "5.244115108584239620929679179782238827366", 20},
    {"1/(1+x)^2.5", "0", "inf", "0.6666666666666666666666666666666666666667", 20},
};

TEST(Integral, EndSingularitiesAndPowerTailsToTwentyDigitsWithinTheirBound) {
    for (const Row& c : kEndModelIntegrals) {
        const CalculusResult r = integrate(QString::fromUtf8(c.f), QString::fromUtf8(c.a),
                                           QString::fromUtf8(c.b), CalcSettings{28});
        expectAccurate(r, c);
        EXPECT_TRUE(r.notices.isEmpty()) << c.f << "\n" << r.output.toStdString();
    }
}

// The functions computed in doubles give 15 digits.
const Row kLimitedIntegrals[] = {
    // The power routine trusts some of its results to fewer digits and says so.
    {"1/(1+x^4)", "0", "1", "0.8669729873399110375739951638828707136522", 16},
    // Towards infinity samples keep 28 decimals: a tail as slow as x^-1.1 is fitted far
    // out, where f has few digits left.
    {"1/(5+x)^1.1", "0", "inf", "8.513399225207846033557659227151523454243", 15},
    {"ln(x)", "0", "1", "-1", 13},
    {"x*ln(x)", "0", "1", "-0.25", 13},
    {"ln(1+x)", "0", "1", "0.3862943611198906188344642429163531361510", 13},
    {"arctan(x)", "0", "1", "0.4388245731174756549070447850907874370115", 13},
    {"arcsin(x)", "0", "1", "0.5707963267948966192313216916397514420986", 13},
    {"lg(x)", "1", "10", "6.091349662870733551139839729750554259350", 13},
    // Next to 1/x almost all of the integral lies closer to 0 than any sample: the bound
    // must still cover what the digits do not.
    {"1/x^0.999", "0", "1", "1000", 3},
    {"1/x^0.9995", "0", "1", "2000", 0},
};

TEST(Integral, SlowEndsAndDoubleFunctionIntegrandsToTheirDigitsWithinTheirBound) {
    for (const Row& c : kLimitedIntegrals)
        expectAccurate(integrate(QString::fromUtf8(c.f), QString::fromUtf8(c.a),
                                 QString::fromUtf8(c.b), CalcSettings{}),
                       c);
}

TEST(Integral, ReversedBoundsNegateAndEqualBoundsGiveZero) {
    const CalculusResult r =
        integrate(QStringLiteral("x^2"), QStringLiteral("1"), QStringLiteral("0"), CalcSettings{});
    expectAccurate(r, {"x^2", "1", "0", "-0.3333333333333333333333333333333333333333", 20});
    const CalculusResult z =
        integrate(QStringLiteral("1/x"), QStringLiteral("0"), QStringLiteral("0"), CalcSettings{});
    EXPECT_FALSE(z.failed);
    EXPECT_TRUE(z.value.isZero());
    const CalculusResult inf = integrate(QStringLiteral("ε^x"), QStringLiteral("0"),
                                         QStringLiteral("-inf"), CalcSettings{});
    expectAccurate(inf, {"ε^x", "0", "-inf", "-1", 20});
}

TEST(Integral, DoubleFunctionsAreStatedAndLimitTheDigitsShown) {
    const CalculusResult r = integrate(QStringLiteral("ln(x)"), QStringLiteral("1"),
                                       QStringLiteral("2"), CalcSettings{28});
    ASSERT_FALSE(r.failed);
    EXPECT_EQ(r.digits, 15);
    EXPECT_TRUE(r.output.contains(QStringLiteral("15 位有效数字"))) << r.output.toStdString();
    // 2 ln 2 - 1 = 0.386294361119890618834...: no digit beyond the fifteenth is shown.
    EXPECT_TRUE(r.output.contains(QStringLiteral("积分值 = 0.38629436111989\n")) ||
                r.output.contains(QStringLiteral("积分值 = 0.386294361119891\n")))
        << r.output.toStdString();
    const CalculusResult s = integrate(QStringLiteral("sin(x)"), QStringLiteral("0"),
                                       QStringLiteral("1"), CalcSettings{28});
    EXPECT_EQ(s.digits, 28);
    EXPECT_FALSE(s.output.contains(QStringLiteral("15 位有效数字"))) << s.output.toStdString();
}

TEST(Integral, AngleUnitOfTheSettingsApplies) {
    CalcSettings deg;
    deg.angleUnit = kDecimalDegrees;
    // ∫ sin(x°) dx over 0 .. 180 degrees = 360 / π.
    expectAccurate(
        integrate(QStringLiteral("sin(x)"), QStringLiteral("0"), QStringLiteral("180"), deg),
        {"sin(x) deg", "0", "180", "114.5915590261646417535963096282103406648", 20});
}

TEST(Integral, FailuresNameTheirPlace) {
    const struct {
        const char* f;
        const char* a;
        const char* b;
        const char* message;
    } cases[] = {
        {"1/(x-0.5)", "0", "1", "在 x = 0.5 处算式无法计算"},
        {"sin(x)", "0", "inf", "积分可能发散"},
        {"1/x", "1", "inf", "积分可能发散"},
        {"1/x", "0", "1", "在 x = 0 附近趋于无穷"},
        {"1/(1-x)", "0", "1", "在 x = 1 附近趋于无穷"},
        {"x^2", "0", "1/0", "积分上限无法计算"},
        {"x^2", "abc", "1", "积分下限无法计算"},
        {"(x^2", "0", "1", "被积函数有误"},
        {"x", "0", "1E27", "数值超出计算范围"},
        {"x^2", "-1E27", "1E27", "数值超出计算范围"},
    };
    for (const auto& c : cases) {
        const CalculusResult r = integrate(QString::fromUtf8(c.f), QString::fromUtf8(c.a),
                                           QString::fromUtf8(c.b), CalcSettings{});
        EXPECT_TRUE(r.failed) << c.f << " " << c.a << " " << c.b;
        EXPECT_TRUE(r.output.contains(QString::fromUtf8(c.message))) << r.output.toStdString();
        ASSERT_EQ(r.notices.size(), 1);
        EXPECT_EQ(r.notices[0].text, r.output);
    }
}

TEST(Integral, NegativeSamplesAfterAnOperatorRead) {
    // ε^-x at x < 0 puts "--" behind "^", which the calculator's text cannot take.
    expectAccurate(integrate(QStringLiteral("ε^-x"), QStringLiteral("-1"), QStringLiteral("1"),
                             CalcSettings{}),
                   {"ε^-x", "-1", "1", "2.350402387287602913764763701191201630311", 20});
}

TEST(Integral, CancelFlagStopsIt) {
    std::atomic<bool> cancel{true};
    const CalculusResult r = integrate(QStringLiteral("sin(x)"), QStringLiteral("0"),
                                       QStringLiteral("1"), CalcSettings{}, &cancel);
    EXPECT_TRUE(r.cancelled);
    EXPECT_FALSE(r.failed);
}

TEST(Derivative, TableToFifteenDigitsWithinTheirBound) {
    const struct {
        Row row;
        int order;
    } cases[] = {
        {{"sin(x)", "1", "", "0.5403023058681397174009366074429766037323", 15}, 1},
        {{"cos(x)", "0.5", "", "-0.4794255386042030002732879352155713880818", 15}, 1},
        {{"ε^x", "1", "", "2.718281828459045235360287471352662497757", 15}, 1},
        {{"ε^x", "1", "", "2.718281828459045235360287471352662497757", 15}, 2},
        {{"x^3", "2", "", "12", 15}, 2},
        {{"1/(1+x^2)", "0.5", "", "-0.64", 15}, 1},
        {{"tan(x)", "0.3", "", "1.095688915322547129792427935963952023843", 15}, 1},
        {{"x^0.5", "2", "", "0.3535533905932737622004221810524245196424", 15}, 1},
        {{"sh(x)", "1", "", "1.175201193643801456882381850595600815156", 15}, 2},
        {{"x*ε^sin(x)", "-0.7", "", "0.2439544837767153012259085659702422809367", 15}, 1},
        {{"sin(x)", "1000", "", "0.5623790762907029910782492266053959687558", 15}, 1},
        {{"ln(x)", "2", "", "0.5", 10}, 1},
    };
    for (const auto& c : cases) {
        const CalculusResult r =
            derive(QString::fromUtf8(c.row.f), QString::fromUtf8(c.row.a), c.order, CalcSettings{});
        expectAccurate(r, c.row);
    }
}

TEST(Derivative, DomainEdgeAndBadOrderFail) {
    const CalculusResult edge =
        derive(QStringLiteral("x^0.5"), QStringLiteral("0"), 1, CalcSettings{});
    EXPECT_TRUE(edge.failed);
    EXPECT_TRUE(edge.output.contains(QStringLiteral("处算式无法计算")))
        << edge.output.toStdString();
    EXPECT_TRUE(derive(QStringLiteral("x"), QStringLiteral("0"), 3, CalcSettings{}).failed);
    // Differences beyond the Decimal range.
    EXPECT_TRUE(derive(QStringLiteral("x^2"), QStringLiteral("7E27"), 2, CalcSettings{}).failed);
}

TEST(Root, TableToTwentyFiveDigitsWithinTheirBound) {
    const Row cases[] = {
        {"x^2-2", "0", "2", "1.414213562373095048801688724209698078570", 25},
        {"cos(x)-x", "0", "1", "0.7390851332151606416553120876738734040134", 25},
        {"x^3-x-1", "1", "2", "1.324717957244746025960908854478097340734", 25},
        {"ε^x-3", "0", "2", "1.098612288668109691395245236922525704647", 25},
        {"sin(x)", "3", "4", "3.141592653589793238462643383279502884197", 25},
        {"x^5+x-1", "0", "1", "0.7548776662466927600495088963585286918946", 25},
        {"x^5+x-1", "1", "0", "0.7548776662466927600495088963585286918946", 25},
        {"ln(x)-1", "1", "4", "2.718281828459045235360287471352662497757", 13},
    };
    for (const Row& c : cases)
        expectAccurate(findRoot(QString::fromUtf8(c.f), QString::fromUtf8(c.a),
                                QString::fromUtf8(c.b), CalcSettings{}),
                       c);
}

TEST(Root, NoSignChangeIsRefusedWithBothEndValues) {
    const CalculusResult r =
        findRoot(QStringLiteral("x^2+1"), QStringLiteral("-1"), QStringLiteral("2"), {});
    EXPECT_TRUE(r.failed);
    EXPECT_TRUE(r.output.contains(QStringLiteral("f(a) = 2 与 f(b) = 5 同号")))
        << r.output.toStdString();
}

TEST(Root, ExactRootAtAnEndIsTaken) {
    const CalculusResult r =
        findRoot(QStringLiteral("x-1"), QStringLiteral("1"), QStringLiteral("3"), {});
    ASSERT_FALSE(r.failed) << r.output.toStdString();
    EXPECT_EQ(r.value, Decimal(1));
}

TEST(Propagation, AgreesWithTheAnalyticFormula) {
    const struct {
        const char* f;
        QList<PropagationInput> inputs;
        QList<Correlation> correlations;
        double value;
        double m;
    } cases[] = {
        // m² = (s m_r)² + (r m_s)²
        {"r*s", {{u'r', "10", "0.1"}, {u's', "20", "0.2"}}, {}, 200, std::sqrt(8.0)},
        // with ρ = 0.5: m² = 4 + 4 + 2·0.5·2·2
        {"r*s",
         {{u'r', "10", "0.1"}, {u's', "20", "0.2"}},
         {{u'r', u's', "0.5"}},
         200,
         std::sqrt(12.0)},
        // a distance: m² = (r/d m_r)² + (s/d m_s)², d = 5
        {"(r^2+s^2)^0.5",
         {{u'r', "3", "0.003"}, {u's', "4", "0.004"}},
         {},
         5,
         std::hypot(0.6 * 0.003, 0.8 * 0.004)},
        // a quotient: m = |f| √((m_r/r)² + (m_s/s)²)
        {"r/s",
         {{u'r', "6", "0.03"}, {u's', "3", "0.04"}},
         {},
         2,
         2 * std::sqrt(0.005 * 0.005 + (0.04 / 3) * (0.04 / 3))},
    };
    for (const auto& c : cases) {
        const CalculusResult r =
            propagate(QString::fromUtf8(c.f), c.inputs, c.correlations, CalcSettings{});
        ASSERT_FALSE(r.failed) << c.f << " " << r.output.toStdString();
        EXPECT_NEAR(r.value.toDouble(), c.value, 1e-12) << c.f;
        EXPECT_NEAR(r.error.toDouble(), c.m, c.m * 1e-12) << c.f;
    }
}

TEST(Propagation, SharesAndAngleUnit) {
    CalcSettings deg;
    deg.angleUnit = kDecimalDegrees;
    // f = r sin s: ∂f/∂s per degree = r cos 30° π/180.
    const CalculusResult r = propagate(QStringLiteral("r*sin(s)"),
                                       {{u'r', "100", "0.01"}, {u's', "30", "0.001"}}, {}, deg);
    ASSERT_FALSE(r.failed) << r.output.toStdString();
    const double a = 0.5 * 0.01;
    const double b = 100 * std::cos(M_PI / 6) * M_PI / 180 * 0.001;
    EXPECT_NEAR(r.error.toDouble(), std::sqrt(a * a + b * b), 1e-15);
    EXPECT_TRUE(r.output.contains(QStringLiteral("91.6%"))) << r.output.toStdString();
    EXPECT_TRUE(r.output.contains(QStringLiteral("8.4%"))) << r.output.toStdString();
}

TEST(Propagation, BadInputsAreRefused) {
    EXPECT_TRUE(propagate(QStringLiteral("r"), {}, {}, {}).failed);
    EXPECT_TRUE(propagate(QStringLiteral("r*s"), {{u'r', "1", "-0.1"}}, {}, {}).failed);
    EXPECT_TRUE(
        propagate(QStringLiteral("r*s"), {{u'r', "1", "0.1"}, {u'r', "2", "0.1"}}, {}, {}).failed);
    EXPECT_TRUE(propagate(QStringLiteral("r*s"), {{u'r', "1", "0.1"}, {u's', "1", "0.1"}},
                          {{u'r', u's', "1.5"}}, {})
                    .failed);
    EXPECT_TRUE(propagate(QStringLiteral("ln(r)"), {{u'r', "0", "0.1"}}, {}, {}).failed);
}

TEST(Propagation, InputTexts) {
    PropagationInput in;
    ASSERT_TRUE(parsePropagationInput(QStringLiteral("r=1.5±0.01"), in));
    EXPECT_EQ(in.variable, u'r');
    EXPECT_EQ(in.value, QStringLiteral("1.5"));
    EXPECT_EQ(in.standardError, QStringLiteral("0.01"));
    ASSERT_TRUE(parsePropagationInput(QStringLiteral("Z = -2 +- 0.5"), in));
    EXPECT_EQ(in.variable, u'z');
    EXPECT_EQ(in.value, QStringLiteral("-2"));
    for (const char* bad : {"r=1.5", "a=1±2", "r=±2", "rs=1±2", "=1±2"})
        EXPECT_FALSE(parsePropagationInput(QString::fromUtf8(bad), in)) << bad;
    Correlation c;
    ASSERT_TRUE(parseCorrelation(QStringLiteral("r,s=0.3"), c));
    EXPECT_EQ(c.first, u'r');
    EXPECT_EQ(c.second, u's');
    EXPECT_EQ(c.coefficient, QStringLiteral("0.3"));
    for (const char* bad : {"r=0.3", "r,r=0.3", "r,a=0.3", "r,s="})
        EXPECT_FALSE(parseCorrelation(QString::fromUtf8(bad), c)) << bad;
}

}  // namespace
}  // namespace hc
