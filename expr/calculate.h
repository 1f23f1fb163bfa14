#pragma once
// The calculate command of the main window as an operation on texts.

#include <QString>

namespace hc {

struct CalcResult {
    QString formula;      // new text of the formula box (normalised and spaced)
    QString result;       // result box text: the laid-out result or the first error message
    QString status;       // status box text
    QString value;        // the result after the precision check, before layout ("Error" or
                          // "error" when the formula failed)
    bool failed = false;  // an error was counted: `result` holds the message
};

// Runs the whole calculation of a formula with the display decimals, angle unit
// and memory variables of the calculation state; leaves the state reset.
CalcResult ZelJiSuanSuanShi(const QString& formula);

// Lays out a result: decimal point in column 31, "约数" marker when approximate,
// fill to `decimals` places ("_" exact, spaces approximate).
QString ZelXianShiJieGuo(const QString& result, bool approximate, int decimals);

}  // namespace hc
