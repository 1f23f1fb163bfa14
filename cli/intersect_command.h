#pragma once
// hechuan-cli intersect: points fixed by forward or side intersection or by resection.

#include <QStringList>

#include "cli/command_line.h"

namespace hc::cli {

// `args`: "intersect" then its options. Writes what the theodolite window's output box
// shows for an intersection; warnings go to standard error. Exit status 0, 1 when the
// input could not be computed or the output failed, 2 for bad options.
int runIntersect(const QStringList& args, const Streams& io);

}  // namespace hc::cli
