#include "expr/normalize.h"

#include <array>
#include <cstring>
#include <string_view>
#include <utility>

#include "engine/text_trim.h"
#include "expr/char_classes.h"

namespace hc {

namespace {

// The character sets of the passes, named here: clang 14 fails to compile a CharSet
// built inside some of the functions.

// What a formula holds besides digits and letters.
constexpr CharSet kSymbols{u"%!^*()-+./\\πε"};
// Two of these in a row are one.
constexpr CharSet kCollapsedWhenDoubled{u".^*/\\%!+"};
// A point before one of these (or a letter) is dropped.
constexpr CharSet kDropsPointBefore{u"-+*/\\^!%πε()"};
// What a factor may start with besides digits.
constexpr CharSet kOpensFactor{u".(πε"};
// What a factor may end with besides digits.
constexpr CharSet kClosesFactor{u"%!)πε"};
// What a factor may start with besides digits and a point.
constexpr CharSet kOpensFactorNoPoint{u"(πε"};
// Dropped from the end of a formula.
constexpr CharSet kTrailingDropped{u"\\ +-*/^e."};
// Dropped from the start of a formula.
constexpr CharSet kLeadingDropped{u"\\*/^%!)"};

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

bool inAlphabet(char16_t c) { return isDigit(c) || isLetter(c) || kSymbols.contains(c); }

// True when the text is empty or sorts below a single space.
bool belowSpace(QStringView s) { return s.isEmpty() || s.front().unicode() < u' '; }

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

// Passes 1 and 2 on one character: what it becomes, or -1 when it is dropped.
int keptCharacter(char16_t c) {
    const int mapped = mapCharacter(c);
    return mapped >= 0 && inAlphabet(char16_t(mapped)) ? mapped : -1;
}

// The passes below work on one buffer: those that remove characters write behind the
// place they read, those that insert characters work from the end towards the start.
class Buffer {
public:
    explicit Buffer(QString& s) : s_(s) {}
    qsizetype size() const { return s_.size(); }
    char16_t* data() { return reinterpret_cast<char16_t*>(s_.data()); }
    void truncate(qsizetype n) { s_.truncate(n); }

    // Keeps the characters from `begin` to `end`.
    void keep(qsizetype begin, qsizetype end) {
        if (begin > 0)
            std::memmove(data(), data() + begin, std::size_t(end - begin) * sizeof(char16_t));
        s_.truncate(end - begin);
    }

    // Makes room for `extra` more characters after the text.
    void grow(qsizetype extra) { s_.resize(s_.size() + extra); }

private:
    QString& s_;
};

// Passes 1 and 2: every character mapped and filtered; deleted ones drop out.
void mapAndFilter(Buffer& b) {
    // ASCII characters, nearly all of a long formula, are looked up once per process.
    static const std::array<int, 128> kAscii = [] {
        std::array<int, 128> t{};
        for (char16_t c = 0; c < 128; ++c) t[c] = keptCharacter(c);
        return t;
    }();
    char16_t* p = b.data();
    qsizetype n = 0;
    for (qsizetype i = 0; i < b.size(); ++i) {
        const char16_t c = p[i];
        const int kept = c < 128 ? kAscii[c] : keptCharacter(c);
        if (kept >= 0) p[n++] = char16_t(kept);
    }
    b.truncate(n);
}

// Pass 3: a change at one position is re-examined there and never reaches back, so the
// text left of the current position is final and the pass runs in one sweep.
void collapsePairs(Buffer& b) {
    if (b.size() == 0) return;
    char16_t* p = b.data();
    qsizetype n = 0;
    char16_t cur = p[0];
    for (qsizetype i = 1; i < b.size(); ++i) {
        const char16_t next = p[i];
        if (cur == next && kCollapsedWhenDoubled.contains(cur)) continue;
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
        p[n++] = cur;
        cur = next;
    }
    p[n++] = cur;
    b.truncate(n);
}

// Pass 6: stray decimal points removed, and two spaces put at each end.
void dropStrayPoints(Buffer& b) {
    char16_t* p = b.data();
    qsizetype n = 0;
    for (qsizetype i = 0; i < b.size(); ++i) {
        const char16_t next = i + 1 < b.size() ? p[i + 1] : u' ';
        if (p[i] == u'.' && (isLetter(next) || kDropsPointBefore.contains(next))) continue;
        p[n++] = p[i];
    }
    b.truncate(n);
    b.grow(4);
    p = b.data();
    std::memmove(p + 2, p, std::size_t(n) * sizeof(char16_t));
    p[0] = p[1] = p[n + 2] = p[n + 3] = u' ';
}

// Runs an inserting pass from the end towards the start. `inserts(prev, c, next)` tells,
// from the text as it was before the pass, whether a "*" goes before and after the
// character at i (0 < i < size); the first character is kept as it is.
template <typename Inserts>
void insertProducts(Buffer& b, Inserts inserts) {
    const qsizetype n = b.size();
    if (n < 2) return;
    qsizetype extra = 0;
    {
        const char16_t* p = b.data();
        for (qsizetype i = 1; i < n; ++i) {
            const auto [before, after] = inserts(p, i, n);
            extra += before + after;
        }
    }
    if (extra == 0) return;
    b.grow(extra);
    char16_t* p = b.data();
    qsizetype w = n + extra;
    // The characters right of i may be overwritten already: the one next to i is kept.
    char16_t saved = p[n - 1];
    for (qsizetype i = n - 1; i >= 1; --i) {
        const char16_t c = p[i];
        const char16_t keptNext = saved;
        saved = c;
        const auto [before, after] = inserts(p, i, n, keptNext);
        if (after) p[--w] = u'*';
        p[--w] = c;
        if (before) p[--w] = u'*';
    }
}

// Pass 7: one-letter variables next to numbers and brackets.
struct LetterProducts {
    std::pair<bool, bool> operator()(const char16_t* p, qsizetype i, qsizetype n) const {
        return (*this)(p, i, n, i + 1 < n ? p[i + 1] : u' ');
    }
    std::pair<bool, bool> operator()(const char16_t* p, qsizetype i, qsizetype n,
                                     char16_t next) const {
        const char16_t c = p[i];
        if (!isLetter(c) || c == u'e' || i + 1 >= n) return {false, false};
        const char16_t prev = p[i - 1];
        const bool after = (isDigit(next) || kOpensFactor.contains(next)) && !isLetter(prev);
        const bool before = isDigit(prev) || kClosesFactor.contains(prev);
        return {before, after};
    }
};

// Pass 8: "*" after closing symbols followed by an operand.
struct ProductsAfterClosing {
    std::pair<bool, bool> operator()(const char16_t* p, qsizetype i, qsizetype n) const {
        return (*this)(p, i, n, i + 1 < n ? p[i + 1] : u' ');
    }
    std::pair<bool, bool> operator()(const char16_t* p, qsizetype i, qsizetype n,
                                     char16_t next) const {
        const bool after = i + 1 < n && kClosesFactor.contains(p[i]) &&
                           (isDigit(next) || kOpensFactor.contains(next));
        return {false, after};
    }
};

// Pass 9: "*" before opening symbols that follow an operand.
struct ProductsBeforeOpening {
    std::pair<bool, bool> operator()(const char16_t* p, qsizetype i, qsizetype n) const {
        return (*this)(p, i, n, u' ');
    }
    std::pair<bool, bool> operator()(const char16_t* p, qsizetype i, qsizetype, char16_t) const {
        const char16_t prev = p[i - 1];
        const bool before =
            kOpensFactorNoPoint.contains(p[i]) && (isDigit(prev) || kClosesFactor.contains(prev));
        return {before, false};
    }
};

}  // namespace

QString ZelGuiFanSuanShi(const QString& formula) {
    const QString zero = QStringLiteral("0");

    // The one copy of the text that the passes then edit in place.
    QString s = lowerCase(trimSpaces(formula));
    if (belowSpace(s)) return zero;
    Buffer b(s);

    mapAndFilter(b);
    if (belowSpace(s)) return zero;

    collapsePairs(b);

    // Passes 4 and 5: operators at the ends.
    const char16_t* p = b.data();
    qsizetype end = b.size();
    while (end > 0 && kTrailingDropped.contains(p[end - 1])) --end;
    qsizetype begin = 0;
    while (begin < end && kLeadingDropped.contains(p[begin])) ++begin;
    if (begin == end) return zero;
    b.keep(begin, end);

    dropStrayPoints(b);
    // An inserted "*" only separates the letter from a neighbour that no other letter
    // looks at, so every decision of pass 7 can be taken on the text as it was before.
    insertProducts(b, LetterProducts{});
    insertProducts(b, ProductsAfterClosing{});
    insertProducts(b, ProductsBeforeOpening{});

    // The two spaces at each end go; nothing else is a space.
    b.keep(2, b.size() - 2);
    return s;
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
