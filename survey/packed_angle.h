#pragma once
// Angles and numbers on doubles for the coordinate conversions: packed
// degrees-minutes-seconds, decimal degrees and radians, the decimal text of a double
// and the conversions' rounding. The calculator's own packed-angle family is declared
// in engine/angle.h (included here) and compared below.

#include <QString>

#include "engine/angle.h"

namespace hc {

// Rounds to `places` decimals (0..17), half away from zero, deciding on the decimal
// text of the value. Other place counts and huge magnitudes return the value.
double ZelSheRuXiaoShu(double value, int places);

// ---- Packed degrees-minutes-seconds (d.mmss...) ----------------------------------
//
// Two families read and write packed angles, and both are needed:
//  - the calculator's, on number values (engine/angle.h): ZelDuZhuanTiDu (packed to
//    decimal degrees), ZelTiDuZhuanDu (decimal degrees to packed) and ZelDuZhuanHuDu
//    (packed to radians). They read the 29-digit number text of a value, tell the user
//    (a notice) about seconds or minutes above 60, and round the seconds to 24 places
//    before a carry. Formulas and the point commands' results use them.
//  - the coordinate conversions', on doubles, below. They read the 15-digit decimal
//    text of a double and say nothing about seconds above 60. The same angle can come
//    out differently in the last places, so neither family stands in for the other.
//
// The doubles' family: these read and write the decimal text of
// a double (15 significant digits, decimalText below): d.mmss... with the minutes in the
// first two fraction digits, whole seconds in the next two and fractions of a second
// after them, fewer than four fraction digits read as if zeros followed, the sign of
// the whole angle in front. Seconds above 60, and minutes with seconds above 60, are
// taken as 60 without a word. Decimal degrees to packed rounds the seconds to the 4
// places of an 8-place packed angle and carries them into the minutes when that gives 60.
double ZelDuFenMiaoZhuanBaiFenDu(double packed);
double ZelBaiFenDuZhuanDuFenMiao(double degrees);
// Carries seconds or minutes that reached 60 into the next unit.
double ZelDuFenMiaoGuiZheng(double packed);
// Whether a packed angle's minutes or whole seconds, as ZelDuFenMiaoZhuanBaiFenDu reads
// them, are 60 or more (39.7000, 39.5975, 39.5960): it then takes them as 60.
bool packedBeyondSixty(double packed);
double ZelDuFenMiaoZhuanHuDu(double packed);
double ZelBaiFenDuZhuanHuDu(double degrees);
// Radians to decimal degrees, in doubles.
double radiansToDegrees(double radians);

// Magnitudes above this are left alone by the angle conversions and the rounding.
inline constexpr double kAngleGuard = 179769313486232.0;

// The decimal text of a double: rounded to 15 significant digits, written without
// exponent and without trailing zeros ("39.4125536", "117", "-0.3"). Magnitudes
// beyond the Decimal range get their number text ("1E+30").
QString decimalText(double value);

}  // namespace hc
