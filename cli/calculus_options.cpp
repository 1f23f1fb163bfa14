#include "cli/calculus_options.h"

namespace hc::cli {

namespace {

// The settings the parsed options give (radians and 15 decimals by default), or the
// exit status of the usage error already written.
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

}  // namespace

int runCalculusCommand(const QStringList& args, const Streams& io, const char* usage, int operands,
                       const QStringList& options, const CalculusRun& run) {
    CommandLine cl(QString::fromUtf8(usage), io);
    cl.addOption(QStringLiteral("decimals"));
    cl.addOption(QStringLiteral("angle"));
    for (const QString& option : options) cl.addOption(option);
    cl.allowOperands();
    if (const auto done = cl.parse(args)) return *done;
    const auto settings = calculusSettings(cl);
    if (const int* status = std::get_if<int>(&settings)) return *status;
    const QStringList ops = cl.operands();
    if (ops.size() != operands) {
        const QString n = QString::number(operands);
        return cl.usageError(QStringLiteral("需要 ") + n + QStringLiteral(" 个参数"),
                             n + QStringLiteral(" operand(s) needed"));
    }
    const auto got = run(cl, ops, std::get<CalcSettings>(settings));
    if (const int* status = std::get_if<int>(&got)) return *status;
    const CalculusResult& r = std::get<CalculusResult>(got);
    writeNotices(io.err, r.notices);
    writeText(io.out, r.output + u'\n');
    return cl.finish(r.failed || r.cancelled ? kExitFailure : kExitSuccess);
}

}  // namespace hc::cli
