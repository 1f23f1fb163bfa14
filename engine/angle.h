#pragma once
// Angle units: radians, decimal degrees and packed degrees-minutes-seconds.

#include "engine/number.h"

namespace hc {

// An angle in the unit of the calculation state, to radians.
Num ZelDanWeiZhuanHuDu(const Num& x);
// Decimal degrees to packed degrees-minutes-seconds (d.mmss...).
Num ZelDuZhuanTiDu(const Num& x);
// Packed degrees-minutes-seconds to radians.
Num ZelDuZhuanHuDu(const Num& x);
// Packed degrees-minutes-seconds to decimal degrees.
Num ZelTiDuZhuanDu(const Num& x);

}  // namespace hc
