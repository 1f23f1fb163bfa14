#include "tools/matrix_ops.h"

#include <gtest/gtest.h>

#include "engine/exact_decimal.h"
#include "expr/calculate.h"
#include "tests/survey/print_qstring.h"

namespace hc {
namespace {

mpz_class binomial(unsigned long n, unsigned long k) {
    mpz_class r;
    mpz_bin_uiui(r.get_mpz_t(), n, k);
    return r;
}

RationalMatrix hilbert(int n) {
    RationalMatrix h(n, n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) h.at(i, j) = mpq_class(1, i + j + 1);
    return h;
}

QString hilbertText(int n) {
    QString t;
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) t += QStringLiteral("1/%1 ").arg(i + j - 1);
        t += u'\n';
    }
    return t;
}

// The closed form of the Hilbert inverse (1-based i, j).
RationalMatrix hilbertInverse(int n) {
    RationalMatrix h(n, n);
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) {
            const auto ui = static_cast<unsigned long>(i);
            const auto uj = static_cast<unsigned long>(j);
            const auto un = static_cast<unsigned long>(n);
            const mpz_class c = binomial(ui + uj - 2, ui - 1);
            mpz_class v = mpz_class(i + j - 1) * binomial(un + ui - 1, un - uj) *
                          binomial(un + uj - 1, un - ui) * c * c;
            if ((i + j) % 2) v = -v;
            h.at(i - 1, j - 1) = v;
        }
    }
    return h;
}

// det H(n) = c(n)^4 / c(2n), c(n) = 1! 2! ... (n-1)!
mpq_class hilbertDeterminant(int n) {
    auto c = [](int k) {
        mpz_class p = 1;
        for (int i = 1; i < k; ++i) {
            mpz_class f;
            mpz_fac_ui(f.get_mpz_t(), static_cast<unsigned long>(i));
            p *= f;
        }
        return p;
    };
    const mpz_class cn = c(n);
    mpq_class d(cn * cn * cn * cn, c(2 * n));
    d.canonicalize();
    return d;
}

TEST(MatrixOps, HilbertInverseAndDeterminantAreExact) {
    for (int n = 2; n <= 15; ++n) {
        SCOPED_TRACE(n);
        const RationalMatrix h = hilbert(n);
        const std::optional<RationalMatrix> inv = inverse(h);
        ASSERT_TRUE(inv);
        EXPECT_TRUE(*inv == hilbertInverse(n));
        EXPECT_TRUE(multiply(h, *inv) == RationalMatrix::identity(n));
        EXPECT_EQ(determinant(h), hilbertDeterminant(n));
    }
}

TEST(MatrixOps, HilbertTypedAsFractionsGivesTheExactInverseText) {
    for (int n : {2, 12}) {
        const MatrixRun run = runMatrixOperation(MatrixOp::Inverse, hilbertText(n), {}, {}, {},
                                                 CalcSettings{}, ValueStyle{15, true});
        ASSERT_FALSE(run.failed) << run.output.toStdString();
        const QString expected =
            QStringLiteral("逆矩阵 A⁻¹ =\n") + matrixText(hilbertInverse(n), ValueStyle{15, true});
        EXPECT_EQ(run.output, expected);
    }
    const MatrixRun det = runMatrixOperation(MatrixOp::Det, hilbertText(3), {}, {}, {},
                                             CalcSettings{}, ValueStyle{15, true});
    EXPECT_EQ(det.output, QStringLiteral("行列式 det(A) = 1/2160\n"));
}

TEST(MatrixOps, SmallOperations) {
    const QString a = QStringLiteral("1, 2\n3, 4\n");
    const QString b = QStringLiteral("0 1\n1 0\n");
    const ValueStyle fr{15, true};
    const struct {
        MatrixOp op;
        QString number;
        const char* expected;
    } cases[] = {
        {MatrixOp::Add, {}, "A + B =\n1  3\n4  4\n"},
        {MatrixOp::Sub, {}, "A − B =\n1  1\n2  4\n"},
        {MatrixOp::Mul, {}, "A × B =\n2  1\n4  3\n"},
        {MatrixOp::Scale, QStringLiteral("1/2"), "k·A =（k = 1/2）\n1/2  1\n3/2  2\n"},
        {MatrixOp::Transpose, {}, "A 的转置 =\n1  3\n2  4\n"},
        {MatrixOp::Det, {}, "行列式 det(A) = -2\n"},
        {MatrixOp::Rank, {}, "秩 rank(A) = 2\n"},
        {MatrixOp::Trace, {}, "迹 tr(A) = 5\n"},
        {MatrixOp::Inverse, {}, "逆矩阵 A⁻¹ =\n -2     1\n3/2  -1/2\n"},
        {MatrixOp::Power, QStringLiteral("3"), "A 的 3 次幂 =\n37   54\n81  118\n"},
        {MatrixOp::Power, QStringLiteral("-2"), "A 的 -2 次幂 =\n 11/2  -5/2\n-15/4   7/4\n"},
        {MatrixOp::Power, QStringLiteral("0"), "A 的 0 次幂 =\n1  0\n0  1\n"},
        {MatrixOp::Rref, {}, "A 的行最简形 =\n1  0\n0  1\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(matrixOpName(c.op).toStdString());
        const MatrixRun run = runMatrixOperation(c.op, a, b, c.number, {}, CalcSettings{}, fr);
        EXPECT_FALSE(run.failed);
        EXPECT_EQ(run.output, QString::fromUtf8(c.expected));
    }
}

TEST(MatrixOps, RrefOfARankDeficientMatrix) {
    const MatrixRun run =
        runMatrixOperation(MatrixOp::Rref, QStringLiteral("0 2 4 2\n0 1 2 3\n0 3 6 5\n"), {}, {},
                           {}, CalcSettings{}, ValueStyle{15, true});
    EXPECT_EQ(run.output, QStringLiteral("A 的行最简形 =\n0  1  2  0\n0  0  0  1\n0  0  0  0\n"));
    const MatrixRun rank =
        runMatrixOperation(MatrixOp::Rank, QStringLiteral("0 2 4 2\n0 1 2 3\n0 3 6 5\n"), {}, {},
                           {}, CalcSettings{}, ValueStyle{});
    EXPECT_EQ(rank.output, QStringLiteral("秩 rank(A) = 2\n"));
}

TEST(MatrixOps, DecimalsAreAlignedOnTheirPointsRoundedAndSaySo) {
    const MatrixRun run = runMatrixOperation(MatrixOp::Inverse, QStringLiteral("3 0\n0 -8"), {}, {},
                                             {}, CalcSettings{}, ValueStyle{4, false});
    EXPECT_EQ(run.output, QStringLiteral("逆矩阵 A⁻¹ =\n0.3333   0\n0       -0.125\n\n") +
                              roundedDecimalsNote(4) + u'\n');
    const MatrixRun exact = runMatrixOperation(MatrixOp::Inverse, QStringLiteral("2 0\n0 -8"), {},
                                               {}, {}, CalcSettings{}, ValueStyle{4, false});
    EXPECT_EQ(exact.output, QStringLiteral("逆矩阵 A⁻¹ =\n0.5   0\n0    -0.125\n"));
}

TEST(MatrixOps, ValueTextRoundsHalfAwayFromZero) {
    const struct {
        mpq_class x;
        int decimals;
        const char* text;
        bool rounded;
    } cases[] = {
        {mpq_class(1, 3), 3, "0.333", true},       {mpq_class(2, 3), 3, "0.667", true},
        {mpq_class(-1, 8), 2, "-0.13", true},      {mpq_class(-1, 1000), 2, "0", true},
        {mpq_class(5, 2), 0, "3", true},           {mpq_class(-5, 2), 0, "-3", true},
        {mpq_class(1, 4), 28, "0.25", false},      {mpq_class(123), 5, "123", false},
        {mpq_class(1, 10000), 4, "0.0001", false},
    };
    for (const auto& c : cases) {
        bool rounded = false;
        EXPECT_EQ(valueText(c.x, ValueStyle{c.decimals, false}, &rounded),
                  QString::fromUtf8(c.text))
            << c.x.get_str();
        EXPECT_EQ(rounded, c.rounded) << c.x.get_str();
    }
    EXPECT_EQ(valueText(mpq_class(-7, 12), ValueStyle{15, true}), QStringLiteral("-7/12"));
}

TEST(MatrixOps, CellsAreFormulasExactWhereArithmeticIsExact) {
    CalcSettings degrees;
    degrees.angleUnit = kDecimalDegrees;
    const struct {
        const char* cell;
        mpq_class value;
        bool exact;
    } cases[] = {
        {"1/3", mpq_class(1, 3), true},
        {"（1＋2）×3", mpq_class(9), true},
        {"2^-2", mpq_class(1, 4), true},
        {"2^10/1024", mpq_class(1), true},
        {"x", mpq_class(7), true},  // memory variable x holds 7
        {"3!", mpq_class(6), true},
        {"50%", mpq_class(1, 2), true},
        {"1.5e-3", mpq_class(3, 2000), true},
        {"sin(30)", mpq_class(1, 2), false},
    };
    for (const auto& c : cases) {
        const CellValue v = evaluateCell(QString::fromUtf8(c.cell), degrees);
        ASSERT_TRUE(v.ok) << c.cell << ": " << v.error.toStdString();
        EXPECT_EQ(v.value, c.value) << c.cell << " gave " << v.value.get_str();
        EXPECT_EQ(v.exact, c.exact) << c.cell;
    }
    // An irrational value enters as its 28-place decimal and is flagged.
    const CellValue pi = evaluateCell(QStringLiteral("π"), CalcSettings{});
    ASSERT_TRUE(pi.ok);
    EXPECT_FALSE(pi.exact);
    EXPECT_EQ(valueText(pi.value, ValueStyle{28, false}),
              QStringLiteral("3.1415926535897932384626433833"));
    for (const char* bad : {"1/0", "(1+2", "abc", ""}) {
        const CellValue v = evaluateCell(QString::fromUtf8(bad), CalcSettings{});
        EXPECT_FALSE(v.ok) << bad;
        EXPECT_FALSE(v.error.isEmpty()) << bad;
    }
}

TEST(MatrixOps, ExactCellsAgreeWithTheCalculatorsOwnOrderOfOperations) {
    // Whatever the calculator makes of signs and chained powers, the exact value is
    // the same number, never a differently bracketed one.
    for (const char* cell : {"-2^2", "2^3^2", "-3!", "10-2-3", "8/2/2", "2*-3", "1/3*3"}) {
        const CellValue v = evaluateCell(QString::fromUtf8(cell), CalcSettings{});
        ASSERT_TRUE(v.ok) << cell;
        CalcSettings s;
        s.displayDecimals = 28;
        const CalcResult r = ZelJiSuanSuanShi(QString::fromUtf8(cell), s);
        mpq_class calculated;
        ASSERT_TRUE(exactDecimalValue(r.value, calculated)) << cell;
        EXPECT_LE(abs(v.value - calculated), mpq_class(1, 1000000))
            << cell << " " << v.value.get_str();
    }
}

TEST(MatrixOps, DeeplyNestedCellsNeitherCrashNorLoseTheirValue) {
    for (const QString& cell : {QString(100000, u'(') + u'1' + QString(100000, u')'),
                                QStringLiteral("-").repeated(100000) + u'1',
                                QStringLiteral("1^").repeated(100000) + u'1'}) {
        const CellValue v = evaluateCell(cell, CalcSettings{});
        if (v.ok)
            EXPECT_EQ(abs(v.value), 1) << cell.left(10).toStdString();
        else
            EXPECT_FALSE(v.error.isEmpty());
    }
}

TEST(MatrixOps, BadInputNamesRowAndColumn) {
    const struct {
        MatrixOp op;
        const char* a;
        const char* b;
        const char* number;
        const char* expected;
    } cases[] = {
        {MatrixOp::Det, "1 2\n3\n", "", "",
         "矩阵 A 第 2 行有 1 个数，第 1 行有 2 个：每行的数要一样多"},
        {MatrixOp::Det, "1 2\n3 (4\n", "", "", "矩阵 A 第 2 行第 2 列“(4”不是数"},
        {MatrixOp::Add, "1 2\n3 4\n", "1 2 3\n", "",
         "相加、相减要求两个矩阵行数和列数都相同：A 是 2×2，B 是 1×3"},
        {MatrixOp::Mul, "1 2\n3 4\n", "1 2\n", "",
         "相乘要求 A 的列数等于 B 的行数：A 是 2×2，B 是 1×2"},
        {MatrixOp::Det, "1 2 3\n", "", "", "行列式要求方阵：A 是 1×3"},
        {MatrixOp::Inverse, "1 2 3\n2 4 6\n1 0 1\n", "", "",
         "矩阵 A 是奇异矩阵（行列式为 0），没有逆矩阵：第 3 列是它前面各列的线性组合"},
        {MatrixOp::Inverse, "1 2\n2 4\n", "", "",
         "矩阵 A 是奇异矩阵（行列式为 0），没有逆矩阵：第 2 列是它前面各列的线性组合"},
        {MatrixOp::Power, "1 1\n1 1\n", "", "-1", "不能求负数次幂"},
        {MatrixOp::Power, "1 1\n1 1\n", "", "1/2", "幂次 n 必须是整数"},
        {MatrixOp::Power, "1 1\n1 1\n", "", "100001", "幂次 n 太大"},
        {MatrixOp::Scale, "1 1\n", "", "", "k“”不是数"},
        {MatrixOp::Trace, "\n \n", "", "", "矩阵 A 是空的"},
        {MatrixOp::Add, "1\n", "x y\n1 z w\n", "", "矩阵 B 第 2 行有 3 个数"},
    };
    for (const auto& c : cases) {
        const MatrixRun run =
            runMatrixOperation(c.op, QString::fromUtf8(c.a), QString::fromUtf8(c.b),
                               QString::fromUtf8(c.number), {}, CalcSettings{}, ValueStyle{});
        EXPECT_TRUE(run.failed) << c.a;
        EXPECT_TRUE(run.output.contains(QString::fromUtf8(c.expected)))
            << c.a << " gave " << run.output.toStdString();
    }
}

TEST(MatrixOps, HugePastesAreRefusedBeforeAnyCellIsEvaluated) {
    QString tall;
    for (int i = 0; i < 100000; ++i) tall += QStringLiteral("sin(1)\n");
    const MatrixRun run =
        runMatrixOperation(MatrixOp::Det, tall, {}, {}, {}, CalcSettings{}, ValueStyle{});
    EXPECT_TRUE(run.failed);
    EXPECT_TRUE(run.output.contains(QStringLiteral("太大"))) << run.output.toStdString();
    const QString wide = QStringLiteral("sin(1) ").repeated(100000);
    EXPECT_TRUE(runMatrixOperation(MatrixOp::Det, wide, {}, {}, {}, CalcSettings{}, ValueStyle{})
                    .output.contains(QStringLiteral("太大")));
}

TEST(MatrixOps, RoundedInputsAreNoted) {
    CalcSettings degrees;
    degrees.angleUnit = kDecimalDegrees;
    const MatrixRun run = runMatrixOperation(MatrixOp::Det, QStringLiteral("sin(30) 1\n1 4"), {},
                                             {}, {}, degrees, ValueStyle{10, false});
    EXPECT_TRUE(run.output.startsWith(QStringLiteral("行列式 det(A) = 1\n")));
    EXPECT_TRUE(run.output.contains(roundedInputsNote()));
}

TEST(MatrixOps, SeparatorsOfTheCells) {
    const struct {
        const char* line;
        const char* separator;
        QStringList cells;
    } cases[] = {
        {"1, 2 + 3, 4", "", {"1", "2 + 3", "4"}},
        {"1\t2 * 3", "", {"1", "2 * 3"}},
        {"1；2；3", "", {"1", "2", "3"}},
        {"1   2\u30003", "", {"1", "2", "3"}},
        {"1|2|", "|", {"1", "2"}},
        {"1 2,3", " ", {"1", "2,3"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(splitMatrixLine(QString::fromUtf8(c.line), QString::fromUtf8(c.separator)),
                  c.cells)
            << c.line;
}

TEST(MatrixOps, CancelStops) {
    CancelFlag cancel{true};
    const MatrixRun run = runMatrixOperation(MatrixOp::Det, QStringLiteral("1 2\n3 4"), {}, {}, {},
                                             CalcSettings{}, ValueStyle{}, &cancel);
    EXPECT_TRUE(run.cancelled);
    EXPECT_EQ(run.output, cancelledMatrixText());
}

}  // namespace
}  // namespace hc
