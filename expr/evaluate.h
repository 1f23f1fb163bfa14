#pragma once
// The evaluator: brackets innermost first, then the phases of a bracket-free text.

#include <QString>

#include "engine/calc_settings.h"
#include "expr/cancel.h"

namespace hc {

// Value of a validated formula as number text rounded to the display decimals of
// `settings`, or "error" (failures are in the current log). Trigonometric
// functions read and give angles in its angle unit; r ... z are its memory.
// Throws Cancelled, and logs nothing more, once `cancel` is set.
QString ZelBiaoDaShiJiSuan(const QString& formula, const CalcSettings& settings,
                           const CancelFlag* cancel = nullptr);

// Value of a bracket-free text as number text; "1", "-1" or "" on failure.
// Throws Cancelled once `cancel` is set.
QString ZelKBiaoDaShiJiSuan(const QString& text, const CalcSettings& settings,
                            const CancelFlag* cancel = nullptr);

// The two scanners below read a number inside a formula, from an operator outwards:
// digits, points, signs and one exponent letter, stopping at the first character
// that cannot continue the number and reporting texts with too many points, signs or
// exponent letters. They find where an operand ends, which the number-text reader
// (engine/number_reader.h) does not; the operand they cut out is then read by it.

// The number text that ends at 1-based position p of s (leading sign and trailing
// spaces included); on failure the lower-cased text up to p.
QString ZelXiangQianQuShuZi(const QString& s, qsizetype p);

// The number text that starts at 1-based position p of s (leading spaces and sign
// included); on failure the lower-cased rest of the text from p.
QString ZelXiangHouQuShuZi(const QString& s, qsizetype p);

}  // namespace hc
