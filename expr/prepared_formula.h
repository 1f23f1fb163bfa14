#pragma once
// A formula normalised once and evaluated at many values of its memory variables,
// for the routines that sample a function (integrals, derivatives, roots).

#include <QString>

#include "engine/calc_settings.h"
#include "engine/decimal.h"
#include "expr/cancel.h"

namespace hc {

// One value of a prepared formula.
struct FormulaValue {
    bool ok = false;
    Decimal value;    // the value to 28 decimal places when ok
    int digits = 29;  // significant digits the value can be trusted to (15 after a
                      // function computed in doubles, 29 when nothing limited it)
    QString message;  // the evaluator's first message when not ok
};

class PreparedFormula {
public:
    // Normalises `formula` as the calculate command does. A unary minus in front of a
    // memory variable or a bracket, after "*", "/", "\", "^" or a function name, is
    // taken as a subtraction from 0 there, so that a negative value in that place
    // reads as a number instead of failing on the sign pair "--".
    explicit PreparedFormula(const QString& formula);

    // False when the formula itself is faulty; message() then says why.
    bool ok() const { return ok_; }
    const QString& message() const { return message_; }
    // The normalised text that evaluate() computes.
    const QString& text() const { return text_; }

    // Value with the angle unit and memory variables of `settings` (its display
    // decimals are not used: the value keeps 28 decimals). A value outside the Decimal
    // range is a failure. Throws Cancelled once `cancel` is set.
    FormulaValue evaluate(const CalcSettings& settings, const CancelFlag* cancel = nullptr) const;

private:
    QString text_;
    QString message_;
    bool ok_ = false;
};

// The rewriting of unary minus described at PreparedFormula, on a compact formula
// text as the first normalising step leaves it.
QString negatedOperandsAsDifferences(const QString& compact);

}  // namespace hc
