#pragma once
// The statistics command over a data text that arrives line by line, for tables of
// any length: the same rewritten rows, statistics and notices as runStatistics, in
// time linear in the text and memory bounded by the longest line (the rewritten rows
// wait for the column widths in a spool that moves to a temporary file when large).
//
// Use one StatsStream on one thread: it installs its own calculation log for its
// lifetime.

#include <QString>
#include <QStringView>
#include <cstddef>
#include <functional>
#include <memory>

#include "tools/statistics_command.h"

namespace hc {

class StatsStream {
public:
    // `separator`, `labelCells` and `decimals` as for runStatistics.
    StatsStream(const QString& separator, const QString& labelCells, int decimals = 15);
    ~StatsStream();
    StatsStream(const StatsStream&) = delete;
    StatsStream& operator=(const StatsStream&) = delete;

    // One line of the data text, without its line break (CR, CR LF or, read from a
    // file, LF). Throws std::bad_alloc when the spool can neither grow in memory nor be
    // written to a temporary file.
    void addLine(QStringView line);
    // Lines given so far.
    long long lines() const;

    // Ends the input and returns the run: separator, notices and result cells as
    // runStatistics gives them, with `data` left empty (see writeRows). Call once.
    // `cancelled`, when given, is polled between rows; the run is then incomplete.
    StatsRun finish(const std::function<bool()>& cancelled = {});

    // After finish: writes the rewritten, aligned data text as UTF-8 through `write`
    // (in chunks), `lineEnd` after every row. Stops and returns false when `write`
    // returns false or `cancelled` returns true.
    bool writeRows(const std::function<bool(const char*, std::size_t)>& write, const char* lineEnd,
                   const std::function<bool()>& cancelled = {});

private:
    struct State;
    std::unique_ptr<State> d_;
};

}  // namespace hc
