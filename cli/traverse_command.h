#pragma once
// hechuan-cli traverse: a traverse read from standard input, checked and adjusted.

#include <QStringList>
#include <optional>

#include "cli/command_line.h"

namespace hc::cli {

// `args`: "traverse" then its options. Writes what the theodolite window's output box
// shows; its message boxes go to standard error, one line each. Exit status 0, 1 when
// the input could not be computed or the output failed, 2 for bad options.
int runTraverse(const QStringList& args, const Streams& io);

// Reads the whole of `in` as text, line by line (refused lines reported to `err` read
// as blank). Nothing, with the message written to `err`, when there are more than
// kMaxDataLines lines or more than kMaxDataChars characters: reading stops there.
inline constexpr qsizetype kMaxDataChars = qsizetype{16} << 20;
// `refused` counts the lines that could not be decoded: the command then exits 1 after
// its output, as the other subcommands do.
std::optional<QString> readAllLines(std::FILE* in, InputEncoding encoding, std::FILE* err,
                                    long long& refused);

}  // namespace hc::cli
