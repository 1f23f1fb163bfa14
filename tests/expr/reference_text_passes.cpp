// The normaliser, validator and sign simplifiers as they were before they were made to
// work in place. Kept for the tests only, which compare the in-place ones with them.

#include "tests/expr/reference_text_passes.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "engine/calc_log.h"
#include "engine/text_trim.h"
#include "expr/char_classes.h"

namespace hc::reference {

namespace {

constexpr char16_t kDeleted = 0;
constexpr char16_t kPi = u'π';
constexpr char16_t kEpsilon = u'ε';

struct Mapping {
    char16_t target;
    std::u16string_view sources;
};

// Formula characters, in the order the groups are tested.
constexpr std::array kFormulaTable{
    Mapping{kDeleted, u" \u3000"}, Mapping{kDeleted, u"≡≈≠＝="},    Mapping{kDeleted, u"?？"},
    Mapping{u'.', u"．。.·"},      Mapping{u'.', u"、点"},          Mapping{u'+', u"加正＋╋┼+"},
    Mapping{u'-', u"减负_＿±"},    Mapping{u'-', u"—-─━―－"},       Mapping{u'*', u"＊乘χ×*"},
    Mapping{u'/', u":除|｜：÷／"}, Mapping{u'\\', u"\\余＼"},       Mapping{u'!', u"!！"},
    Mapping{u'%', u"%％"},         Mapping{u'^', u"^＾"},           Mapping{kPi, u"∏Ππ"},
    Mapping{kEpsilon, u"ε"},       Mapping{u'(', u"(（〔〈《「『"}, Mapping{u'(', u"【〖［｛["},
    Mapping{u'(', u"<{＜"},        Mapping{u')', u")）〕〉》」』"}, Mapping{u')', u"】〗］｝]"},
    Mapping{u')', u">}＞"},
};

constexpr std::array<std::u16string_view, 10> kFormulaDigits{
    u"零０另", u"壹１一", u"贰２二", u"叁３三", u"肆４四",
    u"伍５五", u"陆６六", u"柒７七", u"捌８八", u"玖９九",
};

bool isFullWidthUpper(char16_t c) { return c >= 0xFF21 && c <= 0xFF3A; }
bool isFullWidthLower(char16_t c) { return c >= 0xFF41 && c <= 0xFF5A; }

bool inAlphabet(char16_t c) { return isDigit(c) || isLetter(c) || inSet(c, u"%!^*()-+./\\πε"); }

// True when the text is empty or sorts below a single space.
bool belowSpace(const QString& s) { return s.isEmpty() || s.front().unicode() < u' '; }

// Pass 1 on one character: looked up in both tables as read; -1 when it is deleted.
int mapCharacter(char16_t c) {
    char16_t mapped = c;
    for (const Mapping& m : kFormulaTable) {
        if (inSet(c, m.sources)) {
            if (m.target == kDeleted) return -1;
            mapped = m.target;
            break;
        }
    }
    if (isFullWidthUpper(c))
        mapped = char16_t(u'a' + (c - 0xFF21));
    else if (isFullWidthLower(c))
        mapped = char16_t(u'a' + (c - 0xFF41));
    else
        for (std::size_t d = 0; d < kFormulaDigits.size(); ++d)
            if (inSet(c, kFormulaDigits[d])) mapped = char16_t(u'0' + d);
    return mapped;
}

// Pass 1: every character mapped; deletions drop it.
QString mapCharacters(const QString& in) {
    // ASCII characters, nearly all of a long formula, are looked up once per process.
    static const std::array<int, 128> kAscii = [] {
        std::array<int, 128> t{};
        for (char16_t c = 0; c < 128; ++c) t[c] = mapCharacter(c);
        return t;
    }();
    QString out(in.size(), Qt::Uninitialized);
    char16_t* o = reinterpret_cast<char16_t*>(out.data());
    qsizetype n = 0;
    for (QChar qc : in) {
        const char16_t c = qc.unicode();
        const int mapped = c < 128 ? kAscii[c] : mapCharacter(c);
        if (mapped >= 0) o[n++] = char16_t(mapped);
    }
    out.truncate(n);
    return out;
}

// Pass 3: a change at one position is re-examined there and never reaches back, so the
// text left of the current position is final and the pass runs in one sweep.
QString collapsePairs(const QString& in) {
    QString out;
    out.reserve(in.size());
    if (in.isEmpty()) return out;
    char16_t cur = in[0].unicode();
    for (qsizetype i = 1; i < in.size(); ++i) {
        const char16_t next = in[i].unicode();
        if (cur == next && inSet(cur, u".^*/\\%!+")) continue;
        if (cur == u'-' && next == u'-') {
            cur = u'+';
            continue;
        }
        if ((cur == u'+' && next == u'-') || (cur == u'-' && next == u'+')) {
            cur = u'-';
            continue;
        }
        if (cur == u'p' && next == u'i') {
            cur = kPi;
            continue;
        }
        out.append(QChar(cur));
        cur = next;
    }
    out.append(QChar(cur));
    return out;
}

}  // namespace

QString ZelGuiFanSuanShi(const QString& formula) {
    const QString zero = QStringLiteral("0");

    QString s = trimSpaces(formula).toLower();
    if (belowSpace(s)) return zero;

    s = mapCharacters(s);

    QString filtered;
    filtered.reserve(s.size());
    for (QChar c : s)
        if (inAlphabet(c.unicode())) filtered.append(c);
    if (belowSpace(filtered)) return zero;

    s = collapsePairs(filtered);

    qsizetype end = s.size();
    while (end > 0 && inSet(s[end - 1].unicode(), u"\\ +-*/^e.")) --end;
    qsizetype begin = 0;
    while (begin < end && inSet(s[begin].unicode(), u"\\*/^%!)")) ++begin;
    if (begin == end) return zero;
    s = s.mid(begin, end - begin);

    // Pass 6: stray decimal points; the text is then framed by two spaces at each end.
    {
        QString t = QStringLiteral("  ");
        t.reserve(s.size() + 4);
        for (qsizetype i = 0; i < s.size(); ++i) {
            const char16_t next = i + 1 < s.size() ? s[i + 1].unicode() : u' ';
            if (s[i] == u'.' && (isLetter(next) || inSet(next, u"-+*/\\^!%πε()"))) continue;
            t.append(s[i]);
        }
        t.append(QStringLiteral("  "));
        s = t;
    }

    // Pass 7: one-letter variables next to numbers and brackets. An inserted "*" only
    // separates the letter from a neighbour that no other letter looks at, so every
    // decision can be taken on the text as it was before the pass.
    {
        QString t;
        t.reserve(s.size() * 2);
        t.append(s[0]);
        for (qsizetype i = 1; i < s.size(); ++i) {
            const char16_t c = s[i].unicode();
            if (!isLetter(c) || c == u'e' || i + 1 >= s.size()) {
                t.append(s[i]);
                continue;
            }
            const char16_t prev = s[i - 1].unicode();
            const char16_t next = s[i + 1].unicode();
            const bool after = (isDigit(next) || inSet(next, u".(πε")) && !isLetter(prev);
            const bool before = isDigit(prev) || inSet(prev, u"%!)πε");
            if (before) t.append(u'*');
            t.append(s[i]);
            if (after) t.append(u'*');
        }
        s = t;
    }

    // Pass 8: "*" after closing symbols followed by an operand.
    {
        QString t;
        t.reserve(s.size() * 2);
        t.append(s[0]);
        for (qsizetype i = 1; i < s.size(); ++i) {
            const char16_t c = s[i].unicode();
            t.append(s[i]);
            if (i + 1 < s.size() && inSet(c, u")%!πε")) {
                const char16_t next = s[i + 1].unicode();
                if (isDigit(next) || inSet(next, u".(πε")) t.append(u'*');
            }
        }
        s = t;
    }

    // Pass 9: "*" before opening symbols that follow an operand.
    {
        QString t;
        t.reserve(s.size() * 2);
        t.append(s[0]);
        for (qsizetype i = 1; i < s.size(); ++i) {
            const char16_t c = s[i].unicode();
            const char16_t prev = s[i - 1].unicode();
            if (inSet(c, u"(πε") && (isDigit(prev) || inSet(prev, u"%!)πε"))) t.append(u'*');
            t.append(s[i]);
        }
        s = t;
    }

    return trimSpaces(s);
}

namespace {

// The trimmed, lower-cased text, or an empty text when the formula counts as empty.
QString prepared(const QString& text) {
    QString t = trimSpaces(text.toLower());
    if (t == QStringLiteral("空算式错误") || t.isEmpty() || t.front().unicode() < u' ')
        return QString();
    return t;
}

QString withoutSpaces(const QString& t) {
    QString out;
    out.reserve(t.size());
    for (QChar c : t)
        if (c != u' ' && c != QChar(0x3000)) out.append(c);
    return out;
}

// Counts `count` failures and logs `message` once; it becomes the first message only
// when the error count is then 1.
void reportCounted(int count, const QString& message) {
    CalcLog& st = calcLog();
    st.errorCount += count;
    st.logOnly(message);
    if (st.errorCount == 1) st.firstMessage = message;
}

int adjacencyErrors(const QString& s) {
    int errors = 0;
    for (qsizetype i = 1; i + 1 < s.size(); ++i) {
        const QChar c = s[i];
        const QChar prev = s[i - 1];
        const QChar next = s[i + 1];
        if (i == 1 && inSet(c, u"\\/*^!%")) ++errors;
        if (i == 1 && c == u'e' && (next == u'-' || next == u'+' || isDigit(next))) ++errors;
        if (c == u'(' && inSet(next, u"*/^\\)!%")) ++errors;
        if (c == u')' && inSet(prev, u"-+*/^\\(")) ++errors;
        if ((c == u'!' || c == u'%') && inSet(prev, u"-+*/^\\(")) ++errors;
        if (inSet(c, u"^/*\\") && inSet(prev, u"-+*/^\\(")) ++errors;
        if (inSet(c, u"^/*\\+-") && inSet(next, u"*/^\\)!%")) ++errors;
        if (c == u'.' && isLetter(next)) ++errors;
    }
    return errors;
}

// Where the last applicable rule puts a "*" next to the character.
enum class Insert { None, Before, After };

Insert implicitProduct(QChar prev, QChar c, QChar next) {
    const bool operandAfter = isDigit(next) || next == u'π' || next == u'ε' || isLetter(next);
    const bool operandBefore = isDigit(prev) || inSet(prev, u"πε!%");
    Insert r = Insert::None;
    if (c == u')' && next == u'(') r = Insert::After;
    if (c == u'(' && operandBefore) r = Insert::Before;
    if (c == u')' && operandAfter) r = Insert::After;
    if (c == u'π' || c == u'ε') {
        if (operandBefore) r = Insert::Before;
        if (operandAfter) r = Insert::After;
    }
    if ((c == u'!' || c == u'%') && operandAfter) r = Insert::After;
    if (isDigit(c) &&
        (next == u'(' || next == u'π' || next == u'ε' || (isLetter(next) && next != u'e')))
        r = Insert::After;
    return r;
}

// The text is scanned as it grows: a "*" put before a character moves that character
// one place on, where it is looked at once more (with the "*" now before it).
QString insertProducts(const QString& s) {
    QString out;
    out.reserve(s.size() * 2);
    out.append(s[0]);
    const qsizetype last = s.size() - 1;
    for (qsizetype i = 1; i < last; ++i) {
        const QChar c = s[i];
        Insert ins = implicitProduct(out.back(), c, s[i + 1]);
        if (ins == Insert::Before) {
            out.append(u'*');
            ins = implicitProduct(out.back(), c, s[i + 1]);
        }
        out.append(c);
        if (ins == Insert::After) out.append(u'*');
    }
    out.append(s[last]);
    return out;
}

QString spaceOperators(const QString& s) {
    QString out;
    out.reserve(s.size() * 3);
    out.append(s[0]);
    const qsizetype last = s.size() - 1;
    for (qsizetype i = 1; i < last; ++i) {
        const QChar c = s[i];
        const QChar prev = out.back();
        if (inSet(c, u")(^/*\\") || ((c == u'+' || c == u'-') && prev != u' ' && prev != u'e')) {
            out.append(u' ');
            out.append(c);
            out.append(u' ');
        } else {
            out.append(c);
        }
    }
    out.append(s[last]);
    return out;
}

}  // namespace

bool bracketsPair(QStringView s, qsizetype from, qsizetype end) {
    qsizetype totalOpen = 0;
    qsizetype totalClose = 0;
    for (QChar c : s) {
        totalOpen += c == u'(';
        totalClose += c == u')';
    }
    qsizetype leftOpen = 0;
    qsizetype leftClose = 0;
    for (QChar c : s.first(std::min(from, s.size()))) {
        leftOpen += c == u'(';
        leftClose += c == u')';
    }
    for (qsizetype i = from; i < end && i < s.size(); ++i) {
        const QChar c = s[i];
        if (!isBracket(c)) {
            const qsizetype rightOpen = totalOpen - leftOpen;
            const qsizetype rightClose = totalClose - leftClose;
            if (leftClose > leftOpen || rightOpen > rightClose) {
                calcLog().report(QStringLiteral(" 算式--括号顺序--错误,请修改。"));
                return false;
            }
            if (leftOpen - leftClose != rightClose - rightOpen) {
                calcLog().report(QStringLiteral(" 算式--括号无法配对--错误,请修改。"));
                return false;
            }
        }
        leftOpen += c == u'(';
        leftClose += c == u')';
    }
    return true;
}

QString ZelFenJieBiaoDaShi(const QString& formula) {
    const QString t = prepared(formula);
    if (t.isEmpty()) return QStringLiteral("0");
    QString s = u' ' + t + u' ';
    try {
        const int errors = adjacencyErrors(s);
        if (errors > 0) {
            reportCounted(errors, QStringLiteral(" 算式中存在多个运算符相临的错误，请修改算式。"));
            return s;
        }
        s = spaceOperators(insertProducts(s));
        bracketsPair(s, 1, s.size() - 1);
        return s;
    } catch (...) {
        calcLog().report(QStringLiteral("  [分解表达式]过程中，") + trimSpaces(formula) +
                         QStringLiteral("出现超出范围错误，我无法计算！"));
        return s;
    }
}

QString ZelJianHuaBiaoDaShi(const QString& text) {
    const QString t = prepared(text);
    if (t.isEmpty()) return QStringLiteral("0");
    const QString s = withoutSpaces(t);
    QString out;
    out.reserve(s.size());
    for (QChar c : s) {
        if (c == u'+' && !out.isEmpty() && (out.back() == u'+' || out.back() == u'-')) continue;
        out.append(c);
    }
    return out;
}

QString ZelJianHuaBiaoDaShi2(const QString& text) {
    const QString t = prepared(text);
    if (t.isEmpty()) return QStringLiteral("0");
    const QString s = withoutSpaces(t);
    QString out;
    out.reserve(s.size());
    for (QChar c : s) {
        const bool sign = c == u'+' || c == u'-';
        if (sign && !out.isEmpty() && (out.back() == u'+' || out.back() == u'-')) {
            out.back() = out.back() == c ? QChar(u'+') : QChar(u'-');
            continue;
        }
        out.append(c);
    }
    return out;
}

}  // namespace hc::reference
