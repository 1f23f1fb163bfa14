#pragma once
// The plane through three surveyed points: its equation a*X + b*Y + c*Z + d = 0,
// its attitude (strike, dip direction, dip), the sides of the triangle and a
// reliability index; the calculation of the plane-attitude window Form216 and of
// "hechuan-cli attitude".
//
// Axes: X north, Y east, Z up, in metres. Strike (0 <= strike < 180) and dip direction
// (0 <= dip direction < 360) are azimuths from north through east, the dip (0 ... 90) is counted
// from the horizontal; all three are packed degrees-minutes-seconds (d.mmss...).

#include <QString>

#include "engine/notice.h"
#include "engine/number.h"
#include "survey/distance_bearing.h"
#include "survey/plan_sketch.h"
#include "survey/point_list.h"

namespace hc {

struct PlaneAttitude {
    // Plane coefficients; c is 1 for a plane that is not vertical, 0 for a vertical
    // one. All four 0 after a failure.
    Num a, b, c, d;
    Num strike, dipDirection, dip;  // packed angles, 6 decimals at most
    Num l12, l23, l13;              // side lengths, 5 decimals
    Num reliability;                // 0 (a straight line) ... 100 (equilateral), 6 decimals
    Notices notices;                // the degenerate-input message or the d-precision warning
};

// The three degenerate-input messages and the d-precision warning.
QString identicalPointsMessage();
QString twoIdenticalPointsMessage();
QString collinearPointsMessage();
QString imprecisePlaneMessage();

// ZelMianTiChanZhuang: the plane through (x1, y1, z1), (x2, y2, z2), (x3, y3, z3)
// (number values, an empty text counting as 0; each rounded to 5 decimals first).
// Returns true with every field of `out` set. Returns false, with a = b = c = d = 0,
// and one of the three degenerate messages in out.notices; the d-precision warning
// goes there too and the calculation goes on. Throws DecimalError when a value leaves the Decimal
// range (huge coordinates, or a plane so steep or so flat that 8000 / a or its square does not
// fit).
bool ZelMianTiChanZhuang(const Num& x1, const Num& y1, const Num& z1, const Num& x2, const Num& y2,
                         const Num& z2, const Num& x3, const Num& y3, const Num& z3,
                         PlaneAttitude& out);

// The opening lines of the report, naming the three points.
QString attitudeHeader(const QString& name1, const QString& name2, const QString& name3);
// The whole report after a successful ZelMianTiChanZhuang: header, coefficients,
// attitude, side lengths, reliability and the closing remarks (CR LF line ends).
QString attitudeReport(const QString& header, const PlaneAttitude& p);

// The output text of a calculation that failed, after the header (if any).
QString attitudeFailureText();
// The message box of a point list with fewer than three rows.
QString tooFewPointsMessage();

// What the window shows after a click of its calculate button.
struct AttitudeRun {
    QString input;    // new point list text (Text1)
    QString start;    // new starting point name (Combo2 text): "0" when no row had it
    QString output;   // the report (Text2), or the failure text
    Notices notices;  // message boxes to show, in order
    bool failed = false;
    // The strike and dip symbol of the plane, at the middle of its three points (plane
    // metres); nothing when the run failed or the plane is level.
    std::optional<StrikeSymbol> symbol;
};

// Reads `input` in grid mode; the three points are the row named `start` and the
// next two rows (the list taken as circular), or the point "0" at (0, 0, 0) with
// rows 1 and 2 when no row has that name. Never throws.
AttitudeRun runPlaneAttitude(const QString& input, const QString& start);

// The same over rows that come one at a time: walks them once, keeping only the
// rows it may need, fills run.start, run.output and run.failed and appends the
// calculation's notices to run.notices (the reading's own notices are the walk's
// to tell). Never throws but what the walk throws.
void planeAttitudeOfRows(const PointRowWalk& walk, const QString& start, AttitudeRun& run);

}  // namespace hc
