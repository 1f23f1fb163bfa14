#pragma once
// Number texts read as exact rationals: what the statistics, the matrices and the
// regression need to sum and solve without rounding.

#include <gmpxx.h>

#include <QStringView>
#include <string>

namespace hc {

// Splits a plain number text ("-12.5", "+3", "1E+30", "7.92281625142643E+28"; digits
// with at most one point, then optionally "E" or "e" and a signed integer exponent of
// at most 100000 in magnitude) into its sign, its digits without the point, and the
// power of ten they are scaled by: value = (negative ? -1 : 1) * digits * 10^shift.
// Returns false, with the outputs unspecified, for any other text (spaces included).
bool decimalTextParts(QStringView text, bool& negative, std::string& digits, long& shift);

// The exact value of such a text, in lowest terms; false for any other text.
bool exactDecimalValue(QStringView text, mpq_class& out);

}  // namespace hc
