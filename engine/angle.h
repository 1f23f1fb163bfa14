#pragma once
// Angle units: radians, decimal degrees and packed degrees-minutes-seconds.

#include "engine/number.h"

namespace hc {

// An angle in the unit of the calculation state, to radians. Reports nothing of
// its own: a text that is not a number is reported by the reader and reads as 0;
// a failure inside gives the text "error" for the caller to report.
Num ZelDanWeiZhuanHuDu(const Num& x);
// Packed degrees-minutes-seconds (d.mmss...) to decimal degrees. Seconds or
// minutes above 60 are shown in a message box and taken as 60.
Num ZelDuZhuanTiDu(const Num& x);
// Packed degrees-minutes-seconds to radians.
Num ZelDuZhuanHuDu(const Num& x);
// Decimal degrees to packed degrees-minutes-seconds. Reports nothing, like
// ZelDanWeiZhuanHuDu.
Num ZelTiDuZhuanDu(const Num& x);

}  // namespace hc
