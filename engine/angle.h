#pragma once
// Angle units: radians, decimal degrees and packed degrees-minutes-seconds.

#include "engine/calc_settings.h"
#include "engine/num.h"

namespace hc {

// An angle in `unit` to radians, for the circular functions. In the two degree
// units whole turns are removed in exact degrees first (the sign stays, angles
// within one turn are unchanged), and a multiple of 90 degrees gives exactly 0
// or the text constant pi/2, pi or 3pi/2 (functions.h), -90 giving 3pi/2. An
// angle in exponent form gives 0. Reports nothing of its own: a text that is not
// a number is reported by the reader and reads as 0; a failure inside gives the
// failure "error" for the caller to report.
Num ZelDanWeiZhuanHuDu(const Num& x, AngleUnit unit);
// Packed degrees-minutes-seconds (d.mmss...) to decimal degrees. Seconds or
// minutes above 60 are taken as 60, with a notice in the current log; a failure
// is reported and gives the failure "".
Num ZelDuZhuanTiDu(const Num& x);
// Packed degrees-minutes-seconds to radians; a failure is reported and gives the
// failure "".
Num ZelDuZhuanHuDu(const Num& x);
// Decimal degrees to packed degrees-minutes-seconds. Reports nothing, like
// ZelDanWeiZhuanHuDu.
Num ZelTiDuZhuanDu(const Num& x);

}  // namespace hc
