#pragma once
// hechuan-cli reduce: rangefinder observations read from standard input reduced to
// horizontal distances, height differences, the ellipsoid and the grid.

#include <QStringList>

#include "cli/command_line.h"

namespace hc::cli {

// `args`: "reduce" then its options. Writes what the rangefinder window's output box
// shows; its message boxes go to standard error. Exit status 0, 1 when the input could
// not be computed or the output failed, 2 for bad options.
int runReduce(const QStringList& args, const Streams& io);

}  // namespace hc::cli
