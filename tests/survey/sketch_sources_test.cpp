// The sketches the survey operations hand to their windows and to --svg: the traverse
// walk with its known points, the intersection rays, the datum fit's misfit vectors, the
// grid rows of the coordinate conversion and the strike and dip symbol of a plane.

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <cmath>

#include "print_qstring.h"
#include "survey/coord_window_ops.h"
#include "survey/datum_ops.h"
#include "survey/intersection.h"
#include "survey/plan_sketch.h"
#include "survey/plane_attitude.h"
#include "survey/traverse.h"

namespace hc {
namespace {

QStringList namesOf(const PlanSketch& s, const std::vector<int>& indices) {
    QStringList out;
    for (const int i : indices) out << s.points[static_cast<size_t>(i)].name;
    return out;
}

QStringList namesOf(const PlanSketch& s) {
    QStringList out;
    for (const SketchPoint& p : s.points) out << p.name;
    return out;
}

// The numbers of the output line starting with `name` (after the name).
std::vector<double> rowNumbers(const QString& output, const QString& name) {
    for (const QString& line : output.split(QStringLiteral("\r\n"))) {
        const QStringList f = line.split(u' ', Qt::SkipEmptyParts);
        if (f.size() < 3 || f[0] != name) continue;
        std::vector<double> out;
        for (qsizetype i = 1; i < f.size(); ++i) {
            bool ok = false;
            const double v = f[i].toDouble(&ok);
            if (ok) out.push_back(v);
        }
        return out;
    }
    return {};
}

TEST(SketchSources, ConnectingTraverseWalksFromBacksightToForesight) {
    TraverseOptions options;
    const TraverseRun run = runTraverse(traverseSample(TraverseType::Connecting), options);
    ASSERT_FALSE(run.failed) << run.output.toStdString();
    const PlanSketch& s = run.sketch;
    EXPECT_EQ(namesOf(s), QStringList({"A", "B", "1", "2", "3", "C", "D"}));
    EXPECT_EQ(namesOf(s, s.known), QStringList({"A", "B", "C", "D"}));
    ASSERT_GE(s.marked, 0);
    EXPECT_EQ(s.points[static_cast<size_t>(s.marked)].name, u"B");
    ASSERT_EQ(s.lines.size(), 1u);
    EXPECT_EQ(s.lines[0].points, (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
    // The new points sit at their adjusted coordinates, on their lines of the input.
    for (const QString& name : {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}) {
        const std::vector<double> row = rowNumbers(run.output, name);
        ASSERT_GE(row.size(), 2u) << name.toStdString();
        const auto it = std::find_if(s.points.begin(), s.points.end(),
                                     [&](const SketchPoint& p) { return p.name == name; });
        ASSERT_NE(it, s.points.end());
        EXPECT_NEAR(it->north, row[row.size() - 2], 0.0006) << name.toStdString();
        EXPECT_NEAR(it->east, row[row.size() - 1], 0.0006) << name.toStdString();
        EXPECT_EQ(it->line, name.toInt() + 2) << name.toStdString();
    }
}

TEST(SketchSources, LoopTraverseClosesOnItsStartPoint) {
    TraverseOptions options;
    options.type = TraverseType::Loop;
    const TraverseRun run = runTraverse(traverseSample(TraverseType::Loop), options);
    ASSERT_FALSE(run.failed) << run.output.toStdString();
    const PlanSketch& s = run.sketch;
    // The start point once, the walk coming back to it.
    EXPECT_EQ(namesOf(s), QStringList({"Q", "1", "2", "3", "4", "5"}));
    ASSERT_EQ(s.lines.size(), 1u);
    EXPECT_EQ(s.lines[0].points.front(), 0);
    EXPECT_EQ(s.lines[0].points.back(), 1);
    EXPECT_EQ(s.lines[0].points[1], 1);
    EXPECT_EQ(namesOf(s, s.known), QStringList({"Q", "1"}));
}

TEST(SketchSources, FailedRunsDrawNothing) {
    EXPECT_TRUE(runTraverse(QStringLiteral("A,,,1,2\r\n"), {}).sketch.points.empty());
    EXPECT_TRUE(runIntersection(QStringLiteral("A,1,2\r\n"), IntersectionKind::Forward)
                    .sketch.points.empty());
}

TEST(SketchSources, IntersectionJoinsEachNewPointToTheKnownPoints) {
    const struct {
        IntersectionKind kind;
        int known;
    } cases[] = {{IntersectionKind::Forward, 2},
                 {IntersectionKind::Side, 2},
                 {IntersectionKind::Resection, 3}};
    for (const auto& c : cases) {
        const IntersectionRun run = runIntersection(intersectionSample(c.kind), c.kind);
        ASSERT_FALSE(run.failed) << run.output.toStdString();
        const PlanSketch& s = run.sketch;
        ASSERT_EQ(s.known.size(), static_cast<size_t>(c.known));
        EXPECT_EQ(s.marked, 0);
        const int fixed = static_cast<int>(s.points.size()) - 1;
        ASSERT_GE(fixed, c.known);
        const SketchPoint& p = s.points[static_cast<size_t>(fixed)];
        const std::vector<double> row = rowNumbers(run.output, p.name);
        ASSERT_GE(row.size(), 2u);
        EXPECT_NEAR(p.north, row[0], 0.0006);
        EXPECT_NEAR(p.east, row[1], 0.0006);
        ASSERT_EQ(s.lines.size(), static_cast<size_t>(c.known));
        for (int k = 0; k < c.known; ++k)
            EXPECT_EQ(s.lines[static_cast<size_t>(k)].points, (std::vector<int>{k, fixed}));
    }
}

const char* const kSource =
    "A1,39.5412345,116.2312345,52.1\n"
    "A2,39.4012345,116.5512345,43.7\n"
    "A3,40.0512345,116.1512345,120.3\n"
    "A4,39.3512345,116.0512345,30.0\n"
    "A5,39.4512345,116.3012345,40.0\n";
const char* const kTarget =
    "A1,4419056.3787,39447602.9008,89.2141\n"
    "A2,4392972.4871,39493187.3996,80.6466\n"
    "A3,4439499.7231,39436371.3436,157.3881\n"
    "A4,4384115.3962,39421590.1122,67.4376\n"
    "A5,4395121.1020,39464103.2200,60.0\n";

TEST(SketchSources, DatumFitDrawsTheResidualTableAsVectors) {
    DatumFitSettings settings;
    settings.from = *coordSystemOfCode(QStringLiteral("WGS:jw"));
    settings.to = *coordSystemOfCode(QStringLiteral("BJ:3"));
    settings.model = DatumModel::Four;
    settings.from = *coordSystemOfCode(QStringLiteral("BJ:3"));
    // Four parameters between two grids: the target shifted and one point moved.
    QString moved = QString::fromLatin1(kTarget);
    moved.replace(QStringLiteral("4395121.1020"), QStringLiteral("4395121.2020"));
    const DatumFitRun run = runDatumFit(QString::fromLatin1(kTarget), moved, settings);
    ASSERT_TRUE(run.ok) << run.output.toStdString();
    const PlanSketch& s = run.sketch;
    ASSERT_EQ(s.points.size(), 5u);
    ASSERT_EQ(s.vectors.size(), 5u);
    double longest = 0;
    for (size_t i = 0; i < 5; ++i) {
        const SketchPoint& p = s.points[i];
        const SketchVector& v = s.vectors[i];
        EXPECT_EQ(v.point, static_cast<int>(i));
        EXPECT_EQ(p.line, static_cast<qint64>(i) + 1);
        // Drawn at the target grid position, the vector the table's north and east.
        const std::vector<double> target = rowNumbers(
            QString(moved).replace(u',', u' ').replace(u'\n', QStringLiteral("\r\n")), p.name);
        ASSERT_GE(target.size(), 2u);
        EXPECT_DOUBLE_EQ(p.north, target[0]);
        EXPECT_DOUBLE_EQ(p.east, target[1]);
        const std::vector<double> residual = rowNumbers(run.output, p.name);
        ASSERT_GE(residual.size(), 2u) << p.name.toStdString();
        EXPECT_NEAR(v.north, residual[0], 0.00005) << p.name.toStdString();
        EXPECT_NEAR(v.east, residual[1], 0.00005) << p.name.toStdString();
        longest = std::max(longest, std::hypot(v.north, v.east));
    }
    // The moved point's misfit is the largest; the longest arrow is near a tenth of the
    // extent, at most that.
    EXPECT_GT(longest, 0.05);
    const double extent = 4439499.7231 - 4384115.3962;
    EXPECT_LE(longest * s.exaggeration, extent / 10 * (1 + 1e-9));
    EXPECT_GT(longest * s.exaggeration, extent / 10 / 2.5);
}

TEST(SketchSources, DatumFitOnLatitudeAndLongitudeDrawsALocalPlane) {
    DatumFitSettings settings;
    settings.from = *coordSystemOfCode(QStringLiteral("BJ:3"));
    settings.to = *coordSystemOfCode(QStringLiteral("WGS:jw"));
    settings.model = DatumModel::Seven;
    const DatumFitRun run =
        runDatumFit(QString::fromLatin1(kTarget), QString::fromLatin1(kSource), settings);
    ASSERT_TRUE(run.ok) << run.output.toStdString();
    const PlanSketch& s = run.sketch;
    ASSERT_EQ(s.points.size(), 5u);
    // Packed degrees: A3 lies 30' north of A4, A2 50' east of it; metres on a sphere
    // around the middle of the points (39.77 degrees north).
    const auto at = [&](const char* name) {
        for (const SketchPoint& p : s.points)
            if (p.name == QLatin1String(name)) return p;
        return SketchPoint{};
    };
    EXPECT_NEAR(at("A3").north - at("A4").north, 0.5 * 111195, 100);
    EXPECT_NEAR(at("A2").east - at("A4").east, 50.0 / 60 * 111195 * std::cos(39.77 * M_PI / 180),
                100);
    EXPECT_NEAR(at("A1").north + at("A2").north + at("A3").north + at("A4").north + at("A5").north,
                0, 1e-6);
}

TEST(SketchSources, GridRowsOfTheConversionBoxes) {
    const QString text = QStringLiteral(
        "﹌﹌﹌以下为３度带北京坐标﹌﹌﹌\r\n"
        "A1 , 3523543.001 , 39547332.900 , 10.000 \r\n"
        "\r\n"
        "A2 , 3523600.5 , 39547400 \r\n"
        "J1 , 31.52079328 , 116.44558452 , 10.000 \r\n"
        "R , 0 , 0 , 0 \r\n");
    struct Case {
        AxisOrder order;
        double north, east;
    } cases[] = {{AxisOrder::XYZ, 3523543.001, 39547332.900},
                 {AxisOrder::YXZ, 39547332.900, 3523543.001}};
    for (const Case& c : cases) {
        const PlanSketch s = gridRowsSketch(text, QStringLiteral(","), c.order);
        // Latitude and longitude rows and the zeroed row of a rejected point stay out.
        ASSERT_EQ(namesOf(s), QStringList({"A1", "A2"}));
        EXPECT_DOUBLE_EQ(s.points[0].north, c.north);
        EXPECT_DOUBLE_EQ(s.points[0].east, c.east);
        EXPECT_EQ(s.points[0].line, 2);
        EXPECT_EQ(s.points[1].line, 4);
    }
    // The first block only: the rows before the blank line.
    EXPECT_EQ(gridRowsSketch(text, QStringLiteral(","), AxisOrder::XYZ, true).points.size(), 1u);
    EXPECT_EQ(gridRowsSketch(text, QStringLiteral(","), AxisOrder::XYZ, false, 1).points.size(),
              1u);
    EXPECT_TRUE(gridRowsSketch(QString(), QStringLiteral(","), AxisOrder::XYZ).points.empty());
}

TEST(SketchSources, AttitudeSymbolStandsAtTheMiddleOfTheThreePoints) {
    // z = 3 + x + y: rising toward the north-east, so dipping to the south-west
    // (225 degrees) at atan(sqrt 2), striking 135 or 315 degrees.
    const AttitudeRun run = runPlaneAttitude(QStringLiteral("G4,0,2,5\r\nG5,2,0,5\r\nG6,0,0,3\r\n"),
                                             QStringLiteral("G4"));
    ASSERT_FALSE(run.failed) << run.output.toStdString();
    ASSERT_TRUE(run.symbol.has_value());
    const StrikeSymbol& s = *run.symbol;
    EXPECT_NEAR(s.north, 2.0 / 3, 1e-9);
    EXPECT_NEAR(s.east, 2.0 / 3, 1e-9);
    EXPECT_NEAR(s.dipDirection, 225, 1e-3);
    EXPECT_NEAR(s.dip, qRadiansToDegrees(std::atan(std::sqrt(2.0))), 1e-3);
    EXPECT_NEAR(std::fmod(s.strike, 180), 135, 1e-3);

    // A level plane has no strike to draw; three points on a line no plane at all.
    EXPECT_FALSE(
        runPlaneAttitude(QStringLiteral("A,0,0,1\r\nB,1,0,1\r\nC,0,1,1\r\n"), QStringLiteral("A"))
            .symbol);
    EXPECT_FALSE(
        runPlaneAttitude(QStringLiteral("A,0,0,1\r\nB,1,1,2\r\nC,2,2,3\r\n"), QStringLiteral("A"))
            .symbol);
}

}  // namespace
}  // namespace hc
