#include "cli/eval_command.h"

#include <cstdio>

#include "cli/command_line.h"
#include "engine/calc_log.h"
#include "engine/calc_settings.h"
#include "engine/number_routines.h"
#include "engine/text_trim.h"
#include "expr/calculate.h"

namespace hc::cli {

namespace {

// A formula line may be far longer than a data line: the calculator takes formulas of
// many megabytes.
constexpr std::size_t kMaxFormulaBytes = std::size_t{16} << 20;

const char* const kUsage =
    "用法：hechuan-cli eval [选项] [算式...]\n"
    "逐个计算命令行中的算式；没有算式时逐行计算标准输入（UTF-8）中的算式，与主窗口的“计 算”相同。\n"
    "每个算式输出一行：经精度检查后的结果，或结果框中显示的错误信息。\n"
    "标准输入中每行算式最长 16 MiB，更长的行不计算，输出空行。\n"
    "  --decimals N          小数位数 0-28（默认 15）\n"
    "  --angle rad|deg|dms   角度单位：弧度、百分度（十进制度）、度分秒（默认 rad）\n"
    "  --var r=值            设置变量 r ... z 的值（可重复）\n"
    "  --display             输出结果框的完整文字（对齐并补位）\n"
    "  --status              在下一行输出状态栏文字\n"
    "  -h, --help            显示本说明\n"
    "退出码：0 成功，1 有算式出错或输出失败，2 选项错误。\n"
    "\n"
    "Usage: hechuan-cli eval [options] [FORMULA...]\n"
    "Evaluates each formula argument, or each line of standard input (UTF-8) when there is\n"
    "none, exactly as the calculator's calculate command does, and prints one line per\n"
    "formula: the result after the precision check, or the message the result box would show.\n"
    "A formula line of standard input may be up to 16 MiB long; a longer one is not\n"
    "evaluated and gives an empty line.\n"
    "  --decimals N          display decimals 0-28 (default 15)\n"
    "  --angle rad|deg|dms   angle unit: radians, decimal degrees, packed degrees-minutes-seconds\n"
    "  --var r=VALUE         sets a memory variable r ... z (repeatable)\n"
    "  --display             prints the whole result box text (aligned and filled)\n"
    "  --status              adds the status text on the next line\n"
    "  -h, --help            shows this help\n"
    "Exit status: 0 success, 1 a formula failed or the output failed, 2 bad options.\n";

bool parseDecimals(const QString& text, int& out) {
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < 0 || n > 28) return false;
    out = n;
    return true;
}

bool parseAngle(const QString& text, AngleUnit& out) {
    if (text == u"rad")
        out = kRadians;
    else if (text == u"deg")
        out = kDecimalDegrees;
    else if (text == u"dms")
        out = kPackedDms;
    else
        return false;
    return true;
}

// "r=VALUE": the value is read as the variable editor reads it, but a value in which
// nothing is readable (the editor stores 0 for it) is refused rather than guessed.
bool parseVariable(const QString& text, CalcSettings& st) {
    const qsizetype eq = text.indexOf(u'=');
    if (eq != 1 || text[0] < u'r' || text[0] > u'z') return false;
    EngineReport report;
    const Num v = checkedCall([&] { return ZelChuanZhuanShu(Num::ofText(text.mid(2))); }, report);
    const bool ok = report.ok() && !v.isFailure() && !v.isInteger();
    if (ok) st.memory[text[0].unicode() - u'r'] = v;
    return ok;
}

QString withoutCarriageReturns(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    while (text.endsWith(u'\n')) text.chop(1);
    return text;
}

}  // namespace

QString evalOutput(const QString& formula, const CalcSettings& settings, bool display, bool status,
                   bool* failed, Notices* notices) {
    const CalcResult r = ZelJiSuanSuanShi(formula, settings);
    if (failed) *failed = r.failed;
    if (notices) *notices = r.notices;
    QString line = display || r.failed ? r.result : trimSpaces(r.value);
    line = withoutCarriageReturns(line);
    if (status) line += u'\n' + withoutCarriageReturns(r.status);
    return line;
}

int runEval(const QStringList& args, const Streams& io) {
    CommandLine cl(QString::fromUtf8(kUsage), io);
    cl.addOption(QStringLiteral("decimals"));
    cl.addOption(QStringLiteral("angle"));
    cl.addOption(QStringLiteral("var"));
    cl.addFlag(QStringLiteral("display"));
    cl.addFlag(QStringLiteral("status"));
    cl.allowOperands();
    cl.addEncodingOption();
    if (const auto done = cl.parse(args)) return *done;

    CalcSettings st;
    for (const QString& value : cl.values(QStringLiteral("decimals"))) {
        if (!parseDecimals(value, st.displayDecimals))
            return cl.usageError(QStringLiteral("小数位数应为 0-28 的整数"),
                                 QStringLiteral("--decimals needs an integer 0-28"));
    }
    for (const QString& value : cl.values(QStringLiteral("angle"))) {
        if (!parseAngle(value, st.angleUnit))
            return cl.usageError(QStringLiteral("角度单位应为 rad、deg 或 dms"),
                                 QStringLiteral("--angle needs rad, deg or dms"));
    }
    for (const QString& value : cl.values(QStringLiteral("var"))) {
        if (!parseVariable(value, st))
            return cl.usageError(
                QStringLiteral("变量应写作 r=值（r ... z）: ") + value,
                QStringLiteral("--var needs r=VALUE with a letter r ... z: ") + value);
    }
    const bool display = cl.isSet(QStringLiteral("display"));
    const bool status = cl.isSet(QStringLiteral("status"));

    bool anyFailed = false;
    const auto run = [&](const QString& formula) {
        bool failed = false;
        Notices notices;
        const QString out = evalOutput(formula, st, display, status, &failed, &notices);
        writeNotices(io.err, notices);
        writeText(io.out, out + u'\n');
        anyFailed = anyFailed || failed;
    };
    const QStringList formulas = cl.operands();
    if (!formulas.isEmpty()) {
        for (const QString& f : formulas) run(f);
    } else {
        LineReader lines(io.in, cl.encoding(), io.err, kMaxFormulaBytes);
        QString line;
        LineReader::Read got;
        while (!std::ferror(io.out) && (got = lines.read(line)) != LineReader::Read::End) {
            if (got == LineReader::Read::Line) {
                run(line);
            } else {
                writeText(io.out, QStringLiteral("\n"));
                anyFailed = true;
            }
        }
    }
    return cl.finish(anyFailed ? kExitFailure : kExitSuccess);
}

}  // namespace hc::cli
