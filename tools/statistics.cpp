#include "tools/statistics.h"

#include <gmpxx.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "engine/exact_decimal.h"
#include "engine/number.h"
#include "engine/number_reader.h"
#include "engine/power.h"
#include "engine/rounding.h"
#include "tools/statistics_exact.h"

namespace hc {
namespace {

Num zero() { return Num::ofDecimal(Decimal(0)); }

bool isSlotDigit(QChar c) { return c >= u'1' && c <= u'9'; }

// ZelXianShiKuanDu without a copy for the common all-ASCII cell.
int displayWidth(QStringView s) {
    for (const QChar c : s)
        if (c.unicode() >= 0x80) return ZelXianShiKuanDu(s.toString());
    return int(s.size());
}

mpz_class pow10(long n) {
    mpz_class r;
    mpz_ui_pow_ui(r.get_mpz_t(), 10, static_cast<unsigned long>(n));
    return r;
}

// x >= 0 rounded to an integer, ties to even or away from zero.
mpz_class roundToInteger(const mpq_class& x, bool tiesToEven) {
    mpz_class q;
    mpz_class r;
    mpz_fdiv_qr(q.get_mpz_t(), r.get_mpz_t(), x.get_num_mpz_t(), x.get_den_mpz_t());
    const int c = cmp(mpz_class(2 * r), x.get_den());
    if (c > 0 || (c == 0 && (!tiesToEven || mpz_odd_p(q.get_mpz_t())))) ++q;
    return q;
}

// Decimal exponent e with 10^e <= x < 10^(e+1), for x > 0.
long decimalExponent(const mpq_class& x) {
    long e =
        long(mpz_sizeinbase(x.get_num_mpz_t(), 10)) - long(mpz_sizeinbase(x.get_den_mpz_t(), 10));
    auto power = [](long k) { return k >= 0 ? mpq_class(pow10(k)) : mpq_class(1, pow10(-k)); };
    while (x < power(e)) --e;
    while (x >= power(e + 1)) ++e;
    return e;
}

// The shown text of an exact figure, rounded once (see exactColumnStatistics).
QString shownText(const mpq_class& x, int decimals) {
    if (x == 0) return QStringLiteral("0");
    const mpq_class ax = abs(x);
    static const mpz_class decimalMax = (mpz_class(1) << 96) - 1;
    // The bounds of the number reader: from this double on a value is a double.
    static const mpq_class doubleFrom(7.92281625142642E+28);
    if (ax >= mpq_class(1, pow10(Decimal::kMaxScale)) && ax < doubleFrom) {
        int scale = Decimal::kMaxScale;
        while (scale > 0 && roundToInteger(ax * pow10(scale), true) > decimalMax) --scale;
        // A Decimal holds the value at `scale` (ties to even); the shown rounding
        // then takes it to `decimals` places (ties away from zero).
        const int places = std::min(scale, decimals);
        std::string t = roundToInteger(ax * pow10(places), scale <= decimals).get_str();
        if (t == "0") return QStringLiteral("0");
        if (places > 0) {
            if (t.size() <= size_t(places)) t.insert(0, size_t(places) + 1 - t.size(), '0');
            t.insert(t.size() - size_t(places), ".");
            while (t.back() == '0') t.pop_back();
            if (t.back() == '.') t.pop_back();
        }
        return QString::fromStdString((x < 0 ? "-" : "") + t);
    }
    // Beyond the Decimal range the engine carries a double with 15 digits.
    long e = decimalExponent(ax);
    const long shift = e - 14;
    mpz_class m = roundToInteger(
        shift >= 0 ? mpq_class(ax / pow10(shift)) : mpq_class(ax * pow10(-shift)), true);
    long exponent = shift;
    if (m == pow10(15)) {
        m = pow10(14);
        ++exponent;
    }
    const QString digits = QString::fromStdString((x < 0 ? "-" : "") + m.get_str()) +
                           QStringLiteral("E") + QString::number(exponent);
    double d = 0;
    if (!textToDouble(digits, d) || !std::isfinite(d)) return statNotShownText();
    if (d == 0) return QStringLiteral("0");  // below the double range: 0 at any places
    return trimmedText(ZelSiSheWuRu(Num::ofDouble(d), decimals));
}

// sqrt(x) for x >= 0, exact when x is the square of a number of at most `digits`
// places, else strictly between the two neighbours at that many places.
mpq_class squareRoot(const mpq_class& x, long digits) {
    if (x == 0) return 0;
    const mpz_class scaled = x.get_num() * pow10(2 * digits) / x.get_den();
    mpz_class root;
    mpz_sqrt(root.get_mpz_t(), scaled.get_mpz_t());
    const bool exact =
        root * root == scaled &&
        mpz_divisible_p(mpz_class(x.get_num() * pow10(2 * digits)).get_mpz_t(), x.get_den_mpz_t());
    mpq_class r(exact ? mpz_class(2 * root) : mpz_class(2 * root + 1), 2 * pow10(digits));
    r.canonicalize();
    return r;
}

// Places for a square root of x: 40 beyond the 28 a Decimal shows, and as many as
// 15 significant digits of a small root need.
long rootDigits(const mpq_class& x) {
    if (x == 0) return 0;
    const long e = decimalExponent(x);
    return 68 + std::max(0L, -e / 2 + 15);
}

}  // namespace

// a < b on the numeric values; throws DecimalError when either is no number.
bool statLessThan(const Num& a, const Num& b) {
    const bool exactA = a.isDecimal() || a.isInteger();
    const bool exactB = b.isDecimal() || b.isInteger();
    if (exactA && exactB) return a.toDecimal() < b.toDecimal();
    return a.toDouble() < b.toDouble();
}

// The Decimal that the canonical text of d reads back as: no trailing fraction
// zeros, no negative zero.
Decimal canonicalDecimal(const Decimal& d) {
    Decimal::u128 c = d.coefficient();
    int scale = d.scale();
    while (scale > 0 && c % 10 == 0) {
        c /= 10;
        --scale;
    }
    return Decimal::fromParts(c, scale, d.isNegative());
}

QString statNotShownText() { return QStringLiteral("数值超出显示范围"); }

std::array<QString, 9> exactStatisticsText(const ExactColumnSums& sums, int decimals) {
    std::array<QString, 9> cells;
    const long n = sums.count;
    if (n < 1) {
        cells.fill(QStringLiteral(" "));
        return cells;
    }
    cells[0] = trimmedText(ZelSiSheWuRu(sums.minimum, decimals));
    cells[1] = trimmedText(ZelSiSheWuRu(sums.maximum, decimals));
    const mpq_class& sum = sums.sum;
    const mpq_class mean = sum / n;
    const mpq_class& squares = sums.squaredDeviations;
    const mpq_class variance = n > 1 ? mpq_class(squares / (n - 1)) : mpq_class(0);
    const mpq_class varianceN = squares / n;
    cells[2] = shownText(mean, decimals);
    cells[3] = shownText(sum, decimals);
    cells[4] = shownText(squareRoot(variance, rootDigits(variance)), decimals);
    cells[5] = shownText(variance, decimals);
    cells[7] = shownText(varianceN, decimals);
    // SD / mean = sign(mean) sqrt(variance / mean^2).
    auto coefficient = [&](const mpq_class& var) {
        if (var == 0) return QStringLiteral("0");
        if (mean == 0) return trimmedText(ZelSiSheWuRu(Num::ofDouble(1e28), decimals));
        const mpq_class ratio = var / (mean * mean);
        const mpq_class root = squareRoot(ratio, rootDigits(ratio));
        return shownText(mean < 0 ? mpq_class(-root) : root, decimals);
    };
    cells[6] = coefficient(variance);
    cells[8] = coefficient(varianceN);
    return cells;
}

std::array<QString, 9> exactColumnStatistics(const QStringList& list, int decimals) {
    ExactColumnSums sums;
    sums.count = long(list.size());
    if (sums.count < 1) return exactStatisticsText(sums, decimals);
    std::vector<mpq_class> v;
    v.reserve(size_t(sums.count));
    for (const QString& t : list) {
        mpq_class x;
        if (!exactDecimalValue(trimSpaces(QStringView(t)), x)) x = 0;
        v.push_back(x);
    }
    const StatValues values(int(sums.count), list);
    sums.minimum = values.minimum();
    sums.maximum = values.maximum();
    for (const mpq_class& x : v) sums.sum += x;
    const mpq_class mean = sums.sum / sums.count;
    for (const mpq_class& x : v) {
        const mpq_class d = x - mean;
        sums.squaredDeviations += d * d;
    }
    return exactStatisticsText(sums, decimals);
}

QString normalizedStatSeparator(const QString& separator) {
    if (separator.isEmpty() || separator.size() > 1 ||
        separator.compare(QLatin1String("tab"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("\t");
    if (separator[0] == QChar(0x3000)) return QStringLiteral(" ");
    return separator;
}

QString statColumnMap(int labelCells) {
    switch (labelCells) {
        case 1:
            return QStringLiteral("123456");
        case 2:
            return QStringLiteral("1823456");
        case 3:
            return QStringLiteral("18923456");
        default:
            return QStringLiteral("23456");
    }
}

bool isBlankCell(QStringView cell) {
    const QStringView t = trimSpaces(cell);
    return t.isEmpty() || t[0].unicode() < u' ';
}

QString ZelFenJieShuJu(const QString& input, const QString& separator, const QString& columnMap,
                       StatTable& table) {
    const QString sep = normalizedStatSeparator(separator);
    table.rows.clear();
    if (input.isEmpty()) return sep;
    QString text = input;
    if (!text.endsWith(u'\r') && !text.endsWith(QLatin1String("\r\n")))
        text.append(QLatin1String("\r\n"));
    table.rows.resize(text.count(u'\r'));

    const QChar sepChar = sep[0];
    const qsizetype length = text.size();
    const QChar* d = text.constData();
    qsizetype start = 0;
    qsizetype cell = 0;
    qsizetype row = 0;
    for (qsizetype p = 0; p < length;) {
        const QChar c = d[p];
        if (c != sepChar && c != u'\r') {
            ++p;
            continue;
        }
        if (cell < columnMap.size() && isSlotDigit(columnMap[cell]) && row < table.rows.size())
            table.rows[row][columnMap[cell].unicode() - u'1'] = text.mid(start, p - start);
        if (c == sepChar) {
            start = ++p;
            ++cell;
            continue;
        }
        if (p + 1 >= length || (p + 2 == length && d[p + 1] == u'\n')) break;
        p += (d[p + 1] == u'\n') ? 2 : 1;
        start = p;
        cell = 0;
        ++row;
    }
    return sep;
}

QString ZelZhengLiShuJu(StatTable& table, const QString& separator, const QString& columnMap,
                        bool align) {
    const QString sep = normalizedStatSeparator(separator);
    QString map = columnMap.isEmpty() ? QStringLiteral("123456789") : columnMap;
    for (QStringList& l : table.lists) l.clear();
    for (QList<Num>& l : table.values) l.clear();
    table.nonNumbers.clear();
    table.widths.fill(0);

    for (StatRow& row : table.rows) {
        for (int slot = 1; slot <= 9; ++slot) {
            QString& field = row[slot - 1];
            if (isBlankCell(field)) continue;
            QString t;
            if (slot >= 2 && slot <= 7) {
                double ignored = 0;
                if (!textToDouble(trimSpaces(QStringView(field)), ignored))
                    table.nonNumbers.append(
                        {int(&row - table.rows.data()) + 1, slot, trimSpaces(field)});
                const Num v = ZelShuZhuanShu(Num::ofText(field));
                t = trimmedText(v);
                field = t;
                if (isBlankCell(t)) continue;
                table.values[slot - 1].append(
                    v.isDecimal() ? Num::ofDecimal(canonicalDecimal(v.decimal())) : Num());
            } else {
                t = trimSpaces(field);
            }
            table.lists[slot - 1].append(t);
            table.widths[slot - 1] = std::max(table.widths[slot - 1], displayWidth(t));
        }
    }

    const bool aligned = align && sep != QLatin1String(" ");
    const QChar sepChar = sep[0];
    QString out;
    out.reserve(table.rows.size() * (map.size() * 4 + 2));
    for (const StatRow& row : table.rows) {
        const qsizetype lineStart = out.size();
        for (const QChar digit : map) {
            if (!isSlotDigit(digit)) continue;
            const int slot = digit.unicode() - u'0';
            const QStringView u = trimSpaces(QStringView(row[slot - 1]));
            if (aligned) {
                const int pad = table.widths[slot - 1] - displayWidth(u) + 1;
                if (pad > 0) out.resize(out.size() + pad, u' ');
                out.append(u).append(u' ').append(sepChar);
            } else {
                out.append(u).append(sepChar);
            }
        }
        if (out.size() > lineStart) out.chop(1);
        out.append(QLatin1String("\r\n"));
    }
    return out;
}

StatValues::StatValues(int n, const QStringList& list) : StatValues(n, list, {}) {}

StatValues::StatValues(int n, const QStringList& list, const QList<Num>& values) : n_(n) {
    if (n <= 0) return;
    values_.reserve(n);
    blank_.reserve(n);
    for (int i = 0; i < n; ++i) {
        const QString entry = i < list.size() ? list[i] : QString();
        if (i < values.size() && values[i].isDecimal())
            values_.append(values[i]);
        else
            values_.append(ZelShuZhuanShu(Num::ofText(entry)));
        blank_.append(isBlankCell(entry));
    }
}

Num StatValues::sum() const {
    Num s = zero();
    for (qsizetype i = 0; i < values_.size(); ++i) {
        if (blank_[i]) continue;
        try {
            s = mixedAdd(s, values_[i]);
        } catch (...) {
        }
    }
    return s;
}

Num StatValues::maximum() const {
    if (n_ <= 0) return zero();
    Num m = values_[0];
    for (const Num& v : values_) {
        try {
            if (statLessThan(m, v)) m = v;
        } catch (...) {
        }
    }
    return m;
}

Num StatValues::minimum() const {
    if (n_ <= 0) return zero();
    Num m = values_[0];
    for (const Num& v : values_) {
        try {
            if (statLessThan(v, m)) m = v;
        } catch (...) {
        }
    }
    return m;
}

Num StatValues::mean() const {
    Num s = sum();
    if (n_ > 1) {
        try {
            s = mixedDiv(s, Num::ofDecimal(Decimal(n_)));
        } catch (...) {
        }
    }
    return s;
}

Num StatValues::deviation(const Num& mean, bool sample) const {
    const int divisor = sample ? n_ - 1 : n_;
    if (divisor < 1) return zero();
    return deviation(squaredDeviations(mean), divisor);
}

Num StatValues::squaredDeviations(const Num& mean) const {
    Num s = zero();
    for (qsizetype i = 0; i < values_.size(); ++i) {
        if (blank_[i]) continue;
        try {
            const Num d = mixedSub(values_[i], mean);
            s = mixedAdd(s, mixedMul(d, d));
        } catch (...) {
        }
    }
    return s;
}

Num StatValues::deviation(const Num& squaredDeviations, int divisor) {
    if (divisor < 1) return zero();
    Num q;
    try {
        q = mixedDiv(squaredDeviations, Num::ofDecimal(Decimal(divisor)));
    } catch (...) {
        return zero();
    }
    return ZelChengFang(q, Num::ofDecimal(Decimal::fromParts(5, 1, false)));
}

Num StatValues::coefficient(const Num& deviation, const Num& mean) {
    if (isZeroValue(deviation)) return zero();
    if (isZeroValue(mean)) return Num::ofDouble(1e28);
    try {
        return mixedDiv(deviation, mean);
    } catch (...) {
    }
    return zero();
}

Num ZelHeJiShu(int n, const QStringList& list) { return StatValues(n, list).sum(); }
Num ZelZuiDaZhi(int n, const QStringList& list) { return StatValues(n, list).maximum(); }
Num ZelZuiXiaoZhi(int n, const QStringList& list) { return StatValues(n, list).minimum(); }
Num ZelPingJunZhi(int n, const QStringList& list) { return StatValues(n, list).mean(); }

Num ZelJunFangCha(int n, const QStringList& list) {
    const StatValues v(n, list);
    return v.deviation(v.mean(), true);
}

Num ZelJunFangChaN(int n, const QStringList& list) {
    const StatValues v(n, list);
    return v.deviation(v.mean(), false);
}

Num ZelBianYiXiShu(int n, const QStringList& list) {
    const StatValues v(n, list);
    const Num mean = v.mean();
    return StatValues::coefficient(v.deviation(mean, true), mean);
}

Num ZelBianYiXiShuN(int n, const QStringList& list) {
    const StatValues v(n, list);
    const Num mean = v.mean();
    return StatValues::coefficient(v.deviation(mean, false), mean);
}

}  // namespace hc
