#include "tools/regression.h"

#include <gmpxx.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "engine/text_trim.h"
#include "expr/normalize.h"
#include "tools/statistics.h"
#include "tools/statistics_command.h"

namespace hc {
namespace {

using i128 = __int128;

// Cells whose exponent reaches beyond this are refused: their exact integers would
// make every sum of products enormous.
constexpr long kExponentLimit = 400;
constexpr int kListedCells = 10;

QString dash() { return QStringLiteral("—"); }

mpz_class pow10(long n) {
    mpz_class r;
    mpz_ui_pow_ui(r.get_mpz_t(), 10, static_cast<unsigned long>(n));
    return r;
}

// A rational kept unreduced: the denominators here (determinants of the normal
// equations) run to thousands of digits, and reducing them would cost more than
// all the rest. den > 0.
struct Fraction {
    mpz_class num = 0;
    mpz_class den = 1;
    Fraction() = default;
    Fraction(long v) : num(v) {}
    Fraction(mpz_class n, mpz_class d = 1) : num(std::move(n)), den(std::move(d)) {
        if (den < 0) {
            num = -num;
            den = -den;
        }
    }
    int sign() const { return sgn(num); }
    double toDouble() const { return mpq_class(num, den).get_d(); }
};

Fraction operator+(const Fraction& a, const Fraction& b) {
    if (a.den == b.den) return Fraction(a.num + b.num, a.den);
    return Fraction(a.num * b.den + b.num * a.den, a.den * b.den);
}
Fraction operator-(const Fraction& a) { return Fraction(-a.num, a.den); }
Fraction operator-(const Fraction& a, const Fraction& b) { return a + -b; }
Fraction operator*(const Fraction& a, const Fraction& b) {
    return Fraction(a.num * b.num, a.den * b.den);
}
Fraction operator/(const Fraction& a, const Fraction& b) {
    return Fraction(a.num * b.den, a.den * b.num);
}
Fraction abs(const Fraction& a) { return Fraction(::abs(a.num), a.den); }

// q * 10^k for any sign of k.
Fraction timesPow10(const Fraction& q, long k) {
    return k >= 0 ? Fraction(q.num * pow10(k), q.den) : Fraction(q.num, q.den * pow10(-k));
}

mpz_class floorOf(const Fraction& q) {
    mpz_class r;
    mpz_fdiv_q(r.get_mpz_t(), q.num.get_mpz_t(), q.den.get_mpz_t());
    return r;
}

mpz_class fromI128(i128 v) {
    const bool negative = v < 0;
    using u128 = unsigned __int128;
    const u128 a = negative ? u128(0) - u128(v) : u128(v);
    mpz_class r(static_cast<unsigned long>(static_cast<std::uint64_t>(a >> 64)));
    r <<= 64;
    r += mpz_class(static_cast<unsigned long>(static_cast<std::uint64_t>(a)));
    return negative ? mpz_class(-r) : r;
}

// The sign of x - 10^e, for x > 0.
int comparedToPow10(const Fraction& x, long e) {
    return e >= 0 ? cmp(x.num, x.den * pow10(e)) : cmp(x.num * pow10(-e), x.den);
}

// Decimal exponent e with 10^e <= x < 10^(e+1), for x > 0.
long decimalExponent(const Fraction& x) {
    long e =
        long(mpz_sizeinbase(x.num.get_mpz_t(), 10)) - long(mpz_sizeinbase(x.den.get_mpz_t(), 10));
    while (comparedToPow10(x, e) < 0) --e;
    while (comparedToPow10(x, e + 1) >= 0) ++e;
    return e;
}

long floorHalf(long e) { return e >= 0 ? e / 2 : -((-e + 1) / 2); }

// A figure of the output: a rational, or the square root of a non-negative
// rational with a sign; or undefined.
struct Figure {
    Fraction q;
    bool root = false;
    bool negative = false;
    bool defined = true;
};

Figure rational(const Fraction& q) { return Figure{q, false, false, true}; }
Figure rootOf(const Fraction& q, bool negative = false) { return Figure{q, true, negative, true}; }
Figure undefinedFigure() { return Figure{0, false, false, false}; }

struct DigitFormat {
    bool significant = true;
    int digits = 15;
};

// Digits of the integer `n` read with `places` decimals, trailing fraction zeros
// dropped; in exponent form from 1E+29 on (beyond the Decimal range) and, with
// `smallInExponent`, below 1E-7.
QString decimalText(const mpz_class& n, long places, bool negative, bool smallInExponent) {
    std::string d = n.get_str();
    if (d == "0") return QStringLiteral("0");
    const long exponent = long(d.size()) - 1 - places;
    std::string out;
    if (exponent >= 29 || (smallInExponent && exponent < -7)) {
        while (d.size() > 1 && d.back() == '0') d.pop_back();
        out = d.substr(0, 1);
        if (d.size() > 1) out += "." + d.substr(1);
        out += exponent >= 0 ? "E+" : "E-";
        out += std::to_string(exponent >= 0 ? exponent : -exponent);
    } else if (places <= 0) {
        out = d + std::string(size_t(-places), '0');
    } else {
        if (d.size() <= size_t(places)) d.insert(0, size_t(places) + 1 - d.size(), '0');
        d.insert(d.size() - size_t(places), ".");
        while (d.back() == '0') d.pop_back();
        if (d.back() == '.') d.pop_back();
        out = d;
    }
    return QString::fromStdString((negative ? "-" : "") + out);
}

// The figure rounded once, half away from zero, to the format's digits.
QString shown(const Figure& f, const DigitFormat& format) {
    if (!f.defined) return dash();
    const Fraction a = f.root ? f.q : abs(f.q);
    const bool negative = f.root ? f.negative : f.q.sign() < 0;
    if (a.sign() == 0) return QStringLiteral("0");
    long places = format.digits;
    if (format.significant) {
        const long ea = decimalExponent(a);
        const long e = f.root ? floorHalf(ea) : ea;
        places = format.digits - 1 - e;
    }
    // t = floor(10 * |value| * 10^places); its last digit decides the rounding.
    mpz_class t;
    if (f.root) {
        const mpz_class radicand = floorOf(timesPow10(a, 2 * places + 2));
        mpz_sqrt(t.get_mpz_t(), radicand.get_mpz_t());
    } else {
        t = floorOf(timesPow10(a, places + 1));
    }
    mpz_class n;
    const unsigned long last = mpz_fdiv_q_ui(n.get_mpz_t(), t.get_mpz_t(), 10);
    if (last >= 5) ++n;
    return decimalText(n, places, negative, format.significant);
}

// ---- Reading the data text ----

struct ExactCell {
    bool ok = false;
    bool small = false;         // the mantissa fits 18 digits
    std::int64_t mantissa = 0;  // when small
    std::string digits;         // otherwise, with a "-" when negative
    long scale = 0;             // value = mantissa * 10^-scale
};

// The cells of one column; value i = mantissa[i] * 10^-scale[i], or the entry of
// `big` for row i when its mantissa has more than 18 digits.
struct CellColumn {
    std::vector<std::int64_t> mantissa;
    std::vector<int> scale;
    std::vector<std::pair<size_t, mpz_class>> big;

    size_t size() const { return mantissa.size(); }
    void append(const ExactCell& c) {
        if (!c.small) big.emplace_back(mantissa.size(), mpz_class(c.digits, 10));
        mantissa.push_back(c.small ? c.mantissa : 0);
        scale.push_back(int(c.scale));
    }
};

// A cell spelling a decimal number: sign, digits with one optional point, an optional
// exponent "E" or "e" with sign and digits. Surrounding spaces already trimmed.
ExactCell readExact(QStringView t) {
    ExactCell c;
    qsizetype i = 0;
    const qsizetype size = t.size();
    bool negative = false;
    if (i < size && (t[i] == u'-' || t[i] == u'+')) negative = t[i++] == u'-';
    std::uint64_t m = 0;
    int kept = 0;  // significant digits in m
    bool overflow = false;
    long fraction = 0;
    bool point = false;
    bool any = false;
    for (; i < size; ++i) {
        const char16_t ch = t[i].unicode();
        if (ch >= u'0' && ch <= u'9') {
            any = true;
            if (point) ++fraction;
            if (kept == 0 && ch == u'0') continue;
            ++kept;
            if (kept <= 18)
                m = m * 10 + std::uint64_t(ch - u'0');
            else
                overflow = true;
        } else if (ch == u'.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!any) return c;
    const qsizetype mantissaEnd = i;
    long exponent = 0;
    if (i < size) {
        if (t[i] != u'E' && t[i] != u'e') return c;
        ++i;
        bool expNegative = false;
        if (i < size && (t[i] == u'-' || t[i] == u'+')) expNegative = t[i++] == u'-';
        if (i == size) return c;
        for (; i < size; ++i) {
            const char16_t ch = t[i].unicode();
            if (ch < u'0' || ch > u'9') return c;
            exponent = exponent * 10 + long(ch - u'0');
            if (exponent > 100000) return c;
        }
        if (expNegative) exponent = -exponent;
    }
    c.scale = fraction - exponent;
    if (kept > 0 && (c.scale > kExponentLimit || kept - c.scale > kExponentLimit)) return c;
    if (kept == 0) c.scale = 0;
    c.ok = true;
    if (!overflow) {
        c.small = true;
        c.mantissa = negative ? -std::int64_t(m) : std::int64_t(m);
    } else {
        if (negative) c.digits += '-';
        for (const QChar ch : t.left(mantissaEnd))
            if (ch.isDigit() && (c.digits.size() > (negative ? 1u : 0u) || ch != u'0'))
                c.digits += char(ch.unicode());
    }
    return c;
}

// One column of exact integers: value = entry * 10^-scale.
struct IntColumn {
    long scale = 0;
    bool wide = false;  // entries in `big`, else in `small`
    std::vector<std::int64_t> small;
    std::vector<mpz_class> big;
    int bits = 0;  // largest bit length in `small`

    size_t size() const { return wide ? big.size() : small.size(); }
    mpz_class at(size_t i) const { return wide ? big[i] : mpz_class(static_cast<long>(small[i])); }
    void widen() {
        if (wide) return;
        big.reserve(small.size());
        for (const std::int64_t v : small) big.emplace_back(static_cast<long>(v));
        small.clear();
        small.shrink_to_fit();
        wide = true;
    }
    void measure() {
        std::uint64_t most = 0;
        for (const std::int64_t v : small)
            most |= v < 0 ? std::uint64_t(0) - std::uint64_t(v) : std::uint64_t(v);
        bits = 0;
        while (bits < 64 && (most >> bits) != 0) ++bits;
    }
};

// The column of cells brought to their largest scale.
IntColumn scaledColumn(const CellColumn& cells) {
    IntColumn col;
    const size_t n = cells.size();
    int scale = std::numeric_limits<int>::min();
    for (const int s : cells.scale) scale = std::max(scale, s);
    col.scale = n == 0 ? 0 : scale;
    bool fits = cells.big.empty();
    static const std::int64_t kPow10[19] = {1,
                                            10,
                                            100,
                                            1000,
                                            10000,
                                            100000,
                                            1000000,
                                            10000000,
                                            100000000,
                                            1000000000,
                                            10000000000,
                                            100000000000,
                                            1000000000000,
                                            10000000000000,
                                            100000000000000,
                                            1000000000000000,
                                            10000000000000000,
                                            100000000000000000,
                                            1000000000000000000};
    if (fits) {
        col.small.resize(n);
        for (size_t i = 0; i < n && fits; ++i) {
            const long shift = col.scale - cells.scale[i];
            if (shift > 18) {
                fits = false;
                break;
            }
            const i128 v = i128(cells.mantissa[i]) * kPow10[shift];
            if (v > std::numeric_limits<std::int64_t>::max() ||
                v < -std::numeric_limits<std::int64_t>::max())
                fits = false;
            col.small[i] = std::int64_t(v);
        }
    }
    if (fits) {
        col.measure();
        return col;
    }
    col.small.clear();
    col.small.shrink_to_fit();
    col.wide = true;
    col.big.reserve(n);
    size_t nextBig = 0;
    for (size_t i = 0; i < n; ++i) {
        mpz_class v = nextBig < cells.big.size() && cells.big[nextBig].first == i
                          ? cells.big[nextBig++].second
                          : mpz_class(static_cast<long>(cells.mantissa[i]));
        col.big.push_back(v * pow10(col.scale - cells.scale[i]));
    }
    return col;
}

// The column of k-th powers of `x`.
IntColumn powerColumn(const IntColumn& x, int k) {
    IntColumn col;
    col.scale = x.scale * k;
    if (!x.wide && long(x.bits) * k <= 62) {
        col.small.reserve(x.small.size());
        for (const std::int64_t v : x.small) {
            std::int64_t p = 1;
            for (int j = 0; j < k; ++j) p *= v;
            col.small.push_back(p);
        }
        col.measure();
        return col;
    }
    col.wide = true;
    col.big.reserve(x.size());
    for (size_t i = 0; i < x.size(); ++i) {
        mpz_class p;
        mpz_pow_ui(p.get_mpz_t(), x.at(i).get_mpz_t(), static_cast<unsigned long>(k));
        col.big.push_back(p);
    }
    return col;
}

IntColumn onesColumn(size_t n) {
    IntColumn col;
    col.small.assign(n, 1);
    col.bits = 1;
    return col;
}

// Sum over the rows of a[i] * b[i], exactly.
mpz_class crossProduct(IntColumn& a, IntColumn& b, const CancelFlag* cancel) {
    throwIfCancelled(cancel);
    const size_t n = a.size();
    mpz_class sum = 0;
    if (!a.wide && !b.wide) {
        // Partial sums in 128 bits, flushed before they could overflow.
        const int headroom = 126 - a.bits - b.bits;
        const size_t chunk = headroom >= 40 ? n : size_t(1) << std::max(headroom, 0);
        const std::int64_t* pa = a.small.data();
        const std::int64_t* pb = b.small.data();
        for (size_t start = 0; start < n; start += chunk) {
            const size_t end = std::min(n, start + chunk);
            i128 s = 0;
            for (size_t i = start; i < end; ++i) s += i128(pa[i]) * pb[i];
            sum += fromI128(s);
        }
        return sum;
    }
    a.widen();
    b.widen();
    for (size_t i = 0; i < n; ++i) {
        if ((i & 4095) == 4095) throwIfCancelled(cancel);
        mpz_addmul(sum.get_mpz_t(), a.big[i].get_mpz_t(), b.big[i].get_mpz_t());
    }
    return sum;
}

// Integer matrix, row-major.
struct IntMatrix {
    int rows = 0;
    int cols = 0;
    std::vector<mpz_class> a;
    IntMatrix(int r, int c) : rows(r), cols(c), a(size_t(r) * size_t(c)) {}
    mpz_class& operator()(int i, int j) { return a[size_t(i) * size_t(cols) + size_t(j)]; }
    const mpz_class& operator()(int i, int j) const {
        return a[size_t(i) * size_t(cols) + size_t(j)];
    }
};

// Fraction-free elimination (Bareiss) of the symmetric positive semi-definite
// Gram matrix `g` (size p) with `extra` right-hand columns appended in `m`. Pivots
// on the diagonal in order; a zero pivot marks that column as a combination of
// the earlier ones and it is passed over. Returns the columns passed over.
std::vector<int> eliminate(IntMatrix& m, int p, std::vector<int>& pivots) {
    std::vector<int> dependent;
    mpz_class previous = 1;
    std::vector<bool> used(size_t(p), false);
    for (int k = 0; k < p; ++k) {
        if (m(k, k) == 0) {
            dependent.push_back(k);
            continue;
        }
        pivots.push_back(k);
        used[size_t(k)] = true;
        const mpz_class pivot = m(k, k);
        for (int i = 0; i < p; ++i) {
            if (used[size_t(i)]) continue;
            for (int j = 0; j < m.cols; ++j) {
                if (j == k || (j < p && used[size_t(j)])) continue;
                mpz_class v = pivot * m(i, j) - m(i, k) * m(k, j);
                mpz_divexact(v.get_mpz_t(), v.get_mpz_t(), previous.get_mpz_t());
                m(i, j) = v;
            }
            m(i, k) = 0;
        }
        previous = pivot;
    }
    return dependent;
}

// Solves g x = rhs for every right-hand column of `m` (after the p columns of g) when
// g has full rank: returns det(g) and det(g) * x, column by column; empty when g is
// singular.
struct ExactSolution {
    mpz_class det;
    IntMatrix x{0, 0};  // p rows, one column per right-hand side
    std::vector<int> dependent;
};

ExactSolution solveGram(IntMatrix m, int p) {
    ExactSolution s;
    std::vector<int> pivots;
    s.dependent = eliminate(m, p, pivots);
    if (!s.dependent.empty()) return s;
    // After the elimination row k holds the k-th row of an upper triangular system
    // whose last pivot is det(g); det * x is whole (Cramer), so each division below
    // is exact.
    const int r = m.cols - p;
    s.det = p > 0 ? m(p - 1, p - 1) : mpz_class(1);
    s.x = IntMatrix(p, r);
    for (int c = 0; c < r; ++c) {
        for (int i = p - 1; i >= 0; --i) {
            mpz_class v = s.det * m(i, p + c);
            for (int j = i + 1; j < p; ++j) v -= m(i, j) * s.x(j, c);
            mpz_divexact(v.get_mpz_t(), v.get_mpz_t(), m(i, i).get_mpz_t());
            s.x(i, c) = v;
        }
    }
    return s;
}

// ---- The data table ----

struct BadCell {
    int line;
    int column;
    QString text;
};

struct DataTable {
    std::vector<CellColumn> columns;  // y first, then the x columns
    std::vector<int> lines;           // data text line of each row
    QList<BadCell> bad;
    long long badCount = 0;
    QList<int> incomplete;  // lines left out for a blank used cell
    long long incompleteCount = 0;
};

QString separatorName(QChar c) {
    return c == u'\t' ? QStringLiteral("Tab") : c == u' ' ? QStringLiteral("空格") : QString(c);
}

DataTable readTable(const QString& text, QChar separator, bool whitespace, int labelCells,
                    const std::vector<int>& wanted, const CancelFlag* cancel) {
    DataTable table;
    const int maxColumn = *std::max_element(wanted.begin(), wanted.end());
    // slotOf[column] = index into wanted, or -1.
    std::vector<int> slotOf(size_t(maxColumn) + 1, -1);
    for (size_t k = 0; k < wanted.size(); ++k) slotOf[size_t(wanted[k])] = int(k);
    table.columns.resize(wanted.size());
    std::vector<QStringView> cells(wanted.size());
    std::vector<ExactCell> parsed(wanted.size());

    const QChar* d = text.constData();
    const qsizetype size = text.size();
    int line = 0;
    qsizetype p = 0;
    while (p < size) {
        if ((++line & 4095) == 0) throwIfCancelled(cancel);
        qsizetype end = p;
        while (end < size && d[end] != u'\r' && d[end] != u'\n') ++end;
        const QStringView row(d + p, end - p);
        p = end < size && d[end] == u'\r' && end + 1 < size && d[end + 1] == u'\n' ? end + 2
                                                                                   : end + 1;
        bool anyCell = false;
        std::fill(cells.begin(), cells.end(), QStringView());
        int cellIndex = 0;
        qsizetype s = 0;
        const qsizetype n = row.size();
        if (whitespace)
            while (s < n && (row[s] == u' ' || row[s] == u'\t')) ++s;
        while (s <= n) {
            qsizetype e = s;
            if (whitespace)
                while (e < n && row[e] != u' ' && row[e] != u'\t') ++e;
            else
                while (e < n && row[e] != separator) ++e;
            const QStringView cell = row.mid(s, e - s);
            if (!isBlankCell(cell)) anyCell = true;
            const int column = cellIndex - labelCells + 1;
            if (column >= 1 && column <= maxColumn && slotOf[size_t(column)] >= 0)
                cells[size_t(slotOf[size_t(column)])] = cell;
            ++cellIndex;
            if (e >= n) break;
            s = e + 1;
            if (whitespace) {
                while (s < n && (row[s] == u' ' || row[s] == u'\t')) ++s;
                if (s >= n) break;
            }
        }
        if (!anyCell) continue;
        bool blank = false;
        for (const QStringView c : cells) blank = blank || isBlankCell(c);
        if (blank) {
            if (table.incomplete.size() < kListedCells) table.incomplete.append(line);
            ++table.incompleteCount;
            continue;
        }
        bool good = true;
        for (size_t k = 0; k < cells.size(); ++k) {
            parsed[k] = readExact(trimSpaces(cells[k]));
            if (!parsed[k].ok) {
                good = false;
                if (table.bad.size() < kListedCells)
                    table.bad.append({line, wanted[k], trimSpaces(cells[k]).toString()});
                ++table.badCount;
            }
        }
        if (!good) continue;
        for (size_t k = 0; k < cells.size(); ++k) table.columns[k].append(parsed[k]);
        table.lines.push_back(line);
    }
    return table;
}

QString lineList(const QList<int>& lines, long long count) {
    QString t;
    for (int i = 0; i < lines.size(); ++i)
        t += (i ? QStringLiteral("、") : QString()) + QStringLiteral("第 %1 行").arg(lines[i]);
    if (count > lines.size()) t += QStringLiteral("……共 %1 行").arg(count);
    return t;
}

QString columnName(int column) { return QStringLiteral("第 %1 列").arg(column); }

// Columns a text takes in a monospaced CJK face: 2 for a CJK or full-width
// character, 1 for the rest (Latin, "²", "—").
int columnsOf(const QString& s) {
    int w = 0;
    for (const QChar c : s) {
        const char16_t u = c.unicode();
        w += (u >= 0x2E80 && u < 0xA000) || (u >= 0xAC00 && u < 0xD7A4) ||
                     (u >= 0xF900 && u < 0xFB00) || (u >= 0xFF00 && u < 0xFF61) ||
                     (u >= 0xFFE0 && u < 0xFFE7)
                 ? 2
                 : 1;
    }
    return w;
}

// Pads `s` on the left (right-aligned) or right to `width` display columns.
QString padded(const QString& s, int width, bool right) {
    const int fill = std::max(0, width - columnsOf(s));
    return right ? QString(fill, u' ') + s : s + QString(fill, u' ');
}

// Lines of a table: the first column left-aligned, the others right-aligned, two
// spaces between columns.
QString tableText(const QList<QStringList>& rows) {
    std::vector<int> widths;
    for (const QStringList& r : rows)
        for (qsizetype c = 0; c < r.size(); ++c) {
            if (widths.size() <= size_t(c)) widths.resize(size_t(c) + 1, 0);
            widths[size_t(c)] = std::max(widths[size_t(c)], columnsOf(r[c]));
        }
    QString out;
    for (const QStringList& r : rows) {
        QString line;
        for (qsizetype c = 0; c < r.size(); ++c)
            line += (c ? QStringLiteral("  ") : QString()) + padded(r[c], widths[size_t(c)], c > 0);
        while (line.endsWith(u' ')) line.chop(1);
        out += line + u'\n';
    }
    return out;
}

}  // namespace

std::optional<QList<int>> parseRegressionColumns(const QString& text) {
    QString t = ZelGuiFanZiFu(text);
    t.replace(u'、', u',');
    t.replace(u'，', u',');
    t.replace(u' ', u',');
    QList<int> columns;
    for (const QString& part : t.split(u',', Qt::SkipEmptyParts)) {
        bool ok = false;
        const int v = part.toInt(&ok);
        if (!ok || v < 1 || v > 999 || part.startsWith(u'+')) return std::nullopt;
        columns.append(v);
    }
    if (columns.isEmpty()) return std::nullopt;
    return columns;
}

QString regressionOptionsProblem(const RegressionOptions& o) {
    if (o.yColumn < 1 || o.yColumn > 999)
        return QStringLiteral("因变量 y 的列号应在 1 到 999 之间。");
    if (o.xColumns.isEmpty()) return QStringLiteral("请至少选择一个自变量 x 的列。");
    if (o.xColumns.size() > kMaxRegressionColumns)
        return QStringLiteral("自变量 x 最多 %1 列。").arg(kMaxRegressionColumns);
    for (qsizetype i = 0; i < o.xColumns.size(); ++i) {
        const int c = o.xColumns[i];
        if (c < 1 || c > 999) return QStringLiteral("自变量 x 的列号应在 1 到 999 之间。");
        if (c == o.yColumn) return QStringLiteral("第 %1 列不能既是因变量 y 又是自变量 x。").arg(c);
        if (o.xColumns.indexOf(c) != i) return QStringLiteral("自变量 x 的第 %1 列重复了。").arg(c);
    }
    if (o.degree < 1 || o.degree > kMaxRegressionDegree)
        return QStringLiteral("多项式的次数应在 1 到 %1 之间。").arg(kMaxRegressionDegree);
    if (o.degree > 1 && o.xColumns.size() != 1)
        return QStringLiteral("多项式回归只能有一个自变量 x 列。");
    if (o.labelCells < 0 || o.labelCells > 3) return QStringLiteral("序号列数应为 0 到 3。");
    if (o.significant ? (o.digits < 1 || o.digits > kMaxRegressionDigits)
                      : (o.digits < 0 || o.digits > kMaxRegressionDigits))
        return o.significant ? QStringLiteral("有效数字位数应在 1 到 28 之间。")
                             : QStringLiteral("小数位数应在 0 到 28 之间。");
    return QString();
}

namespace {

RegressionResult fit(const QString& data, const RegressionOptions& o, const CancelFlag* cancel) {
    RegressionResult result;
    auto fail = [&result](const QString& why) {
        result.ok = false;
        result.failure = why;
        result.text = why + u'\n';
        return result;
    };
    if (const QString problem = regressionOptionsProblem(o); !problem.isEmpty())
        return fail(problem);

    const QString text = ZelGuiFanZiFu(data);
    QString sep = o.separator == QLatin1String(" ") ? QStringLiteral(" ")
                                                    : normalizedStatSeparator(o.separator);
    bool whitespace = sep == QLatin1String(" ");
    // Pasted data without the chosen separator: tabs, commas, else spaces between cells.
    if (!whitespace && !text.isEmpty() && !text.contains(sep[0])) {
        const QString found = text.contains(u'\t')  ? QStringLiteral("\t")
                              : text.contains(u',') ? QStringLiteral(",")
                              : text.contains(u' ') ? QStringLiteral(" ")
                                                    : QString();
        if (!found.isEmpty()) {
            result.notices.append(Notice{QStringLiteral("数据中没有分隔符“") +
                                             separatorName(sep[0]) + QStringLiteral("”：已改用“") +
                                             separatorName(found[0]) +
                                             QStringLiteral("”分隔数据。"),
                                         NoticeButtons::Ok,
                                         {}});
            sep = found;
            whitespace = found == QLatin1String(" ");
        }
    }

    std::vector<int> wanted{o.yColumn};
    for (const int c : o.xColumns) wanted.push_back(c);
    DataTable table = readTable(text, sep[0], whitespace, o.labelCells, wanted, cancel);

    if (table.badCount > 0) {
        QString why = QStringLiteral("以下单元格不是数字（或超出计算范围），无法回归：");
        for (qsizetype i = 0; i < table.bad.size(); ++i) {
            QString cell = table.bad[i].text;
            if (cell.size() > 20) cell = cell.left(20) + QStringLiteral("…");
            why += (i ? QStringLiteral("；") : QString()) +
                   QStringLiteral("第 %1 行%2“%3”")
                       .arg(table.bad[i].line)
                       .arg(columnName(table.bad[i].column), cell);
        }
        why += table.badCount > table.bad.size()
                   ? QStringLiteral("；共 %1 个。").arg(table.badCount)
                   : QStringLiteral("。");
        return fail(why);
    }
    if (table.incompleteCount > 0)
        result.notices.append(Notice{QStringLiteral("以下行所选的列中有空格子，未参加回归：") +
                                         lineList(table.incomplete, table.incompleteCount) +
                                         QStringLiteral("。"),
                                     NoticeButtons::Ok,
                                     {}});

    const long n = long(table.lines.size());
    const bool polynomial = o.degree > 1;
    const int xCount = polynomial ? o.degree : int(o.xColumns.size());
    const int p = xCount + (o.intercept ? 1 : 0);
    if (n < p) {
        return fail(QStringLiteral("只有 %1 行完整的数据，少于要估计的 %2 个系数，无法回归。")
                        .arg(n)
                        .arg(p));
    }

    // The design: the constant, then the x columns (or the powers of x), then y.
    std::vector<IntColumn> cols;
    std::vector<QString> names;
    if (o.intercept) {
        cols.push_back(onesColumn(size_t(n)));
        names.push_back(QStringLiteral("常数项"));
    }
    IntColumn y = scaledColumn(table.columns[0]);
    if (polynomial) {
        const IntColumn x = scaledColumn(table.columns[1]);
        for (int k = 1; k <= o.degree; ++k) {
            throwIfCancelled(cancel);
            cols.push_back(k == 1 ? x : powerColumn(x, k));
            names.push_back(k == 1 ? QStringLiteral("x") : QStringLiteral("x^%1").arg(k));
        }
    } else {
        for (size_t k = 1; k < table.columns.size(); ++k) {
            cols.push_back(scaledColumn(table.columns[k]));
            names.push_back(columnName(wanted[k]));
        }
    }
    table.columns.clear();
    table.columns.shrink_to_fit();

    // Gram matrix of the design with y appended: g(j, k) = sum of col j * col k.
    IntMatrix m(p, p + 1 + p);
    mpz_class yy;
    for (int j = 0; j < p; ++j) {
        for (int k = j; k < p; ++k) {
            m(j, k) = crossProduct(cols[size_t(j)], cols[size_t(k)], cancel);
            m(k, j) = m(j, k);
        }
        m(j, p) = crossProduct(cols[size_t(j)], y, cancel);
        m(j, p + 1 + j) = 1;
    }
    yy = crossProduct(y, y, cancel);

    ExactSolution sol = solveGram(m, p);
    if (!sol.dependent.empty()) {
        const int k = sol.dependent.front();
        const QString name =
            polynomial ? QStringLiteral("x^%1").arg(k + (o.intercept ? 0 : 1)) : names[size_t(k)];
        if (polynomial) {
            std::vector<mpz_class> values;
            for (size_t i = 0; i < cols[o.intercept ? 1 : 0].size(); ++i)
                values.push_back(cols[o.intercept ? 1 : 0].at(i));
            std::sort(values.begin(), values.end());
            const long distinct = long(std::unique(values.begin(), values.end()) - values.begin());
            return fail(
                QStringLiteral(
                    "%1（x）只有 %2 个不同的数值，不够拟合 %3 次多项式（%4），无法回归。")
                    .arg(columnName(o.xColumns[0]))
                    .arg(distinct)
                    .arg(o.degree)
                    .arg(o.intercept
                             ? QStringLiteral("含常数项至少需要 %1 个不同的数值").arg(o.degree + 1)
                             : QStringLiteral("不含常数项至少需要 %1 个不同的非零数值")
                                   .arg(o.degree)));
        }
        // A constant column against the constant term, or a column that the earlier
        // ones make up: name the ones it is made of.
        bool constant = false;
        if (o.intercept && k > 0) {
            const IntColumn& c = cols[size_t(k)];
            constant = true;
            for (size_t i = 1; i < c.size() && constant; ++i) constant = c.at(i) == c.at(0);
        }
        if (constant)
            return fail(
                QStringLiteral(
                    "%1的数值全都相同，与常数项线性相关，无法回归；请去掉这一列或不要常数项。")
                    .arg(name));
        // Which earlier columns make it up: solve the Gram system of those.
        std::vector<int> earlier;
        for (int j = 0; j < k; ++j)
            if (std::find(sol.dependent.begin(), sol.dependent.end(), j) == sol.dependent.end())
                earlier.push_back(j);
        QStringList parts;
        if (!earlier.empty()) {
            const int r = int(earlier.size());
            IntMatrix sub(r, r + 1);
            for (int a = 0; a < r; ++a) {
                for (int b = 0; b < r; ++b) sub(a, b) = m(earlier[size_t(a)], earlier[size_t(b)]);
                sub(a, r) = m(earlier[size_t(a)], k);
            }
            const ExactSolution combo = solveGram(sub, r);
            if (combo.dependent.empty())
                for (int a = 0; a < r; ++a)
                    if (combo.x(a, 0) != 0) parts << names[size_t(earlier[size_t(a)])];
        }
        if (parts.isEmpty())
            return fail(QStringLiteral("%1的数值全都是 0，无法回归；请去掉这一列。").arg(name));
        return fail(QStringLiteral("%1与%2线性相关（可由它们线性表示），无法回归；请去掉其中一列。")
                        .arg(name, parts.join(QStringLiteral("、"))));
    }

    // Coefficients: g gamma = h in the scaled integers; beta_j = gamma_j 10^(S_j - S_y).
    const mpz_class& det = sol.det;
    std::vector<Fraction> beta(static_cast<size_t>(p));
    for (int j = 0; j < p; ++j) {
        beta[size_t(j)] = timesPow10(Fraction(sol.x(j, 0), det), cols[size_t(j)].scale - y.scale);
    }
    // Sums of squares, in units of 10^(-2 S_y).
    mpz_class fittedDot = 0;  // det * sum gamma_j h_j
    for (int j = 0; j < p; ++j) fittedDot += sol.x(j, 0) * m(j, p);
    const long twoSy = 2 * y.scale;
    const Fraction sse = timesPow10(Fraction(det * yy - fittedDot, det), -twoSy);
    // With the constant term about the mean of y: yy - (sum y)^2 / n.
    const Fraction sst =
        o.intercept ? timesPow10(Fraction(yy * n - m(0, p) * m(0, p), mpz_class(n)), -twoSy)
                    : timesPow10(Fraction(yy), -twoSy);
    const Fraction ssr = sst - sse;
    const long dfRes = n - p;
    const long dfReg = o.intercept ? p - 1 : p;
    const long dfTot = o.intercept ? n - 1 : n;
    const bool haveDf = dfRes > 0;
    const Fraction s2 = haveDf ? sse / Fraction(dfRes) : Fraction(0);

    const DigitFormat format{o.significant, o.digits};
    result.ok = true;
    result.n = n;
    for (int j = 0; j < p; ++j) {
        RegressionCoefficient c;
        c.name = names[size_t(j)];
        c.estimate = shown(rational(beta[size_t(j)]), format);
        if (haveDf) {
            const Fraction inv(sol.x(j, 1 + j), det);
            const Fraction var = timesPow10(s2 * inv, 2 * cols[size_t(j)].scale);
            c.standardError = shown(rootOf(var), format);
            c.tValue = var.sign() == 0 ? dash()
                                       : shown(rootOf(beta[size_t(j)] * beta[size_t(j)] / var,
                                                      beta[size_t(j)].sign() < 0),
                                               format);
        } else {
            c.standardError = dash();
            c.tValue = dash();
        }
        result.coefficients.append(c);
    }
    result.residualStandardDeviation = haveDf ? shown(rootOf(s2), format) : dash();
    const bool haveTotal = sst.sign() != 0;
    result.rSquared = haveTotal ? shown(rational(ssr / sst), format) : dash();
    result.adjustedRSquared =
        haveTotal && haveDf && dfTot > 0
            ? shown(rational(Fraction(1) - (sse / Fraction(dfRes)) / (sst / Fraction(dfTot))),
                    format)
            : dash();
    const Figure msReg = dfReg > 0 ? rational(ssr / Fraction(dfReg)) : undefinedFigure();
    const Figure f =
        dfReg > 0 && haveDf && s2.sign() != 0 ? rational(msReg.q / s2) : undefinedFigure();
    result.anova = {
        {QStringLiteral("回归"), shown(rational(ssr), format), dfReg, shown(msReg, format),
         shown(f, format)},
        {QStringLiteral("残差"), shown(rational(sse), format), dfRes,
         haveDf ? shown(rational(s2), format) : dash(), QString()},
        {QStringLiteral("总计"), shown(rational(sst), format), dfTot, QString(), QString()},
    };

    if (o.residuals) {
        // fitted_i = (sum_j det gamma_j col_j[i]) / (det 10^S_y).
        const mpz_class denominator = det;
        result.residuals.reserve(qsizetype(n));
        for (size_t i = 0; i < size_t(n); ++i) {
            if ((i & 255) == 255) throwIfCancelled(cancel);
            mpz_class num = 0;
            for (int j = 0; j < p; ++j) num += sol.x(j, 0) * cols[size_t(j)].at(i);
            const mpz_class yi = y.at(i);
            const Fraction fitted(num, denominator);
            const Fraction residual(yi * det - num, denominator);
            result.residuals.append({table.lines[i],
                                     shown(rational(timesPow10(Fraction(yi), -y.scale)), format),
                                     shown(rational(timesPow10(fitted, -y.scale)), format),
                                     shown(rational(timesPow10(residual, -y.scale)), format)});
        }
    }

    // The output box.
    QString out;
    QString model;
    if (polynomial)
        model = QStringLiteral("%1 次多项式").arg(o.degree);
    else if (o.xColumns.size() == 1)
        model = QStringLiteral("直线");
    else
        model = QStringLiteral("多元线性（%1 个自变量）").arg(o.xColumns.size());
    if (o.plot) {
        RegressionPlot& plot = result.plot;
        plot.model = model;
        plot.yName = columnName(o.yColumn);
        const bool oneX = polynomial || o.xColumns.size() == 1;
        const size_t xIndex = o.intercept ? 1 : 0;
        if (oneX) {
            plot.xName = columnName(o.xColumns[0]);
            if (!o.intercept) plot.coefficients.push_back(0);
            for (const Fraction& b : beta) plot.coefficients.push_back(b.toDouble());
        }
        plot.y.reserve(size_t(n));
        plot.fitted.reserve(size_t(n));
        const IntColumn& xs = cols[xIndex];
        for (size_t i = 0; i < size_t(n); ++i) {
            if ((i & 255) == 255) throwIfCancelled(cancel);
            mpz_class num = 0;
            for (int j = 0; j < p; ++j) num += sol.x(j, 0) * cols[size_t(j)].at(i);
            plot.y.push_back(timesPow10(Fraction(y.at(i)), -y.scale).toDouble());
            plot.fitted.push_back(timesPow10(Fraction(num, det), -y.scale).toDouble());
            if (oneX) plot.x.push_back(timesPow10(Fraction(xs.at(i)), -xs.scale).toDouble());
        }
    }
    QStringList xs;
    for (const int c : o.xColumns) xs << QString::number(c);
    out += QStringLiteral("线性回归：%1，%2\n")
               .arg(model, o.intercept ? QStringLiteral("含常数项") : QStringLiteral("不含常数项"));
    out += QStringLiteral("因变量 y：第 %1 列；自变量 x：第 %2 列\n")
               .arg(o.yColumn)
               .arg(xs.join(QStringLiteral("、")));
    out += QStringLiteral("数据行数 n = %1；结果保留 %2 位%3\n")
               .arg(n)
               .arg(o.digits)
               .arg(o.significant ? QStringLiteral("有效数字") : QStringLiteral("小数"));
    out += u'\n';
    QList<QStringList> rows{{QStringLiteral("系数"), QStringLiteral("估计值"),
                             QStringLiteral("标准误差"), QStringLiteral("t 值")}};
    for (const RegressionCoefficient& c : result.coefficients)
        rows.append({c.name, c.estimate, c.standardError, c.tValue});
    out += tableText(rows);
    out += u'\n';
    out += tableText({{QStringLiteral("残差标准差"), result.residualStandardDeviation},
                      {QStringLiteral("R²"), result.rSquared},
                      {QStringLiteral("调整 R²"), result.adjustedRSquared}});
    out += QStringLiteral("\n方差分析\n");
    QList<QStringList> anova{{QStringLiteral("来源"), QStringLiteral("平方和"),
                              QStringLiteral("自由度"), QStringLiteral("均方"),
                              QStringLiteral("F")}};
    for (const RegressionAnovaRow& r : result.anova)
        anova.append(
            {r.source, r.sumOfSquares, QString::number(r.degreesOfFreedom), r.meanSquare, r.f});
    out += tableText(anova);
    if (o.residuals) {
        out += QStringLiteral("\n拟合值与残差\n");
        QList<QStringList> res{{QStringLiteral("行"), QStringLiteral("y"), QStringLiteral("拟合值"),
                                QStringLiteral("残差")}};
        for (const RegressionResidual& r : result.residuals)
            res.append({QString::number(r.line), r.y, r.fitted, r.residual});
        out += tableText(res);
    }
    result.text = out;
    return result;
}

}  // namespace

QString regressionCancelledText() { return QStringLiteral("回归计算已取消。"); }

RegressionResult runRegression(const QString& data, const RegressionOptions& options,
                               const CancelFlag* cancel) {
    try {
        return fit(data, options, cancel);
    } catch (const Cancelled&) {
        RegressionResult r;
        r.cancelled = true;
        r.failure = regressionCancelledText();
        r.text = r.failure + u'\n';
        return r;
    }
}

RegressionResult runRegressionInput(const RegressionInput& in, const CancelFlag* cancel) {
    RegressionOptions o;
    auto failed = [](const QString& why) {
        RegressionResult r;
        r.failure = why;
        r.text = why + u'\n';
        return r;
    };
    const std::optional<QList<int>> y = parseRegressionColumns(in.yColumn);
    if (!y || y->size() != 1)
        return failed(
            QStringLiteral("“y 列”应为一个列号（1 到 999），现在是“%1”。").arg(in.yColumn));
    const std::optional<QList<int>> x = parseRegressionColumns(in.xColumns);
    if (!x)
        return failed(QStringLiteral("“x 列”应为用逗号隔开的列号（1 到 999），现在是“%1”。")
                          .arg(in.xColumns));
    bool ok = false;
    o.degree = trimSpaces(in.degree).toInt(&ok);
    if (!ok) o.degree = 0;
    o.yColumn = y->front();
    o.xColumns = *x;
    o.labelCells = statLabelCells(in.labelCells);
    o.separator = in.separator;
    o.intercept = in.intercept;
    o.residuals = in.residuals;
    o.significant = in.significant;
    o.digits = in.digits;
    o.plot = in.plot;
    return runRegression(in.data, o, cancel);
}

}  // namespace hc
