#pragma once
// hechuan-cli bearing: distances and bearings of a point list read from standard
// input, from one of its points.

#include <QStringList>

#include "cli/command_line.h"

namespace hc::cli {

// `args`: "bearing" then its options. Writes the rows of the distance-and-bearing
// window's output box; its message boxes go to standard error, one line each. Exit
// status 0, 1 when the calculation failed or the output failed, 2 for bad options.
int runBearing(const QStringList& args, const Streams& io);

}  // namespace hc::cli
