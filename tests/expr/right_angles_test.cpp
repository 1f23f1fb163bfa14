// Circular functions at whole multiples of a right angle in the two degree units,
// through the evaluator: exact values, the zero-divisor paths and what they log.

#include <QStringList>

#include "engine/calc_log.h"
#include "engine/functions.h"
#include "expr/evaluate.h"
#include "expr_testing.h"

namespace hc {
namespace {

const QString kEnding = q(" 数值超出计算范围，我无法计算！返回数值用 [空值] 表示。");

// The radians a multiple of 90 degrees arrives as, by quarter turn 0 ... 3.
const QString kQuarterRadians[] = {q("0"), kHalfPi, kPi, kThreeHalfPi};

// What each function gives in quarter turn 0 ... 3: a value, "fails" (the routine's
// own zero-divisor failure) or "infinite" (1E+28 and a notice).
struct Function {
    const char* name;
    const char* byQuarter[4];
};
const Function kFunctions[] = {
    {"sin", {"0", "1", "0", "-1"}},
    {"cos", {"1", "0", "-1", "0"}},
    {"tan", {"0", "fails", "0", "fails"}},
    {"cot", {"fails", "0", "fails", "0"}},
    {"sec", {"1", "infinite", "-1", "infinite"}},
    {"csc", {"infinite", "1", "infinite", "-1"}},
};

struct Angle {
    int degrees;  // the value, for the quarter turn
    const char* packed;
};
const Angle kAngles[] = {
    {0, "0.0000"},       {90, "90.0000"},   {-90, "-90.0000"},   {180, "180.0000"},
    {-180, "-180.0000"}, {270, "270.0000"}, {-270, "-270.0000"}, {360, "360.0000"},
    {-360, "-360.0000"}, {450, "450.0000"}, {-720, "-720.0000"},
};

int quarterOf(int degrees) { return ((degrees / 90) % 4 + 4) % 4; }

class RightAnglesTest : public ExprTest {
protected:
    struct Outcome {
        std::string value;
        int errors;
        std::string firstMessage;
        QStringList notices;
        int precisionLimit;
    };

    Outcome run(const QString& formula, AngleUnit unit, int decimals) const {
        CalcSettings st = settings;
        st.angleUnit = unit;
        st.displayDecimals = decimals;
        ScopedCalcLog scope;
        const QString value = ZelBiaoDaShiJiSuan(formula, st);
        QStringList notices;
        for (const Notice& n : scope.log().notices) notices << n.text;
        return {s(value), scope.log().errorCount, s(scope.log().firstMessage), notices,
                scope.log().precisionLimit};
    }

    void check(const Function& f, const QString& argument, int quarter, AngleUnit unit,
               int decimals) const {
        const QString formula = q(f.name) + u'(' + argument + u')';
        const Outcome o = run(formula, unit, decimals);
        const std::string expected = f.byQuarter[quarter];
        const std::string where =
            s(formula) + " unit " + std::to_string(unit) + " decimals " + std::to_string(decimals);
        if (expected == "fails") {
            const QString label =
                f.name == std::string("tan") ? q("ZelTan]正切") : q("ZelCot]余切");
            EXPECT_EQ(o.value, "error") << where;
            // The routine's failure, then the evaluator's summary for the formula.
            EXPECT_EQ(o.errors, 2) << where;
            EXPECT_EQ(o.firstMessage,
                      s(q("  进行[") + label + q("运算时， ") + kQuarterRadians[quarter] + kEnding))
                << where;
            EXPECT_TRUE(o.notices.isEmpty()) << where;
        } else if (expected == "infinite") {
            EXPECT_EQ(o.value, "10000000000000000000000000000") << where;
            EXPECT_EQ(o.errors, 0) << where;
            EXPECT_EQ(o.notices, QStringList{q(f.name) + q("(x)为无穷大，采用近似计算....1E+28。")})
                << where;
        } else {
            EXPECT_EQ(o.value, expected) << where;
            EXPECT_EQ(o.errors, 0) << where << " " << o.firstMessage;
            EXPECT_TRUE(o.notices.isEmpty()) << where;
            // Exact points do not lower the precision of the result.
            EXPECT_EQ(o.precisionLimit, 29) << where;
        }
    }
};

TEST_F(RightAnglesTest, DecimalDegreesGiveExactValues) {
    for (const int decimals : {15, 28})
        for (const Function& f : kFunctions)
            for (const Angle& a : kAngles)
                check(f, QString::number(a.degrees), quarterOf(a.degrees), kDecimalDegrees,
                      decimals);
}

TEST_F(RightAnglesTest, PackedDegreesGiveExactValues) {
    for (const int decimals : {15, 28})
        for (const Function& f : kFunctions)
            for (const Angle& a : kAngles)
                check(f, q(a.packed), quarterOf(a.degrees), kPackedDms, decimals);
}

TEST_F(RightAnglesTest, ARightAngleReachedByTheUnitsOwnReading) {
    // 89°60' reads as 90 degrees; 450.00 carries a scale.
    for (const Function& f : kFunctions) {
        check(f, q("89.6"), 1, kPackedDms, 28);
        check(f, q("450.00"), 1, kDecimalDegrees, 28);
        check(f, q("-270.000"), 1, kDecimalDegrees, 15);
    }
}

TEST_F(RightAnglesTest, OtherAnglesKeepTheSeries) {
    // Values of the series, as before: not snapped to the neighbouring right angle.
    CalcSettings wide = settings;
    wide.angleUnit = kDecimalDegrees;
    wide.displayDecimals = 28;
    EXPECT_EQ(s(ZelJiSuanSuanShi(q("cos(60)"), wide).value), "0.499999999999999999999999999");
    EXPECT_EQ(run(q("sin(30)"), kDecimalDegrees, 28).value, "0.5000000000000000000000000004");
    EXPECT_EQ(run(q("sin(30)"), kDecimalDegrees, 28).precisionLimit, 27);
    const Outcome nearRight = run(q("sin(89.9999999999999999999999999)"), kDecimalDegrees, 28);
    EXPECT_EQ(nearRight.precisionLimit, 27);
    EXPECT_EQ(run(q("tan(89.9999999999999999999999999)"), kDecimalDegrees, 28).errors, 0);
}

TEST_F(RightAnglesTest, WholeTurnsAreRemovedInDegrees) {
    for (const AngleUnit unit : {kDecimalDegrees, kPackedDms}) {
        for (const char* f : {"sin", "cos", "tan", "cot", "sec", "csc"}) {
            const std::string within = run(q(f) + q("(30)"), unit, 28).value;
            EXPECT_EQ(run(q(f) + q("(36000030)"), unit, 28).value, within) << f << unit;
            EXPECT_EQ(run(q(f) + q("(-1050)"), unit, 28).value,
                      run(q(f) + q("(-330)"), unit, 28).value)
                << f << unit;
            EXPECT_EQ(run(q(f) + q("(1110)"), unit, 28).value, within) << f << unit;
        }
    }
    // 10^20 degrees is 280 degrees past whole turns.
    EXPECT_EQ(run(q("sin(100000000000000000000)"), kDecimalDegrees, 28).value,
              run(q("sin(280)"), kDecimalDegrees, 28).value);
}

}  // namespace
}  // namespace hc
