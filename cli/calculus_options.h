#pragma once
// What the integrate, derive, root and propagate subcommands share: the --angle and
// --decimals options read as eval reads them, and the printing of a result.

#include <variant>

#include "cli/command_line.h"
#include "engine/calc_settings.h"
#include "tools/calculus.h"

namespace hc::cli {

// Declares --angle and --decimals on `cl`.
void addCalculusOptions(CommandLine& cl);

// The settings the parsed options give (radians and 15 decimals by default), or the
// exit status of the usage error already written.
std::variant<CalcSettings, int> calculusSettings(const CommandLine& cl);

// Prints the output box text to standard output and the notices to standard error;
// returns the exit status (1 when the calculation failed or was cancelled).
int printCalculus(const CalculusResult& r, const CommandLine& cl, const Streams& io);

}  // namespace hc::cli
