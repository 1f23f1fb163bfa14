#include "engine/mixed_arithmetic.h"

#include <cmath>

#include "engine/calc_log.h"

namespace hc {
namespace {

// The double nearest to 7.92281625142642E+28 lies slightly below the Decimal
// maximum, so every double under it converts.
constexpr double kDecimalLimit = 7.92281625142642E+28;

enum class MixedOp { Add, Sub, Mul, Div };

Decimal mixedOperand(const Num& a) {
    if (a.isDouble() && !(std::fabs(a.dbl()) < kDecimalLimit))
        throw DecimalError("double beyond the Decimal range");
    return a.toDecimal();
}

Num mixed(const Num& a, const Num& b, MixedOp op) {
    if (a.isDecimal() || b.isDecimal() || !(a.isDouble() || b.isDouble())) {
        const Decimal x = mixedOperand(a);
        const Decimal y = mixedOperand(b);
        switch (op) {
            case MixedOp::Add:
                return Num::ofDecimal(x + y);
            case MixedOp::Sub:
                return Num::ofDecimal(x - y);
            case MixedOp::Mul:
                return Num::ofDecimal(x * y);
            case MixedOp::Div:
                return Num::ofDecimal(x / y);
        }
    }
    const double x = a.toDouble();
    const double y = b.toDouble();
    double r = 0;
    switch (op) {
        case MixedOp::Add:
            r = x + y;
            break;
        case MixedOp::Sub:
            r = x - y;
            break;
        case MixedOp::Mul:
            r = x * y;
            break;
        case MixedOp::Div:
            if (y == 0) throw DecimalError("division by zero");
            r = x / y;
            break;
    }
    if (!std::isfinite(r)) throw DecimalError("double overflow");
    calcLog().limitTo(15);
    return Num::ofDouble(r);
}

}  // namespace

Num mixedAdd(const Num& a, const Num& b) { return mixed(a, b, MixedOp::Add); }
Num mixedSub(const Num& a, const Num& b) { return mixed(a, b, MixedOp::Sub); }
Num mixedMul(const Num& a, const Num& b) { return mixed(a, b, MixedOp::Mul); }
Num mixedDiv(const Num& a, const Num& b) { return mixed(a, b, MixedOp::Div); }

}  // namespace hc
