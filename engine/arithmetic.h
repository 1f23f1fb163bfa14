#pragma once
// The five two-operand operations of formulas: Decimal when everything fits,
// doubles otherwise.

#include "engine/num.h"

namespace hc {

Num ZelLiangShuJi(const Num& a, const Num& b);     // a * b
Num ZelLiangShuShang(const Num& a, const Num& b);  // a / b
Num ZelLiangShuHe(const Num& a, const Num& b);     // a + b
Num ZelLiangShuCha(const Num& a, const Num& b);    // a - b
Num ZelLiangShuYu(const Num& a, const Num& b);     // a \ b, remainder with the sign of a

}  // namespace hc
