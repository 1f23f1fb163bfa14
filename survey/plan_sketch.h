#pragma once
// A plan sketch of surveyed points: the model behind the sketch window and the SVG
// pictures of "hechuan-cli bearing|attitude|area --svg".
//
// Points are in metres, X north and Y east. The picture is in survey orientation:
// north up, east to the right, one scale on both axes. Page coordinates are pixels
// from the top left corner, x to the right and y down.

#include <QPointF>
#include <QString>
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

struct PlanSketch {
    std::vector<SketchPoint> points;
    std::vector<SketchLine> lines;
    int marked = -1;  // index of the origin or start point drawn marked, -1 for none
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

struct SketchView;
// The same sketch for a list too long to keep, read by walking it twice: `view` gets
// the fit-all view of a width x height page (fitAll), and only what that page draws is
// kept: the marked point, the first point of each pixel, and of a parcel the vertices
// that move to another pixel. Memory grows with the page, not the list.
PlanSketch pagedSketchOfRows(const PointRowWalk& walk, SketchKind kind, const QString& marked,
                             int width, int height, SketchView& view, int margin = 40);

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
SketchView fitAll(const PlanSketch& sketch, int width, int height, int margin = 40);

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
// (visiblePoints), the lines, the marked point, a north arrow and a scale bar.
QString sketchSvg(const PlanSketch& sketch, const SketchView& view);

// Index of the visible point nearest to `page` within `radius` pixels, -1 for none.
int pointAt(const PlanSketch& sketch, const SketchView& view, QPointF page, double radius = 6);

}  // namespace hc
