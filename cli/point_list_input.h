#pragma once
// Input and output of the point-list subcommands (bearing, attitude).

#include <QString>
#include <cstdio>

#include "engine/notice.h"

namespace hc::cli {

// Standard input as the text box would hold it: every line ended by CR LF.
QString readPointListText(std::FILE* in);
// Writes the output box text as it stands (CR LF line ends, as the window holds
// it) to `out`, and each notice as one line to `err`.
void writeBoxText(std::FILE* out, std::FILE* err, const QString& box, const Notices& notices);

}  // namespace hc::cli
