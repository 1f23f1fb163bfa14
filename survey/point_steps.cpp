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

}  // namespace hc
