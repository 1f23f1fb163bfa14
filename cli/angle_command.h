#pragma once
// hechuan-cli angle: angles converted between radians, decimal degrees and packed
// degrees-minutes-seconds, as the angle conversion window converts them.

#include <QStringList>

#include "cli/command_line.h"

namespace hc::cli {

// `args`: "angle", the options --from and --to, then the values (none: one value per
// line of standard input, blank lines skipped). Writes one converted angle per line;
// the minutes and seconds notices go to standard error. Exit status 0, 1 when a value
// was no number (its line shows 0, as the window does) or the output failed, 2 for
// bad options.
int runAngle(const QStringList& args, const Streams& io);

}  // namespace hc::cli
