#pragma once
// The text-route conversion of decimal degrees to packed degrees-minutes-seconds,
// for the tests only: every step builds and reads back the texts of its parts, as
// the conversion was first written. engine/angle.h must give the same values.

#include "engine/num.h"

namespace hc::reference {

// As hc::ZelTiDuZhuanDu.
Num ZelTiDuZhuanDu(const Num& x);

}  // namespace hc::reference
