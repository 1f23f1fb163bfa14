#include "engine/number.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

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
constexpr Decimal::u128 kCoefficientLimit = static_cast<Decimal::u128>(1) << 96;

const QString& zeroText() {
    static const QString t = QStringLiteral("0");
    return t;
}

// ASCII copy of a number text for std::from_chars; stays on the stack for the
// texts formulas carry.
class CharBuffer {
public:
    explicit CharBuffer(qsizetype n) {
        if (n > kInline) {
            heap_.resize(static_cast<std::size_t>(n));
            ptr_ = heap_.data();
        }
    }
    char* data() { return ptr_; }

private:
    static constexpr qsizetype kInline = 96;
    char inline_[kInline];
    std::string heap_;
    char* ptr_ = inline_;
};

// A text that matched the number grammar, with what the readers need of it.
struct ScannedNumber {
    bool negative = false;
    int length = 0;                 // ASCII characters written (no leading "+")
    int digits = 0;                 // digits from the first non-zero digit on
    Decimal::u128 coefficient = 0;  // those digits, when there are at most 29
    int fractionDigits = 0;
    int leadOrder = 0;  // decimal exponent of the first non-zero digit, exponent part aside
    long exponent = 0;  // exponent part, clamped to +-1000000
};

// Checks a trimmed text against the number grammar: sign, digits with at most one
// point (at least one digit), optional e/E, sign and digits. Writes the text for
// std::from_chars into out (capacity t.size()).
bool scanNumber(QStringView t, char* out, ScannedNumber& s) {
    const qsizetype n = t.size();
    qsizetype i = 0;
    int len = 0;
    if (n == 0) return false;
    if (t[0] == u'+' || t[0] == u'-') {
        s.negative = t[0] == u'-';
        if (s.negative) out[len++] = '-';
        ++i;
    }
    bool point = false;
    bool anyDigit = false;
    int intDigits = 0;
    int leadInt = -1;   // index among the integer digits of the first non-zero digit
    int leadFrac = -1;  // its position after the point, from 1
    for (; i < n; ++i) {
        const char16_t c = t[i].unicode();
        if (c >= u'0' && c <= u'9') {
            out[len++] = static_cast<char>(c);
            anyDigit = true;
            if (point)
                ++s.fractionDigits;
            else
                ++intDigits;
            if (s.digits > 0 || c != u'0') {
                if (s.digits == 0) {
                    if (point)
                        leadFrac = s.fractionDigits;
                    else
                        leadInt = intDigits - 1;
                }
                ++s.digits;
                if (s.digits <= 29) s.coefficient = s.coefficient * 10 + (c - u'0');
            }
        } else if (c == u'.' && !point) {
            point = true;
            out[len++] = '.';
        } else {
            break;
        }
    }
    if (!anyDigit) return false;
    if (i < n) {
        if (t[i] != u'e' && t[i] != u'E') return false;
        out[len++] = 'e';
        ++i;
        bool expNegative = false;
        if (i < n && (t[i] == u'+' || t[i] == u'-')) {
            expNegative = t[i] == u'-';
            out[len++] = static_cast<char>(t[i].unicode());
            ++i;
        }
        if (i >= n) return false;
        long e = 0;
        for (; i < n; ++i) {
            const char16_t c = t[i].unicode();
            if (c < u'0' || c > u'9') return false;
            out[len++] = static_cast<char>(c);
            if (e < 1000000) e = e * 10 + (c - u'0');
        }
        s.exponent = expNegative ? -e : e;
    }
    if (leadInt >= 0)
        s.leadOrder = intDigits - 1 - leadInt;
    else if (leadFrac >= 0)
        s.leadOrder = -leadFrac;
    s.length = len;
    return true;
}

// Reads the scanned text as a double; an underflow reads as zero, an overflow fails.
bool scannedToDouble(const char* text, const ScannedNumber& s, double& out) {
    double d = 0;
    const auto r = std::from_chars(text, text + s.length, d, std::chars_format::general);
    if (r.ptr != text + s.length) return false;
    if (r.ec == std::errc::result_out_of_range) {
        if (s.leadOrder + s.exponent >= 0) return false;
        d = s.negative ? -0.0 : 0.0;
    } else if (r.ec != std::errc()) {
        return false;
    }
    out = d;
    return true;
}

// The Decimal of a scanned text: built directly when its digits fit exactly,
// otherwise left to Decimal's own reader, which rounds.
bool scannedToDecimal(QStringView t, const ScannedNumber& s, Decimal& out) {
    if (s.digits == 0) {
        out = Decimal();
        return true;
    }
    if (s.digits <= 29 && s.coefficient < kCoefficientLimit) {
        const long scale = s.fractionDigits - s.exponent;
        if (scale >= 0 && scale <= Decimal::kMaxScale) {
            out = Decimal::fromParts(s.coefficient, static_cast<int>(scale), s.negative);
            return true;
        }
        if (scale < 0 && s.digits - scale <= 29) {
            const Decimal::u128 c = s.coefficient * pow10u128(static_cast<int>(-scale));
            if (c < kCoefficientLimit) {
                out = Decimal::fromParts(c, 0, s.negative);
                return true;
            }
        }
    }
    return Decimal::tryFromText(t, out);
}

int significantDigitsOf(const char* p, int n) {
    int k = 0;
    for (int i = 0; i < n; ++i) {
        const char c = p[i];
        if (c >= '1' && c <= '9')
            ++k;
        else if (c == '0' && k > 0)
            ++k;
        if (!((c >= '0' && c <= '9') || c == ' ' || c == '.' || c == '+' || c == '-')) break;
    }
    return k;
}

int doubleSignificantDigits(double d) {
    char buf[kDoubleTextCapacity];
    const int n = writeDoubleText(d, buf);
    return significantDigitsOf(buf, n);
}

// Steps 3-7 of the reader once the double and (lazily) the Decimal are known.
Num doubleOperand(double d) {
    if (!std::isfinite(d)) throw DecimalError("not a finite number");
    if (!inDecimalRange(d)) {
        calcState().limitTo(15);
        return Num(d);
    }
    const Decimal v = Decimal::fromDouble(d);
    if (d != 0 && std::fabs(d) < kDigitCheckBelow &&
        doubleSignificantDigits(d) > significantDigits(v)) {
        calcState().limitTo(15);
        return Num(d);
    }
    return Num(v);
}

Num textOperand(const QString& text) {
    const QStringView t = trimSpaces(QStringView(text));
    if (t.isEmpty()) return Num(Decimal());
    CharBuffer buf(t.size());
    ScannedNumber s;
    double d = 0;
    if (!scanNumber(t, buf.data(), s) || !scannedToDouble(buf.data(), s, d))
        throw DecimalError("not a number");
    if (!inDecimalRange(d)) {
        calcState().limitTo(15);
        return Num(d);
    }
    Decimal v;
    if (!scannedToDecimal(t, s, v)) throw DecimalError("not a number");
    if (d != 0 && std::fabs(d) < kDigitCheckBelow &&
        doubleSignificantDigits(d) > significantDigits(v)) {
        calcState().limitTo(15);
        return Num(d);
    }
    return Num(v);
}

QString message(const char16_t* label, const QString& operand, const char16_t* ending) {
    QString m = QStringLiteral("  进行[");
    m.append(QStringView(label)).append(u"]运算时， ").append(operand).append(QStringView(ending));
    return m;
}

}  // namespace

int writeDoubleText(double d, char (&buf)[kDoubleTextCapacity]) {
    if (std::isnan(d)) {
        std::memcpy(buf, "NaN", 3);
        return 3;
    }
    if (std::isinf(d)) {
        if (d < 0) {
            std::memcpy(buf, "-Infinity", 9);
            return 9;
        }
        std::memcpy(buf, "Infinity", 8);
        return 8;
    }
    if (d == 0) {
        buf[0] = '0';
        return 1;
    }
    // d.dddddddddddddde[+-]xx[x]: fifteen significant digits, rounded.
    char sci[kDoubleTextCapacity];
    const auto r =
        std::to_chars(sci, sci + sizeof sci, std::fabs(d), std::chars_format::scientific, 14);
    char digits[15];
    digits[0] = sci[0];
    std::memcpy(digits + 1, sci + 2, 14);
    int nd = 15;
    while (nd > 1 && digits[nd - 1] == '0') --nd;
    int exp = 0;
    for (const char* p = sci + 18; p < r.ptr; ++p) exp = exp * 10 + (*p - '0');
    if (sci[17] == '-') exp = -exp;

    int len = 0;
    if (d < 0) buf[len++] = '-';
    if (exp < -4 || exp >= 15) {
        buf[len++] = digits[0];
        if (nd > 1) {
            buf[len++] = '.';
            for (int i = 1; i < nd; ++i) buf[len++] = digits[i];
        }
        buf[len++] = 'E';
        buf[len++] = exp < 0 ? '-' : '+';
        const int a = std::abs(exp);
        if (a >= 100) buf[len++] = static_cast<char>('0' + a / 100);
        buf[len++] = static_cast<char>('0' + a / 10 % 10);
        buf[len++] = static_cast<char>('0' + a % 10);
    } else if (exp >= 0) {
        for (int i = 0; i <= exp; ++i) buf[len++] = i < nd ? digits[i] : '0';
        if (nd > exp + 1) {
            buf[len++] = '.';
            for (int i = exp + 1; i < nd; ++i) buf[len++] = digits[i];
        }
    } else {
        buf[len++] = '0';
        buf[len++] = '.';
        for (int i = 0; i < -exp - 1; ++i) buf[len++] = '0';
        for (int i = 0; i < nd; ++i) buf[len++] = digits[i];
    }
    return len;
}

QString doubleToText(double d) {
    char buf[kDoubleTextCapacity];
    const int n = writeDoubleText(d, buf);
    return QString::fromLatin1(buf, n);
}

bool textToDouble(const QString& text, double& out) {
    const QStringView t = trimSpaces(QStringView(text));
    if (t.isEmpty()) return false;
    CharBuffer buf(t.size());
    ScannedNumber s;
    return scanNumber(t, buf.data(), s) && scannedToDouble(buf.data(), s, out);
}

int significantDigits(const Decimal& d) {
    Decimal::u128 c = d.coefficient();
    if (c == 0) return 0;
    int scale = d.scale();
    while (scale > 0 && c % 10 == 0) {
        c /= 10;
        --scale;
    }
    int n = 0;
    for (; c != 0; c /= 10) ++n;
    return n;
}

bool hasExponentText(const Num& x) {
    switch (x.kind()) {
        case Num::Kind::Decimal:
        case Num::Kind::Integer:
            return false;
        case Num::Kind::Double: {
            char buf[kDoubleTextCapacity];
            const int n = writeDoubleText(x.dbl(), buf);
            return std::memchr(buf, 'E', static_cast<std::size_t>(n)) != nullptr;
        }
        case Num::Kind::Text:
            for (const QChar c : x.rawText())
                if (c == u'E' || c == u'e') return true;
            return false;
    }
    return false;
}

QString Num::text() const {
    switch (kind_) {
        case Kind::Decimal:
            return dec_.toString();
        case Kind::Double:
            return doubleToText(dbl_);
        case Kind::Integer:
            return QString::number(int_);
        case Kind::Text:
            return text_;
    }
    return text_;
}

Decimal Num::toDecimal() const {
    switch (kind_) {
        case Kind::Decimal:
            return dec_;
        case Kind::Double:
            return Decimal::fromDouble(dbl_);
        case Kind::Integer:
            return Decimal(int_);
        case Kind::Text:
            break;
    }
    const QStringView t = trimSpaces(QStringView(text_));
    if (t.isEmpty()) throw DecimalError("empty text is not a number");
    CharBuffer buf(t.size());
    ScannedNumber s;
    Decimal v;
    if (!scanNumber(t, buf.data(), s) || !scannedToDecimal(t, s, v))
        throw DecimalError("not a number");
    return v;
}

double Num::toDouble() const {
    switch (kind_) {
        case Kind::Decimal:
            return dec_.toDouble();
        case Kind::Double:
            return dbl_;
        case Kind::Integer:
            return int_;
        case Kind::Text:
            break;
    }
    double d = 0;
    if (!textToDouble(text_, d)) throw DecimalError("not a number");
    return d;
}

namespace {

enum class MixedOp { Add, Sub, Mul, Div };

Decimal mixedOperand(const Num& a) {
    if (a.isDouble() && !(std::fabs(a.dbl()) < kDecimalLimit))
        throw DecimalError("double beyond the Decimal range");
    return a.toDecimal();
}

Num mixed(const Num& a, const Num& b, MixedOp op) {
    if (a.isDecimal() || b.isDecimal() || !(a.isDouble() || b.isDouble())) {
        const Decimal x = mixedOperand(a);
        const Decimal y = mixedOperand(b);
        switch (op) {
            case MixedOp::Add:
                return Num(x + y);
            case MixedOp::Sub:
                return Num(x - y);
            case MixedOp::Mul:
                return Num(x * y);
            case MixedOp::Div:
                return Num(x / y);
        }
    }
    const double x = a.toDouble();
    const double y = b.toDouble();
    double r = 0;
    switch (op) {
        case MixedOp::Add:
            r = x + y;
            break;
        case MixedOp::Sub:
            r = x - y;
            break;
        case MixedOp::Mul:
            r = x * y;
            break;
        case MixedOp::Div:
            if (y == 0) throw DecimalError("division by zero");
            r = x / y;
            break;
    }
    if (!std::isfinite(r)) throw DecimalError("double overflow");
    calcState().limitTo(15);
    return Num(r);
}

}  // namespace

Num mixedAdd(const Num& a, const Num& b) { return mixed(a, b, MixedOp::Add); }
Num mixedSub(const Num& a, const Num& b) { return mixed(a, b, MixedOp::Sub); }
Num mixedMul(const Num& a, const Num& b) { return mixed(a, b, MixedOp::Mul); }
Num mixedDiv(const Num& a, const Num& b) { return mixed(a, b, MixedOp::Div); }

void CalcState::report(const QString& message) {
    ++errorCount;
    lastMessage = message;
    errorLog += message;
    errorLog += QStringLiteral("\r\n");
    if (errorCount == 1) firstMessage = message;
}

void CalcState::logOnly(const QString& message) {
    lastMessage = message;
    errorLog += message;
    errorLog += QStringLiteral("\r\n");
}

CalcState& calcState() {
    static CalcState state;
    return state;
}

void ZelChongZhi() {
    CalcState& s = calcState();
    s.errorCount = 0;
    s.lastMessage.clear();
    s.firstMessage.clear();
    s.errorLog.clear();
    s.precisionLimit = 29;
}

QStringView trimSpaces(QStringView s) {
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && s[b] == u' ') ++b;
    while (e > b && s[e - 1] == u' ') --e;
    return s.sliced(b, e - b);
}

QString trimSpaces(const QString& s) {
    const QStringView t = trimSpaces(QStringView(s));
    if (t.size() == s.size()) return s;
    return t.toString();
}

QString trimmedText(const Num& x) { return trimSpaces(x.text()); }

bool isZeroValue(const Num& v) {
    switch (v.kind()) {
        case Num::Kind::Decimal:
            return v.decimal().isZero();
        case Num::Kind::Double:
            return v.dbl() == 0;
        case Num::Kind::Integer:
            return v.integer() == 0;
        case Num::Kind::Text: {
            double d = 0;
            return textToDouble(v.rawText(), d) && d == 0;
        }
    }
    return false;
}

bool isBlankText(const Num& x) {
    if (!x.isText()) return false;
    for (const QChar c : x.rawText())
        if (c != u' ') return false;
    return true;
}

Num ZelShuZhuanShu(const Num& x) {
    try {
        switch (x.kind()) {
            case Num::Kind::Decimal: {
                const Decimal& v = x.decimal();
                if (v.coefficient() < kTenTo28) return x;
                const double d = v.toDouble();
                if (inDecimalRange(d)) return x;
                calcState().limitTo(15);
                return Num(d);
            }
            case Num::Kind::Integer:
                return Num(Decimal(x.integer()));
            case Num::Kind::Double:
                return doubleOperand(x.dbl());
            case Num::Kind::Text:
                return textOperand(x.rawText());
        }
    } catch (...) {
    }
    try {
        calcState().report(message(u"Zel数转数", trimmedText(x),
                                   u" 数值超出计算范围，我无法计算！返回数值用[空值]表示。"));
    } catch (...) {
    }
    return Num(zeroText());
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
        calcState().report(message(u"Zel多少E", trimmedText(x),
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
        if (t.isEmpty() || t[0].unicode() < u' ') return Num(0);

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
        if (s.isEmpty()) return Num(0);

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
        return ZelShuZhuanShu(Num(c));
    } catch (...) {
    }
    try {
        calcState().report(message(u"Zel串转数", trimmedText(x),
                                   u" 数值超出计算范围，无法计算！返回数值用 [空值] 表示。"));
    } catch (...) {
    }
    return Num();
}

}  // namespace hc
