// Malformed and very long formulas: every one gives a result or a message, leaves the
// calculation state reset and never throws.

#include <random>

#include "expr_testing.h"

namespace hc {
namespace {

class RobustnessTest : public ExprTest {
protected:
    CalcResult calculate(const QString& formula) const {
        CalcResult r;
        EXPECT_NO_THROW(r = ZelJiSuanSuanShi(formula, settings));
        EXPECT_FALSE(r.result.isEmpty());
        EXPECT_FALSE(r.formula.isEmpty());
        // A result that stands is shown in the result box; a failure shows its message.
        if (!r.failed) {
            EXPECT_TRUE(r.result.contains(r.value)) << s(formula.left(80));
        }
        const CalcLog& st = calcLog();
        EXPECT_EQ(st.errorCount, 0);
        EXPECT_EQ(st.precisionLimit, 29);
        EXPECT_TRUE(st.errorLog.isEmpty());
        return r;
    }
};

QString repeat(const char* piece, int n) { return q(piece).repeated(n); }

TEST_F(RobustnessTest, MalformedFormulas) {
    const char* formulas[] = {
        "(((",
        ")))",
        "()",
        "(()",
        "())",
        ")(",
        "((1)",
        "1))",
        "+",
        "-",
        "*",
        "^",
        "!",
        "%",
        ".",
        "..",
        "e",
        "E",
        "ee",
        "1e",
        "1e+",
        "e5",
        ".e5",
        "1.2.3",
        "1..2",
        "1e5e5",
        "--",
        "+-+-",
        "1+*2",
        "1*/2",
        "1^^2",
        "2!!",
        "2%%",
        "sin",
        "sin(",
        "sin()",
        "sin(-)",
        "sin-cos30",
        "arc",
        "arcsin",
        "lglg",
        "ln-",
        "π π",
        "επ",
        "r s",
        "rs",
        "abc",
        "xyz",
        "qwerty",
        "1/0",
        "0/0",
        "0^-1",
        "(-8)^(1/3)",
        "10^400",
        "1e30000",
        "1e-30000",
        "99999999999999999999999999999999999",
        "0.00000000000000000000000000000001",
        "-0",
        "+0",
        "1\\0",
        "0\\0",
        "27!",
        "100!",
        "-3!",
        "(-3)!",
        "1e400!",
        "1e5%",
        "1e40%",
        "sec(π/2)",
        "csc(0)",
        "cth(0)",
        "tan(π/2)",
        "cot(0)",
        "arcsec(0.5)",
        "arccsc(0)",
        "arcsin(2)",
        "arccos(-2)",
        "lg(-1)",
        "ln(0)",
        "sh(100)",
        "ch(-100)",
        "th(1e30)",
        "sin(1e30)",
        "cos(1e-30)",
        "2^1e30",
        "1e30^1e30",
        "(-1)^0.5",
        "0^0",
        "\t1+2",
        "1+2\n3",
        "\r",
        "１２＋＋",
        "【（〔",
        "示例",
        "?",
        "===",
        "1+2)*(3+4",
        "sin(cos(tan(cot(1))))",
        "r(s(t(u)))",
        "2(3)(4)(5)",
        "5!2%3π4ε",
        "1.5e-3e",
        "e-5",
        "1e-5-e",
        "-.-",
        ".(.).",
        "1+.",
        "(.)",
        "(-)",
        "(+1)",
        "0x1F",
        "1,000",
        "1_000",
        "∞",
        "NaN",
        "inf",
    };
    for (const char* f : formulas) {
        SCOPED_TRACE(f);
        calculate(q(f));
    }
    for (const AngleUnit unit : {kDecimalDegrees, kPackedDms}) {
        settings.angleUnit = unit;
        for (const char* f : {"sin(99.99999999)", "cos(-0.6060)", "tan(90)", "cot(0.0099)",
                              "arcsin(1)", "arccot(1e30)", "sin(1e27)", "tan(1e28)"}) {
            SCOPED_TRACE(f);
            calculate(q(f));
        }
    }
}

TEST_F(RobustnessTest, LongFormulas) {
    const QString formulas[] = {
        repeat("1+", 5000) + u'1',
        repeat("2*", 3333) + u'1',
        repeat("1+2*3-", 1600) + u'1',
        repeat("(", 5000) + u'1' + repeat(")", 5000),
        repeat("(1)*", 2500) + u'1',
        repeat("((1)+(2))*", 1000) + u'1',
        repeat("π", 10000),
        repeat("r*", 5000) + u'r',
        repeat("sin", 3333) + u'1',
        repeat("sin1+", 2000) + u'1',
        repeat("9", 10000),
        q("0.") + repeat("1", 10000),
        repeat("+-*/", 2500),
        repeat("3!", 3000),
        repeat("5%", 3000),
        repeat("2^", 3000) + u'2',
        repeat("(", 9000) + u'1',
        u'1' + repeat(")", 9000),
        repeat("1e5", 3000),
        repeat("三加四乘", 2500),
        repeat("sin(", 2000) + u'1' + repeat(")", 2000),
        repeat("x(", 3000) + u'1' + repeat(")", 3000),
        repeat("(1+2)*(", 1400) + u'1' + repeat(")", 1400),
        repeat(".", 10000),
        repeat("e", 10000),
        repeat("-", 10000) + u'1',
        repeat("1-", 4999) + u'1',
    };
    for (const QString& f : formulas) {
        SCOPED_TRACE(s(f.left(12)) + "... length " + std::to_string(f.size()));
        calculate(f);
    }
    EXPECT_EQ(s(ZelJiSuanSuanShi(repeat("1+", 5000) + u'1', settings).value), "5001");
    EXPECT_EQ(s(ZelJiSuanSuanShi(repeat("1-", 4999) + u'1', settings).value), "-4998");
    EXPECT_EQ(s(ZelJiSuanSuanShi(repeat("(", 5000) + u'1' + repeat(")", 5000), settings).value),
              "1");
    EXPECT_EQ(s(ZelJiSuanSuanShi(repeat("三加四乘", 2500), settings).value), "29995");
}

TEST_F(RobustnessTest, RandomCharacterSoup) {
    std::mt19937 rng(20261210);
    const std::u16string alphabet =
        u"0123456789+-*/\\^!%().eEπεrstxyzsincotalgh（）【】加减乘除点 一二三\t";
    for (int k = 0; k < 200; ++k) {
        const int length = int(rng() % 400);
        QString f;
        for (int i = 0; i < length; ++i) f.append(QChar(alphabet[rng() % alphabet.size()]));
        SCOPED_TRACE(s(f));
        calculate(f);
    }
}

// Inputs that once broke the evaluator, kept as they were found.
TEST_F(RobustnessTest, Regressions) {
    const char* formulas[] = {
        "1e20*1e20",  // Decimal multiplication overflow looped
    };
    for (const char* f : formulas) {
        SCOPED_TRACE(f);
        calculate(q(f));
    }
}

}  // namespace
}  // namespace hc
