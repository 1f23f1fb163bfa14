#include "tools/base_conversion.h"

#include <array>

#include "engine/calc_log.h"
#include "engine/mixed_arithmetic.h"
#include "engine/num.h"
#include "engine/power.h"
#include "engine/text_trim.h"

namespace hc {
namespace {

const char kDigits[] = "0123456789ABCDEF";

enum class Charset { Binary, Hex };

bool allowed(QChar c, Charset set) {
    const char16_t u = c.unicode();
    if (u == u'.' || u == u'0' || u == u'1') return true;
    if (set == Charset::Binary) return false;
    return (u >= u'2' && u <= u'9') || (u >= u'A' && u <= u'F');
}

// The longest prefix of allowed characters of the trimmed input; "-" only first.
QString scan(const QString& input, Charset set, bool upperCase) {
    QString t = trimSpaces(input);
    if (upperCase) t = t.toUpper();
    qsizetype n = 0;
    while (n < t.size() && (allowed(t[n], set) || (n == 0 && t[n] == u'-'))) ++n;
    t.truncate(n);
    return t;
}

struct Parts {
    bool negative = false;
    QString magnitude;
};

Parts splitSign(const QString& scanned) {
    Parts p;
    p.negative = scanned.startsWith(u'-');
    p.magnitude = p.negative ? scanned.mid(1) : scanned;
    return p;
}

// Integer digits before the first ".", fraction digits after it; a "." with nothing
// after it gives no fraction part.
void splitPoint(const QString& magnitude, QString& integer, QString& fraction) {
    const qsizetype point = magnitude.indexOf(u'.');
    integer = point < 0 ? magnitude : magnitude.left(point);
    fraction = point < 0 ? QString() : magnitude.mid(point + 1);
}

QString failed(const QString& input, const char16_t* message, BaseNotes& notes) {
    Notice notice;
    notice.text = QStringLiteral("把数") + trimSpaces(input) + QString::fromUtf16(message);
    notes.notices.append(notice);
    ++notes.failures;
    return QStringLiteral("-1");
}

constexpr const char16_t* kBinToHex =
    u"由二进制转换为十六进制时，出现超出范围的错误！计算结果无效，请修改数据后再计算。";
constexpr const char16_t* kHexToBin =
    u"由十六进制转换为二进制时，出现超出范围的错误！计算结果无效，请修改数据后再计算。";
constexpr const char16_t* kBinToOct =
    u"由二进制转换为八进制时，出现超出范围的错误！计算结果无效，请修改数据后再计算。";
constexpr const char16_t* kOctToBin =
    u"由八进制转换为二进制时，出现超出范围的错误！计算结果无效，请修改数据后再计算。";
constexpr const char16_t* kBinToDec =
    u"由二进制转换为十进制时，出现超出范围的错误！计算结果无效，请修改数据后再计算。";
constexpr const char16_t* kDecToBin =
    u"由十进制转换为二进制时，出现超出范围的错误！计算结果无效，请修改数据后再计算。";

int bitsValue(QStringView bits) {
    int v = 0;
    for (QChar c : bits) v = v * 2 + (c == u'1' ? 1 : 0);
    return v;
}

// Binary -> base 2^width by digit groups; false when a fraction group holds a point.
bool groupBinary(const QString& integer, const QString& fraction, bool hasFraction, int width,
                 QString& out) {
    QString digits;
    digits.reserve(integer.size() / width + fraction.size() / width + 3);
    for (qsizetype end = integer.size(); end > 0; end -= width) {
        const qsizetype start = end > width ? end - width : 0;
        digits.prepend(
            QChar::fromLatin1(kDigits[bitsValue(QStringView(integer).sliced(start, end - start))]));
    }
    if (hasFraction) {
        digits += u'.';
        for (qsizetype start = 0; start < fraction.size(); start += width) {
            const QStringView group = QStringView(fraction).sliced(
                start, std::min<qsizetype>(width, fraction.size() - start));
            if (group.contains(u'.')) return false;
            const int value = bitsValue(group) << (width - group.size());
            // A short last group of zeros stands for no digit at all.
            if (group.size() < width && value == 0) continue;
            digits += QChar::fromLatin1(kDigits[value]);
        }
    }
    out = digits;
    return true;
}

// Digits of base 2^width -> binary, all `width` bits of every digit; false for a
// character that has no group (a second point, or a digit too large for the base).
bool ungroupDigits(const QString& integer, const QString& fraction, bool hasFraction, int width,
                   QString& out) {
    auto append = [width](QString& s, QChar c) {
        const char16_t u = c.unicode();
        const int v = u >= u'0' && u <= u'9'   ? u - u'0'
                      : u >= u'A' && u <= u'F' ? u - u'A' + 10
                                               : -1;
        if (v < 0 || v >= (1 << width)) return false;
        for (int b = width - 1; b >= 0; --b) s += (v >> b) & 1 ? u'1' : u'0';
        return true;
    };
    QString bits;
    bits.reserve((integer.size() + fraction.size()) * width + 2);
    for (QChar c : integer)
        if (!append(bits, c)) return false;
    if (hasFraction) {
        bits += u'.';
        for (QChar c : fraction)
            if (!append(bits, c)) return false;
    }
    out = bits;
    return true;
}

QString binaryToGroups(const QString& input, int width, const char16_t* message, BaseNotes& notes) {
    const QString scanned = scan(input, Charset::Binary, false);
    if (scanned.isEmpty()) return QStringLiteral("0");
    Parts p = splitSign(scanned);
    if (width == 3 && p.magnitude.startsWith(QLatin1String("000")) &&
        !p.magnitude.startsWith(QLatin1String("000."))) {
        p.magnitude.remove(0, 3);
        if (p.magnitude.isEmpty()) return QStringLiteral("0");
    }
    QString integer, fraction, out;
    splitPoint(p.magnitude, integer, fraction);
    if (!groupBinary(integer, fraction, !fraction.isEmpty(), width, out))
        return failed(input, message, notes);
    return p.negative ? u'-' + out : out;
}

QString groupsToBinary(const QString& input, int width, bool upperCase, const char16_t* message,
                       BaseNotes& notes) {
    const QString scanned = scan(input, Charset::Hex, upperCase);
    if (scanned.isEmpty()) return QStringLiteral("0");
    const Parts p = splitSign(scanned);
    QString integer, fraction, out;
    splitPoint(p.magnitude, integer, fraction);
    if (!ungroupDigits(integer, fraction, !fraction.isEmpty(), width, out))
        return failed(input, message, notes);
    return p.negative ? u'-' + out : out;
}

// Powers of 2 and of 0.5 as ZelChengFang gives them, each computed once in a log
// of its own.
constexpr int kIntegerBits = 96;      // 2^0 ... 2^95: the Decimal range
constexpr int kFractionPowers = 128;  // 0.5^1 ... 0.5^128; smaller ones add 0 to a Decimal

template <std::size_t N>
std::array<Num, N> powerTable(const char* base, int firstExponent) {
    std::array<Num, N> table;
    for (std::size_t i = 0; i < N; ++i) {
        EngineReport ignored;
        table[i] = checkedCall(
            [&] {
                return ZelChengFang(Num::ofText(QString::fromLatin1(base)),
                                    Num::ofInt(firstExponent + static_cast<int>(i)));
            },
            ignored);
    }
    return table;
}

const std::array<Num, kIntegerBits>& powersOfTwo() {
    static const auto table = powerTable<kIntegerBits>("2", 0);
    return table;
}

const std::array<Num, kFractionPowers>& powersOfHalf() {  // [k - 1] = 0.5^k
    static const auto table = powerTable<kFractionPowers>("0.5", 1);
    return table;
}

void addPower(Decimal& sum, const Num& p, BaseNotes& notes) {
    if (p.isDecimal()) {
        sum = sum + p.decimal();
        return;
    }
    EngineReport report;
    struct Merge {
        EngineReport& from;
        BaseNotes& to;
        ~Merge() {
            to.failures += from.failures;
            to.notices.append(from.notices);
        }
    } merge{report, notes};
    sum = checkedCall([&] { return mixedAdd(Num::ofDecimal(sum), p).toDecimal(); }, report);
}

}  // namespace

QString ZelErZhuanShiLiu(const QString& binary, BaseNotes& notes) {
    return binaryToGroups(binary, 4, kBinToHex, notes);
}

QString ZelErZhuanBa(const QString& binary, BaseNotes& notes) {
    return binaryToGroups(binary, 3, kBinToOct, notes);
}

QString ZelShiLiuZhuanEr(const QString& hex, BaseNotes& notes) {
    return groupsToBinary(hex, 4, true, kHexToBin, notes);
}

QString ZelBaZhuanEr(const QString& octal, BaseNotes& notes) {
    return groupsToBinary(octal, 3, false, kOctToBin, notes);
}

QString ZelErZhuanShi(const QString& binary, BaseNotes& notes) {
    const QString s = scan(binary, Charset::Binary, false);
    if (s.isEmpty()) return QStringLiteral("0");
    const qsizetype point = s.indexOf(u'.') < 0 ? s.size() : s.indexOf(u'.');
    Decimal sum;
    try {
        for (qsizetype j = 1; j <= point; ++j) {
            if (s[point - j] != u'1') continue;
            // 2^96 and above: the power is a double beyond the Decimal range, and
            // adding it overflows.
            if (j - 1 >= kIntegerBits) return failed(binary, kBinToDec, notes);
            addPower(sum, powersOfTwo()[j - 1], notes);
        }
        for (qsizetype k = 1; point + k < s.size(); ++k) {
            if (s[point + k] != u'1') continue;
            // Smaller powers would be doubles too small to add.
            if (k <= kFractionPowers) addPower(sum, powersOfHalf()[k - 1], notes);
        }
    } catch (const DecimalError&) {
        return failed(binary, kBinToDec, notes);
    }
    const QString text = sum.toString();
    return s.startsWith(u'-') ? u'-' + text : text;
}

QString ZelShiZhuanEr(const Decimal& value, BaseNotes&) {
    const Decimal magnitude = value.abs();
    Decimal rest = magnitude.truncated();
    const Decimal integer = rest;
    QString bits;
    bits.reserve(kIntegerBits + 94);
    const auto& twos = powersOfTwo();
    for (int n = kIntegerBits - 1; n >= 0; --n) {
        const Decimal& p = twos[n].decimal();
        if (rest >= p) {
            rest -= p;
            bits += u'1';
        } else if (!bits.isEmpty()) {
            bits += u'0';
        }
    }
    if (bits.isEmpty()) bits = QStringLiteral("0");

    Decimal f = magnitude - integer;
    if (!f.isZero()) {
        const Decimal half = Decimal::fromParts(5, 1, false);
        const qsizetype point = bits.size();
        bits += u'.';
        Decimal w = 1;
        for (int j = 1; j <= 92; ++j) {
            w *= half;
            const Decimal d = f - w;
            if (!d.isNegative()) {
                f = d;
                bits += u'1';
            } else {
                bits += u'0';
            }
        }
        const qsizetype lastOne = bits.lastIndexOf(u'1');
        bits.truncate(lastOne > point ? lastOne + 1 : point);
    }
    return value.isNegative() ? u'-' + bits : bits;
}

QString ZelShiZhuanEr(const QString& decimal, BaseNotes& notes) {
    const QString t = trimSpaces(decimal);
    if (t.isEmpty()) return QStringLiteral("0");
    Decimal value;
    if (!Decimal::tryFromText(t, value)) return failed(decimal, kDecToBin, notes);
    return ZelShiZhuanEr(value, notes);
}

QString ZelLuoJiFei(const QString& decimal, BaseNotes& notes) {
    const QString b = ZelShiZhuanEr(trimSpaces(decimal), notes);
    QString s;
    s.reserve(b.size() + 1);
    if (!b.isEmpty() && b[0] != u'-') s += u'-';
    for (QChar c : b) {
        if (c == u'1') {
            s += u'0';
        } else if (c == u'0') {
            s += u'1';
        } else if (c == u'.') {
            s += u'.';
        }
    }
    if (s.isEmpty()) {
        ++notes.failures;
        return QStringLiteral("-1");
    }
    return trimSpaces(ZelErZhuanShi(s, notes));
}

bool isBaseNumberText(const QString& text, int base) {
    const QString t = trimSpaces(text);
    qsizetype i = t.startsWith(u'-') ? 1 : 0;
    int digits = 0;
    bool point = false;
    for (; i < t.size(); ++i) {
        const char16_t c = t[i].unicode();
        if (c == u'.' && !point) {
            point = true;
            continue;
        }
        int d = -1;
        if (c >= u'0' && c <= u'9')
            d = c - u'0';
        else if (c >= u'A' && c <= u'F')
            d = c - u'A' + 10;
        else if (c >= u'a' && c <= u'f')
            d = c - u'a' + 10;
        if (d < 0 || d >= base) return false;
        ++digits;
    }
    return digits > 0;
}

QString ZelQuFuHao(const QString& text) {
    const QString t = trimSpaces(text);
    return t.startsWith(u'-') ? t.mid(1) : t;
}

namespace {

int countBeforeE(const QString& text, char16_t wanted) {
    int n = 0;
    for (QChar c : trimSpaces(text)) {
        if (c.toLower() == u'e') break;
        if (c == wanted) ++n;
    }
    return n;
}

}  // namespace

int ZelJianHaoShu(const QString& text) { return countBeforeE(text, u'-'); }

int ZelDianHaoShu(const QString& text) { return countBeforeE(text, u'.'); }

int ZelYouXiao019ChangDu(const QString& text) {
    int n = 0;
    for (QChar c : trimSpaces(text)) {
        const char16_t u = c.unicode();
        if (u >= u'0' && u <= u'9') {
            ++n;
        } else if (u != u' ' && u != u'.' && u != u'+' && u != u'-') {
            break;
        }
    }
    return n;
}

}  // namespace hc
