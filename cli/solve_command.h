#pragma once
// hechuan-cli solve: a system of linear equations solved exactly, printing what the
// equations window's output box shows.

#include <QStringList>

#include "cli/command_line.h"

namespace hc::cli {

// `args`: "solve" and the options of hechuan-cli matrix; the system comes from standard
// input (the augmented matrix, one row per line, or one equation per line). Exit
// status 0, 1 when the input failed (the reason on standard error) or the output
// failed, 2 for bad options.
int runSolve(const QStringList& args, const Streams& io);

}  // namespace hc::cli
