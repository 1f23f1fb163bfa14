#include "cli/area_command.h"

#include "cli/point_list_input.h"
#include "cli/sketch_output.h"
#include "engine/calc_log.h"
#include "survey/gk_options.h"
#include "survey/parcel_area.h"

namespace hc::cli {
namespace {

QString usageText() {
    return QStringLiteral(
        "用法: hechuan-cli area [--geographic] [--ellipsoid BJ|XA|WGS|2000] [--zone 6|3|1.5]\n"
        "       [--meridian 经度] [--decimals N] < 点表\n"
        "  从标准输入读取点表（每行：点号，X，Y，H，用逗号分隔），每个地块的顶点按顺序\n"
        "  排列；空行或只有地块名的一行开始下一个地块（地块名即该行的文字）。写出“计算\n"
        "  面积”窗口输出框的内容：每个地块一行（点数、周长、平面面积的平方米、公顷和亩、\n"
        "  方向），最后一行合计。平面面积由输入的坐标按鞋带公式精确计算，1 亩 = 10000/15\n"
        "  平方米。\n"
        "  公里网坐标（默认）：X 为北坐标、Y 为带号加 500000 米的东坐标；另给出同一地块在\n"
        "  椭球面上的面积（顶点反算成经纬度，边为大地线）以及与平面面积之差（平方米和\n"
        "  ppm）。\n"
        "  --zone 分带：6、3 或 1.5 度带；不给时由带号判断（13-23 为 6 度带，24-45 为 3\n"
        "  度带）。--meridian 中央子午线经度（如 117、117°15′、117度-6），此时东坐标不带\n"
        "  带号。\n"
        "  --geographic 坐标数据为经纬度：X 为纬度、Y 为经度（度.分秒 格式），给出椭球面\n"
        "  上的面积和周长。\n"
        "  --ellipsoid 椭球：BJ 北京54（默认）、XA 西安80、WGS WGS-84、2000 CGCS2000。\n"
        "  --decimals 面积（平方米）的小数位数，0 到 8，默认 3；公顷和亩多 4 位。\n"
        "  窗口的提示框写到标准错误，每条一行。\n"
        "  退出码：0 成功，1 没有可计算的地块或输出失败，2 选项错误。\n"
        "  --svg 文件 另把点的平面草图（北向上、东向右）写成 SVG 文件。\n"
        "Usage: hechuan-cli area [--geographic] [--ellipsoid BJ|XA|WGS|2000] [--zone 6|3|1.5]\n"
        "       [--meridian LONGITUDE] [--decimals N] < point list\n"
        "  Reads a point list from standard input (lines of name, X, Y, H split by commas),\n"
        "  the vertices of each parcel in order; a blank line or a line holding only a\n"
        "  parcel name starts the next parcel. Writes what the area window's output box\n"
        "  shows: one row per parcel (vertex count, perimeter, plane area in m², hectares\n"
        "  and mu, orientation) and a total row. The plane area is the exact shoelace sum of\n"
        "  the typed coordinates; 1 mu = 10000/15 m².\n"
        "  Grid input (the default): X northing, Y easting with the zone number and the\n"
        "  500000 m false easting; the ellipsoidal area of the same parcel (vertices taken\n"
        "  back to latitude and longitude, geodesic edges) and its difference from the plane\n"
        "  area (m² and ppm) follow. --zone: 6, 3 or 1.5 degree zones; without it the zone\n"
        "  number decides (13-23 six-degree, 24-45 three-degree zones). --meridian: a\n"
        "  central meridian (117, 117°15', 117度-6); the eastings then carry no zone number.\n"
        "  --geographic: X is the latitude and Y the longitude (packed degrees d.mmss);\n"
        "  the ellipsoidal area and perimeter are given.\n"
        "  --ellipsoid: BJ Beijing 1954 (default), XA Xi'an 1980, WGS WGS-84, 2000 CGCS2000.\n"
        "  --decimals: places of the area in m², 0 to 8, default 3; hectares and mu get 4\n"
        "  more. The window's message boxes go to standard error, one line each.\n"
        "  Exit status: 0 success, 1 no parcel could be computed or the output failed,\n"
        "  2 bad options. -h, --help shows this help.\n"
        "  --svg FILE also writes the plan sketch of the points (north up, east right) as SVG.\n");
}

}  // namespace

int runArea(const QStringList& args, const Streams& io) {
    CommandLine cl(usageText(), io);
    cl.addFlag(QStringLiteral("geographic"));
    cl.addOption(QStringLiteral("ellipsoid"));
    cl.addOption(QStringLiteral("zone"));
    cl.addOption(QStringLiteral("meridian"));
    cl.addOption(QStringLiteral("decimals"));
    cl.addOption(QStringLiteral("svg"));
    cl.addEncodingOption();
    if (const auto done = cl.parse(args)) return *done;

    AreaOptions options;
    options.geographic = cl.isSet(QStringLiteral("geographic"));
    if (cl.isSet(QStringLiteral("ellipsoid"))) {
        const std::optional<Datum> datum = datumOfCode(cl.value(QStringLiteral("ellipsoid")));
        if (!datum)
            return cl.usageError(QStringLiteral("--ellipsoid 只能是 BJ、XA、WGS 或 2000"),
                                 QStringLiteral("--ellipsoid must be BJ, XA, WGS or 2000"));
        options.datum = *datum;
    }
    if (cl.isSet(QStringLiteral("zone"))) {
        options.zone = zoneWidthOfCode(cl.value(QStringLiteral("zone")));
        if (!options.zone)
            return cl.usageError(QStringLiteral("--zone 只能是 6、3 或 1.5"),
                                 QStringLiteral("--zone must be 6, 3 or 1.5"));
    }
    if (cl.isSet(QStringLiteral("meridian"))) {
        const std::optional<MeridianOption> m =
            meridianOption(cl.value(QStringLiteral("meridian")));
        if (!m)
            return cl.usageError(QStringLiteral("--meridian 不是有效的中央子午线经度"),
                                 QStringLiteral("--meridian is not a valid central meridian"));
        options.meridian = m->degrees;
    }
    if (options.geographic && (options.zone || options.meridian))
        return cl.usageError(QStringLiteral("--zone 和 --meridian 只用于公里网坐标"),
                             QStringLiteral("--zone and --meridian go with grid input only"));
    if (options.zone && options.meridian)
        return cl.usageError(QStringLiteral("--zone 和 --meridian 只能给一个"),
                             QStringLiteral("give --zone or --meridian, not both"));
    if (cl.isSet(QStringLiteral("decimals"))) {
        bool ok = false;
        const int d = cl.value(QStringLiteral("decimals")).toInt(&ok);
        if (!ok || d < 0 || d > kMaxAreaDecimals)
            return cl.usageError(QStringLiteral("--decimals 应为 0 到 8 的整数"),
                                 QStringLiteral("--decimals must be an integer from 0 to 8"));
        options.decimals = d;
    }

    if (cl.isSet(QStringLiteral("svg")) && options.geographic)
        return cl.usageError(QStringLiteral("--svg 只用于公里网坐标"),
                             QStringLiteral("--svg goes with grid coordinates only"));
    PointListInput input(io.in, cl.encoding(), io.err);
    if (!input.error().isEmpty()) {
        writeText(io.err, input.error() + u'\n');
        return kExitFailure;
    }
    QString out;
    Notices notices;
    bool ok = false;
    {
        ScopedCalcLog scope;
        ok = parcelAreaRows(input.walker(PointListMode::Grid), options, out, notices);
        notices = scope.log().notices + notices;
    }
    writeNotices(io.err, notices);
    writeText(io.out, out);
    if (cl.isSet(QStringLiteral("svg")) && !writeSketchSvg(cl.value(QStringLiteral("svg")), input,
                                                           SketchKind::Parcels, QString(), io.err))
        ok = false;
    return cl.finish(ok ? kExitSuccess : kExitFailure);
}

}  // namespace hc::cli
