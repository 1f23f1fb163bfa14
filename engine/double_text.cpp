#include "engine/double_text.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace hc {
namespace {

using u64 = std::uint64_t;
using u128 = unsigned __int128;

// 5^0 ... 5^26.
constexpr auto kPow5 = [] {
    std::array<u64, 27> p{};
    p[0] = 1;
    for (std::size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * 5;
    return p;
}();
constexpr u64 kLow15 = 100000000000000;    // 10^14, the smallest 15-digit number
constexpr u64 kHigh15 = 1000000000000000;  // 10^15

// a * 10^k for a = m * 2^q, cut to a whole number (floor) and rounded to the
// nearest, ties to even; k within -6 ... 25, a within the range fifteenDigits takes.
struct Scaled {
    u64 floor;
    u64 rounded;
};

Scaled scaled(u64 m, int q, int k) {
    const int s = q + k;
    if (k >= 0) {
        // m * 5^k * 2^s
        const u128 num = static_cast<u128>(m) * kPow5[k];
        if (s >= 0) return {static_cast<u64>(num << s), static_cast<u64>(num << s)};
        const u128 quotient = num >> -s;
        const u128 rest = num - (quotient << -s);
        const u128 half = static_cast<u128>(1) << (-s - 1);
        const bool up = rest > half || (rest == half && (quotient & 1));
        return {static_cast<u64>(quotient), static_cast<u64>(quotient + up)};
    }
    // m * 2^s / 5^-k
    const u128 num = s >= 0 ? static_cast<u128>(m) << s : m;
    const u128 den = s >= 0 ? kPow5[-k] : static_cast<u128>(kPow5[-k]) << -s;
    const u128 quotient = num / den;
    const u128 twice = (num - quotient * den) << 1;
    const bool up = twice > den || (twice == den && (quotient & 1));
    return {static_cast<u64>(quotient), static_cast<u64>(quotient + up)};
}

// a (1E-10 <= a < 1E+20) rounded to 15 significant digits, ties to even, as
// digits * 10^(exponent - 14) with 10^14 <= digits < 10^15: what std::to_chars
// writes with 14 digits after the point. False outside that range.
bool fifteenDigits(double a, u64& digits, int& exponent) {
    if (!(a >= 1E-10 && a < 1E+20)) return false;
    const u64 bits = std::bit_cast<u64>(a);
    const u64 m = (bits & ((u64(1) << 52) - 1)) | (u64(1) << 52);
    const int q = static_cast<int>(bits >> 52) - 1075;
    // floor(log10(2^(q + 52))), at most one below the decimal exponent of a.
    int e = ((q + 52) * 78913) >> 18;
    Scaled s = scaled(m, q, 14 - e);
    while (s.floor >= kHigh15) s = scaled(m, q, 14 - ++e);
    while (s.floor < kLow15) s = scaled(m, q, 14 - --e);
    if (s.rounded == kHigh15) {
        s.rounded = kLow15;
        ++e;
    }
    digits = s.rounded;
    exponent = e;
    return true;
}

}  // namespace

Decimal decimalOfDouble(double d) {
    u64 digits;
    int exponent;
    if (!fifteenDigits(std::fabs(d), digits, exponent)) return Decimal::fromDouble(d);
    // As Decimal::fromDouble reads d.dddddddddddddde+xx: all 15 digits, trailing zeros
    // too, times 10^(exponent - 14).
    const bool negative = d < 0;
    if (exponent >= 14) {
        u128 c = digits;
        for (int i = 14; i < exponent; ++i) c *= 10;
        return Decimal::fromParts(c, 0, negative);
    }
    return Decimal::fromParts(digits, 14 - exponent, negative);
}

double doubleOfDecimal(const Decimal& v) {
    static constexpr double kExact[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const u128 c = v.coefficient();
    const int scale = v.scale();
    if (c == 0) return 0;
    double r;
    if (c < (u128(1) << 53) && scale <= 22) {
        // Both operands are exact doubles, so the one division rounds correctly.
        r = static_cast<double>(static_cast<u64>(c)) / kExact[scale];
    } else {
        // c / 10^scale = (c / 5^scale) * 2^-scale: the quotient by 5^scale taken to
        // 55 or 56 bits with a sticky remainder, rounded to 53, then scaled exactly.
        u128 five = 1;
        for (int i = 0; i < scale; ++i) five *= 5;
        const auto bits = [](u128 x) {
            const u64 hi = static_cast<u64>(x >> 64);
            return hi ? 128 - __builtin_clzll(hi) : 64 - __builtin_clzll(static_cast<u64>(x));
        };
        const int t = 55 + bits(five) - bits(c);
        const u128 num = t >= 0 ? c << t : c;
        const u128 den = t >= 0 ? five : five << -t;
        const u128 q = num / den;
        const bool sticky = num - q * den != 0;
        const int extra = bits(q) - 53;
        u64 mantissa = static_cast<u64>(q >> extra);
        const u64 rest = static_cast<u64>(q) & ((u64(1) << extra) - 1);
        const u64 half = u64(1) << (extra - 1);
        if (rest > half || (rest == half && (sticky || (mantissa & 1)))) ++mantissa;
        r = std::ldexp(static_cast<double>(mantissa), extra - t - scale);
    }
    return v.isNegative() ? -r : r;
}

int writeDoubleText(double d, char (&buf)[kDoubleTextCapacity]) {
    if (std::isnan(d)) {
        std::memcpy(buf, "NaN", 3);
        return 3;
    }
    if (std::isinf(d)) {
        if (d < 0) {
            std::memcpy(buf, "-Infinity", 9);
            return 9;
        }
        std::memcpy(buf, "Infinity", 8);
        return 8;
    }
    if (d == 0) {
        buf[0] = '0';
        return 1;
    }
    // Fifteen significant digits, rounded.
    char digits[15];
    int exp = 0;
    u64 fifteen;
    if (fifteenDigits(std::fabs(d), fifteen, exp)) {
        for (int i = 14; i >= 0; --i) {
            digits[i] = static_cast<char>('0' + fifteen % 10);
            fifteen /= 10;
        }
    } else {
        // d.dddddddddddddde[+-]xx[x]
        char sci[kDoubleTextCapacity];
        const auto r =
            std::to_chars(sci, sci + sizeof sci, std::fabs(d), std::chars_format::scientific, 14);
        digits[0] = sci[0];
        std::memcpy(digits + 1, sci + 2, 14);
        for (const char* p = sci + 18; p < r.ptr; ++p) exp = exp * 10 + (*p - '0');
        if (sci[17] == '-') exp = -exp;
    }
    int nd = 15;
    while (nd > 1 && digits[nd - 1] == '0') --nd;

    int len = 0;
    if (d < 0) buf[len++] = '-';
    if (exp < -4 || exp >= 15) {
        buf[len++] = digits[0];
        if (nd > 1) {
            buf[len++] = '.';
            for (int i = 1; i < nd; ++i) buf[len++] = digits[i];
        }
        buf[len++] = 'E';
        buf[len++] = exp < 0 ? '-' : '+';
        const int a = std::abs(exp);
        if (a >= 100) buf[len++] = static_cast<char>('0' + a / 100);
        buf[len++] = static_cast<char>('0' + a / 10 % 10);
        buf[len++] = static_cast<char>('0' + a % 10);
    } else if (exp >= 0) {
        for (int i = 0; i <= exp; ++i) buf[len++] = i < nd ? digits[i] : '0';
        if (nd > exp + 1) {
            buf[len++] = '.';
            for (int i = exp + 1; i < nd; ++i) buf[len++] = digits[i];
        }
    } else {
        buf[len++] = '0';
        buf[len++] = '.';
        for (int i = 0; i < -exp - 1; ++i) buf[len++] = '0';
        for (int i = 0; i < nd; ++i) buf[len++] = digits[i];
    }
    return len;
}

QString doubleToText(double d) {
    char buf[kDoubleTextCapacity];
    const int n = writeDoubleText(d, buf);
    return QString::fromLatin1(buf, n);
}

}  // namespace hc
