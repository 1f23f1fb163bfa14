#pragma once
// hechuan-cli area: plane and ellipsoidal areas of the parcels of a point list read
// from standard input.

#include <QStringList>

#include "cli/command_line.h"

namespace hc::cli {

// `args`: "area" then its options. Writes what the area window's output box shows;
// its message boxes go to standard error, one line each. Exit status 0, 1 when no
// parcel could be computed or the output failed, 2 for bad options.
int runArea(const QStringList& args, const Streams& io);

}  // namespace hc::cli
