#include "survey/intersection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "survey/text_table.h"
#include "tests/survey/print_qstring.h"

namespace hc {
namespace {

double bearing(const PlanePoint& p, const PlanePoint& q) {
    double a = std::atan2(q.y - p.y, q.x - p.x) * 180 / std::numbers::pi;
    return a < 0 ? a + 360 : a;
}
double clockwise(double from, double to) {
    const double a = std::fmod(to - from, 360.0);
    return a < 0 ? a + 360 : a;
}

TEST(Intersection, RandomForwardAndSideIntersectionsReproduceThePoint) {
    std::mt19937_64 rng(4);
    std::uniform_real_distribution<double> coord(-5000, 5000), offset(-3000, 3000);
    int tried = 0;
    while (tried < 500) {
        const PlanePoint a{coord(rng), coord(rng)};
        const PlanePoint b{a.x + offset(rng), a.y + offset(rng)};
        const PlanePoint p{a.x + offset(rng), a.y + offset(rng)};
        // α at A from B round to P counterclockwise, β at B from P round to A.
        const double alpha = clockwise(bearing(a, p), bearing(a, b));
        const double beta = clockwise(bearing(b, a), bearing(b, p));
        if (alpha <= 0.5 || beta <= 0.5 || alpha + beta >= 179.5) continue;  // right of A→B
        ++tried;
        const PlanePoint f = forwardIntersection(a, b, alpha, beta);
        EXPECT_NEAR(f.x, p.x, 1e-6);
        EXPECT_NEAR(f.y, p.y, 1e-6);
        const double gamma = clockwise(bearing(p, b), bearing(p, a));
        EXPECT_NEAR(alpha + beta + gamma, 180, 1e-9);
        const PlanePoint s = forwardIntersection(a, b, alpha, 180 - alpha - gamma);
        EXPECT_NEAR(s.x, p.x, 1e-6);
        EXPECT_NEAR(s.y, p.y, 1e-6);
    }
}

TEST(Intersection, RandomResectionsReproduceThePoint) {
    std::mt19937_64 rng(5);
    std::uniform_real_distribution<double> coord(-4000, 4000);
    int tried = 0;
    while (tried < 500) {
        const PlanePoint a{coord(rng), coord(rng)}, b{coord(rng), coord(rng)},
            c{coord(rng), coord(rng)}, p{coord(rng), coord(rng)};
        // Keep clear of the circle through A, B, C, where no point is fixed, and of
        // known points almost in line with P.
        if (dangerCircleRatio(a, b, c, p) < 0.02) continue;
        const double alpha = clockwise(bearing(p, a), bearing(p, b));
        const double beta = clockwise(bearing(p, b), bearing(p, c));
        if (std::fabs(std::sin(alpha * std::numbers::pi / 180)) < 0.02 ||
            std::fabs(std::sin(beta * std::numbers::pi / 180)) < 0.02)
            continue;
        ++tried;
        const PlanePoint r = resection(a, b, c, alpha, beta);
        EXPECT_NEAR(r.x, p.x, 1e-6) << tried;
        EXPECT_NEAR(r.y, p.y, 1e-6) << tried;
    }
}

// A resection sample around a triangle; the point P is moved along a ray from the
// circumcentre so that it lies a given part of the radius off the danger circle.
QString resectionText(double ratio) {
    const PlanePoint a{0, 0}, b{1000, 0}, c{0, 1000};
    const PlanePoint o{500, 500};
    const double r = std::hypot(500.0, 500.0);
    const double t = 200 * std::numbers::pi / 180;  // towards the arc between A and C
    const PlanePoint p{o.x + r * (1 + ratio) * std::cos(t), o.y + r * (1 + ratio) * std::sin(t)};
    auto packed = [](double degrees) {
        long long units = std::llround(degrees * 3600 * 1e6);
        const long long s = units / 1000000, f = units % 1000000;
        return QStringLiteral("%1.%2%3%4")
            .arg(s / 3600)
            .arg((s % 3600) / 60, 2, 10, QChar(u'0'))
            .arg(s % 60, 2, 10, QChar(u'0'))
            .arg(f, 6, 10, QChar(u'0'));
    };
    return QStringLiteral("A,0,0\r\nB,1000,0\r\nC,0,1000\r\nP,%1,%2\r\n")
        .arg(packed(clockwise(bearing(p, a), bearing(p, b))),
             packed(clockwise(bearing(p, b), bearing(p, c))));
}

TEST(Intersection, WeakGeometryIsReported) {
    struct Case {
        QString input;
        IntersectionKind kind;
        bool weak;
    };
    const std::vector<Case> cases = {
        {resectionText(0.5), IntersectionKind::Resection, false},
        {resectionText(0.25), IntersectionKind::Resection, false},
        {resectionText(0.15), IntersectionKind::Resection, true},
        {resectionText(-0.1), IntersectionKind::Resection, true},
        {resectionText(0.01), IntersectionKind::Resection, true},
        {QStringLiteral("A,0,0\r\nB,0,100\r\nP,45,45\r\n"), IntersectionKind::Forward, false},
        {QStringLiteral("A,0,0\r\nB,0,100\r\nP,80,75\r\n"), IntersectionKind::Forward, true},
        {QStringLiteral("A,0,0\r\nB,0,100\r\nP,10,10\r\n"), IntersectionKind::Forward, true},
        {QStringLiteral("A,0,0\r\nB,0,100\r\nP,60,20\r\n"), IntersectionKind::Side, true},
        {QStringLiteral("A,0,0\r\nB,0,100\r\nP,60,60\r\n"), IntersectionKind::Side, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input.toStdString());
        const IntersectionRun run = runIntersection(c.input, c.kind);
        ASSERT_FALSE(run.failed) << run.output.toStdString();
        EXPECT_EQ(run.notices.size(), c.weak ? 1 : 0);
        EXPECT_EQ(run.output.contains(QStringLiteral("图形弱")), c.weak)
            << run.output.toStdString();
    }
    // Many weak points: a few message boxes and one for the rest, every one in the table.
    QString many = QStringLiteral("A,0,0\r\nB,0,100\r\n");
    for (int i = 0; i < 40; ++i) many += QStringLiteral("P%1,10,10\r\n").arg(i);
    const IntersectionRun flood = runIntersection(many, IntersectionKind::Forward);
    ASSERT_EQ(flood.notices.size(), 6);
    EXPECT_EQ(flood.notices.back().text, QStringLiteral("另有 35 个点图形弱，见成果表"));
    EXPECT_EQ(flood.output.count(QStringLiteral("  图形弱")), 40);

    // On the circle itself no point is fixed.
    const IntersectionRun on = runIntersection(resectionText(0), IntersectionKind::Resection);
    EXPECT_TRUE(on.failed) << on.output.toStdString();
    EXPECT_TRUE(on.output.contains(QStringLiteral("危险圆"))) << on.output.toStdString();
}

TEST(Intersection, SamplesAndBadInput) {
    const IntersectionRun forward =
        runIntersection(intersectionSample(IntersectionKind::Forward), IntersectionKind::Forward);
    const IntersectionRun side =
        runIntersection(intersectionSample(IntersectionKind::Side), IntersectionKind::Side);
    ASSERT_FALSE(forward.failed);
    // The side sample observes at P the angle the forward sample leaves there.
    EXPECT_EQ(forward.output.split(QStringLiteral("\r\n"))[3],
              side.output.split(QStringLiteral("\r\n"))[3]);

    struct Case {
        QString input;
        IntersectionKind kind;
        QString expected;
    };
    const std::vector<Case> cases = {
        {QStringLiteral("A,0,0\r\n"), IntersectionKind::Forward,
         QStringLiteral("要先写 2 个已知点（点号，X，Y）")},
        {QStringLiteral("A,0,0\r\nB,0,1\r\nC,1,1\r\n"), IntersectionKind::Resection,
         QStringLiteral("已知点后面没有待定点的观测角")},
        {QStringLiteral("A,0,0\r\nB,0,100\r\nP,100,80\r\n"), IntersectionKind::Forward,
         QStringLiteral("两个角之和要小于 180 度")},
        {QStringLiteral("A,0,0\r\nB,0,100\r\nP,45.6000,45\r\n"), IntersectionKind::Forward,
         QStringLiteral("第 3 行（点 P）的第一个角“45.6000”的分或秒不小于 60")},
        {QStringLiteral("A,0,0\r\nB,0,100\r\nP,45\r\n"), IntersectionKind::Forward,
         QStringLiteral("第 3 行（点 P）应有三项")},
        {QStringLiteral("A,0,0\r\nA2,0,0\r\nP,45,45\r\n"), IntersectionKind::Forward,
         QStringLiteral("两个已知点重合")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input.toStdString());
        const IntersectionRun run = runIntersection(c.input, c.kind);
        EXPECT_TRUE(run.failed);
        EXPECT_TRUE(run.output.startsWith(c.expected)) << run.output.toStdString();
        ASSERT_EQ(run.notices.size(), 1);
    }
}

}  // namespace
}  // namespace hc
