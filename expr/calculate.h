#pragma once
// The calculate command of the main window as an operation on texts.

#include <QString>

#include "engine/calc_settings.h"
#include "engine/notice.h"
#include "expr/cancel.h"

namespace hc {

struct CalcResult {
    QString formula;      // new text of the formula box (normalised and spaced)
    QString result;       // result box text: the laid-out result or the first error message
    QString status;       // status box text
    QString value;        // the result after the precision check, before layout ("Error" or
                          // "error" when the formula failed)
    bool failed = false;  // an error was counted: `result` holds the message
    Notices notices;      // for message boxes, in the order the calculation met them
    // Stopped by its cancel flag: `formula` is the text given, `result` is empty and
    // `status` says so.
    bool cancelled = false;
};

// Runs the whole calculation of a formula with the display decimals, angle unit
// and memory variables of `settings`, in a log of its own (the caller's log is
// left as it was). Stops, with `cancelled` set, soon after `cancel` is set (from
// any thread). Never throws.
CalcResult ZelJiSuanSuanShi(const QString& formula, const CalcSettings& settings,
                            const CancelFlag* cancel = nullptr);

// Status text of a calculation stopped before its end.
QString cancelledStatusText();

// Lays out a result: decimal point in column 31, "约数" marker when approximate,
// fill to `decimals` places ("_" exact, spaces approximate).
QString ZelXianShiJieGuo(const QString& result, bool approximate, int decimals);

}  // namespace hc
