#include "cli/attitude_command.h"

#include "cli/point_list_input.h"
#include "cli/sketch_output.h"
#include "survey/plane_attitude.h"

namespace hc::cli {
namespace {

QString usageText() {
    return QStringLiteral(
        "用法: hechuan-cli attitude [--start 点号] < 点表\n"
        "  从标准输入读取点表（每行：点号，X，Y，H，用逗号分隔），用点号为 --start 的点\n"
        "  和它下面的两个点（到表尾后从第一行接着数）确定面体，写出“三点定产状”窗口\n"
        "  输出框的内容：面体方程式的四个参数、走向、倾向、倾角（度.分秒 格式）、三点间\n"
        "  距离和可信度。没有该点号时（默认 0）用坐标原点和第一、二行的点。\n"
        "  窗口的提示框写到标准错误，每条一行。\n"
        "  退出码：0 成功，1 数据有误（窗口显示“提供的坐标数据存在错误”时）或输出失败，\n"
        "  2 选项错误。\n"
        "  --svg 文件 另把点的平面草图（北向上、东向右）写成 SVG 文件。\n"
        "Usage: hechuan-cli attitude [--start NAME] < point list\n"
        "  Reads a point list from standard input (lines of name, X, Y, H split by commas)\n"
        "  and finds the plane through the point named by --start and the two points\n"
        "  below it (going on from the first line after the last), writing what the\n"
        "  plane-attitude window's output box shows: the plane's four coefficients, strike,\n"
        "  dip direction and dip (packed degrees.minutes-seconds), the three distances and\n"
        "  the reliability. Without such a name (default 0) the origin of the axes and the\n"
        "  first two lines are used. The window's message boxes go to standard error, one\n"
        "  line each. Exit status: 0 success, 1 unusable points (the window's failure text)\n"
        "  or the output failed, 2 bad options. -h, --help shows this help.\n"
        "  --svg FILE also writes the plan sketch of the points (north up, east right) as SVG.\n");
}

}  // namespace

int runAttitude(const QStringList& args, const Streams& io) {
    CommandLine cl(usageText(), io);
    cl.addOption(QStringLiteral("start"));
    cl.addOption(QStringLiteral("svg"));
    cl.addEncodingOption();
    if (const auto done = cl.parse(args)) return *done;

    PointListInput input(io.in, cl.encoding(), io.err);
    if (!input.error().isEmpty()) {
        writeText(io.err, input.error() + u'\n');
        return kExitFailure;
    }
    AttitudeRun run;
    planeAttitudeOfRows(input.walker(PointListMode::Grid),
                        cl.value(QStringLiteral("start"), QStringLiteral("0")), run);
    writeBoxText(io.out, io.err, run.output, input.notices() + run.notices);
    bool failed = run.failed;
    if (cl.isSet(QStringLiteral("svg")) &&
        !writeSketchSvg(cl.value(QStringLiteral("svg")), input, SketchKind::Points,
                        cl.value(QStringLiteral("start")), io.err))
        failed = true;
    return cl.finish(failed ? kExitFailure : kExitSuccess);
}

}  // namespace hc::cli
