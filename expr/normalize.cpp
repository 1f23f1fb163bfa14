#include "expr/normalize.h"

#include <array>
#include <string_view>

#include "engine/text_trim.h"
#include "expr/char_classes.h"

namespace hc {

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

// Data-text characters; no target is the source of another mapping, so one pass
// gives the same text as replacing group after group.
constexpr std::array kDataTable{
    Mapping{u' ', u"\u3000"}, Mapping{u'~', u"～"},     Mapping{u'`', u"｀"},
    Mapping{u'#', u"＃"},     Mapping{u'@', u"＠"},     Mapping{u'$', u"＄"},
    Mapping{u'&', u"＆"},     Mapping{u';', u"；"},     Mapping{u'"', u"\u201C\uFF02\u201D"},
    Mapping{u'\'', u"‘＇’"},  Mapping{u',', u"，"},     Mapping{u'.', u"。．·"},
    Mapping{u'=', u"＝"},     Mapping{u'?', u"？"},     Mapping{u'+', u"＋╋┼"},
    Mapping{u'_', u"＿"},     Mapping{u'-', u"—─━―－"}, Mapping{u'*', u"＊"},
    Mapping{u'χ', u"×"},      Mapping{u':', u"｜："},   Mapping{u'\\', u"＼"},
    Mapping{u'!', u"！"},     Mapping{u'%', u"％"},     Mapping{u'^', u"＾"},
    Mapping{kPi, u"Π∏"},      Mapping{u'(', u"（〔"},   Mapping{u'[', u"［"},
    Mapping{u'<', u"＜〈"},   Mapping{u'{', u"｛"},     Mapping{u')', u"）〕"},
    Mapping{u']', u"］"},     Mapping{u'>', u"＞〉"},   Mapping{u'}', u"｝"},
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

QString ZelGuiFanZiFu(const QString& text) {
    QString out = text;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const char16_t c = out[i].unicode();
        if (c < 0x80) continue;
        if (isFullWidthUpper(c)) {
            out[i] = QChar(char16_t(u'A' + (c - 0xFF21)));
            continue;
        }
        if (isFullWidthLower(c)) {
            out[i] = QChar(char16_t(u'a' + (c - 0xFF41)));
            continue;
        }
        bool done = false;
        for (std::size_t d = 0; d < kFormulaDigits.size() && !done; ++d)
            if (inSet(c, kFormulaDigits[d])) {
                out[i] = QChar(char16_t(u'0' + d));
                done = true;
            }
        for (const Mapping& m : kDataTable) {
            if (done) break;
            if (inSet(c, m.sources)) {
                out[i] = QChar(m.target);
                done = true;
            }
        }
    }
    return out;
}

}  // namespace hc
