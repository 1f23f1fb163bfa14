#pragma once
// hechuan-cli matrix: the exact matrix operations of the matrix window, printing what
// its output box shows.

#include <QStringList>

#include "cli/command_line.h"
#include "engine/calc_settings.h"
#include "tools/rational_matrix.h"

namespace hc::cli {

// `args`: "matrix", OP, then A's file and, for add, sub and mul, B's file ("-" is
// standard input); for scale and power the second operand is the number k or n itself.
// Options --fractions, --decimals N, --angle rad|deg|dms, --separator C, --encoding.
// Writes the result text; exit status 0, 1 when the input or the operation failed
// (the reason on standard error) or the output failed, 2 for bad options.
int runMatrix(const QStringList& args, const Streams& io);

// Shared with hechuan-cli solve: its help text; the options --fractions, --decimals,
// --angle, --separator and --encoding declared and read (a usage error's exit status
// when one is bad); and the text of a stream, read up to a line past the largest
// matrix, or nothing when a line of it could not be decoded (its message is then on
// `err`): a matrix without that row would be a different one.
QString solveHelp();
void declareOptions(CommandLine& cl);
std::optional<int> readOptions(const CommandLine& cl, CalcSettings& settings, ValueStyle& style,
                               QString& separator);
std::optional<QString> readText(std::FILE* in, InputEncoding encoding, std::FILE* err);

}  // namespace hc::cli
