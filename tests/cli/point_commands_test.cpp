// End-to-end runs of "hechuan-cli bearing" and "hechuan-cli attitude" as separate
// processes.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

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

const QByteArray kSample =
    "A001,4395879.562,40400348.322,23.441\n"
    " Z02,4394571.954,40397379.291,19.838\n"
    "  z3,4394926.422,40397410.355,19.851\n"
    "G4,0,2,5\n"
    "G5,2,0,5\n"
    "G6,0,0,3\n";

TEST(PointCommands, BearingWritesTheWindowRows) {
    const Result r =
        run({QStringLiteral("bearing"), QStringLiteral("--origin"), QStringLiteral("Z02")},
            kSample.left(kSample.indexOf("G4")));
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("A001 ,3244.223 ,66.134999 ,3244.225 ,0.034908\r\n"
                                    " Z02 ,       0 ,        0 ,       0 ,       0\r\n"
                                    "  z3 , 355.827 , 5.003007 , 355.827 ,0.000753\r\n"));
    EXPECT_TRUE(r.err.isEmpty());

    // Geographic mode with CR LF input; names are line numbers.
    const Result geo = run(
        {QStringLiteral("bearing"), QStringLiteral("--geographic"), QStringLiteral("--origin=2")},
        "1,2,3\r\n4,6,3\r\n");
    EXPECT_EQ(geo.status, 0);
    EXPECT_EQ(geo.out, QStringLiteral("1 ,554894.398 ,233.2323 ,554894.398 ,0\r\n"
                                      "2 ,         0 ,       0 ,         0 ,0\r\n"));
}

TEST(PointCommands, AttitudeWritesTheReport) {
    const Result r =
        run({QStringLiteral("attitude"), QStringLiteral("--start"), QStringLiteral("G4")}, kSample);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(
        r.out.startsWith(QStringLiteral("    用序号为  G4  G5  G6  的三点确定面体 。\r\n")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("\r\n    倾角为 54.44082 度。\r\n")));
    EXPECT_TRUE(r.out.endsWith(QStringLiteral("    可信度接近 100 表示---三点近似成正三角形。")));
    EXPECT_TRUE(r.err.isEmpty());
}

TEST(PointCommands, MessagesGoToStandardErrorAndFailuresExitOne) {
    const Result huge =
        run({QStringLiteral("bearing"), QStringLiteral("--origin"), QStringLiteral("A")},
            "A,1E+28,0,0\n测B,-1E+28,0,0\n");
    EXPECT_EQ(huge.status, 1);
    EXPECT_EQ(huge.out, QStringLiteral(" "));
    EXPECT_EQ(huge.err, QStringLiteral("数据中存在无用的字符或汉字！已被自动清除，计算继续进行。"
                                       "（共清除 1 个字符：测）\n"
                                       "坐标数据存在错误，请修改后计算。\n"));

    const Result few = run({QStringLiteral("attitude")}, "A,1,2,3\n");
    EXPECT_EQ(few.status, 1);
    EXPECT_EQ(few.out, QStringLiteral("提供的坐标数据存在错误，请仔细修改后再计算。"));
    EXPECT_EQ(few.err, QStringLiteral("点数少于3个，无法完成计算。\n"));

    const Result line = run({QStringLiteral("attitude"), QStringLiteral("--start=A")},
                            "A,0,0,0\nB,1,1,1\nC,2,2,2\n");
    EXPECT_EQ(line.status, 1);
    EXPECT_EQ(line.err,
              QStringLiteral("三点坐标在一条直线上 =====> 数据有误----无法计算面体参数？\n"));

    const Result empty = run({QStringLiteral("bearing")}, "");
    EXPECT_EQ(empty.status, 0);
    EXPECT_TRUE(empty.out.isEmpty());
}

TEST(PointCommands, HelpAndUsageErrors) {
    for (const char* command : {"bearing", "attitude"}) {
        const Result help = run({QString::fromLatin1(command), QStringLiteral("--help")}, "");
        EXPECT_EQ(help.status, 0);
        EXPECT_TRUE(help.out.contains(QStringLiteral("用法")));
        EXPECT_TRUE(help.out.contains(QStringLiteral("Usage")));
        const Result bad = run({QString::fromLatin1(command), QStringLiteral("--nonsense")}, "");
        EXPECT_EQ(bad.status, 2);
        EXPECT_TRUE(bad.out.isEmpty());
        EXPECT_TRUE(bad.err.contains(QStringLiteral("Usage")));
    }
}

// Standard input is the text a user would paste: no row for a last line that the
// window's text would not have.
TEST(PointCommands, StandardInputIsReadAsThePastedText) {
    struct Case {
        const char* command;
        const char* input;
        const char* out;
    };
    const Case cases[] = {
        {"bearing", "x", ""},
        {"bearing", "A,3,4,0", "A ,5 ,53.074837 ,5 ,0\r\n"},
        {"bearing", "A,3,4,0\n", "A ,5 ,53.074837 ,5 ,0\r\n"},
        {"bearing", "A,3,4,0\n\n", "A ,5 ,53.074837 ,5 ,0\r\n  ,0 ,        0 ,0 ,0\r\n"},
        {"bearing", "A,3,4,0\n   ", "A ,5 ,53.074837 ,5 ,0\r\n"},
        {"bearing", "A,3,4,0\r\n   \r\n", "A ,5 ,53.074837 ,5 ,0\r\n  ,0 ,        0 ,0 ,0\r\n"},
        {"bearing", "A,3,4,0\rB,0,1,0\r", "A ,5 ,53.074837 ,5 ,0\r\nB ,1 ,       90 ,1 ,0\r\n"},
        {"bearing", "   ", " ,0 ,0 ,0 ,0\r\n"},
    };
    for (const Case& c : cases) {
        const Result r = run({QString::fromLatin1(c.command)}, QByteArray(c.input));
        EXPECT_EQ(r.status, 0) << c.input;
        EXPECT_EQ(r.out, QString::fromUtf8(c.out)) << c.input;
    }

    const Result spaces =
        run({QStringLiteral("attitude"), QStringLiteral("--start"), QStringLiteral("R")},
            "A,0,0,0\nB,1,0,0\nR,0,1,1\n   ");
    EXPECT_EQ(spaces.status, 0) << spaces.err.toStdString();
    EXPECT_TRUE(spaces.out.startsWith(QStringLiteral("    用序号为  R  A  B  的三点确定面体 。")));
    EXPECT_TRUE(spaces.err.isEmpty());
}

// Azimuths below 360, minutes and seconds below 60 after rounding.
TEST(PointCommands, ShownAnglesAreNormalised) {
    const Result north = run({QStringLiteral("bearing"), QStringLiteral("--origin=O")},
                             "O,0,0,0\nP,1000000,-0.000001,0\n");
    EXPECT_EQ(north.out,
              QStringLiteral("O ,      0 ,0 ,      0 ,0\r\nP ,1000000 ,0 ,1000000 ,0\r\n"));
    // 10.999999 degrees is 10°59'59.9964", which rounds to 11°.
    const Result carried = run({QStringLiteral("bearing"), QStringLiteral("--origin=O")},
                               "O,0,0,0\nP,1000000,194380.291,0\n");
    EXPECT_EQ(carried.out, QStringLiteral("O ,          0 , 0 ,          0 ,0\r\n"
                                          "P ,1018716.691 ,11 ,1018716.691 ,0\r\n"));
    // A plane whose dip direction rounds to 360 degrees.
    const Result plane = run({QStringLiteral("attitude"), QStringLiteral("--start=P1")},
                             "P1,0,0,0\nP2,1,0,-1\nP3,0,100000,0.0001\n");
    EXPECT_TRUE(plane.out.contains(QStringLiteral("    倾向为 0 度\r\n")))
        << plane.out.toStdString();
    EXPECT_TRUE(plane.out.contains(QStringLiteral("    走向为 90 度\r\n")));
}

TEST(PointCommands, FieldsThatAreNoNumberAreNamed) {
    const Result r = run({QStringLiteral("bearing")}, "A,1,x,3\nB,2,2,2\nC,y,1,1\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, QStringLiteral("有 2 个数据不是数值，已按 0 计算：第 1 行第 3 列“x”，"
                                    "第 3 行第 2 列“y”。\n"));
    const Result chinese = run({QStringLiteral("attitude")},
                               QStringLiteral("测点1,0,0,1\n测点2,1,0,0\n测点3,0,1,0\n").toUtf8());
    EXPECT_EQ(chinese.err, QStringLiteral("数据中存在无用的字符或汉字！已被自动清除，计算继续进行。"
                                          "（共清除 6 个字符：测、点）\n"));
}

TEST(PointCommands, GeographicBearingsOnTheChosenEllipsoid) {
    // GeodSolve -i -p 6: 30 114 31 114 gives 110860.925566 m on WGS 84.
    const Result wgs =
        run({QStringLiteral("bearing"), QStringLiteral("--geographic"),
             QStringLiteral("--ellipsoid"), QStringLiteral("wgs"), QStringLiteral("--origin=1")},
            "30,114,10\n31,114,110\n");
    EXPECT_EQ(wgs.status, 0);
    EXPECT_EQ(wgs.out, QStringLiteral("1 ,         0 ,0 ,         0 ,       0\r\n"
                                      "2 ,110860.926 ,0 ,110860.971 ,0.030606\r\n"));
    const Result bad = run({QStringLiteral("bearing"), QStringLiteral("--geographic"),
                            QStringLiteral("--ellipsoid=mars")},
                           "");
    EXPECT_EQ(bad.status, 2);
    const Result grid = run({QStringLiteral("bearing"), QStringLiteral("--ellipsoid=WGS")}, "");
    EXPECT_EQ(grid.status, 2);
}

// Ten million lines take some megabytes (the list is read line by line and the rows
// wait in a temporary file); a line longer than 1 MiB is refused, not cut.
TEST(PointCommands, LongInputsInBoundedMemory) {
    QByteArray many;
    for (int i = 0; i < 200000; ++i) many += "P" + QByteArray::number(i) + ",1,2,3\n";
    const Result r = run({QStringLiteral("bearing"), QStringLiteral("--origin=P7")}, many);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.count(QStringLiteral("\r\n")), 200000);
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("     P0 ,0 ,0 ,0 ,0\r\n")));

    const QByteArray longLine = "A,1,2,3\r\nB," + QByteArray((1 << 20) + 1, '7') + ",2,3\n";
    for (const char* command : {"bearing", "attitude"}) {
        const Result refused = run({QString::fromLatin1(command)}, longLine);
        EXPECT_EQ(refused.status, 1);
        EXPECT_TRUE(refused.out.isEmpty());
        EXPECT_EQ(refused.err, QStringLiteral("标准输入第 2 行超过 1 MiB，不能作为点表读取。\n"));
    }
}

}  // namespace

namespace svg_output {

TEST(PointCommands, SvgOptionWritesThePlanSketchBesideTheUsualOutput) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray points = kSample.mid(kSample.indexOf("G4"));
    for (const char* command : {"bearing", "attitude", "area"}) {
        SCOPED_TRACE(command);
        const QString path = dir.filePath(QString::fromLatin1(command) + QStringLiteral(".svg"));
        const Result plain = run({QString::fromLatin1(command)}, points);
        const Result r = run({QString::fromLatin1(command), QStringLiteral("--svg"), path}, points);
        ASSERT_EQ(r.status, plain.status) << r.err.toStdString();
        EXPECT_EQ(r.out, plain.out);
        const Sketch s = readSketch(path);
        EXPECT_EQ(s.points, 3);
        ASSERT_EQ(s.names.size(), 3u);
        // G5 (X 2, Y 0) is north of G6 (0, 0): straight above it; G4 (0, 2) east of
        // it: straight to the right, as far as G5 is up.
        const QPointF g4 = s.names.at(QStringLiteral("G4")), g5 = s.names.at(QStringLiteral("G5")),
                      g6 = s.names.at(QStringLiteral("G6"));
        EXPECT_NEAR(g5.x(), g6.x(), 0.01);
        EXPECT_NEAR(g4.y(), g6.y(), 0.01);
        EXPECT_GT(g6.y() - g5.y(), 100);
        EXPECT_NEAR(g6.y() - g5.y(), g4.x() - g6.x(), 0.02);
        EXPECT_EQ(s.outlines, QLatin1String(command) == QLatin1String("area") ? 1 : 0);
    }

    const Result unwritable = run({QStringLiteral("bearing"), QStringLiteral("--svg"),
                                   dir.filePath(QStringLiteral("no/such.svg"))},
                                  points);
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_TRUE(unwritable.err.contains(QStringLiteral("无法写入草图文件")))
        << unwritable.err.toStdString();

    const Result geographic =
        run({QStringLiteral("bearing"), QStringLiteral("--geographic"), QStringLiteral("--svg"),
             dir.filePath(QStringLiteral("geo.svg"))},
            "1,2,3\r\n");
    EXPECT_EQ(geographic.status, 2);
}

}  // namespace svg_output
