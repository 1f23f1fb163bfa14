#pragma once
// Character classes of formula texts, shared by the normaliser, the validator and
// the evaluator. ASCII only: a formula reaches them already normalised.

#include <QChar>
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

}  // namespace hc
