#include "cli/bearing_command.h"

#include "cli/point_list_input.h"
#include "survey/distance_bearing.h"

namespace hc::cli {
namespace {

QString usageText() {
    return QStringLiteral(
        "用法: hechuan-cli bearing [--origin 点号] [--geographic] < 点表\n"
        "  从标准输入读取点表（每行：点号，X，Y，H，用逗号分隔），以点号为 --origin 的点\n"
        "  为原点（默认 0，即坐标原点），计算每个点的平距、水平角、斜距和仰俯角，写出\n"
        "  “距离方位”窗口输出框的内容：序号 ,平距(米) ,水平角(度) ,斜距(米) ,仰俯角(度)。\n"
        "  角度为 度.分秒 格式；水平角从真北（X）顺时针量起，仰俯角从水平面量起。\n"
        "  --geographic 坐标数据为经纬度：行中没有点号，点以行号命名。\n"
        "  窗口的提示框写到标准错误，每条一行。\n"
        "  退出码：0 成功，1 计算失败或输出失败，2 选项错误。\n"
        "Usage: hechuan-cli bearing [--origin NAME] [--geographic] < point list\n"
        "  Reads a point list from standard input (lines of name, X, Y, H split by commas)\n"
        "  and, from the point named by --origin (default 0: the origin of the axes),\n"
        "  computes every point's horizontal distance, azimuth, slope distance and\n"
        "  vertical angle, writing what the distance-and-bearing window's output box shows.\n"
        "  Angles are packed degrees.minutes-seconds; azimuths from north (X) through east\n"
        "  (Y), vertical angles from the horizontal. --geographic: the lines have no name,\n"
        "  points are named by their line number. The window's message boxes go to\n"
        "  standard error, one line each. Exit status: 0 success, 1 the calculation or the\n"
        "  output failed, 2 bad options. -h, --help shows this help.\n");
}

}  // namespace

int runBearing(const QStringList& args, const Streams& io) {
    CommandLine cl(usageText(), io);
    cl.addOption(QStringLiteral("origin"));
    cl.addFlag(QStringLiteral("geographic"));
    cl.addEncodingOption();
    if (const auto done = cl.parse(args)) return *done;
    const std::optional<QString> input = readPointListText(io.in, cl.encoding(), io.err);
    if (!input) return cl.finish(kExitFailure);

    const PointListMode mode =
        cl.isSet(QStringLiteral("geographic")) ? PointListMode::Geographic : PointListMode::Grid;
    const BearingRun run =
        runDistanceBearing(*input, cl.value(QStringLiteral("origin"), QStringLiteral("0")), mode);
    writeBoxText(io.out, io.err, run.output, run.notices);
    return cl.finish(run.failed ? kExitFailure : kExitSuccess);
}

}  // namespace hc::cli
