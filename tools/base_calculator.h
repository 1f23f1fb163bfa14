#pragma once
// The base and logic calculator without its window: the state the window shows,
// and the key entry, base switch, operation choice and calculation as operations
// on that state. The window (tools/windows/form203.h) copies the state into its
// controls after each operation and shows the returned notices.
//
// Data texts travel in the base of the window; every calculation is done on
// Decimal values reached through binary (tools/base_conversion.h). Bitwise
// operations act on the magnitudes, rounded to whole 32-bit numbers, and treat
// the sign as one extra bit.

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

#include "engine/notice.h"
#include "tools/base_conversion.h"

namespace hc {

enum class BaseOperation { Add, Sub, Mul, Div, Pow, Mod, And, Or, Not, Xor, Nand, Nor };
constexpr int kBaseOperationCount = 12;

// Option caption ("加" ... "或非"), in the order of Option5 ... Option16.
QString operationCaption(BaseOperation op);
// Label4 text of the operation ("加法 +" ...).
QString operationLabel(BaseOperation op);
bool isBitwise(BaseOperation op);
// The operation named by its caption ("加", "异或" ...) or its ASCII name (add sub
// mul div pow mod and or not xor nand nor, any case); nothing for another text.
std::optional<BaseOperation> operationFromName(const QString& name);
// Help box lines of a bitwise operation, the two common lines included; empty for
// the arithmetic operations.
QStringList operationHelpLines(BaseOperation op);

// True for the bases of the window: 2, 8, 10, 16.
bool isWindowBase(int base);
// Whether the digit key of value `digit` (0 ... 15) is enabled in `base`.
bool digitKeyEnabled(int base, int digit);
// The help box text after switching from `oldBase` to `newBase` (lines joined by CR LF).
QString baseSwitchHelp(int oldBase, int newBase);
// The help box text at load.
QString initialBaseHelp();

// A data box as the key operations see it: its text and the caret position,
// selection length and selected text remembered when it last lost the focus
// (in characters of the text).
struct BaseDataBox {
    QString text;
    int selStart = 0;
    int selLength = 0;
    QString selText;
};

struct BaseWindowState {
    int base = 2;
    int active = 0;  // 0: data 1 (Text1), 1: data 2 (Text2)
    std::array<BaseDataBox, 2> data;
    BaseOperation operation = BaseOperation::Add;
    QString result;                            // Text3
    QString help = initialBaseHelp();          // Text4
    QString label = QStringLiteral("加法 +");  // Label4
    bool data1Visible = true;                  // Text1 (hidden for 非)
    bool warningVisible = false;               // Label6, the long-result warning
    QString warning;                           // its text while shown
};

// ---- Key entry on the active box ----------------------------------------------
// Each returns true when the focus goes back to the active box, with the caret at
// its remembered position (clamped to the text) and no selection.

// Digit key c ("0" ... "9", "A" ... "F"): inserted at the remembered caret in place
// of the remembered selection, unless the caret stands before a leading "-" or the
// text is too long (decimal: 29 digits; other bases but binary: 31 characters),
// which puts "第一个数字太长了！" / "第二个数字太长了！" into the result.
bool pressDigit(BaseWindowState& s, QChar c);
// Point key: as a digit key inserting ".", refused when the text has a point.
bool pressPoint(BaseWindowState& s);
// Sign key: puts "-" before the trimmed text unless it begins with one.
bool pressSign(BaseWindowState& s);
// Delete key: removes the remembered selection and the character before it.
bool pressDelete(BaseWindowState& s);
// Clear key: empties the active box.
bool pressClear(BaseWindowState& s);
// A character typed on the keyboard into the active box, whose remembered caret
// and selection the caller has set to the live ones: "." as the point key, "-"
// only as the first character of a text without one, any other printable
// character as a digit key (no check of the base: the calculation reports it).
// Control characters are refused. Returns true when the character went in.
bool typeCharacter(BaseWindowState& s, QChar c);

// ---- Base, operation, calculation ------------------------------------------------

// The text `text` of base `from` in base `to`, through binary as the base switch
// converts it ("0" for an empty text, the text itself when from == to). A failed
// conversion gives "-1" and records its failure and notice in `notes`.
QString convertBaseText(const QString& text, int from, int to, BaseNotes& notes);
// Base option n (2, 8, 10 or 16): help text, and when the base changes both data
// texts converted and the result cleared. Returns the conversions' notices.
Notices switchBase(BaseWindowState& s, int newBase);
// Operation option: label, data 1 shown or hidden, result cleared, help text for
// the bitwise operations.
void chooseOperation(BaseWindowState& s, BaseOperation op);
// "运算": both data texts read in the base and rewritten in canonical form, the
// operation applied in Decimal, the result written in the base (or one of the two
// error texts), the long-result warning updated. Returns the notices of its
// conversions and arithmetic.
Notices calculate(BaseWindowState& s);

// Result texts of the calculation's two failure kinds.
QString conversionFailedText();   // a conversion, the power or the remainder failed
QString calculationFailedText();  // a failure that ends the calculation

}  // namespace hc
