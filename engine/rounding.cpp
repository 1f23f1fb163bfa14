#include "engine/rounding.h"

#include <iconv.h>

#include <atomic>
#include <mutex>
#include <string_view>

#include "engine/calc_log.h"
#include "engine/double_text.h"
#include "engine/number_routines.h"
#include "engine/text_trim.h"

namespace hc {
namespace {

char16_t code(QChar c) { return c.unicode(); }
char16_t code(char c) { return static_cast<unsigned char>(c); }

template <typename Chars>
int countSignificant(const Chars& t) {
    int k = 0;
    for (const auto ch : t) {
        const char16_t c = code(ch);
        const bool digit = c >= u'0' && c <= u'9';
        if (digit && (c != u'0' || k > 0)) ++k;
        if (!(digit || c == u' ' || c == u'.' || c == u'+' || c == u'-')) break;
    }
    return k;
}

constexpr Decimal::u128 pow10(int n) {
    Decimal::u128 p = 1;
    for (int i = 0; i < n; ++i) p *= 10;
    return p;
}

// Half away from zero at n places, decided on the decimal digits of v.
Decimal roundHalfAway(const Decimal& v, int n) {
    if (v.scale() <= n) return v;
    const Decimal::u128 p = pow10(v.scale() - n);
    Decimal::u128 q = v.coefficient() / p;
    const Decimal::u128 r = v.coefficient() % p;
    if (r >= p - r) ++q;
    return Decimal::fromParts(q, n, v.isNegative());
}

}  // namespace

int ZelYouXiao109ChangDu(const Num& x) {
    try {
        switch (x.kind()) {
            case Num::Kind::Decimal:
                return significantDigits(x.decimal());
            case Num::Kind::Integer:
                return significantDigits(Decimal(x.integer()));
            case Num::Kind::Double: {
                char buf[kDoubleTextCapacity];
                const int n = writeDoubleText(x.dbl(), buf);
                return countSignificant(std::string_view(buf, static_cast<std::size_t>(n)));
            }
            case Num::Kind::Text:
                return countSignificant(QStringView(x.rawText()));
        }
    } catch (...) {
    }
    try {
        QString m = QStringLiteral("进行[判断数的有效109字符长度]运算时， ");
        m.append(trimmedText(x)).append(u" 出现错误！");
        calcLog().report(m);
    } catch (...) {
    }
    return -1;
}

QString ZelYouXiaoChangDu(const Num& x, int n) {
    try {
        const QString v = trimmedText(x);
        qsizetype end = v.size();
        for (qsizetype i = v.size() - 1; i >= 0; --i) {
            if (v[i] == u'E' || v[i] == u'e') {
                end = i;
                break;
            }
        }
        int k = 0;
        int points = 0;
        for (qsizetype i = 0; i < end; ++i) {
            const char16_t c = v[i].unicode();
            if (c == u'.') ++points;
            if ((c >= u'1' && c <= u'9') || (c == u'0' && k > 0)) ++k;
            // Integer digits are never dropped: the cut waits for the point.
            if (k >= n && points > 0) {
                if (i + 1 == end) return v;
                return v.left(i + 1) + v.sliced(end);
            }
        }
        return v;
    } catch (...) {
    }
    try {
        QString m = QStringLiteral("进行[Zel有效长度]运算时，");
        m.append(trimmedText(x)).append(u"数值超出计算范围！返回数值 -1。");
        calcLog().report(m);
    } catch (...) {
    }
    return QStringLiteral("-1");
}

Num ZelSiSheWuRu(const Num& x, int n) {
    try {
        const Num v = ZelShuZhuanShu(x);
        if (ZelDuoShaoE(v) > 0) return v;
        if (n > Decimal::kMaxScale) n = Decimal::kMaxScale;
        if (n < 0) n = 0;
        return Num::ofDecimal(roundHalfAway(v.toDecimal(), n));
    } catch (...) {
    }
    try {
        QString m = QStringLiteral("进行[四舍五入]运算时，");
        m.append(trimmedText(x)).append(u"数值超出计算范围！返回 [空值] 。");
        calcLog().report(m);
    } catch (...) {
    }
    return Num::failure(QString());
}

QString ZelZhengShuBuFen(const Num& x) {
    try {
        const Num v = ZelShuZhuanShu(x);
        const QString t = trimmedText(v);
        if (ZelDuoShaoE(v) > 0) {
            const double d = v.toDouble();
            if (d > 10000 || d < -10000) return t;
            return d > 0 ? QStringLiteral("0") : QStringLiteral("-0");
        }
        const qsizetype point = t.indexOf(u'.');
        const QString r = point < 0 ? t : t.left(point);
        if (r.isEmpty()) return QStringLiteral("0");
        if (r == u"-") return QStringLiteral("-0");
        return trimSpaces(r);
    } catch (...) {
    }
    try {
        QString m = QStringLiteral("进行[取数值的整数部分]运算时，");
        m.append(trimmedText(x)).append(u"数值超出计算范围！返回数值 0 。");
        calcLog().report(m);
    } catch (...) {
    }
    return QStringLiteral("0");
}

QString ZelXiaoShuBuFen(const Num& x) {
    try {
        const Num v = ZelShuZhuanShu(x);
        const QString t = trimmedText(v);
        if (ZelDuoShaoE(v) <= 0) {
            const qsizetype point = t.lastIndexOf(u'.');
            if (point < 0) return QStringLiteral("0");
            return t.sliced(point + 1);
        }
        const double d = v.toDouble();
        if (d > 10000 || d < -10000) return QStringLiteral("0");
        return t;
    } catch (...) {
    }
    try {
        QString m = QStringLiteral("进行[取数值的小数部分]运算时，");
        m.append(trimmedText(x)).append(u"数值超出计算范围！返回数值 0 。");
        calcLog().report(m);
    } catch (...) {
    }
    return QStringLiteral("0");
}

namespace {

// Width of a character that code page 936 cannot write: 2 in the wide East Asian
// ranges (Hangul, CJK extensions, full-width forms, ideographs beyond the BMP), else 1.
int unrepresentableWidth(char32_t c) {
    const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
                      (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
                      (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
                      (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
    return wide ? 2 : 1;
}

// Bytes code page 936 writes for c: 1, 2, or 0 when it has no code for it.
int cp936Bytes(char16_t c) {
    static std::mutex mutex;
    static iconv_t cd = iconv_open("CP936", "UTF-16LE");
    if (cd == reinterpret_cast<iconv_t>(-1)) return 0;
    const std::lock_guard<std::mutex> lock(mutex);
    char in[2] = {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    char out[8];
    char* ip = in;
    char* op = out;
    std::size_t il = sizeof in;
    std::size_t ol = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &ip, &il, &op, &ol) == static_cast<std::size_t>(-1)) return 0;
    return static_cast<int>(op - out);
}

// Column width of a BMP character, asked of iconv once and then cached.
int bmpWidth(char16_t c) {
    static std::atomic<unsigned char> cache[0x10000];
    unsigned char w = cache[c].load(std::memory_order_relaxed);
    if (w == 0) {
        const int bytes = cp936Bytes(c);
        w = static_cast<unsigned char>(bytes == 1 ? 1 : bytes == 2 ? 2 : unrepresentableWidth(c));
        cache[c].store(w, std::memory_order_relaxed);
    }
    return w;
}

}  // namespace

int ZelXianShiKuanDu(const QString& s) {
    int width = 0;
    const qsizetype n = s.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i].unicode();
        if (c < 0x80) {
            ++width;
        } else if (QChar::isHighSurrogate(c) && i + 1 < n &&
                   QChar::isLowSurrogate(s[i + 1].unicode())) {
            width += unrepresentableWidth(QChar::surrogateToUcs4(c, s[i + 1].unicode()));
            ++i;
        } else if (QChar::isSurrogate(c)) {
            ++width;
        } else {
            width += bmpWidth(c);
        }
    }
    return width;
}

}  // namespace hc
