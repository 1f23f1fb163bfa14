#include "cli/root_command.h"

#include "cli/calculus_options.h"
#include "tools/calculus.h"

namespace hc::cli {

namespace {

const char* const kUsage =
    "用法：hechuan-cli root [选项] 函数 A B\n"
    "用布伦特法求 f(x) = 0 在区间 [A, B] 内的一个根；f(A) 与 f(B) 须异号。\n"
    "  --angle rad|deg|dms   角度单位：弧度、百分度（十进制度）、度分秒（默认 rad）\n"
    "  --decimals N          小数位数 0-28（默认 15）；只显示误差允许的位数\n"
    "  -h, --help            显示本说明\n"
    "退出码：0 成功，1 计算失败或输出失败，2 选项错误。\n"
    "\n"
    "Usage: hechuan-cli root [options] FUNCTION A B\n"
    "Finds a root of FUNCTION (a calculator formula in x) = 0 between A and B by Brent's\n"
    "method; f(A) and f(B) must differ in sign.\n"
    "  --angle rad|deg|dms   angle unit: radians, decimal degrees, packed degrees-minutes-seconds\n"
    "  --decimals N          display decimals 0-28 (default 15); only the digits the error\n"
    "                        estimate allows are shown\n"
    "  -h, --help            shows this help\n"
    "Exit status: 0 success, 1 the calculation or the output failed, 2 bad options.\n";

}  // namespace

int runRoot(const QStringList& args, const Streams& io) {
    return runCalculusCommand(args, io, kUsage, 3, {},
                              [](const CommandLine&, const QStringList& ops,
                                 const CalcSettings& st) -> std::variant<CalculusResult, int> {
                                  return findRoot(ops[0], ops[1], ops[2], st);
                              });
}

}  // namespace hc::cli
