#include "tools/decomposition.h"

#include "engine/number.h"
#include "engine/rounding.h"

namespace hc {

Decomposition decomposeNumber(const QString& text) {
    ScopedCalcLog log;
    const Num x = Num::ofText(text);
    try {
        Decomposition d{ZelZhengShuBuFen(x), ZelXiaoShuBuFen(x)};
        d.number = log.log().errorCount == 0;
        return d;
    } catch (...) {
    }
    return {QStringLiteral("0"), QStringLiteral("0"), false};
}

}  // namespace hc
