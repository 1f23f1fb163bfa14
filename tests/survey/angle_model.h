#pragma once
// An independent model of the packed angles the survey routines report: the angle
// computed on doubles, then the rounding steps the routines describe, done in
// integer arithmetic.

#include <cmath>
#include <cstdlib>

#include "engine/decimal.h"

namespace hc::test {

// A packed angle value (d.mmss...) in units of 1E-6: 12.345678 is 12345678.
inline long long packedMicros(const Decimal& packed) {
    return (packed * Decimal(1000000)).truncated().toString().toLongLong();
}

// The packed angle, in units of 1E-6, of |degrees| rounded to 6 decimal places
// (half away from zero), converted exactly to degrees-minutes-seconds and the
// packed digits rounded to 6 places. nearTie is set when the first rounding is
// within reach of the doubles' own error, so that the model cannot decide it.
inline long long packedFromDegrees(double degrees, bool& nearTie) {
    const double scaled = std::abs(degrees) * 1e6;
    const double below = std::floor(scaled);
    nearTie = std::abs(scaled - below - 0.5) < 1e-5;
    const long long micro = static_cast<long long>(std::floor(scaled + 0.5));
    const long long t = micro * 36;  // units of 1E-4 seconds
    const long long deg = t / 36000000;
    const long long minutes = t % 36000000 / 600000;
    const long long seconds = t % 600000;
    const long long p = (deg * 100000000 + minutes * 1000000 + seconds + 50) / 100;
    return degrees < 0 ? -p : p;
}

// The same angle packed straight from the exact degrees to hundredths of a second,
// with minutes and seconds carried properly: what a reader would expect without the
// intermediate rounding steps.
inline long long packedDirect(double degrees) {
    const long long hundredths =
        static_cast<long long>(std::floor(std::abs(degrees) * 360000 + 0.5));
    const long long deg = hundredths / 360000;
    const long long minutes = hundredths % 360000 / 6000;
    const long long seconds = hundredths % 6000;
    const long long p = deg * 1000000 + minutes * 10000 + seconds;
    return degrees < 0 ? -p : p;
}

// Degrees of a packed value given in units of 1E-6 (seconds of 60 and more count
// as they stand).
inline double degreesOfPacked(long long micros) {
    const long long a = std::llabs(micros);
    const double d = static_cast<double>(a / 1000000) +
                     static_cast<double>(a % 1000000 / 10000) / 60 +
                     static_cast<double>(a % 10000) / 100 / 3600;
    return micros < 0 ? -d : d;
}

}  // namespace hc::test
