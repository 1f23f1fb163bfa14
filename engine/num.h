#pragma once
// The number value of the calculation module and the facts about its canonical
// text that the other routines ask for.

#include <QString>
#include <variant>

#include "engine/decimal.h"

namespace hc {

// A number value: a Decimal (normal results), a double (fallback results and
// library functions, trusted to 15 significant digits), a small integer (a few
// constants), a text (operand texts handed in by callers) or a failure result.
// A failure shows and computes exactly as its text ("", "0", "-1", "error") and
// counts as a text value; only isFailure() tells it apart.
class Num {
public:
    enum class Kind { Decimal, Double, Integer, Text };

    Num() = default;  // the empty text
    // The same as ofDecimal. No other kind converts by construction: Num(0) and
    // Num("0") do not compile, say ofInt(0) or ofText("0").
    explicit Num(const Decimal& d) : value_(std::in_place_index<kDec>, d) {}
    Num(int) = delete;
    Num(double) = delete;
    Num(const char*) = delete;
    Num(const QString&) = delete;

    static Num ofDecimal(const Decimal& d) { return Num(Value(std::in_place_index<kDec>, d)); }
    static Num ofDouble(double d) { return Num(Value(std::in_place_index<kDbl>, d)); }
    static Num ofInt(int i) { return Num(Value(std::in_place_index<kInt>, i)); }
    static Num ofText(QString t) { return Num(Value(std::in_place_index<kText>, std::move(t))); }
    static Num failure(QString t) {
        return Num(Value(std::in_place_index<kFail>, FailureText{std::move(t)}));
    }

    Kind kind() const {
        switch (value_.index()) {
            case kDec:
                return Kind::Decimal;
            case kDbl:
                return Kind::Double;
            case kInt:
                return Kind::Integer;
            default:
                return Kind::Text;
        }
    }
    bool isDecimal() const { return value_.index() == kDec; }
    bool isDouble() const { return value_.index() == kDbl; }
    bool isInteger() const { return value_.index() == kInt; }
    bool isText() const { return value_.index() == kText || value_.index() == kFail; }
    bool isFailure() const { return value_.index() == kFail; }

    // The held value; the zero value (the empty text) for a value of another kind.
    const Decimal& decimal() const;
    double dbl() const {
        const double* d = std::get_if<kDbl>(&value_);
        return d ? *d : 0;
    }
    int integer() const {
        const int* i = std::get_if<kInt>(&value_);
        return i ? *i : 0;
    }
    const QString& rawText() const;

    // Canonical number text of the value (a text value is itself).
    QString text() const;

    // The value as a Decimal: Decimal as is, double with its 15 significant
    // digits, small integer exactly, text read as number text ("" is not a
    // number). Throws DecimalError when that is impossible.
    Decimal toDecimal() const;
    // The value as a double; text is read locale-independently. Throws
    // DecimalError when the text is not a number.
    double toDouble() const;

private:
    enum : std::size_t { kText, kDec, kDbl, kInt, kFail };
    struct FailureText {
        QString text;
    };
    using Value = std::variant<QString, Decimal, double, int, FailureText>;
    explicit Num(Value v) : value_(std::move(v)) {}

    Value value_;
};

// True when the canonical text of the value carries an exponent; never reports.
bool hasExponentText(const Num& x);
// Significant digits of the canonical text of d, counted as ZelYouXiao109ChangDu
// counts them.
int significantDigits(const Decimal& d);
// The trimmed text of a value as it appears in messages (trimming removes the
// space character only).
QString trimmedText(const Num& x);
// True for a value equal to 0; a text counts when it reads as the number 0.
bool isZeroValue(const Num& v);
// True for a text value that is empty or all spaces.
bool isBlankText(const Num& x);

}  // namespace hc
