#include "engine/number_routines.h"

#include <cmath>

#include "engine/calc_log.h"
#include "engine/double_text.h"
#include "engine/number_reader.h"
#include "engine/rounding.h"
#include "engine/text_trim.h"

namespace hc {
namespace {

// The double nearest to 7.92281625142642E+28 lies slightly below the Decimal
// maximum, so every double under it converts.
constexpr double kDecimalLimit = 7.92281625142642E+28;
constexpr double kDecimalSmallest = 1E-28;
// Above this magnitude a scale of 28 keeps at least 16 significant digits, more
// than the 15 of a double's text, so the digit comparison cannot pick the double.
constexpr double kDigitCheckBelow = 1E-13;

bool inDecimalRange(double d) {
    const double m = std::fabs(d);
    return d == 0 || (m >= kDecimalSmallest && m < kDecimalLimit);
}

constexpr Decimal::u128 pow10u128(int n) {
    Decimal::u128 p = 1;
    for (int i = 0; i < n; ++i) p *= 10;
    return p;
}
constexpr Decimal::u128 kTenTo28 = pow10u128(28);

// Steps 3-7 of the reader once the double and (lazily) the Decimal are known.
Num doubleOperand(double d) {
    if (!std::isfinite(d)) throw DecimalError("not a finite number");
    if (!inDecimalRange(d)) {
        calcLog().limitTo(15);
        return Num::ofDouble(d);
    }
    const Decimal v = decimalOfDouble(d);
    if (d != 0 && std::fabs(d) < kDigitCheckBelow &&
        ZelYouXiao109ChangDu(Num::ofDouble(d)) > significantDigits(v)) {
        calcLog().limitTo(15);
        return Num::ofDouble(d);
    }
    return Num::ofDecimal(v);
}

// True when |v| lies between 1E-12 and 7E+28: the double of any text that reads as
// v is then within the Decimal range and above the digit check, so the text is
// the Decimal v without asking for its double.
bool plainlyDecimal(const Decimal& v) {
    const Decimal::u128 c = v.coefficient();
    if (c == 0) return false;
    if (v.scale() > 12 && c < pow10u128(v.scale() - 12)) return false;
    return v.scale() > 0 || c < 7 * pow10u128(28);
}

Num textOperand(QStringView text) {
    const QStringView t = trimSpaces(text);
    if (t.isEmpty()) return Num::ofDecimal(Decimal());
    const NumberTextReader reader(t);
    Decimal plain;
    if (reader.toDecimal(plain) && plainlyDecimal(plain)) return Num::ofDecimal(plain);
    double d = 0;
    if (!reader.toDouble(d)) throw DecimalError("not a number");
    if (!inDecimalRange(d)) {
        calcLog().limitTo(15);
        return Num::ofDouble(d);
    }
    Decimal v;
    if (!reader.toDecimal(v)) throw DecimalError("not a number");
    if (d != 0 && std::fabs(d) < kDigitCheckBelow &&
        ZelYouXiao109ChangDu(Num::ofDouble(d)) > significantDigits(v)) {
        calcLog().limitTo(15);
        return Num::ofDouble(d);
    }
    return Num::ofDecimal(v);
}

QString message(const char16_t* label, const QString& operand, const char16_t* ending) {
    QString m = QStringLiteral("  进行[");
    m.append(QStringView(label)).append(u"]运算时， ").append(operand).append(QStringView(ending));
    return m;
}

// The report of an operand that is no number, naming the trimmed text that
// `trimmed` gives, and the failure it gives.
template <typename TrimmedText>
Num readFailure(TrimmedText trimmed) {
    try {
        calcLog().report(message(u"Zel数转数", trimmed(),
                                 u" 数值超出计算范围，我无法计算！返回数值用[空值]表示。"));
    } catch (...) {
    }
    return Num::failure(QStringLiteral("0"));
}

}  // namespace

Num ZelShuZhuanShu(const Num& x) {
    try {
        switch (x.kind()) {
            case Num::Kind::Decimal: {
                const Decimal& v = x.decimal();
                if (v.coefficient() < kTenTo28) return x;
                const double d = doubleOfDecimal(v);
                if (inDecimalRange(d)) return x;
                calcLog().limitTo(15);
                return Num::ofDouble(d);
            }
            case Num::Kind::Integer:
                return Num::ofDecimal(Decimal(x.integer()));
            case Num::Kind::Double:
                return doubleOperand(x.dbl());
            case Num::Kind::Text:
                return textOperand(x.rawText());
        }
    } catch (...) {
    }
    return readFailure([&] { return trimmedText(x); });
}

Num ZelShuZhuanShu(QStringView text) {
    try {
        return textOperand(text);
    } catch (...) {
    }
    return readFailure([&] { return trimSpaces(text).toString(); });
}

int ZelDuoShaoE(const Num& x) {
    try {
        if (x.isText()) {
            int n = 0;
            for (const QChar c : x.rawText())
                if (c == u'E' || c == u'e') ++n;
            return n;
        }
        return hasExponentText(x) ? 1 : 0;
    } catch (...) {
    }
    try {
        calcLog().report(message(u"Zel多少E", trimmedText(x),
                                 u" 数值超出计算范围，我无法计算！返回数值用 -1 表示。"));
    } catch (...) {
    }
    return -1;
}

namespace {

struct CharMapping {
    const char16_t* from;
    char16_t to;
};

constexpr CharMapping kTypedCharacters[] = {
    {u"一１壹", u'1'},         {u"二２贰", u'2'}, {u"三３叁", u'3'},    {u"四４肆", u'4'},
    {u"五５伍", u'5'},         {u"六６陆", u'6'}, {u"七７柒", u'7'},    {u"八８捌", u'8'},
    {u"九９玖", u'9'},         {u"另０零", u'0'}, {u"。点．·、", u'.'}, {u"正加＋╋┼", u'+'},
    {u"负减_＿－±―—─━", u'-'},
};

char16_t mapTypedCharacter(char16_t c) {
    if (c < 0x80 && c != u'_') return c;
    for (const CharMapping& m : kTypedCharacters)
        for (const char16_t* p = m.from; *p; ++p)
            if (*p == c) return m.to;
    return c;
}

bool keptCharacter(char16_t c) {
    return (c >= u'0' && c <= u'9') || c == u'.' || c == u'+' || c == u'-' || c == u'e';
}

// The pair (a, b) collapsed to one character, or 0 when it is no pair.
char16_t collapsedPair(char16_t a, char16_t b) {
    if (a == u'.' && b == u'.') return u'.';
    if ((a == u'+' || a == u'-') && (b == u'+' || b == u'-')) return a == b ? u'+' : u'-';
    return 0;
}

}  // namespace

Num ZelChuanZhuanShu(const Num& x) {
    try {
        const QString t = trimSpaces(x.text()).toLower();
        if (t.isEmpty() || t[0].unicode() < u' ') return Num::ofInt(0);

        QString s;
        s.reserve(t.size());
        for (const QChar ch : t) {
            const char16_t c = mapTypedCharacter(ch.unicode());
            if (!keptCharacter(c)) continue;
            // An exponent letter swallows the sign, point or letter before it.
            if (c == u'e' && !s.isEmpty()) {
                const char16_t prev = s.back().unicode();
                if (prev == u'+' || prev == u'-' || prev == u'.' || prev == u'e') s.chop(1);
            }
            s.append(QChar(c));
        }

        qsizetype lead = 0;
        while (lead < s.size() && s[lead] == u'e') ++lead;
        s.remove(0, lead);
        if (!s.isEmpty() && s.back() == u'e') s.chop(1);
        if (s.isEmpty()) return Num::ofInt(0);

        QString c;
        c.reserve(s.size());
        for (const QChar ch : s) {
            if (!c.isEmpty()) {
                const char16_t merged = collapsedPair(c.back().unicode(), ch.unicode());
                if (merged) {
                    c.back() = QChar(merged);
                    continue;
                }
            }
            c.append(ch);
        }

        bool point = false;
        bool exponent = false;
        for (qsizetype i = 0; i < c.size(); ++i) {
            if ((c[i] == u'.' && (point || exponent)) || (c[i] == u'e' && exponent)) {
                c.truncate(i);
                break;
            }
            if (c[i] == u'.') point = true;
            if (c[i] == u'e') exponent = true;
        }
        return ZelShuZhuanShu(Num::ofText(c));
    } catch (...) {
    }
    try {
        calcLog().report(message(u"Zel串转数", trimmedText(x),
                                 u" 数值超出计算范围，无法计算！返回数值用 [空值] 表示。"));
    } catch (...) {
    }
    return Num::failure(QString());
}

}  // namespace hc
