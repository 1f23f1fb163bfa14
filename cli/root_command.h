#pragma once
// hechuan-cli root: a root of a formula in x between two values.

#include <QStringList>

#include "cli/command_line.h"

namespace hc::cli {

// `args`: "root" then its options and operands. Prints the output box text of the
// calculus window; a failure goes to standard error. Exit status 0, 1 when the
// calculation failed or the output failed, 2 for bad options.
int runRoot(const QStringList& args, const Streams& io);

}  // namespace hc::cli
