#pragma once
// What the integrate, derive, root and propagate subcommands share: the --angle and
// --decimals options read as eval reads them, the count of operands, and the printing
// of a result.

#include <QStringList>
#include <functional>
#include <variant>

#include "cli/command_line.h"
#include "engine/calc_settings.h"
#include "tools/calculus.h"

namespace hc::cli {

// What one subcommand computes from its operands and the settings the options give: the
// result, or the exit status of a usage error already written through `cl` (one of the
// subcommand's own options did not read).
using CalculusRun = std::function<std::variant<CalculusResult, int>(
    const CommandLine& cl, const QStringList& operands, const CalcSettings& settings)>;

// One calculus subcommand from start to end: declares --angle, --decimals and the
// subcommand's own `options` (each taking a value), parses `args` ("NAME" first),
// requires exactly `operands` operands, then prints the output box text of what `run`
// gives to standard output and its notices to standard error. `usage` is the --help
// text (UTF-8). Exit status 0, 1 when the calculation or the output failed or was
// cancelled, 2 for bad options or operands.
int runCalculusCommand(const QStringList& args, const Streams& io, const char* usage, int operands,
                       const QStringList& options, const CalculusRun& run);

}  // namespace hc::cli
