#pragma once
// Rangefinder reductions: slope distances and vertical angles to horizontal distances
// and height differences (trigonometric levelling with earth curvature and refraction),
// reciprocal observations averaged, horizontal distances reduced to the ellipsoid and to
// the Gauss-Krueger plane. The calculation of the rangefinder window Form218 and of
// "hechuan-cli reduce".
//
// Input text, one observed line per text line, fields split by commas:
//     名称, 斜距(米), 竖直角(度.分秒), 仪器高(米), 觇标高(米)
//     [, 返测斜距, 返测竖直角, 返测仪器高, 返测觇标高]
// Vertical angles count from the horizontal, positive upwards; with `zenith` set they
// are zenith distances. Instrument and target heights may be left blank (0). Blank
// lines and lines starting with '#' are skipped.

#include <QString>
#include <optional>
#include <vector>

#include "engine/notice.h"
#include "survey/survey_settings.h"

namespace hc {

// A point of the line (its middle, say) on a zone grid: northing x and easting y
// (metres, y with the zone number in front, as the coordinate conversion writes it).
struct GridPosition {
    double x = 0;
    double y = 0;
    ZoneWidth zone = ZoneWidth::Three;
    Datum datum = Datum::Beijing1954;
};

struct ReductionOptions {
    bool zenith = false;           // angles are zenith distances
    double refraction = 0.14;      // coefficient k
    double ppm = 0;                // atmospheric correction added to the slope distance
    double earthRadius = 6371000;  // metres, for curvature and refraction
    // Mean height of the line above the ellipsoid (metres): reduce to the ellipsoid.
    std::optional<double> meanHeight;
    // Where the line lies: the mean radius of curvature there, and the grid scale.
    std::optional<GridPosition> position;
};

struct Observation {
    double slope = 0;  // metres
    double angle = 0;  // decimal degrees, as read (vertical angle or zenith distance)
    double instrument = 0, target = 0;  // metres
};

struct ReducedObservation {
    double slope;       // slope distance with the atmospheric correction, metres
    double horizontal;  // metres
    double height;      // height difference station to target, metres
};

// One observation reduced: S' = S·(1 + ppm·10⁻⁶), α the vertical angle (90° − zenith),
// D = S'·cos α, h = S'·sin α + i − v + (1 − k)·D²/(2R). Throws nothing.
ReducedObservation reduceObservation(const Observation& o, const ReductionOptions& options);

// The grid scale factor and the latitude (radians) of a grid position, as the coordinate
// conversion's extra columns give them. Nothing when the position is outside its zone.
struct GridScale {
    double k;
    double latitude;
};
std::optional<GridScale> gridScaleAt(const GridPosition& position);

struct ReductionLine {
    QString name;
    Observation forward;
    std::optional<Observation> reverse;
    int lineNumber = 0;
};

struct ReductionRow {
    QString name;
    ReducedObservation forward;
    std::optional<ReducedObservation> reverse;
    double distance;  // mean horizontal distance (the forward one alone without reverse)
    double height;    // mean height difference, forward direction
    std::optional<double> ellipsoid, grid;  // reduced distances, metres
};

struct ReductionResult {
    std::vector<ReductionRow> rows;
    std::optional<GridScale> scale;
    std::optional<double> radius;  // mean radius used for the ellipsoid reduction
};

// Reads the lines. Throws FieldError (text_table.h) naming the line on a bad or missing
// field.
std::vector<ReductionLine> readReductionLines(const QString& input);
// Throws FieldError when the position lies outside its zone.
ReductionResult computeReductions(const std::vector<ReductionLine>& lines,
                                  const ReductionOptions& options);
QString reductionReport(const ReductionResult& result, const ReductionOptions& options);

// The window's inputs as texts: the data, 0 vertical angles / 1 zenith distances, the
// refraction coefficient, ppm, the mean height, the position's x and y (all three may
// be blank), the zone width (0 six, 1 three, 2 one and a half degrees) and the
// ellipsoid (0 Beijing 1954, 1 Xi'an 1980, 2 WGS-84, 3 CGCS2000).
struct ReductionTexts {
    QString input;
    int angleKind = 0;
    QString refraction = QStringLiteral("0.14");
    QString ppm;
    QString height;
    QString x, y;
    int zone = 1;
    int datum = 0;
};

struct ReductionRun {
    QString output;
    Notices notices;
    bool failed = false;
};
ReductionRun runReductions(const QString& input, const ReductionOptions& options);
ReductionRun runReductionTexts(const ReductionTexts& texts);

QString reductionSample();

}  // namespace hc
