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
    // The points re-laid-out in aligned columns, to be written back into the input
    // box; the input itself when it is shorter than 2 characters or unreadable.
    QString text;
    PointList points;
};

// The removal message of the cleaning step.
QString uselessCharacterMessage();

// Cleans `text` (full-width and look-alike punctuation to ASCII, other characters
// that belong to no number or name removed), reads it into a point list and lays
// it out again. Each removed character records the removal notice in the current
// log (calcLog()), in text order; number fields go through ZelShuZhuanShu, which
// reports a field that is no number there. Never throws.
PointListReading ZelZhengLiDianBiao(const QString& text, PointListMode mode);

// The value of a coordinate field as a Decimal; an absent field counts as 0.
// Throws DecimalError for a double outside the Decimal range.
Decimal coordinateValue(const Num& v);

// The entries of the windows' point-name combo box: "0", then the name of every row
// in order (blank rows give empty entries).
QStringList pointNameEntries(const PointList& points);

}  // namespace hc
