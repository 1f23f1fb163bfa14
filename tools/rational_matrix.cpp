#include "tools/rational_matrix.h"

#include <algorithm>
#include <string>

#include "engine/exact_decimal.h"
#include "expr/calculate.h"
#include "expr/normalize.h"

namespace hc {
namespace {

mpz_class pow10(unsigned long n) {
    mpz_class r;
    mpz_ui_pow_ui(r.get_mpz_t(), 10, n);
    return r;
}

// Exact arithmetic over a normalised formula: numbers, + - * / ^ (whole exponents),
// "!" of small whole numbers, "%", brackets and the memory variables. Any other
// character, a division by zero or a too large power makes it give up; the
// calculator's own value is then taken.
class ExactFormula {
public:
    ExactFormula(const QString& text, const CalcSettings& settings)
        : s_(text), settings_(settings) {}

    bool evaluate(mpq_class& out) {
        if (!expression(out)) return false;
        return pos_ == s_.size();
    }

private:
    QChar peek() const { return pos_ < s_.size() ? s_[pos_] : QChar(); }

    bool expression(mpq_class& out) {
        if (!term(out)) return false;
        while (peek() == u'+' || peek() == u'-') {
            const bool minus = s_[pos_++] == u'-';
            mpq_class t;
            if (!term(t)) return false;
            if (minus)
                out -= t;
            else
                out += t;
        }
        return true;
    }

    bool term(mpq_class& out) {
        if (!unary(out)) return false;
        while (peek() == u'*' || peek() == u'/') {
            const bool divide = s_[pos_++] == u'/';
            mpq_class f;
            if (!unary(f)) return false;
            if (divide) {
                if (f == 0) return false;
                out /= f;
            } else {
                out *= f;
            }
        }
        return true;
    }

    bool unary(mpq_class& out) {
        if (peek() == u'-' || peek() == u'+') {
            if (++signs_ > kMaxDepth) return false;
            const bool minus = s_[pos_++] == u'-';
            if (!unary(out)) return false;
            if (minus) out = -out;
            return true;
        }
        return power(out);
    }

    bool power(mpq_class& out) {
        if (!postfix(out)) return false;
        if (peek() != u'^') return true;
        if (++signs_ > kMaxDepth) return false;
        ++pos_;
        mpq_class e;
        if (!unary(e)) return false;
        if (e.get_den() != 1 || abs(e) > 100000) return false;
        const long n = e.get_num().get_si();
        const auto bits =
            mpz_sizeinbase(out.get_num_mpz_t(), 2) + mpz_sizeinbase(out.get_den_mpz_t(), 2);
        if (double(bits) * double(n < 0 ? -n : n) > 4e6) return false;
        if (out == 0 && n < 0) return false;
        mpz_class num;
        mpz_class den;
        const unsigned long k = static_cast<unsigned long>(n < 0 ? -n : n);
        mpz_pow_ui(num.get_mpz_t(), out.get_num_mpz_t(), k);
        mpz_pow_ui(den.get_mpz_t(), out.get_den_mpz_t(), k);
        out = n < 0 ? mpq_class(den, num) : mpq_class(num, den);
        out.canonicalize();
        return true;
    }

    bool postfix(mpq_class& out) {
        if (!primary(out)) return false;
        for (;;) {
            if (peek() == u'!') {
                ++pos_;
                if (out.get_den() != 1 || out < 0 || out > 1000) return false;
                mpz_class f;
                mpz_fac_ui(f.get_mpz_t(), out.get_num().get_ui());
                out = f;
            } else if (peek() == u'%') {
                ++pos_;
                out /= 100;
            } else {
                return true;
            }
        }
    }

    bool primary(mpq_class& out) {
        const QChar c = peek();
        if (c == u'(') {
            // Deeper brackets than any typed formula needs are left to the calculator,
            // whose evaluation does not recurse.
            if (++depth_ > kMaxDepth) return false;
            ++pos_;
            if (!expression(out) || peek() != u')') return false;
            ++pos_;
            --depth_;
            return true;
        }
        if (c >= u'r' && c <= u'z') {
            ++pos_;
            if (pos_ < s_.size() && s_[pos_].isLetter()) return false;
            const Num& v = settings_.memory[std::size_t(c.unicode() - u'r')];
            return exactDecimalValue(v.text(), out);
        }
        const qsizetype start = pos_;
        while (pos_ < s_.size() && (s_[pos_].isDigit() || s_[pos_] == u'.')) ++pos_;
        if (pos_ == start) return false;
        if (pos_ < s_.size() && (s_[pos_] == u'e' || s_[pos_] == u'E')) {
            qsizetype p = pos_ + 1;
            if (p < s_.size() && (s_[p] == u'+' || s_[p] == u'-')) ++p;
            const qsizetype digits = p;
            while (p < s_.size() && s_[p].isDigit()) ++p;
            if (p > digits) pos_ = p;
        }
        return exactDecimalValue(QStringView(s_).mid(start, pos_ - start), out);
    }

    static constexpr int kMaxDepth = 200;
    QString s_;
    const CalcSettings& settings_;
    qsizetype pos_ = 0;
    int depth_ = 0;
    int signs_ = 0;  // signs and powers, which recurse too
};

// The calculator's value and the exact one agree but for the calculator's rounding.
bool closeTo(const mpq_class& exact, const mpq_class& rounded) {
    const mpq_class diff = abs(exact - rounded);
    return diff <= abs(exact) * mpq_class(1, pow10(12)) + mpq_class(1, pow10(20));
}

QString prefixed(const QString& name, const QString& message) {
    return name.isEmpty() ? message : QStringLiteral("矩阵 ") + name + u' ' + message;
}

}  // namespace

RationalMatrix RationalMatrix::identity(int n) {
    RationalMatrix m(n, n);
    for (int i = 0; i < n; ++i) m.at(i, i) = 1;
    return m;
}

bool operator==(const RationalMatrix& a, const RationalMatrix& b) {
    return a.rows == b.rows && a.cols == b.cols && a.cells == b.cells;
}

CellValue evaluateCell(const QString& cell, const CalcSettings& settings,
                       const CancelFlag* cancel) {
    CellValue v;
    const QString trimmed = cell.trimmed();
    if (trimmed.isEmpty()) {
        v.error = QStringLiteral("是空的");
        return v;
    }
    if (exactDecimalValue(trimmed, v.value)) {
        v.ok = true;
        return v;
    }
    CalcSettings s = settings;
    s.displayDecimals = 28;
    const CalcResult r = ZelJiSuanSuanShi(trimmed, s, cancel);
    if (r.cancelled) throw Cancelled{};
    mpq_class calculated;
    if (r.failed || !exactDecimalValue(r.value.trimmed(), calculated)) {
        v.error = r.result.trimmed();
        if (v.error.isEmpty()) v.error = QStringLiteral("不是可以计算的算式");
        return v;
    }
    v.ok = true;
    mpq_class exact;
    ExactFormula f(ZelGuiFanSuanShi(trimmed).remove(u' '), settings);
    if (f.evaluate(exact) && closeTo(exact, calculated)) {
        v.value = exact;
    } else {
        v.value = calculated;
        v.exact = false;
    }
    return v;
}

QStringList splitMatrixLine(const QString& line, const QString& separator) {
    QString t = line;
    t.replace(u'\u3000', u' ').replace(u'\uFF0C', u',').replace(u'\uFF1B', u';');
    QString sep = separator;
    if (sep.compare(QLatin1String("tab"), Qt::CaseInsensitive) == 0) sep = QStringLiteral("\t");
    if (sep.isEmpty()) {
        if (t.contains(u'\t'))
            sep = QStringLiteral("\t");
        else if (t.contains(u','))
            sep = QStringLiteral(",");
        else if (t.contains(u';'))
            sep = QStringLiteral(";");
    }
    QStringList cells;
    if (sep.isEmpty() || sep == u" ") {
        cells = t.split(u' ', Qt::SkipEmptyParts);
    } else {
        cells = t.split(sep);
        for (QString& c : cells) c = c.trimmed();
        // A separator closing the line leaves no cell behind it.
        if (!cells.isEmpty() && cells.size() > 1 && cells.last().isEmpty()) cells.removeLast();
    }
    return cells;
}

MatrixReading readMatrix(const QString& text, const QString& separator,
                         const CalcSettings& settings, const QString& name,
                         const CancelFlag* cancel) {
    MatrixReading m;
    QList<QStringView> lines;
    qsizetype start = 0;
    const QStringView all(text);
    for (qsizetype i = 0; i <= all.size(); ++i) {
        if (i < all.size() && all[i] != u'\n' && all[i] != u'\r') continue;
        const QStringView line = all.mid(start, i - start);
        start = i + 1;
        if (line.trimmed().isEmpty()) continue;
        if (lines.size() == kMaxMatrixOrder) {
            m.error =
                prefixed(name, QStringLiteral("太大：最多 %1 行、%1 列").arg(kMaxMatrixOrder));
            return m;
        }
        lines.append(line);
    }
    if (lines.isEmpty()) {
        m.error = prefixed(name, QStringLiteral("是空的：请每行输入矩阵的一行"));
        return m;
    }
    std::vector<QStringList> rows;
    rows.reserve(std::size_t(lines.size()));
    for (qsizetype r = 0; r < lines.size(); ++r) {
        rows.push_back(splitMatrixLine(lines[r].toString(), separator));
        const qsizetype n = qsizetype(rows.back().size());
        if (n > kMaxMatrixOrder) {
            m.error =
                prefixed(name, QStringLiteral("太大：最多 %1 行、%1 列").arg(kMaxMatrixOrder));
            return m;
        }
        if (n != rows.front().size()) {
            m.error = prefixed(
                name, QStringLiteral("第 %1 行有 %2 个数，第 1 行有 %3 个：每行的数要一样多")
                          .arg(r + 1)
                          .arg(n)
                          .arg(rows.front().size()));
            return m;
        }
    }
    m.matrix = RationalMatrix(int(rows.size()), int(rows.front().size()));
    for (int r = 0; r < m.matrix.rows; ++r) {
        for (int c = 0; c < m.matrix.cols; ++c) {
            throwIfCancelled(cancel);
            const CellValue v = evaluateCell(rows[std::size_t(r)][c], settings, cancel);
            if (!v.ok) {
                m.error = prefixed(name, QStringLiteral("第 %1 行第 %2 列“%3”不是数：%4")
                                             .arg(r + 1)
                                             .arg(c + 1)
                                             .arg(rows[std::size_t(r)][c].left(40), v.error));
                return m;
            }
            m.matrix.at(r, c) = v.value;
            if (!v.exact) m.exact = false;
        }
    }
    m.ok = true;
    return m;
}

IntegerElimination eliminate(const RationalMatrix& m, int pivotColumns,
                             std::vector<mpz_class>* rowFactors, const CancelFlag* cancel) {
    IntegerElimination e;
    e.rows = m.rows;
    e.cols = m.cols;
    e.cells.resize(m.cells.size());
    e.rowOrigin.resize(std::size_t(m.rows));
    if (rowFactors) rowFactors->assign(std::size_t(m.rows), 1);
    for (int r = 0; r < m.rows; ++r) {
        e.rowOrigin[std::size_t(r)] = r;
        mpz_class l = 1;
        for (int c = 0; c < m.cols; ++c)
            mpz_lcm(l.get_mpz_t(), l.get_mpz_t(), m.at(r, c).get_den_mpz_t());
        for (int c = 0; c < m.cols; ++c)
            e.at(r, c) = m.at(r, c).get_num() * (l / m.at(r, c).get_den());
        if (rowFactors) (*rowFactors)[std::size_t(r)] = l;
    }
    mpz_class previous = 1;
    mpz_class t;
    int row = 0;
    for (int c = 0; c < std::min(pivotColumns, e.cols) && row < e.rows; ++c) {
        throwIfCancelled(cancel);
        int p = row;
        while (p < e.rows && e.at(p, c) == 0) ++p;
        if (p == e.rows) continue;
        if (p != row) {
            for (int j = 0; j < e.cols; ++j) swap(e.at(p, j), e.at(row, j));
            std::swap(e.rowOrigin[std::size_t(p)], e.rowOrigin[std::size_t(row)]);
            e.sign = -e.sign;
        }
        const mpz_class pivot = e.at(row, c);
        for (int i = 0; i < e.rows; ++i) {
            if (i == row) continue;
            const mpz_class f = e.at(i, c);
            for (int j = 0; j < e.cols; ++j) {
                mpz_class& x = e.at(i, j);
                // x = (pivot * x - f * pivot row) / previous, exact by Sylvester's identity.
                mpz_mul(t.get_mpz_t(), pivot.get_mpz_t(), x.get_mpz_t());
                mpz_submul(t.get_mpz_t(), f.get_mpz_t(), e.at(row, j).get_mpz_t());
                if (previous == 1)
                    mpz_swap(x.get_mpz_t(), t.get_mpz_t());
                else
                    mpz_divexact(x.get_mpz_t(), t.get_mpz_t(), previous.get_mpz_t());
            }
            if (i % 8 == 7) throwIfCancelled(cancel);
        }
        previous = pivot;
        e.pivots.push_back(c);
        ++row;
    }
    e.scale = previous;
    return e;
}

QString valueText(const mpq_class& x, const ValueStyle& style, bool* rounded) {
    if (rounded) *rounded = false;
    if (style.fractions) return QString::fromStdString(x.get_str());
    const int d = std::clamp(style.decimals, 0, 28);
    const mpz_class scale = pow10(static_cast<unsigned long>(d));
    const mpq_class scaled = abs(x) * scale;
    mpz_class q;
    mpz_class r;
    mpz_fdiv_qr(q.get_mpz_t(), r.get_mpz_t(), scaled.get_num_mpz_t(), scaled.get_den_mpz_t());
    if (r != 0 && rounded) *rounded = true;
    if (2 * r >= scaled.get_den()) ++q;
    QString t = QString::fromStdString(q.get_str());
    if (t == u"0") return t;
    if (d > 0) {
        if (t.size() <= d) t.prepend(QString(d + 1 - t.size(), u'0'));
        t.insert(t.size() - d, u'.');
        while (t.endsWith(u'0')) t.chop(1);
        if (t.endsWith(u'.')) t.chop(1);
    }
    return x < 0 ? u'-' + t : t;
}

}  // namespace hc
