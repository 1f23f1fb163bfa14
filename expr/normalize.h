#pragma once
// Character normalisers for formula texts and pasted data texts.

#include <QString>

namespace hc {

// Turns a typed formula (Chinese punctuation, full-width characters, Chinese numerals and
// operator words) into a compact ASCII formula with the implicit "*" made explicit.
// Never returns an empty text: an empty result is "0".
QString ZelGuiFanSuanShi(const QString& formula);

// Maps full-width and Chinese characters of a data text to ASCII; keeps case, spacing,
// line breaks and every unlisted character.
QString ZelGuiFanZiFu(const QString& text);

}  // namespace hc
