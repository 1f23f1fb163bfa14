#include "survey/decimal_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace hc::survey_detail {
namespace {

// The 15 significant digits of a finite non-zero value, trailing zeros removed, and
// the decimal exponent of the first digit.
struct Digits15 {
    char d[16];
    int count = 0;
    int exp = 0;
    bool negative = false;
};

void digits15(double value, Digits15& out) {
    std::uint64_t coef = 0;
    int exp = 0;
    if (exactDigits15(value, coef, exp)) {
        out.negative = value < 0;
        out.exp = exp;
        for (int i = 14; i >= 0; --i) {
            out.d[i] = static_cast<char>('0' + coef % 10);
            coef /= 10;
        }
        out.count = 15;
        while (out.count > 1 && out.d[out.count - 1] == '0') --out.count;
        return;
    }
    char tmp[40];
    const auto r = std::to_chars(tmp, tmp + sizeof tmp, value, std::chars_format::scientific, 14);
    const char* p = tmp;
    out.negative = (*p == '-');
    if (out.negative) ++p;
    out.count = 0;
    for (; p < r.ptr && *p != 'e'; ++p) {
        if (*p != '.') out.d[out.count++] = *p;
    }
    ++p;  // 'e'
    const bool expNeg = (*p == '-');
    ++p;
    int e = 0;
    for (; p < r.ptr; ++p) e = e * 10 + (*p - '0');
    out.exp = expNeg ? -e : e;
    while (out.count > 1 && out.d[out.count - 1] == '0') --out.count;
}

}  // namespace

bool exactDigits15(double value, std::uint64_t& coef, int& exp) {
    using u128 = unsigned __int128;
    const double a = std::fabs(value);
    if (!(a >= 1e-5 && a < 1e15)) return false;
    std::uint64_t bits = 0;
    std::memcpy(&bits, &a, sizeof bits);
    const int biased = static_cast<int>(bits >> 52);
    const std::uint64_t mant = (bits & ((1ULL << 52) - 1)) | (1ULL << 52);
    // a = mant * 2^-shift with 3 <= shift <= 70 in this range.
    const int shift = 1075 - biased;
    const int binaryExp = biased - 1023;
    // floor(binaryExp * log10(2)), which is floor(log10(a)) or one less.
    int p = std::clamp((binaryExp * 78913) >> 18, -5, 14);
    for (int tries = 0; tries < 3; ++tries) {
        const int k = 14 - p;
        if (k < 0 || k > 19) return false;
        const u128 x = static_cast<u128>(mant) * kPow10[k];
        std::uint64_t q = static_cast<std::uint64_t>(x >> shift);
        if (q < kPow10[14]) {
            --p;
            continue;
        }
        if (q >= kPow10[15]) {
            ++p;
            continue;
        }
        const u128 rest = x & ((static_cast<u128>(1) << shift) - 1);
        const u128 half = static_cast<u128>(1) << (shift - 1);
        if (rest > half || (rest == half && (q & 1))) ++q;
        if (q == kPow10[15]) {
            q = kPow10[14];
            ++p;
        }
        coef = q;
        exp = p;
        return true;
    }
    return false;
}

void toDecText(double value, DecText& out) {
    out.len = 0;
    out.dot = -1;
    if (value == 0 || !std::isfinite(value)) {
        out.s[out.len++] = '0';
        return;
    }
    Digits15 g;
    digits15(value, g);

    char intPart[32];
    int intLen = 0;
    char frac[64];
    int fracLen = 0;
    const int p = g.exp + 1;  // digits before the point
    if (p <= 0) {
        intPart[intLen++] = '0';
        for (int i = 0; i < -p && fracLen < 60; ++i) frac[fracLen++] = '0';
        for (int i = 0; i < g.count && fracLen < 60; ++i) frac[fracLen++] = g.d[i];
    } else {
        for (int i = 0; i < p && intLen < 30; ++i) intPart[intLen++] = i < g.count ? g.d[i] : '0';
        for (int i = p; i < g.count; ++i) frac[fracLen++] = g.d[i];
    }
    if (fracLen > 28) {
        // A Decimal keeps 28 decimals: round the rest half to even.
        bool up = false;
        if (frac[28] > '5') {
            up = true;
        } else if (frac[28] == '5') {
            bool rest = false;
            for (int i = 29; i < fracLen; ++i) rest = rest || frac[i] != '0';
            up = rest || ((frac[27] - '0') % 2 == 1);
        }
        fracLen = 28;
        for (int i = 27; up && i >= 0; --i) {
            if (frac[i] == '9') {
                frac[i] = '0';
            } else {
                ++frac[i];
                up = false;
            }
        }
        // A carry out of the fraction needs 28 nines, which 15 digits cannot make.
    }
    while (fracLen > 0 && frac[fracLen - 1] == '0') --fracLen;
    const bool zero = fracLen == 0 && intLen == 1 && intPart[0] == '0';
    if (g.negative && !zero) out.s[out.len++] = '-';
    std::memcpy(out.s + out.len, intPart, intLen);
    out.len += intLen;
    if (fracLen > 0) {
        out.dot = out.len;
        out.s[out.len++] = '.';
        std::memcpy(out.s + out.len, frac, fracLen);
        out.len += fracLen;
    }
}

double roundTo15(double value) {
    if (value == 0 || !std::isfinite(value)) return value;
    std::uint64_t coef = 0;
    int exp = 0;
    if (exactDigits15(value, coef, exp) && exp <= 14) {
        static constexpr double kScale[20] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,
                                              1e7,  1e8,  1e9,  1e10, 1e11, 1e12, 1e13,
                                              1e14, 1e15, 1e16, 1e17, 1e18, 1e19};
        // coef and the power of ten are exact doubles: one correctly rounded division.
        const double r = static_cast<double>(coef) / kScale[14 - exp];
        return value < 0 ? -r : r;
    }
    char tmp[40];
    const auto r = std::to_chars(tmp, tmp + sizeof tmp, value, std::chars_format::scientific, 14);
    double out = value;
    std::from_chars(tmp, r.ptr, out);
    return out;
}

int formatFixed(double value, int minInt, int decimals, int maxDecimals, char* out) {
    // Digit string of |value| with a point position: value = 0.D * 10^point.
    char digits[400];
    int count = 0;
    int point = 0;
    bool negative = false;
    if (value != 0 && std::isfinite(value)) {
        Digits15 g;
        digits15(value, g);
        negative = g.negative;
        point = g.exp + 1;
        std::memcpy(digits, g.d, g.count);
        count = g.count;
    }
    // Integer digits and maxDecimals fraction digits, then the first dropped digit.
    char intPart[340];
    int intLen = 0;
    char frac[64];
    for (int i = 0; i < point && intLen < 330; ++i) intPart[intLen++] = i < count ? digits[i] : '0';
    for (int k = 0; k < maxDecimals; ++k) {
        const int idx = point + k;
        frac[k] = (idx >= 0 && idx < count) ? digits[idx] : '0';
    }
    const int next = point + maxDecimals;
    bool up = next >= 0 && next < count && digits[next] >= '5';
    for (int k = maxDecimals - 1; up && k >= 0; --k) {
        if (frac[k] == '9') {
            frac[k] = '0';
        } else {
            ++frac[k];
            up = false;
        }
    }
    for (int k = intLen - 1; up && k >= 0; --k) {
        if (intPart[k] == '9') {
            intPart[k] = '0';
        } else {
            ++intPart[k];
            up = false;
        }
    }
    if (up) {
        std::memmove(intPart + 1, intPart, intLen);
        intPart[0] = '1';
        ++intLen;
    }
    int fracLen = maxDecimals;
    while (fracLen > decimals && frac[fracLen - 1] == '0') --fracLen;
    bool zero = true;
    for (int i = 0; i < intLen; ++i) zero = zero && intPart[i] == '0';
    for (int i = 0; i < fracLen; ++i) zero = zero && frac[i] == '0';

    int n = 0;
    if (negative && !zero) out[n++] = '-';
    // Drop leading zeros of the integer digits, then pad to minInt.
    int lead = 0;
    while (lead < intLen && intPart[lead] == '0') ++lead;
    const int significant = intLen - lead;
    for (int i = significant; i < minInt; ++i) out[n++] = '0';
    std::memcpy(out + n, intPart + lead, significant);
    n += significant;
    if (significant == 0 && minInt == 0 && fracLen == 0) out[n++] = '0';
    if (fracLen > 0) {
        out[n++] = '.';
        std::memcpy(out + n, frac, fracLen);
        n += fracLen;
    }
    return n;
}

}  // namespace hc::survey_detail
