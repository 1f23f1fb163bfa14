#pragma once
// Distance and bearing of every point of a point list from one origin point: the
// calculation of the distance-and-bearing window Form214 and of
// "hechuan-cli bearing".
//
// Grid mode: X north, Y east, Z (H) up, in metres. Geographic mode: X the latitude,
// Y the longitude (packed degrees, north and east positive), H the height in metres;
// distance and azimuth are those of the geodesic on the chosen ellipsoid.
// Horizontal angles are azimuths from north through east, 0 <= azimuth < 360;
// vertical angles are counted from the horizontal, positive upwards. Angles are
// packed degrees-minutes-seconds (d.mmss...) with fewer than 60 minutes and seconds.

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

#include "engine/notice.h"
#include "engine/number.h"
#include "survey/point_list.h"
#include "survey/survey_settings.h"

namespace hc {

struct PointBearing {
    QString name;
    Num horizontalDistance;  // metres, rounded to 3 decimals
    Num azimuth;             // packed angle, rounded to 6 decimals
    Num slopeDistance;       // metres, rounded to 3 decimals
    Num verticalAngle;       // packed angle, signed, rounded to 6 decimals
};

// The four results of the point (x, y, z) seen from (x0, y0, z0), grid mode; the
// differences are exact, square roots and arctangents are taken on doubles. Throws
// DecimalError when a value leaves the Decimal range (coordinates near 1E+28, for
// example).
PointBearing bearingFrom(const Decimal& x0, const Decimal& y0, const Decimal& z0, const Decimal& x,
                         const Decimal& y, const Decimal& z);

// The same for geographic points: latitude and longitude packed (d.mmss...),
// heights in metres; the horizontal distance and azimuth are those of the geodesic
// from the origin on the ellipsoid of `datum`. Throws DecimalError for a latitude
// beyond ±90° or a value out of range.
PointBearing geodesicBearingFrom(const Decimal& lat0, const Decimal& lon0, const Decimal& z0,
                                 const Decimal& lat, const Decimal& lon, const Decimal& z,
                                 Datum datum);

// The message box text of a failed calculation; the output box then holds one space.
QString bearingFailureMessage();

// The column heading above the result rows in each mode.
QString bearingHeading(PointListMode mode);

struct BearingOptions {
    PointListMode mode = PointListMode::Grid;
    Datum datum = Datum::Beijing1954;  // geographic mode only
};

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

// Reads `input` in the options' mode, takes the first row named `origin` as the
// origin ((0, 0, 0) named "0" when none is) and computes every row, the origin's
// own row included. A value a row lacks counts as 0. Never throws.
BearingRun runDistanceBearing(const QString& input, const QString& origin,
                              const BearingOptions& options);
inline BearingRun runDistanceBearing(const QString& input, const QString& origin,
                                     PointListMode mode) {
    return runDistanceBearing(input, origin, BearingOptions{mode, Datum::Beijing1954});
}

// ---- The same calculation over rows that come one at a time ----------------

using PointRowVisitor = std::function<void(const PointRow&)>;
// Calls the visitor with every row of the list, in order; called more than once.
using PointRowWalk = std::function<void(const PointRowVisitor&)>;
// One result row: name, horizontal distance, azimuth, slope distance, vertical angle.
using BearingTexts = std::array<QString, 5>;

// Walks the rows twice: once to find the origin (the visitor never throws), then to
// compute every row and hand its texts to `each`. Returns the origin name used ("0" when no
// row had `origin`) and appends the calculation's notices (a packed angle out of range, for
// example) to `notices`, also when it throws. Throws DecimalError when a value leaves the
// range, as bearingFrom does.
QString bearingRows(const PointRowWalk& walk, const QString& origin, const BearingOptions& options,
                    const std::function<void(const BearingTexts&)>& each, Notices& notices);

// The origin combo box entries for the current point list text ("0", then every
// row's name) and the notices of reading it. Never throws.
struct PointNameChoices {
    QStringList entries;
    Notices notices;
};
PointNameChoices pointNameChoices(const QString& input, PointListMode mode);

}  // namespace hc
