#include "cli/angle_command.h"

#include "tools/angle_conversion.h"

namespace hc::cli {
namespace {

QString usageText() {
    return QStringLiteral(
        "用法: hechuan-cli angle --from rad|deg|dms --to rad|deg|dms [角度...]\n"
        "  在弧度（rad）、百分度（deg，十进制度）和度分秒（dms，度.分秒，如 45.5959）之间换算，\n"
        "  与“角度变换”窗口的结果相同（全部有效数字）。没有给出角度时，从标准输入每行读一个。\n"
        "  每个角度写一行结果（空行写空行）；分、秒超过 60 的提示写到标准错误。\n"
        "  退出码：0 成功，1 有不是数字的输入（结果写 0）或输出失败，2 选项错误。\n"
        "Usage: hechuan-cli angle --from rad|deg|dms --to rad|deg|dms [ANGLE...]\n"
        "  Converts between radians (rad), decimal degrees (deg) and packed\n"
        "  degrees-minutes-seconds (dms, d.mmss such as 45.5959) exactly as the angle\n"
        "  conversion window does, with all digits. Without ANGLE arguments one angle is\n"
        "  read per line of standard input. Writes one result per line (an empty line for a\n"
        "  blank one); the notices about minutes or seconds above 60 go to standard error.\n"
        "  Exit status: 0 success, 1 an input that is no number (its result is 0) or the\n"
        "  output failed, 2 bad options.\n"
        "  -h, --help shows this help.\n");
}

}  // namespace

int runAngle(const QStringList& args, const Streams& io) {
    CommandLine cl(usageText(), io);
    cl.addOption(QStringLiteral("from"));
    cl.addOption(QStringLiteral("to"));
    cl.allowOperands();
    cl.addEncodingOption();
    if (const auto done = cl.parse(args)) return *done;

    const QString from = cl.value(QStringLiteral("from"));
    const QString to = cl.value(QStringLiteral("to"));
    int fromUnit = -1;
    int toUnit = -1;
    if (!parseAngleUnitName(from, fromUnit) || !parseAngleUnitName(to, toUnit)) {
        return cl.usageError(QStringLiteral("--from 和 --to 必须是 rad、deg 或 dms"),
                             QStringLiteral("--from and --to must be rad, deg or dms"));
    }
    AngleConversion op;
    if (!angleConversionBetween(fromUnit, toUnit, op)) {
        return cl.usageError(QStringLiteral("--from 和 --to 不能相同"),
                             QStringLiteral("--from and --to must differ"));
    }

    int status = kExitSuccess;
    auto convertOne = [&](const QString& value) {
        const AngleConversionResult r = convertAngle(op, value);
        writeNotices(io.err, r.notices, true);
        if (!r.number) {
            writeText(io.err, QStringLiteral("不是数字，按 0 换算 / not a number, read as 0: ") +
                                  value + u'\n');
            status = kExitFailure;
        }
        writeText(io.out, r.result + u'\n');
    };
    if (cl.forEachValue(convertOne) != kExitSuccess) status = kExitFailure;
    return cl.finish(status);
}

}  // namespace hc::cli
