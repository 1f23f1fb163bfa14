#include "tools/linear_system.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tests/survey/print_qstring.h"
#include "tools/matrix_ops.h"

namespace hc {
namespace {

// An independent reference: textbook Gauss-Jordan over rationals on the whole
// augmented matrix, pivoting on the largest entry of each column.
struct Reference {
    RationalMatrix rref;
    std::vector<int> pivots;
};

Reference referenceRref(RationalMatrix m) {
    Reference r;
    int row = 0;
    for (int c = 0; c < m.cols && row < m.rows; ++c) {
        int best = -1;
        for (int i = row; i < m.rows; ++i)
            if (m.at(i, c) != 0 && (best < 0 || abs(m.at(i, c)) > abs(m.at(best, c)))) best = i;
        if (best < 0) continue;
        for (int j = 0; j < m.cols; ++j) std::swap(m.at(row, j), m.at(best, j));
        const mpq_class p = m.at(row, c);
        for (int j = 0; j < m.cols; ++j) m.at(row, j) /= p;
        for (int i = 0; i < m.rows; ++i) {
            if (i == row || m.at(i, c) == 0) continue;
            const mpq_class f = m.at(i, c);
            for (int j = 0; j < m.cols; ++j) m.at(i, j) -= f * m.at(row, j);
        }
        r.pivots.push_back(c);
        ++row;
    }
    r.rref = m;
    return r;
}

// Rounding to d places, half away from zero, by integer division.
std::string referenceDecimal(const mpq_class& x, int d) {
    mpz_class ten;
    mpz_ui_pow_ui(ten.get_mpz_t(), 10, static_cast<unsigned long>(d));
    const mpz_class num = abs(x.get_num()) * ten * 2 + x.get_den();
    const mpz_class q = num / (2 * x.get_den());
    std::string digits = q.get_str();
    if (digits == "0") return "0";
    while (int(digits.size()) <= d) digits = "0" + digits;
    std::string whole = digits.substr(0, digits.size() - std::size_t(d));
    std::string frac = digits.substr(digits.size() - std::size_t(d));
    while (!frac.empty() && frac.back() == '0') frac.pop_back();
    return (x < 0 ? "-" : "") + whole + (frac.empty() ? "" : "." + frac);
}

std::string referenceForm(const mpq_class& constant, const std::vector<mpq_class>& p, int d) {
    std::string out = constant != 0 ? referenceDecimal(constant, d) : "";
    for (std::size_t k = 0; k < p.size(); ++k) {
        if (p[k] == 0) continue;
        const std::string mag = abs(p[k]) == 1 ? "" : referenceDecimal(abs(p[k]), d) + "*";
        const std::string t = "t" + std::to_string(k + 1);
        if (out.empty())
            out = (p[k] < 0 ? "-" : "") + mag + t;
        else
            out += (p[k] < 0 ? " - " : " + ") + mag + t;
    }
    return out.empty() ? "0" : out;
}

mpq_class randomValue(std::mt19937& rng, bool tenDigits) {
    if (tenDigits) {
        std::uniform_int_distribution<long long> digits(-9999999999LL, 9999999999LL);
        std::uniform_int_distribution<int> places(0, 10);
        mpz_class ten;
        mpz_ui_pow_ui(ten.get_mpz_t(), 10, static_cast<unsigned long>(places(rng)));
        mpq_class v(mpz_class(std::to_string(digits(rng))), ten);
        v.canonicalize();
        return v;
    }
    std::uniform_int_distribution<int> kind(0, 9);
    std::uniform_int_distribution<int> small(-6, 6);
    std::uniform_int_distribution<int> den(1, 7);
    const int k = kind(rng);
    if (k < 3) return 0;
    if (k < 8) return small(rng);
    mpq_class v(small(rng), den(rng));
    v.canonicalize();
    return v;
}

// A text cell of v: a fraction p/q, or a decimal when the denominator is a power of ten.
QString cellText(const mpq_class& v) {
    mpz_class d = v.get_den();
    int places = 0;
    while (d % 10 == 0) {
        d /= 10;
        ++places;
    }
    if (d == 1 && places > 0) return QString::fromStdString(referenceDecimal(v, places));
    return QString::fromStdString(v.get_str());
}

struct RandomSystem {
    RationalMatrix a;
    std::vector<mpq_class> b;
};

RandomSystem randomSystem(std::mt19937& rng) {
    std::uniform_int_distribution<int> size(1, 12);
    std::uniform_int_distribution<int> shape(0, 4);
    const int kind = shape(rng);
    const int n = size(rng);
    int m = size(rng);
    if (kind == 0) m = n;  // square, mostly regular
    if (kind == 3 && n > 1)
        m = std::uniform_int_distribution<int>(1, n - 1)(rng);  // underdetermined
    const bool tenDigits = std::uniform_int_distribution<int>(0, 5)(rng) == 0;
    RandomSystem s{RationalMatrix(m, n), std::vector<mpq_class>(std::size_t(m))};
    for (int i = 0; i < m; ++i) {
        for (int j = 0; j < n; ++j) s.a.at(i, j) = randomValue(rng, tenDigits);
        s.b[std::size_t(i)] = randomValue(rng, tenDigits);
    }
    // Singular and inconsistent shapes: later rows combine earlier ones; the right-hand
    // side follows the combination (consistent) or is pushed off it (inconsistent).
    if ((kind == 1 || kind == 2 || kind == 4) && m > 1) {
        std::uniform_int_distribution<int> pick(0, m - 1);
        const int copies = std::uniform_int_distribution<int>(1, std::max(1, m / 2))(rng);
        for (int c = 0; c < copies; ++c) {
            const int target = pick(rng);
            const int from1 = pick(rng);
            const int from2 = pick(rng);
            if (target == from1 || target == from2) continue;
            const mpq_class f1 = randomValue(rng, false);
            const mpq_class f2 = randomValue(rng, false);
            for (int j = 0; j < n; ++j)
                s.a.at(target, j) = f1 * s.a.at(from1, j) + f2 * s.a.at(from2, j);
            s.b[std::size_t(target)] = f1 * s.b[std::size_t(from1)] + f2 * s.b[std::size_t(from2)];
            if (kind == 2) s.b[std::size_t(target)] += 1;
        }
    }
    return s;
}

TEST(LinearSystem, RandomSystemsAgreeWithAnIndependentSolver) {
    std::mt19937 rng(20261211);
    int kinds[3] = {0, 0, 0};
    for (int trial = 0; trial < 3000; ++trial) {
        const RandomSystem sys = randomSystem(rng);
        const int m = sys.a.rows;
        const int n = sys.a.cols;
        SCOPED_TRACE(testing::Message() << "trial " << trial << " " << m << "x" << n);
        RationalMatrix aug(m, n + 1);
        for (int i = 0; i < m; ++i) {
            for (int j = 0; j < n; ++j) aug.at(i, j) = sys.a.at(i, j);
            aug.at(i, n) = sys.b[std::size_t(i)];
        }
        const Reference ref = referenceRref(aug);
        const bool inconsistent = !ref.pivots.empty() && ref.pivots.back() == n;
        const Solution s = solveLinearSystem(sys.a, sys.b);
        if (inconsistent) {
            ++kinds[1];
            ASSERT_EQ(s.kind, SolutionKind::None);
            ASSERT_EQ(int(s.combination.size()), m);
            mpz_class g = 0;
            for (const mpz_class& c : s.combination)
                mpz_gcd(g.get_mpz_t(), g.get_mpz_t(), c.get_mpz_t());
            EXPECT_EQ(g, 1);
            mpq_class rhs = 0;
            for (int j = 0; j < n; ++j) {
                mpq_class column = 0;
                for (int i = 0; i < m; ++i)
                    column += s.combination[std::size_t(i)] * sys.a.at(i, j);
                EXPECT_EQ(column, 0) << "column " << j;
            }
            for (int i = 0; i < m; ++i)
                rhs += s.combination[std::size_t(i)] * sys.b[std::size_t(i)];
            EXPECT_NE(rhs, 0);
            EXPECT_EQ(rhs, s.contradiction);
            continue;
        }
        const std::size_t rank = ref.pivots.size();
        const bool unique = int(rank) == n;
        ++kinds[unique ? 0 : 2];
        ASSERT_EQ(s.kind, unique ? SolutionKind::Unique : SolutionKind::Infinite);
        ASSERT_EQ(s.freeColumns.size(), std::size_t(n) - rank);
        for (std::size_t i = 0; i < rank; ++i) {
            const std::size_t p = std::size_t(ref.pivots[i]);
            EXPECT_EQ(s.constant[p], ref.rref.at(int(i), n));
            for (std::size_t k = 0; k < s.freeColumns.size(); ++k)
                EXPECT_EQ(s.parameter[p][k], -ref.rref.at(int(i), s.freeColumns[k]));
        }
        for (std::size_t k = 0; k < s.freeColumns.size(); ++k) {
            EXPECT_EQ(std::count(ref.pivots.begin(), ref.pivots.end(), s.freeColumns[k]), 0);
            EXPECT_EQ(s.constant[std::size_t(s.freeColumns[k])], 0);
        }

        // Through the text: typed cells in, every shown digit out.
        if (trial % 5 != 0) continue;
        QString text;
        for (int i = 0; i < m; ++i) {
            for (int j = 0; j <= n; ++j)
                text += (j ? QStringLiteral(", ") : QString()) + cellText(aug.at(i, j));
            text += u'\n';
        }
        const int decimals = trial % 29;
        const SolveRun run = runSolve(text, {}, CalcSettings{}, ValueStyle{decimals, false});
        ASSERT_FALSE(run.failed) << run.output.toStdString();
        std::string expected;
        bool rounded = false;
        for (int j = 0; j < n; ++j) {
            std::vector<mpq_class> params(s.freeColumns.size(), 0);
            mpq_class constant = 0;
            const auto free = std::find(s.freeColumns.begin(), s.freeColumns.end(), j);
            if (free != s.freeColumns.end()) {
                params[std::size_t(free - s.freeColumns.begin())] = 1;
            } else {
                const auto row = std::size_t(std::find(ref.pivots.begin(), ref.pivots.end(), j) -
                                             ref.pivots.begin());
                constant = ref.rref.at(int(row), n);
                for (std::size_t k = 0; k < s.freeColumns.size(); ++k)
                    params[k] = -ref.rref.at(int(row), s.freeColumns[k]);
            }
            mpz_class ten;
            mpz_ui_pow_ui(ten.get_mpz_t(), 10, static_cast<unsigned long>(decimals));
            auto notExact = [&](const mpq_class& v) { return mpq_class(v * ten).get_den() != 1; };
            if (constant != 0 && notExact(constant)) rounded = true;
            for (const mpq_class& p : params)
                if (p != 0 && abs(p) != 1 && notExact(p)) rounded = true;
            expected += "x" + std::to_string(j + 1) + " = " +
                        referenceForm(constant, params, decimals) + "\n";
        }
        const std::string shown = run.output.toStdString();
        EXPECT_NE(shown.find(expected), std::string::npos) << shown << "\nexpected\n" << expected;
        EXPECT_EQ(run.output.contains(roundedDecimalsNote(decimals)), rounded) << shown;
    }
    // The generator reaches every kind of answer often.
    EXPECT_GT(kinds[0], 300);
    EXPECT_GT(kinds[1], 300);
    EXPECT_GT(kinds[2], 300);
}

TEST(LinearSystem, Equations) {
    const ValueStyle fr{15, true};
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"2x1+3x2=5\nx1-x2=0", "唯一解：\nx1 = 1\nx2 = 1\n"},
        {"x + y = 1\nx - y = 3", "唯一解：\nx = 2\ny = -1\n"},
        {"x1 = 2x2 + 1\n3*x2 - 1 = x1/2", "唯一解：\nx1 = 5/2\nx2 = 3/4\n"},
        {"（1/3）y ＝ 1", "唯一解：\ny = 3\n"},
        {"x2 + x10 = 4\nx10 = 1", "唯一解：\nx2 = 3\nx10 = 1\n"},
        {"1.5e-1x = 3", "唯一解：\nx = 20\n"},
        {"2*(x) = 2", "唯一解：\nx = 1\n"},
        {"x+y+z=1\n2x+2y+2z=2",
         "有无穷多解，通解为（t1、t2 为任意数）：\nx = 1 - t1 - t2\ny = t1\nz = t2\n"},
        {"x1+x2=1\n2x1+2x2=3", "无解：方程组互相矛盾。\n2×(方程 1) - 1×(方程 2) 得 0 = -1\n"},
        {"1, 2, 5\n3, 4, 6", "唯一解：\nx1 = -4\nx2 = 9/2\n"},
        {"0 0 1", "无解：方程组互相矛盾。\n1×(方程 1) 得 0 = 1\n"},
        {"0 0 0", "有无穷多解，通解为（t1、t2 为任意数）：\nx1 = t1\nx2 = t2\n"},
    };
    for (const auto& c : cases) {
        const SolveRun run = runSolve(QString::fromUtf8(c.text), {}, CalcSettings{}, fr);
        EXPECT_FALSE(run.failed) << c.text;
        EXPECT_EQ(run.output, QString::fromUtf8(c.expected)) << c.text;
    }
}

TEST(LinearSystem, CoefficientsAreFormulasInTheAngleUnit) {
    CalcSettings degrees;
    degrees.angleUnit = kDecimalDegrees;
    const SolveRun run =
        runSolve(QStringLiteral("sin(30)x = 1"), {}, degrees, ValueStyle{10, false});
    EXPECT_TRUE(run.output.startsWith(QStringLiteral("唯一解：\nx = 2\n")))
        << run.output.toStdString();
    EXPECT_TRUE(run.output.contains(roundedInputsNote()));
}

TEST(LinearSystem, BadInput) {
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"x1*x2 = 1", "第 1 个方程不是线性方程：“x1*x2”含有两个未知数"},
        {"x = 1\nx + 1", "第 2 个方程“x + 1”要有一个等号"},
        {"x = 1 = 2", "第 1 个方程“x = 1 = 2”要有一个等号"},
        {"x + (2 = 1", "第 1 个方程的“+(2”不是数"},
        {"1 = 1", "方程中没有未知数"},
        {"1 2\n3", "增广矩阵第 2 行有 1 个数，第 1 行有 2 个"},
        {"1\n2", "增广矩阵每行至少要有两个数"},
        {"\n\n", "没有方程"},
    };
    for (const auto& c : cases) {
        const SolveRun run = runSolve(QString::fromUtf8(c.text), {}, CalcSettings{}, ValueStyle{});
        EXPECT_TRUE(run.failed) << c.text;
        EXPECT_TRUE(run.output.contains(QString::fromUtf8(c.expected)))
            << c.text << " gave " << run.output.toStdString();
    }
}

}  // namespace
}  // namespace hc
