#include "expr/evaluate.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "engine/angle.h"
#include "engine/arithmetic.h"
#include "engine/calc_log.h"
#include "engine/functions.h"
#include "engine/num.h"
#include "engine/number_reader.h"
#include "engine/number_routines.h"
#include "engine/power.h"
#include "engine/rounding.h"
#include "engine/text_trim.h"
#include "expr/char_classes.h"
#include "expr/validate.h"

namespace hc {

namespace {

// The character sets of the phases, named here: clang 14 fails to compile a CharSet
// built inside some of the functions.

// A sign after one of these (or a space) starts a number.
constexpr CharSet kOperatorBeforeSign{u"-+*/\\"};
// A number scanned this far would go on over these.
constexpr CharSet kNumberGoesOn{u".eE"};
// The operators of the power phase.
constexpr CharSet kPower{u"^"};
// The operators of the product phase.
constexpr CharSet kProducts{u"*/\\"};

// Thrown inside the phases for a failure that ends the bracket-free computation
// with its summary message.
struct PhaseFailure {};

QChar lower(QChar c) { return c.unicode() < 0x80 ? QChar(asciiLower(c.unicode())) : c.toLower(); }

// The working text of a phase: a text with a gap at the place last edited, so that a
// replacement costs the length of the span and of the distance from the last one,
// not the length of the text. The phases edit from left to right, so a phase costs
// time linear in its text.
class GapText {
public:
    // Takes the text over; the gap starts at its end.
    explicit GapText(QString s) : buf_(std::move(s)) {
        p_ = reinterpret_cast<char16_t*>(buf_.data());
        gap_ = gapEnd_ = buf_.size();
    }

    qsizetype size() const { return buf_.size() - (gapEnd_ - gap_); }
    bool isEmpty() const { return size() == 0; }
    QChar operator[](qsizetype i) const { return QChar(p_[at(i)]); }
    QChar back() const { return (*this)[size() - 1]; }

    // The n characters from i (to the end when n < 0).
    QString mid(qsizetype i, qsizetype n = -1) const {
        if (i < 0) i = 0;
        if (i > size()) i = size();
        if (n < 0 || i + n > size()) n = size() - i;
        QString out(n, Qt::Uninitialized);
        char16_t* o = reinterpret_cast<char16_t*>(out.data());
        const qsizetype before = std::clamp<qsizetype>(gap_ - i, 0, n);
        std::copy_n(p_ + i, before, o);
        std::copy_n(p_ + at(i + before), n - before, o + before);
        return out;
    }
    QString left(qsizetype n) const { return mid(0, n); }
    QString toString() const { return mid(0); }
    // The text, handed back without a copy; the working text is empty afterwards.
    QString take() {
        moveGap(size());
        buf_.truncate(gap_);
        QString out = std::move(buf_);
        buf_ = QString();
        p_ = nullptr;
        gap_ = gapEnd_ = 0;
        return out;
    }
    bool matches(qsizetype i, std::u16string_view t) const {
        if (i + qsizetype(t.size()) > size()) return false;
        for (std::size_t k = 0; k < t.size(); ++k)
            if ((*this)[i + qsizetype(k)] != QChar(t[k])) return false;
        return true;
    }

    // Replaces the n characters from i by t.
    void replace(qsizetype i, qsizetype n, QStringView t) {
        i = std::clamp<qsizetype>(i, 0, size());
        n = std::clamp<qsizetype>(n, 0, size() - i);
        moveGap(i);
        gapEnd_ += n;
        const qsizetype need = t.size();
        if (gapEnd_ - gap_ < need) grow(need);
        std::copy_n(reinterpret_cast<const char16_t*>(t.data()), need, p_ + gap_);
        gap_ += need;
    }
    void set(qsizetype i, QChar c) { p_[at(i)] = c.unicode(); }

private:
    qsizetype at(qsizetype i) const { return i < gap_ ? i : i + (gapEnd_ - gap_); }

    void moveGap(qsizetype i) {
        if (i < gap_) {
            const qsizetype n = gap_ - i;
            std::memmove(p_ + gapEnd_ - n, p_ + i, std::size_t(n) * sizeof(char16_t));
            gap_ = i;
            gapEnd_ -= n;
        } else if (i > gap_) {
            const qsizetype n = i - gap_;
            std::memmove(p_ + gap_, p_ + gapEnd_, std::size_t(n) * sizeof(char16_t));
            gap_ = i;
            gapEnd_ += n;
        }
    }

    // Widens the gap to hold `need` characters, and an eighth of the text more, so
    // that a phase whose results are longer than their operands grows it rarely.
    void grow(qsizetype need) {
        const qsizetype tail = buf_.size() - gapEnd_;
        const qsizetype extra = std::max<qsizetype>(need, size() / 8 + 64) - (gapEnd_ - gap_);
        buf_.resize(buf_.size() + extra);
        p_ = reinterpret_cast<char16_t*>(buf_.data());
        std::memmove(p_ + gapEnd_ + extra, p_ + gapEnd_, std::size_t(tail) * sizeof(char16_t));
        gapEnd_ += extra;
    }

    QString buf_;
    char16_t* p_ = nullptr;
    qsizetype gap_ = 0;
    qsizetype gapEnd_ = 0;
};

QString wholeText(const QString& s) { return s; }
QString wholeText(const GapText& s) { return s.toString(); }

const QString kEnding = QStringLiteral(" 数值超出计算范围，我无法计算！返回错误数值。");
const QString kTooManyDots = QStringLiteral(" 表达式--小数点数太多--错误！请修改算式后计算。");
const QString kNoDigits = QStringLiteral(" 表达式--无数字--错误！请修改算式后计算。");
const QString kTooManySignsAfter = QStringLiteral(" 表达式--正负号太多--错误！请修改算式后计算。");
const QString kTooManySigns = QStringLiteral(" 表达式--太多正负号--错误！请修改算式后计算。");
const QString kTooManyExponents =
    QStringLiteral(" 表达式--存在多个 e E 字母--错误！请修改算式后计算。");

QString scannerFailure(const QString& label, const QString& s, const QString& t,
                       const QString* detail) {
    if (detail) calcLog().logOnly(t + *detail);
    calcLog().report(QStringLiteral("  进行[") + label + QStringLiteral("]运算时， ") +
                     trimSpaces(s) + kEnding);
    return t;
}

Num checked(const Num& r) {
    if (endsFormula(r)) throw PhaseFailure{};
    return r;
}

// ZelXiangHouQuShuZi on a QString or on the working text of a phase.
template <typename Text>
QString scanForward(const Text& s, qsizetype p) {
    const QString label = QStringLiteral("向后取数字");
    if (p > s.size()) p = s.size();
    if (p < 1) return scannerFailure(label, wholeText(s), QString(), nullptr);
    const qsizetype base = p - 1;
    const qsizetype n = s.size() - base;
    int dots = 0, digits = 0, signs = 0, exponents = 0;
    qsizetype end = -1;
    const QString* detail = nullptr;
    for (qsizetype i = 1; i <= n && !detail; ++i) {
        const QChar ch = lower(s[base + i - 1]);
        if (ch == u' ' && digits < 1) {
            end = i;
            continue;
        }
        if (isSign(ch) && digits > 0) {
            end = i - 1;
            break;
        }
        if (ch == u'.') {
            ++dots;
            end = i;
        }
        if (isDigit(ch)) {
            ++digits;
            end = i;
        }
        if (isSign(ch)) ++signs;
        if (ch == u'e') {
            ++exponents;
            dots = digits = signs = 0;
        }
        if (dots > 1)
            detail = &kTooManyDots;
        else if (signs > 1)
            detail = &kTooManySignsAfter;
        else if (!isDigit(ch) && ch != u'e' && ch != u'.' && !isSign(ch)) {
            end = i - 1;
            break;
        }
    }
    if (!detail) {
        if (digits < 1)
            detail = &kNoDigits;
        else if (signs > 1)
            detail = &kTooManySigns;
        else if (exponents > 1)
            detail = &kTooManyExponents;
    }
    if (detail) return scannerFailure(label, wholeText(s), lowerCase(s.mid(base)), detail);
    return end < 1 ? QString() : lowerCase(s.mid(base, end));
}

// ZelXiangQianQuShuZi on a QString or on the working text of a phase.
template <typename Text>
QString scanBack(const Text& s, qsizetype p) {
    const QString label = QStringLiteral("向前取数字");
    if (p > s.size()) p = s.size();
    if (p < 1) return scannerFailure(label, wholeText(s), QString(), nullptr);
    qsizetype start = p + 1;
    int dots = 0, digits = 0, signs = 0, exponents = 0;
    for (qsizetype d = p; d >= 1; --d) {
        const QChar ch = lower(s[d - 1]);
        if (ch == u'.')
            ++dots;
        else if (isDigit(ch))
            ++digits;
        else if (isSign(ch))
            ++signs;
        else if (ch == u'e') {
            ++exponents;
            signs = digits = dots = 0;
        }
        if (ch == u' ' && digits < 1) {
            start = d;
            continue;
        }
        if (isSign(ch) && digits > 0) {
            if (d == 1) {
                start = 1;
                break;
            }
            const QChar prev = lower(s[d - 2]);
            if (prev == u' ' || kOperatorBeforeSign.contains(prev)) {
                start = d;
                break;
            }
            if (prev != u'e') {
                start = d + 1;
                break;
            }
        }
        if (isSign(ch) && signs > 1) {
            start = d + 1;
            break;
        }
        if (!isDigit(ch) && ch != u'e' && ch != u'.' && !isSign(ch)) {
            start = d + 1;
            break;
        }
        start = d;
    }
    const QString* detail = nullptr;
    if (dots > 1)
        detail = &kTooManyDots;
    else if (digits < 1)
        detail = &kNoDigits;
    else if (signs > 2)
        detail = &kTooManySigns;
    else if (exponents > 1)
        detail = &kTooManyExponents;
    if (detail) return scannerFailure(label, wholeText(s), lowerCase(s.left(p)), detail);
    if (start < 1 || start > p) return QString();
    return lowerCase(s.mid(start - 1, p - start + 1));
}

// --- phase 1: constants and memory variables -------------------------------

bool isConstantOrVariable(QChar prev, QChar c, QChar next) {
    return c == u'π' || c == u'ε' || (c >= u'r' && c <= u'z' && !isLetter(prev) && !isLetter(next));
}

QString replaceConstantsAndVariables(const QString& s, const std::array<Num, 9>& memory) {
    // The inserted texts hold no constant and no variable letter, so the scan can
    // pass over them; the last character (the padding space) is never examined.
    qsizetype first = 1;
    while (first + 1 < s.size() && !isConstantOrVariable(s[first - 1], s[first], s[first + 1]))
        ++first;
    if (first + 1 >= s.size()) return s;
    QString out;
    out.reserve(s.size() + 64);
    out.append(QStringView(s).first(first));
    for (qsizetype i = first; i + 1 < s.size(); ++i) {
        const QChar c = s[i];
        if (c == u'π') {
            out.append(kPi);
        } else if (c == u'ε') {
            out.append(kE);
        } else if (c >= u'r' && c <= u'z' && !isLetter(out.back()) && !isLetter(s[i + 1])) {
            out.append(trimSpaces(memory[c.unicode() - u'r'].text()).toLower());
        } else {
            out.append(c);
        }
    }
    out.append(s.back());
    return out;
}

// --- phase 2: functions -----------------------------------------------------

enum class Fn {
    Sin,
    Cos,
    Tan,
    Cot,
    Sec,
    Csc,
    Asin,
    Acos,
    Atan,
    Acot,
    Asec,
    Acsc,
    Sh,
    Ch,
    Th,
    Cth,
    Lg,
    Ln
};

struct Name {
    std::u16string_view text;
    Fn fn;
};

// Names by first letter, in the order they are tried, and how many characters a
// failure quotes.
struct Group {
    char16_t letter;
    int quoted;
    std::array<Name, 6> names;
    int count;
};

constexpr std::array kGroups{
    Group{u'a',
          6,
          {Name{u"arctan", Fn::Atan}, Name{u"arcsin", Fn::Asin}, Name{u"arccos", Fn::Acos},
           Name{u"arccot", Fn::Acot}, Name{u"arcsec", Fn::Asec}, Name{u"arccsc", Fn::Acsc}},
          6},
    Group{u'c',
          4,
          {Name{u"ch", Fn::Ch}, Name{u"cos", Fn::Cos}, Name{u"cot", Fn::Cot}, Name{u"csc", Fn::Csc},
           Name{u"cth", Fn::Cth}, Name{}},
          5},
    Group{u'l', 3, {Name{u"lg", Fn::Lg}, Name{u"ln", Fn::Ln}}, 2},
    Group{u's', 4, {Name{u"sh", Fn::Sh}, Name{u"sin", Fn::Sin}, Name{u"sec", Fn::Sec}}, 3},
    Group{u't', 3, {Name{u"tan", Fn::Tan}, Name{u"th", Fn::Th}}, 2},
};

Num toRadians(const Num& v, AngleUnit unit) { return checked(ZelDanWeiZhuanHuDu(v, unit)); }

Num fromRadians(const Num& r, AngleUnit unit) {
    checked(r);
    if (unit == kRadians) return r;
    Num deg;
    try {
        deg = ZelShuZhuanShu(Num::ofDecimal(Decimal::fromText(k180OverPi) * r.toDecimal()));
    } catch (const DecimalError&) {
        throw PhaseFailure{};
    }
    if (unit == kPackedDms) return checked(ZelTiDuZhuanDu(deg));
    return deg;
}

Num compute(Fn fn, const Num& v, AngleUnit unit) {
    switch (fn) {
        case Fn::Sin:
            return ZelShuZhuanShu(checked(ZelSin(toRadians(v, unit))));
        case Fn::Cos:
            return ZelShuZhuanShu(checked(ZelCos(toRadians(v, unit))));
        case Fn::Tan:
            return ZelTan(toRadians(v, unit));
        case Fn::Cot:
            return ZelCot(toRadians(v, unit));
        case Fn::Sec:
            return ZelSec(toRadians(v, unit));
        case Fn::Csc:
            return ZelCsc(toRadians(v, unit));
        case Fn::Asin:
            return fromRadians(ZelArcsin(v), unit);
        case Fn::Acos:
            return fromRadians(ZelArccos(v), unit);
        case Fn::Atan:
            return fromRadians(ZelArctan(v), unit);
        case Fn::Acot:
            return fromRadians(ZelArccot(v), unit);
        case Fn::Asec:
            return fromRadians(ZelArcsec(v), unit);
        case Fn::Acsc:
            return fromRadians(ZelArccsc(v), unit);
        case Fn::Sh:
            return ZelSh(v);
        case Fn::Ch:
            return ZelCh(v);
        case Fn::Th:
            return ZelTh(v);
        case Fn::Cth:
            return ZelCth(v);
        case Fn::Lg:
            return ZelLg(v);
        case Fn::Ln:
            return ZelLn(v);
    }
    return Num();
}

bool startsArgument(QChar c) {
    return isDigit(c) || c == u'+' || c == u'-' || c == u'.' || c == u' ';
}

// Returns false after reporting a name that is not in the table.
bool replaceFunctions(GapText& s, AngleUnit unit, const CancelFlag* cancel) {
    for (qsizetype i = 1; i < s.size(); ++i) {
        throwIfCancelled(cancel);
        const QChar c = s[i];
        // Only a letter a ... z or an "E" can start a name or an exponent.
        if (!isLetter(c) && c != u'E') continue;
        const QChar b = s[i - 1];
        const Group* group = nullptr;
        for (const Group& g : kGroups)
            if (c == g.letter) group = &g;
        int quoted = 0;
        if (group) {
            const Name* match = nullptr;
            for (int n = 0; n < group->count && !match; ++n) {
                const Name& name = group->names[n];
                const qsizetype k = qsizetype(name.text.size());
                if (i + k < s.size() && s.matches(i, name.text) && startsArgument(s[i + k]))
                    match = &name;
            }
            if (match) {
                const qsizetype k = qsizetype(match->text.size());
                const QString a = scanForward(s, i + k + 1);
                const Num v = ZelShuZhuanShu(Num::ofText(a));
                const QString r = trimSpaces(checked(compute(match->fn, v, unit)).text());
                s.replace(i, k + a.size(), r);
                continue;
            }
            quoted = group->quoted;
        } else if (c == u'e' || c == u'E') {
            const QChar n = i + 1 < s.size() ? s[i + 1] : QChar();
            if ((isDigit(b) || b == u'.' || b == u' ') &&
                (isDigit(n) || n == u'.' || n == u' ' || n == u'+' || n == u'-'))
                continue;
            quoted = 4;
        } else if (isLetter(c)) {
            quoted = 4;
        } else {
            continue;
        }
        calcLog().report(s.mid(i, quoted) + QStringLiteral(" 函数错误！请修改算式后计算。"));
        return false;
    }
    return true;
}

// --- phases 3 to 6: operators -------------------------------------------------

// " " & s & " ".
QString framed(QStringView s) {
    QString out(s.size() + 2, Qt::Uninitialized);
    char16_t* o = reinterpret_cast<char16_t*>(out.data());
    o[0] = u' ';
    std::copy_n(reinterpret_cast<const char16_t*>(s.data()), s.size(), o + 1);
    o[s.size() + 1] = u' ';
    return out;
}

// " " & s trimmed & " "; s itself, not copied, when it is so already.
QString pad(const QString& s) {
    const qsizetype n = s.size();
    if (n >= 3 && s[0] == u' ' && s[1] != u' ' && s[n - 1] == u' ' && s[n - 2] != u' ') return s;
    return framed(trimSpaces(QStringView(s)));
}

void factorialsAndPercents(GapText& s, const CancelFlag* cancel) {
    for (qsizetype i = 1; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c != u'!' && c != u'%') continue;
        throwIfCancelled(cancel);
        QString l = scanBack(s, i);
        QString text;
        if (c == u'!') {
            // A leading "-" stays in the formula in front of the result (-5! is -(5!));
            // the "-" of an exponent (1e-5) belongs to the number.
            const qsizetype minus = l.indexOf(u'-');
            if (minus >= 0 && trimSpaces(QStringView(l).left(minus)).isEmpty())
                l = l.mid(minus + 1);
            double n = 0;
            if (!textToDouble(l, n)) throw PhaseFailure{};
            Decimal f = n >= 1 ? 1 : 0;
            const double last = std::nearbyint(n);
            const Decimal limit = Decimal::fromText(u"1E+28");
            for (double k = 1; k <= last; ++k) {
                f *= Decimal(static_cast<long long>(k));
                if (f > limit) {
                    calcLog().report(QStringLiteral("阶乘计算时数值太大，超出计算范围。"));
                    break;
                }
            }
            text = f.toString();
        } else {
            text = (ZelShuZhuanShu(Num::ofText(l)).toDecimal() / Decimal(100)).toString();
        }
        const qsizetype start = i - l.size();
        s.replace(start, l.size() + 1, text);
        i = start + text.size() - 1;
    }
}

// Finds the leftmost operator of `ops` at or after `from`; -1 when there is none.
qsizetype findOperator(const GapText& s, qsizetype from, CharSet ops) {
    for (qsizetype i = std::max<qsizetype>(from, 1); i < s.size(); ++i)
        if (ops.contains(s[i])) return i;
    return -1;
}

// Replaces every operator of the phase, leftmost first. Text left of a replaced span
// holds no operator of the phase, so the search can go on from the span.
template <typename Op>
bool binaryPhase(GapText& s, CharSet ops, const CancelFlag* cancel, Op op) {
    qsizetype from = 1;
    for (qsizetype i; (i = findOperator(s, from, ops)) >= 0;) {
        throwIfCancelled(cancel);
        const QString l = scanBack(s, i);
        const QString r = scanForward(s, i + 2);
        QString result;
        if (!op(s[i], l, r, result)) return false;
        const qsizetype start = i - l.size();
        s.replace(start, l.size() + 1 + r.size(), result);
        from = start - 1;
    }
    return true;
}

// True when t is "-", or nothing, then digits with at most one "." among them (at least
// one digit). Such a text is simplified already, and the back scanner, started on the
// sign that follows it, takes exactly the whole of it as its operand.
bool plainNumber(QStringView t) {
    qsizetype i = !t.isEmpty() && t.front() == u'-' ? 1 : 0;
    bool digit = false;
    bool point = false;
    for (; i < t.size(); ++i) {
        const char16_t c = t[i].unicode();
        if (isDigit(c))
            digit = true;
        else if (c == u'.' && !point)
            point = true;
        else
            return false;
    }
    return digit;
}

// s <- the simplified result & the characters from `spanEnd` on. Those are already
// simplified, so only the junction can hold a new sign pair. Returns the simplified
// result when it is a plain number standing unchanged at the start of s, else an empty
// text.
QString spliceSimplified(GapText& s, qsizetype spanEnd, const QString& result) {
    if (plainNumber(result)) {
        // Neither the simplification nor the junction can change such a text.
        s.replace(0, spanEnd, result);
        return result;
    }
    const QString h = trimSpaces(result).isEmpty() ? QString() : ZelJianHuaBiaoDaShi2(result);
    s.replace(0, spanEnd, h);
    const qsizetype j = h.size();
    if (j > 0 && j < s.size() && isSign(s[j - 1]) && isSign(s[j])) {
        s.set(j - 1, s[j - 1] == s[j] ? QChar(u'+') : QChar(u'-'));
        s.replace(j, 1, QStringView());
    }
    if (s.isEmpty()) s.replace(0, 0, u"0");
    return QString();
}

// Integers below 2^53 in magnitude, but 0: their own canonical texts give them back
// exactly, as a value, as a double and in messages, so that the sum routines compute and
// report the same with such a value as with its text; and their sums and differences
// are exact.
constexpr long long kExactLimit = 1LL << 53;

bool exactInteger(long long v) { return v != 0 && v > -kExactLimit && v < kExactLimit; }

// The value of v when it is an exact integer Decimal.
std::optional<long long> exactInteger(const Num& v) {
    if (!v.isDecimal()) return std::nullopt;
    const Decimal& d = v.decimal();
    if (d.scale() != 0 || d.coefficient() == 0 || d.coefficient() >= Decimal::u128(kExactLimit))
        return std::nullopt;
    const auto m = static_cast<long long>(d.coefficient());
    return d.isNegative() ? -m : m;
}

// The operand that the forward scanner cuts out at `from` when it is at most 15 digits,
// the first not 0: its value (an exact integer); nothing when it is anything else.
// `size` is set to its length.
std::optional<long long> integerOperand(const GapText& s, qsizetype from, qsizetype& size) {
    constexpr qsizetype kMax = 15;
    long long c = 0;
    qsizetype k = from;
    for (; k < s.size() && k - from <= kMax && isDigit(s[k]); ++k)
        c = 10 * c + (s[k].unicode() - u'0');
    size = k - from;
    if (size == 0 || size > kMax || s[from] == u'0') return std::nullopt;
    // The scanner would go on over a point or an exponent, and lower-cases what is not ASCII.
    if (k < s.size() && (s[k].unicode() >= 0x80 || isDigit(s[k]) || kNumberGoesOn.contains(s[k])))
        return std::nullopt;
    return c;
}

// The value of t when it is "-", or nothing, then at most 15 digits, the first not 0.
std::optional<long long> integerOfText(QStringView t) {
    const qsizetype sign = !t.isEmpty() && t.front() == u'-' ? 1 : 0;
    const qsizetype n = t.size() - sign;
    if (n < 1 || n > 15 || t[sign] == u'0') return std::nullopt;
    long long c = 0;
    for (qsizetype k = sign; k < t.size(); ++k) {
        if (!isDigit(t[k])) return std::nullopt;
        c = 10 * c + (t[k].unicode() - u'0');
    }
    return sign ? -c : c;
}

// The canonical text of an exact integer, written to `out`; returns its length.
qsizetype integerText(long long v, char16_t* out) {
    auto c = static_cast<unsigned long long>(v < 0 ? -v : v);
    char16_t digits[24];
    int n = 0;
    do {
        digits[n++] = char16_t(u'0' + c % 10);
        c /= 10;
    } while (c != 0);
    qsizetype len = 0;
    if (v < 0) out[len++] = u'-';
    while (n > 0) out[len++] = digits[--n];
    return len;
}

void sumsAndDifferences(GapText& s, const CancelFlag* cancel) {
    // The result of the last step when it is a plain number at the start of the text:
    // the next step's left operand, if its sign follows it, without scanning for it. Its
    // value stands for its text when that is an exact integer, else the text is kept.
    qsizetype leadingSize = 0;
    QString leadingText;
    std::optional<long long> leadingValue;
    qsizetype i = 1;
    while (i + 1 < s.size()) {
        const QChar c = s[i];
        const QChar b = lower(s[i - 1]);
        if (!isSign(c) || b == u'e' || b == u' ') {
            ++i;
            continue;
        }
        throwIfCancelled(cancel);
        const bool known = leadingSize > 0 && i == leadingSize;
        QString leftText;
        std::optional<long long> a = leadingValue;
        if (!known) {
            leftText = scanBack(s, i);
            a = integerOfText(leftText);
        } else if (!a) {
            leftText = leadingText;
        }
        qsizetype rSize = 0;
        const std::optional<long long> d = integerOperand(s, i + 1, rSize);
        std::optional<long long> exact;
        Num v;
        if (a && d) {
            const long long sum = c == u'+' ? *a + *d : *a - *d;
            if (exactInteger(sum))
                exact = sum;
            else
                v = Num::ofDecimal(Decimal(sum));
        } else {
            const Num l = a ? Num::ofDecimal(Decimal(*a)) : Num::ofText(leftText);
            Num r;
            if (d) {
                r = Num::ofDecimal(Decimal(*d));
            } else {
                const QString t = scanForward(s, i + 2);
                rSize = t.size();
                r = Num::ofText(t);
            }
            v = c == u'+' ? ZelLiangShuHe(l, r) : ZelLiangShuCha(l, r);
            exact = exactInteger(v);
        }
        const qsizetype spanEnd = i + 1 + rSize;
        leadingValue = exact;
        if (exact) {
            char16_t text[24];
            leadingSize = integerText(*exact, text);
            s.replace(0, spanEnd, QStringView(text, leadingSize));
        } else {
            leadingText = spliceSimplified(s, spanEnd, v.text());
            leadingSize = leadingText.size();
        }
        // The scan starts over; it would pass the digits and point of a plain number.
        i = std::max<qsizetype>(1, leadingSize);
    }
}

QString kSummary(const QString& s) {
    return QStringLiteral("  K表达式计算过程中，") + trimSpaces(s) +
           QStringLiteral("出现超出计算范围错误，我无法计算！返回数值用 [空值] 表示。");
}

}  // namespace

QString ZelXiangHouQuShuZi(const QString& s, qsizetype p) { return scanForward(s, p); }

QString ZelXiangQianQuShuZi(const QString& s, qsizetype p) { return scanBack(s, p); }

namespace {

// ZelKBiaoDaShiJiSuan on a text it may let go of once it has its own copy.
QString bracketFree(QString text, const CalcSettings& settings, const CancelFlag* cancel) {
    CalcLog& st = calcLog();
    if (st.errorCount > 0) return QStringLiteral("1");
    throwIfCancelled(cancel);
    text = lowerCase(text);
    QString s = framed(ZelJianHuaBiaoDaShi(std::move(text)));
    // The phase that edits the text in place, taking it over from `s` and handing it
    // back; a failure quotes the text as it stands.
    std::optional<GapText> g;
    const auto phaseText = [&](QString& t) -> GapText& {
        g.emplace(std::move(t));
        t = QString();
        return *g;
    };
    const auto phaseDone = [&] {
        s = g->take();
        g.reset();
    };
    try {
        s = replaceConstantsAndVariables(s, settings.memory);

        s = pad(s);
        const bool named = replaceFunctions(phaseText(s), settings.angleUnit, cancel);
        phaseDone();
        if (!named) return QStringLiteral("-1");

        s = pad(s);
        factorialsAndPercents(phaseText(s), cancel);
        phaseDone();

        s = framed(ZelJianHuaBiaoDaShi(std::move(s)));
        binaryPhase(phaseText(s), kPower, cancel,
                    [](QChar, const QString& l, const QString& r, QString& out) {
                        out = trimSpaces(ZelChengFang(Num::ofText(l), Num::ofText(r)).text());
                        return true;
                    });
        phaseDone();

        s = pad(s);
        bool divisorZero = false;
        binaryPhase(phaseText(s), kProducts, cancel,
                    [&](QChar op, const QString& l, const QString& r, QString& out) {
                        Num v;
                        if (op == u'*') {
                            v = ZelLiangShuJi(Num::ofText(l), Num::ofText(r));
                        } else if (op == u'\\') {
                            v = ZelLiangShuYu(Num::ofText(l), Num::ofText(r));
                        } else {
                            if (isZeroValue(ZelShuZhuanShu(Num::ofText(trimSpaces(r))))) {
                                st.report(g->toString() +
                                          QStringLiteral("  除数为0错误！请修改算式后计算。"));
                                divisorZero = true;
                                return false;
                            }
                            v = ZelLiangShuShang(Num::ofText(l), Num::ofText(r));
                        }
                        out = trimSpaces(v.text());
                        return true;
                    });
        phaseDone();
        if (divisorZero) return QStringLiteral("1");

        s = ZelJianHuaBiaoDaShi2(std::move(s));
        sumsAndDifferences(phaseText(s), cancel);
        phaseDone();

        s = ZelJianHuaBiaoDaShi2(std::move(s));
        return ZelShuZhuanShu(Num::ofText(ZelXiangHouQuShuZi(s, 1))).text();
    } catch (const Cancelled&) {
        throw;
    } catch (...) {
        st.report(kSummary(g ? g->toString() : s));
        return QString();
    }
}

}  // namespace

QString ZelKBiaoDaShiJiSuan(const QString& text, const CalcSettings& settings,
                            const CancelFlag* cancel) {
    return bracketFree(text, settings, cancel);
}

QString ZelBiaoDaShiJiSuan(const QString& formula, const CalcSettings& settings,
                           const CancelFlag* cancel) {
    CalcLog& st = calcLog();
    if (st.errorCount > 0) return QStringLiteral("error");
    try {
        QString s = trimSpaces(lowerCase(formula));

        // The last character is left out of the check (a lone one is checked).
        if (!bracketsPair(s, 0, std::max<qsizetype>(1, s.size() - 1)))
            return QStringLiteral("error");

        bool failed = false;
        // One pass per "(" at most; a pass replaces every innermost pair it meets, and
        // the scan goes on after the replaced text, so it may meet the enclosing pair
        // in the same pass. Brackets are tracked as the scan goes: `seen` holds the
        // brackets left of the scan, `ahead` the next one to its right.
        //
        // Two shortcuts keep deep nesting linear without changing what a pass does: a
        // pass ends once no "(" is left of the scan's nearest ")" nor ahead of it, and
        // the next pass starts at the last bracket before the leftmost pair replaced,
        // since nothing before it has changed.
        //
        // An entry of `seen` is a position times two, plus one for a "(".
        std::deque<qsizetype> seen;
        qsizetype openSeen = 0;  // "(" in `seen`
        const qsizetype passes = s.count(u'(');
        GapText w(std::move(s));  // the text is held by `w` alone until the passes end
        qsizetype totalOpen = passes;
        qsizetype start = 0;
        const auto openLeft = [&] { return openSeen; };
        const auto posOf = [](qsizetype entry) { return entry / 2; };
        const auto push = [&](qsizetype k) {
            const bool open = w[k] == u'(';
            seen.push_back(2 * k + (open ? 1 : 0));
            openSeen += open ? 1 : 0;
        };
        const auto pop = [&] {
            openSeen -= seen.back() % 2;
            seen.pop_back();
        };
        for (qsizetype pass = 0; pass < passes && !failed && totalOpen > 0; ++pass) {
            qsizetype leftmost = -1;
            qsizetype ahead = -1;
            qsizetype a = start;
            while ((a == 0 || a <= w.size() - 2) && a < w.size()) {
                const bool closedLeft = seen.empty() || seen.back() % 2 == 0;
                if (closedLeft && totalOpen == openLeft()) break;
                if (isBracket(w[a])) {
                    push(a);
                    ++a;
                    continue;
                }
                if (closedLeft) {
                    ++a;
                    continue;
                }
                if (ahead < a) {
                    ahead = a;
                    while (ahead < w.size() && !isBracket(w[ahead])) ++ahead;
                }
                if (ahead >= w.size() || w[ahead] != u')') {
                    ++a;
                    continue;
                }
                const qsizetype o = posOf(seen.back());
                const QString r = bracketFree(w.mid(o + 1, ahead - o - 1), settings, cancel);
                w.replace(o, ahead - o + 1, r);
                --totalOpen;
                if (st.errorCount > 0) {
                    failed = true;
                    break;
                }
                pop();
                if (leftmost < 0 || o < leftmost) leftmost = o;
                const qsizetype next = a + 1;
                for (qsizetype k = o + r.size(); k < next && k < w.size(); ++k)
                    if (isBracket(w[k])) push(k);
                ahead = -1;
                a = next;
            }
            if (leftmost < 0) break;  // an unchanged text would give the same pass again
            while (!seen.empty() && posOf(seen.back()) >= leftmost) pop();
            start = 0;
            if (!seen.empty()) {
                start = posOf(seen.back());
                pop();
            }
        }

        s = w.take();
        if (!failed) {
            QString simple = ZelJianHuaBiaoDaShi(std::move(s));
            s = bracketFree(std::move(simple), settings, cancel);
            failed = st.errorCount > 0;
        }
        if (!failed) {
            s = trimSpaces(ZelSiSheWuRu(Num::ofText(s), settings.displayDecimals).text());
            if (s.startsWith(u'.'))
                s.prepend(u'0');
            else if (s.startsWith(QStringLiteral("-.")))
                s.insert(1, u'0');
            return s;
        }
    } catch (const Cancelled&) {
        throw;
    } catch (...) {
    }
    st.report(QStringLiteral("  表达式计算过程中，") + trimSpaces(formula) +
              QStringLiteral("出现超出计算范围错误，我无法计算！返回数值用 error 表示。"));
    return QStringLiteral("error");
}

}  // namespace hc
