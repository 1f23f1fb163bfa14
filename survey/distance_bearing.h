#pragma once
// Distance and bearing of every point of a point list from one origin point: the
// calculation of the distance-and-bearing window Form214 and of
// "hechuan-cli bearing".
//
// Axes: X north, Y east, Z (H) up, in metres. Horizontal angles are azimuths from
// north through east, 0 ... 360; vertical angles are counted from the horizontal,
// positive upwards. Angles are packed degrees-minutes-seconds (d.mmss...).

#include <QList>
#include <QString>
#include <QStringList>

#include "engine/notice.h"
#include "engine/number.h"
#include "survey/point_list.h"

namespace hc {

struct PointBearing {
    QString name;
    Num horizontalDistance;  // metres, rounded to 3 decimals
    Num azimuth;             // packed angle, rounded to 6 decimals
    Num slopeDistance;       // metres, rounded to 3 decimals
    Num verticalAngle;       // packed angle, signed, rounded to 6 decimals
};

// The four results of the point (x, y, z) seen from (x0, y0, z0); the differences
// are exact, square roots and arctangents are taken on doubles. Throws DecimalError
// when a value leaves the Decimal range (coordinates near 1E+28, for example).
PointBearing bearingFrom(const Decimal& x0, const Decimal& y0, const Decimal& z0, const Decimal& x,
                         const Decimal& y, const Decimal& z);

// The message box text of a failed calculation; the output box then holds one space.
QString bearingFailureMessage();

// What the window shows after a click of its calculate button.
struct BearingRun {
    QString input;   // new point list text (Text1)
    QString origin;  // new origin name (Combo2 text): "0" when no row had the name
    // Result rows (Text2): name, horizontal distance, azimuth, slope distance and
    // vertical angle, every column right-aligned in its widest text, columns joined
    // by " ,", each row ended by CR LF; " " after a failure.
    QString output;
    Notices notices;  // message boxes to show, in order
    bool failed = false;
};

// Reads `input` in `mode`, takes the first row named `origin` as the origin
// ((0, 0, 0) named "0" when none is) and computes every row, the origin's own row
// included. A value a row lacks counts as 0. Never throws.
BearingRun runDistanceBearing(const QString& input, const QString& origin, PointListMode mode);

// The origin combo box entries for the current point list text ("0", then every
// row's name) and the removal notices of reading it. Never throws.
struct PointNameChoices {
    QStringList entries;
    Notices notices;
};
PointNameChoices pointNameChoices(const QString& input, PointListMode mode);

}  // namespace hc
