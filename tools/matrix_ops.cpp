#include "tools/matrix_ops.h"

#include <algorithm>
#include <array>

namespace hc {
namespace {

struct OpName {
    MatrixOp op;
    const char* name;
};
constexpr std::array<OpName, 11> kOpNames{{{MatrixOp::Add, "add"},
                                           {MatrixOp::Sub, "sub"},
                                           {MatrixOp::Mul, "mul"},
                                           {MatrixOp::Scale, "scale"},
                                           {MatrixOp::Transpose, "transpose"},
                                           {MatrixOp::Det, "det"},
                                           {MatrixOp::Inverse, "inverse"},
                                           {MatrixOp::Rank, "rank"},
                                           {MatrixOp::Trace, "trace"},
                                           {MatrixOp::Power, "power"},
                                           {MatrixOp::Rref, "rref"}}};

QString sizeText(const RationalMatrix& m) {
    return QStringLiteral("%1×%2").arg(m.rows).arg(m.cols);
}

MatrixOutcome failure(const QString& why) {
    MatrixOutcome o;
    o.error = why;
    return o;
}

MatrixOutcome matrixResult(RationalMatrix m) {
    MatrixOutcome o;
    o.ok = true;
    o.matrix = std::move(m);
    return o;
}

MatrixOutcome scalarResult(mpq_class v) {
    MatrixOutcome o;
    o.ok = true;
    o.scalar = true;
    o.value = std::move(v);
    return o;
}

QString needsSquare(const RationalMatrix& a, const QString& what) {
    return what + QStringLiteral("要求方阵：A 是 ") + sizeText(a);
}

// The first column of A (1-based) that is a combination of the columns before it.
int dependentColumn(const IntegerElimination& e, int n) {
    for (int c = 0; c < n; ++c)
        if (c >= int(e.pivots.size()) || e.pivots[std::size_t(c)] != c) return c + 1;
    return n;
}

QString singularText(const IntegerElimination& e, int n) {
    return QStringLiteral(
               "矩阵 A 是奇异矩阵（行列式为 0），没有逆矩阵：第 %1 列是它前面各列的线性组合")
        .arg(dependentColumn(e, n));
}

QString titleOf(MatrixOp op, const QString& number) {
    switch (op) {
        case MatrixOp::Add:
            return QStringLiteral("A + B =");
        case MatrixOp::Sub:
            return QStringLiteral("A − B =");
        case MatrixOp::Mul:
            return QStringLiteral("A × B =");
        case MatrixOp::Scale:
            return QStringLiteral("k·A =（k = %1）").arg(number.trimmed());
        case MatrixOp::Transpose:
            return QStringLiteral("A 的转置 =");
        case MatrixOp::Det:
            return QStringLiteral("行列式 det(A) =");
        case MatrixOp::Inverse:
            return QStringLiteral("逆矩阵 A⁻¹ =");
        case MatrixOp::Rank:
            return QStringLiteral("秩 rank(A) =");
        case MatrixOp::Trace:
            return QStringLiteral("迹 tr(A) =");
        case MatrixOp::Power:
            return QStringLiteral("A 的 %1 次幂 =").arg(number.trimmed());
        case MatrixOp::Rref:
            return QStringLiteral("A 的行最简形 =");
    }
    return QString();
}

}  // namespace

std::optional<MatrixOp> matrixOpOfName(const QString& name) {
    for (const OpName& n : kOpNames)
        if (name == QLatin1String(n.name)) return n.op;
    return std::nullopt;
}

QString matrixOpName(MatrixOp op) {
    for (const OpName& n : kOpNames)
        if (n.op == op) return QString::fromLatin1(n.name);
    return QString();
}

bool matrixOpTakesB(MatrixOp op) {
    return op == MatrixOp::Add || op == MatrixOp::Sub || op == MatrixOp::Mul;
}

bool matrixOpTakesNumber(MatrixOp op) { return op == MatrixOp::Scale || op == MatrixOp::Power; }

RationalMatrix multiply(const RationalMatrix& a, const RationalMatrix& b,
                        const CancelFlag* cancel) {
    RationalMatrix p(a.rows, b.cols);
    for (int i = 0; i < a.rows; ++i) {
        throwIfCancelled(cancel);
        for (int j = 0; j < b.cols; ++j) {
            mpq_class s = 0;
            for (int k = 0; k < a.cols; ++k)
                if (a.at(i, k) != 0) s += a.at(i, k) * b.at(k, j);
            p.at(i, j) = s;
        }
    }
    return p;
}

mpq_class determinant(const RationalMatrix& a, const CancelFlag* cancel) {
    std::vector<mpz_class> factors;
    const IntegerElimination e = eliminate(a, a.cols, &factors, cancel);
    if (int(e.pivots.size()) < a.rows) return 0;
    mpz_class denominator = 1;
    for (const mpz_class& f : factors) denominator *= f;
    mpq_class d(e.scale * e.sign, denominator);
    d.canonicalize();
    return d;
}

std::optional<RationalMatrix> inverse(const RationalMatrix& a, const CancelFlag* cancel) {
    const int n = a.rows;
    RationalMatrix aug(n, 2 * n);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) aug.at(i, j) = a.at(i, j);
        aug.at(i, n + i) = 1;
    }
    const IntegerElimination e = eliminate(aug, n, nullptr, cancel);
    if (int(e.pivots.size()) < n) return std::nullopt;
    RationalMatrix inv(n, n);
    for (int i = 0; i < n; ++i) {
        throwIfCancelled(cancel);
        for (int j = 0; j < n; ++j) {
            inv.at(i, j) = mpq_class(e.at(i, n + j), e.scale);
            inv.at(i, j).canonicalize();
        }
    }
    return inv;
}

RationalMatrix reducedRowEchelon(const RationalMatrix& a, const CancelFlag* cancel) {
    const IntegerElimination e = eliminate(a, a.cols, nullptr, cancel);
    RationalMatrix r(a.rows, a.cols);
    for (int i = 0; i < int(e.pivots.size()); ++i) {
        throwIfCancelled(cancel);
        for (int j = 0; j < a.cols; ++j) {
            r.at(i, j) = mpq_class(e.at(i, j), e.scale);
            r.at(i, j).canonicalize();
        }
    }
    return r;
}

MatrixOutcome computeMatrixOp(MatrixOp op, const RationalMatrix& a, const RationalMatrix& b,
                              const mpq_class& k, const CancelFlag* cancel) {
    switch (op) {
        case MatrixOp::Add:
        case MatrixOp::Sub: {
            if (a.rows != b.rows || a.cols != b.cols)
                return failure(
                    QStringLiteral("相加、相减要求两个矩阵行数和列数都相同：A 是 %1，B 是 %2")
                        .arg(sizeText(a), sizeText(b)));
            RationalMatrix s = a;
            for (std::size_t i = 0; i < s.cells.size(); ++i) {
                if (op == MatrixOp::Add)
                    s.cells[i] += b.cells[i];
                else
                    s.cells[i] -= b.cells[i];
            }
            return matrixResult(std::move(s));
        }
        case MatrixOp::Mul:
            if (a.cols != b.rows)
                return failure(QStringLiteral("相乘要求 A 的列数等于 B 的行数：A 是 %1，B 是 %2")
                                   .arg(sizeText(a), sizeText(b)));
            return matrixResult(multiply(a, b, cancel));
        case MatrixOp::Scale: {
            RationalMatrix s = a;
            for (mpq_class& x : s.cells) x *= k;
            return matrixResult(std::move(s));
        }
        case MatrixOp::Transpose: {
            RationalMatrix t(a.cols, a.rows);
            for (int i = 0; i < a.rows; ++i)
                for (int j = 0; j < a.cols; ++j) t.at(j, i) = a.at(i, j);
            return matrixResult(std::move(t));
        }
        case MatrixOp::Det:
            if (!a.square()) return failure(needsSquare(a, QStringLiteral("行列式")));
            return scalarResult(determinant(a, cancel));
        case MatrixOp::Inverse: {
            if (!a.square()) return failure(needsSquare(a, QStringLiteral("求逆")));
            std::optional<RationalMatrix> inv = inverse(a, cancel);
            if (!inv) return failure(singularText(eliminate(a, a.cols, nullptr, cancel), a.cols));
            return matrixResult(std::move(*inv));
        }
        case MatrixOp::Rank:
            return scalarResult(
                mpq_class(int(eliminate(a, a.cols, nullptr, cancel).pivots.size())));
        case MatrixOp::Trace: {
            if (!a.square()) return failure(needsSquare(a, QStringLiteral("求迹")));
            mpq_class t = 0;
            for (int i = 0; i < a.rows; ++i) t += a.at(i, i);
            return scalarResult(t);
        }
        case MatrixOp::Power: {
            if (!a.square()) return failure(needsSquare(a, QStringLiteral("求幂")));
            if (k.get_den() != 1)
                return failure(QStringLiteral("幂次 n 必须是整数：n = %1")
                                   .arg(QString::fromStdString(k.get_str())));
            if (abs(k) > kMaxMatrixPower)
                return failure(QStringLiteral("幂次 n 太大：|n| 最多 %1").arg(kMaxMatrixPower));
            long n = k.get_num().get_si();
            RationalMatrix base = a;
            if (n < 0) {
                std::optional<RationalMatrix> inv = inverse(a, cancel);
                if (!inv)
                    return failure(singularText(eliminate(a, a.cols, nullptr, cancel), a.cols) +
                                   QStringLiteral("，不能求负数次幂"));
                base = std::move(*inv);
                n = -n;
            }
            RationalMatrix result = RationalMatrix::identity(a.rows);
            while (n > 0) {
                if (n & 1) result = multiply(result, base, cancel);
                n >>= 1;
                if (n > 0) base = multiply(base, base, cancel);
            }
            return matrixResult(std::move(result));
        }
        case MatrixOp::Rref:
            return matrixResult(reducedRowEchelon(a, cancel));
    }
    return failure(QString());
}

QString matrixText(const RationalMatrix& m, const ValueStyle& style, bool* rounded) {
    if (rounded) *rounded = false;
    std::vector<QString> texts(m.cells.size());
    std::vector<qsizetype> intWidth(std::size_t(m.cols), 0);
    std::vector<qsizetype> fracWidth(std::size_t(m.cols), 0);
    for (int i = 0; i < m.rows; ++i) {
        for (int j = 0; j < m.cols; ++j) {
            bool r = false;
            QString& t = texts[std::size_t(i) * std::size_t(m.cols) + std::size_t(j)];
            t = valueText(m.at(i, j), style, &r);
            if (r && rounded) *rounded = true;
            const qsizetype point = style.fractions ? -1 : t.indexOf(u'.');
            const qsizetype whole = point < 0 ? t.size() : point;
            intWidth[std::size_t(j)] = std::max(intWidth[std::size_t(j)], whole);
            fracWidth[std::size_t(j)] = std::max(fracWidth[std::size_t(j)], t.size() - whole);
        }
    }
    QString out;
    for (int i = 0; i < m.rows; ++i) {
        QString line;
        for (int j = 0; j < m.cols; ++j) {
            const QString& t = texts[std::size_t(i) * std::size_t(m.cols) + std::size_t(j)];
            const qsizetype point = style.fractions ? -1 : t.indexOf(u'.');
            const qsizetype whole = point < 0 ? t.size() : point;
            if (j > 0) line += QStringLiteral("  ");
            line += QString(intWidth[std::size_t(j)] - whole, u' ') + t;
            if (j + 1 < m.cols)
                line += QString(fracWidth[std::size_t(j)] - (t.size() - whole), u' ');
        }
        out += line + u'\n';
    }
    return out;
}

QString roundedInputsNote() {
    return QStringLiteral(
        "注：输入中有不能精确表示的数（如三角函数、开方、π），按 28 "
        "位小数参与计算，结果以这些舍入值为准。");
}

QString roundedDecimalsNote(int decimals) {
    return QStringLiteral("注：显示的小数已四舍五入到 %1 位，精确值可用分数显示。").arg(decimals);
}

QString cancelledMatrixText() { return QStringLiteral("计算已取消。"); }

MatrixRun runMatrixOperation(MatrixOp op, const QString& a, const QString& b, const QString& number,
                             const QString& separator, const CalcSettings& settings,
                             const ValueStyle& style, const CancelFlag* cancel) {
    MatrixRun run;
    auto fail = [&run](const QString& why) {
        run.failed = true;
        run.output = why;
        return run;
    };
    try {
        const MatrixReading ra = readMatrix(a, separator, settings, QStringLiteral("A"), cancel);
        if (!ra.ok) return fail(ra.error);
        bool exactInputs = ra.exact;
        RationalMatrix mb;
        if (matrixOpTakesB(op)) {
            const MatrixReading rb =
                readMatrix(b, separator, settings, QStringLiteral("B"), cancel);
            if (!rb.ok) return fail(rb.error);
            mb = rb.matrix;
            exactInputs = exactInputs && rb.exact;
        }
        mpq_class k = 0;
        if (matrixOpTakesNumber(op)) {
            const QString name = op == MatrixOp::Scale ? QStringLiteral("k") : QStringLiteral("n");
            const CellValue v = evaluateCell(number, settings, cancel);
            if (!v.ok)
                return fail(QStringLiteral("%1“%2”不是数：%3")
                                .arg(name, number.trimmed().left(40), v.error));
            k = v.value;
            exactInputs = exactInputs && v.exact;
        }
        const MatrixOutcome o = computeMatrixOp(op, ra.matrix, mb, k, cancel);
        if (!o.ok) return fail(o.error);
        bool rounded = false;
        QString out = titleOf(op, number);
        if (o.scalar) {
            out += u' ' + valueText(o.value, style, &rounded) + u'\n';
        } else {
            out += u'\n' + matrixText(o.matrix, style, &rounded);
        }
        if (!exactInputs) out += u'\n' + roundedInputsNote() + u'\n';
        if (rounded)
            out += (exactInputs ? QStringLiteral("\n") : QString()) +
                   roundedDecimalsNote(style.decimals) + u'\n';
        run.output = out;
    } catch (const Cancelled&) {
        run.cancelled = true;
        run.failed = true;
        run.output = cancelledMatrixText();
    }
    return run;
}

}  // namespace hc
