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

// The packed angle, in units of 1E-6, of an angle given in units of 1E-6 degree:
// converted exactly to degrees-minutes-seconds, the packed digits rounded to 6
// places (half away from zero), then 60 seconds carried into the minutes and 60
// minutes into the degrees; with `turn` above 0 whole turns are taken off.
inline long long packedFromMicroDegrees(long long micro, int turn = 0) {
    const long long t = std::llabs(micro) * 36;  // units of 1E-4 seconds
    long long deg = t / 36000000;
    long long minutes = t % 36000000 / 600000;
    long long hundredths = (t % 600000 + 50) / 100;
    if (hundredths >= 6000) {
        hundredths -= 6000;
        ++minutes;
    }
    if (minutes >= 60) {
        minutes -= 60;
        ++deg;
    }
    if (turn > 0) deg %= turn;
    const long long p = deg * 1000000 + minutes * 10000 + hundredths;
    return micro < 0 ? -p : p;
}

// |degrees| rounded to 6 places (half away from zero) in units of 1E-6, with the
// sign of degrees. nearTie is set when the value lies within `error` degrees (plus
// the doubles' own error) of a rounding tie, so that the model cannot decide it.
inline long long microDegrees(double degrees, bool& nearTie, double error = 0) {
    const double scaled = std::abs(degrees) * 1e6;
    const double below = std::floor(scaled);
    nearTie = std::abs(scaled - below - 0.5) < 1e-5 + error * 1e6;
    const long long micro = static_cast<long long>(std::floor(scaled + 0.5));
    return degrees < 0 ? -micro : micro;
}

// The packed angle, in units of 1E-6, of degrees rounded to 6 places, packed and
// rounded again: the steps of the distance-and-bearing window.
inline long long packedFromDegrees(double degrees, bool& nearTie, int turn = 0) {
    return packedFromMicroDegrees(microDegrees(degrees, nearTie), turn);
}

// The degrees, in units of 1E-6, of an angle in radians (0 ... pi) that is first
// rounded to 9 places, as the plane-attitude calculation makes its angles.
// `error` bounds the error of `radians` against the routine's own arctangent.
inline long long microDegreesOfRadians(double radians, bool& nearTie, double error = 0) {
    const double scaled = std::abs(radians) * 1e9;
    const double below = std::floor(scaled);
    const bool tie9 = std::abs(scaled - below - 0.5) < 1e-5 + error * 1e9;
    const double rounded = std::floor(scaled + 0.5) / 1e9;
    bool tie6 = false;
    const long long micro = microDegrees(rounded * 180 / M_PI, tie6);
    nearTie = tie9 || tie6;
    return radians < 0 ? -micro : micro;
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
