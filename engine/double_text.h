#pragma once
// The canonical text of a double: at most 15 significant digits, exponent form
// (mantissa, "E", sign, at least two digits) below 1E-4 and from 1E+15 on; "NaN",
// "Infinity" and "-Infinity" for the values that are no number.

#include <QString>

#include "engine/decimal.h"

namespace hc {

constexpr int kDoubleTextCapacity = 32;
// The text of d as ASCII into buf (no terminator); returns its length.
int writeDoubleText(double d, char (&buf)[kDoubleTextCapacity]);
// The text of d.
QString doubleToText(double d);

// d rounded to 15 significant digits (ties to even) as a Decimal: the same value,
// coefficient and scale as Decimal::fromDouble(d), which it calls for magnitudes
// below 1E-10 or from 1E+20 on. Throws DecimalError where Decimal::fromDouble does
// (NaN, infinities, magnitudes beyond the Decimal range).
Decimal decimalOfDouble(double d);

// The double nearest to v (ties to even): the same as v.toDouble(), found with
// integer arithmetic. Never throws.
double doubleOfDecimal(const Decimal& v);

}  // namespace hc
