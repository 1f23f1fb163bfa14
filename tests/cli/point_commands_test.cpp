// End-to-end runs of "hechuan-cli bearing" and "hechuan-cli attitude" as separate
// processes.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "tests/cli/cli_runner.h"
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
    EXPECT_EQ(geo.out, QStringLiteral("1 ,5 ,233.074837 ,5 ,0\r\n2 ,0 ,         0 ,0 ,0\r\n"));
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
    EXPECT_EQ(huge.err, QStringLiteral("数据中存在无用的字符或汉字！已被自动清除，计算继续进行。\n"
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

}  // namespace
