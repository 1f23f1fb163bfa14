#pragma once
// Steps shared by the point calculations (distance and bearing, plane attitude).

#include "engine/decimal.h"
#include "engine/number.h"

namespace hc {

// 180/π to the 29 digits of a Decimal.
const Decimal& degreesPerRadian();

// `v` itself when it is a number; a routine's failure text ends the calculation:
// throws DecimalError.
Num requireNumber(Num v);

}  // namespace hc
