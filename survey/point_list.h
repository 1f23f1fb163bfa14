#pragma once
// The point list text of the distance-and-bearing and plane-attitude windows: one
// point a line, fields split by commas: an optional point name, X, Y, H (height) and
// an optional fifth value. ZelZhengLiDianBiao is its one reader.

#include <QList>
#include <QString>
#include <QStringList>

#include "engine/notice.h"
#include "engine/number.h"

namespace hc {

// 1: grid mode, each line starts with a point name ("坐标数据为公里网--米").
// 0: geographic mode, no name field, points are named by their row number
// ("坐标数据为经纬度").
enum class PointListMode { Geographic = 0, Grid = 1 };

struct PointRow {
    // Grid mode: the first field without leading and trailing spaces; geographic
    // mode: the row number. Empty when the line had no name.
    QString name;
    // Number values as ZelShuZhuanShu reads the fields ("0" for a text that is no
    // number); the empty text when the line had no such field.
    Num x, y, h, extra;
};

// The rows of one point list text, numbered from 1 (rows[0] is row 1). Every line
// is a row, blank lines included.
struct PointList {
    QList<PointRow> rows;

    int rowCount() const { return static_cast<int>(rows.size()); }
    // Row number (1 ...) of the first row whose name equals `name` exactly, when that
    // name is not empty; 0 otherwise.
    int findName(const QString& name) const;
};

struct PointListReading {
    // The points re-laid-out in aligned columns (geographic mode: without the row
    // numbers, so that the text reads back the same), to be written back into the input
    // box; the input itself when it is shorter than 2 characters or unreadable.
    QString text;
    PointList points;
    Notices notices;             // PointListNotes of the reading
    qint64 notANumberCount = 0;  // fields that are no number and read as 0
};

// The removal message of the cleaning step.
QString uselessCharacterMessage();

// What one reading of a point list tells the user, kept in bounded memory however
// long the list: one notice of the removed characters (the first few distinct ones
// and how many were removed) and one of the fields that are no number and read as
// 0 (the first few by row and column, and how many there were).
class PointListNotes {
public:
    static constexpr int kShown = 5;  // removed characters or bad fields named

    void removed(char32_t c);
    // `row` and `column` count from 1; `text` is the field without its spaces.
    void notANumber(qint64 row, int column, QStringView text);
    // The notices, removed characters first; none when nothing happened.
    Notices notices() const;
    qint64 notANumberCount() const { return badCount_; }

private:
    qint64 removedCount_ = 0;
    QList<char32_t> removedShown_;  // the first distinct ones, one more to tell "more"
    qint64 badCount_ = 0;
    QStringList badShown_;
};

// Cleans and reads a point list one line at a time; ZelZhengLiDianBiao and the
// command line's streaming readers both use it, so that they read alike.
class PointRowReader {
public:
    explicit PointRowReader(PointListMode mode) : mode_(mode) {}

    // Appends `raw` to `out` with full-width and look-alike punctuation mapped to
    // ASCII and every character that belongs to no number or name removed (and
    // noted).
    void clean(QStringView raw, QString& out);
    // The next row, from one cleaned line without its line break: fields split at
    // commas and stored by the mode. A number field goes through ZelShuZhuanShu; one
    // that is no number reads as "0" and is noted (notes()).
    PointRow read(QStringView cleaned);
    qint64 rowsRead() const { return rows_; }
    const PointListNotes& notes() const { return notes_; }

private:
    Num number(QStringView field, int column);

    PointListMode mode_;
    qint64 rows_ = 0;
    PointListNotes notes_;
};

// Cleans `text` (full-width and look-alike punctuation to ASCII, other characters
// that belong to no number or name removed), reads it into a point list and lays
// it out again, with the reading's notices (PointListNotes); number fields go
// through ZelShuZhuanShu. Never throws.
PointListReading ZelZhengLiDianBiao(const QString& text, PointListMode mode);

// The value of a coordinate field as a Decimal; an absent field counts as 0.
// Throws DecimalError for a double outside the Decimal range.
Decimal coordinateValue(const Num& v);

// The entries of the windows' point-name combo box: "0", then the name of every row
// in order (blank rows give empty entries).
QStringList pointNameEntries(const PointList& points);

}  // namespace hc
