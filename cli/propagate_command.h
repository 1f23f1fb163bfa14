#pragma once
// hechuan-cli propagate: the standard error of a formula in r ... z by first-order propagation.

#include <QStringList>

#include "cli/command_line.h"

namespace hc::cli {

// `args`: "propagate" then its options and operands. Prints the output box text of the
// calculus window; a failure goes to standard error. Exit status 0, 1 when the
// calculation failed or the output failed, 2 for bad options.
int runPropagate(const QStringList& args, const Streams& io);

}  // namespace hc::cli
