#pragma once
// "hechuan-cli eval": formulas evaluated exactly as the calculate command does.

#include <QString>
#include <QStringList>

namespace hc::cli {

// argv[0] is "eval"; returns the exit status: 0, 1 when a formula failed, 2 on bad
// options.
int runEval(int argc, char** argv);

// What one formula prints: the result after the precision check (or the message the
// result box would show), the whole result box text with `display`, and the status
// text on a line of its own with `status`.
QString evalOutput(const QString& formula, bool display, bool status, bool* failed);

}  // namespace hc::cli
