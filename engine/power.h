#pragma once
// Powers and square roots of number values.

#include "engine/num.h"

namespace hc {

// a ^ b. Reports its failures in the calculation state and returns the
// sentinel; never throws.
Num ZelChengFang(const Num& a, const Num& b);
// Square root by Newton's iteration with Aitken's acceleration. Reports its
// failures in the calculation state and returns the sentinel; never throws.
Num ZelKaiPingFang(const Num& x);

}  // namespace hc
