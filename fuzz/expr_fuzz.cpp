// Any formula text gives a result or a message through the calculate command, and
// leaves the caller's log untouched.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/calc_log.h"
#include "engine/calc_settings.h"
#include "expr/calculate.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The first byte chooses the settings, the rest is the formula.
    hc::CalcSettings settings;
    if (size > 0) {
        settings.displayDecimals = data[0] % 29;
        static const hc::AngleUnit units[] = {hc::kRadians, hc::kDecimalDegrees, hc::kPackedDms};
        settings.angleUnit = units[(data[0] / 29) % 3];
        ++data;
        --size;
    }
    const QString formula = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const hc::CalcResult r = hc::ZelJiSuanSuanShi(formula, settings);
    const hc::CalcLog& st = hc::calcLog();

    if (r.result.isEmpty() || r.formula.isEmpty()) std::abort();
    if (st.errorCount != 0 || st.precisionLimit != 29 || !st.errorLog.isEmpty()) std::abort();
    if (!r.failed && r.value.isEmpty()) std::abort();
    return 0;
}
