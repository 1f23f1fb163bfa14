#include "tools/linear_system.h"

#include <algorithm>
#include <map>

#include "expr/normalize.h"
#include "tools/matrix_ops.h"

namespace hc {
namespace {

// An unknown: a letter r ... z, optionally numbered ("x12"), standing alone (not part
// of a function name such as "cos").
struct Unknown {
    QChar letter;
    int index = -1;  // -1: no number
    bool operator<(const Unknown& o) const {
        return letter != o.letter ? letter < o.letter : index < o.index;
    }
    QString name() const { return index < 0 ? QString(letter) : letter + QString::number(index); }
};

struct Occurrence {
    qsizetype start = 0;
    qsizetype end = 0;
    Unknown unknown;
};

std::vector<Occurrence> unknownsIn(const QString& term) {
    std::vector<Occurrence> found;
    for (qsizetype i = 0; i < term.size(); ++i) {
        const QChar c = term[i];
        if (!c.isLetter()) continue;
        qsizetype j = i;
        while (j < term.size() && term[j].isLetter()) ++j;
        if (j - i == 1 && c >= u'r' && c <= u'z') {
            Occurrence o;
            o.start = i;
            o.unknown.letter = c;
            qsizetype k = j;
            while (k < term.size() && term[k].isDigit()) ++k;
            if (k > j) {
                bool ok = false;
                o.unknown.index = term.mid(j, k - j).toInt(&ok);
                if (!ok || o.unknown.index > 100000) o.unknown.index = 100000;
            }
            o.end = k;
            found.push_back(o);
            i = k - 1;
        } else {
            i = j - 1;
        }
    }
    return found;
}

// The side of an equation cut into terms at "+" and "-" outside brackets, each term
// keeping its sign; the "-" of an exponent ("1e-5") and a sign after an operator stay.
QStringList termsOf(const QString& side) {
    QStringList terms;
    int depth = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i < side.size(); ++i) {
        const QChar c = side[i];
        if (c == u'(') ++depth;
        if (c == u')') --depth;
        if ((c != u'+' && c != u'-') || depth != 0 || i == start) continue;
        const QChar before = side[i - 1];
        if (QStringLiteral("*/^(+-").contains(before)) continue;
        if ((before == u'e' || before == u'E') && i >= 2 &&
            (side[i - 2].isDigit() || side[i - 2] == u'.'))
            continue;
        terms.append(side.mid(start, i - start));
        start = i;
    }
    terms.append(side.mid(start));
    return terms;
}

QString lineError(int line, const QString& what) {
    return QStringLiteral("第 %1 个方程%2").arg(line).arg(what);
}

SystemReading readEquations(const QStringList& lines, const CalcSettings& settings,
                            const CancelFlag* cancel) {
    SystemReading r;
    struct Row {
        std::map<Unknown, mpq_class> coefficients;
        mpq_class rhs = 0;
    };
    std::vector<Row> rows;
    std::map<Unknown, int> unknowns;
    for (qsizetype li = 0; li < lines.size(); ++li) {
        const int number = int(li) + 1;
        QString line = ZelGuiFanZiFu(lines[li]);
        line.remove(u' ').remove(u'\t');
        const QStringList sides = line.split(u'=');
        if (sides.size() != 2 || sides[0].isEmpty() || sides[1].isEmpty()) {
            r.error = lineError(
                number,
                QStringLiteral("“%1”要有一个等号，两边都不空").arg(lines[li].trimmed().left(60)));
            return r;
        }
        Row row;
        for (int side = 0; side < 2; ++side) {
            for (const QString& term : termsOf(sides[side])) {
                throwIfCancelled(cancel);
                const std::vector<Occurrence> found = unknownsIn(term);
                if (found.size() > 1) {
                    r.error = lineError(
                        number, QStringLiteral("不是线性方程：“%1”含有两个未知数").arg(term));
                    return r;
                }
                QString coefficient = term;
                if (found.size() == 1) {
                    const Occurrence& o = found.front();
                    // The unknown becomes a bracketed 1 multiplied into its neighbours.
                    QString one = QStringLiteral("(1)");
                    if (o.start > 0 && !QStringLiteral("+-*/(^").contains(term[o.start - 1]))
                        one.prepend(u'*');
                    if (o.end < term.size() && !QStringLiteral("+-*/)^!%").contains(term[o.end]))
                        one.append(u'*');
                    coefficient = term.left(o.start) + one + term.mid(o.end);
                }
                const CellValue v = evaluateCell(coefficient, settings, cancel);
                if (!v.ok) {
                    r.error =
                        lineError(number, QStringLiteral("的“%1”不是数：%2").arg(term, v.error));
                    return r;
                }
                if (!v.exact) r.system.exact = false;
                const mpq_class signedValue = side == 0 ? mpq_class(v.value) : mpq_class(-v.value);
                if (found.empty()) {
                    row.rhs -= signedValue;
                } else {
                    row.coefficients[found.front().unknown] += signedValue;
                    unknowns.emplace(found.front().unknown, 0);
                }
            }
        }
        rows.push_back(std::move(row));
    }
    if (unknowns.empty()) {
        r.error = QStringLiteral("方程中没有未知数：未知数写作 x1、x2 … 或 r … z");
        return r;
    }
    if (int(unknowns.size()) > kMaxMatrixOrder) {
        r.error = QStringLiteral("未知数太多：最多 %1 个").arg(kMaxMatrixOrder);
        return r;
    }
    int column = 0;
    for (auto& [u, c] : unknowns) {
        c = column++;
        r.system.names.append(u.name());
    }
    r.system.a = RationalMatrix(int(rows.size()), column);
    r.system.b.resize(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        for (const auto& [u, v] : rows[i].coefficients) r.system.a.at(int(i), unknowns[u]) = v;
        r.system.b[i] = rows[i].rhs;
    }
    r.ok = true;
    return r;
}

// A linear form "c + p1*t1 + ..." in `style`.
QString formText(const mpq_class& constant, const std::vector<mpq_class>& parameters,
                 const ValueStyle& style, bool& rounded) {
    QString out;
    bool r = false;
    if (constant != 0) {
        out = valueText(constant, style, &r);
        rounded = rounded || r;
    }
    for (std::size_t k = 0; k < parameters.size(); ++k) {
        const mpq_class& p = parameters[k];
        if (p == 0) continue;
        const QString t = QStringLiteral("t%1").arg(k + 1);
        QString magnitude;
        if (abs(p) != 1) {
            magnitude = valueText(abs(p), style, &r) + u'*';
            rounded = rounded || r;
        }
        if (out.isEmpty())
            out = (p < 0 ? QStringLiteral("-") : QString()) + magnitude + t;
        else
            out += (p < 0 ? QStringLiteral(" - ") : QStringLiteral(" + ")) + magnitude + t;
    }
    return out.isEmpty() ? QStringLiteral("0") : out;
}

}  // namespace

SystemReading readLinearSystem(const QString& text, const QString& separator,
                               const CalcSettings& settings, const CancelFlag* cancel) {
    SystemReading r;
    QStringList lines;
    bool equations = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != u'\n' && text[i] != u'\r') continue;
        const QString line = text.mid(start, i - start);
        start = i + 1;
        if (line.trimmed().isEmpty()) continue;
        if (lines.size() == kMaxMatrixOrder) {
            r.error = QStringLiteral("方程太多：最多 %1 个").arg(kMaxMatrixOrder);
            return r;
        }
        if (line.contains(u'=') || line.contains(u'\uFF1D')) equations = true;
        lines.append(line);
    }
    if (lines.isEmpty()) {
        r.error = QStringLiteral("没有方程：每行输入一个方程，或增广矩阵的一行");
        return r;
    }
    if (equations) return readEquations(lines, settings, cancel);
    const MatrixReading m = readMatrix(lines.join(u'\n'), separator, settings, QString(), cancel);
    if (!m.ok) {
        r.error = QStringLiteral("增广矩阵") + m.error;
        return r;
    }
    if (m.matrix.cols < 2) {
        r.error = QStringLiteral("增广矩阵每行至少要有两个数：未知数的系数和右边的常数");
        return r;
    }
    const int n = m.matrix.cols - 1;
    r.system.a = RationalMatrix(m.matrix.rows, n);
    r.system.b.resize(std::size_t(m.matrix.rows));
    for (int i = 0; i < m.matrix.rows; ++i) {
        for (int j = 0; j < n; ++j) r.system.a.at(i, j) = m.matrix.at(i, j);
        r.system.b[std::size_t(i)] = m.matrix.at(i, n);
    }
    for (int j = 0; j < n; ++j) r.system.names.append(QStringLiteral("x%1").arg(j + 1));
    r.system.exact = m.exact;
    r.ok = true;
    return r;
}

Solution solveLinearSystem(const RationalMatrix& a, const std::vector<mpq_class>& b,
                           const CancelFlag* cancel) {
    const int m = a.rows;
    const int n = a.cols;
    RationalMatrix aug(m, n + 1);
    for (int i = 0; i < m; ++i) {
        for (int j = 0; j < n; ++j) aug.at(i, j) = a.at(i, j);
        aug.at(i, n) = b[std::size_t(i)];
    }
    IntegerElimination e = eliminate(aug, n, nullptr, cancel);
    const int rank = int(e.pivots.size());
    Solution s;
    bool consistent = true;
    for (int i = rank; i < m; ++i)
        if (e.at(i, n) != 0) consistent = false;
    if (!consistent) {
        s.kind = SolutionKind::None;
        // Once more with the identity beside it, which records how each row was made.
        RationalMatrix track(m, n + 1 + m);
        for (int i = 0; i < m; ++i) {
            for (int j = 0; j <= n; ++j) track.at(i, j) = aug.at(i, j);
            track.at(i, n + 1 + i) = 1;
        }
        // Scaling a row scales its identity part too: that part holds the multiples of
        // the equations as typed.
        e = eliminate(track, n, nullptr, cancel);
        int row = rank;
        while (row + 1 < m && e.at(row, n) == 0) ++row;
        mpz_class g = 0;
        s.combination.resize(std::size_t(m));
        for (int j = 0; j < m; ++j) {
            s.combination[std::size_t(j)] = e.at(row, n + 1 + j);
            mpz_gcd(g.get_mpz_t(), g.get_mpz_t(), s.combination[std::size_t(j)].get_mpz_t());
        }
        const auto first = std::find_if(s.combination.begin(), s.combination.end(),
                                        [](const mpz_class& c) { return c != 0; });
        if (first != s.combination.end() && *first < 0) g = -g;
        s.contradiction = 0;
        for (int j = 0; j < m; ++j) {
            s.combination[std::size_t(j)] /= g;
            s.contradiction += s.combination[std::size_t(j)] * b[std::size_t(j)];
        }
        return s;
    }
    std::vector<bool> isPivot(std::size_t(n), false);
    for (int c : e.pivots) isPivot[std::size_t(c)] = true;
    for (int c = 0; c < n; ++c)
        if (!isPivot[std::size_t(c)]) s.freeColumns.push_back(c);
    s.kind = s.freeColumns.empty() ? SolutionKind::Unique : SolutionKind::Infinite;
    const std::size_t freeCount = s.freeColumns.size();
    s.constant.assign(std::size_t(n), 0);
    s.parameter.assign(std::size_t(n), std::vector<mpq_class>(freeCount, 0));
    for (std::size_t k = 0; k < freeCount; ++k) s.parameter[std::size_t(s.freeColumns[k])][k] = 1;
    for (int i = 0; i < rank; ++i) {
        throwIfCancelled(cancel);
        const std::size_t p = std::size_t(e.pivots[std::size_t(i)]);
        s.constant[p] = mpq_class(e.at(i, n), e.scale);
        s.constant[p].canonicalize();
        for (std::size_t k = 0; k < freeCount; ++k) {
            s.parameter[p][k] = mpq_class(-e.at(i, s.freeColumns[k]), e.scale);
            s.parameter[p][k].canonicalize();
        }
    }
    return s;
}

SolveRun runSolve(const QString& text, const QString& separator, const CalcSettings& settings,
                  const ValueStyle& style, const CancelFlag* cancel) {
    SolveRun run;
    try {
        const SystemReading r = readLinearSystem(text, separator, settings, cancel);
        if (!r.ok) {
            run.failed = true;
            run.output = r.error;
            return run;
        }
        const LinearSystem& sys = r.system;
        const Solution s = solveLinearSystem(sys.a, sys.b, cancel);
        bool rounded = false;
        QString out;
        if (s.kind == SolutionKind::None) {
            out = QStringLiteral("无解：方程组互相矛盾。\n");
            QString sum;
            for (std::size_t j = 0; j < s.combination.size(); ++j) {
                const mpz_class& c = s.combination[j];
                if (c == 0) continue;
                const QString term = QStringLiteral("%1×(方程 %2)")
                                         .arg(QString::fromStdString(mpz_class(abs(c)).get_str()))
                                         .arg(j + 1);
                if (sum.isEmpty())
                    sum = (c < 0 ? QStringLiteral("-") : QString()) + term;
                else
                    sum += (c < 0 ? QStringLiteral(" - ") : QStringLiteral(" + ")) + term;
            }
            bool r2 = false;
            out +=
                sum + QStringLiteral(" 得 0 = ") + valueText(s.contradiction, style, &r2) + u'\n';
            rounded = r2;
        } else {
            if (s.kind == SolutionKind::Unique) {
                out = QStringLiteral("唯一解：\n");
            } else {
                QStringList ts;
                for (std::size_t k = 0; k < s.freeColumns.size(); ++k)
                    ts.append(QStringLiteral("t%1").arg(k + 1));
                out = QStringLiteral("有无穷多解，通解为（%1 为任意数）：\n")
                          .arg(ts.join(QStringLiteral("、")));
            }
            for (int i = 0; i < sys.a.cols; ++i)
                out += sys.names[i] + QStringLiteral(" = ") +
                       formText(s.constant[std::size_t(i)], s.parameter[std::size_t(i)], style,
                                rounded) +
                       u'\n';
        }
        if (!sys.exact) out += u'\n' + roundedInputsNote() + u'\n';
        if (rounded)
            out += (sys.exact ? QStringLiteral("\n") : QString()) +
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
