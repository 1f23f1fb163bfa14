#include "cli/traverse_command.h"

#include "cli/sketch_output.h"
#include "survey/text_table.h"
#include "survey/traverse.h"

namespace hc::cli {
namespace {

QString usageText() {
    return QStringLiteral(
               "用法: hechuan-cli traverse [--type loop|connecting|open] [--angles left|right]\n"
               "       [--bearing 度.分秒] [--allowance 秒] [--relative N] < 导线数据\n"
               "  从标准输入读取导线数据，计算角度闭合差、方位角、坐标增量、坐标闭合差和相对\n"
               "  闭合差，在限差以内时按边长比例平差，写出“经纬仪测量”窗口输出框的内容。\n"
               "  每行一个点，按推算顺序：点号，观测角(度.分秒)，到下一点的边长(米)，X，Y。\n"
               "  第一行只有点号和坐标时是后视点（定向）；附合导线最后一行只有点号和坐标时是\n"
               "  前视点（检核终边方位）。闭合导线最后一行再写起点点号和它的观测角。\n"
               "  以 # 开头的行和空行不读。\n"
               "  --type 导线类型：loop 闭合导线，connecting 附合导线（默认；两端都无定向时\n"
               "  按无定向附合导线计算），open 支导线。\n"
               "  --angles 观测角是左角（left，默认）还是右角（right）。\n"
               "  --bearing 没有后视点时第一条边的方位角（度.分秒）。\n"
               "  --allowance 角度闭合差容许值的系数 m（容许 ±m″√n，默认 40）。\n"
               "  --relative 相对闭合差容许 1/N 的 N（默认 2000）。\n"
               "  --svg 文件 另把导线的平面草图（北向上、东向右）写成 SVG 文件。\n"
               "  例（附合导线，左角）:\n") +
           QString(traverseSample(TraverseType::Connecting))
               .replace(QStringLiteral("\r\n"), QStringLiteral("\n")) +
           QStringLiteral(
               "  超限时不平差，并在标准错误上说明，能判断时指出可能有错的点或边。\n"
               "  退出码：0 成功（含超限），1 数据无法计算或输出失败，2 选项错误。\n"
               "Usage: hechuan-cli traverse [--type loop|connecting|open] [--angles left|right]\n"
               "       [--bearing D.MMSS] [--allowance SECONDS] [--relative N] < traverse\n"
               "  Reads a traverse from standard input, computes the angular misclosure,\n"
               "  bearings, coordinate increments, coordinate misclosures and relative closure\n"
               "  and, within the allowances, adjusts it by the proportional (Bowditch) rule,\n"
               "  writing what the theodolite window's output box shows. One line per point in\n"
               "  walking order: name, observed angle (packed d.mmss), distance to the next\n"
               "  point (metres), X, Y. A first line of name and coordinates only is the\n"
               "  backsight point; in a connecting traverse a last such line is the foresight\n"
               "  point. A loop ends with the start point's name and the angle observed there.\n"
               "  Lines starting with # and blank lines are skipped.\n"
               "  --type loop, connecting (default; with no orientation at either end the\n"
               "  start bearing comes from the two known end points) or open.\n"
               "  --angles left (default) or right angles. --bearing the first side's bearing\n"
               "  when there is no backsight point. --allowance m of the allowed angular\n"
               "  misclosure ±m″√n (default 40). --relative N of the allowed relative closure\n"
               "  1/N (default 2000). Over an allowance nothing is adjusted; standard error\n"
               "  says so and names the likely wrong point or side when it can.\n"
               "  --svg FILE also writes the plan sketch (north up, east right) as SVG.\n"
               "  Exit status: 0 success (also over an allowance), 1 the input cannot be\n"
               "  computed or the output failed, 2 bad options. -h, --help shows this help.\n");
}

}  // namespace

std::optional<QString> readAllLines(std::FILE* in, InputEncoding encoding, std::FILE* err,
                                    long long& refused) {
    LineReader reader(in, encoding, err);
    QString text;
    QString line;
    while (reader.next(line)) {
        if (reader.lineNumber() > kMaxDataLines || text.size() + line.size() >= kMaxDataChars) {
            writeText(err, dataLimitText() + u'\n');
            return std::nullopt;
        }
        text += line + u'\n';
    }
    refused = reader.refusedLines();
    return text;
}

int runTraverse(const QStringList& args, const Streams& io) {
    CommandLine cl(usageText(), io);
    for (const char* o : {"type", "angles", "bearing", "allowance", "relative", "svg"})
        cl.addOption(QString::fromLatin1(o));
    cl.addEncodingOption();
    if (const auto done = cl.parse(args)) return *done;

    TraverseOptions options;
    const QString type = cl.value(QStringLiteral("type"), QStringLiteral("connecting"));
    if (type == u"loop")
        options.type = TraverseType::Loop;
    else if (type == u"connecting")
        options.type = TraverseType::Connecting;
    else if (type == u"open")
        options.type = TraverseType::Open;
    else
        return cl.usageError(QStringLiteral("--type 只能是 loop、connecting 或 open"),
                             QStringLiteral("--type must be loop, connecting or open"));
    const QString angles = cl.value(QStringLiteral("angles"), QStringLiteral("left"));
    if (angles != u"left" && angles != u"right")
        return cl.usageError(QStringLiteral("--angles 只能是 left 或 right"),
                             QStringLiteral("--angles must be left or right"));
    options.angles = angles == u"left" ? AngleSide::Left : AngleSide::Right;
    try {
        if (cl.isSet(QStringLiteral("bearing")))
            options.startBearing =
                readPackedField(cl.value(QStringLiteral("bearing")), QStringLiteral("--bearing "));
        if (cl.isSet(QStringLiteral("allowance")))
            options.allowanceSeconds = readNumberField(cl.value(QStringLiteral("allowance")),
                                                       QStringLiteral("--allowance "));
        if (cl.isSet(QStringLiteral("relative")))
            options.relativeAllowance = readNumberField(cl.value(QStringLiteral("relative")),
                                                        QStringLiteral("--relative "));
    } catch (const FieldError& e) {
        return cl.usageError(e.message, QStringLiteral("bad option value"));
    }
    if (!(options.allowanceSeconds > 0) || !(options.relativeAllowance > 0))
        return cl.usageError(QStringLiteral("--allowance 和 --relative 要是正数"),
                             QStringLiteral("--allowance and --relative must be positive"));

    long long refused = 0;
    const std::optional<QString> input = readAllLines(io.in, cl.encoding(), io.err, refused);
    if (!input) return cl.finish(kExitFailure);
    const TraverseRun run = runTraverse(*input, options);
    writeNotices(io.err, run.notices);
    if (!run.failed) writeText(io.out, run.output);
    const bool sketchFailed = !run.failed && cl.isSet(QStringLiteral("svg")) &&
                              !writeSketchSvg(cl.value(QStringLiteral("svg")), run.sketch, io.err);
    return cl.finish(run.failed || sketchFailed || refused > 0 ? kExitFailure : kExitSuccess);
}

}  // namespace hc::cli
