#pragma once
// Arithmetic directly on number values, for the routines that combine values of
// different kinds without the reports of the two-operand routines.

#include "engine/num.h"

namespace hc {

// A Decimal operand makes the operation Decimal (a double operand converted with
// its 15 significant digits), else a double operand makes it double (and lowers
// the precision limit of the current log to 15); small integers and texts take the
// other operand's kind (Decimal between themselves). Throws DecimalError on
// failure (overflow, division by zero, an operand that is no number such as "");
// the calling routine reports it.
Num mixedAdd(const Num& a, const Num& b);
Num mixedSub(const Num& a, const Num& b);
Num mixedMul(const Num& a, const Num& b);
Num mixedDiv(const Num& a, const Num& b);

}  // namespace hc
