#include "cli/intersect_command.h"

#include "cli/sketch_output.h"
#include "cli/traverse_command.h"
#include "survey/intersection.h"

namespace hc::cli {
namespace {

QString usageText() {
    auto example = [](IntersectionKind k) {
        return QString(intersectionSample(k)).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    };
    return QStringLiteral(
               "用法: hechuan-cli intersect [--type forward|side|resection] < 交会数据\n"
               "  从标准输入读取已知点和观测角，计算待定点坐标，写出“经纬仪测量”窗口做交会时\n"
               "  输出框的内容。先写已知点（点号，X，Y），再每行写一个待定点（点号，角1，角2），\n"
               "  角度为 度.分秒。以 # 开头的行和空行不读。\n"
               "  --type forward 前方交会（默认）：已知点 A、B；角1 为在 A 观测的角 BAP，角2 为\n"
               "    在 B 观测的角 ABP；A、B、P 按逆时针排列（P 在 A→B 的左侧）。\n"
               "  --type side 侧方交会：已知点 A、B；角1 为在 A 观测的角 BAP，角2 为在 P 观测的\n"
               "    角 APB。\n"
               "  --type resection 后方交会：已知点 A、B、C；角1 为在 P 从 A 方向顺时针到 B 方向\n"
               "    的角，角2 为从 B 方向顺时针到 C 方向的角。\n"
               "  交会角不在 30 至 150 度之间，或后方交会的点离危险圆（A、B、C 的外接圆）不到\n"
               "  半径的 0.2 倍时，提示图形弱（写到标准错误）。\n"
               "  --svg 文件 另把已知点、待定点和观测方向的平面草图（北向上、东向右）写成\n"
               "    SVG 文件。\n"
               "  例（前方交会）:\n") +
           example(IntersectionKind::Forward) + QStringLiteral("  例（后方交会）:\n") +
           example(IntersectionKind::Resection) +
           QStringLiteral(
               "  退出码：0 成功，1 数据无法计算或输出失败，2 选项错误。\n"
               "Usage: hechuan-cli intersect [--type forward|side|resection] < data\n"
               "  Reads known points and observed angles from standard input and computes the\n"
               "  new points, writing what the theodolite window's output box shows for an\n"
               "  intersection. Known points first (name, X, Y), then one line per new point\n"
               "  (name, angle 1, angle 2), angles packed d.mmss. forward (default): known A,\n"
               "  B; angle 1 at A (B-A-P), angle 2 at B (A-B-P), A, B, P counterclockwise.\n"
               "  side: angle 1 at A (B-A-P), angle 2 at P (A-P-B). resection: known A, B, C;\n"
               "  angle 1 clockwise at P from A to B, angle 2 from B to C. An intersection\n"
               "  angle outside 30 ... 150 degrees, or a resected point within 0.2 radii of\n"
               "  the circle through A, B and C (the danger circle), is reported as weak on\n"
               "  standard error. --svg FILE also writes the plan sketch of the points and the\n"
               "  observed directions (north up, east right) as SVG.\n"
               "  Exit status: 0 success, 1 the input cannot be computed or\n"
               "  the output failed, 2 bad options. -h, --help shows this help.\n");
}

}  // namespace

int runIntersect(const QStringList& args, const Streams& io) {
    CommandLine cl(usageText(), io);
    cl.addOption(QStringLiteral("type"));
    cl.addOption(QStringLiteral("svg"));
    cl.addEncodingOption();
    if (const auto done = cl.parse(args)) return *done;
    const QString type = cl.value(QStringLiteral("type"), QStringLiteral("forward"));
    IntersectionKind kind;
    if (type == u"forward")
        kind = IntersectionKind::Forward;
    else if (type == u"side")
        kind = IntersectionKind::Side;
    else if (type == u"resection")
        kind = IntersectionKind::Resection;
    else
        return cl.usageError(QStringLiteral("--type 只能是 forward、side 或 resection"),
                             QStringLiteral("--type must be forward, side or resection"));
    long long refused = 0;
    const std::optional<QString> input = readAllLines(io.in, cl.encoding(), io.err, refused);
    if (!input) return cl.finish(kExitFailure);
    const IntersectionRun run = runIntersection(*input, kind);
    writeNotices(io.err, run.notices);
    if (!run.failed) writeText(io.out, run.output);
    const bool sketchFailed = !run.failed && cl.isSet(QStringLiteral("svg")) &&
                              !writeSketchSvg(cl.value(QStringLiteral("svg")), run.sketch, io.err);
    return cl.finish(run.failed || sketchFailed || refused > 0 ? kExitFailure : kExitSuccess);
}

}  // namespace hc::cli
