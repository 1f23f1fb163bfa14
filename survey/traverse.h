#pragma once
// Traverses from observed horizontal angles and distances: closed loops, connecting
// traverses between known points and open traverses, checked and adjusted by the
// proportional (Bowditch) rule. The calculation of the theodolite window Form217 and of
// "hechuan-cli traverse".
//
// Input text, one line per point in walking order, fields split by commas:
//     点号, 观测角(度.分秒), 到下一点的边长(米), X(米), Y(米)
// Empty fields may be left out at the end of a line. A first line with coordinates but
// neither angle nor distance is the backsight point that orients the first side; a last
// line like it (connecting traverses) is the foresight point that checks the closing
// bearing. A loop ends with the start point's name again, carrying the angle observed
// there between the last and the first side. Blank lines and lines starting with '#'
// are skipped. X north, Y east; bearings from north through east.

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "engine/notice.h"
#include "survey/plan_sketch.h"

namespace hc {

enum class TraverseType { Loop, Connecting, Open };
enum class AngleSide { Left, Right };

struct TraverseOptions {
    TraverseType type = TraverseType::Connecting;
    AngleSide angles = AngleSide::Left;
    // Allowed angular misclosure ±allowanceSeconds·√n, n the number of adjusted angles.
    double allowanceSeconds = 40;
    // Allowed relative closure 1/relativeAllowance (2000: one part in 2000).
    double relativeAllowance = 2000;
    // Bearing of the first side in decimal degrees, used when there is no backsight point.
    std::optional<double> startBearing;
};

// Survey grades with their angular allowance coefficient (seconds) and relative closure.
struct TraverseGrade {
    QString name;
    double seconds;
    double relative;
};
const std::vector<TraverseGrade>& traverseGrades();

// One line of the input, read.
struct TraverseLine {
    QString name;
    std::optional<double> angle;     // decimal degrees
    std::optional<double> distance;  // metres, to the next point
    std::optional<double> x, y;      // metres
    int lineNumber = 0;              // in the input text, from 1
};

// What the calculation gives for each point of the walk (orientation points excluded).
struct TraverseStation {
    QString name;
    std::optional<double> observed;  // decimal degrees
    double correction = 0;           // seconds, added to the observed angle
    bool checked = false;            // the angle is one of the n of the angular check
    double bearing = 0;              // decimal degrees, of the side to the next point
    double distance = 0;             // metres; 0 at the last point
    double dx = 0, dy = 0;           // increments of the side, metres
    double vx = 0, vy = 0;           // their corrections, metres
    double x = 0, y = 0;             // coordinates, metres (adjusted when adjusted)
};

struct TraverseResult {
    std::vector<TraverseStation> stations;
    std::optional<TraverseLine> backsight, foresight;
    double backsightBearing = 0;   // backsight to first point, decimal degrees
    std::optional<double> fBeta;   // angular misclosure, seconds
    double fBetaAllowed = 0;       // seconds
    int adjustedAngles = 0;        // n
    std::optional<double> fx, fy;  // coordinate misclosures, metres
    double totalLength = 0;        // metres
    bool noOrientation = false;    // start bearing found from the two known ends
    bool angleOver = false, closureOver = false;
    bool adjusted = false;  // corrections applied
    QStringList warnings;   // blunders located, limits exceeded
};

// Reads the input lines. Throws FieldError (text_table.h) naming the line and point on
// a bad angle (minutes or seconds of 60 or more), distance or coordinate.
std::vector<TraverseLine> readTraverseLines(const QString& input);

// Computes and, within the allowances, adjusts the traverse. Throws FieldError naming
// the point when a distance, an angle or known coordinates the type needs are missing.
TraverseResult computeTraverse(const std::vector<TraverseLine>& lines,
                               const TraverseOptions& options);

// The output box text of a result.
QString traverseReport(const TraverseResult& result, const TraverseOptions& options);

struct TraverseRun {
    QString output;   // the output box
    Notices notices;  // message boxes: input errors, misclosures over the allowance
    bool failed = false;
    PlanSketch sketch;  // the computed points; empty when the run failed
};

// The plan sketch of a result: the backsight, the stations in walking order and the
// foresight joined by the traverse line, the first station marked, the points given with
// coordinates as known points. Each point carries the line of `lines` it came from.
PlanSketch traverseSketch(const TraverseResult& result, const std::vector<TraverseLine>& lines);
// Reads, computes and reports; never throws (memory aside).
TraverseRun runTraverse(const QString& input, const TraverseOptions& options);

// Example input of each type, for the window and the help.
QString traverseSample(TraverseType type);

// The window's choices of type, in the order of TraverseType.
QStringList traverseKindNames();

// The window's inputs as they stand: the data text, the type and angle choices (indexes
// into traverseKindNames() and 左角/右角), the allowance coefficient in seconds, the N of
// the relative closure 1/N and the start bearing (packed, may be blank).
struct TraverseTexts {
    QString input;
    int type = 1;
    int angles = 0;
    QString allowance;
    QString relative;
    QString startBearing;
};
// Reads the option texts (a bad one is a failed run with its notice) and runs the
// traverse. Never throws (memory aside).
TraverseRun runTraverseTexts(const TraverseTexts& texts);

}  // namespace hc
