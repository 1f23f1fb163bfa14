#include "cli/matrix_command.h"

#include <cerrno>
#include <cstring>

#include "tools/linear_system.h"
#include "tools/matrix_ops.h"

namespace hc::cli {
namespace {

QString optionsHelp() {
    return QStringLiteral(
        "  --fractions           精确结果写成分数 p/q（默认写成小数）\n"
        "  --decimals N          小数位数 0-28（默认 15）\n"
        "  --angle rad|deg|dms   单元格算式的角度单位：弧度、百分度、度分秒（默认 rad）\n"
        "  --separator C         单元格分隔符（默认自动：制表符、逗号或分号，否则空格）\n");
}

QString optionsHelpEnglish() {
    return QStringLiteral(
        "  --fractions           write exact results as fractions p/q (default: decimals)\n"
        "  --decimals N          decimal places 0-28 (default 15)\n"
        "  --angle rad|deg|dms   angle unit of the cell formulas (default rad)\n"
        "  --separator C         cell separator (default automatic: tab, comma or\n"
        "                        semicolon when the line has one, else spaces)\n");
}

QString matrixHelp() {
    return QStringLiteral(
               "用法: hechuan-cli matrix 运算 [选项] A文件 [B文件|k|n]\n"
               "  对矩阵做精确（有理数）运算，输出与“矩阵计算”窗口的结果框相同。运算：\n"
               "  add 加、sub 减、mul 乘（需要 B 文件），scale k·A（给出 k），\n"
               "  transpose 转置、det 行列式、inverse 逆矩阵、rank 秩、trace 迹、\n"
               "  power A 的 n 次幂（给出整数 n，负数要求 A 可逆）、rref 行最简形。\n"
               "  文件每行是矩阵的一行，单元格可以是算式（1/3、sin(30)、π/2）；\n"
               "  文件名 - 表示标准输入。\n") +
           optionsHelp() +
           QStringLiteral(
               "  退出码：0 成功，1 输入或运算出错（原因写到标准错误）或输出失败，2 选项错误。\n"
               "Usage: hechuan-cli matrix OP [OPTIONS] A.txt [B.txt|k|n]\n"
               "  Exact (rational) matrix arithmetic, printing what the matrix window's\n"
               "  output box shows. OP: add, sub, mul (with B.txt), scale (with k),\n"
               "  transpose, det, inverse, rank, trace, power (with a whole n; negative\n"
               "  n needs an invertible A), rref. Each line of a file is a matrix row;\n"
               "  cells may be formulas (1/3, sin(30), π/2); the file name - reads\n"
               "  standard input.\n") +
           optionsHelpEnglish() +
           QStringLiteral(
               "  Exit status: 0 success, 1 bad input or a failed operation (the reason\n"
               "  on standard error) or failed output, 2 bad options. -h, --help shows this.\n");
}

}  // namespace

QString solveHelp() {
    return QStringLiteral(
               "用法: hechuan-cli solve [选项] < 方程组\n"
               "  精确解线性方程组，输出与“解多元方程”窗口的结果框相同：唯一解、无解（给出\n"
               "  矛盾的方程组合）或无穷多解（用参数 t1、t2 … 写出通解）。每行一个方程，\n"
               "  未知数写作 x1、x2 … 或 r … z（2x1+3x2=5）；或者每行是增广矩阵的一行，\n"
               "  最后一个数是右边的常数。\n") +
           optionsHelp() +
           QStringLiteral(
               "  退出码：0 成功，1 输入出错（原因写到标准错误）或输出失败，2 选项错误。\n"
               "Usage: hechuan-cli solve [OPTIONS] < SYSTEM\n"
               "  Solves a system of linear equations exactly and prints what the\n"
               "  equations window's output box shows: the unique solution, no solution\n"
               "  (with the contradicting combination of equations) or the general\n"
               "  solution in parameters t1, t2 ... Each line is an equation in x1, x2 ...\n"
               "  or r ... z (2x1+3x2=5), or a row of the augmented matrix whose last\n"
               "  cell is the right-hand side.\n") +
           optionsHelpEnglish() +
           QStringLiteral(
               "  Exit status: 0 success, 1 bad input (the reason on standard error) or\n"
               "  failed output, 2 bad options. -h, --help shows this help.\n");
}

void declareOptions(CommandLine& cl) {
    cl.addFlag(QStringLiteral("fractions"));
    cl.addOption(QStringLiteral("decimals"));
    cl.addOption(QStringLiteral("angle"));
    cl.addOption(QStringLiteral("separator"));
    cl.addEncodingOption();
}

// The settings and style of the options; a usage error's exit status when one is bad.
std::optional<int> readOptions(const CommandLine& cl, CalcSettings& settings, ValueStyle& style,
                               QString& separator) {
    style.fractions = cl.isSet(QStringLiteral("fractions"));
    if (cl.isSet(QStringLiteral("decimals"))) {
        bool ok = false;
        const int d = cl.value(QStringLiteral("decimals")).toInt(&ok);
        if (!ok || d < 0 || d > 28)
            return cl.usageError(QStringLiteral("--decimals 要求 0-28 的整数"),
                                 QStringLiteral("--decimals needs an integer 0-28"));
        style.decimals = d;
    }
    const QString angle = cl.value(QStringLiteral("angle"), QStringLiteral("rad"));
    if (angle == u"rad")
        settings.angleUnit = kRadians;
    else if (angle == u"deg")
        settings.angleUnit = kDecimalDegrees;
    else if (angle == u"dms")
        settings.angleUnit = kPackedDms;
    else
        return cl.usageError(QStringLiteral("--angle 要求 rad、deg 或 dms"),
                             QStringLiteral("--angle needs rad, deg or dms"));
    separator = cl.value(QStringLiteral("separator"));
    if (separator.size() > 1 && separator.compare(QLatin1String("tab"), Qt::CaseInsensitive) != 0)
        return cl.usageError(QStringLiteral("--separator 要求一个字符或 tab"),
                             QStringLiteral("--separator needs one character or tab"));
    return std::nullopt;
}

// The text of a stream, read line by line; reading stops a line after more non-blank
// lines than any matrix may have, which is then refused by its reader.
std::optional<QString> readText(std::FILE* in, InputEncoding encoding, std::FILE* err) {
    LineReader reader(in, encoding, err);
    QString text;
    QString line;
    int lines = 0;
    while (reader.next(line)) {
        text += line + u'\n';
        if (!line.trimmed().isEmpty() && ++lines > kMaxMatrixOrder) break;
    }
    if (reader.refusedLines() > 0) return std::nullopt;
    return text;
}

namespace {

// The text of the file `name` ("-": standard input); nothing when it cannot be opened.
std::optional<QString> readFile(const QString& name, const CommandLine& cl, const Streams& io) {
    if (name == u"-") return readText(io.in, cl.encoding(), io.err);
    std::FILE* f = std::fopen(name.toLocal8Bit().constData(), "rb");
    if (!f) {
        writeText(io.err, QStringLiteral("无法打开文件 / cannot open %1: %2\n")
                              .arg(name, QString::fromLocal8Bit(std::strerror(errno))));
        return std::nullopt;
    }
    std::optional<QString> text = readText(f, cl.encoding(), io.err);
    std::fclose(f);
    return text;
}
}  // namespace

int runMatrix(const QStringList& args, const Streams& io) {
    CommandLine cl(matrixHelp(), io);
    cl.allowOperands();
    declareOptions(cl);
    if (const auto done = cl.parse(args)) return *done;
    CalcSettings settings;
    ValueStyle style;
    QString separator;
    if (const auto bad = readOptions(cl, settings, style, separator)) return *bad;
    const QStringList operands = cl.operands();
    if (operands.isEmpty())
        return cl.usageError(QStringLiteral("缺少运算"),
                             QStringLiteral("the operation is missing"));
    const std::optional<MatrixOp> op = matrixOpOfName(operands[0]);
    if (!op)
        return cl.usageError(QStringLiteral("未知的运算：") + operands[0],
                             QStringLiteral("unknown operation: ") + operands[0]);
    const bool second = matrixOpTakesB(*op) || matrixOpTakesNumber(*op);
    if (operands.size() != (second ? 3 : 2))
        return cl.usageError(
            QStringLiteral("%1 要求 %2 个操作数").arg(operands[0]).arg(second ? 2 : 1),
            QStringLiteral("%1 takes %2 operand(s)").arg(operands[0]).arg(second ? 2 : 1));
    const std::optional<QString> a = readFile(operands[1], cl, io);
    if (!a) return cl.finish(kExitFailure);
    QString b;
    QString number;
    if (matrixOpTakesB(*op)) {
        const std::optional<QString> t = readFile(operands[2], cl, io);
        if (!t) return cl.finish(kExitFailure);
        b = *t;
    } else if (matrixOpTakesNumber(*op)) {
        number = operands[2];
    }
    const MatrixRun run = runMatrixOperation(*op, *a, b, number, separator, settings, style);
    if (run.failed) {
        writeText(io.err, run.output + u'\n');
        return cl.finish(kExitFailure);
    }
    writeText(io.out, run.output);
    return cl.finish(kExitSuccess);
}

}  // namespace hc::cli
