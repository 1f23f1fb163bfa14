#include "engine/double_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace hc {

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
    // d.dddddddddddddde[+-]xx[x]: fifteen significant digits, rounded.
    char sci[kDoubleTextCapacity];
    const auto r =
        std::to_chars(sci, sci + sizeof sci, std::fabs(d), std::chars_format::scientific, 14);
    char digits[15];
    digits[0] = sci[0];
    std::memcpy(digits + 1, sci + 2, 14);
    int nd = 15;
    while (nd > 1 && digits[nd - 1] == '0') --nd;
    int exp = 0;
    for (const char* p = sci + 18; p < r.ptr; ++p) exp = exp * 10 + (*p - '0');
    if (sci[17] == '-') exp = -exp;

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
