#include "expr/prepared_formula.h"

#include "expr_testing.h"

namespace hc {
namespace {

class PreparedFormulaTest : public ExprTest {
protected:
    CalcSettings withX(const char* x) const {
        CalcSettings st = settings;
        st.memory[6] = Num::ofDecimal(Decimal::fromText(q(x)));
        st.displayDecimals = 28;
        return st;
    }
};

TEST_F(PreparedFormulaTest, AgreesWithTheCalculateCommandAtEveryValue) {
    const char* formulas[] = {"x^2-3*x+1", "sin(x)*cos(x)", "ε^x/(1+x)", "x*(x+r)-s",
                              "3乘x加2",   "sh(x)+ch(x)",   "x\\0.3",    "2^x"};
    const char* values[] = {"0.5", "1.25", "3", "0.0000000001", "12345.678901"};
    for (const char* f : formulas) {
        const PreparedFormula p(q(f));
        ASSERT_TRUE(p.ok()) << f;
        for (const char* x : values) {
            const CalcSettings st = withX(x);
            const FormulaValue v = p.evaluate(st);
            const CalcResult r = ZelJiSuanSuanShi(q(f), st);
            ASSERT_EQ(v.ok, !r.failed) << f << " at " << x << ": " << s(v.message);
            if (r.failed) {
                EXPECT_EQ(v.message, r.result) << f << " at " << x;
                continue;
            }
            // The calculate command cuts an approximate value to its trusted digits.
            const QString full = v.value.toString();
            EXPECT_TRUE(full.startsWith(r.value.chopped(1)) || full == r.value)
                << f << " at " << x << ": " << s(full) << " vs " << s(r.value);
        }
    }
}

TEST_F(PreparedFormulaTest, NegatedOperandsBecomeDifferencesOnlyAfterAnOperator) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"e^-x", "e^(0-x)"},
        {"3*-x*2", "3*(0-x)*2"},
        {"1/-(x+1)", "1/(0-(x+1))"},
        {"sin-x", "sin(0-x)"},
        {"2*-(3*-y)", "2*(0-(3*(0-y)))"},
        {"-x", "-x"},          // leading sign: the calculator reads it already
        {"2-x", "2-x"},        // a difference
        {"x-y", "x-y"},        // a variable is no function name
        {"1e-5*x", "1e-5*x"},  // an exponent
        {"2*-x^2", "2*-x^2"},  // the power binds first: left to the calculator
        {"2*-x!", "2*-x!"},
        {"2*-5", "2*-5"},    // a number reads with its sign
        {"2*-xy", "2*-xy"},  // no variable
    };
    for (const auto& c : cases) EXPECT_EQ(s(negatedOperandsAsDifferences(q(c.in))), c.out) << c.in;
}

TEST_F(PreparedFormulaTest, NegativeValuesBehindOperatorsRead) {
    const struct {
        const char* f;
        const char* x;
        const char* value;
    } cases[] = {
        {"ε^-x", "-1", "2.718281828459045235360287471"},
        {"3*-x", "-0.5", "1.5"},
        {"1/-x", "-4", "0.25"},
        {"10*-(x-1)", "-1", "20"},
        {"sin -x", "-0.5", "0.479425538604203000273287935"},
    };
    for (const auto& c : cases) {
        const FormulaValue v = PreparedFormula(q(c.f)).evaluate(withX(c.x));
        ASSERT_TRUE(v.ok) << c.f << ": " << s(v.message);
        EXPECT_EQ(s(v.value.toString()).substr(0, std::string(c.value).size()), c.value) << c.f;
    }
}

TEST_F(PreparedFormulaTest, DigitsFailuresAndTheCallersLog) {
    calcLog().report(q("earlier"));
    const FormulaValue ln = PreparedFormula(q("ln(x)")).evaluate(withX("2"));
    ASSERT_TRUE(ln.ok);
    EXPECT_EQ(ln.digits, 15);
    const FormulaValue exact = PreparedFormula(q("x/3")).evaluate(withX("1"));
    EXPECT_GT(exact.digits, 27);
    EXPECT_EQ(s(exact.value.toString()), "0.3333333333333333333333333333");

    const FormulaValue div = PreparedFormula(q("1/(x-2)")).evaluate(withX("2"));
    EXPECT_FALSE(div.ok);
    EXPECT_TRUE(div.message.contains(q("除数为0"))) << s(div.message);
    const PreparedFormula bad(q("(x+1"));
    EXPECT_FALSE(bad.ok());
    EXPECT_FALSE(bad.message().isEmpty());
    EXPECT_FALSE(bad.evaluate(withX("1")).ok);
    // The caller's log saw none of it.
    EXPECT_EQ(calcLog().errorCount, 1);
    EXPECT_EQ(s(calcLog().firstMessage), "earlier");
}

TEST_F(PreparedFormulaTest, CancelFlagThrows) {
    std::atomic<bool> cancel{true};
    EXPECT_THROW(PreparedFormula(q("x+1")).evaluate(withX("1"), &cancel), Cancelled);
}

}  // namespace
}  // namespace hc
