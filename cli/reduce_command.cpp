#include "cli/reduce_command.h"

#include "cli/traverse_command.h"
#include "survey/distance_reduction.h"
#include "survey/text_table.h"

namespace hc::cli {
namespace {

QString usageText() {
    return QStringLiteral(
               "用法: hechuan-cli reduce [--zenith] [--k 0.14] [--ppm 0] [--height Hm]\n"
               "       [--x X --y Y [--zone 3|6|1.5] [--ellipsoid BJ|XA|WGS|2000]] < 观测数据\n"
               "  从标准输入读取测距观测，计算平距和高差（三角高程，含地球曲率和大气折光），\n"
               "  对向观测取平均并给出较差，再把平距归算到椭球面和高斯平面，写出“测距仪测量”\n"
               "  窗口输出框的内容。每行：名称，斜距(米)，竖直角(度.分秒)，仪器高，觇标高，\n"
               "  可再接返测斜距，返测竖直角，返测仪器高，返测觇标高。以 # 开头的行和空行不读。\n"
               "  --zenith 角度为天顶距（默认为竖直角，向上为正）。\n"
               "  --k 大气折光系数（默认 0.14）。 --ppm 大气改正，百万分之一（默认 0）。\n"
               "  --height 测线的平均高程（椭球面以上，米）：平距归算到椭球面。\n"
               "  --x、--y 测线中点的公里网坐标（Y 带带号）：按该点的长度比归算到高斯平面，\n"
               "  曲率半径取该点的平均曲率半径；--zone 分带（默认 3），--ellipsoid 椭球\n"
               "  （默认 BJ）。长度比与 hechuan-cli gk --extra 给出的相同。\n"
               "  平距 D = S′·cos α，高差 h = S′·sin α + i − v + (1 − k)·D²/(2R)，\n"
               "  S′ = S·(1 + ppm·10⁻⁶)，R = 6371000 米。\n"
               "  例:\n") +
           QString(reductionSample()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) +
           QStringLiteral(
               "  退出码：0 成功，1 数据无法计算或输出失败，2 选项错误。\n"
               "Usage: hechuan-cli reduce [--zenith] [--k 0.14] [--ppm 0] [--height Hm]\n"
               "       [--x X --y Y [--zone 3|6|1.5] [--ellipsoid BJ|XA|WGS|2000]] < observations\n"
               "  Reads rangefinder observations from standard input and computes horizontal\n"
               "  distances and height differences (trigonometric levelling with earth\n"
               "  curvature and refraction), averages reciprocal observations showing their\n"
               "  differences, and reduces the horizontal distance to the ellipsoid and the\n"
               "  Gauss-Krueger plane, writing what the rangefinder window's output box shows.\n"
               "  One line per observed line: name, slope distance (m), vertical angle (packed\n"
               "  d.mmss), instrument height, target height, optionally followed by the\n"
               "  reverse slope distance, vertical angle, instrument and target heights.\n"
               "  --zenith: the angles are zenith distances. --k the refraction coefficient\n"
               "  (default 0.14). --ppm the atmospheric correction in parts per million.\n"
               "  --height the line's mean height above the ellipsoid: reduce to the\n"
               "  ellipsoid. --x, --y the grid coordinates of the line's middle (Y with its\n"
               "  zone number): reduce to the grid with the point scale factor there (the\n"
               "  one hechuan-cli gk --extra gives); --zone 3|6|1.5 (default 3), --ellipsoid\n"
               "  (default BJ). Exit status: 0 success, 1 the input cannot be computed or the\n"
               "  output failed, 2 bad options. -h, --help shows this help.\n");
}

}  // namespace

int runReduce(const QStringList& args, const Streams& io) {
    CommandLine cl(usageText(), io);
    cl.addFlag(QStringLiteral("zenith"));
    for (const char* o : {"k", "ppm", "height", "x", "y", "zone", "ellipsoid"})
        cl.addOption(QString::fromLatin1(o));
    cl.addEncodingOption();
    if (const auto done = cl.parse(args)) return *done;

    ReductionTexts t;
    t.angleKind = cl.isSet(QStringLiteral("zenith")) ? 1 : 0;
    t.refraction = cl.value(QStringLiteral("k"), QStringLiteral("0.14"));
    t.ppm = cl.value(QStringLiteral("ppm"));
    t.height = cl.value(QStringLiteral("height"));
    t.x = cl.value(QStringLiteral("x"));
    t.y = cl.value(QStringLiteral("y"));
    const QString zone = cl.value(QStringLiteral("zone"), QStringLiteral("3"));
    if (zone == u"6")
        t.zone = 0;
    else if (zone == u"3")
        t.zone = 1;
    else if (zone == u"1.5")
        t.zone = 2;
    else
        return cl.usageError(QStringLiteral("--zone 只能是 3、6 或 1.5"),
                             QStringLiteral("--zone must be 3, 6 or 1.5"));
    if (cl.isSet(QStringLiteral("ellipsoid"))) {
        const std::optional<Datum> datum = datumOfCode(cl.value(QStringLiteral("ellipsoid")));
        if (!datum)
            return cl.usageError(QStringLiteral("--ellipsoid 只能是 BJ、XA、WGS 或 2000"),
                                 QStringLiteral("--ellipsoid must be BJ, XA, WGS or 2000"));
        t.datum = int(*datum);
    }
    long long refused = 0;
    const std::optional<QString> input = readAllLines(io.in, cl.encoding(), io.err, refused);
    if (!input) return cl.finish(kExitFailure);
    t.input = *input;
    const ReductionRun run = runReductionTexts(t);
    writeNotices(io.err, run.notices);
    if (!run.failed) writeText(io.out, run.output);
    return cl.finish(run.failed || refused > 0 ? kExitFailure : kExitSuccess);
}

}  // namespace hc::cli
