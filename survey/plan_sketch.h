#pragma once
// A plan sketch of surveyed points: the model behind the sketch window and the SVG
// pictures of "hechuan-cli bearing|attitude|area --svg".
//
// Points are in metres, X north and Y east. The picture is in survey orientation:
// north up, east to the right, one scale on both axes. Page coordinates are pixels
// from the top left corner, x to the right and y down.

#include <QPointF>
#include <QString>
#include <optional>
#include <vector>

#include "survey/distance_bearing.h"

namespace hc {

struct SketchPoint {
    QString name;
    double north = 0;  // X, metres
    double east = 0;   // Y, metres
    qint64 line = 0;   // line of the point list it came from, from 1
};

// Points joined in order; a closed one also joins the last to the first.
struct SketchLine {
    std::vector<int> points;  // indices into PlanSketch::points
    bool closed = false;
};

// The misfit of a common point in a datum fit (transformed less target), metres,
// drawn from the point `exaggeration` times longer (PlanSketch::exaggeration).
struct SketchVector {
    int point = 0;  // index into PlanSketch::points
    double north = 0;
    double east = 0;
};

// The strike and dip symbol of a plane at a plane point: a strike line through it,
// a short tick on the dip side and the dip angle. Angles in decimal degrees, azimuths
// from north through east.
struct StrikeSymbol {
    double north = 0;  // metres
    double east = 0;
    double strike = 0;
    double dipDirection = 0;
    double dip = 0;
};

struct PlanSketch {
    std::vector<SketchPoint> points;
    std::vector<SketchLine> lines;
    int marked = -1;         // index of the origin or start point drawn marked, -1 for none
    std::vector<int> known;  // indices of known (control) points, drawn as triangles
    std::vector<SketchVector> vectors;
    double exaggeration = 1;  // page length of a vector over its length at the sketch's scale
    std::optional<StrikeSymbol> strike;
};

// Which drawing a point list makes.
enum class SketchKind {
    Points,   // the points alone (distance and bearing, plane attitude)
    Parcels,  // closed rings: a blank or name-only line ends a parcel (area window)
};

// Points with no usable number are skipped: a row needs both X and Y, finite.
// `marked` names the point to mark (the first of that name), empty for none; the
// name "0" marks nothing (the origin of the axes is then the reference).
PlanSketch sketchOfRows(const PointRowWalk& walk, SketchKind kind, const QString& marked = {});

// Pixels kept free around the fitted points: room for the scale bars along the bottom.
inline constexpr int kSketchMargin = 52;

struct SketchView;
// The same sketch for a list too long to keep, read by walking it twice: `view` gets
// the fit-all view of a width x height page (fitAll), and only what that page draws is
// kept: the marked point, the first point of each pixel, and of a parcel the vertices
// that move to another pixel. Memory grows with the page, not the list.
PlanSketch pagedSketchOfRows(const PointRowWalk& walk, SketchKind kind, const QString& marked,
                             int width, int height, SketchView& view, int margin = kSketchMargin);

// A mapping of the survey plane onto a page of width x height pixels.
struct SketchView {
    int width = 800;
    int height = 600;
    double scale = 1;        // pixels per metre, > 0
    double centreNorth = 0;  // the plane point at the middle of the page
    double centreEast = 0;

    QPointF toPage(double north, double east) const;
    // The plane point (north, east) under a page point, as x = north, y = east.
    QPointF toPlane(QPointF page) const;
    // Zooms by `factor` keeping the plane point under `page` in place.
    void zoomAt(QPointF page, double factor);
    // Moves the picture by `delta` pixels.
    void pan(QPointF delta);
};

// The view showing every point of `sketch` inside the page less `margin` pixels on
// each side. One point or coincident points are shown at 1 pixel per metre around
// them; an empty sketch gives the origin at the page centre.
SketchView fitAll(const PlanSketch& sketch, int width, int height, int margin = kSketchMargin);

// Indices of the points to draw: those on the page, the first of each pixel only, so
// that the work of drawing is bounded by the page size. The marked point is always
// kept when it is on the page.
std::vector<int> visiblePoints(const PlanSketch& sketch, const SketchView& view);

// The page points of `line`, a vertex on the same pixel as the one kept before it
// left out (the closing vertex of a closed line is not repeated).
std::vector<QPointF> pagePolyline(const PlanSketch& sketch, const SketchLine& line,
                                  const SketchView& view);

// The length in metres of a scale bar near `maxPixels` long at `scale`: 1, 2 or 5
// times a power of ten, never longer than maxPixels.
double scaleBarLength(double scale, double maxPixels);
// "500 m", "2 km", "0.2 m": the bar length as a label.
QString scaleBarLabel(double metres);

// The sketch as an SVG document of view.width x view.height pixels: a circle of class
// "point" and a <text> of class "name" at the page position of every visible point
// (visiblePoints), the lines, the marked point, a triangle of class "known" at each known
// point, the vectors (class "vector") with their scale bar (class "vector-scale"), the
// strike symbol (class "strike"), a north arrow and a scale bar.
QString sketchSvg(const PlanSketch& sketch, const SketchView& view);

// The exaggeration of misfit vectors: a 1, 2 or 5 times power of ten making the
// longest of `longest` metres about a tenth of `extent` metres (the larger side of the
// points' extent). 1 when either is not positive.
double vectorExaggeration(double extent, double longest);
// The exaggeration for the vectors of `sketch` (its points' extent), set in it.
void exaggerateVectors(PlanSketch& sketch);
// The page point where vector `v` ends: its point moved by the vector times the
// sketch's exaggeration.
QPointF vectorEnd(const PlanSketch& sketch, const SketchView& view, const SketchVector& v);
inline constexpr double kSketchVectorScaleY = 18;
// The length in metres of the vector scale bar, at most `maxPixels` long on the page
// (1, 2 or 5 times a power of ten), and its label: "残差 2 cm（放大 5000 倍）". The bar
// stands in the top left corner, above the fitted points (kSketchVectorScaleY).
double vectorScaleLength(const PlanSketch& sketch, const SketchView& view, double maxPixels);
QString vectorScaleLabel(double metres, double exaggeration);

// The page geometry of a strike and dip symbol: the strike line through the point,
// `halfLength` pixels each way, the dip tick from the point toward the dip direction and
// where its label ("35°") is anchored (the label's centre).
struct StrikeGeometry {
    QPointF strikeFrom, strikeTo;
    QPointF tickFrom, tickTo;
    QPointF labelAt;
    QString label;
};
StrikeGeometry strikeGeometry(const StrikeSymbol& symbol, const SketchView& view,
                              double halfLength = 20, double tickLength = 9);

// Index of the visible point nearest to `page` within `radius` pixels, -1 for none.
int pointAt(const PlanSketch& sketch, const SketchView& view, QPointF page, double radius = 6);

}  // namespace hc
