#pragma once
// "hechuan-cli eval": formulas evaluated exactly as the calculate command does.

#include <QString>
#include <QStringList>

#include "cli/command_line.h"
#include "engine/calc_settings.h"
#include "engine/notice.h"

namespace hc::cli {

// args[0] is "eval"; formulas come from the operands, else from io.in line by line.
// Returns the exit status: 0, 1 when a formula failed or the output could not be
// written, 2 on bad options.
int runEval(const QStringList& args, const Streams& io);

// What one formula prints with `settings`: the result after the precision check (or
// the message the result box would show), the whole result box text with `display`,
// and the status text on a line of its own with `status`. The notices of the
// calculation go to `notices`, for standard error.
QString evalOutput(const QString& formula, const CalcSettings& settings, bool display, bool status,
                   bool* failed, Notices* notices);

}  // namespace hc::cli
