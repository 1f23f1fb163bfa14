#include "cli/integrate_command.h"

#include "cli/calculus_options.h"
#include "tools/calculus.h"

namespace hc::cli {

namespace {

const char* const kUsage =
    "用法：hechuan-cli integrate [选项] 函数 下限 上限\n"
    "计算定积分 ∫ f(x) dx。函数是主窗口的算式，以 x 为自变量；上下限是算式，也可写 "
    "∞、inf、-∞、-inf。\n"
    "输出积分值、误差估计和有效数字（双指数积分法，28 位小数运算）。\n"
    "  --angle rad|deg|dms   角度单位：弧度、百分度（十进制度）、度分秒（默认 rad）\n"
    "  --decimals N          小数位数 0-28（默认 15）；只显示误差允许的位数\n"
    "  -h, --help            显示本说明\n"
    "退出码：0 成功，1 计算失败或输出失败，2 选项错误。\n"
    "\n"
    "Usage: hechuan-cli integrate [options] FUNCTION LOWER UPPER\n"
    "Computes the definite integral of FUNCTION, a calculator formula in x, from LOWER to\n"
    "UPPER (formulas, or inf, -inf, ∞, -∞), with an error estimate (double-exponential\n"
    "quadrature carried in 28-digit decimals).\n"
    "  --angle rad|deg|dms   angle unit: radians, decimal degrees, packed degrees-minutes-seconds\n"
    "  --decimals N          display decimals 0-28 (default 15); only the digits the error\n"
    "                        estimate allows are shown\n"
    "  -h, --help            shows this help\n"
    "Exit status: 0 success, 1 the calculation or the output failed, 2 bad options.\n";

}  // namespace

int runIntegrate(const QStringList& args, const Streams& io) {
    return runCalculusCommand(args, io, kUsage, 3, {},
                              [](const CommandLine&, const QStringList& ops,
                                 const CalcSettings& st) -> std::variant<CalculusResult, int> {
                                  return integrate(ops[0], ops[1], ops[2], st);
                              });
}

}  // namespace hc::cli
