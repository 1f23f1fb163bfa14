#include "cli/stats_command.h"

#include <cstdio>

#include "tools/statistics_command.h"
#include "tools/statistics_stream.h"

namespace hc::cli {
namespace {

QString usageText() {
    return QStringLiteral(
        "用法: hechuan-cli stats [--labels 0|1|2|3] [--separator C] < 数据\n"
        "  从标准输入读取统计数据（每行一组，单元格用分隔符隔开，前 0-3 个单元格为序号或名称），\n"
        "  先写出整理对齐后的数据，空一行，再写出五列数字的十个统计量（制表符分隔，\n"
        "  行名与“数理统计”窗口相同，结果保留 15 位小数）。\n"
        "  --labels 前几列为序号（默认 1）；--separator 分隔符（默认 *，可用 Tab；\n"
        "  空格只作一次转换：空格改为 *）。数据中没有所选分隔符而有制表符或逗号时，\n"
        "  改用制表符（或逗号）读取。提示（包括按 0 统计的非数字单元格）写到标准错误。\n"
        "  退出码：0 成功，1 没有任何数字或输出失败，2 选项错误。\n"
        "Usage: hechuan-cli stats [--labels 0|1|2|3] [--separator C] < data\n"
        "  Reads a data text from standard input (one row per line, cells split by the\n"
        "  separator, the first 0-3 cells labels), writes the rewritten, aligned data text,\n"
        "  an empty line, then the ten statistics of the five numeric columns as a\n"
        "  tab-separated table with the row labels of the statistics window (15 decimals).\n"
        "  --labels: label cells per line (default 1); --separator: one character of the\n"
        "  window's list (default *), Tab, or a space (converted once to *). Data without\n"
        "  the chosen separator but with tabs (or commas) is read with those. Notices,\n"
        "  among them the cells that are no number and count as 0, go to standard error.\n"
        "  Exit status: 0 success, 1 no number at all or the output failed, 2 bad options.\n"
        "  -h, --help shows this help.\n");
}

}  // namespace

int runStats(const QStringList& args, const Streams& io) {
    CommandLine cl(usageText(), io);
    cl.addOption(QStringLiteral("labels"));
    cl.addOption(QStringLiteral("separator"));
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

    StatsStream stream(separator, labels);
    LineReader reader(io.in, cl.encoding(), io.err);
    QString line;
    while (reader.next(line)) stream.addLine(line);
    if (reader.refusedLines() > 0) return cl.finish(kExitFailure);
    const StatsRun run = stream.finish();
    writeNotices(io.err, run.notices, true);
    const bool written = stream.writeRows(
        [&](const char* bytes, std::size_t size) {
            return std::fwrite(bytes, 1, size, io.out) == size;
        },
        "\n");
    if (written) writeText(io.out, u'\n' + statResultTable(run));

    bool any = false;
    for (const QString& n : run.cells[0]) any = any || n != QLatin1String(" ");
    if (!any)
        writeText(io.err, QStringLiteral("没有发现可以统计的数字！ / no numbers to analyse\n"));
    return cl.finish(any ? kExitSuccess : kExitFailure);
}

}  // namespace hc::cli
