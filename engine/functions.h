#pragma once
// The elementary functions of formulas and their constants.
//
// Every function takes the argument already read as a number value and never
// throws. Failures the function reports itself are counted in the calculation
// state, and the function returns its own sentinel.
//
// A failure that must end the formula with the evaluator's summary failure
// (arcsec(0.5), lg of an overflowing double, sh(100) ...) is neither reported nor
// logged here: the function returns the text value "error" (see
// endsFormula()), and the evaluator reports its summary message.

#include <QString>

#include "engine/angle_constants.h"
#include "engine/num.h"

namespace hc {

// Constant texts, as read by ZelShuZhuanShu; the angle constants are in
// engine/angle_constants.h.
inline const QString kE = QStringLiteral("2.7182818284590452353602874714");

// True when a function result is the "error" value that ends the formula with
// the evaluator's summary failure.
inline bool endsFormula(const Num& r) { return r.isFailure() && r.rawText() == u"error"; }

// Circular functions of an angle in radians; sec and csc of a zero divisor give
// 1E+28 with a notice in the current log (cth too).
Num ZelSin(const Num& x);
Num ZelCos(const Num& x);
Num ZelTan(const Num& x);
Num ZelCot(const Num& x);
Num ZelSec(const Num& x);
Num ZelCsc(const Num& x);

// Hyperbolic functions.
Num ZelSh(const Num& x);
Num ZelCh(const Num& x);
Num ZelTh(const Num& x);
Num ZelCth(const Num& x);

// Logarithms to base 10 and e.
Num ZelLg(const Num& x);
Num ZelLn(const Num& x);

// Inverse circular functions; the angle is in radians.
Num ZelArcsin(const Num& x);
Num ZelArccos(const Num& x);
Num ZelArctan(const Num& x);
Num ZelArccot(const Num& x);
Num ZelArcsec(const Num& x);
Num ZelArccsc(const Num& x);

}  // namespace hc
