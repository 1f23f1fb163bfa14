#pragma once
// Number values, their canonical text, the calculation state with its error log,
// and the number readers of the calculation module.

#include <QString>
#include <array>

#include "engine/decimal.h"

namespace hc {

// A number value: a Decimal (normal results), a double (fallback results and
// library functions, trusted to 15 significant digits), a small integer (a few
// constants and sentinels) or a text (failure results "", "0", "-1", "error" and
// operand texts handed in by callers).
class Num {
public:
    enum class Kind { Decimal, Double, Integer, Text };

    Num() : kind_(Kind::Text) {}  // the empty text
    Num(const Decimal& d) : kind_(Kind::Decimal), dec_(d) {}
    Num(double d) : kind_(Kind::Double), dbl_(d) {}
    Num(int i) : kind_(Kind::Integer), int_(i) {}
    Num(const QString& t) : kind_(Kind::Text), text_(t) {}
    Num(const char* t) : kind_(Kind::Text), text_(QString::fromUtf8(t)) {}

    Kind kind() const { return kind_; }
    bool isDecimal() const { return kind_ == Kind::Decimal; }
    bool isDouble() const { return kind_ == Kind::Double; }
    bool isInteger() const { return kind_ == Kind::Integer; }
    bool isText() const { return kind_ == Kind::Text; }

    const Decimal& decimal() const { return dec_; }
    double dbl() const { return dbl_; }
    int integer() const { return int_; }
    const QString& rawText() const { return text_; }

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
    Kind kind_;
    Decimal dec_;
    double dbl_ = 0;
    int int_ = 0;
    QString text_;
};

// Canonical text of a double: at most 15 significant digits, exponent form
// (mantissa, "E", sign, at least two digits) below 1E-4 and from 1E+15 on.
QString doubleToText(double d);
// The same text as ASCII into buf (no terminator); returns its length.
constexpr int kDoubleTextCapacity = 32;
int writeDoubleText(double d, char (&buf)[kDoubleTextCapacity]);
// True when the canonical text of the value carries an exponent; never reports.
bool hasExponentText(const Num& x);
// Significant digits of the canonical text of d, counted as ZelYouXiao109ChangDu
// counts them.
int significantDigits(const Decimal& d);
// Locale-independent number text to double; false when the text is not a number
// by the number-text grammar (spaces around are allowed).
bool textToDouble(const QString& text, double& out);

// Arithmetic directly on number values: a Decimal operand makes the operation
// Decimal (a double operand converted with its 15 significant digits), else a
// double operand makes it double; small integers and texts take the other
// operand's kind (Decimal between themselves). Throws DecimalError on failure
// (overflow, division by zero, an operand that is no number such as ""); the
// calling routine reports it.
Num mixedAdd(const Num& a, const Num& b);
Num mixedSub(const Num& a, const Num& b);
Num mixedMul(const Num& a, const Num& b);
Num mixedDiv(const Num& a, const Num& b);

// Angle unit codes of the calculation state.
enum AngleUnit : int { kRadians = 3, kDecimalDegrees = 100, kPackedDms = 60 };

struct CalcState {
    int errorCount = 0;
    QString lastMessage;
    QString firstMessage;
    QString errorLog;
    int precisionLimit = 29;
    int displayDecimals = 15;
    int angleUnit = kRadians;
    std::array<Num, 9> memory{Num(1), Num(2), Num(3), Num(4), Num(5),
                              Num(6), Num(7), Num(8), Num(9)};  // r ... z

    // Counts the failure and logs its message.
    void report(const QString& message);
    // Logs a message without counting it.
    void logOnly(const QString& message);
    // Lowers the precision limit to at most `limit`.
    void limitTo(int limit) {
        if (precisionLimit > limit) precisionLimit = limit;
    }
};

// The one calculation state of the program.
CalcState& calcState();

// Calculation-module routines.
Num ZelShuZhuanShu(const Num& x);
int ZelDuoShaoE(const Num& x);
Num ZelChuanZhuanShu(const Num& x);
void ZelChongZhi();

// The trimmed text of a value as it appears in messages (trimming removes the
// space character only).
QString trimmedText(const Num& x);
// True for a value equal to 0; a text counts when it reads as the number 0.
bool isZeroValue(const Num& v);
QString trimSpaces(const QString& s);
QStringView trimSpaces(QStringView s);
// True for a text value that is empty or all spaces.
bool isBlankText(const Num& x);

}  // namespace hc
