#pragma once
// Splitting a number into its integer part and its fraction digits, as an operation
// on texts.

#include <QString>

namespace hc {

struct Decomposition {
    QString integerPart;   // with its sign; "-0" for numbers between -1 and 0
    QString fractionPart;  // the digits after the point, "0" for whole numbers
    bool number = true;    // false when the text was no number and read as 0
};

// Reads `text` as a number (anything else reads as 0) and splits its canonical text.
// A number in exponent form keeps its whole text in the integer part (magnitude
// above 10000) or in the fraction part. Never throws.
Decomposition decomposeNumber(const QString& text);

}  // namespace hc
