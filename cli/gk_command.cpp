#include "cli/gk_command.h"

#include "survey/coord_conversion.h"
#include "survey/gk_batch.h"
#include "survey/zones.h"

namespace hc::cli {
namespace {

QString usageText() {
    return QStringLiteral(
        "用法: hechuan-cli gk --from jw|1.5|3|6 --to jw|1.5|3|6 [--ellipsoid BJ|XA|WGS]\n"
        "        [--meridian 117] [--separator ,] [--order xyz|yxz] [--no-names]\n"
        "  从标准输入读取坐标数据文本（每行：序号、两个坐标、高程，用分隔符隔开），\n"
        "  把坐标换算结果写到标准输出。jw 为经纬度（度.分秒），1.5、3、6 为分带公里网坐标。\n"
        "  换算：经纬度与各分带互换，以及 1.5->3、3->6、3->1.5、6->3。\n"
        "  备注与“没有发现坐标数据！”写到标准错误。退出码：0 成功，1 没有数据或输出失败，2 "
        "选项错误。\n"
        "Usage: hechuan-cli gk --from jw|1.5|3|6 --to jw|1.5|3|6 [--ellipsoid BJ|XA|WGS]\n"
        "        [--meridian 117] [--separator ,] [--order xyz|yxz] [--no-names]\n"
        "  Reads a coordinate data text (lines of name, two coordinates and height, split by\n"
        "  the separator) from standard input and writes the converted block to standard\n"
        "  output. jw is latitude/longitude (packed d.mmss), 1.5, 3 and 6 are zone grids.\n"
        "  Conversions: geographic to and from each zone, and 1.5->3, 3->6, 3->1.5, 6->3.\n"
        "  Remarks and the no-data message go to standard error. Exit status: 0 success,\n"
        "  1 no data or the output failed, 2 bad options. -h, --help shows this help.\n");
}

// "jw" is 0, the zones 15, 3 and 6; -1 when unknown.
int zoneOf(const QString& s) {
    if (s.compare(QLatin1String("jw"), Qt::CaseInsensitive) == 0) return 0;
    if (s == QLatin1String("1.5")) return 15;
    if (s == QLatin1String("3")) return 3;
    if (s == QLatin1String("6")) return 6;
    return -1;
}

// The meridian text begins with a number ("117", "-1.5度"), not with a word that the
// setting would read as 0.
bool startsWithNumber(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ') ++i;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) ++i;
    if (i < text.size() && text[i] == u'.') ++i;
    return i < text.size() && text[i] >= u'0' && text[i] <= u'9';
}

bool conversionOf(int from, int to, GkConversion& op) {
    struct Pair {
        int from;
        int to;
        GkConversion op;
    };
    static const Pair pairs[] = {
        {15, 3, GkConversion::Zone15To3},   {3, 6, GkConversion::Zone3To6},
        {3, 15, GkConversion::Zone3To15},   {6, 3, GkConversion::Zone6To3},
        {15, 0, GkConversion::Zone15ToGeo}, {3, 0, GkConversion::Zone3ToGeo},
        {6, 0, GkConversion::Zone6ToGeo},   {0, 15, GkConversion::GeoToZone15},
        {0, 3, GkConversion::GeoToZone3},   {0, 6, GkConversion::GeoToZone6},
    };
    for (const Pair& p : pairs) {
        if (p.from == from && p.to == to) {
            op = p.op;
            return true;
        }
    }
    return false;
}

}  // namespace

int runGk(const QStringList& args, const Streams& io) {
    CommandLine cl(usageText(), io);
    for (const char* name : {"from", "to", "ellipsoid", "meridian", "separator", "order"})
        cl.addOption(QString::fromLatin1(name));
    cl.addFlag(QStringLiteral("no-names"));
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
    GkConversion op{};
    const int f = zoneOf(from);
    const int t = zoneOf(to);
    if (f < 0 || t < 0 || !conversionOf(f, t, op)) {
        return cl.usageError(
            QStringLiteral("不支持的换算 ") + from + QStringLiteral(" -> ") + to,
            QStringLiteral("unsupported conversion ") + from + QStringLiteral(" -> ") + to);
    }

    GkControls controls;
    controls.withNames = !cl.isSet(QStringLiteral("no-names"));
    const QString code = ellipsoid.toUpper();
    if (code == QLatin1String("BJ")) {
        controls.ellipsoid = QStringLiteral("北京");
    } else if (code == QLatin1String("XA")) {
        controls.ellipsoid = QStringLiteral("西安");
    } else if (code == QLatin1String("WGS")) {
        controls.ellipsoid = QStringLiteral("WGS");
    } else {
        return cl.usageError(QStringLiteral("椭球参数只能是 BJ、XA 或 WGS"),
                             QStringLiteral("--ellipsoid must be BJ, XA or WGS"));
    }
    if (order.compare(QLatin1String("xyz"), Qt::CaseInsensitive) == 0) {
        controls.xyzMode = true;
    } else if (order.compare(QLatin1String("yxz"), Qt::CaseInsensitive) == 0) {
        controls.xyzMode = false;
    } else {
        return cl.usageError(QStringLiteral("--order 只能是 xyz 或 yxz"),
                             QStringLiteral("--order must be xyz or yxz"));
    }
    if (separator.compare(QLatin1String("tab"), Qt::CaseInsensitive) != 0 &&
        !separatorChoices().contains(separator)) {
        return cl.usageError(
            QStringLiteral("分隔符只能是列表中的一个字符或 Tab: ") + separator,
            QStringLiteral("the separator must be one of , * / % $ # @ & ! ? ; : \" ' "
                           "( ) < > [ ] { } | _ \\ Tab or a space: ") +
                separator);
    }
    controls.separator = separator;
    const MeridianSetting m = ZelZhongYangJingDu(meridian);
    if (!m.valid || !startsWithNumber(meridian)) {
        return cl.usageError(invalidMeridianMessage(),
                             QStringLiteral("the central meridian must lie within -180 ... 180 "
                                            "and be a multiple of 1.5: ") +
                                 meridian);
    }
    controls.meridian = meridian;

    QString unused;
    const GkSettings settings = ZelDuQuSheZhi(controls, unused);
    const GkBatchResult r = convertBatch(op, settings, io.in, io.out);
    if (r.rows == 0) {
        writeText(io.err, noCoordinateDataText() + QStringLiteral("\n"));
        return cl.finish(kExitFailure);
    }
    if (!r.remarks.isEmpty()) {
        QString remarks = r.remarks;
        remarks.replace(QLatin1String("\r\n\r\n"), QLatin1String("\n"));
        writeText(io.err, remarks.mid(1) + QStringLiteral("\n"));
    }
    return cl.finish(kExitSuccess);
}

}  // namespace hc::cli
