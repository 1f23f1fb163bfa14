#include "tools/decomposition.h"

#include "engine/calc_log.h"
#include "engine/number.h"
#include "engine/rounding.h"

namespace hc {

Decomposition decomposeNumber(const QString& text) {
    const Num x = Num::ofText(text);
    try {
        EngineReport report;
        Decomposition d = checkedCall(
            [&] {
                return Decomposition{ZelZhengShuBuFen(x), ZelXiaoShuBuFen(x)};
            },
            report);
        d.number = report.ok();
        return d;
    } catch (...) {
    }
    return {QStringLiteral("0"), QStringLiteral("0"), false};
}

}  // namespace hc
