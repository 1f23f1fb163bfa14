#pragma once
// The statistics window's operations on texts: the statistics command (data text in,
// rewritten data text and the 5 x 10 result texts out) and the separator choice.

#include <QString>
#include <QStringList>
#include <array>
#include <functional>

#include "engine/notice.h"
#include "tools/statistics.h"

namespace hc {

constexpr int kStatColumns = 5;  // numeric columns shown
constexpr int kStatRows = 10;    // statistics per column

// The separators offered by the window, in order; the first is the default.
const QStringList& statSeparatorChoices();

// Row label captions and tool tips of the ten statistics, top to bottom.
const std::array<QString, kStatRows>& statRowCaptions();
const std::array<QString, kStatRows>& statRowTips();

// The message and title of the space-separator warnings.
QString spaceSeparatorWarning();     // choosing the space
QString spaceSeparatorConversion();  // running with the space
QString separatorWarningTitle();

struct StatsRun {
    QString data;       // the rewritten data text (CR LF line ends)
    QString separator;  // the separator from now on (one character)
    // The space separator was converted: the separator list must show "*".
    bool separatorReset = false;
    // cells[r][c]: statistic r (0 = N ... 9 = coefficient n) of column c (0-4); a
    // column without numbers shows " " in every row.
    std::array<std::array<QString, kStatColumns>, kStatRows> cells;
    Notices notices;
    // Stopped by the caller's cancel flag: nothing else of the run holds.
    bool cancelled = false;
};

// The statistics command. `data`: the data text; `separator`: the current
// separator (one character, or "tab"); `labelCells`: the label-cell count box text
// (a whole number 0-3; anything else means 0); `decimals`: places of the results.
// Resets the calculation state. Time linear in the text; beyond the text and the
// rewritten text, memory for one line (see StatsStream). Throws only std::bad_alloc.
StatsRun runStatistics(const QString& data, const QString& separator, const QString& labelCells,
                       int decimals = 15);

// The same for a worker thread: `cancelled` (when given) is polled every few thousand
// lines and stops the run (StatsRun::cancelled); `progress` (when given) is called with
// the share done, 0-100, when it grows.
struct StatsControl {
    std::function<bool()> cancelled;
    std::function<void(int percent)> progress;
};
StatsRun runStatistics(const QString& data, const QString& separator, const QString& labelCells,
                       int decimals, const StatsControl& control);

// The notice naming the cells that were no number and counted as 0: the first
// kStatNonNumbersListed of `cells` with their line and cell (the cell's place in
// `map`), and `total`, the count of all of them, when more.
constexpr int kStatNonNumbersListed = 10;
QString statNonNumberNotice(const QList<StatTable::Cell>& cells, qsizetype total,
                            const QString& map);

// The notice when data without the chosen separator is read with `to` instead.
QString statSeparatorSwitchNotice(const QString& from, const QString& to);

struct SeparatorChoice {
    QString separator;  // the new separator ("tab" becomes the tab character)
    Notices notices;    // the warning when the space is chosen
};

// Choosing an entry of the separator list.
SeparatorChoice chooseStatSeparator(const QString& entry);

// The whole number in the label-cell box: 0-3, anything else 0.
int statLabelCells(const QString& boxText);

// The result table as text: a header line with the column headings, then one line per
// statistic, the row label (trimmed) and the five cells, tab-separated, each line
// ended by "\n".
QString statResultTable(const StatsRun& run);

}  // namespace hc
