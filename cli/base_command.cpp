#include "cli/base_command.h"

#include "tools/base_calculator.h"
#include "tools/base_conversion.h"

namespace hc::cli {
namespace {

QString usageText() {
    return QStringLiteral(
        "用法: hechuan-cli base --from 2|8|10|16 --to 2|8|10|16 [数值...]\n"
        "  在二进制、八进制、十进制和十六进制之间换算数值（可带小数和负号），经由二进制，\n"
        "  与“进制换算”窗口切换进制时的结果相同。没有给出数值时，从标准输入每行读一个。\n"
        "  每个数值写一行结果（换算失败或不是该进制的数写 -1，空行写空行）；换算出错的提示写到\n"
        "  标准错误。\n"
        "  退出码：0 成功，1 有换算失败或输出失败，2 选项错误。\n"
        "Usage: hechuan-cli base --from 2|8|10|16 --to 2|8|10|16 [VALUE...]\n"
        "  Converts numbers (fractions and signs included) between binary, octal, decimal\n"
        "  and hexadecimal through binary, exactly as the base window converts its data\n"
        "  boxes when the base changes. Without VALUE arguments one value is read per line\n"
        "  of standard input. Writes one result per line (-1 for a failed conversion or a\n"
        "  value that is not a number of that base, an empty line for a blank one); the\n"
        "  conversion messages go to standard error. Exit status: 0 success, 1 a failed\n"
        "  conversion or output, 2 bad options.\n"
        "  -h, --help shows this help.\n");
}

bool parseBase(const QString& text, int& base) {
    bool ok = false;
    base = text.toInt(&ok);
    return ok && isWindowBase(base);
}

}  // namespace

int runBase(const QStringList& args, const Streams& io) {
    CommandLine cl(usageText(), io);
    cl.addOption(QStringLiteral("from"));
    cl.addOption(QStringLiteral("to"));
    cl.allowOperands();
    cl.addEncodingOption();
    if (const auto done = cl.parse(args)) return *done;

    int from = 0;
    int to = 0;
    if (!parseBase(cl.value(QStringLiteral("from")), from) ||
        !parseBase(cl.value(QStringLiteral("to")), to)) {
        return cl.usageError(QStringLiteral("--from 和 --to 必须是 2、8、10 或 16"),
                             QStringLiteral("--from and --to must be 2, 8, 10 or 16"));
    }

    int status = kExitSuccess;
    auto convertOne = [&](const QString& value) {
        BaseNotes notes;
        QString result = convertBaseText(value, from, to, notes);
        writeNotices(io.err, notes.notices);
        if (notes.failures > 0) {
            status = kExitFailure;
        } else if (!isBaseNumberText(value, from)) {
            // The conversions stop quietly at the first character they do not take.
            writeText(io.err, QStringLiteral("不是 %1 进制数 / not a base-%1 number: ").arg(from) +
                                  value + u'\n');
            result = QStringLiteral("-1");
            status = kExitFailure;
        }
        writeText(io.out, result + u'\n');
    };
    if (cl.forEachValue(convertOne) != kExitSuccess) status = kExitFailure;
    return cl.finish(status);
}

}  // namespace hc::cli
