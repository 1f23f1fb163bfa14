#include "engine/power.h"

#include <cmath>
#include <exception>

#include "engine/calc_log.h"
#include "engine/number_routines.h"

namespace hc {
namespace {

using u128 = Decimal::u128;

// An integer power whose step-by-step loop would need more passes than this is
// computed by repeated squaring instead.
constexpr u128 kLoopPassLimit = 1'000'000;

// Thrown inside ZelChengFang to leave the Decimal path for the double path.
struct TakeDoublePath {};

// The value of a Decimal whose scale is 0, as an integer.
u128 wholeValue(const Decimal& d) {
    u128 c = d.coefficient();
    for (int s = d.scale(); s > 0; --s) c /= 10;
    return c;
}

// A^I by the step-by-step cycles: each cycle builds powers of A by single steps
// and by squaring until the remaining exponent would be overshot, folds the
// power reached into R and starts again for what remains. The order of the
// multiplications fixes the rounding of the last digit.
Decimal loopPower(const Decimal& a, u128 exponent) {
    Decimal r = 1, p = 1, q;
    u128 n = exponent;
    for (u128 i = 1; i <= exponent; ++i) {
        const u128 k = i;
        p = p * a;
        q = p;
        // Once R has been multiplied by A^N no later pass touches R again.
        if (i == n) return r * p;
        if (2 * k >= n) continue;
        p = q * q;
        i = 2 * k;
        if (i == n) return r * p;
        if (k > n - i && i < n) {
            r = r * p;
            n -= i;
            i = 0;
            p = 1;
        }
        if (i > n - i && k < n - i) {
            p = p * q;
            r = r * p;
            n = n - i - k;
            i = 0;
            p = 1;
        }
    }
    return r;
}

// The passes loopPower makes for the exponent, counted without multiplying.
// Most exponents take a few dozen; some (2^m - 2 among them) about half the
// exponent.
u128 loopPasses(u128 exponent) {
    u128 n = exponent, passes = 0;
    for (u128 i = 1;; ++i) {
        ++passes;
        const u128 k = i;
        if (i == n) return passes;
        if (2 * k >= n) return passes + (n - i);  // single steps up to n
        i = 2 * k;
        if (i == n) return passes;
        if (k > n - i && i < n) {
            n -= i;
            i = 0;
        }
        if (i > n - i && k < n - i) {
            n = n - i - k;
            i = 0;
        }
    }
}

// A^I by repeated squaring, for exponents the loop would take too long over.
// The multiplications round in another order than loopPower's, so the last
// digit or two can differ from what the loop would have given.
Decimal squaringPower(Decimal a, u128 exponent) {
    Decimal r = 1;
    while (exponent > 0) {
        if (exponent & 1) r = r * a;
        exponent >>= 1;
        if (exponent > 0) a = a * a;
    }
    return r;
}

Decimal integerPower(const Decimal& a, u128 exponent) {
    if (exponent == 0 || a == Decimal(1)) return 1;
    if (a == Decimal(-1)) return (exponent & 1) ? Decimal(-1) : Decimal(1);
    if (loopPasses(exponent) <= kLoopPassLimit) return loopPower(a, exponent);
    return squaringPower(a, exponent);
}

Decimal rootOrLeave(const Decimal& x) {
    const Num root = ZelKaiPingFang(Num::ofDecimal(x));
    if (!root.isDecimal()) throw TakeDoublePath{};
    return root.decimal();
}

// y * y == s; a square beyond the Decimal range (the double root of a number
// near the largest Decimal can round up) is simply not equal.
bool squaresTo(const Decimal& y, const Decimal& s) {
    try {
        return y * y == s;
    } catch (const DecimalError&) {
        return false;
    }
}

// A^E for E >= 0: the integer part by integerPower, then the fraction bit by
// bit, most significant first, multiplying in A^(1/2), A^(1/4), ... for each
// set bit (at most 93).
Decimal positivePower(const Decimal& a, const Decimal& e) {
    const Decimal whole = e.truncated();
    Decimal fraction = e - whole;
    Decimal r = integerPower(a, wholeValue(whole));
    if (fraction.isZero()) return r;
    Decimal p = a;
    Decimal h = 1;
    const Decimal half = Decimal::fromParts(5, 1, false);
    for (int j = 1; j <= 93; ++j) {
        h = h * half;
        p = rootOrLeave(p);
        if (p == Decimal(1)) break;
        if (fraction >= h) {
            fraction = fraction - h;
            r = r * p;
            if (fraction.isZero()) break;
        }
    }
    return r;
}

// For a negative exponent and a base below 1 in magnitude, A^|B| is small and
// keeps few significant digits at 28 decimals, so its reciprocal goes wrong
// early (0.3^-30 from the 13th digit, 0.5^-95 not at all). Raising 1/A instead
// costs the rounding of 1/A times |B|: chosen where that is the smaller error,
// |B| * |A|^(|B|+1) < 1.
bool raiseReciprocal(const Decimal& base, const Decimal& exponent) {
    if (!exponent.isNegative() || base.isZero() || base.abs() >= Decimal(1)) return false;
    const double e = -exponent.toDouble();
    return std::log(e) + (e + 1) * std::log(std::fabs(base.toDouble())) < 0;
}

Num chengFangFailure(const Num& a, const Num& b) {
    calcLog().report(trimmedText(a) + u'^' + trimmedText(b) +
                     QStringLiteral(" 乘方计算超出本程序计算范围！返回 [空值] 。"));
    return Num::failure(QString());
}

Num doublePath(const Num& a, const Num& b) {
    try {
        const double result = std::pow(a.toDouble(), b.toDouble());
        // Invalid operation, division by zero and overflow leave no finite result.
        if (!std::isfinite(result)) return chengFangFailure(a, b);
        calcLog().precisionLimit = 15;
        return Num::ofDouble(result);
    } catch (const std::exception&) {
        return chengFangFailure(a, b);
    }
}

}  // namespace

Num ZelChengFang(const Num& a, const Num& b) {
    const Num y = ZelShuZhuanShu(b);
    if (isZeroValue(y)) return Num::ofDecimal(Decimal(1));
    const Num x = ZelShuZhuanShu(a);
    if (ZelDuoShaoE(x) > 0 || ZelDuoShaoE(y) > 0) return doublePath(a, b);
    try {
        const double estimate = std::pow(x.toDouble(), y.toDouble());
        if (!std::isfinite(estimate)) return doublePath(a, b);
        if (ZelDuoShaoE(ZelShuZhuanShu(Num::ofDouble(estimate))) > 0) return doublePath(a, b);

        const Decimal base = a.toDecimal();
        const Decimal exponent = b.toDecimal();
        const bool invert = raiseReciprocal(base, exponent);
        Decimal r;
        if (exponent == Decimal::fromParts(5, 1, false)) {
            r = rootOrLeave(base);
        } else if (exponent == Decimal::fromParts(5, 1, true)) {
            r = invert ? rootOrLeave(Decimal(1) / base) : Decimal(1) / rootOrLeave(base);
        } else {
            if (base.isZero()) {
                if (exponent.isNegative()) return chengFangFailure(a, b);
                return Num::ofDecimal(Decimal(0));
            }
            if (invert) {
                r = positivePower(Decimal(1) / base, exponent.abs());
            } else {
                r = positivePower(base, exponent.abs());
                if (exponent.isNegative()) {
                    if (r.isZero()) return chengFangFailure(a, b);
                    r = Decimal(1) / r;
                }
            }
        }
        if (calcLog().precisionLimit == 29) calcLog().precisionLimit = 28;
        return Num::ofDecimal(r);
    } catch (const TakeDoublePath&) {
        return doublePath(a, b);
    } catch (const std::exception&) {
        return doublePath(a, b);
    }
}

Num ZelKaiPingFang(const Num& x) {
    try {
        const Decimal s = x.toDecimal();
        if (s.isNegative()) throw DecimalError("negative");
        const Decimal y0 = Decimal::fromDouble(std::sqrt(s.toDouble()));
        if (squaresTo(y0, s)) return Num::ofDecimal(y0);
        const Decimal half = Decimal::fromParts(5, 1, false);
        Decimal y = y0 + Decimal::fromParts(1, 14, false);
        for (int n = 1; n <= 50; ++n) {
            if (y.isZero()) break;
            const Decimal prev = y;
            y = (y + s / y) * half;
            const Decimal a = (y + s / y) * half;
            const Decimal d = a - y;
            if (d.isZero()) break;
            // Aitken's extrapolation over prev, y, a.
            y = a - d * d / (d - y + prev);
            if (y == a) break;
        }
        calcLog().limitTo(28);
        return Num::ofDecimal(y);
    } catch (const std::exception&) {
        calcLog().report(QStringLiteral("  进行[开平方]运算时， ") + trimmedText(x) +
                         QStringLiteral(" 数值超出计算范围，无法表示！返回数值用 [空值] 表示。"));
        return Num::failure(QString());
    }
}

}  // namespace hc
