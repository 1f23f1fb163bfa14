#include "cli/gk_command.h"

#include <QThread>
#include <cmath>
#include <new>
#include <optional>

#include "cli/sketch_output.h"
#include "engine/number_reader.h"
#include "survey/coord_conversion.h"
#include "survey/coord_text.h"
#include "survey/coord_window_ops.h"
#include "survey/gk_batch.h"
#include "survey/zones.h"

namespace hc::cli {
namespace {

QString usageText() {
    return QStringLiteral(
        "用法: hechuan-cli gk --from jw|1.5|3|6 --to jw|1.5|3|6 [--ellipsoid BJ|XA|WGS|2000]\n"
        "        [--meridian 117] [--separator ,] [--order xyz|yxz] [--no-names]\n"
        "        [--k0 1] [--false-easting 500000] [--false-northing 0] [--height 0] [--extra]\n"
        "        [--jobs N] [--svg FILE]\n"
        "  从标准输入读取坐标数据文本（每行：序号、两个坐标、高程，用分隔符隔开），\n"
        "  把坐标换算结果写到标准输出。jw 为经纬度（度.分秒），1.5、3、6 为分带公里网坐标。\n"
        "  换算：经纬度与各分带互换，以及 1.5->3、3->6、3->1.5、6->3。\n"
        "  --meridian L      中央子午线：1.5 的倍数按度数读（117、112.5、117度-6），照常分带，\n"
        "                    东坐标前加带号；其他数值按度.分秒读（117.15 即 117°15′），也可写作\n"
        "                    117°15′30″ 或 117度15分30秒。不是 1.5 的倍数时为任意带：所有点都在\n"
        "                    该子午线上计算，东坐标前不加带号（即假东 + y′），\n"
        "                    反算也按该子午线；离子午线超过 6 度的点拒绝换算。\n"
        "  --k0 K            中央子午线上的比例因子（默认 1；UTM 为 0.9996）。\n"
        "  --false-easting M 东坐标加常数，米（默认 500000）；加带号时须在 0 至 999999 之间。\n"
        "  --false-northing M 北坐标加常数，米（默认 0；南半球 UTM 为 10000000）。\n"
        "  --height H        投影面高出椭球面 H 米（抵偿投影面）：坐标以中央子午线和假原点为中心\n"
        "                    按 (R+H)/R 缩放，R=√(M·N) 为该点的平均曲率半径；反算时除回。\n"
        "  --extra           每行在坐标和高程之后加两列：子午线收敛角 γ（度.分秒）和\n"
        "                    点的长度比 k；换算为经纬度时为输入坐标所在网格的 γ 和 k，\n"
        "                    被拒绝的点为 0。\n"
        "  以上选项同时用于输入和输出的公里网。离所用中央子午线超过 6 度的点，以及东坐标减去\n"
        "  带号后不在 0 至 999999 米之间（带号会读错）的点拒绝换算。\n"
        "  备注与“没有发现坐标数据！”写到标准错误；像数据（有分隔符和数字）却读不出的行写成\n"
        "  “第 N 行未能读取: 原因”；最后一行为合计：“合计：读取 R 行，换算 C 行，拒绝 J 行，\n"
        "  跳过 S 行”——读取为输出的行数，换算为换算成功的行数，拒绝为超出范围而输出 0 并附\n"
        "  错误备注的行数，跳过为未能读取的行数（超过 1 MiB 的行也不读取，计入跳过）。\n"
        "  全角数字０-９、“－”和“；”按半角读。\n"
        "  分或秒达到 60 的经纬度（按 60 计算）和不是数字的高程（按 0 计算）各写一行说明，\n"
        "  如“第 N 行（点名）第一个坐标 39.7 的分或秒达到 60，按 40°00′00″ 计算”。\n"
        "  --jobs N          用 N 个线程换算（默认为处理器核数）；输出与单线程相同。\n"
        "  --svg 文件        另把公里网一侧（换算为经纬度时为输入，否则为输出）的点写成\n"
        "                    平面草图（北向上、东向右，同一比例尺）的 SVG 文件。\n"
        "  退出码：0 成功，1 没有数据、有不能解码的行或输出失败，2 选项错误。\n"
        "Usage: hechuan-cli gk --from jw|1.5|3|6 --to jw|1.5|3|6 [--ellipsoid BJ|XA|WGS|2000]\n"
        "        [--meridian 117] [--separator ,] [--order xyz|yxz] [--no-names]\n"
        "        [--k0 1] [--false-easting 500000] [--false-northing 0] [--height 0] [--extra]\n"
        "        [--jobs N] [--svg FILE]\n"
        "  Reads a coordinate data text (lines of name, two coordinates and height, split by\n"
        "  the separator) from standard input and writes the converted block to standard\n"
        "  output. jw is latitude/longitude (packed d.mmss), 1.5, 3 and 6 are zone grids.\n"
        "  Conversions: geographic to and from each zone, and 1.5->3, 3->6, 3->1.5, 6->3.\n"
        "  --meridian L      central meridian: a multiple of 1.5 is read in degrees (117, 112.5,\n"
        "                    117度-6) and the zones work as usual, the easting carrying the zone\n"
        "                    number; any other value is read as packed d.mmss (117.15 is\n"
        "                    117°15'), or write 117°15'30\". A meridian that is not a multiple\n"
        "                    of 1.5 makes a local grid: every point is computed on it, the\n"
        "                    easting has no zone number (false easting + y'), the inverse uses\n"
        "                    it too, points more than 6 degrees from it are rejected.\n"
        "  --k0 K            scale on the central meridian (default 1; 0.9996 for UTM).\n"
        "  --false-easting M metres added to the easting (default 500000); with zone numbers\n"
        "                    it must lie within 0 ... 999999.\n"
        "  --false-northing M metres added to the northing (default 0; 10000000 for southern\n"
        "                    UTM).\n"
        "  --height H        projection surface H metres above the ellipsoid: the grid is\n"
        "                    scaled by (R+H)/R about the central meridian and the false origin,\n"
        "                    R = sqrt(M*N) the mean radius of curvature at the point; the\n"
        "                    inverse divides back.\n"
        "  --extra           two more columns after the coordinates and height: the grid\n"
        "                    convergence gamma (packed d.mmss) and the point scale factor k; for\n"
        "                    output in latitude/longitude those of the input grid; 0 for\n"
        "                    rejected points.\n"
        "  These options apply to the grids on both sides of a conversion. Points more than 6\n"
        "  degrees from the central meridian used, and points whose easting less the zone\n"
        "  number would leave 0 ... 999999 m (the zone would read wrong), are rejected.\n"
        "  Remarks and the no-data message go to standard error; a line that looks like data\n"
        "  (a separator and digits) but gives no row is reported as \"第 N 行未能读取: reason\"\n"
        "  (line N could not be read); the last line counts the rows: \"合计：读取 R 行，换算 C\n"
        "  行，拒绝 J 行，跳过 S 行\" (read = rows written, converted, rejected = out of range\n"
        "  and written as 0 with an error remark, skipped = lines that could not be read,\n"
        "  among them lines longer than 1 MiB, which are never cut).\n"
        "  Full-width digits, minus and semicolon are read as their ASCII forms.\n"
        "  A latitude or longitude whose minutes or seconds are 60 or more (taken as 60) and\n"
        "  a height that is not a number (taken as 0) get a line each, naming the line and\n"
        "  the point.\n"
        "  --jobs N          convert on N threads (default: the processor cores); the output\n"
        "                    is that of one thread.\n"
        "  --svg FILE        also writes the points of the grid side (the input when the\n"
        "                    output is latitude/longitude, else the output) as a plan sketch\n"
        "                    (north up, east right, one scale) in SVG.\n"
        "  Exit status: 0 success, 1 no data, an undecodable line or the output failed,\n"
        "  2 bad options.\n"
        "  -h, --help shows this help.\n");
}

// A form of coordinates: "jw" (any letter case) is latitude and longitude (nothing),
// "6", "3" and "1.5" the zones. False for any other text.
bool formOf(const QString& code, std::optional<ZoneWidth>& form) {
    form = zoneWidthOfCode(code);
    return form || code.compare(QLatin1String("jw"), Qt::CaseInsensitive) == 0;
}

// A number option: the whole text is a finite number (locale-independent).
std::optional<double> numberOption(const QString& text) {
    double v = 0;
    if (text.trimmed().isEmpty() || !textToDouble(text.trimmed(), v) || !std::isfinite(v))
        return std::nullopt;
    return v;
}

QString sketchSpoolFailureText() {
    return QStringLiteral("无法把坐标暂存到临时文件，没有换算，也没有写出草图。\n");
}

// Copies `from`, from where it stands to its end, to `to`; false when reading or writing
// failed.
bool copyFile(std::FILE* from, std::FILE* to) {
    char buffer[1 << 16];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, from)) > 0)
        if (std::fwrite(buffer, 1, n, to) != n) return false;
    return !std::ferror(from) && std::fflush(to) == 0;
}

// Hands every grid point of the UTF-8 coordinate text in `file` to `visit`, read as
// the conversion reads it.
void gridRows(std::FILE* file, const QString& separator, AxisOrder order,
              const PointRowVisitor& visit) {
    std::rewind(file);
    LineReader lines(file, InputEncoding::Utf8);
    CoordLineReader reader(separator);
    QString line;
    SketchPoint point;
    while (lines.next(line)) {
        halfWidthInPlace(line);
        if (!gridPointOf(line, reader, order, point)) continue;
        PointRow row;
        row.name = point.name;
        row.x = Num::ofDouble(point.north);
        row.y = Num::ofDouble(point.east);
        visit(row);
    }
}

QString countLine(const GkBatchResult& r) {
    return QStringLiteral("合计：读取 %1 行，换算 %2 行，拒绝 %3 行，跳过 %4 行\n")
        .arg(r.rows)
        .arg(r.rows - r.rejected)
        .arg(r.rejected)
        .arg(r.skipped);
}

}  // namespace

int runGk(const QStringList& args, const Streams& io) {
    CommandLine cl(usageText(), io);
    for (const char* name : {"from", "to", "ellipsoid", "meridian", "separator", "order", "k0",
                             "false-easting", "false-northing", "height", "jobs", "svg"})
        cl.addOption(QString::fromLatin1(name));
    cl.addFlag(QStringLiteral("no-names"));
    cl.addFlag(QStringLiteral("extra"));
    cl.addEncodingOption();
    if (const auto done = cl.parse(args)) return *done;

    const QString from = cl.value(QStringLiteral("from"));
    const QString to = cl.value(QStringLiteral("to"));
    const QString ellipsoid = cl.value(QStringLiteral("ellipsoid"), QStringLiteral("BJ"));
    const QString meridian = cl.value(QStringLiteral("meridian"), QStringLiteral("117"));
    const QString separator = cl.value(QStringLiteral("separator"), QStringLiteral(","));
    const QString order = cl.value(QStringLiteral("order"), QStringLiteral("xyz"));

    if (from.isEmpty() || to.isEmpty()) {
        return cl.usageError(QStringLiteral("必须给出 --from 和 --to"),
                             QStringLiteral("--from and --to are required"));
    }
    std::optional<ZoneWidth> fromForm;
    std::optional<ZoneWidth> toForm;
    std::optional<GkConversion> op;
    if (formOf(from, fromForm) && formOf(to, toForm)) op = conversionBetween(fromForm, toForm);
    if (!op) {
        return cl.usageError(
            QStringLiteral("不支持的换算 ") + from + QStringLiteral(" -> ") + to,
            QStringLiteral("unsupported conversion ") + from + QStringLiteral(" -> ") + to);
    }

    GkSettings settings;
    settings.withNames = !cl.isSet(QStringLiteral("no-names"));
    const std::optional<Datum> datum = datumOfCode(ellipsoid);
    if (!datum) {
        return cl.usageError(QStringLiteral("椭球参数只能是 BJ、XA、WGS 或 2000"),
                             QStringLiteral("--ellipsoid must be BJ, XA, WGS or 2000"));
    }
    settings.datum = *datum;
    settings.datumText = datumControlText(*datum);
    const std::optional<AxisOrder> axes = axisOrderOfCode(order);
    if (!axes) {
        return cl.usageError(QStringLiteral("--order 只能是 xyz 或 yxz"),
                             QStringLiteral("--order must be xyz or yxz"));
    }
    settings.order = *axes;
    if (separator.compare(QLatin1String("tab"), Qt::CaseInsensitive) != 0 &&
        !separatorChoices().contains(separator)) {
        return cl.usageError(
            QStringLiteral("分隔符只能是列表中的一个字符或 Tab: ") + separator,
            QStringLiteral("the separator must be one of , * / % $ # @ & ! ? ; : \" ' "
                           "( ) < > [ ] { } | _ \\ Tab or a space: ") +
                separator);
    }
    settings.separator = separatorOf(separator);
    const std::optional<MeridianOption> m = meridianOption(meridian);
    if (!m) {
        return cl.usageError(
            QStringLiteral("中央子午线应在正负180度之间：1.5 的倍数按度数写，其他按度.分秒写"
                           "（117.15 即 117°15′），分和秒都小于 60: ") +
                meridian,
            QStringLiteral("the central meridian must lie within -180 ... 180 degrees: a "
                           "multiple of 1.5 in degrees, any other in packed d.mmss (117.15 is "
                           "117 degrees 15 minutes), minutes and seconds below 60: ") +
                meridian);
    }
    settings.meridian = m->degrees;
    GkGridOptions& options = settings.options;
    options.localMeridian = m->local;
    options.extra = cl.isSet(QStringLiteral("extra"));
    struct NumberOption {
        const char* name;
        double* target;
    };
    const NumberOption numbers[] = {{"k0", &options.grid.k0},
                                    {"false-easting", &options.grid.falseEasting},
                                    {"false-northing", &options.grid.falseNorthing},
                                    {"height", &options.height}};
    for (const NumberOption& n : numbers) {
        const QString name = QString::fromLatin1(n.name);
        if (!cl.isSet(name)) continue;
        const std::optional<double> v = numberOption(cl.value(name));
        if (!v) {
            return cl.usageError(
                QStringLiteral("--") + name + QStringLiteral(" 须是一个数: ") + cl.value(name),
                QStringLiteral("--") + name + QStringLiteral(" must be a number: ") +
                    cl.value(name));
        }
        *n.target = *v;
    }
    if (!(options.grid.k0 > 0 && options.grid.k0 <= 10)) {
        return cl.usageError(QStringLiteral("--k0 须大于 0，不大于 10"),
                             QStringLiteral("--k0 must lie within 0 (excluded) ... 10"));
    }
    if (!options.localMeridian &&
        !(options.grid.falseEasting >= 0 && options.grid.falseEasting < 1000000)) {
        return cl.usageError(
            QStringLiteral("东坐标前加带号时 --false-easting 须在 0 至 999999 之间"),
            QStringLiteral("with zone numbers in the easting --false-easting must lie within "
                           "0 ... 999999"));
    }
    if (!(std::fabs(options.height) <= 100000)) {
        return cl.usageError(QStringLiteral("--height 须在正负 100000 米之间"),
                             QStringLiteral("--height must lie within -100000 ... 100000 m"));
    }

    const QString jobsText = cl.value(QStringLiteral("jobs"));
    bool jobsRead = true;
    const int jobs = jobsText.isEmpty() ? QThread::idealThreadCount() : jobsText.toInt(&jobsRead);
    if (!jobsRead || jobs < 1 || jobs > 256) {
        return cl.usageError(
            QStringLiteral("--jobs 须是 1 至 256 的整数: ") + jobsText,
            QStringLiteral("--jobs must be a whole number 1 ... 256: ") + jobsText);
    }

    long long undecodable = 0;
    std::FILE* in = openUtf8Input(io.in, cl.encoding(), io.err, &undecodable);
    if (!in) throw std::bad_alloc();
    // The grid side of the conversion is kept in a file for the sketch: the output goes
    // there first and is copied on, or the input is copied there and converted from it.
    const bool sketch = cl.isSet(QStringLiteral("svg"));
    const bool gridOutput = outputZone(*op).has_value();
    std::FILE* spool = sketch ? std::tmpfile() : nullptr;
    const auto spoolInput = [&] {
        if (!copyFile(in, spool)) return false;
        std::rewind(spool);
        return true;
    };
    if (sketch && (!spool || (!gridOutput && !spoolInput()))) {
        std::fclose(in);
        if (spool) std::fclose(spool);
        writeText(io.err, sketchSpoolFailureText());
        return cl.finish(kExitFailure);
    }
    GkBatchResult r = convertBatch(*op, settings, spool && !gridOutput ? spool : in,
                                   spool && gridOutput ? spool : io.out, 4096, io.err, jobs);
    std::fclose(in);
    bool failed = false;
    if (spool && gridOutput) {
        std::rewind(spool);
        failed = !copyFile(spool, io.out);
    }
    if (spool && r.rows > 0 && !failed) {
        const PointRowWalk walk = [&](const PointRowVisitor& visit) {
            gridRows(spool, settings.separator, settings.order, visit);
        };
        failed = !writeSketchSvg(cl.value(QStringLiteral("svg")), walk, SketchKind::Points,
                                 QString(), io.err);
    }
    if (spool) std::fclose(spool);
    // Each such line was reported and reached the batch as a line of no data.
    r.skipped += undecodable;
    const int status = undecodable > 0 || failed ? kExitFailure : kExitSuccess;
    if (r.rows == 0) {
        writeText(io.err, noCoordinateDataText() + QStringLiteral("\n") + countLine(r));
        return cl.finish(kExitFailure);
    }
    if (!r.remarks.isEmpty()) {
        QString remarks = r.remarks;
        remarks.replace(QLatin1String("\r\n\r\n"), QLatin1String("\n"));
        writeText(io.err, remarks.mid(1) + QStringLiteral("\n"));
    }
    writeText(io.err, countLine(r));
    return cl.finish(status);
}

}  // namespace hc::cli
