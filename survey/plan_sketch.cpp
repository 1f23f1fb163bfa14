#include "survey/plan_sketch.h"

#include <QtMath>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "engine/decimal.h"
#include "engine/number.h"
#include "survey/point_list.h"

namespace hc {
namespace {

bool planeValue(const Num& v, double& out) {
    if (isBlankText(v)) return false;
    try {
        out = coordinateValue(v).toDouble();
    } catch (const DecimalError&) {
        return false;
    }
    return std::isfinite(out);
}

QString number(double v) { return QString::number(v, 'f', 2); }

QString escaped(const QString& text) { return text.toHtmlEscaped(); }

}  // namespace

namespace {

// Reads the points of `walk`; with `page`, keeps only what a page of that view draws:
// the marked point, the first point of each pixel and the parcel vertices that move to
// another pixel than the vertex before.
PlanSketch readSketch(const PointRowWalk& walk, SketchKind kind, const QString& marked,
                      const SketchView* page) {
    PlanSketch sketch;
    SketchLine ring;
    ring.closed = true;
    const auto endRing = [&] {
        if (ring.points.size() >= 2) sketch.lines.push_back(ring);
        ring.points.clear();
    };
    std::vector<bool> taken;
    if (page)
        taken.assign(static_cast<size_t>(page->width) * static_cast<size_t>(page->height), false);
    qint64 lastRingPixel = -2;
    qint64 line = 0;
    walk([&](const PointRow& row) {
        ++line;
        SketchPoint p;
        if (!planeValue(row.x, p.north) || !planeValue(row.y, p.east)) {
            if (kind == SketchKind::Parcels && isBlankText(row.x) && isBlankText(row.y)) {
                endRing();
                lastRingPixel = -2;
            }
            return;
        }
        const bool isMarked =
            sketch.marked < 0 && !marked.isEmpty() && marked != u"0" && row.name == marked;
        bool keep = true, vertex = kind == SketchKind::Parcels;
        if (page) {
            const QPointF at = page->toPage(p.north, p.east);
            qint64 pixel = -1;  // off the page
            if (at.x() >= 0 && at.x() < page->width && at.y() >= 0 && at.y() < page->height)
                pixel = static_cast<qint64>(at.y()) * page->width + static_cast<qint64>(at.x());
            keep = isMarked || (pixel >= 0 && !taken[static_cast<size_t>(pixel)]);
            if (pixel >= 0) taken[static_cast<size_t>(pixel)] = true;
            vertex = vertex && (pixel < 0 || pixel != lastRingPixel);
            if (vertex) lastRingPixel = pixel;
        }
        if (!keep && !vertex) return;
        p.name = row.name;
        p.line = line;
        const int index = static_cast<int>(sketch.points.size());
        if (isMarked) sketch.marked = index;
        sketch.points.push_back(std::move(p));
        if (vertex) ring.points.push_back(index);
    });
    endRing();
    return sketch;
}

// The smallest and largest northing and easting of the points (infinities when there
// are none).
std::array<double, 4> extentOf(const PlanSketch& sketch) {
    double minN = std::numeric_limits<double>::infinity(), maxN = -minN;
    double minE = minN, maxE = -minN;
    for (const SketchPoint& p : sketch.points) {
        minN = std::min(minN, p.north);
        maxN = std::max(maxN, p.north);
        minE = std::min(minE, p.east);
        maxE = std::max(maxE, p.east);
    }
    return {minN, maxN, minE, maxE};
}

}  // namespace

PlanSketch sketchOfRows(const PointRowWalk& walk, SketchKind kind, const QString& marked) {
    return readSketch(walk, kind, marked, nullptr);
}

PlanSketch pagedSketchOfRows(const PointRowWalk& walk, SketchKind kind, const QString& marked,
                             int width, int height, SketchView& view, int margin) {
    // The extent alone decides the fitted view: its two corners stand for all points.
    PlanSketch corners;
    walk([&](const PointRow& row) {
        double north = 0, east = 0;
        if (!planeValue(row.x, north) || !planeValue(row.y, east)) return;
        if (corners.points.empty()) {
            corners.points = {{QString(), north, east, 0}, {QString(), north, east, 0}};
            return;
        }
        SketchPoint& low = corners.points[0];
        SketchPoint& high = corners.points[1];
        low.north = std::min(low.north, north);
        low.east = std::min(low.east, east);
        high.north = std::max(high.north, north);
        high.east = std::max(high.east, east);
    });
    view = fitAll(corners, width, height, margin);
    return readSketch(walk, kind, marked, &view);
}

QPointF SketchView::toPage(double north, double east) const {
    return {width / 2.0 + (east - centreEast) * scale,
            height / 2.0 - (north - centreNorth) * scale};
}

QPointF SketchView::toPlane(QPointF page) const {
    return {centreNorth - (page.y() - height / 2.0) / scale,
            centreEast + (page.x() - width / 2.0) / scale};
}

void SketchView::zoomAt(QPointF page, double factor) {
    const QPointF fixed = toPlane(page);
    scale = std::clamp(scale * factor, 1e-9, 1e9);
    // Put the plane point back under the page point.
    const QPointF now = toPage(fixed.x(), fixed.y());
    pan(page - now);
}

void SketchView::pan(QPointF delta) {
    centreEast -= delta.x() / scale;
    centreNorth += delta.y() / scale;
}

SketchView fitAll(const PlanSketch& sketch, int width, int height, int margin) {
    SketchView view;
    view.width = std::max(width, 1);
    view.height = std::max(height, 1);
    if (sketch.points.empty()) return view;
    const auto [minN, maxN, minE, maxE] = extentOf(sketch);
    view.centreNorth = (minN + maxN) / 2;
    view.centreEast = (minE + maxE) / 2;
    const double usableW = std::max(view.width - 2.0 * margin, 1.0);
    const double usableH = std::max(view.height - 2.0 * margin, 1.0);
    const double spanE = maxE - minE, spanN = maxN - minN;
    double scale = std::numeric_limits<double>::infinity();
    if (spanE > 0) scale = usableW / spanE;
    if (spanN > 0) scale = std::min(scale, usableH / spanN);
    view.scale = std::isfinite(scale) && scale > 0 ? scale : 1.0;
    return view;
}

std::vector<int> visiblePoints(const PlanSketch& sketch, const SketchView& view) {
    const int w = view.width, h = view.height;
    std::vector<bool> taken(static_cast<size_t>(w) * static_cast<size_t>(h), false);
    std::vector<int> out;
    const auto consider = [&](int i) {
        const SketchPoint& p = sketch.points[static_cast<size_t>(i)];
        const QPointF at = view.toPage(p.north, p.east);
        if (!(at.x() >= 0 && at.x() < w && at.y() >= 0 && at.y() < h)) return;
        const size_t cell =
            static_cast<size_t>(at.y()) * static_cast<size_t>(w) + static_cast<size_t>(at.x());
        if (taken[cell]) return;
        taken[cell] = true;
        out.push_back(i);
    };
    if (sketch.marked >= 0) consider(sketch.marked);
    const int n = static_cast<int>(sketch.points.size());
    for (int i = 0; i < n; ++i)
        if (i != sketch.marked) consider(i);
    return out;
}

std::vector<QPointF> pagePolyline(const PlanSketch& sketch, const SketchLine& line,
                                  const SketchView& view) {
    std::vector<QPointF> out;
    QPoint lastPixel;
    for (const int i : line.points) {
        const SketchPoint& p = sketch.points[static_cast<size_t>(i)];
        const QPointF at = view.toPage(p.north, p.east);
        const QPoint pixel(static_cast<int>(std::floor(std::clamp(at.x(), -1e9, 1e9))),
                           static_cast<int>(std::floor(std::clamp(at.y(), -1e9, 1e9))));
        if (!out.empty() && pixel == lastPixel) continue;
        out.push_back(at);
        lastPixel = pixel;
    }
    return out;
}

double scaleBarLength(double scale, double maxPixels) {
    if (!(scale > 0) || !(maxPixels > 0)) return 0;
    const double maxMetres = maxPixels / scale;
    double power = std::pow(10.0, std::floor(std::log10(maxMetres)));
    for (const double step : {5.0, 2.0, 1.0})
        if (step * power <= maxMetres) return step * power;
    return power / 2;  // rounding left the power just above maxMetres
}

QString scaleBarLabel(double metres) {
    if (metres >= 1000) return QString::number(metres / 1000, 'g', 6) + QStringLiteral(" km");
    return QString::number(metres, 'g', 6) + QStringLiteral(" m");
}

QString sketchSvg(const PlanSketch& sketch, const SketchView& view) {
    QString svg;
    const std::vector<int> shown = visiblePoints(sketch, view);
    svg += QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%2\" "
               "viewBox=\"0 0 %1 %2\" font-family=\"sans-serif\" font-size=\"12\">\n"
               "<title>草图</title>\n"
               "<rect width=\"%1\" height=\"%2\" fill=\"white\"/>\n")
               .arg(view.width)
               .arg(view.height);
    for (const SketchLine& line : sketch.lines) {
        svg += line.closed ? QStringLiteral("<polygon") : QStringLiteral("<polyline");
        svg += QStringLiteral(" class=\"line\" fill=\"none\" stroke=\"#1f5fa8\" points=\"");
        const std::vector<QPointF> page = pagePolyline(sketch, line, view);
        for (size_t k = 0; k < page.size(); ++k) {
            if (k > 0) svg += u' ';
            svg += number(page[k].x()) + u',' + number(page[k].y());
        }
        svg += QStringLiteral("\"/>\n");
    }
    for (const int i : shown) {
        const SketchPoint& p = sketch.points[static_cast<size_t>(i)];
        const QPointF at = view.toPage(p.north, p.east);
        const QString x = number(at.x()), y = number(at.y());
        if (i == sketch.marked)
            svg += QStringLiteral(
                       "<rect class=\"marked\" x=\"%1\" y=\"%2\" width=\"10\" height=\"10\" "
                       "fill=\"none\" stroke=\"#c00000\" stroke-width=\"2\"/>\n")
                       .arg(number(at.x() - 5), number(at.y() - 5));
        svg += QStringLiteral(
                   "<circle class=\"point\" cx=\"%1\" cy=\"%2\" r=\"2.5\" fill=\"black\"/>\n")
                   .arg(x, y);
        if (!p.name.isEmpty())
            svg += QStringLiteral(
                       "<text class=\"name\" x=\"%1\" y=\"%2\" dx=\"5\" dy=\"-5\">%3</text>\n")
                       .arg(x, y, escaped(p.name));
    }
    for (const int i : sketch.known) {
        const SketchPoint& p = sketch.points[static_cast<size_t>(i)];
        const QPointF at = view.toPage(p.north, p.east);
        svg += QStringLiteral(
                   "<polygon class=\"known\" points=\"%1,%2 %3,%4 %5,%4\" fill=\"none\" "
                   "stroke=\"#006000\" stroke-width=\"1.5\"/>\n")
                   .arg(number(at.x()), number(at.y() - 7), number(at.x() - 6), number(at.y() + 4),
                        number(at.x() + 6));
    }
    for (const SketchVector& v : sketch.vectors) {
        const SketchPoint& p = sketch.points[static_cast<size_t>(v.point)];
        const QPointF from = view.toPage(p.north, p.east), to = vectorEnd(sketch, view, v);
        svg += QStringLiteral(
                   "<line class=\"vector\" x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%4\" "
                   "stroke=\"#c00000\" stroke-width=\"1.5\"/>\n")
                   .arg(number(from.x()), number(from.y()), number(to.x()), number(to.y()));
    }
    if (sketch.strike) {
        const StrikeGeometry g = strikeGeometry(*sketch.strike, view);
        svg += QStringLiteral(
                   "<g class=\"strike\" stroke=\"#7a3e00\" stroke-width=\"2.5\">"
                   "<line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%4\"/>"
                   "<line x1=\"%5\" y1=\"%6\" x2=\"%7\" y2=\"%8\"/>"
                   "<text x=\"%9\" y=\"%10\" stroke=\"none\" fill=\"#7a3e00\" "
                   "text-anchor=\"middle\" dominant-baseline=\"middle\">%11</text></g>\n")
                   .arg(number(g.strikeFrom.x()), number(g.strikeFrom.y()), number(g.strikeTo.x()),
                        number(g.strikeTo.y()), number(g.tickFrom.x()), number(g.tickFrom.y()),
                        number(g.tickTo.x()), number(g.tickTo.y()), number(g.labelAt.x()))
                   .arg(number(g.labelAt.y()), g.label);
    }
    if (!sketch.vectors.empty()) {
        const double metres = vectorScaleLength(sketch, view, 80);
        if (metres > 0) {
            const double length = metres * sketch.exaggeration * view.scale;
            const double bx = 20, by = kSketchVectorScaleY;
            svg += QStringLiteral(
                       "<g class=\"vector-scale\"><path d=\"M%1,%2 h%3\" stroke=\"#c00000\" "
                       "stroke-width=\"1.5\"/><text x=\"%4\" y=\"%5\">%6</text></g>\n")
                       .arg(number(bx), number(by), number(length), number(bx + length + 6),
                            number(by + 4),
                            vectorScaleLabel(metres, sketch.exaggeration).toHtmlEscaped());
        }
    }
    // North arrow in the top right corner.
    const double ax = view.width - 30.0, ay = 20.0;
    svg += QStringLiteral(
               "<g class=\"north\"><polygon points=\"%1,%2 %3,%4 %1,%5 %6,%4\" fill=\"black\"/>"
               "<text x=\"%1\" y=\"%7\" text-anchor=\"middle\">北</text></g>\n")
               .arg(number(ax), number(ay), number(ax - 7), number(ay + 26), number(ay + 20),
                    number(ax + 7), number(ay + 42));
    // Scale bar in the bottom left corner.
    const double metres = scaleBarLength(view.scale, view.width / 4.0);
    if (metres > 0) {
        const double length = metres * view.scale, bx = 20, by = view.height - 20.0;
        svg += QStringLiteral(
                   "<g class=\"scale\"><path d=\"M%1,%2 v6 h%3 v-6\" fill=\"none\" "
                   "stroke=\"black\" stroke-width=\"1.5\"/><text x=\"%4\" y=\"%5\" "
                   "text-anchor=\"middle\">%6</text></g>\n")
                   .arg(number(bx), number(by - 6), number(length), number(bx + length / 2),
                        number(by - 10), scaleBarLabel(metres));
    }
    svg += QStringLiteral("</svg>\n");
    return svg;
}

double vectorExaggeration(double extent, double longest) {
    if (!(extent > 0) || !(longest > 0) || !std::isfinite(extent / longest)) return 1;
    // A hair over the quotient, so that 100 / 0.05 counts as the 2000 it stands for.
    const double wanted = extent / 10 / longest * (1 + 1e-12);
    const double power = std::pow(10.0, std::floor(std::log10(wanted)));
    for (const double step : {5.0, 2.0, 1.0})
        if (step * power <= wanted) return step * power;
    return power;
}

void exaggerateVectors(PlanSketch& sketch) {
    const auto [minN, maxN, minE, maxE] = extentOf(sketch);
    double longest = 0;
    for (const SketchVector& v : sketch.vectors)
        longest = std::max(longest, std::hypot(v.north, v.east));
    const double extent = sketch.points.empty() ? 0 : std::max(maxN - minN, maxE - minE);
    sketch.exaggeration = vectorExaggeration(extent, longest);
}

QPointF vectorEnd(const PlanSketch& sketch, const SketchView& view, const SketchVector& v) {
    const SketchPoint& p = sketch.points[static_cast<size_t>(v.point)];
    return view.toPage(p.north + v.north * sketch.exaggeration,
                       p.east + v.east * sketch.exaggeration);
}

double vectorScaleLength(const PlanSketch& sketch, const SketchView& view, double maxPixels) {
    return scaleBarLength(view.scale * sketch.exaggeration, maxPixels);
}

QString vectorScaleLabel(double metres, double exaggeration) {
    QString length;
    if (metres >= 1)
        length = scaleBarLabel(metres);
    else if (metres >= 0.01)
        length = QString::number(metres * 100, 'g', 6) + QStringLiteral(" cm");
    else
        length = QString::number(metres * 1000, 'g', 6) + QStringLiteral(" mm");
    return QStringLiteral("残差 %1（放大 %2 倍）")
        .arg(length, QString::number(exaggeration, 'g', 12));
}

StrikeGeometry strikeGeometry(const StrikeSymbol& symbol, const SketchView& view, double halfLength,
                              double tickLength) {
    // An azimuth a points (sin a, -cos a) on the page: east right, north up.
    const auto direction = [](double degrees) {
        const double a = qDegreesToRadians(degrees);
        return QPointF(std::sin(a), -std::cos(a));
    };
    StrikeGeometry g;
    const QPointF at = view.toPage(symbol.north, symbol.east);
    const QPointF along = direction(symbol.strike), down = direction(symbol.dipDirection);
    g.strikeFrom = at - along * halfLength;
    g.strikeTo = at + along * halfLength;
    g.tickFrom = at;
    g.tickTo = at + down * tickLength;
    g.labelAt = at + down * (tickLength + 12);
    g.label = QString::number(symbol.dip, 'f', 0) + QStringLiteral("°");
    return g;
}

int pointAt(const PlanSketch& sketch, const SketchView& view, QPointF page, double radius) {
    int best = -1;
    double bestDistance = radius * radius;
    const int n = static_cast<int>(sketch.points.size());
    for (int i = 0; i < n; ++i) {
        const SketchPoint& p = sketch.points[static_cast<size_t>(i)];
        const QPointF d = view.toPage(p.north, p.east) - page;
        const double distance = d.x() * d.x() + d.y() * d.y();
        if (distance <= bestDistance) {
            if (distance == bestDistance && best >= 0) continue;
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

}  // namespace hc
