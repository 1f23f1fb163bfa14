#pragma once
// Character classes of formula texts, shared by the normaliser, the validator and
// the evaluator. ASCII only: a formula reaches them already normalised.

#include <QChar>
#include <QString>
#include <cstdint>
#include <string_view>

namespace hc {

// True when c is one of the characters of `set`.
inline bool inSet(char16_t c, std::u16string_view set) {
    return set.find(c) != std::u16string_view::npos;
}
inline bool inSet(QChar c, std::u16string_view set) { return inSet(c.unicode(), set); }

// The same question in one step, for sets of ASCII characters, "π" and "ε" built at
// compile time (any other character in the set does not compile).
class CharSet {
public:
    consteval explicit CharSet(std::u16string_view set) {
        for (const char16_t c : set) {
            if (c < 64)
                low_ |= std::uint64_t{1} << c;
            else if (c < 128)
                high_ |= std::uint64_t{1} << (c - 64);
            else if (c == u'π')
                pi_ = true;
            else if (c == u'ε')
                epsilon_ = true;
            else
                throw "a CharSet holds ASCII characters, pi and epsilon only";
        }
    }
    constexpr bool contains(char16_t c) const {
        if (c < 64) return (low_ >> c) & 1;
        if (c < 128) return (high_ >> (c - 64)) & 1;
        return (c == u'π' && pi_) || (c == u'ε' && epsilon_);
    }
    constexpr bool contains(QChar c) const { return contains(c.unicode()); }

private:
    std::uint64_t low_ = 0;
    std::uint64_t high_ = 0;
    bool pi_ = false;
    bool epsilon_ = false;
};

// 0 ... 9.
inline bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
inline bool isDigit(QChar c) { return isDigit(c.unicode()); }

// a ... z (formulas are lower-cased before these are asked).
inline bool isLetter(char16_t c) { return c >= u'a' && c <= u'z'; }
inline bool isLetter(QChar c) { return isLetter(c.unicode()); }

// "+" or "-".
inline bool isSign(QChar c) { return c == u'+' || c == u'-'; }

// "(" or ")".
inline bool isBracket(QChar c) { return c == u'(' || c == u')'; }

// c lower-cased when it is an ASCII letter, else c.
inline char16_t asciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 0x20) : c; }

// True when every character of s is ASCII, so that lower-casing it maps A ... Z alone.
inline bool isAscii(QStringView s) {
    bool ascii = true;
    for (QChar c : s) ascii &= c.unicode() < 0x80;
    return ascii;
}

// s lower-cased as QString::toLower() does; s itself, not copied, when nothing changes.
inline QString lowerCase(const QString& s) {
    if (!isAscii(s)) return s.toLower();
    for (QChar c : s)
        if (c.unicode() >= u'A' && c.unicode() <= u'Z') return s.toLower();
    return s;
}

}  // namespace hc
