#include "engine/num.h"

#include <cstring>

#include "engine/double_text.h"
#include "engine/number_reader.h"
#include "engine/text_trim.h"

namespace hc {

const Decimal& Num::decimal() const {
    static const Decimal zero;
    const Decimal* d = std::get_if<kDec>(&value_);
    return d ? *d : zero;
}

const QString& Num::rawText() const {
    if (const QString* t = std::get_if<kText>(&value_)) return *t;
    if (const FailureText* f = std::get_if<kFail>(&value_)) return f->text;
    static const QString empty;
    return empty;
}

QString Num::text() const {
    switch (value_.index()) {
        case kDec:
            return std::get<kDec>(value_).toString();
        case kDbl:
            return doubleToText(std::get<kDbl>(value_));
        case kInt:
            return QString::number(std::get<kInt>(value_));
        default:
            return rawText();
    }
}

Decimal Num::toDecimal() const {
    switch (value_.index()) {
        case kDec:
            return std::get<kDec>(value_);
        case kDbl:
            return Decimal::fromDouble(std::get<kDbl>(value_));
        case kInt:
            return Decimal(std::get<kInt>(value_));
        default:
            break;
    }
    const QStringView t = trimSpaces(QStringView(rawText()));
    if (t.isEmpty()) throw DecimalError("empty text is not a number");
    Decimal v;
    if (!NumberTextReader(t).toDecimal(v)) throw DecimalError("not a number");
    return v;
}

double Num::toDouble() const {
    switch (value_.index()) {
        case kDec:
            return std::get<kDec>(value_).toDouble();
        case kDbl:
            return std::get<kDbl>(value_);
        case kInt:
            return std::get<kInt>(value_);
        default:
            break;
    }
    double d = 0;
    if (!textToDouble(rawText(), d)) throw DecimalError("not a number");
    return d;
}

int significantDigits(const Decimal& d) {
    Decimal::u128 c = d.coefficient();
    if (c == 0) return 0;
    int scale = d.scale();
    while (scale > 0 && c % 10 == 0) {
        c /= 10;
        --scale;
    }
    int n = 0;
    for (; c != 0; c /= 10) ++n;
    return n;
}

bool hasExponentText(const Num& x) {
    switch (x.kind()) {
        case Num::Kind::Decimal:
        case Num::Kind::Integer:
            return false;
        case Num::Kind::Double: {
            char buf[kDoubleTextCapacity];
            const int n = writeDoubleText(x.dbl(), buf);
            return std::memchr(buf, 'E', static_cast<std::size_t>(n)) != nullptr;
        }
        case Num::Kind::Text:
            for (const QChar c : x.rawText())
                if (c == u'E' || c == u'e') return true;
            return false;
    }
    return false;
}

QString trimmedText(const Num& x) { return trimSpaces(x.text()); }

bool isZeroValue(const Num& v) {
    switch (v.kind()) {
        case Num::Kind::Decimal:
            return v.decimal().isZero();
        case Num::Kind::Double:
            return v.dbl() == 0;
        case Num::Kind::Integer:
            return v.integer() == 0;
        case Num::Kind::Text: {
            double d = 0;
            return textToDouble(v.rawText(), d) && d == 0;
        }
    }
    return false;
}

bool isBlankText(const Num& x) {
    if (!x.isText()) return false;
    for (const QChar c : x.rawText())
        if (c != u' ') return false;
    return true;
}

}  // namespace hc
