#pragma once
// Text helpers of the coordinate module that work on small character buffers, so
// that the per-point routines do not allocate.

#include <array>
#include <cstdint>
#include <string_view>

namespace hc::survey_detail {

// 10^0 ... 10^19, the powers of ten an unsigned 64-bit integer holds.
inline constexpr std::array<std::uint64_t, 20> kPow10 = [] {
    std::array<std::uint64_t, 20> p{};
    std::uint64_t v = 1;
    for (std::uint64_t& x : p) {
        x = v;
        v *= 10;
    }
    return p;
}();

// The 15 significant digits of a finite value of magnitude 1E-5 <= |value| < 1E+15,
// rounded half to even as std::to_chars with 14 digits of precision rounds them, by
// exact integer arithmetic: |value| rounds to coef * 10^(exp - 14) with
// 1E+14 <= coef < 1E+15 (trailing zeros kept). False, and nothing set, outside that
// range and for zero, infinities and NaN.
bool exactDigits15(double value, std::uint64_t& coef, int& exp);

// Decimal text of a double: 15 significant digits, plain form, no trailing zeros,
// at most 28 decimals. Only for finite values of magnitude up to about 1E+20.
struct DecText {
    char s[64];
    int len = 0;
    int dot = -1;  // index of the ".", -1 when there is none

    bool negative() const { return len > 0 && s[0] == '-'; }
    std::string_view view() const { return {s, static_cast<std::size_t>(len)}; }
    // Digits before the point, without the sign.
    std::string_view intDigits() const {
        const int b = negative() ? 1 : 0;
        return {s + b, static_cast<std::size_t>((dot < 0 ? len : dot) - b)};
    }
    // Digits after the point (empty when there is no point).
    std::string_view fracDigits() const {
        if (dot < 0) return {s + len, 0};
        return {s + dot + 1, static_cast<std::size_t>(len - dot - 1)};
    }
};

void toDecText(double value, DecText& out);

// The double nearest to the value rounded to 15 significant digits (the value of
// its number text); non-finite values are returned as they are.
double roundTo15(double value);

// Writes |value| rounded half away from zero to `decimals` places (deciding on the
// 15-digit decimal text), with at least `minInt` integer digits (zero-padded) and
// at most `maxDecimals` when trailing zeros beyond `decimals` are dropped. A "-" is
// written for negative values that do not round to zero. Returns the length.
int formatFixed(double value, int minInt, int decimals, int maxDecimals, char* out);

}  // namespace hc::survey_detail
