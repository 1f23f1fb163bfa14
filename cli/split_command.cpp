#include "cli/split_command.h"

#include "tools/decomposition.h"

namespace hc::cli {
namespace {

QString usageText() {
    return QStringLiteral(
        "用法: hechuan-cli split [数值...]\n"
        "  把数值分解为整数部分和小数部分（与“数的分解”窗口相同），每个数值写一行：\n"
        "  整数部分、制表符、小数部分（空行写空行）。没有给出数值时，从标准输入每行读一个。\n"
        "  退出码：0 成功，1 有不是数字的输入（写 0 和 0）或输出失败，2 选项错误。\n"
        "Usage: hechuan-cli split [VALUE...]\n"
        "  Splits each value into its integer part and its fraction digits as the\n"
        "  decomposition window does and writes one line per value: the integer part, a\n"
        "  tab, the fraction part (an empty line for a blank value). Without VALUE\n"
        "  arguments one value is read per line of standard input. Exit status: 0\n"
        "  success, 1 an input that is no number (shown as 0 and 0) or the output failed,\n"
        "  2 bad options. -h, --help shows this help.\n");
}

}  // namespace

int runSplit(const QStringList& args, const Streams& io) {
    CommandLine cl(usageText(), io);
    cl.allowOperands();
    cl.addEncodingOption();
    if (const auto done = cl.parse(args)) return *done;

    int status = kExitSuccess;
    auto splitOne = [&](const QString& value) {
        const Decomposition d = decomposeNumber(value);
        if (!d.number) {
            writeText(io.err, QStringLiteral("不是数字，按 0 分解 / not a number, read as 0: ") +
                                  value + u'\n');
            status = kExitFailure;
        }
        writeText(io.out, d.integerPart + u'\t' + d.fractionPart + u'\n');
    };
    if (cl.forEachValue(splitOne) != kExitSuccess) status = kExitFailure;
    return cl.finish(status);
}

}  // namespace hc::cli
