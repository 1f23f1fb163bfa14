#pragma once
// hechuan-cli split: numbers split into their integer part and fraction digits, as
// the decomposition window splits them.

#include <QStringList>

#include "cli/command_line.h"

namespace hc::cli {

// `args`: "split" then the values (none: one value per line of standard input,
// blank lines skipped). Writes "integer part<TAB>fraction part" per value. Exit
// status 0, 1 when a value was no number (it shows 0 and 0) or the output failed, 2
// for bad options.
int runSplit(const QStringList& args, const Streams& io);

}  // namespace hc::cli
