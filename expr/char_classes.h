#pragma once
// Character classes of formula texts, shared by the normaliser, the validator and
// the evaluator. ASCII only: a formula reaches them already normalised.

#include <QChar>
#include <QString>
#include <string_view>

namespace hc {

// True when c is one of the characters of `set`.
inline bool inSet(char16_t c, std::u16string_view set) {
    return set.find(c) != std::u16string_view::npos;
}
inline bool inSet(QChar c, std::u16string_view set) { return inSet(c.unicode(), set); }

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
