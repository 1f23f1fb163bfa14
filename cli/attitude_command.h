#pragma once
// hechuan-cli attitude: the plane through three points of a point list read from
// standard input, with its strike, dip direction and dip.

#include <QStringList>

#include "cli/command_line.h"

namespace hc::cli {

// `args`: "attitude" then its options. Writes the plane-attitude window's report;
// its message boxes go to standard error, one line each. Exit status 0, 1 when the
// window would show its failure text or the output failed, 2 for bad options.
int runAttitude(const QStringList& args, const Streams& io);

}  // namespace hc::cli
