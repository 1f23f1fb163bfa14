#include "survey/point_steps.h"

#include "engine/functions.h"

namespace hc {

const Decimal& degreesPerRadian() {
    static const Decimal v = Decimal::fromText(k180OverPi);
    return v;
}

Num requireNumber(Num v) {
    if (v.isText()) throw DecimalError("no number");
    return v;
}

Num shownPacked(const Num& packed, int turn) {
    const Decimal v = packed.toDecimal();
    if (v.scale() > 6) throw DecimalError("packed angle with more than 6 decimals");
    using u128 = Decimal::u128;
    u128 micros = v.coefficient();
    for (int s = v.scale(); s < 6; ++s) micros *= 10;
    u128 degrees = micros / 1000000;
    unsigned minutes = static_cast<unsigned>(micros / 10000 % 100);
    unsigned centiseconds = static_cast<unsigned>(micros % 10000);
    bool changed = false;
    if (centiseconds >= 6000) {
        centiseconds -= 6000;
        ++minutes;
        changed = true;
    }
    if (minutes >= 60) {
        minutes -= 60;
        ++degrees;
        changed = true;
    }
    if (turn > 0 && degrees >= static_cast<unsigned>(turn)) {
        degrees %= static_cast<unsigned>(turn);
        changed = true;
    }
    if (!changed) return packed;
    const u128 coefficient = degrees * 1000000 + minutes * 10000 + centiseconds;
    return Num::ofDecimal(Decimal::fromParts(coefficient, 6, v.isNegative()));
}

}  // namespace hc
