#pragma once
// hechuan-cli stats: the statistics of a data text read from standard input.

#include <QStringList>

#include "cli/command_line.h"

namespace hc::cli {

// `args`: "stats" then its options. Writes the rewritten data text, an empty line
// and the table of the ten statistics of the five columns; notices go to standard
// error. Exit status 0, 1 when no column holds a number or the output failed, 2
// for bad options.
int runStats(const QStringList& args, const Streams& io);

}  // namespace hc::cli
