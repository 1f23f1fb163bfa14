#pragma once
// "hechuan-cli gk": coordinate conversion of a data text read from standard input, with
// the output block the coordinate conversion window would show.

#include <QStringList>

#include "cli/command_line.h"

namespace hc::cli {

// args[0] is "gk"; reads the data text from io.in and writes the block to io.out, the
// remarks (or the no-data message) to io.err. Returns 0 (converted), 1 (no data, or the
// output could not be written) or 2 (usage error).
int runGk(const QStringList& args, const Streams& io);

}  // namespace hc::cli
