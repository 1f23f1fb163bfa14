#include "tools/decomposition.h"

#include "engine/number.h"
#include "engine/rounding.h"

namespace hc {

Decomposition decomposeNumber(const QString& text) {
    ScopedCalcLog log;
    const Num x = Num::ofText(text);
    try {
        return {ZelZhengShuBuFen(x), ZelXiaoShuBuFen(x)};
    } catch (...) {
    }
    return {QStringLiteral("0"), QStringLiteral("0")};
}

}  // namespace hc
