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

// A packed angle (d.mmss..., at most 6 decimals, as the point windows show it) made
// fit to be shown: 60 seconds after rounding carry into the minutes, 60 minutes into
// the degrees; with `turn` above 0 whole turns are then taken off, so that an
// azimuth (turn 360) or a strike (turn 180) lies in 0 <= angle < turn. The sign of
// a signed angle (turn 0) stays. `packed` itself when nothing changes. Throws
// DecimalError for more than 6 decimals or a value that is no Decimal.
Num shownPacked(const Num& packed, int turn);

}  // namespace hc
