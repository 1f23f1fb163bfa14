#include "cli/propagate_command.h"

#include "cli/calculus_options.h"
#include "tools/calculus.h"

namespace hc::cli {

namespace {

const char* const kUsage =
    "用法：hechuan-cli propagate [选项] 函数 --var r=值±中误差 ... [--corr r,s=相关系数 ...]\n"
    "误差计算：函数是含变量 r ... z 的算式；按一阶误差传播求函数值及其中误差，\n"
    "并列出各变量的偏导数、影响和所占比例。“±”也可写作“+-”。\n"
    "  --var r=值±中误差     变量的值和中误差（可重复）\n"
    "  --corr r,s=相关系数   两个变量的相关系数 -1 ... 1（可重复，默认不相关）\n"
    "  --angle rad|deg|dms   角度单位：弧度、百分度（十进制度）、度分秒（默认 rad）\n"
    "  --decimals N          小数位数 0-28（默认 15）；只显示误差允许的位数\n"
    "  -h, --help            显示本说明\n"
    "退出码：0 成功，1 计算失败或输出失败，2 选项错误。\n"
    "\n"
    "Usage: hechuan-cli propagate [options] FUNCTION --var r=VALUE±SE ... [--corr r,s=RHO ...]\n"
    "Propagates standard errors through FUNCTION, a calculator formula in r ... z, to first\n"
    "order, and lists each variable's partial derivative, effect and share (\"+-\" may\n"
    "stand for \"±\").\n"
    "  --var r=VALUE±SE      value and standard error of a variable (repeatable)\n"
    "  --corr r,s=RHO        correlation coefficient of two variables (repeatable)\n"
    "  --angle rad|deg|dms   angle unit: radians, decimal degrees, packed degrees-minutes-seconds\n"
    "  --decimals N          display decimals 0-28 (default 15); only the digits the error\n"
    "                        estimate allows are shown\n"
    "  -h, --help            shows this help\n"
    "Exit status: 0 success, 1 the calculation or the output failed, 2 bad options.\n";

}  // namespace

int runPropagate(const QStringList& args, const Streams& io) {
    return runCalculusCommand(
        args, io, kUsage, 1, {QStringLiteral("var"), QStringLiteral("corr")},
        [](const CommandLine& cl, const QStringList& ops,
           const CalcSettings& st) -> std::variant<CalculusResult, int> {
            QList<PropagationInput> inputs;
            for (const QString& value : cl.values(QStringLiteral("var"))) {
                PropagationInput in;
                if (!parsePropagationInput(value, in))
                    return cl.usageError(
                        QStringLiteral("变量应写作 r=值±中误差（r ... z）: ") + value,
                        QStringLiteral("--var needs r=VALUE±SE with a letter r ... z: ") + value);
                inputs.append(in);
            }
            QList<Correlation> correlations;
            for (const QString& value : cl.values(QStringLiteral("corr"))) {
                Correlation c;
                if (!parseCorrelation(value, c))
                    return cl.usageError(QStringLiteral("相关系数应写作 r,s=系数: ") + value,
                                         QStringLiteral("--corr needs r,s=RHO: ") + value);
                correlations.append(c);
            }
            return propagate(ops[0], inputs, correlations, st);
        });
}

}  // namespace hc::cli
