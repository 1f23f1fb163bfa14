#include "cli/gk_command.h"

#include <QThread>
#include <optional>

#include "survey/coord_conversion.h"
#include "survey/gk_batch.h"
#include "survey/zones.h"

namespace hc::cli {
namespace {

QString usageText() {
    return QStringLiteral(
        "用法: hechuan-cli gk --from jw|1.5|3|6 --to jw|1.5|3|6 [--ellipsoid BJ|XA|WGS|2000]\n"
        "        [--meridian 117] [--separator ,] [--order xyz|yxz] [--no-names]\n"
        "  从标准输入读取坐标数据文本（每行：序号、两个坐标、高程，用分隔符隔开），\n"
        "  把坐标换算结果写到标准输出。jw 为经纬度（度.分秒），1.5、3、6 为分带公里网坐标。\n"
        "  换算：经纬度与各分带互换，以及 1.5->3、3->6、3->1.5、6->3。\n"
        "  --jobs N          用 N 个线程换算（默认为处理器核数）；输出与单线程相同。\n"
        "  备注与“没有发现坐标数据！”写到标准错误。退出码：0 成功，1 没有数据或输出失败，2 "
        "选项错误。\n"
        "Usage: hechuan-cli gk --from jw|1.5|3|6 --to jw|1.5|3|6 [--ellipsoid BJ|XA|WGS|2000]\n"
        "        [--meridian 117] [--separator ,] [--order xyz|yxz] [--no-names]\n"
        "  Reads a coordinate data text (lines of name, two coordinates and height, split by\n"
        "  the separator) from standard input and writes the converted block to standard\n"
        "  output. jw is latitude/longitude (packed d.mmss), 1.5, 3 and 6 are zone grids.\n"
        "  Conversions: geographic to and from each zone, and 1.5->3, 3->6, 3->1.5, 6->3.\n"
        "  --jobs N          convert on N threads (default: the processor cores); the output\n"
        "                    is that of one thread.\n"
        "  Remarks and the no-data message go to standard error. Exit status: 0 success,\n"
        "  1 no data or the output failed, 2 bad options. -h, --help shows this help.\n");
}

// A form of coordinates: "jw" (any letter case) is latitude and longitude (nothing),
// "6", "3" and "1.5" the zones. False for any other text.
bool formOf(const QString& code, std::optional<ZoneWidth>& form) {
    form = zoneWidthOfCode(code);
    return form || code.compare(QLatin1String("jw"), Qt::CaseInsensitive) == 0;
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

}  // namespace

int runGk(const QStringList& args, const Streams& io) {
    CommandLine cl(usageText(), io);
    for (const char* name : {"from", "to", "ellipsoid", "meridian", "separator", "order", "jobs"})
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
    const MeridianSetting m = ZelZhongYangJingDu(meridian);
    if (!m.valid || !startsWithNumber(meridian)) {
        return cl.usageError(invalidMeridianMessage(),
                             QStringLiteral("the central meridian must lie within -180 ... 180 "
                                            "and be a multiple of 1.5: ") +
                                 meridian);
    }
    settings.meridian = m.value;

    const QString jobsText = cl.value(QStringLiteral("jobs"));
    bool jobsRead = true;
    const int jobs = jobsText.isEmpty() ? QThread::idealThreadCount() : jobsText.toInt(&jobsRead);
    if (!jobsRead || jobs < 1 || jobs > 256) {
        return cl.usageError(
            QStringLiteral("--jobs 须是 1 至 256 的整数: ") + jobsText,
            QStringLiteral("--jobs must be a whole number 1 ... 256: ") + jobsText);
    }

    settings.jobs = jobs;
    const GkBatchResult r = convertBatch(*op, settings, io.in, io.out);
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
