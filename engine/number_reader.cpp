#include "engine/number_reader.h"

#include <charconv>

#include "engine/text_trim.h"

namespace hc {
namespace {

constexpr Decimal::u128 pow10u128(int n) {
    Decimal::u128 p = 1;
    for (int i = 0; i < n; ++i) p *= 10;
    return p;
}
constexpr Decimal::u128 kCoefficientLimit = static_cast<Decimal::u128>(1) << 96;

}  // namespace

NumberTextReader::NumberTextReader(QStringView trimmed) : text_(trimmed) {
    if (trimmed.size() > kInline) {
        heap_.resize(static_cast<std::size_t>(trimmed.size()));
        ascii_ = heap_.data();
    }
    valid_ = scan();
}

bool NumberTextReader::scan() {
    const QStringView t = text_;
    const qsizetype n = t.size();
    char* out = ascii_;
    qsizetype i = 0;
    int len = 0;
    if (n == 0) return false;
    if (t[0] == u'+' || t[0] == u'-') {
        negative_ = t[0] == u'-';
        if (negative_) out[len++] = '-';
        ++i;
    }
    bool point = false;
    bool anyDigit = false;
    int intDigits = 0;
    int leadInt = -1;   // index among the integer digits of the first non-zero digit
    int leadFrac = -1;  // its position after the point, from 1
    for (; i < n; ++i) {
        const char16_t c = t[i].unicode();
        if (c >= u'0' && c <= u'9') {
            out[len++] = static_cast<char>(c);
            anyDigit = true;
            if (point)
                ++fractionDigits_;
            else
                ++intDigits;
            if (digits_ > 0 || c != u'0') {
                if (digits_ == 0) {
                    if (point)
                        leadFrac = fractionDigits_;
                    else
                        leadInt = intDigits - 1;
                }
                ++digits_;
                if (digits_ <= 29) coefficient_ = coefficient_ * 10 + (c - u'0');
            }
        } else if (c == u'.' && !point) {
            point = true;
            out[len++] = '.';
        } else {
            break;
        }
    }
    if (!anyDigit) return false;
    if (i < n) {
        if (t[i] != u'e' && t[i] != u'E') return false;
        out[len++] = 'e';
        ++i;
        bool expNegative = false;
        if (i < n && (t[i] == u'+' || t[i] == u'-')) {
            expNegative = t[i] == u'-';
            out[len++] = static_cast<char>(t[i].unicode());
            ++i;
        }
        if (i >= n) return false;
        long e = 0;
        for (; i < n; ++i) {
            const char16_t c = t[i].unicode();
            if (c < u'0' || c > u'9') return false;
            out[len++] = static_cast<char>(c);
            if (e < 1000000) e = e * 10 + (c - u'0');
        }
        exponent_ = expNegative ? -e : e;
    }
    if (leadInt >= 0)
        leadOrder_ = intDigits - 1 - leadInt;
    else if (leadFrac >= 0)
        leadOrder_ = -leadFrac;
    length_ = len;
    return true;
}

bool NumberTextReader::toDouble(double& out) const {
    if (!valid_) return false;
    double d = 0;
    const auto r = std::from_chars(ascii_, ascii_ + length_, d, std::chars_format::general);
    if (r.ptr != ascii_ + length_) return false;
    if (r.ec == std::errc::result_out_of_range) {
        if (leadOrder_ + exponent_ >= 0) return false;
        d = negative_ ? -0.0 : 0.0;
    } else if (r.ec != std::errc()) {
        return false;
    }
    out = d;
    return true;
}

// Built directly when the digits fit exactly, otherwise left to Decimal's own
// reader, which rounds.
bool NumberTextReader::toDecimal(Decimal& out) const {
    if (!valid_) return false;
    if (digits_ == 0) {
        out = Decimal();
        return true;
    }
    if (digits_ <= 29 && coefficient_ < kCoefficientLimit) {
        const long scale = fractionDigits_ - exponent_;
        if (scale >= 0 && scale <= Decimal::kMaxScale) {
            out = Decimal::fromParts(coefficient_, static_cast<int>(scale), negative_);
            return true;
        }
        if (scale < 0 && digits_ - scale <= 29) {
            const Decimal::u128 c = coefficient_ * pow10u128(static_cast<int>(-scale));
            if (c < kCoefficientLimit) {
                out = Decimal::fromParts(c, 0, negative_);
                return true;
            }
        }
    }
    return Decimal::tryFromText(text_, out);
}

bool textToDouble(QStringView text, double& out) {
    const QStringView t = trimSpaces(text);
    if (t.isEmpty()) return false;
    return NumberTextReader(t).toDouble(out);
}

}  // namespace hc
