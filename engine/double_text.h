#pragma once
// The canonical text of a double: at most 15 significant digits, exponent form
// (mantissa, "E", sign, at least two digits) below 1E-4 and from 1E+15 on; "NaN",
// "Infinity" and "-Infinity" for the values that are no number.

#include <QString>

namespace hc {

constexpr int kDoubleTextCapacity = 32;
// The text of d as ASCII into buf (no terminator); returns its length.
int writeDoubleText(double d, char (&buf)[kDoubleTextCapacity]);
// The text of d.
QString doubleToText(double d);

}  // namespace hc
