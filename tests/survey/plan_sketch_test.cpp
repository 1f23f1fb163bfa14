// The plan sketch: page positions in survey orientation, fitting, decimation by pixel,
// the reading of point lists and the SVG picture read back with an XML reader.

#include "survey/plan_sketch.h"

#include <gtest/gtest.h>

#include <QLineF>
#include <QXmlStreamReader>
#include <cmath>
#include <map>

#include "print_qstring.h"
#include "survey/point_list.h"

namespace hc {
namespace {

PointRowWalk walkOf(const QString& text) {
    const PointList list = ZelZhengLiDianBiao(text, PointListMode::Grid).points;
    return [list](const PointRowVisitor& visit) {
        for (const PointRow& row : list.rows) visit(row);
    };
}

PlanSketch sketchOf(std::vector<SketchPoint> points) {
    PlanSketch s;
    s.points = std::move(points);
    return s;
}

TEST(PlanSketch, NorthIsUpAndEastIsRightAtTheGivenScale) {
    SketchView view;
    view.width = 200;
    view.height = 100;
    view.scale = 2;  // px per metre
    view.centreNorth = 1000;
    view.centreEast = 500;
    struct Case {
        double north, east, x, y;
    } cases[] = {
        {1000, 500, 100, 50},  // the centre
        {1010, 500, 100, 30},  // 10 m north: 20 px up
        {990, 500, 100, 70},   // south: down
        {1000, 510, 120, 50},  // 10 m east: 20 px right
        {1000, 450, 0, 50},    // west edge
        {1025, 550, 200, 0},   // north-east corner
    };
    for (const Case& c : cases) {
        const QPointF at = view.toPage(c.north, c.east);
        EXPECT_DOUBLE_EQ(at.x(), c.x) << c.north << "," << c.east;
        EXPECT_DOUBLE_EQ(at.y(), c.y) << c.north << "," << c.east;
        const QPointF back = view.toPlane(at);
        EXPECT_NEAR(back.x(), c.north, 1e-9);
        EXPECT_NEAR(back.y(), c.east, 1e-9);
    }
}

TEST(PlanSketch, FitAllShowsEveryPointWithOneScale) {
    // 400 m east-west by 100 m north-south on a 500 x 500 page: the east span decides.
    const PlanSketch s = sketchOf({{QStringLiteral("A"), 3000, 1000, 1},
                                   {QStringLiteral("B"), 3100, 1400, 2},
                                   {QStringLiteral("C"), 3050, 1200, 3}});
    const SketchView view = fitAll(s, 500, 500, 50);
    EXPECT_DOUBLE_EQ(view.scale, 1.0);
    const QPointF a = view.toPage(3000, 1000), b = view.toPage(3100, 1400);
    EXPECT_DOUBLE_EQ(a.x(), 50);
    EXPECT_DOUBLE_EQ(b.x(), 450);
    // B lies north of A, so it is higher on the page, by the same scale.
    EXPECT_DOUBLE_EQ(a.y() - b.y(), 100);
    EXPECT_DOUBLE_EQ((a.y() + b.y()) / 2, 250);

    // A lone point sits in the middle; an empty sketch keeps a usable view.
    const SketchView one = fitAll(sketchOf({{QStringLiteral("P"), 7, 8, 1}}), 300, 200);
    EXPECT_EQ(one.toPage(7, 8), QPointF(150, 100));
    EXPECT_GT(one.scale, 0);
    EXPECT_GT(fitAll(PlanSketch{}, 300, 200).scale, 0);
}

TEST(PlanSketch, ZoomKeepsThePointUnderTheCursorAndPanMovesThePicture) {
    SketchView view;
    view.width = 400;
    view.height = 300;
    view.scale = 0.5;
    const QPointF cursor(310, 40);
    const QPointF before = view.toPlane(cursor);
    view.zoomAt(cursor, 4);
    EXPECT_DOUBLE_EQ(view.scale, 2);
    const QPointF after = view.toPlane(cursor);
    EXPECT_NEAR(after.x(), before.x(), 1e-9);
    EXPECT_NEAR(after.y(), before.y(), 1e-9);

    const QPointF p = view.toPage(12, 34);
    view.pan(QPointF(15, -7));
    const QPointF q = view.toPage(12, 34);
    EXPECT_NEAR(q.x() - p.x(), 15, 1e-9);
    EXPECT_NEAR(q.y() - p.y(), -7, 1e-9);
}

TEST(PlanSketch, PointsOnOnePixelAreDrawnOnceAndOffPagePointsNotAtAll) {
    SketchView view;
    view.width = 100;
    view.height = 100;
    view.scale = 1;
    PlanSketch s = sketchOf({{QStringLiteral("1"), 0.1, 0.1, 1},
                             {QStringLiteral("2"), 0.2, 0.3, 2},     // same pixel as 1
                             {QStringLiteral("3"), 0.2, 1.3, 3},     // next pixel east
                             {QStringLiteral("4"), 500, 0, 4},       // off the page
                             {QStringLiteral("5"), -49.9, 49.9, 5}}  // bottom right pixel
    );
    EXPECT_EQ(visiblePoints(s, view), (std::vector<int>{0, 2, 4}));
    // The marked point wins its pixel.
    s.marked = 1;
    EXPECT_EQ(visiblePoints(s, view), (std::vector<int>{1, 2, 4}));
}

TEST(PlanSketch, LinesDropVerticesOnThePixelOfTheVertexBefore) {
    SketchView view;
    view.width = 100;
    view.height = 100;
    view.scale = 1;
    const PlanSketch s = sketchOf({{QString(), 0.1, 0.1, 1},
                                   {QString(), 0.3, 0.2, 2},  // same pixel: left out
                                   {QString(), 0.2, 10.2, 3},
                                   {QString(), 0.2, 10.4, 4},   // same pixel: left out
                                   {QString(), 0.4, 0.4, 5}});  // back: kept
    const std::vector<QPointF> page = pagePolyline(s, {{0, 1, 2, 3, 4}, false}, view);
    ASSERT_EQ(page.size(), 3u);
    EXPECT_EQ(page[0], view.toPage(0.1, 0.1));
    EXPECT_EQ(page[1], view.toPage(0.2, 10.2));
    EXPECT_EQ(page[2], view.toPage(0.4, 0.4));
}

TEST(PlanSketch, ScaleBarIsARoundLengthThatFits) {
    struct Case {
        double scale, maxPixels, metres;
        const char* label;
    } cases[] = {
        {1, 200, 200, "200 m"},      {1, 199, 100, "100 m"}, {0.1, 150, 1000, "1 km"},
        {0.01, 300, 20000, "20 km"}, {50, 120, 2, "2 m"},    {2000, 120, 0.05, "0.05 m"},
        {1, 600, 500, "500 m"},
    };
    for (const Case& c : cases) {
        const double m = scaleBarLength(c.scale, c.maxPixels);
        EXPECT_NEAR(m, c.metres, c.metres * 1e-12) << c.scale << " " << c.maxPixels;
        EXPECT_LE(m * c.scale, c.maxPixels * (1 + 1e-12));
        EXPECT_EQ(scaleBarLabel(m), QString::fromUtf8(c.label));
    }
}

TEST(PlanSketch, ReadsPointListsAndParcelRings) {
    const PlanSketch points = sketchOfRows(
        walkOf(QStringLiteral("A,100,200,0\r\nB,110,250,0\r\n\r\nbad,,\r\nC,90,180,0")),
        SketchKind::Points, QStringLiteral("B"));
    ASSERT_EQ(points.points.size(), 3u);
    EXPECT_EQ(points.points[2].name, u"C");
    EXPECT_EQ(points.points[2].line, 5);
    EXPECT_DOUBLE_EQ(points.points[1].north, 110);
    EXPECT_DOUBLE_EQ(points.points[1].east, 250);
    EXPECT_EQ(points.marked, 1);
    EXPECT_TRUE(points.lines.empty());

    // "0" is the origin of the axes, no point of the list.
    EXPECT_EQ(
        sketchOfRows(walkOf(QStringLiteral("0,1,1,0")), SketchKind::Points, QStringLiteral("0"))
            .marked,
        -1);

    const PlanSketch parcels =
        sketchOfRows(walkOf(QStringLiteral("P1\r\n1,0,0,0\r\n2,0,10,0\r\n3,10,10,0\r\n\r\n"
                                           "4,20,20,0\r\n5,20,30,0\r\n6,30,30,0\r\n7,30,20,0")),
                     SketchKind::Parcels);
    ASSERT_EQ(parcels.lines.size(), 2u);
    EXPECT_EQ(parcels.lines[0].points, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(parcels.lines[1].points, (std::vector<int>{3, 4, 5, 6}));
    EXPECT_TRUE(parcels.lines[1].closed);
}

TEST(PlanSketch, PagedReadingDrawsTheSamePictureFromFewerPoints) {
    // A dense cluster repeated many times, a parcel through it and a marked point.
    QString text = QStringLiteral("K0,5000,5000,0\r\nP1\r\n");
    for (int i = 0; i < 3000; ++i)
        text += QStringLiteral("c%1,%2,%3,0\r\n")
                    .arg(i)
                    .arg(1003.3 + (i % 7) * 0.01, 0, 'f', 3)
                    .arg(2001.7 + (i % 5) * 0.01, 0, 'f', 3);
    text += QStringLiteral("q1,1000,3000,0\r\nq2,2000,3000,0\r\n\r\nM,1500,2500,0\r\n");
    for (const SketchKind kind : {SketchKind::Points, SketchKind::Parcels}) {
        const PlanSketch full = sketchOfRows(walkOf(text), kind, QStringLiteral("c7"));
        SketchView view;
        const PlanSketch paged =
            pagedSketchOfRows(walkOf(text), kind, QStringLiteral("c7"), 640, 480, view);
        const SketchView fitted = fitAll(full, 640, 480);
        EXPECT_DOUBLE_EQ(view.scale, fitted.scale);
        EXPECT_EQ(sketchSvg(paged, view), sketchSvg(full, fitted));
        EXPECT_LT(paged.points.size(), 20u);
        EXPECT_EQ(paged.points[static_cast<size_t>(paged.marked)].name, u"c7");
    }
}

struct SvgPicture {
    std::map<QString, QPointF> names;  // text -> x, y
    std::vector<QPointF> circles;
    int marked = 0, north = 0, scale = 0, lines = 0, known = 0, strikeLines = 0;
    QString scaleLabel, vectorLabel, strikeLabel;
    std::vector<QLineF> vectors;
};

SvgPicture readSvg(const QString& svg) {
    SvgPicture out;
    QXmlStreamReader xml(svg);
    QString group;
    while (!xml.atEnd()) {
        if (!xml.readNext() || !xml.isStartElement()) continue;
        const auto a = xml.attributes();
        const QString cls = a.value(QLatin1String("class")).toString();
        const auto name = xml.name();
        if (name == u"g") {
            group = cls;
            if (cls == u"north") ++out.north;
            if (cls == u"scale") ++out.scale;
        } else if (name == u"circle" && cls == u"point") {
            out.circles.emplace_back(a.value(QLatin1String("cx")).toDouble(),
                                     a.value(QLatin1String("cy")).toDouble());
        } else if (name == u"text" && cls == u"name") {
            const QPointF at(a.value(QLatin1String("x")).toDouble(),
                             a.value(QLatin1String("y")).toDouble());
            out.names[xml.readElementText()] = at;
        } else if (name == u"text" && group == u"scale") {
            out.scaleLabel = xml.readElementText();
        } else if (name == u"text" && group == u"vector-scale") {
            out.vectorLabel = xml.readElementText();
        } else if (name == u"text" && group == u"strike") {
            out.strikeLabel = xml.readElementText();
        } else if (name == u"line" && group == u"strike") {
            ++out.strikeLines;
        } else if (cls == u"vector") {
            out.vectors.emplace_back(
                a.value(QLatin1String("x1")).toDouble(), a.value(QLatin1String("y1")).toDouble(),
                a.value(QLatin1String("x2")).toDouble(), a.value(QLatin1String("y2")).toDouble());
        } else if (cls == u"known") {
            ++out.known;
        } else if (cls == u"marked") {
            ++out.marked;
        } else if (cls == u"line") {
            ++out.lines;
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return out;
}

TEST(PlanSketch, SvgHoldsEachPointAndItsNameAtItsPagePosition) {
    PlanSketch s = sketchOf({{QStringLiteral("K1"), 2000, 3000, 1},
                             {QStringLiteral("<a&b>"), 2100, 3000, 2},
                             {QStringLiteral("导线点"), 2000, 3200, 3},
                             {QString(), 1950, 2900, 4}});
    s.marked = 0;
    s.lines.push_back({{0, 1, 2}, true});
    const SketchView view = fitAll(s, 600, 400, 40);
    const SvgPicture svg = readSvg(sketchSvg(s, view));

    ASSERT_EQ(svg.circles.size(), 4u);
    EXPECT_EQ(svg.names.size(), 3u);  // the unnamed point has no label
    for (const SketchPoint& p : s.points) {
        if (p.name.isEmpty()) continue;
        ASSERT_TRUE(svg.names.count(p.name)) << p.name.toStdString();
        const QPointF want = view.toPage(p.north, p.east);
        EXPECT_NEAR(svg.names.at(p.name).x(), want.x(), 0.01) << p.name.toStdString();
        EXPECT_NEAR(svg.names.at(p.name).y(), want.y(), 0.01) << p.name.toStdString();
    }
    // North of K1 is up, east is right.
    EXPECT_LT(svg.names.at(QStringLiteral("<a&b>")).y(), svg.names.at(QStringLiteral("K1")).y());
    EXPECT_GT(svg.names.at(QStringLiteral("导线点")).x(), svg.names.at(QStringLiteral("K1")).x());
    EXPECT_EQ(svg.marked, 1);
    EXPECT_EQ(svg.lines, 1);
    EXPECT_EQ(svg.north, 1);
    EXPECT_EQ(svg.scale, 1);
    EXPECT_EQ(svg.scaleLabel, scaleBarLabel(scaleBarLength(view.scale, 150)));
}

TEST(PlanSketch, ExaggerationMakesTheLongestVectorATenthOfTheExtent) {
    const struct {
        double extent, longest, want;
    } cases[] = {
        {1000, 0.05, 2000},  // 100 m wanted / 0.05 m = 2000: a round value as it is
        {1000, 0.03, 2000},  // 3333 -> the round value below
        {500, 0.012, 2000},  // 4167 -> 2000
        {800, 0.01, 5000},   // 8000 -> 5000
        {10, 3, 0.2},        // misfits larger than a tenth: drawn shorter
        {0, 0.01, 1},        // one point: no extent to fit
        {100, 0, 1},         // a perfect fit: nothing to draw
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(vectorExaggeration(c.extent, c.longest), c.want)
            << c.extent << " " << c.longest;
}

TEST(PlanSketch, VectorsAreDrawnFromTheirPointsAtTheExaggeratedScale) {
    PlanSketch s = sketchOf({{QStringLiteral("P1"), 5000, 7000, 1},
                             {QStringLiteral("P2"), 5400, 7000, 2},
                             {QStringLiteral("P3"), 5000, 7800, 3}});
    // 30 mm north, 40 mm east (50 mm long); 10 mm west; 20 mm south.
    s.vectors = {{0, 0.03, 0.04}, {1, 0, -0.01}, {2, -0.02, 0}};
    exaggerateVectors(s);
    EXPECT_DOUBLE_EQ(s.exaggeration, 1000);  // 800 m extent: 80 m / 0.05 m = 1600 -> 1000
    const SketchView view = fitAll(s, 900, 600, 40);
    const struct {
        int vector;
        double dx, dy;  // page pixels per metre of exaggerated misfit
    } cases[] = {{0, 0.04, -0.03}, {1, -0.01, 0}, {2, 0, 0.02}};
    for (const auto& c : cases) {
        const SketchVector& v = s.vectors[static_cast<size_t>(c.vector)];
        const SketchPoint& p = s.points[static_cast<size_t>(v.point)];
        const QPointF from = view.toPage(p.north, p.east), to = vectorEnd(s, view, v);
        EXPECT_NEAR(to.x() - from.x(), c.dx * 1000 * view.scale, 1e-6) << c.vector;
        EXPECT_NEAR(to.y() - from.y(), c.dy * 1000 * view.scale, 1e-6) << c.vector;
    }
    // The vector scale: a round misfit whose exaggerated bar fits in 80 px.
    const double bar = vectorScaleLength(s, view, 80);
    EXPECT_LE(bar * s.exaggeration * view.scale, 80);
    EXPECT_GT(bar * s.exaggeration * view.scale, 80 / 2.5);
    EXPECT_EQ(vectorScaleLabel(0.05, 1000), QStringLiteral("残差 5 cm（放大 1000 倍）"));
    EXPECT_EQ(vectorScaleLabel(0.002, 20000), QStringLiteral("残差 2 mm（放大 20000 倍）"));
    EXPECT_EQ(vectorScaleLabel(2, 0.5), QStringLiteral("残差 2 m（放大 0.5 倍）"));
}

TEST(PlanSketch, StrikeLineRunsAlongTheStrikeAzimuthAndTheTickPointsDownDip) {
    SketchView view;
    view.width = 400;
    view.height = 300;
    view.scale = 3;
    view.centreNorth = 100;
    view.centreEast = 200;
    const struct {
        double strike, dipDirection;
    } cases[] = {{0, 90}, {45, 135}, {120, 30}, {300, 210}, {90, 180}};
    for (const auto& c : cases) {
        const StrikeSymbol symbol{110, 190, c.strike, c.dipDirection, 35};
        const StrikeGeometry g = strikeGeometry(symbol, view, 20, 9);
        const QPointF at = view.toPage(110, 190);
        // Back to the plane: a page vector (dx, dy) is dy metres south and dx east.
        const QPointF along = g.strikeTo - g.strikeFrom;
        const double strike =
            std::fmod(qRadiansToDegrees(std::atan2(along.x(), -along.y())) + 360, 360);
        EXPECT_NEAR(strike, c.strike, 1e-9) << c.strike;
        EXPECT_NEAR(std::hypot(along.x(), along.y()), 40, 1e-9);
        EXPECT_NEAR((g.strikeFrom + g.strikeTo).x() / 2, at.x(), 1e-9);
        EXPECT_NEAR((g.strikeFrom + g.strikeTo).y() / 2, at.y(), 1e-9);
        const QPointF tick = g.tickTo - g.tickFrom;
        const double dip = std::fmod(qRadiansToDegrees(std::atan2(tick.x(), -tick.y())) + 360, 360);
        EXPECT_NEAR(dip, c.dipDirection, 1e-9) << c.strike;
        EXPECT_NEAR(std::hypot(tick.x(), tick.y()), 9, 1e-9);
        EXPECT_EQ(g.label, QStringLiteral("35°"));
    }
}

TEST(PlanSketch, SvgHoldsKnownPointsVectorsAndTheStrikeSymbol) {
    PlanSketch s = sketchOf({{QStringLiteral("K1"), 2000, 3000, 1},
                             {QStringLiteral("K2"), 2100, 3000, 2},
                             {QStringLiteral("P"), 2000, 3200, 3}});
    s.known = {0, 1};
    s.vectors = {{0, 0.01, 0}, {2, 0, -0.02}};
    exaggerateVectors(s);
    s.strike = StrikeSymbol{2050, 3100, 45, 135, 30};
    const SketchView view = fitAll(s, 600, 400, 40);
    const SvgPicture svg = readSvg(sketchSvg(s, view));
    EXPECT_EQ(svg.known, 2);
    ASSERT_EQ(svg.vectors.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        const QPointF from = view.toPage(s.points[static_cast<size_t>(s.vectors[i].point)].north,
                                         s.points[static_cast<size_t>(s.vectors[i].point)].east);
        const QPointF to = vectorEnd(s, view, s.vectors[i]);
        EXPECT_NEAR(svg.vectors[i].x1(), from.x(), 0.01);
        EXPECT_NEAR(svg.vectors[i].y1(), from.y(), 0.01);
        EXPECT_NEAR(svg.vectors[i].x2(), to.x(), 0.01);
        EXPECT_NEAR(svg.vectors[i].y2(), to.y(), 0.01);
    }
    EXPECT_EQ(svg.vectorLabel, vectorScaleLabel(vectorScaleLength(s, view, 80), s.exaggeration));
    EXPECT_EQ(svg.strikeLines, 2);
    EXPECT_EQ(svg.strikeLabel, QStringLiteral("30°"));
}

TEST(PlanSketch, PointAtFindsTheNearestPointWithinTheRadius) {
    const PlanSketch s = sketchOf({{QStringLiteral("A"), 0, 0, 1}, {QStringLiteral("B"), 0, 4, 2}});
    SketchView view;
    view.width = 100;
    view.height = 100;
    view.scale = 1;
    EXPECT_EQ(pointAt(s, view, QPointF(51, 50)), 0);
    EXPECT_EQ(pointAt(s, view, QPointF(53.5, 50)), 1);
    EXPECT_EQ(pointAt(s, view, QPointF(80, 80)), -1);
}

}  // namespace
}  // namespace hc
