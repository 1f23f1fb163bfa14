#pragma once
// hechuan-cli base: number texts converted between bases 2, 8, 10 and 16 through
// binary, as the base window converts its data boxes when the base changes.

#include <QStringList>

#include "cli/command_line.h"

namespace hc::cli {

// `args`: "base", the options --from and --to (2, 8, 10 or 16), then the values (none:
// one value per line of standard input, blank lines skipped). Writes one converted
// text per line ("-1" for a value that failed); the conversion messages go to
// standard error. Exit status 0, 1 when a conversion failed or the output failed, 2
// for bad options.
int runBase(const QStringList& args, const Streams& io);

}  // namespace hc::cli
