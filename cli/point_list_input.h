#pragma once
// Input and output of the point-list subcommands (bearing, attitude).
//
// Standard input is read as the text a user would paste into the window's point
// list box: its lines joined by CR LF, with a line end after the last line only
// when the input has one. The lines are cleaned and read one at a time, so that a
// list of any length is read in bounded memory; the input is first copied to a
// temporary file, which can be read again.

#include <QString>
#include <cstdio>

#include "cli/command_line.h"
#include "engine/notice.h"
#include "survey/distance_bearing.h"
#include "survey/point_list.h"

namespace hc::cli {

class PointListInput {
public:
    // Copies `in` to a temporary file, each line decoded under `encoding` and kept as
    // UTF-8; error() tells when that failed, a line is longer than kMaxLineBytes bytes
    // (the copy then stops there) or lines could not be decoded (each one was named on
    // `err` when given).
    explicit PointListInput(std::FILE* in, InputEncoding encoding = InputEncoding::Auto,
                            std::FILE* err = nullptr);
    ~PointListInput();
    PointListInput(const PointListInput&) = delete;
    PointListInput& operator=(const PointListInput&) = delete;

    // Empty, or why the input could not be kept (Chinese, one line).
    const QString& error() const { return error_; }

    // Calls `visit` with every row, in order, as ZelZhengLiDianBiao reads the
    // pasted text in `mode`. The first walk keeps the reading's notices (notices())
    // when it ends; later walks read quietly.
    void walk(PointListMode mode, const PointRowVisitor& visit);
    // The notices of the first complete walk; none before it.
    const Notices& notices() const { return notices_; }
    // walk() as a PointRowWalk.
    PointRowWalk walker(PointListMode mode);

private:
    void copy(std::FILE* in);

    std::FILE* spool_ = nullptr;
    char lastOfChunk_ = 0;
    bool endsWithLineBreak_ = false;
    int walks_ = 0;
    QString error_;
    Notices notices_;
};

// The message when standard input cannot be kept for reading.
QString spoolFailureMessage();
// The message refusing standard input of which `lines` lines could not be decoded.
QString undecodedInputMessage(qint64 lines);
// The message refusing standard input for its line `line` (from 1).
QString longLineMessage(qint64 line);

// Writes each notice as one line to `err`, then the output box text as it stands
// (CR LF line ends, as the window holds it) to `out`.
void writeBoxText(std::FILE* out, std::FILE* err, const QString& box, const Notices& notices);

}  // namespace hc::cli
