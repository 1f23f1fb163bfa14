// Any formula text gives a result or a message through the calculate command, and
// leaves the calculation state reset.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/number.h"
#include "expr/calculate.h"
#include "ui/services.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static hc::ui::SilentServices silent;
    static const bool installed = (hc::ui::installServices(&silent), true);
    (void)installed;

    // The first byte chooses the settings, the rest is the formula.
    hc::CalcState& st = hc::calcState();
    st.displayDecimals = 15;
    st.angleUnit = hc::kRadians;
    if (size > 0) {
        st.displayDecimals = data[0] % 29;
        static const int units[] = {hc::kRadians, hc::kDecimalDegrees, hc::kPackedDms};
        st.angleUnit = units[(data[0] / 29) % 3];
        ++data;
        --size;
    }
    const QString formula = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const hc::CalcResult r = hc::ZelJiSuanSuanShi(formula);

    if (r.result.isEmpty() || r.formula.isEmpty()) std::abort();
    if (st.errorCount != 0 || st.precisionLimit != 29 || !st.errorLog.isEmpty()) std::abort();
    if (!r.failed && r.value.isEmpty()) std::abort();
    return 0;
}
