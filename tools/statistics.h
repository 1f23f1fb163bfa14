#pragma once
// Statistics over a data text: the splitter that cuts the text into rows of nine
// field slots, the collector that rewrites the numeric cells and fills one list per
// slot, and the eight statistics over one list.
//
// Slots are numbered 1-9 as in a column map ("123456" puts cell 1 into slot 1,
// cell 2 into slot 2 ...). Slots 1, 8 and 9 hold labels; 2-7 hold numbers.

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

#include "engine/num.h"

namespace hc {

// The nine fields of one data line; slot s is at index s - 1.
using StatRow = std::array<QString, 9>;

// The row table of the splitter and the column lists of the collector.
struct StatTable {
    QList<StatRow> rows;               // one per line
    std::array<QStringList, 9> lists;  // non-blank cells of slot s at lists[s - 1]
    std::array<int, 9> widths{};       // largest display width in each list
    // For numeric slots: the value of each list entry when it is a Decimal (the
    // value the entry's text reads back as), else the empty text.
    std::array<QList<Num>, 9> values;
    // Numeric cells that are no number (or beyond the double range) and were read
    // as 0: their row (1-based, the line of the data text) and slot, in text order.
    struct Cell {
        int row;
        int slot;
        QString text;  // the cell as it was, trimmed
    };
    QList<Cell> nonNumbers;

    const QStringList& list(int slot) const { return lists[slot - 1]; }
    int count(int slot) const { return int(lists[slot - 1].size()); }
    int width(int slot) const { return widths[slot - 1]; }
};

// The separator as the splitter uses it: "", "tab" in any letter case and texts of
// more than one character become the tab character; U+3000 becomes a space.
QString normalizedStatSeparator(const QString& separator);

// The column map for `labelCells` leading label cells (0-3; any other number as 0).
QString statColumnMap(int labelCells);

// True for a cell that counts as empty: after trimming spaces it is empty or starts
// with a character below the space.
bool isBlankCell(QStringView cell);

// Splits `text` (lines ended by CR or CR LF; a lone LF is an ordinary character)
// into table.rows, one row per CR, each cell stored untrimmed in the slot that the
// column map names for its position; cells beyond the map are dropped. Resets the
// calculation state. Returns the normalised separator. Never throws.
QString ZelFenJieShuJu(const QString& text, const QString& separator, const QString& columnMap,
                       StatTable& table);

// Reads table.rows: rewrites non-blank numeric cells (slots 2-7) as canonical number
// text (a cell that is not a number becomes "0"), fills table.lists and
// table.widths, and returns the data text rebuilt from the slots of the map (an
// empty map means "123456789"), right-aligned when `align` is set and the separator
// is not a space, each line ended by CR LF. Resets the calculation state. Never
// throws.
QString ZelZhengLiShuJu(StatTable& table, const QString& separator, const QString& columnMap,
                        bool align);

// Statistics rows 2-10 of one column (minimum, maximum, mean, sum, SD, variance,
// coefficient, variance n, coefficient n) as shown with `decimals` places (0-28).
// Sums, mean and variances are exact rationals of the entries' number texts, square
// roots are taken to 40 digits beyond those shown; each figure is then rounded
// once, as the number engine would show it: to `decimals` places where the number
// reader keeps a Decimal (magnitudes from 1E-28 below 7.92281625142642E+28; fewer
// places where 29 digits do not reach), with 15 significant digits as a double
// beyond, and statNotShownText() beyond the double range. `list`: the
// number texts of the collector (no blank entries); empty gives " " everywhere.
std::array<QString, 9> exactColumnStatistics(const QStringList& list, int decimals);

// The text of a figure beyond the double range.
QString statNotShownText();

// Statistics of the first n entries of `list` (number texts; an entry missing or
// blank reads as 0 and is left out of the sums). Each returns the Decimal 0 when
// n <= 0 and skips a step that fails (overflow, a value beyond the Decimal range),
// returning what it has built. Never throw.
Num ZelHeJiShu(int n, const QStringList& list);       // sum
Num ZelZuiDaZhi(int n, const QStringList& list);      // maximum
Num ZelZuiXiaoZhi(int n, const QStringList& list);    // minimum
Num ZelPingJunZhi(int n, const QStringList& list);    // mean
Num ZelJunFangCha(int n, const QStringList& list);    // standard deviation, divisor n - 1
Num ZelJunFangChaN(int n, const QStringList& list);   // standard deviation, divisor n
Num ZelBianYiXiShu(int n, const QStringList& list);   // SD / mean; 1E+28 for mean 0
Num ZelBianYiXiShuN(int n, const QStringList& list);  // SDn / mean; 1E+28 for mean 0

// One list read once, for computing several statistics without reading the texts
// again; the routines above are these over StatValues(n, list).
class StatValues {
public:
    StatValues(int n, const QStringList& list);
    // The same, taking the Decimal values the collector read already (`values`
    // parallel to `list`, see StatTable::values).
    StatValues(int n, const QStringList& list, const QList<Num>& values);

    int n() const { return n_; }
    Num sum() const;
    Num maximum() const;
    Num minimum() const;
    Num mean() const;
    // Standard deviation with divisor n - 1 (`sample`) or n, around `mean`.
    Num deviation(const Num& mean, bool sample) const;
    // The sum of the squared deviations from `mean`, and the standard deviation it
    // gives with `divisor` (0 when the divisor is below 1).
    Num squaredDeviations(const Num& mean) const;
    static Num deviation(const Num& squaredDeviations, int divisor);
    // deviation / mean as the coefficient routines define it.
    static Num coefficient(const Num& deviation, const Num& mean);

private:
    int n_;
    QList<Num> values_;
    QList<bool> blank_;
};

}  // namespace hc
