#include "cli/datum_command.h"

#include <QThread>
#include <cstdio>
#include <vector>

#include "cli/sketch_output.h"
#include "survey/datum_ops.h"

namespace hc::cli {
namespace {

// Common points read at most; the rest is reported and left unread.
constexpr long long kFitLineLimit = 100000;
// Lines of a point list converted at a time: the list streams through in pieces.
constexpr int kChunkLines = 1 << 16;

QString usageText() {
    return QStringLiteral(
        "用法: hechuan-cli datum --fit [--model 7|7cf|3|4] [--height none|plane|quad]\n"
        "                         --from 椭球:形式 --to 椭球:形式 < 公共点\n"
        "       hechuan-cli datum --params \"参数行\" --from 椭球:形式 --to 椭球:形式\n"
        "                         [--inverse] [--meridian 度] [--jobs N] < 点表\n"
        "  GPS 坐标转换：WGS-84、CGCS2000 与北京54、西安80 之间的坐标系换算。\n"
        "  椭球:形式  椭球为 BJ（北京54）、XA（西安80）、WGS（WGS-84）、2000（CGCS2000），\n"
        "             形式为 jw（经纬度，度.分秒）、1.5、3、6（该分带的公里网坐标，米）。\n"
        "             例：--from WGS:jw --to BJ:3。\n"
        "  点表每行一个点：点号，X，Y，H（逗号分隔）；经纬度时 X 为纬度、Y 为经度。\n"
        "  --fit      由公共点求转换参数：标准输入先写原坐标系（--from）的点，再写一行\n"
        "             “====”，后面写目标坐标系（--to）的点；按点号配对。输出参数、参数行、\n"
        "             单位权中误差和每个公共点的残差（北、东、高，米），残差超过三倍中误差\n"
        "             的点标 *。\n"
        "  --model    7   七参数（布尔莎），位置矢量法（默认）；\n"
        "             7cf 七参数，坐标框架法（旋转角与位置矢量法符号相反）；\n"
        "             3   三参数（只有平移）；\n"
        "             4   四参数平面相似变换（两边都应是公里网坐标，按带内坐标计算）。\n"
        "  --height   四参数时对高程异常（目标高程减原高程）做平面（plane，至少 3 点）\n"
        "             或二次曲面（quad，至少 6 点）拟合；默认不拟合，高程不变。\n"
        "  --params   用参数行（--fit 输出的“参数行：”之后的内容）转换标准输入的点表。\n"
        "  --inverse  点表在参数的目标坐标系中，做反变换（逆变换，不是参数取反）。\n"
        "  --meridian 输出公里网的中央子午线经度（度）；默认用输入点所在带的中央子午线。\n"
        "  --jobs N   用 N 个线程转换（默认为处理器核数）；输出与单线程相同。\n"
        "  --svg 文件 与 --fit 同用：另把公共点和放大的残差向量（北向上、东向右）\n"
        "             写成 SVG 草图。\n"
        "  输出：公里网坐标 4 位小数，经纬度为 度.分秒，秒 6 位小数，高程 4 位小数。\n"
        "  窗口的提示框写到标准错误。退出码：0 成功，1 无法计算或输出失败，2 选项错误。\n"
        "Usage: hechuan-cli datum --fit [--model 7|7cf|3|4] [--height none|plane|quad]\n"
        "                         --from DATUM:FORM --to DATUM:FORM < common points\n"
        "       hechuan-cli datum --params \"LINE\" --from DATUM:FORM --to DATUM:FORM\n"
        "                         [--inverse] [--meridian DEG] [--jobs N] < point list\n"
        "  GPS coordinate conversion between WGS 84, CGCS2000, Beijing 1954 and Xi'an 1980.\n"
        "  DATUM is BJ, XA, WGS or 2000; FORM is jw (latitude/longitude, packed degrees\n"
        "  d.mmss) or 1.5, 3, 6 (grid of that zone width, metres); e.g. --from WGS:jw --to BJ:3.\n"
        "  Point lists: one point a line, name, X, Y, H split by commas; X is the latitude and\n"
        "  Y the longitude for jw.\n"
        "  --fit      fits the parameters to common points: standard input holds the points\n"
        "             of --from, a line \"====\", then the points of --to, paired by name.\n"
        "             Prints the parameters, the parameter line, the RMS and each common\n"
        "             point's residual (north, east, up, metres), marked * beyond 3 RMS.\n"
        "  --model    7 seven parameters (Bursa-Wolf), position vector rotations (default);\n"
        "             7cf seven parameters, coordinate frame rotations (opposite signs);\n"
        "             3 three shifts; 4 plane similarity (grids on both sides, on the\n"
        "             eastings within the zone).\n"
        "  --height   with 4: fit the height anomaly (target less source height) as a plane\n"
        "             (3 points or more) or a quadratic surface (6 or more); default none.\n"
        "  --params   applies a parameter line (as --fit prints after \"参数行：\").\n"
        "  --inverse  the points are in the system the parameters lead to: apply the inverse\n"
        "             transformation (not the negated parameters).\n"
        "  --meridian central meridian (degrees) of an output grid; default: the input\n"
        "             point's zone.\n"
        "  --jobs N   convert on N threads (default: the processor cores); same output.\n"
        "  --svg FILE with --fit: also writes the common points and their residual\n"
        "             vectors, exaggerated (north up, east right), as an SVG sketch.\n"
        "  Output: grids with 4 decimals, latitude/longitude as packed degrees with 6\n"
        "  decimals of the seconds, heights with 4 decimals. The window's message boxes go\n"
        "  to standard error. Exit status: 0 success, 1 nothing computed or the output\n"
        "  failed, 2 bad options. -h, --help shows this help.\n");
}

}  // namespace

int runDatum(const QStringList& args, const Streams& io) {
    CommandLine cl(usageText(), io);
    cl.addFlag(QStringLiteral("fit"));
    cl.addFlag(QStringLiteral("inverse"));
    for (const char* name : {"params", "model", "height", "from", "to", "meridian", "jobs", "svg"})
        cl.addOption(QString::fromLatin1(name));
    cl.addEncodingOption();
    if (const auto done = cl.parse(args)) return *done;

    const bool fit = cl.isSet(QStringLiteral("fit"));
    if (fit == cl.isSet(QStringLiteral("params")))
        return cl.usageError(QStringLiteral("应给出 --fit 或 --params 之一"),
                             QStringLiteral("give either --fit or --params"));
    const std::optional<CoordSystem> from = coordSystemOfCode(cl.value(QStringLiteral("from")));
    const std::optional<CoordSystem> to = coordSystemOfCode(cl.value(QStringLiteral("to")));
    if (!from || !to)
        return cl.usageError(
            QStringLiteral("--from 和 --to 应写成 椭球:形式，如 WGS:jw、BJ:3"),
            QStringLiteral("--from and --to take DATUM:FORM, such as WGS:jw or BJ:3"));
    CoordSystem target = *to;
    if (cl.isSet(QStringLiteral("meridian"))) {
        bool ok = false;
        const double m = cl.value(QStringLiteral("meridian")).toDouble(&ok);
        if (!ok || !(m >= 0 && m <= 180) || !target.zone)
            return cl.usageError(
                QStringLiteral("--meridian 应是 0 到 180 之间的经度，且只用于公里网输出"),
                QStringLiteral("--meridian takes a longitude 0 ... 180, for a grid "
                               "output only"));
        target.meridian = m;
    }
    int jobs = QThread::idealThreadCount();
    if (cl.isSet(QStringLiteral("jobs"))) {
        bool ok = false;
        jobs = cl.value(QStringLiteral("jobs")).toInt(&ok);
        if (!ok || jobs < 1 || jobs > 256)
            return cl.usageError(QStringLiteral("--jobs 应是 1 到 256 的整数"),
                                 QStringLiteral("--jobs takes a whole number 1 ... 256"));
    }

    if (fit) {
        DatumFitSettings settings;
        settings.from = *from;
        settings.to = target;
        const std::optional<DatumModel> model =
            modelOfCode(cl.value(QStringLiteral("model"), QStringLiteral("7")));
        if (!model)
            return cl.usageError(QStringLiteral("--model 只能是 7、7cf、3 或 4"),
                                 QStringLiteral("--model must be 7, 7cf, 3 or 4"));
        settings.model = *model;
        const QString height = cl.value(QStringLiteral("height"), QStringLiteral("none")).toLower();
        if (height == u"plane") {
            settings.height = HeightSurface::Plane;
        } else if (height == u"quad") {
            settings.height = HeightSurface::Quadratic;
        } else if (height != u"none") {
            return cl.usageError(QStringLiteral("--height 只能是 none、plane 或 quad"),
                                 QStringLiteral("--height must be none, plane or quad"));
        }
        if (settings.height != HeightSurface::None && *model != DatumModel::Four)
            return cl.usageError(QStringLiteral("--height 只用于 --model 4"),
                                 QStringLiteral("--height goes with --model 4 only"));
        // The whole input: the fit pairs the points by name.
        QString text;
        bool refused = false;
        {
            LineReader reader(io.in, cl.encoding(), io.err);
            QString line;
            LineReader::Read r;
            while ((r = reader.read(line)) != LineReader::Read::End) {
                refused = refused || r == LineReader::Read::Refused;
                if (reader.lineNumber() > kFitLineLimit) {
                    writeText(io.err, QStringLiteral("公共点只读入前 %1 行，其余没有读入。\n")
                                          .arg(kFitLineLimit));
                    break;
                }
                text += line;
                text += u'\n';
            }
        }
        QString source, targetText;
        if (!splitCommonPoints(text, source, targetText)) {
            writeText(io.err, QStringLiteral("公共点应先写原坐标系的点，再写一行 ====，后面写目标"
                                             "坐标系的点。\n"));
            return cl.finish(kExitFailure);
        }
        const DatumFitRun run = runDatumFit(source, targetText, settings);
        writeNotices(io.err, run.notices);
        writeText(io.out, run.output);
        const bool sketchFailed =
            run.ok && cl.isSet(QStringLiteral("svg")) &&
            !writeSketchSvg(cl.value(QStringLiteral("svg")), run.sketch, io.err);
        return cl.finish(run.ok && !refused && !sketchFailed ? kExitSuccess : kExitFailure);
    }

    if (cl.isSet(QStringLiteral("svg")))
        return cl.usageError(QStringLiteral("--svg 只用于 --fit"),
                             QStringLiteral("--svg goes with --fit only"));
    if (cl.isSet(QStringLiteral("model")) || cl.isSet(QStringLiteral("height")))
        return cl.usageError(QStringLiteral("--model 和 --height 只用于 --fit；参数行里已写明模型"),
                             QStringLiteral("--model and --height go with --fit; the parameter "
                                            "line names its model"));
    QString error;
    const std::optional<DatumParameters> params =
        parseParameters(cl.value(QStringLiteral("params")), &error);
    if (!params) {
        writeText(io.err, QStringLiteral("参数行有错误：") + error + u'\n');
        return cl.finish(kExitFailure);
    }
    if (params->model == DatumModel::Four && (!from->zone || !target.zone)) {
        writeText(io.err, QStringLiteral("四参数是公里网坐标之间的平面变换，两边都应选公里网"
                                         "（1.5、3 或 6 度带）坐标。\n"));
        return cl.finish(kExitFailure);
    }
    const DatumChain chain(*from, target, *params, cl.isSet(QStringLiteral("inverse")));

    // The list streams through in pieces, each converted on the threads at once.
    LineReader reader(io.in, cl.encoding(), io.err);
    QStringList problems;
    long long problemCount = 0, points = 0;
    bool refused = false, more = true, writeFailed = false;
    std::vector<DatumPoint> in, out;
    std::vector<PointFault> faults;
    while (more && !writeFailed) {
        QString chunk;
        const long long firstLine = reader.lineNumber() + 1;
        QString line;
        int n = 0;
        while (n < kChunkLines) {
            const LineReader::Read r = reader.read(line);
            if (r == LineReader::Read::End) {
                more = false;
                break;
            }
            refused = refused || r == LineReader::Read::Refused;
            chunk += line;
            chunk += u'\n';
            ++n;
        }
        const DatumPointsReading reading =
            readDatumPoints(chunk, !from->zone, kChunkLines, firstLine);
        problemCount += reading.problems.size();
        for (const QString& p : reading.problems)
            if (problems.size() < 20) problems << p;
        const std::size_t count = static_cast<std::size_t>(reading.points.size());
        in.resize(count);
        out.resize(count);
        faults.resize(count);
        for (std::size_t i = 0; i < count; ++i)
            in[i] = reading.points[static_cast<qsizetype>(i)].point;
        chain.applyMany(in.data(), out.data(), faults.data(), count, jobs);
        QString text;
        for (std::size_t i = 0; i < count; ++i)
            text += datumPointLine(reading.points[static_cast<qsizetype>(i)].name, out[i],
                                   faults[i], target) +
                    QStringLiteral("\r\n");
        points += static_cast<long long>(count);
        writeText(io.out, text);
        writeFailed = std::ferror(io.out) != 0;
    }
    if (problemCount)
        writeNotices(io.err, {Notice{unreadLinesText(problems, problemCount), NoticeButtons::Ok,
                                     QString()}});
    if (points == 0 && !writeFailed) writeText(io.err, QStringLiteral("没有发现坐标数据！\n"));
    return cl.finish(points > 0 && !refused ? kExitSuccess : kExitFailure);
}

}  // namespace hc::cli
