#include "cli/bearing_command.h"

#include <stdio.h>

#include <QByteArray>
#include <array>

#include "cli/point_list_input.h"
#include "cli/sketch_output.h"
#include "survey/aligned_columns.h"
#include "survey/distance_bearing.h"

namespace hc::cli {
namespace {

QString usageText() {
    return QStringLiteral(
        "用法: hechuan-cli bearing [--origin 点号] [--geographic [--ellipsoid BJ|XA|WGS|2000]]\n"
        "       < 点表\n"
        "  从标准输入读取点表（每行：点号，X，Y，H，用逗号分隔），以点号为 --origin 的点\n"
        "  为原点（默认 0，即坐标原点），计算每个点的平距、水平角、斜距和仰俯角，写出\n"
        "  “距离方位”窗口输出框的内容：序号 ,平距(米) ,水平角(度) ,斜距(米) ,仰俯角(度)。\n"
        "  角度为 度.分秒 格式；水平角从真北（X）顺时针量起，仰俯角从水平面量起。\n"
        "  --geographic 坐标数据为经纬度：行中没有点号，点以行号命名；X 为纬度、Y 为经度\n"
        "  （度.分秒 格式），平距和水平角为椭球面上大地线的长度和方位角，斜距和仰俯角\n"
        "  由平距和高差算出。\n"
        "  --ellipsoid 大地线所在的椭球：BJ 北京54（默认）、XA 西安80、WGS WGS-84、\n"
        "  2000 CGCS2000。\n"
        "  窗口的提示框写到标准错误，每条一行。\n"
        "  退出码：0 成功，1 计算失败或输出失败，2 选项错误。\n"
        "  --svg 文件 另把点的平面草图（北向上、东向右）写成 SVG 文件。\n"
        "Usage: hechuan-cli bearing [--origin NAME] [--geographic [--ellipsoid BJ|XA|WGS|2000]]\n"
        "       < point list\n"
        "  Reads a point list from standard input (lines of name, X, Y, H split by commas)\n"
        "  and, from the point named by --origin (default 0: the origin of the axes),\n"
        "  computes every point's horizontal distance, azimuth, slope distance and\n"
        "  vertical angle, writing what the distance-and-bearing window's output box shows.\n"
        "  Angles are packed degrees.minutes-seconds; azimuths from north (X) through east\n"
        "  (Y), vertical angles from the horizontal. --geographic: the lines have no name,\n"
        "  points are named by their line number, X is the latitude and Y the longitude\n"
        "  (packed degrees); distance and azimuth are those of the geodesic on the\n"
        "  ellipsoid of --ellipsoid (BJ Beijing 1954, the default, XA Xi'an 1980, WGS\n"
        "  WGS-84, 2000 CGCS2000), slope distance and vertical angle follow from the\n"
        "  height difference. The window's message boxes go to\n"
        "  standard error, one line each. Exit status: 0 success, 1 the calculation or the\n"
        "  output failed, 2 bad options. -h, --help shows this help.\n"
        "  --svg FILE also writes the plan sketch of the points (north up, east right) as SVG.\n");
}

}  // namespace

namespace {

// Result rows kept in a temporary file until the column widths are known: the five
// texts of a row (ASCII, never holding these two bytes) split by kField, each row
// ended by kRow.
constexpr char kField = '\x7f';
constexpr char kRow = '\x7e';

struct ResultSpool {
    std::FILE* file = std::tmpfile();
    std::array<qsizetype, AlignedColumns::kColumns> widths{};
    QByteArray record;

    ~ResultSpool() {
        if (file) std::fclose(file);
    }
    void add(const BearingTexts& texts) {
        record.clear();
        for (size_t i = 0; i < texts.size(); ++i) {
            widths[i] = std::max(widths[i], texts[i].size());
            record += texts[i].toLatin1();
            record += i + 1 < texts.size() ? kField : kRow;
        }
        if (std::fwrite(record.constData(), 1, record.size(), file) != size_t(record.size()))
            throw std::runtime_error("result spool");
    }
    // Writes the rows laid out; false when the output failed.
    bool writeTo(std::FILE* out) {
        if (std::fflush(file) != 0) return false;
        std::rewind(file);
        char* line = nullptr;
        std::size_t capacity = 0;
        QString text;
        ssize_t n = 0;
        bool ok = true;
        while (ok && (n = getdelim(&line, &capacity, kRow, file)) > 0) {
            const QString row = QString::fromLatin1(line, n - 1);
            std::array<QStringView, AlignedColumns::kColumns> cells;
            qsizetype start = 0;
            for (size_t i = 0; i < cells.size(); ++i) {
                qsizetype end =
                    i + 1 < cells.size() ? row.indexOf(QChar(kField), start) : row.size();
                cells[i] = QStringView(row).sliced(start, end - start);
                start = end + 1;
            }
            AlignedColumns::appendRow(text, cells, widths, {true, true, true, true, true});
            if (text.size() >= (1 << 16)) {
                writeText(out, text);
                text.clear();
                ok = !std::ferror(out);
            }
        }
        std::free(line);
        if (ok) writeText(out, text);
        return ok && !std::ferror(out);
    }
};

}  // namespace

int runBearing(const QStringList& args, const Streams& io) {
    CommandLine cl(usageText(), io);
    cl.addOption(QStringLiteral("origin"));
    cl.addFlag(QStringLiteral("geographic"));
    cl.addOption(QStringLiteral("ellipsoid"));
    cl.addOption(QStringLiteral("svg"));
    cl.addEncodingOption();
    if (const auto done = cl.parse(args)) return *done;

    BearingOptions options;
    options.mode =
        cl.isSet(QStringLiteral("geographic")) ? PointListMode::Geographic : PointListMode::Grid;
    if (cl.isSet(QStringLiteral("svg")) && options.mode == PointListMode::Geographic)
        return cl.usageError(QStringLiteral("--svg 只用于公里网坐标"),
                             QStringLiteral("--svg goes with grid coordinates only"));
    if (cl.isSet(QStringLiteral("ellipsoid"))) {
        const std::optional<Datum> datum = datumOfCode(cl.value(QStringLiteral("ellipsoid")));
        if (!datum)
            return cl.usageError(QStringLiteral("--ellipsoid 只能是 BJ、XA、WGS 或 2000"),
                                 QStringLiteral("--ellipsoid must be BJ, XA, WGS or 2000"));
        if (options.mode != PointListMode::Geographic)
            return cl.usageError(QStringLiteral("--ellipsoid 只用于 --geographic"),
                                 QStringLiteral("--ellipsoid goes with --geographic only"));
        options.datum = *datum;
    }

    PointListInput input(io.in, cl.encoding(), io.err);
    ResultSpool results;
    if (!input.error().isEmpty() || !results.file) {
        writeText(io.err, (results.file ? input.error() : spoolFailureMessage()) + u'\n');
        return kExitFailure;
    }
    Notices computed;
    bool failed = false;
    try {
        bearingRows(
            input.walker(options.mode), cl.value(QStringLiteral("origin"), QStringLiteral("0")),
            options, [&](const BearingTexts& texts) { results.add(texts); }, computed);
    } catch (const std::bad_alloc&) {
        throw;  // told by the command runner
    } catch (...) {
        failed = true;
    }
    Notices notices = input.notices() + computed;
    if (failed) notices.append(Notice{bearingFailureMessage(), NoticeButtons::Ok, QString()});
    writeNotices(io.err, notices);
    if (failed) {
        writeText(io.out, QStringLiteral(" "));
    } else {
        results.writeTo(io.out);
    }
    if (cl.isSet(QStringLiteral("svg")) &&
        !writeSketchSvg(cl.value(QStringLiteral("svg")), input, SketchKind::Points,
                        cl.value(QStringLiteral("origin")), io.err))
        failed = true;
    return cl.finish(failed ? kExitFailure : kExitSuccess);
}

}  // namespace hc::cli
