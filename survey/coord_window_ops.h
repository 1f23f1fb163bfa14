#pragma once
// Operations behind the coordinate conversion windows that are not conversions of a
// whole list: what "文本１ ← 文本２" takes back into the input box, and the
// single-point converter, which runs one point through every conversion.

#include <QList>
#include <QString>
#include <optional>

#include "engine/notice.h"
#include "survey/coord_conversion.h"
#include "survey/plan_sketch.h"

namespace hc {

// The lines of the output box `output` that are result rows: without the help text
// `helpText` (wherever it stands whole), the block headings and blank lines. Lines
// end in CR LF; "" when there is no result row.
QString resultRowsOf(const QString& output, const QString& helpText);
// The notice when the output box holds no result row to take back.
QString noResultRowsText();

class CoordLineReader;

// The grid point of one data line (already half-width) read with `reader`, as the
// conversion reads it: XYZ order has the northing first, YXZ the easting. False for a line
// that gives no row, a row without two finite coordinates, and one whose two coordinates
// both lie within ±360 (latitude and longitude, or the zeroed row of a rejected point).
// Sets the name, northing and easting of `point`.
bool gridPointOf(QStringView line, CoordLineReader& reader, AxisOrder order, SketchPoint& point);

// The plan sketch of the grid rows of a coordinate data text read with `separator`
// (as the conversion reads it): XYZ order has the northing first, YXZ the easting.
// Rows gridPointOf leaves out are not drawn, nor rows past `rowLimit` drawn. With
// `firstBlock` the reading stops at the first blank line after a row (the output box holds
// the latest result block first, then the earlier ones and the help). Each point carries
// the line of `text` it was read from.
PlanSketch gridRowsSketch(const QString& text, const QString& separator, AxisOrder order,
                          bool firstBlock = false, qint64 rowLimit = 1000000);

// One point as typed into the single-point converter.
struct SinglePointInput {
    std::optional<ZoneWidth> from;  // the grid it is given in; nothing: latitude/longitude
    QString north;                  // northing x in metres, or latitude d.mmss
    QString east;                   // easting y in metres with the zone prefix, or longitude d.mmss
    QString height;                 // metres; may be empty
    QString ellipsoid = QStringLiteral("北京");    // as the ellipsoid box reads
    QString meridian = QStringLiteral("117度-6");  // as the central-meridian box reads
};

// The point in one form.
struct SinglePointForm {
    std::optional<ZoneWidth> form;  // nothing: latitude/longitude
    QString north;                  // as the conversion writes it
    QString east;
    QString remark;  // the conversion's remark, trimmed ("" when none)
};

struct SinglePointResult {
    // Latitude/longitude, 1.5, 3 and 6 degree grids, in this order; the form the
    // point was given in holds the values as read. Empty when no point was read.
    QList<SinglePointForm> forms;
    QString error;          // "没有发现坐标数据！" when the fields hold no point
    Notices notices;        // of the settings (an invalid meridian), for message boxes
    double meridian = 117;  // the central meridian used, decimal degrees
};

// Converts the point with ZelZuoBiaoZhuanHuan, the operation of the list window, once
// per target form (names off, order X Y Z, separator ",").
SinglePointResult convertSinglePoint(const SinglePointInput& in);

}  // namespace hc
