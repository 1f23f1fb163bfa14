#pragma once
// hechuan-cli regress: the linear regression of a data text read from standard input.

#include <QStringList>

#include "cli/command_line.h"

namespace hc::cli {

// `args`: "regress" then its options. Writes the text of the regression window's
// output box; notices (rows left out, a separator switched) go to standard error.
// Exit status 0, 1 when no fit could be made (the reason on standard error) or the
// output failed, 2 for bad options.
int runRegress(const QStringList& args, const Streams& io);

}  // namespace hc::cli
