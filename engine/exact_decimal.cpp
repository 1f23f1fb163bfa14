#include "engine/exact_decimal.h"

#include <QString>

namespace hc {

bool decimalTextParts(QStringView text, bool& negative, std::string& digits, long& shift) {
    digits.clear();
    negative = false;
    long fraction = 0;
    long exponent = 0;
    bool point = false;
    qsizetype i = 0;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= u'0' && c <= u'9') {
            digits += char(c);
            if (point) ++fraction;
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (digits.empty()) return false;
    if (i < text.size()) {
        if (text[i] != u'E' && text[i] != u'e') return false;
        bool ok = false;
        exponent = text.mid(i + 1).toLong(&ok);
        if (!ok || exponent > 100000 || exponent < -100000) return false;
    }
    shift = exponent - fraction;
    return true;
}

bool exactDecimalValue(QStringView text, mpq_class& out) {
    bool negative = false;
    std::string digits;
    long shift = 0;
    if (!decimalTextParts(text, negative, digits, shift)) return false;
    const mpz_class n(digits, 10);
    mpz_class power;
    mpz_ui_pow_ui(power.get_mpz_t(), 10, static_cast<unsigned long>(shift >= 0 ? shift : -shift));
    if (shift >= 0) {
        out = mpq_class(n * power);
    } else {
        out = mpq_class(n, power);
        out.canonicalize();
    }
    if (negative) out = -out;
    return true;
}

}  // namespace hc
