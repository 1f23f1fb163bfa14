#pragma once
// The GPS coordinate conversion as operations on texts: fitting datum transformation
// parameters from common points and applying parameters to a point list. The window
// FormGps and `hechuan-cli datum` both call these and show the same output text.
//
// Point texts: one point a line, "name, X, Y[, H]" split by commas (full-width
// punctuation accepted); on a grid side X is the northing and Y the easting with the zone
// prefix (metres), on a latitude/longitude side X is the latitude and Y the longitude in
// packed degrees d.mmss...; H in metres (0 when missing). Blank lines are skipped.

#include <QList>
#include <QString>
#include <QStringList>

#include "engine/notice.h"
#include "survey/datum_transform.h"
#include "survey/plan_sketch.h"

namespace hc {

struct NamedPoint {
    QString name;
    DatumPoint point;  // latitude and longitude in decimal degrees
    long long line = 0;
};

struct DatumPointsReading {
    QList<NamedPoint> points;
    QStringList problems;  // "第 3 行：……", one per line not read
};

// Reads a point text of a side in `geographic` form or grid form. At most `rowLimit`
// points are read; the rest are reported once. `firstLine` is the number of the text's
// first line in the messages (a reader of a text in pieces passes where each starts).
DatumPointsReading readDatumPoints(const QString& text, bool geographic,
                                   long long rowLimit = 1000000, long long firstLine = 1);
// The notice of the lines not read: the first few, one a line, and how many in all.
QString unreadLinesText(const QStringList& problems, long long count);

// Splits the common-point text of the command line at its first line of "=" signs:
// the source points before, the target points after. False when there is no such line.
bool splitCommonPoints(const QString& text, QString& source, QString& target);

struct DatumFitSettings {
    CoordSystem from;
    CoordSystem to;
    DatumModel model = DatumModel::Seven;
    HeightSurface height = HeightSurface::None;  // four parameters only
};

struct DatumFitRun {
    bool ok = false;
    DatumParameters parameters;
    QString parameterLine;  // parametersText(), for the parameter box
    QString output;         // parameters, statistics and the residual table
    Notices notices;
    // The common points in the target system with their residuals (north, east) as
    // exaggerated vectors. A grid target is drawn in its grid metres; a latitude and
    // longitude target on a local plane, metres north and east of the points' middle.
    // Each point carries its line of the source text. Empty when the fit failed.
    PlanSketch sketch;
};

// Fits the model to the points of `sourceText` and `targetText` that have the same name
// (the first of each name), in the order of the source text. The residual table gives per
// common point the transformed source less the target in metres, north, east and up (up
// blank for a plane fit without height surface), marked "*" when a component exceeds
// three times the RMS. Too few points, a degenerate geometry or a model that does not fit
// the sides gives a notice and no parameters.
DatumFitRun runDatumFit(const QString& sourceText, const QString& targetText,
                        const DatumFitSettings& settings);

struct DatumApplySettings {
    CoordSystem from;
    CoordSystem to;
    // Apply the inverse: the points are in the system the parameters lead to.
    bool inverse = false;
    int jobs = 1;
};

struct DatumApplyRun {
    bool ok = false;
    QString output;  // one line per point read: name, X, Y, H, or name and the fault
    Notices notices;
};

// Grid values are written with 4 decimals, latitude and longitude as packed degrees with 6
// decimals of the seconds, heights with 4 decimals.
DatumApplyRun runDatumApply(const QString& pointsText, const QString& parameterLine,
                            const DatumApplySettings& settings, long long rowLimit = 1000000);

// The output line of one converted point (also the command line's streaming writer).
QString datumPointLine(const QString& name, const DatumPoint& p, PointFault fault,
                       const CoordSystem& to);

// The parameter file of the window: the parameter line in UTF-8 after a comment line. Save
// refuses a line that does not read (parseParameters) and returns "" or the message of
// what failed; load takes the first line that is neither blank nor a comment ("#") of a
// file of at most 64 KB and returns it when it reads, else nothing with the message.
QString saveParametersFile(const QString& path, const QString& parameterLine);
std::optional<QString> loadParametersFile(const QString& path, QString* error);

// The side box texts of the window: "经纬度", "1.5度带", "3度带", "6度带" for the form.
QStringList coordFormChoices();
std::optional<ZoneWidth> zoneOfFormChoice(const QString& text);
// The command line's side code "DATUM:FORM" ("WGS:jw", "BJ:3", "2000:6"); nothing for
// a bad code.
std::optional<CoordSystem> coordSystemOfCode(const QString& code);

}  // namespace hc
