#pragma once
// hechuan-cli logic: one calculation of the base window, arithmetic or bitwise, on two
// operands written in base 2, 8, 10 or 16.

#include <QStringList>

#include "cli/command_line.h"

namespace hc::cli {

// `args`: "logic", the option --base (2, 8, 10 or 16; default 10), then X OP Y (or
// OP Y for 非/not, which reads data 2 only). OP is one of 加 减 乘 除 幂 余 与 或 非 异或
// 与非 或非 or add sub mul div pow mod and or not xor nand nor. Writes the window's
// result text; conversion messages and the long-result warning go to standard error.
// Exit status 0, 1 when the result is one of the window's error texts or the output
// failed, 2 for bad options or operands.
int runLogic(const QStringList& args, const Streams& io);

}  // namespace hc::cli
