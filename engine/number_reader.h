#pragma once
// The reader of number text, the grammar every operand text passes through:
// optional "+" or "-", digits with at most one "." (at least one digit), then
// optionally "e" or "E", an optional sign and at least one digit; spaces around
// the text are allowed, nothing else is.
//
// Other readers in the program read other grammars and stay apart: the lenient
// ZelChuanZhuanShu (typed values with Chinese digits, engine/number_routines.h),
// the formula scanners ZelXiangQianQuShuZi / ZelXiangHouQuShuZi (a number inside
// a formula, expr/evaluate.h) and Decimal::fromText (the same grammar, rounding
// every digit beyond 29 exactly; this reader hands it the texts it cannot build
// directly).

#include <QString>
#include <QStringView>
#include <string>

#include "engine/decimal.h"

namespace hc {

// Reads one text. Construct it on a text already trimmed of spaces, then ask
// valid() before the conversions.
class NumberTextReader {
public:
    explicit NumberTextReader(QStringView trimmed);
    NumberTextReader(const NumberTextReader&) = delete;
    NumberTextReader& operator=(const NumberTextReader&) = delete;

    // True when the text matches the grammar (the empty text does not).
    bool valid() const { return valid_; }
    // The nearest double; a value below the double range reads as 0 (with the
    // text's sign), one above it fails. False on failure.
    bool toDouble(double& out) const;
    // The Decimal, rounded half to even when it has more digits than fit. False
    // when the text is no number or the value is beyond the Decimal range.
    bool toDecimal(Decimal& out) const;

private:
    static constexpr qsizetype kInline = 96;
    QStringView text_;
    char inline_[kInline];
    std::string heap_;
    char* ascii_ = inline_;  // the text for std::from_chars, without a leading "+"
    bool valid_ = false;
    bool negative_ = false;
    int length_ = 0;                 // ASCII characters written
    int digits_ = 0;                 // digits from the first non-zero digit on
    Decimal::u128 coefficient_ = 0;  // those digits, when there are at most 29
    int fractionDigits_ = 0;
    int leadOrder_ = 0;  // decimal exponent of the first non-zero digit, exponent part aside
    long exponent_ = 0;  // exponent part, clamped to +-1000000
    bool scan();
};

// Number text to double, locale-independently; false when the text is not a
// number by the grammar above.
bool textToDouble(QStringView text, double& out);
inline bool textToDouble(const QString& text, double& out) {
    return textToDouble(QStringView(text), out);
}

}  // namespace hc
