#include "cli/eval_command.h"

#include <cstdio>
#include <iostream>
#include <string>

#include "engine/number.h"
#include "expr/calculate.h"

namespace hc::cli {

namespace {

void write(std::FILE* f, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    std::fwrite(utf8.constData(), 1, size_t(utf8.size()), f);
}

const char* const kUsage =
    "用法：hechuan-cli eval [选项] [算式...]\n"
    "逐个计算命令行中的算式；没有算式时逐行计算标准输入（UTF-8）中的算式，与主窗口的“计 算”相同。\n"
    "每个算式输出一行：经精度检查后的结果，或结果框中显示的错误信息。\n"
    "  --decimals N          小数位数 0-28（默认 15）\n"
    "  --angle rad|deg|dms   角度单位：弧度、百分度（十进制度）、度分秒（默认 rad）\n"
    "  --var r=值            设置变量 r ... z 的值（可重复）\n"
    "  --display             输出结果框的完整文字（对齐并补位）\n"
    "  --status              在下一行输出状态栏文字\n"
    "退出码：0 成功，1 有算式出错，2 选项错误。\n"
    "\n"
    "Usage: hechuan-cli eval [options] [FORMULA...]\n"
    "Evaluates each formula argument, or each line of standard input (UTF-8) when there is\n"
    "none, exactly as the calculator's calculate command does, and prints one line per\n"
    "formula: the result after the precision check, or the message the result box would show.\n"
    "  --decimals N          display decimals 0-28 (default 15)\n"
    "  --angle rad|deg|dms   angle unit: radians, decimal degrees, packed degrees-minutes-seconds\n"
    "  --var r=VALUE         sets a memory variable r ... z (repeatable)\n"
    "  --display             prints the whole result box text (aligned and filled)\n"
    "  --status              adds the status text on the next line\n"
    "Exit status: 0 success, 1 a formula failed, 2 bad options.\n";

int usage(const QString& problem) {
    if (!problem.isEmpty()) write(stderr, problem + u'\n');
    std::fputs(kUsage, stderr);
    return 2;
}

bool parseDecimals(const QString& text, int& out) {
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < 0 || n > 28) return false;
    out = n;
    return true;
}

bool parseAngle(const QString& text, int& out) {
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
bool parseVariable(const QString& text, CalcState& st) {
    const qsizetype eq = text.indexOf(u'=');
    if (eq != 1 || text[0] < u'r' || text[0] > u'z') return false;
    ZelChongZhi();
    const Num v = ZelChuanZhuanShu(Num(text.mid(2)));
    const bool ok = st.errorCount == 0 && !v.isText() && !v.isInteger();
    ZelChongZhi();
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

QString evalOutput(const QString& formula, bool display, bool status, bool* failed) {
    const CalcResult r = ZelJiSuanSuanShi(formula);
    if (failed) *failed = r.failed;
    QString line = display || r.failed ? r.result : trimSpaces(r.value);
    line = withoutCarriageReturns(line);
    if (status) line += u'\n' + withoutCarriageReturns(r.status);
    return line;
}

int runEval(int argc, char** argv) {
    CalcState& st = calcState();
    bool display = false;
    bool status = false;
    QStringList formulas;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromUtf8(argv[i]);
        if (optionsEnded || !arg.startsWith(QStringLiteral("--"))) {
            formulas << arg;
            continue;
        }
        QString name = arg;
        QString value;
        bool inlineValue = false;
        if (const qsizetype eq = arg.indexOf(u'='); eq > 2) {
            name = arg.left(eq);
            value = arg.mid(eq + 1);
            inlineValue = true;
        }
        const auto takeValue = [&]() {
            if (inlineValue) return true;
            if (i + 1 >= argc) return false;
            value = QString::fromUtf8(argv[++i]);
            return true;
        };
        if (arg == u"--") {
            optionsEnded = true;
        } else if (arg == u"--help") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == u"--display") {
            display = true;
        } else if (arg == u"--status") {
            status = true;
        } else if (name == u"--decimals") {
            if (!takeValue() || !parseDecimals(value, st.displayDecimals))
                return usage(
                    QStringLiteral("小数位数应为 0-28 的整数 / --decimals needs an integer 0-28"));
        } else if (name == u"--angle") {
            if (!takeValue() || !parseAngle(value, st.angleUnit))
                return usage(
                    QStringLiteral("角度单位应为 rad、deg 或 dms / --angle needs rad, deg or dms"));
        } else if (name == u"--var") {
            if (!takeValue() || !parseVariable(value, st))
                return usage(
                    QStringLiteral(
                        "变量应写作 r=值（r ... z）/ --var needs r=VALUE with a letter r ... z: ") +
                    value);
        } else {
            return usage(QStringLiteral("未知选项 / unknown option: ") + arg);
        }
    }

    bool anyFailed = false;
    const auto run = [&](const QString& formula) {
        bool failed = false;
        write(stdout, evalOutput(formula, display, status, &failed) + u'\n');
        anyFailed = anyFailed || failed;
    };
    if (!formulas.isEmpty()) {
        for (const QString& f : formulas) run(f);
    } else {
        std::string line;
        while (std::getline(std::cin, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            run(QString::fromUtf8(line.data(), qsizetype(line.size())));
        }
    }
    std::fflush(stdout);
    return anyFailed ? 1 : 0;
}

}  // namespace hc::cli
