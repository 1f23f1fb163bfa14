#pragma once
// Input and output of the point-list subcommands (bearing, attitude).

#include <QString>
#include <cstdio>
#include <optional>

#include "cli/command_line.h"
#include "engine/notice.h"

namespace hc::cli {

// Standard input as the text box would hold it: every line ended by CR LF.
QString readPointListText(std::FILE* in);
// The same under `encoding`; nothing when a line was refused (its message went to `err`).
std::optional<QString> readPointListText(std::FILE* in, InputEncoding encoding, std::FILE* err);
// Writes the output box text as it stands (CR LF line ends, as the window holds
// it) to `out`, and each notice as one line to `err`.
void writeBoxText(std::FILE* out, std::FILE* err, const QString& box, const Notices& notices);

}  // namespace hc::cli
