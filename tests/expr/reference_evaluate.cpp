// The evaluator as it was before its passes were made to edit the working text in
// place: every replacement rebuilds the text. Kept for the tests only, which compare
// the evaluator with it on many formulas.

#include "tests/expr/reference_evaluate.h"

#include <array>
#include <cmath>
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
#include "tests/expr/reference_text_passes.h"

namespace hc::reference {

namespace {

// Thrown inside the phases for a failure that ends the bracket-free computation
// with its summary message.
struct PhaseFailure {};

QChar lower(QChar c) { return c == u'E' ? QChar(u'e') : c.toLower(); }

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

// --- phase 1: constants and memory variables -------------------------------

QString replaceConstantsAndVariables(const QString& s, const std::array<Num, 9>& memory) {
    // The inserted texts hold no constant and no variable letter, so the scan can
    // pass over them; the last character (the padding space) is never examined.
    QString out;
    out.reserve(s.size() + 64);
    out.append(s[0]);
    for (qsizetype i = 1; i + 1 < s.size(); ++i) {
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
bool replaceFunctions(QString& s, AngleUnit unit) {
    for (qsizetype i = 1; i < s.size(); ++i) {
        const QChar c = s[i];
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
                if (i + k < s.size() && QStringView(s).mid(i, k) == name.text &&
                    startsArgument(s[i + k]))
                    match = &name;
            }
            if (match) {
                const qsizetype k = qsizetype(match->text.size());
                const QString a = ZelXiangHouQuShuZi(s, i + k + 1);
                const Num v = ZelShuZhuanShu(Num::ofText(a));
                const QString r = trimSpaces(checked(compute(match->fn, v, unit)).text());
                s = s.left(i) + r + s.mid(i + k + a.size());
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

QString pad(const QString& s) { return u' ' + trimSpaces(s) + u' '; }

void factorialsAndPercents(QString& s) {
    for (qsizetype i = 1; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c != u'!' && c != u'%') continue;
        QString l = ZelXiangQianQuShuZi(s, i);
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
qsizetype findOperator(const QString& s, qsizetype from, std::u16string_view ops) {
    for (qsizetype i = std::max<qsizetype>(from, 1); i < s.size(); ++i)
        if (inSet(s[i], ops)) return i;
    return -1;
}

// Replaces every operator of the phase, leftmost first. Text left of a replaced span
// holds no operator of the phase, so the search can go on from the span.
template <typename Op>
bool binaryPhase(QString& s, std::u16string_view ops, Op op) {
    qsizetype from = 1;
    for (qsizetype i; (i = findOperator(s, from, ops)) >= 0;) {
        const QString l = ZelXiangQianQuShuZi(s, i);
        const QString r = ZelXiangHouQuShuZi(s, i + 2);
        QString result;
        if (!op(s[i], l, r, result)) return false;
        const qsizetype start = i - l.size();
        s.replace(start, l.size() + 1 + r.size(), result);
        from = start - 1;
    }
    return true;
}

// s <- the simplified result & the characters from `spanEnd` on. Those are already
// simplified, so only the junction can hold a new sign pair.
void spliceSimplified(QString& s, qsizetype spanEnd, const QString& result) {
    const QString h = trimSpaces(result).isEmpty() ? QString() : ZelJianHuaBiaoDaShi2(result);
    s.replace(0, spanEnd, h);
    const qsizetype j = h.size();
    if (j > 0 && j < s.size() && isSign(s[j - 1]) && isSign(s[j])) {
        s[j - 1] = s[j - 1] == s[j] ? QChar(u'+') : QChar(u'-');
        s.remove(j, 1);
    }
    if (s.isEmpty()) s = QStringLiteral("0");
}

void sumsAndDifferences(QString& s) {
    qsizetype i = 1;
    while (i + 1 < s.size()) {
        const QChar c = s[i];
        const QChar b = lower(s[i - 1]);
        if (!isSign(c) || b == u'e' || b == u' ') {
            ++i;
            continue;
        }
        const QString l = ZelXiangQianQuShuZi(s, i);
        const QString r = ZelXiangHouQuShuZi(s, i + 2);
        const Num v = c == u'+' ? ZelLiangShuHe(Num::ofText(l), Num::ofText(r))
                                : ZelLiangShuCha(Num::ofText(l), Num::ofText(r));
        spliceSimplified(s, i + 1 + r.size(), v.text());
        i = 1;
    }
}

QString kSummary(const QString& s) {
    return QStringLiteral("  K表达式计算过程中，") + trimSpaces(s) +
           QStringLiteral("出现超出计算范围错误，我无法计算！返回数值用 [空值] 表示。");
}

}  // namespace

QString ZelXiangHouQuShuZi(const QString& s, qsizetype p) {
    const QString label = QStringLiteral("向后取数字");
    if (p > s.size()) p = s.size();
    if (p < 1) return scannerFailure(label, s, QString(), nullptr);
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
    if (detail) return scannerFailure(label, s, s.mid(base).toLower(), detail);
    return end < 1 ? QString() : s.mid(base, end).toLower();
}

QString ZelXiangQianQuShuZi(const QString& s, qsizetype p) {
    const QString label = QStringLiteral("向前取数字");
    if (p > s.size()) p = s.size();
    if (p < 1) return scannerFailure(label, s, QString(), nullptr);
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
            if (prev == u' ' || inSet(prev, u"-+*/\\")) {
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
    if (detail) return scannerFailure(label, s, s.left(p).toLower(), detail);
    if (start < 1 || start > p) return QString();
    return s.mid(start - 1, p - start + 1).toLower();
}

QString ZelKBiaoDaShiJiSuan(const QString& text, const CalcSettings& settings) {
    CalcLog& st = calcLog();
    if (st.errorCount > 0) return QStringLiteral("1");
    QString s = u' ' + ZelJianHuaBiaoDaShi(text.toLower()) + u' ';
    try {
        s = replaceConstantsAndVariables(s, settings.memory);

        s = pad(s);
        if (!replaceFunctions(s, settings.angleUnit)) return QStringLiteral("-1");

        s = pad(s);
        factorialsAndPercents(s);

        s = u' ' + ZelJianHuaBiaoDaShi(s) + u' ';
        binaryPhase(s, u"^", [](QChar, const QString& l, const QString& r, QString& out) {
            out = trimSpaces(ZelChengFang(Num::ofText(l), Num::ofText(r)).text());
            return true;
        });

        s = pad(s);
        bool divisorZero = false;
        binaryPhase(s, u"*/\\", [&](QChar op, const QString& l, const QString& r, QString& out) {
            Num v;
            if (op == u'*') {
                v = ZelLiangShuJi(Num::ofText(l), Num::ofText(r));
            } else if (op == u'\\') {
                v = ZelLiangShuYu(Num::ofText(l), Num::ofText(r));
            } else {
                if (isZeroValue(ZelShuZhuanShu(Num::ofText(trimSpaces(r))))) {
                    st.report(s + QStringLiteral("  除数为0错误！请修改算式后计算。"));
                    divisorZero = true;
                    return false;
                }
                v = ZelLiangShuShang(Num::ofText(l), Num::ofText(r));
            }
            out = trimSpaces(v.text());
            return true;
        });
        if (divisorZero) return QStringLiteral("1");

        s = ZelJianHuaBiaoDaShi2(s);
        sumsAndDifferences(s);

        s = ZelJianHuaBiaoDaShi2(s);
        return ZelShuZhuanShu(Num::ofText(ZelXiangHouQuShuZi(s, 1))).text();
    } catch (...) {
        st.report(kSummary(s));
        return QString();
    }
}

QString ZelBiaoDaShiJiSuan(const QString& formula, const CalcSettings& settings) {
    CalcLog& st = calcLog();
    if (st.errorCount > 0) return QStringLiteral("error");
    try {
        QString s = trimSpaces(formula.toLower());

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
        struct Seen {
            qsizetype pos;
            qsizetype opens;  // "(" among this entry and those before it
        };
        std::vector<Seen> seen;
        const qsizetype passes = s.count(u'(');
        qsizetype totalOpen = passes;
        qsizetype start = 0;
        const auto openLeft = [&] { return seen.empty() ? 0 : seen.back().opens; };
        const auto push = [&](qsizetype k) {
            seen.push_back({k, openLeft() + (s[k] == u'(' ? 1 : 0)});
        };
        for (qsizetype pass = 0; pass < passes && !failed && totalOpen > 0; ++pass) {
            qsizetype leftmost = -1;
            qsizetype ahead = -1;
            qsizetype a = start;
            while ((a == 0 || a <= s.size() - 2) && a < s.size()) {
                const bool closedLeft = seen.empty() || s[seen.back().pos] == u')';
                if (closedLeft && totalOpen == openLeft()) break;
                if (isBracket(s[a])) {
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
                    while (ahead < s.size() && !isBracket(s[ahead])) ++ahead;
                }
                if (ahead >= s.size() || s[ahead] != u')') {
                    ++a;
                    continue;
                }
                const qsizetype o = seen.back().pos;
                const QString r = ZelKBiaoDaShiJiSuan(s.mid(o + 1, ahead - o - 1), settings);
                s.replace(o, ahead - o + 1, r);
                --totalOpen;
                if (st.errorCount > 0) {
                    failed = true;
                    break;
                }
                seen.pop_back();
                if (leftmost < 0 || o < leftmost) leftmost = o;
                const qsizetype next = a + 1;
                for (qsizetype k = o + r.size(); k < next && k < s.size(); ++k)
                    if (isBracket(s[k])) push(k);
                ahead = -1;
                a = next;
            }
            if (leftmost < 0) break;  // an unchanged text would give the same pass again
            while (!seen.empty() && seen.back().pos >= leftmost) seen.pop_back();
            start = 0;
            if (!seen.empty()) {
                start = seen.back().pos;
                seen.pop_back();
            }
        }

        if (!failed) {
            s = ZelKBiaoDaShiJiSuan(ZelJianHuaBiaoDaShi(s), settings);
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
    } catch (...) {
    }
    st.report(QStringLiteral("  表达式计算过程中，") + trimSpaces(formula) +
              QStringLiteral("出现超出计算范围错误，我无法计算！返回数值用 error 表示。"));
    return QStringLiteral("error");
}

}  // namespace hc::reference
