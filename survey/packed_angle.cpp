// Packed angles, decimal texts and rounding on doubles.

#include "survey/packed_angle.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "engine/angle_constants.h"
#include "engine/decimal.h"
#include "engine/number.h"
#include "survey/decimal_text.h"

namespace hc {

using survey_detail::DecText;
using survey_detail::toDecText;

namespace {

bool guarded(double v) { return !(std::fabs(v) <= kAngleGuard); }

// Unsigned integer of up to 19 decimal digits.
unsigned long long digitsValue(std::string_view d) {
    unsigned long long v = 0;
    for (char c : d) v = v * 10 + static_cast<unsigned>(c - '0');
    return v;
}

// Exact Decimal of a digit string with `scale` of them after the point.
Decimal decimalOfDigits(std::string_view d, int scale, bool negative) {
    Decimal::u128 coef = 0;
    for (char c : d) coef = coef * 10 + static_cast<unsigned>(c - '0');
    return Decimal::fromParts(coef, scale, negative);
}

const Decimal& degreeInRadians() {
    static const Decimal k = Decimal::fromText(kPiOver180);
    return k;
}

double parseDouble(std::string_view s) {
    double v = 0;
    std::from_chars(s.data(), s.data() + s.size(), v);
    return v;
}

}  // namespace

QString decimalText(double value) {
    // Beyond the Decimal range there is no decimal text; the number text stands in.
    if (!(std::fabs(value) < 7.92281625142642E+28)) return doubleToText(value);
    DecText t;
    toDecText(value, t);
    return QString::fromLatin1(t.s, t.len);
}

double ZelSheRuXiaoShu(double value, int places) {
    if (places > 17 || places < 0 || guarded(value)) return value;
    DecText t;
    toDecText(value, t);
    if (t.dot < 0) return value;
    const std::string_view i = t.intDigits();
    const std::string_view f = t.fracDigits();
    const int keep = std::min<int>(places, static_cast<int>(f.size()));
    bool up = static_cast<int>(f.size()) > places && f[places] > '4';

    // Magnitude |i| . f[0..keep) plus one unit of the last kept place.
    char digits[64];
    int n = 0;
    digits[n++] = '0';  // room for a carry
    std::memcpy(digits + n, i.data(), i.size());
    n += static_cast<int>(i.size());
    std::memcpy(digits + n, f.data(), keep);
    n += keep;
    for (int k = n - 1; up && k >= 0; --k) {
        if (digits[k] == '9') {
            digits[k] = '0';
        } else {
            ++digits[k];
            up = false;
        }
    }
    bool zero = true;
    for (int k = 0; k < n; ++k) zero = zero && digits[k] == '0';
    if (zero) return 0.0;

    char text[72];
    int m = 0;
    if (t.negative()) text[m++] = '-';
    const int intEnd = 1 + static_cast<int>(i.size());
    std::memcpy(text + m, digits, intEnd);
    m += intEnd;
    if (keep > 0) {
        text[m++] = '.';
        std::memcpy(text + m, digits + intEnd, keep);
        m += keep;
    }
    return parseDouble(std::string_view(text, m));
}

double ZelDuFenMiaoZhuanBaiFenDu(double packed) {
    if (guarded(packed)) return packed;
    DecText t;
    toDecText(packed, t);
    if (t.dot < 0) return packed;

    char f[48];
    const std::string_view fd = t.fracDigits();
    int fl = static_cast<int>(fd.size());
    std::memcpy(f, fd.data(), fl);
    if (fl < 5) {
        std::memset(f + fl, '0', 7);
        fl += 7;
    }
    const int minutes = (f[0] - '0') * 10 + (f[1] - '0');
    Decimal s = decimalOfDigits(std::string_view(f + 2, fl - 2), fl > 4 ? fl - 4 : 0, false);
    const Decimal sixty(60);
    if (s > sixty) s = sixty;
    Decimal m = Decimal(minutes) + s / sixty;
    if (m > sixty) m = sixty;
    const Decimal whole = decimalOfDigits(t.intDigits(), 0, t.negative());
    const Decimal r = packed >= 0 ? whole + m / sixty : whole - m / sixty;
    return r.toDouble();
}

double ZelBaiFenDuZhuanDuFenMiao(double degrees) {
    if (guarded(degrees)) return degrees;
    DecText t;
    toDecText(degrees, t);
    if (t.dot < 0) return degrees;

    const std::string_view fd = t.fracDigits();
    const Decimal frac = decimalOfDigits(fd, static_cast<int>(fd.size()), false);
    long long d = static_cast<long long>(digitsValue(t.intDigits()));
    if (t.negative()) d = -d;

    const Decimal f60 = frac * Decimal(60);
    const Decimal mWhole = f60.truncated();
    int minutes = static_cast<int>(mWhole.toDouble());
    const Decimal rest = f60 - mWhole;
    const double restSeconds = (rest * Decimal(60)).toDouble();

    char sec[64];
    int sl = 0;
    // The seconds are kept to the 4 places that the packed angle's 8 places show, and
    // the carry is decided on them: seconds just below 60 are neither carried early nor
    // written as 60 by a later rounding.
    if (ZelSheRuXiaoShu(restSeconds, 4) == 60) {
        sec[sl++] = '0';
        sec[sl++] = '0';
        ++minutes;
    } else {
        DecText s;
        toDecText(ZelSheRuXiaoShu(restSeconds, 4), s);
        // Below 10 seconds the text gets a leading zero; the point is dropped.
        const std::string_view si = s.intDigits();
        if (si.size() < 2) sec[sl++] = '0';
        std::memcpy(sec + sl, si.data(), si.size());
        sl += static_cast<int>(si.size());
        const std::string_view sf = s.fracDigits();
        std::memcpy(sec + sl, sf.data(), sf.size());
        sl += static_cast<int>(sf.size());
    }
    if (minutes == 60) {
        minutes = 0;
        d += degrees >= 0 ? 1 : -1;
    }

    char text[128];
    int n = 0;
    if (degrees < 0 && d >= 0) text[n++] = '-';
    n += static_cast<int>(std::to_chars(text + n, text + 40, d).ptr - (text + n));
    text[n++] = '.';
    text[n++] = static_cast<char>('0' + minutes / 10);
    text[n++] = static_cast<char>('0' + minutes % 10);
    std::memcpy(text + n, sec, sl);
    n += sl;

    int significant = 0;
    for (int k = 0; k < n; ++k) significant += (text[k] >= '0' && text[k] <= '9') ? 1 : 0;
    if (significant > 29) {
        // More digits than a Decimal holds: it rounds them first.
        return Decimal::fromText(QString::fromLatin1(text, n)).toDouble();
    }
    return parseDouble(std::string_view(text, n));
}

double ZelDuFenMiaoGuiZheng(double packed) {
    if (guarded(packed)) return packed;
    DecText t;
    toDecText(packed, t);
    if (t.dot < 0) return packed;

    DecText whole;
    toDecText(std::trunc(packed), whole);
    long long d = static_cast<long long>(digitsValue(whole.intDigits()));
    if (whole.negative()) d = -d;

    char f[48];
    const std::string_view fd = t.fracDigits();
    int fl = static_cast<int>(fd.size());
    std::memcpy(f, fd.data(), fl);
    if (fl < 5) {
        std::memset(f + fl, '0', 6);
        fl += 6;
    }
    int minutes = (f[0] - '0') * 10 + (f[1] - '0');
    int seconds = (f[2] - '0') * 10 + (f[3] - '0');
    const int restLen = std::min(fl - 4, 12);
    if (seconds >= 60) {
        seconds -= 60;
        ++minutes;
    }
    if (minutes >= 60) {
        minutes -= 60;
        d += packed >= 0 ? 1 : -1;
    }

    char text[96];
    int n = 0;
    if (packed < 0 && d >= 0) text[n++] = '-';
    n += static_cast<int>(std::to_chars(text + n, text + 40, d).ptr - (text + n));
    text[n++] = '.';
    text[n++] = static_cast<char>('0' + minutes / 10);
    text[n++] = static_cast<char>('0' + minutes % 10);
    text[n++] = static_cast<char>('0' + seconds / 10);
    text[n++] = static_cast<char>('0' + seconds % 10);
    std::memcpy(text + n, f + 4, restLen);
    n += restLen;
    return parseDouble(std::string_view(text, n));
}

bool packedBeyondSixty(double packed) {
    std::uint64_t coef = 0;
    int exp = 0;
    // Below 1E-5 the minutes and seconds are zeros; from 1E+15 on there is no fraction.
    if (guarded(packed) || !survey_detail::exactDigits15(packed, coef, exp)) return false;
    const int w = 14 - exp;  // fraction digits, trailing zeros included
    if (w <= 0) return false;
    const std::uint64_t fraction = coef % survey_detail::kPow10[w];
    // The first four fraction digits, zeros following a shorter fraction.
    const std::uint64_t mmss =
        w >= 4 ? fraction / survey_detail::kPow10[w - 4] : fraction * survey_detail::kPow10[4 - w];
    return mmss / 100 >= 60 || mmss % 100 >= 60;
}

double ZelDuFenMiaoZhuanHuDu(double packed) {
    if (guarded(packed)) return 0;
    return (Decimal::fromDouble(ZelDuFenMiaoZhuanBaiFenDu(packed)) * degreeInRadians()).toDouble();
}

double ZelBaiFenDuZhuanHuDu(double degrees) {
    if (guarded(degrees)) return 0;
    return (Decimal::fromDouble(degrees) * degreeInRadians()).toDouble();
}

double radiansToDegrees(double radians) { return radians * kDegreesPerRadian; }

}  // namespace hc
