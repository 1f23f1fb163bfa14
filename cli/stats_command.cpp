#include "cli/stats_command.h"

#include <cstdio>
#include <cstring>
#include <optional>

#include "cli/chart_output.h"
#include "tools/statistics_command.h"
#include "tools/statistics_stream.h"

namespace hc::cli {
namespace {

QString usageText() {
    return QStringLiteral(
        "用法: hechuan-cli stats [--labels 0|1|2|3] [--separator C]\n"
        "                        [--svg 文件 [--column N] [--bins N]] < 数据\n"
        "  从标准输入读取统计数据（每行一组，单元格用分隔符隔开，前 0-3 个单元格为序号或名称），\n"
        "  先写出整理对齐后的数据，空一行，再写出五列数字的十个统计量（制表符分隔，\n"
        "  行名与“数理统计”窗口相同，结果保留 15 位小数）。\n"
        "  --labels 前几列为序号（默认 1）；--separator 分隔符（默认 *，可用 Tab；\n"
        "  空格只作一次转换：空格改为 *）。数据中没有所选分隔符而有制表符或逗号时，\n"
        "  改用制表符（或逗号）读取。提示（包括按 0 统计的非数字单元格）写到标准错误。\n"
        "  --svg 文件 另把一列数字的直方图写成 SVG 文件（与“数理统计”窗口的直方图相同）；\n"
        "  --column 画第几列数字（1-5，默认 1）；--bins 分组数（1-500，默认按\n"
        "  Freedman–Diaconis 规则，四分位距为 0 或组数少于 Sturges 规则时按 Sturges 规则）。\n"
        "  退出码：0 成功，1 没有任何数字或输出失败，2 选项错误。\n"
        "Usage: hechuan-cli stats [--labels 0|1|2|3] [--separator C]\n"
        "                         [--svg FILE [--column N] [--bins N]] < data\n"
        "  Reads a data text from standard input (one row per line, cells split by the\n"
        "  separator, the first 0-3 cells labels), writes the rewritten, aligned data text,\n"
        "  an empty line, then the ten statistics of the five numeric columns as a\n"
        "  tab-separated table with the row labels of the statistics window (15 decimals).\n"
        "  --labels: label cells per line (default 1); --separator: one character of the\n"
        "  window's list (default *), Tab, or a space (converted once to *). Data without\n"
        "  the chosen separator but with tabs (or commas) is read with those. Notices,\n"
        "  among them the cells that are no number and count as 0, go to standard error.\n"
        "  --svg FILE also writes the histogram of one numeric column as SVG (the statistics\n"
        "  window's histogram); --column: which column (1-5, default 1); --bins: the number\n"
        "  of bins (1-500; by default the Freedman-Diaconis rule, or Sturges' rule when the\n"
        "  interquartile range is 0 or it gives more bins).\n"
        "  Exit status: 0 success, 1 no number at all or the output failed, 2 bad options.\n"
        "  -h, --help shows this help.\n");
}

std::optional<int> wholeNumber(const QString& text, int low, int high) {
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < low || v > high || text.startsWith(u'+')) return std::nullopt;
    return v;
}

// Cuts the rewritten rows, written in chunks, into lines for `reader`.
class RowLines {
public:
    explicit RowLines(StatColumnReader& reader) : reader_(reader) {}
    void add(const char* bytes, std::size_t size) {
        const char* end = bytes + size;
        while (bytes < end) {
            const auto* lf =
                static_cast<const char*>(std::memchr(bytes, '\n', size_t(end - bytes)));
            if (!lf) {
                line_.append(bytes, end - bytes);
                return;
            }
            if (line_.isEmpty()) {
                reader_.addLine(QString::fromUtf8(bytes, lf - bytes));
            } else {
                line_.append(bytes, lf - bytes);
                reader_.addLine(QString::fromUtf8(line_));
                line_.clear();
            }
            bytes = lf + 1;
        }
    }

private:
    StatColumnReader& reader_;
    QByteArray line_;
};

}  // namespace

int runStats(const QStringList& args, const Streams& io) {
    CommandLine cl(usageText(), io);
    cl.addOption(QStringLiteral("labels"));
    cl.addOption(QStringLiteral("separator"));
    cl.addOption(QStringLiteral("svg"));
    cl.addOption(QStringLiteral("column"));
    cl.addOption(QStringLiteral("bins"));
    cl.addEncodingOption();
    if (const auto done = cl.parse(args)) return *done;

    const QString labels = cl.value(QStringLiteral("labels"), QStringLiteral("1"));
    if (labels.size() != 1 || labels[0] < u'0' || labels[0] > u'3') {
        return cl.usageError(QStringLiteral("--labels 只能是 0、1、2 或 3: ") + labels,
                             QStringLiteral("--labels must be 0, 1, 2 or 3: ") + labels);
    }
    const QString separator = cl.value(QStringLiteral("separator"), QStringLiteral("*"));
    if (!statSeparatorChoices().contains(separator, Qt::CaseInsensitive)) {
        return cl.usageError(
            QStringLiteral("分隔符只能是列表中的一个字符、Tab 或空格: ") + separator,
            QStringLiteral("the separator must be one of * / , % $ # @ & ! ? ; : \" ' ( ) < > "
                           "[ ] { } | _ - \\ ^ ~ ` Tab or a space: ") +
                separator);
    }

    const std::optional<int> column = wholeNumber(cl.value(QStringLiteral("column"), "1"), 1, 5);
    if (!column)
        return cl.usageError(QStringLiteral("--column 只能是 1 到 5: ") + cl.value("column"),
                             QStringLiteral("--column must be 1-5: ") + cl.value("column"));
    const std::optional<int> bins =
        cl.isSet(QStringLiteral("bins"))
            ? wholeNumber(cl.value(QStringLiteral("bins")), 1, kMaxHistogramBins)
            : std::optional<int>(0);
    if (!bins)
        return cl.usageError(QStringLiteral("--bins 只能是 1 到 500: ") + cl.value("bins"),
                             QStringLiteral("--bins must be 1-500: ") + cl.value("bins"));
    const bool svg = cl.isSet(QStringLiteral("svg"));
    if (!svg && (cl.isSet(QStringLiteral("column")) || cl.isSet(QStringLiteral("bins"))))
        return cl.usageError(QStringLiteral("--column 和 --bins 只与 --svg 一起用"),
                             QStringLiteral("--column and --bins go with --svg"));

    StatsStream stream(separator, labels);
    LineReader reader(io.in, cl.encoding(), io.err);
    QString line;
    while (reader.next(line)) stream.addLine(line);
    if (reader.refusedLines() > 0) return cl.finish(kExitFailure);
    const StatsRun run = stream.finish();
    writeNotices(io.err, run.notices, true);
    // The histogram reads the rewritten rows as they are written: the separator and
    // the cells are then those the statistics counted.
    StatColumnReader histogram(run.separator, labels.toInt(), *column);
    RowLines lines(histogram);
    const bool written = stream.writeRows(
        [&](const char* bytes, std::size_t size) {
            if (svg) lines.add(bytes, size);
            return std::fwrite(bytes, 1, size, io.out) == size;
        },
        "\n");
    if (written) writeText(io.out, u'\n' + statResultTable(run));
    if (svg) {
        const ChartPicture picture = statisticsHistogram(histogram.takeValues(), *column, *bins);
        if (!picture.message.isEmpty()) writeText(io.err, picture.message + u'\n');
        if (!writeChartSvg(cl.value(QStringLiteral("svg")), picture, kHistogramSvgHeight, io.err))
            return cl.finish(kExitFailure);
    }

    bool any = false;
    for (const QString& n : run.cells[0]) any = any || n != QLatin1String(" ");
    if (!any)
        writeText(io.err, QStringLiteral("没有发现可以统计的数字！ / no numbers to analyse\n"));
    return cl.finish(any ? kExitSuccess : kExitFailure);
}

}  // namespace hc::cli
