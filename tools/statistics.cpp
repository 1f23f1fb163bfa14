#include "tools/statistics.h"

#include "engine/number.h"
#include "engine/power.h"
#include "engine/rounding.h"

namespace hc {
namespace {

Num zero() { return Num::ofDecimal(Decimal(0)); }

// a < b on the numeric values; throws DecimalError when either is no number.
bool lessThan(const Num& a, const Num& b) {
    const bool exactA = a.isDecimal() || a.isInteger();
    const bool exactB = b.isDecimal() || b.isInteger();
    if (exactA && exactB) return a.toDecimal() < b.toDecimal();
    return a.toDouble() < b.toDouble();
}

bool isSlotDigit(QChar c) { return c >= u'1' && c <= u'9'; }

// The Decimal that the canonical text of d reads back as: no trailing fraction
// zeros, no negative zero.
Decimal canonical(const Decimal& d) {
    Decimal::u128 c = d.coefficient();
    int scale = d.scale();
    while (scale > 0 && c % 10 == 0) {
        c /= 10;
        --scale;
    }
    return Decimal::fromParts(c, scale, d.isNegative());
}

// ZelXianShiKuanDu without a copy for the common all-ASCII cell.
int displayWidth(QStringView s) {
    for (const QChar c : s)
        if (c.unicode() >= 0x80) return ZelXianShiKuanDu(s.toString());
    return int(s.size());
}

}  // namespace

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
    ZelChongZhi();
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
    ZelChongZhi();
    const QString sep = normalizedStatSeparator(separator);
    QString map = columnMap.isEmpty() ? QStringLiteral("123456789") : columnMap;
    for (QStringList& l : table.lists) l.clear();
    for (QList<Num>& l : table.values) l.clear();
    table.widths.fill(0);

    for (StatRow& row : table.rows) {
        for (int slot = 1; slot <= 9; ++slot) {
            QString& field = row[slot - 1];
            if (isBlankCell(field)) continue;
            QString t;
            if (slot >= 2 && slot <= 7) {
                const Num v = ZelShuZhuanShu(Num::ofText(field));
                t = trimmedText(v);
                field = t;
                if (isBlankCell(t)) continue;
                table.values[slot - 1].append(v.isDecimal() ? Num::ofDecimal(canonical(v.decimal()))
                                                            : Num());
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
            if (lessThan(m, v)) m = v;
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
            if (lessThan(v, m)) m = v;
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
