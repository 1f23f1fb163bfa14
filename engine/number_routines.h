#pragma once
// The readers of the calculation module: the gate every operand passes through,
// the exponent test and the lenient reader of typed values.

#include "engine/num.h"

namespace hc {

// x as the number value routines compute with: a Decimal, or a double when the
// value lies beyond the Decimal range or keeps more digits as a double (the
// current log's precision limit then drops to 15). A blank text reads as 0; a
// text that is no number text (engine/number_reader.h) is reported and gives the
// failure "0". Never throws.
Num ZelShuZhuanShu(const Num& x);
// The same for the text value `text`, without copying it first.
Num ZelShuZhuanShu(QStringView text);
// The number of "e"/"E" in the text of x (a text value counts its letters, other
// values 0 or 1); -1 after a report. Never throws.
int ZelDuoShaoE(const Num& x);
// A value typed into a settings box: Chinese and full-width digits, signs and
// points mapped, every other character dropped, repeated signs and points
// collapsed, then read by ZelShuZhuanShu. A text with nothing left reads as the
// integer 0; an internal failure is reported and gives the failure "". Never
// throws.
Num ZelChuanZhuanShu(const Num& x);

}  // namespace hc
