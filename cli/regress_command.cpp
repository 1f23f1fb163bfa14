#include "cli/regress_command.h"

#include <optional>

#include "cli/chart_output.h"
#include "tools/chart.h"
#include "tools/data_file.h"
#include "tools/regression.h"
#include "tools/statistics_command.h"

namespace hc::cli {
namespace {

QString usageText() {
    return QStringLiteral(
        "用法: hechuan-cli regress --y N --x N[,N...] [--degree D] [--no-intercept]\n"
        "                          [--separator C] [--labels N] [--residuals]\n"
        "                          [--digits N | --decimals N] [--svg 文件] < 数据\n"
        "  从标准输入读取数据（每行一组，单元格用分隔符隔开，前 0-3 个单元格为序号或名称），\n"
        "  用最小二乘法精确计算线性回归，写出与“线性回归”窗口结果框相同的文字：系数及其\n"
        "  标准误差和 t 值、残差标准差、R²、调整 R² 和方差分析表。\n"
        "  --y 因变量所在的列；--x 自变量所在的列（最多 16 列，用逗号隔开）；列号从 1 起，\n"
        "  从序号单元格之后数起。--degree 对一个 x 列作 D 次多项式回归（1-10，默认 1）；\n"
        "  --no-intercept 不含常数项；--separator 分隔符（默认 *，可用 Tab；空格表示用连续的\n"
        "  空格分隔）；数据中没有所选分隔符而有制表符、逗号或空格时改用它们；--labels 前几列\n"
        "  为序号（0-3，默认 0）；--residuals 再列出每行的拟合值和残差；--digits 有效数字\n"
        "  位数（1-28，默认 15）或 --decimals 小数位数（0-28）。提示写到标准错误。\n"
        "  --svg 文件 另把散点图与拟合曲线（上）和残差图（下）写成 SVG 文件（与“线性回归”\n"
        "  窗口的散点图相同；多元回归画实测值对拟合值）。超过 10 MB 的输入不作回归。\n"
        "  退出码：0 成功，1 数据无法回归或输出失败，2 选项错误。\n"
        "Usage: hechuan-cli regress --y N --x N[,N...] [--degree D] [--no-intercept]\n"
        "                           [--separator C] [--labels N] [--residuals]\n"
        "                           [--digits N | --decimals N] [--svg FILE] < data\n"
        "  Reads a data text from standard input (one row per line, cells split by the\n"
        "  separator, the first 0-3 cells labels), fits the least squares line, polynomial\n"
        "  or plane exactly and writes the text of the regression window's output box: the\n"
        "  coefficients with standard errors and t values, the residual standard deviation,\n"
        "  R squared, adjusted R squared and the analysis of variance table.\n"
        "  --y: the column of y; --x: the x columns (up to 16, comma-separated); columns\n"
        "  count from 1 after the label cells. --degree: a polynomial of degree D (1-10) in\n"
        "  one x column; --no-intercept: no constant term; --separator: one character of\n"
        "  the statistics window's list (default *), Tab, or a space (runs of spaces split\n"
        "  cells); data without the chosen separator but with tabs, commas or spaces is read\n"
        "  with those; --labels: label cells per line (0-3, default 0); --residuals: also\n"
        "  the fitted value and residual of every row; --digits: significant digits (1-28,\n"
        "  default 15) or --decimals: decimal places (0-28). Notices go to standard error.\n"
        "  --svg FILE also writes the scatter plot with the fitted curve (top) and the\n"
        "  residual plot (bottom) as SVG, as the regression window draws them (y over the\n"
        "  fitted values for several x columns). An input larger than 10 MB is refused.\n"
        "  Exit status: 0 success, 1 the data cannot be fitted or the output failed,\n"
        "  2 bad options. -h, --help shows this help.\n");
}

// Standard input as the data box would hold it, or nothing (the reason written to
// `err`) when a line was refused or the text is larger than a data file may be.
std::optional<QString> readAll(std::FILE* in, InputEncoding encoding, std::FILE* err) {
    LineReader reader(in, encoding, err);
    QString text;
    QString line;
    while (reader.next(line)) {
        text += line + QStringLiteral("\r\n");
        if (text.size() > kDataFileLimit) {
            writeText(err, QStringLiteral("错误: 输入超过 10 MB，不作回归\n"
                                          "error: the input is larger than 10 MB and was not "
                                          "fitted\n"));
            return std::nullopt;
        }
    }
    if (reader.refusedLines() > 0) return std::nullopt;
    return text;
}

std::optional<int> wholeNumber(const QString& text, int low, int high) {
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < low || v > high || text.startsWith(u'+')) return std::nullopt;
    return v;
}

}  // namespace

int runRegress(const QStringList& args, const Streams& io) {
    CommandLine cl(usageText(), io);
    for (const char* name :
         {"y", "x", "degree", "separator", "labels", "digits", "decimals", "svg"})
        cl.addOption(QString::fromLatin1(name));
    cl.addFlag(QStringLiteral("no-intercept"));
    cl.addFlag(QStringLiteral("residuals"));
    cl.addEncodingOption();
    if (const auto done = cl.parse(args)) return *done;

    RegressionOptions o;
    if (!cl.isSet(QStringLiteral("y")) || !cl.isSet(QStringLiteral("x")))
        return cl.usageError(QStringLiteral("必须用 --y 和 --x 给出因变量和自变量所在的列"),
                             QStringLiteral("--y and --x must name the columns of y and x"));
    const std::optional<int> y = wholeNumber(cl.value(QStringLiteral("y")), 1, 999);
    if (!y)
        return cl.usageError(QStringLiteral("--y 应为 1 到 999 的列号: ") + cl.value("y"),
                             QStringLiteral("--y must be a column number 1-999: ") + cl.value("y"));
    o.yColumn = *y;
    const std::optional<QList<int>> x = parseRegressionColumns(cl.value(QStringLiteral("x")));
    if (!x)
        return cl.usageError(
            QStringLiteral("--x 应为用逗号隔开的列号: ") + cl.value("x"),
            QStringLiteral("--x must be column numbers split by commas: ") + cl.value("x"));
    o.xColumns = *x;
    const std::optional<int> degree =
        wholeNumber(cl.value(QStringLiteral("degree"), "1"), 1, kMaxRegressionDegree);
    if (!degree)
        return cl.usageError(QStringLiteral("--degree 应为 1 到 10: ") + cl.value("degree"),
                             QStringLiteral("--degree must be 1-10: ") + cl.value("degree"));
    o.degree = *degree;
    o.intercept = !cl.isSet(QStringLiteral("no-intercept"));
    o.residuals = cl.isSet(QStringLiteral("residuals"));
    const std::optional<int> labels = wholeNumber(cl.value(QStringLiteral("labels"), "0"), 0, 3);
    if (!labels)
        return cl.usageError(
            QStringLiteral("--labels 只能是 0、1、2 或 3: ") + cl.value("labels"),
            QStringLiteral("--labels must be 0, 1, 2 or 3: ") + cl.value("labels"));
    o.labelCells = *labels;
    o.separator = cl.value(QStringLiteral("separator"), QStringLiteral("*"));
    if (!statSeparatorChoices().contains(o.separator, Qt::CaseInsensitive))
        return cl.usageError(
            QStringLiteral("分隔符只能是列表中的一个字符、Tab 或空格: ") + o.separator,
            QStringLiteral("the separator must be one of * / , % $ # @ & ! ? ; : \" ' ( ) < > "
                           "[ ] { } | _ - \\ ^ ~ ` Tab or a space: ") +
                o.separator);
    if (cl.isSet(QStringLiteral("digits")) && cl.isSet(QStringLiteral("decimals")))
        return cl.usageError(QStringLiteral("--digits 和 --decimals 只能选一个"),
                             QStringLiteral("give --digits or --decimals, not both"));
    if (cl.isSet(QStringLiteral("decimals"))) {
        const std::optional<int> d = wholeNumber(cl.value("decimals"), 0, kMaxRegressionDigits);
        if (!d)
            return cl.usageError(
                QStringLiteral("--decimals 应为 0 到 28: ") + cl.value("decimals"),
                QStringLiteral("--decimals must be 0-28: ") + cl.value("decimals"));
        o.significant = false;
        o.digits = *d;
    } else {
        const std::optional<int> d =
            wholeNumber(cl.value(QStringLiteral("digits"), "15"), 1, kMaxRegressionDigits);
        if (!d)
            return cl.usageError(QStringLiteral("--digits 应为 1 到 28: ") + cl.value("digits"),
                                 QStringLiteral("--digits must be 1-28: ") + cl.value("digits"));
        o.digits = *d;
    }
    if (const QString problem = regressionOptionsProblem(o); !problem.isEmpty())
        return cl.usageError(problem, QStringLiteral("the options do not make a model"));

    const std::optional<QString> input = readAll(io.in, cl.encoding(), io.err);
    if (!input) return cl.finish(kExitFailure);
    o.plot = cl.isSet(QStringLiteral("svg"));
    const RegressionResult r = runRegression(*input, o);
    writeNotices(io.err, r.notices, true);
    if (!r.ok) {
        writeText(io.err, r.text);
        return cl.finish(kExitFailure);
    }
    writeText(io.out, r.text);
    if (o.plot && !writeChartSvg(cl.value(QStringLiteral("svg")), regressionPicture(r),
                                 kRegressionPanelSvgHeight, io.err))
        return cl.finish(kExitFailure);
    return cl.finish(kExitSuccess);
}

}  // namespace hc::cli
