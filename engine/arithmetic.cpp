#include "engine/arithmetic.h"

#include <gmpxx.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "engine/calc_log.h"
#include "engine/number_reader.h"
#include "engine/number_routines.h"
#include "engine/rounding.h"
#include "engine/text_trim.h"

namespace hc {
namespace {

enum class Op { Mul, Div, Add, Sub };

const char16_t* label(Op op) {
    switch (op) {
        case Op::Mul:
            return u"Zel两数积";
        case Op::Div:
            return u"Zel两数商";
        case Op::Add:
            return u"Zel两数和";
        case Op::Sub:
            return u"Zel两数差";
    }
    return u"";
}

const char16_t* sign(Op op) {
    switch (op) {
        case Op::Mul:
            return u"*";
        case Op::Div:
            return u"/";
        case Op::Add:
            return u"+";
        case Op::Sub:
            return u"-";
    }
    return u"";
}

QString twoOperandMessage(const char16_t* label, const Num& a, const char16_t* sign, const Num& b) {
    QString m = QStringLiteral("  进行[");
    m.append(QStringView(label))
        .append(u"]运算时， ")
        .append(trimmedText(a))
        .append(QStringView(sign))
        .append(trimmedText(b))
        .append(u" 数值超出计算范围，我无法计算！返回数值用 [空值] 表示。");
    return m;
}

Num failure(Op op, const Num& a, const Num& b) {
    try {
        calcLog().report(twoOperandMessage(label(op), a, sign(op), b));
    } catch (...) {
    }
    return Num::failure(QString());
}

bool readDouble(const Num& a, double& out) {
    switch (a.kind()) {
        case Num::Kind::Decimal:
            out = a.decimal().toDouble();
            return true;
        case Num::Kind::Integer:
            out = a.integer();
            return true;
        case Num::Kind::Double:
            out = a.dbl();
            return std::isfinite(out);
        case Num::Kind::Text:
            return textToDouble(a.rawText(), out);
    }
    return false;
}

Num doublePath(Op op, const Num& a, const Num& b) {
    double x = 0;
    double y = 0;
    if (!readDouble(a, x) || !readDouble(b, y)) return failure(op, a, b);
    double r = 0;
    switch (op) {
        case Op::Mul:
            r = x * y;
            break;
        case Op::Div:
            if (y == 0) return failure(op, a, b);
            r = x / y;
            break;
        case Op::Add:
            r = x + y;
            break;
        case Op::Sub:
            r = x - y;
            break;
    }
    if (!std::isfinite(r)) return failure(op, a, b);
    calcLog().limitTo(15);
    return Num::ofDouble(r);
}

// The operand as a Decimal, as the caller passed it. When the reader gave a
// Decimal it is that same value, unless the operand is a blank text (read as 0
// by the reader, but no number).
Decimal operandDecimal(const Num& passed, const Num& read) {
    if (read.isDecimal() && !isBlankText(passed)) return read.decimal();
    return passed.toDecimal();
}

Num twoOperands(Op op, const Num& a, const Num& b) {
    try {
        const Num x = ZelShuZhuanShu(a);
        if (ZelDuoShaoE(x) > 0) return doublePath(op, a, b);
        const Num y = ZelShuZhuanShu(b);
        if (ZelDuoShaoE(y) > 0) return doublePath(op, a, b);
        try {
            const Decimal dx = operandDecimal(a, x);
            const Decimal dy = operandDecimal(b, y);
            Decimal r;
            switch (op) {
                case Op::Mul:
                    r = dx * dy;
                    break;
                case Op::Div:
                    r = dx / dy;
                    break;
                case Op::Add:
                    r = dx + dy;
                    break;
                case Op::Sub:
                    r = dx - dy;
                    break;
            }
            // A product or quotient too small for a Decimal goes on as a double.
            if ((op == Op::Mul || op == Op::Div) && r.isZero() && !dx.isZero() && !dy.isZero())
                return doublePath(op, a, b);
            return Num::ofDecimal(r);
        } catch (const DecimalError&) {
        }
        return doublePath(op, a, b);
    } catch (...) {
    }
    return failure(op, a, b);
}

mpz_class toMpz(Decimal::u128 v) {
    mpz_class hi(static_cast<unsigned long>(v >> 64));
    hi <<= 64;
    return hi + mpz_class(static_cast<unsigned long>(v & ~static_cast<std::uint64_t>(0)));
}

// x - trunc(x / y) * y, exact. Both are brought to the larger scale; the remainder
// is below both aligned coefficients, one of which is the unscaled one, so it fits.
Decimal exactRemainder(const Decimal& x, const Decimal& y) {
    const int scale = std::max(x.scale(), y.scale());
    mpz_class pow;
    mpz_ui_pow_ui(pow.get_mpz_t(), 10, static_cast<unsigned long>(scale - x.scale()));
    const mpz_class a = toMpz(x.coefficient()) * pow;
    mpz_ui_pow_ui(pow.get_mpz_t(), 10, static_cast<unsigned long>(scale - y.scale()));
    const mpz_class b = toMpz(y.coefficient()) * pow;
    const mpz_class r = a % b;
    const mpz_class hi = r >> 64;
    const mpz_class lo = r - (hi << 64);
    const Decimal::u128 c = (static_cast<Decimal::u128>(hi.get_ui()) << 64) | lo.get_ui();
    return Decimal::fromParts(c, scale, x.isNegative());
}

// The remainder routine; with `exact`, two Decimal operands give their exact
// remainder, else it is composed of the rounded quotient, its integer part and the
// rounded product, which can be off by a unit of the divisor's last digit and more.
Num remainderOf(const Num& a, const Num& b, bool exact) {
    try {
        const Num x = ZelShuZhuanShu(a);
        const Num y = ZelShuZhuanShu(b);
        if (exact && x.isDecimal() && y.isDecimal() && !y.decimal().isZero())
            return Num::ofDecimal(exactRemainder(x.decimal(), y.decimal()));
        const Num q = ZelLiangShuShang(x, y);
        if (ZelDuoShaoE(q) > 0 && std::fabs(q.toDouble()) >= 1) {
            // A double operand is known to 15 digits only; from 2^53 on, its quotient
            // no longer tells which whole number it stands for, so no remainder can.
            if ((x.isDouble() || y.isDouble()) && std::fabs(q.toDouble()) >= 0x1p53)
                throw DecimalError("remainder of an inexact operand");
            // A quotient beyond the Decimal range has no exact integer part; subtracting
            // its 15-digit product would leave noise larger than the divisor.
            const double r = std::fmod(x.toDouble(), y.toDouble());
            if (!std::isfinite(r)) throw DecimalError("remainder");
            calcLog().limitTo(15);
            return Num::ofDouble(r);
        }
        const Num whole = Num::ofText(ZelZhengShuBuFen(q));
        const Num p = ZelLiangShuJi(whole, y);
        return ZelLiangShuCha(x, p);
    } catch (...) {
    }
    try {
        calcLog().report(twoOperandMessage(u"Zel两数余", a, u"余", b));
    } catch (...) {
    }
    return Num::failure(QString());
}

}  // namespace

Num ZelLiangShuJi(const Num& a, const Num& b) { return twoOperands(Op::Mul, a, b); }
Num ZelLiangShuShang(const Num& a, const Num& b) { return twoOperands(Op::Div, a, b); }
Num ZelLiangShuHe(const Num& a, const Num& b) { return twoOperands(Op::Add, a, b); }
Num ZelLiangShuCha(const Num& a, const Num& b) { return twoOperands(Op::Sub, a, b); }

Num ZelLiangShuYu(const Num& a, const Num& b) { return remainderOf(a, b, true); }

Num composedRemainder(const Num& a, const Num& b) { return remainderOf(a, b, false); }

}  // namespace hc
