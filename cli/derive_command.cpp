#include "cli/derive_command.h"

#include "cli/calculus_options.h"
#include "tools/calculus.h"

namespace hc::cli {

namespace {

const char* const kUsage =
    "用法：hechuan-cli derive [选项] 函数 X0 [--order 1|2]\n"
    "计算函数在 x = X0 处的一阶或二阶导数（中心差商的理查森外推），并给出误差估计。\n"
    "  --order 1|2           导数阶数（默认 1）\n"
    "  --angle rad|deg|dms   角度单位：弧度、百分度（十进制度）、度分秒（默认 rad）\n"
    "  --decimals N          小数位数 0-28（默认 15）；只显示误差允许的位数\n"
    "  -h, --help            显示本说明\n"
    "退出码：0 成功，1 计算失败或输出失败，2 选项错误。\n"
    "\n"
    "Usage: hechuan-cli derive [options] FUNCTION X0 [--order 1|2]\n"
    "Computes the first or second derivative of FUNCTION, a calculator formula in x, at\n"
    "x = X0 by Richardson extrapolation of central differences, with an error estimate.\n"
    "  --order 1|2           order of the derivative (default 1)\n"
    "  --angle rad|deg|dms   angle unit: radians, decimal degrees, packed degrees-minutes-seconds\n"
    "  --decimals N          display decimals 0-28 (default 15); only the digits the error\n"
    "                        estimate allows are shown\n"
    "  -h, --help            shows this help\n"
    "Exit status: 0 success, 1 the calculation or the output failed, 2 bad options.\n";

}  // namespace

int runDerive(const QStringList& args, const Streams& io) {
    return runCalculusCommand(args, io, kUsage, 2, {QStringLiteral("order")},
                              [](const CommandLine& cl, const QStringList& ops,
                                 const CalcSettings& st) -> std::variant<CalculusResult, int> {
                                  int order = 1;
                                  for (const QString& value : cl.values(QStringLiteral("order"))) {
                                      if (value == u"1")
                                          order = 1;
                                      else if (value == u"2")
                                          order = 2;
                                      else
                                          return cl.usageError(
                                              QStringLiteral("导数阶数应为 1 或 2"),
                                              QStringLiteral("--order needs 1 or 2"));
                                  }
                                  return derive(ops[0], ops[1], order, st);
                              });
}

}  // namespace hc::cli
