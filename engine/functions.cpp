#include "engine/functions.h"

#include <cmath>
#include <exception>

#include "engine/arithmetic.h"
#include "engine/calc_log.h"
#include "engine/mixed_arithmetic.h"
#include "engine/number_routines.h"
#include "engine/power.h"
#include "engine/text_trim.h"

namespace hc {
namespace {

Decimal dec(const QString& text) { return Decimal::fromText(text); }

const Decimal& pi() {
    static const Decimal v = dec(kPi);
    return v;
}
const Decimal& twoPi() {
    static const Decimal v = dec(kTwoPi);
    return v;
}
const Decimal& halfPi() {
    static const Decimal v = dec(kHalfPi);
    return v;
}
const Decimal& threeHalfPi() {
    static const Decimal v = dec(kThreeHalfPi);
    return v;
}

constexpr double kInfinitySubstitute = 1E+28;

// Thrown by the double operations below for invalid operation, division by zero
// and overflow.
struct DoubleFailure : std::exception {};

double checked(double r) {
    if (!std::isfinite(r)) throw DoubleFailure{};
    return r;
}

// Sign of a number value: -1, 0 or 1 (throws when it is not a number).
int sign(const Num& v) {
    if (v.isDouble()) return (v.dbl() > 0) - (v.dbl() < 0);
    const Decimal d = v.toDecimal();
    return d.isZero() ? 0 : (d.isNegative() ? -1 : 1);
}

// Compares a number value with a small integer: -1, 0 or 1.
int compare(const Num& v, int n) {
    if (v.isDouble()) return (v.dbl() > n) - (v.dbl() < n);
    const auto c = v.toDecimal() <=> Decimal(n);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

QString rangeEnding() {
    return QStringLiteral(" 数值超出计算范围，我无法计算！返回数值用 [空值] 表示。");
}

// what: the label, "]" and the operation's name, as in "ZelSin]正弦".
Num failure(const QString& what, const Num& x) {
    calcLog().report(QStringLiteral("  进行[") + what + QStringLiteral("运算时， ") +
                     trimmedText(x) + rangeEnding());
    return Num::failure(QString());
}

Num errorValue() { return Num::failure(QStringLiteral("error")); }

// The argument reduced to -2pi < t < 2pi by the remainder routine.
Decimal turnRemainder(const Num& x) {
    return composedRemainder(ZelShuZhuanShu(x), Num::ofDecimal(twoPi())).toDecimal();
}

// sin t by the Taylor series for 0 <= t < 2pi, after the exact points and the
// reduction to the first quadrant.
Num sineOfReduced(Decimal t) {
    if (t.isZero() || t == pi() || t == twoPi()) return Num::ofDecimal(Decimal(0));
    if (t == halfPi()) return Num::ofDecimal(Decimal(1));
    if (t == threeHalfPi()) return Num::ofDecimal(Decimal(-1));
    int s = 1;
    if (t > halfPi() && t < pi()) {
        t = pi() - t;
    } else if (t > pi() && t < threeHalfPi()) {
        t = t - pi();
        s = -1;
    } else if (t > threeHalfPi() && t < twoPi()) {
        t = twoPi() - t;
        s = -1;
    }
    const Decimal stop = Decimal::fromParts(1, 28, false);
    Decimal sum = t, n = t;
    const Decimal x2 = t * t;
    // (D+1)! held as d1 * d2: d1 grows up to 27!, d2 takes the factors from 28 on.
    Decimal d1 = 1, d2 = 1;
    for (int d = 2; d <= 100; d += 2) {
        if (d < 28) {
            d1 = d1 * Decimal(d) * Decimal(d + 1);
        } else {
            d2 = d2 * Decimal(d) * Decimal(d + 1);
        }
        n = n * Decimal(-1) * x2;
        const Decimal term = n / d1 / d2;
        sum = sum + term;
        if (-stop <= term && term <= stop) break;
    }
    if (sum > Decimal(1)) sum = 1;
    if (sum < Decimal(0)) sum = 0;
    calcLog().limitTo(27);
    return Num::ofDecimal(s < 0 ? -sum : sum);
}

// A number value whose value is 0 (the empty text reads as 0).
bool readsAsZero(const Num& v) {
    const Num n = ZelShuZhuanShu(v);
    return n.isDouble() ? n.dbl() == 0 : n.toDecimal().isZero();
}

Num infiniteSubstitute(const QString& name) {
    calcLog().notify(name + QStringLiteral("(x)为无穷大，采用近似计算....1E+28。"));
    return Num::ofDouble(kInfinitySubstitute);
}

Num reciprocalOr(const Num& divisor, const QString& name) {
    try {
        if (readsAsZero(divisor)) return infiniteSubstitute(name);
        return Num::ofDecimal(Decimal(1) / ZelShuZhuanShu(divisor).toDecimal());
    } catch (const std::exception&) {
        return errorValue();
    }
}

double atan1x2() { return 2 * std::atan(1.0); }

void setDoublePrecision() { calcLog().precisionLimit = 15; }

}  // namespace

Num ZelSin(const Num& x) {
    try {
        Decimal t = turnRemainder(x);
        if (t.isNegative()) t = t + twoPi();
        return sineOfReduced(t);
    } catch (const std::exception&) {
        return failure(QStringLiteral("ZelSin]正弦"), x);
    }
}

Num ZelCos(const Num& x) {
    try {
        const Decimal t = turnRemainder(x);
        return ZelSin(Num::ofDecimal(halfPi() - t));
    } catch (const std::exception&) {
        return failure(QStringLiteral("ZelCos]余弦"), x);
    }
}

Num ZelTan(const Num& x) {
    try {
        const Decimal t = turnRemainder(x);
        return Num::ofDecimal(ZelSin(Num::ofDecimal(t)).toDecimal() /
                              ZelCos(Num::ofDecimal(t)).toDecimal());
    } catch (const std::exception&) {
        return failure(QStringLiteral("ZelTan]正切"), x);
    }
}

Num ZelCot(const Num& x) {
    try {
        const Decimal t = turnRemainder(x);
        return Num::ofDecimal(ZelCos(Num::ofDecimal(t)).toDecimal() /
                              ZelSin(Num::ofDecimal(t)).toDecimal());
    } catch (const std::exception&) {
        return failure(QStringLiteral("ZelCot]余切"), x);
    }
}

Num ZelSec(const Num& x) { return reciprocalOr(ZelCos(x), QStringLiteral("sec")); }

Num ZelCsc(const Num& x) { return reciprocalOr(ZelSin(x), QStringLiteral("csc")); }

namespace {

struct ExpPair {
    Num plus, minus;
};

ExpPair expPair(const Num& x) {
    const Num e = Num::ofText(kE);
    return {ZelChengFang(e, x), ZelChengFang(e, mixedMul(x, Num::ofInt(-1)))};
}

}  // namespace

Num ZelSh(const Num& x) {
    try {
        const ExpPair p = expPair(x);
        return mixedDiv(mixedSub(p.plus, p.minus), Num::ofDecimal(Decimal(2)));
    } catch (const std::exception&) {
        return errorValue();
    }
}

Num ZelCh(const Num& x) {
    try {
        const ExpPair p = expPair(x);
        return mixedDiv(mixedAdd(p.plus, p.minus), Num::ofDecimal(Decimal(2)));
    } catch (const std::exception&) {
        return errorValue();
    }
}

Num ZelTh(const Num& x) {
    try {
        const ExpPair p = expPair(x);
        return mixedDiv(mixedSub(p.plus, p.minus), mixedAdd(p.plus, p.minus));
    } catch (const std::exception&) {
        return errorValue();
    }
}

Num ZelCth(const Num& x) {
    try {
        const ExpPair p = expPair(x);
        const Num difference = mixedSub(p.plus, p.minus);
        if (sign(difference) == 0) return infiniteSubstitute(QStringLiteral("cth"));
        return mixedDiv(mixedAdd(p.plus, p.minus), difference);
    } catch (const std::exception&) {
        return errorValue();
    }
}

namespace {

Num logarithm(const Num& x, double divisor, const QString& name) {
    try {
        Num result;
        if (sign(x) > 0) {
            result = Num::ofDouble(checked(checked(std::log(x.toDouble())) / divisor));
        } else {
            calcLog().report(name + QStringLiteral("(x)的x 小于等于0错误。"));
            result = Num::ofDouble(-kInfinitySubstitute);
        }
        setDoublePrecision();
        return result;
    } catch (const std::exception&) {
        return errorValue();
    }
}

// x clamped to [-1, 1] with a report naming the function when it lies outside.
Num clampUnit(const Num& x, const QString& name) {
    if (compare(x, 1) > 0) {
        calcLog().report(name + QStringLiteral("(x)中 x 大于1错误，计算结果无效。"));
        return Num::ofDecimal(Decimal(1));
    }
    if (compare(x, -1) < 0) {
        calcLog().report(name + QStringLiteral("(x)中 x 小于-1错误，计算结果无效。"));
        return Num::ofDecimal(Decimal(-1));
    }
    return x;
}

// sqrt(1 - x*x) read back as a number value.
Num cosineOfArcsine(const Num& x) {
    const Num oneMinus = mixedAdd(Num::ofInt(1), mixedMul(x, mixedMul(x, Num::ofInt(-1))));
    return ZelShuZhuanShu(Num::ofDouble(checked(std::sqrt(oneMinus.toDouble()))));
}

Num meaningless(const QString& name) {
    calcLog().report(name + QStringLiteral("(x)无意义，计算结果无效。"));
    return Num::failure(QStringLiteral("-1"));
}

// sqrt(x*x - 1) in doubles; a negative radicand fails.
double secantRoot(const Num& x) {
    const double v = x.toDouble();
    return checked(std::sqrt(checked(checked(v * v) - 1)));
}

}  // namespace

Num ZelLg(const Num& x) { return logarithm(x, std::log(10.0), QStringLiteral("lg")); }

Num ZelLn(const Num& x) { return logarithm(x, 1.0, QStringLiteral("ln")); }

Num ZelArcsin(const Num& x) {
    try {
        const Num v = clampUnit(x, QStringLiteral("arcsin"));
        if (compare(v, 1) == 0) return Num::ofDecimal(halfPi());
        if (compare(v, -1) == 0) return Num::ofDecimal(-halfPi());
        const Num r = cosineOfArcsine(v);
        setDoublePrecision();
        if (sign(r) == 0) return meaningless(QStringLiteral("arcsin"));
        return ZelShuZhuanShu(Num::ofDouble(checked(std::atan(mixedDiv(v, r).toDouble()))));
    } catch (const std::exception&) {
        return errorValue();
    }
}

Num ZelArccos(const Num& x) {
    try {
        const Num v = clampUnit(x, QStringLiteral("arccos"));
        if (compare(v, 1) == 0) return Num::ofDecimal(Decimal(0));
        if (compare(v, -1) == 0) return Num::ofDecimal(pi());
        const Num r = cosineOfArcsine(v);
        setDoublePrecision();
        if (sign(r) == 0) return meaningless(QStringLiteral("arccos"));
        const Num ratio = mixedDiv(mixedMul(v, Num::ofInt(-1)), r);
        return ZelShuZhuanShu(Num::ofDouble(checked(std::atan(ratio.toDouble()) + atan1x2())));
    } catch (const std::exception&) {
        return errorValue();
    }
}

Num ZelArctan(const Num& x) {
    try {
        const Num r = Num::ofDouble(checked(std::atan(x.toDouble())));
        setDoublePrecision();
        return r;
    } catch (const std::exception&) {
        return errorValue();
    }
}

Num ZelArccot(const Num& x) {
    try {
        const Num r = ZelShuZhuanShu(Num::ofDouble(checked(atan1x2() - std::atan(x.toDouble()))));
        setDoublePrecision();
        return r;
    } catch (const std::exception&) {
        return errorValue();
    }
}

Num ZelArcsec(const Num& x) {
    try {
        const double s = secantRoot(x);
        setDoublePrecision();
        if (s == 0) return meaningless(QStringLiteral("arcsec"));
        return ZelShuZhuanShu(Num::ofDouble(atan1x2() - std::atan(sign(x) / s)));
    } catch (const std::exception&) {
        return errorValue();
    }
}

Num ZelArccsc(const Num& x) {
    try {
        const double s = secantRoot(x);
        setDoublePrecision();
        if (s == 0) return meaningless(QStringLiteral("arccsc"));
        return ZelShuZhuanShu(Num::ofDouble(std::atan(sign(x) / s)));
    } catch (const std::exception&) {
        return errorValue();
    }
}

}  // namespace hc
