#pragma once
// hechuan-cli datum: GPS coordinate conversion between datums. --fit estimates the
// transformation parameters from common points; --params applies them to a point list.

#include <QStringList>

#include "cli/command_line.h"

namespace hc::cli {

// `args`: "datum" then its options. Writes what the GPS conversion window's output box
// shows; its message boxes go to standard error. Exit status 0, 1 when nothing could be
// computed (too few or degenerate common points, a bad parameter line, no points) or the
// output failed, 2 for bad options.
int runDatum(const QStringList& args, const Streams& io);

}  // namespace hc::cli
