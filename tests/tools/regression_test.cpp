// Linear regression: the NIST StRD linear least squares datasets against their
// certified values, random data sets against an exact solution computed here by a
// different method, and the messages for data that cannot be fitted.

#include "tools/regression.h"

#include <gmpxx.h>
#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

using hc::RegressionOptions;
using hc::RegressionResult;
using hc::runRegression;

mpz_class pow10(long n) {
    mpz_class r;
    mpz_ui_pow_ui(r.get_mpz_t(), 10, static_cast<unsigned long>(n));
    return r;
}

mpq_class scaled(const mpq_class& q, long k) {
    mpq_class r = k >= 0 ? mpq_class(q * pow10(k)) : mpq_class(q / pow10(-k));
    r.canonicalize();
    return r;
}

// "-0.165289256198347E-01" as an exact rational; nothing for other texts.
std::optional<mpq_class> decimalValue(const QString& text) {
    static const QRegularExpression number(
        QStringLiteral("^([-+]?)(\\d*)(?:\\.(\\d*))?(?:[Ee]([-+]?\\d+))?$"));
    const QRegularExpressionMatch m = number.match(text.trimmed());
    if (!m.hasMatch() || (m.captured(2).isEmpty() && m.captured(3).isEmpty())) return std::nullopt;
    const QString digits = m.captured(2) + m.captured(3);
    mpq_class v(mpz_class(digits.toStdString(), 10));
    v = scaled(v, m.captured(4).toLong() - long(m.captured(3).size()));
    if (m.captured(1) == QLatin1String("-")) v = -v;
    return v;
}

// ---- The certified datasets ----

struct Certified {
    QString data;  // the data lines, one observation each
    std::vector<QString> estimates, deviations;
    QString residualDeviation, rSquared;
    QStringList regressionRow, residualRow;  // df, sum of squares, mean square (, F)
};

Certified readStrd(const QString& name) {
    QFile file(QStringLiteral(HC_STRD_DIR "/") + name + QStringLiteral(".dat"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    const QStringList lines = QString::fromLatin1(file.readAll()).split(u'\n');
    Certified c;
    const QRegularExpression range(QStringLiteral("\\(lines (\\d+) to (\\d+)\\)"));
    int certifiedFrom = 0, certifiedTo = 0, dataFrom = 0, dataTo = 0;
    for (const QString& l : lines.mid(0, 10)) {
        const QRegularExpressionMatch m = range.match(l);
        if (!m.hasMatch()) continue;
        (l.contains(QLatin1String("Certified")) ? certifiedFrom : dataFrom) = m.captured(1).toInt();
        (l.contains(QLatin1String("Certified")) ? certifiedTo : dataTo) = m.captured(2).toInt();
    }
    EXPECT_GT(certifiedTo, certifiedFrom);
    EXPECT_GT(dataTo, dataFrom);
    const QRegularExpression parameter(QStringLiteral("^\\s+B\\d+\\s+(\\S+)\\s+(\\S+)"));
    const QRegularExpression deviation(QStringLiteral("^\\s+Standard Deviation\\s+(\\S+)"));
    const QRegularExpression squared(QStringLiteral("^\\s+R-Squared\\s+(\\S+)"));
    for (int i = certifiedFrom; i <= certifiedTo && i <= lines.size(); ++i) {
        const QString& l = lines[i - 1];
        QRegularExpressionMatch m;
        if ((m = parameter.match(l)).hasMatch()) {
            c.estimates.push_back(m.captured(1));
            c.deviations.push_back(m.captured(2));
        } else if ((m = deviation.match(l)).hasMatch()) {
            c.residualDeviation = m.captured(1);
        } else if ((m = squared.match(l)).hasMatch()) {
            c.rSquared = m.captured(1);
        } else if (l.startsWith(QLatin1String("Regression"))) {
            c.regressionRow = l.split(u' ', Qt::SkipEmptyParts).mid(1);
        } else if (l.startsWith(QLatin1String("Residual")) && !l.contains(QLatin1String("Dev"))) {
            c.residualRow = l.split(u' ', Qt::SkipEmptyParts).mid(1);
        }
    }
    for (int i = dataFrom; i <= dataTo && i <= lines.size(); ++i) c.data += lines[i - 1] + u'\n';
    return c;
}

long exponentOf(const mpq_class& x) {  // 10^e <= x < 10^(e+1), x > 0
    long e = 0;
    while (x >= scaled(1, e + 1)) ++e;
    while (x < scaled(1, e)) --e;
    return e;
}

// x rounded half away from zero to 15 significant digits.
mpq_class fifteenDigits(const mpq_class& x) {
    if (x == 0) return x;
    const long places = 14 - exponentOf(abs(x));
    const mpq_class a = scaled(abs(x), places) + mpq_class(1, 2);
    mpz_class n;
    mpz_fdiv_q(n.get_mpz_t(), a.get_num_mpz_t(), a.get_den_mpz_t());
    const mpq_class r = scaled(mpq_class(n), -places);
    return x < 0 ? mpq_class(-r) : r;
}

// `shown` is the certified figure to its 15 certified digits (a few figures are
// printed with 16 or 17), or "—" for a figure the reference gives as infinite.
void expectCertified(const QString& shown, const QString& certified, const std::string& what) {
    std::optional<mpq_class> want = decimalValue(certified);
    if (want) want = fifteenDigits(*want);
    if (!want) {
        EXPECT_EQ(shown.toStdString(), "—")
            << what << " (certified " << certified.toStdString() << ")";
        return;
    }
    const std::optional<mpq_class> got = decimalValue(shown);
    ASSERT_TRUE(got) << what << ": " << shown.toStdString();
    EXPECT_TRUE(*got == *want) << what << ": shown " << shown.toStdString() << ", certified "
                               << certified.toStdString();
}

struct StrdCase {
    const char* name;
    QList<int> xColumns;
    int degree;
    bool intercept;
};

class StrdDataset : public ::testing::TestWithParam<StrdCase> {};

TEST_P(StrdDataset, EveryCertifiedFigureToFifteenDigits) {
    const StrdCase& k = GetParam();
    const Certified c = readStrd(QString::fromLatin1(k.name));
    ASSERT_FALSE(c.estimates.empty());
    RegressionOptions o;
    o.yColumn = 1;
    o.xColumns = k.xColumns;
    o.degree = k.degree;
    o.intercept = k.intercept;
    o.separator = QStringLiteral(" ");
    o.digits = 15;
    const RegressionResult r = runRegression(c.data, o);
    ASSERT_TRUE(r.ok) << r.failure.toStdString();
    ASSERT_EQ(size_t(r.coefficients.size()), c.estimates.size());
    for (size_t j = 0; j < c.estimates.size(); ++j) {
        const std::string b = "B" + std::to_string(j);
        expectCertified(r.coefficients[qsizetype(j)].estimate, c.estimates[j], b);
        expectCertified(r.coefficients[qsizetype(j)].standardError, c.deviations[j], b + " sd");
    }
    expectCertified(r.residualStandardDeviation, c.residualDeviation, "residual sd");
    expectCertified(r.rSquared, c.rSquared, "R squared");
    ASSERT_EQ(c.regressionRow.size(), 4);
    ASSERT_EQ(c.residualRow.size(), 3);
    EXPECT_EQ(QString::number(r.anova[0].degreesOfFreedom), c.regressionRow[0]);
    expectCertified(r.anova[0].sumOfSquares, c.regressionRow[1], "regression SS");
    expectCertified(r.anova[0].meanSquare, c.regressionRow[2], "regression MS");
    expectCertified(r.anova[0].f, c.regressionRow[3], "F");
    EXPECT_EQ(QString::number(r.anova[1].degreesOfFreedom), c.residualRow[0]);
    expectCertified(r.anova[1].sumOfSquares, c.residualRow[1], "residual SS");
    expectCertified(r.anova[1].meanSquare, c.residualRow[2], "residual MS");
}

INSTANTIATE_TEST_SUITE_P(
    Nist, StrdDataset,
    ::testing::Values(StrdCase{"Norris", {2}, 1, true}, StrdCase{"Pontius", {2}, 2, true},
                      StrdCase{"NoInt1", {2}, 1, false}, StrdCase{"NoInt2", {2}, 1, false},
                      StrdCase{"Filip", {2}, 10, true},
                      StrdCase{"Longley", {2, 3, 4, 5, 6, 7}, 1, true},
                      StrdCase{"Wampler1", {2}, 5, true}, StrdCase{"Wampler2", {2}, 5, true},
                      StrdCase{"Wampler3", {2}, 5, true}, StrdCase{"Wampler4", {2}, 5, true},
                      StrdCase{"Wampler5", {2}, 5, true}),
    [](const ::testing::TestParamInfo<StrdCase>& param) { return std::string(param.param.name); });

// ---- Random data sets against an exact solution found here ----

// Gauss-Jordan elimination in rationals with row exchanges; nothing when singular.
std::optional<std::vector<std::vector<mpq_class>>> inverse(std::vector<std::vector<mpq_class>> a) {
    const size_t p = a.size();
    std::vector<std::vector<mpq_class>> inv(p, std::vector<mpq_class>(p, 0));
    for (size_t i = 0; i < p; ++i) inv[i][i] = 1;
    for (size_t k = 0; k < p; ++k) {
        size_t r = k;
        while (r < p && a[r][k] == 0) ++r;
        if (r == p) return std::nullopt;
        std::swap(a[r], a[k]);
        std::swap(inv[r], inv[k]);
        const mpq_class pivot = a[k][k];
        for (size_t j = 0; j < p; ++j) {
            a[k][j] /= pivot;
            inv[k][j] /= pivot;
        }
        for (size_t i = 0; i < p; ++i) {
            if (i == k || a[i][k] == 0) continue;
            const mpq_class f = a[i][k];
            for (size_t j = 0; j < p; ++j) {
                a[i][j] -= f * a[k][j];
                inv[i][j] -= f * inv[k][j];
            }
        }
    }
    return inv;
}

// The shown text of `exact` (or of its square root) keeps every shown digit: it is
// within half a unit of its last place from the exact value.
void expectRounded(const QString& text, const mpq_class& exact, bool root,
                   const RegressionOptions& o, const std::string& what) {
    const std::optional<mpq_class> shown = decimalValue(text);
    ASSERT_TRUE(shown) << what << ": " << text.toStdString();
    long places = o.digits;
    if (o.significant && exact != 0) {
        const long e =
            root ? exponentOf(exact) / 2 - (exponentOf(exact) < 0 && exponentOf(exact) % 2 ? 1 : 0)
                 : exponentOf(abs(exact));
        places = o.digits - 1 - e;
    }
    const mpq_class half = scaled(mpq_class(1, 2), -places);
    if (root) {
        const mpq_class lo = *shown - half, hi = *shown + half;
        EXPECT_TRUE((lo <= 0 || lo * lo <= exact) && exact <= hi * hi)
            << what << ": " << text.toStdString() << " vs sqrt(" << exact.get_str() << ")";
    } else {
        EXPECT_TRUE(abs(*shown - exact) <= half)
            << what << ": " << text.toStdString() << " vs " << exact.get_str();
    }
}

std::string randomCell(std::mt19937& gen) {
    std::uniform_int_distribution<int> kind(0, 9), digits(1, 9), places(0, 6), sign(0, 1);
    std::string s = sign(gen) ? "-" : "";
    const int k = kind(gen);
    // Now and then beyond a double's digits (and beyond 64 bits).
    const int count = kind(gen) == 0 ? 22 : digits(gen);
    for (int i = 0; i < count; ++i) s += char('0' + std::uniform_int_distribution<int>(0, 9)(gen));
    const int p = std::min(places(gen), count);
    if (p > 0) s.insert(s.size() - size_t(p), ".");
    if (k == 1) s += "E+" + std::to_string(std::uniform_int_distribution<int>(1, 30)(gen));
    if (k == 2) s += "e-" + std::to_string(std::uniform_int_distribution<int>(1, 30)(gen));
    return s;
}

TEST(RegressionRandom, CoefficientsAndErrorsKeepEveryShownDigitOfTheExactSolution) {
    std::mt19937 gen(20261211);
    int fitted = 0;
    for (int set = 0; set < 3000; ++set) {
        RegressionOptions o;
        o.intercept = gen() % 4 != 0;
        const bool polynomial = gen() % 3 == 0;
        const int xCount = polynomial ? 1 : int(gen() % 4) + 1;
        o.degree = polynomial ? int(gen() % 4) + 2 : 1;
        o.xColumns.clear();
        for (int c = 0; c < xCount; ++c) o.xColumns.append(c + 2);
        o.significant = gen() % 2 == 0;
        o.digits = int(gen() % 28) + 1;
        o.separator = QStringLiteral(",");
        const int p = (polynomial ? o.degree : xCount) + (o.intercept ? 1 : 0);
        const int n = p + int(gen() % 12) + 1;

        // The rows and their exact design.
        QString data;
        std::vector<std::vector<mpq_class>> x;
        std::vector<mpq_class> y;
        for (int i = 0; i < n; ++i) {
            std::vector<std::string> cells;
            for (int c = 0; c <= xCount; ++c) cells.push_back(randomCell(gen));
            std::vector<mpq_class> row;
            if (o.intercept) row.push_back(1);
            for (int c = 1; c <= xCount; ++c) {
                const mpq_class v = *decimalValue(QString::fromStdString(cells[size_t(c)]));
                mpq_class power = v;
                row.push_back(v);
                for (int d = 2; d <= o.degree; ++d) row.push_back(power *= v);
            }
            x.push_back(row);
            y.push_back(*decimalValue(QString::fromStdString(cells[0])));
            for (size_t c = 0; c < cells.size(); ++c)
                data += QString::fromStdString((c ? "," : "") + cells[c]);
            data += QStringLiteral("\r\n");
        }
        std::vector<std::vector<mpq_class>> xtx(size_t(p), std::vector<mpq_class>(size_t(p), 0));
        std::vector<mpq_class> xty(size_t(p), 0);
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < p; ++j) {
                xty[size_t(j)] += x[size_t(i)][size_t(j)] * y[size_t(i)];
                for (int k = 0; k < p; ++k)
                    xtx[size_t(j)][size_t(k)] += x[size_t(i)][size_t(j)] * x[size_t(i)][size_t(k)];
            }
        const auto inv = inverse(xtx);
        const RegressionResult r = runRegression(data, o);
        if (!inv) {
            EXPECT_FALSE(r.ok) << data.toStdString();
            continue;
        }
        ASSERT_TRUE(r.ok) << r.failure.toStdString() << "\n" << data.toStdString();
        ++fitted;
        std::vector<mpq_class> beta(size_t(p), 0);
        for (int j = 0; j < p; ++j)
            for (int k = 0; k < p; ++k)
                beta[size_t(j)] += (*inv)[size_t(j)][size_t(k)] * xty[size_t(k)];
        mpq_class sse = 0;
        for (int i = 0; i < n; ++i) {
            mpq_class e = y[size_t(i)];
            for (int j = 0; j < p; ++j) e -= beta[size_t(j)] * x[size_t(i)][size_t(j)];
            sse += e * e;
        }
        const mpq_class s2 = sse / (n - p);
        const std::string where = "set " + std::to_string(set);
        for (int j = 0; j < p; ++j) {
            expectRounded(r.coefficients[j].estimate, beta[size_t(j)], false, o,
                          where + " b" + std::to_string(j));
            expectRounded(r.coefficients[j].standardError, s2 * (*inv)[size_t(j)][size_t(j)], true,
                          o, where + " se" + std::to_string(j));
        }
        expectRounded(r.residualStandardDeviation, s2, true, o, where + " s");
        if (::testing::Test::HasFailure()) break;
    }
    // Random cells make singular designs rare; nearly every set must have been fitted.
    EXPECT_GT(fitted, 2900);
}

// ---- Reading the data and the messages ----

RegressionOptions columns(int y, QList<int> x) {
    RegressionOptions o;
    o.yColumn = y;
    o.xColumns = std::move(x);
    return o;
}

TEST(Regression, ExactFitBeyondDoublePrecision) {
    // y = 10^25 + 3x: a double fit loses the slope beside the huge intercept.
    const QString data = QStringLiteral(
        "10000000000000000000000003*1\r\n10000000000000000000000006*2\r\n"
        "10000000000000000000000009*3\r\n10000000000000000000000012*4\r\n");
    RegressionOptions o = columns(1, {2});
    o.digits = 28;
    const RegressionResult r = runRegression(data, o);
    ASSERT_TRUE(r.ok) << r.failure.toStdString();
    EXPECT_EQ(r.coefficients[0].estimate, QStringLiteral("10000000000000000000000000"));
    EXPECT_EQ(r.coefficients[1].estimate, QStringLiteral("3"));
    EXPECT_EQ(r.coefficients[1].standardError, QStringLiteral("0"));
    EXPECT_EQ(r.coefficients[1].tValue, QStringLiteral("—"));
    EXPECT_EQ(r.residualStandardDeviation, QStringLiteral("0"));
    EXPECT_EQ(r.rSquared, QStringLiteral("1"));
    EXPECT_EQ(r.anova[0].f, QStringLiteral("—"));
}

TEST(Regression, SmallFitShowsEveryFigureAndTheResiduals) {
    // x 1..4, y 1, 3, 2, 5: b1 = 1.1, b0 = 0, SSE = 2.7, SST = 8.75.
    RegressionOptions o = columns(1, {2});
    o.labelCells = 1;
    o.residuals = true;
    o.significant = false;
    o.digits = 4;
    const RegressionResult r =
        runRegression(QStringLiteral("a*1*1\r\nb*3*2\r\nc*2*3\r\nd*5*4\r\n"), o);
    ASSERT_TRUE(r.ok) << r.failure.toStdString();
    EXPECT_EQ(r.n, 4);
    EXPECT_EQ(r.coefficients[0].estimate, QStringLiteral("0"));
    EXPECT_EQ(r.coefficients[1].estimate, QStringLiteral("1.1"));
    // se(b1) = sqrt(1.35 / 5) = 0.5196..., t = 2.1170...
    EXPECT_EQ(r.coefficients[1].standardError, QStringLiteral("0.5196"));
    EXPECT_EQ(r.coefficients[1].tValue, QStringLiteral("2.117"));
    EXPECT_EQ(r.residualStandardDeviation, QStringLiteral("1.1619"));
    EXPECT_EQ(r.rSquared, QStringLiteral("0.6914"));
    EXPECT_EQ(r.adjustedRSquared, QStringLiteral("0.5371"));
    EXPECT_EQ(r.anova[0].sumOfSquares, QStringLiteral("6.05"));
    EXPECT_EQ(r.anova[0].f, QStringLiteral("4.4815"));
    EXPECT_EQ(r.anova[2].sumOfSquares, QStringLiteral("8.75"));
    EXPECT_EQ(r.anova[2].degreesOfFreedom, 3);
    ASSERT_EQ(r.residuals.size(), 4);
    EXPECT_EQ(r.residuals[2].line, 3);
    EXPECT_EQ(r.residuals[2].fitted, QStringLiteral("3.3"));
    EXPECT_EQ(r.residuals[2].residual, QStringLiteral("-1.3"));
    EXPECT_TRUE(r.text.contains(QStringLiteral("第 2 列     1.1    0.5196  2.117\n")))
        << r.text.toStdString();
    EXPECT_TRUE(r.text.contains(QStringLiteral("拟合值与残差\n")));
}

TEST(Regression, ReadsTheDataTextLikeTheStatisticsWindow) {
    struct Case {
        const char* what;
        QString data;
        QString separator;
        int labels;
        long long n;
        const char* slope;
    };
    const Case cases[] = {
        {"full-width digits and CR-only lines", QStringLiteral("２*１\r4*2\r6*3\r"),
         QStringLiteral("*"), 0, 3, "2"},
        {"tab data with the default separator", QStringLiteral("1\t2\n2\t4\n3\t6\n"),
         QStringLiteral("*"), 0, 3, "0.5"},
        {"runs of spaces", QStringLiteral("  1    2\n 2  4 \n3 6\n"), QStringLiteral(" "), 0, 3,
         "0.5"},
        {"two label cells and blank lines",
         QStringLiteral("p*q*1*3\r\n\r\n r* s *2*5\r\nt*u*3*7\r\n"), QStringLiteral("*"), 2, 3,
         "0.5"},
        {"row with a blank cell left out", QStringLiteral("1*2\n2* \n2*4\n3*6\n"),
         QStringLiteral("*"), 0, 3, "0.5"},
    };
    for (const Case& c : cases) {
        RegressionOptions o = columns(1, {2});
        o.separator = c.separator;
        o.labelCells = c.labels;
        const RegressionResult r = runRegression(c.data, o);
        ASSERT_TRUE(r.ok) << c.what << ": " << r.failure.toStdString();
        EXPECT_EQ(r.n, c.n) << c.what;
        EXPECT_EQ(r.coefficients[1].estimate.toStdString(), c.slope) << c.what;
    }
    RegressionOptions o = columns(1, {2});
    const RegressionResult left = runRegression(QStringLiteral("1*2\n2* \n2*4\n3*6\n"), o);
    ASSERT_EQ(left.notices.size(), 1);
    EXPECT_TRUE(left.notices[0].text.contains(QStringLiteral("第 2 行")))
        << left.notices[0].text.toStdString();
}

TEST(Regression, DataThatCannotBeFittedIsNamed) {
    struct Case {
        const char* what;
        QString data;
        RegressionOptions options;
        QStringList expected;  // parts of the message
    };
    RegressionOptions cubic = columns(1, {2});
    cubic.degree = 3;
    RegressionOptions noConstant = columns(1, {2, 3});
    noConstant.intercept = false;
    const Case cases[] = {
        {"a cell that is no number",
         QStringLiteral("1*2\n2*x4\n3*6\n4*1E99999999\n"),
         columns(1, {2}),
         {QStringLiteral("第 2 行第 2 列“x4”"), QStringLiteral("第 4 行第 2 列")}},
        {"fewer rows than coefficients",
         QStringLiteral("1*2*3\n2*4*1\n"),
         columns(1, {2, 3}),
         {QStringLiteral("只有 2 行"), QStringLiteral("3 个系数")}},
        {"constant x column",
         QStringLiteral("1*7*1\n2*7*2\n4*7*3\n"),
         columns(1, {2, 3}),
         {QStringLiteral("第 2 列的数值全都相同")}},
        {"a column made of two others",
         QStringLiteral("1*1*0*2\n2*0*1*2\n4*1*1*3\n3*2*1*4\n"),
         columns(1, {2, 3, 4}),
         {QStringLiteral("第 4 列与常数项、第 2 列、第 3 列线性相关")}},
        {"two equal columns, no constant",
         QStringLiteral("1*1*1\n2*2*2\n4*3*3\n"),
         noConstant,
         {QStringLiteral("第 3 列与第 2 列线性相关")}},
        {"degree above the distinct x values",
         QStringLiteral("1*1\n2*2\n3*1\n4*2\n5*3\n"),
         cubic,
         {QStringLiteral("只有 3 个不同的数值"), QStringLiteral("3 次多项式")}},
        {"a column beyond every line",
         QStringLiteral("1*2\n2*3\n"),
         columns(1, {5}),
         {QStringLiteral("只有 0 行")}},
        {"y given as x too",
         QStringLiteral("1*2\n"),
         columns(2, {2}),
         {QStringLiteral("不能既是因变量 y 又是自变量 x")}},
    };
    for (const Case& c : cases) {
        const RegressionResult r = runRegression(c.data, c.options);
        EXPECT_FALSE(r.ok) << c.what;
        for (const QString& part : c.expected)
            EXPECT_TRUE(r.failure.contains(part))
                << c.what << ": " << r.failure.toStdString() << " lacks " << part.toStdString();
        EXPECT_EQ(r.text, r.failure + u'\n') << c.what;
    }
}

TEST(Regression, ColumnListsAndOptions) {
    EXPECT_EQ(hc::parseRegressionColumns(QStringLiteral("2,3， 5、7")), (QList<int>{2, 3, 5, 7}));
    EXPECT_EQ(hc::parseRegressionColumns(QStringLiteral("４")), (QList<int>{4}));
    for (const char* bad : {"", "0", "2,a", "1000", "-1", "+2"})
        EXPECT_FALSE(hc::parseRegressionColumns(QString::fromUtf8(bad))) << bad;
    RegressionOptions o = columns(1, {2, 3});
    o.degree = 2;
    EXPECT_FALSE(hc::regressionOptionsProblem(o).isEmpty());
    o = columns(1, {});
    for (int c = 2; c <= 18; ++c) o.xColumns.append(c);
    EXPECT_TRUE(hc::regressionOptionsProblem(o).contains(QStringLiteral("最多 16 列")));
    o.xColumns.removeLast();
    EXPECT_EQ(hc::regressionOptionsProblem(o), QString());
}

}  // namespace

namespace {

TEST(RegressionInput, ReadsTheWindowTextsAndStopsWhenCancelled) {
    hc::RegressionInput in;
    in.data = QStringLiteral("点1*1*1\r\n点2*3*2\r\n点3*2*3\r\n点4*5*4\r\n");
    in.labelCells = QStringLiteral("1");
    in.xColumns = QStringLiteral("２");
    const RegressionResult r = hc::runRegressionInput(in);
    ASSERT_TRUE(r.ok) << r.failure.toStdString();
    EXPECT_EQ(r.coefficients[1].estimate, QStringLiteral("1.1"));

    struct Bad {
        QString y, x, expected;
    };
    for (const Bad& b :
         {Bad{QStringLiteral("1,2"), QStringLiteral("3"), QStringLiteral("“y 列”")},
          Bad{QStringLiteral("a"), QStringLiteral("3"), QStringLiteral("“y 列”")},
          Bad{QStringLiteral("1"), QStringLiteral("2;3"), QStringLiteral("“x 列”")}}) {
        hc::RegressionInput i = in;
        i.yColumn = b.y;
        i.xColumns = b.x;
        const RegressionResult f = hc::runRegressionInput(i);
        EXPECT_FALSE(f.ok);
        EXPECT_TRUE(f.failure.contains(b.expected)) << f.failure.toStdString();
    }

    hc::CancelFlag cancel{true};
    const RegressionResult stopped = hc::runRegressionInput(in, &cancel);
    EXPECT_FALSE(stopped.ok);
    EXPECT_TRUE(stopped.cancelled);
    EXPECT_EQ(stopped.text, hc::regressionCancelledText() + u'\n');
}

}  // namespace
