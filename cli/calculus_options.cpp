#include "cli/calculus_options.h"

namespace hc::cli {

void addCalculusOptions(CommandLine& cl) {
    cl.addOption(QStringLiteral("decimals"));
    cl.addOption(QStringLiteral("angle"));
}

std::variant<CalcSettings, int> calculusSettings(const CommandLine& cl) {
    CalcSettings st;
    for (const QString& value : cl.values(QStringLiteral("decimals"))) {
        bool ok = false;
        const int n = value.toInt(&ok);
        if (!ok || n < 0 || n > 28)
            return cl.usageError(QStringLiteral("小数位数应为 0-28 的整数"),
                                 QStringLiteral("--decimals needs an integer 0-28"));
        st.displayDecimals = n;
    }
    for (const QString& value : cl.values(QStringLiteral("angle"))) {
        if (value == u"rad")
            st.angleUnit = kRadians;
        else if (value == u"deg")
            st.angleUnit = kDecimalDegrees;
        else if (value == u"dms")
            st.angleUnit = kPackedDms;
        else
            return cl.usageError(QStringLiteral("角度单位应为 rad、deg 或 dms"),
                                 QStringLiteral("--angle needs rad, deg or dms"));
    }
    return st;
}

int printCalculus(const CalculusResult& r, const CommandLine& cl, const Streams& io) {
    writeNotices(io.err, r.notices);
    writeText(io.out, r.output + u'\n');
    return cl.finish(r.failed || r.cancelled ? kExitFailure : kExitSuccess);
}

}  // namespace hc::cli
