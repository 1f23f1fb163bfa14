#pragma once
// The five two-operand operations of formulas: Decimal when everything fits,
// doubles otherwise.

#include "engine/num.h"

namespace hc {

Num ZelLiangShuJi(const Num& a, const Num& b);     // a * b
Num ZelLiangShuShang(const Num& a, const Num& b);  // a / b
Num ZelLiangShuHe(const Num& a, const Num& b);     // a + b
Num ZelLiangShuCha(const Num& a, const Num& b);    // a - b
// a \ b, the remainder of the truncated quotient, with the sign of a. Two operands
// that read as Decimals give the exact remainder even when their quotient leaves
// the Decimal range. When a or b reads as a double and the quotient is 2^53 or more
// in magnitude the remainder is not determined: that is reported as the
// operation's failure and gives "".
Num ZelLiangShuYu(const Num& a, const Num& b);
// The remainder as the circular functions reduce their argument by 2 pi: like
// ZelLiangShuYu, but for Decimal operands composed of the rounded quotient, its
// integer part and the rounded product, as their 27-digit results were fixed with.
// Exact reduction would change their last digits without making them better: the
// Decimal 2 pi is itself off by 4E-29.
Num composedRemainder(const Num& a, const Num& b);

}  // namespace hc
