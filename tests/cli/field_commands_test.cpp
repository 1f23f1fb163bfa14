// End-to-end runs of "hechuan-cli traverse" and "hechuan-cli reduce" as separate
// processes.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QPointF>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <cmath>
#include <random>

#include "survey/distance_reduction.h"
#include "survey/intersection.h"
#include "survey/traverse.h"
#include "tests/cli/cli_runner.h"
#include "tests/cli/sketch_svg_reader.h"
#include "tests/survey/print_qstring.h"

namespace {

struct Result {
    int status;
    QString out;
    QString err;
};

Result run(const QStringList& args, const QByteArray& input) {
    const hc_test::CliRun r = hc_test::runCli(args, input);
    return {r.exitCode, QString::fromStdString(r.out), QString::fromStdString(r.err)};
}

TEST(FieldCommands, TraversePrintsTheWindowText) {
    struct Case {
        QStringList args;
        hc::TraverseType type;
        hc::AngleSide side;
    };
    const std::vector<Case> cases = {
        {{}, hc::TraverseType::Connecting, hc::AngleSide::Left},
        {{QStringLiteral("--type"), QStringLiteral("loop")},
         hc::TraverseType::Loop,
         hc::AngleSide::Left},
        {{QStringLiteral("--type=open"), QStringLiteral("--angles"), QStringLiteral("right")},
         hc::TraverseType::Open,
         hc::AngleSide::Right},
    };
    for (const Case& c : cases) {
        const QString sample = hc::traverseSample(c.type);
        const Result r = run(QStringList{QStringLiteral("traverse")} + c.args, sample.toUtf8());
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        hc::TraverseOptions o;
        o.type = c.type;
        o.angles = c.side;
        EXPECT_EQ(r.out, hc::runTraverse(sample, o).output);
        EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    }
}

TEST(FieldCommands, TraverseOverTheAllowanceSaysSoOnStandardError) {
    const QString sample = hc::traverseSample(hc::TraverseType::Connecting);
    const Result r =
        run({QStringLiteral("traverse"), QStringLiteral("--allowance"), QStringLiteral("5")},
            sample.toUtf8());
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.contains(QStringLiteral("坐标为未平差值"))) << r.out.toStdString();
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("角度闭合差 16.1″ 超过容许值 ±11.2″，未作平差")))
        << r.err.toStdString();
}

TEST(FieldCommands, BadOptionsAndDataGiveTheirExitStatus) {
    struct Case {
        QStringList args;
        QByteArray input;
        int status;
        QString err;
    };
    const std::vector<Case> cases = {
        {{QStringLiteral("traverse"), QStringLiteral("--type"), QStringLiteral("ring")},
         {},
         2,
         QStringLiteral("错误: --type 只能是 loop、connecting 或 open")},
        {{QStringLiteral("traverse"), QStringLiteral("--bearing"), QStringLiteral("10.6000")},
         {},
         2,
         QStringLiteral("错误: --bearing “10.6000”的分或秒不小于 60")},
        {{QStringLiteral("traverse")},
         "A,,,1,1\nB,90,,2,2\nC,90,,3,3\n",
         1,
         QStringLiteral("第 2 行（点 B）缺少到下一点的边长")},
        {{QStringLiteral("reduce"), QStringLiteral("--zone"), QStringLiteral("4")},
         {},
         2,
         QStringLiteral("错误: --zone 只能是 3、6 或 1.5")},
        {{QStringLiteral("reduce"), QStringLiteral("--x"), QStringLiteral("1")},
         "L,1,0\n",
         1,
         QStringLiteral("位置要同时写 X 和 Y")},
        {{QStringLiteral("reduce")}, "", 1, QStringLiteral("没有观测数据")},

        {{QStringLiteral("traverse")},
         "A,,,1,1\n" + QByteArray("B,90,100\n").repeated(150000),
         1,
         QStringLiteral("数据超过 100000 行，请分批计算")},
        {{QStringLiteral("intersect")},
         QByteArray("\n").repeated(100001) + "A,0,0\n",
         1,
         QStringLiteral("数据超过 100000 行，请分批计算")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const Result r = run(c.args, c.input);
        EXPECT_EQ(r.status, c.status);
        EXPECT_TRUE(r.err.startsWith(c.err)) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    }
    // A line that is not text is left out and named; the rest is computed, exit status 1.
    for (const char* command : {"traverse", "reduce", "intersect"}) {
        const Result r = run({QLatin1String(command)},
                             "L,100,1.3,1.5,1.5\nL,\xff\xfe"
                             "100,1.3\n");
        EXPECT_EQ(r.status, 1) << command;
        EXPECT_TRUE(r.err.contains(QStringLiteral("错误: 第 2 行既不是 UTF-8 也不是 GB18030 文字")))
            << r.err.toStdString();
    }
}

TEST(FieldCommands, IntersectPrintsTheWindowTextAndWarnsOfWeakGeometry) {
    struct Case {
        const char* type;
        hc::IntersectionKind kind;
    };
    for (const Case c :
         {Case{"forward", hc::IntersectionKind::Forward}, Case{"side", hc::IntersectionKind::Side},
          Case{"resection", hc::IntersectionKind::Resection}}) {
        const QString sample = hc::intersectionSample(c.kind);
        const Result r =
            run({QStringLiteral("intersect"), QStringLiteral("--type"), QLatin1String(c.type)},
                sample.toUtf8());
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_EQ(r.out, hc::runIntersection(sample, c.kind).output);
        EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    }
    const Result weak = run({QStringLiteral("intersect")}, "A,0,0\nB,0,100\nP,80,80\n");
    EXPECT_EQ(weak.status, 0);
    EXPECT_TRUE(weak.err.startsWith(QStringLiteral("点 P 的交会角 20.00000 不在 30 至 150 度之间")))
        << weak.err.toStdString();
    const Result bad =
        run({QStringLiteral("intersect"), QStringLiteral("--type"), QStringLiteral("back")}, {});
    EXPECT_EQ(bad.status, 2);
}

// The grid scale of the reduction is the one "gk --extra" writes for the same point.
TEST(FieldCommands, ReduceScaleIsTheScaleOfGkExtra) {
    struct Zone {
        const char* code;
        int number;        // a zone number of that width over China
        double halfWidth;  // metres east and west of the meridian to try
    };
    std::mt19937_64 rng(32);
    std::uniform_real_distribution<double> north(2400000, 5500000), east(-1, 1);
    const QRegularExpression scaleAtEnd(QStringLiteral(",\\s*([0-9.]+)\\s*$"));
    for (const Zone z : {Zone{"6", 20, 300000}, Zone{"3", 39, 150000}, Zone{"1.5", 78, 70000}}) {
        for (const char* ellipsoid : {"BJ", "XA", "WGS", "2000"}) {
            const double x = std::round(north(rng) * 1000) / 1000;
            const double y =
                z.number * 1e6 + 500000 + std::round(east(rng) * z.halfWidth * 1000) / 1000;
            const QString xs = QString::number(x, 'f', 3), ys = QString::number(y, 'f', 3);
            SCOPED_TRACE((xs + u' ' + ys + u' ' + QLatin1String(ellipsoid)).toStdString());
            const Result gk =
                run({QStringLiteral("gk"), QStringLiteral("--from"), QLatin1String(z.code),
                     QStringLiteral("--to"), QStringLiteral("jw"), QStringLiteral("--order"),
                     QStringLiteral("xyz"), QStringLiteral("--ellipsoid"), QLatin1String(ellipsoid),
                     QStringLiteral("--extra")},
                    (xs + u',' + ys + QStringLiteral(",0\n")).toUtf8());
            ASSERT_EQ(gk.status, 0) << gk.err.toStdString();
            const QString row = gk.out.split(u'\n').filter(QStringLiteral("D001")).value(0);
            const QRegularExpressionMatch m = scaleAtEnd.match(row);
            ASSERT_TRUE(m.hasMatch()) << gk.out.toStdString();
            const Result reduce =
                run({QStringLiteral("reduce"), QStringLiteral("--x"), xs, QStringLiteral("--y"), ys,
                     QStringLiteral("--zone"), QLatin1String(z.code), QStringLiteral("--ellipsoid"),
                     QLatin1String(ellipsoid)},
                    "L,1000,0\n");
            ASSERT_EQ(reduce.status, 0) << reduce.err.toStdString();
            EXPECT_TRUE(reduce.out.contains(QStringLiteral("长度比 k = ") + m.captured(1)))
                << reduce.out.toStdString() << gk.out.toStdString();
        }
    }
}

TEST(FieldCommands, SvgOptionDrawsTheTraverseAndTheIntersection) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const struct {
        QStringList args;
        QString input;
        int points, known, lines;
    } cases[] = {
        {{QStringLiteral("traverse")}, hc::traverseSample(hc::TraverseType::Connecting), 7, 4, 1},
        {{QStringLiteral("intersect")},
         hc::intersectionSample(hc::IntersectionKind::Forward),
         3,
         2,
         2},
        {{QStringLiteral("intersect"), QStringLiteral("--type"), QStringLiteral("resection")},
         hc::intersectionSample(hc::IntersectionKind::Resection),
         4,
         3,
         3},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const QString path = dir.filePath(QStringLiteral("%1.svg").arg(++n));
        const Result plain = run(c.args, c.input.toUtf8());
        const Result r = run(c.args + QStringList{QStringLiteral("--svg"), path}, c.input.toUtf8());
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_EQ(r.out, plain.out);
        const svg_output::Sketch s = svg_output::readSketch(path);
        EXPECT_EQ(s.points, c.points);
        EXPECT_EQ(static_cast<int>(s.names.size()), c.points);
        EXPECT_EQ(s.known, c.known);
        EXPECT_EQ(s.lines, c.lines);
        // The first two known points keep their bearing on the page: x east, y south.
        // Their lines end in X, Y.
        const QStringList first = c.input.split(QStringLiteral("\r\n"));
        const QStringList a = first[0].split(u','), b = first[1].split(u',');
        const QPointF pa = s.names.at(a[0]), pb = s.names.at(b[0]);
        const double north = b[b.size() - 2].toDouble() - a[a.size() - 2].toDouble();
        const double east = b.last().toDouble() - a.last().toDouble();
        EXPECT_NEAR((pb.x() - pa.x()) * north, -(pb.y() - pa.y()) * east,
                    1e-3 * std::hypot(north, east) * std::hypot(pb.x() - pa.x(), pb.y() - pa.y()));
        EXPECT_GT((pb.x() - pa.x()) * east - (pb.y() - pa.y()) * north, 0);
    }
    // A failed calculation writes no picture.
    const QString none = dir.filePath(QStringLiteral("none.svg"));
    EXPECT_EQ(run({QStringLiteral("traverse"), QStringLiteral("--svg"), none}, "A,,,1,2\n").status,
              1);
    EXPECT_FALSE(QFile::exists(none));
}

}  // namespace
