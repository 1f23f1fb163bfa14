// "hechuan-cli area" as a separate process: it prints what the area window shows.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "survey/parcel_area.h"
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

const QByteArray kParcels =
    "NE\n"
    "1,3527402.118,39476233.512,0\n"
    "2,3527596.731,39476402.845,0\n"
    "3,3527448.260,39476650.127,0\n"
    "4,3527251.904,39476488.330,0\n"
    "\n"
    "1,3527620.500,39476720.250\n"
    "2,3527700.000,39476800.000\n"
    "3,3527610.125,39476890.750\n";

TEST(AreaCommand, PrintsTheWindowsOutputBox) {
    const struct {
        QStringList args;
        hc::AreaOptions options;
    } cases[] = {
        {{}, {}},
        {{QStringLiteral("--decimals"), QStringLiteral("0"), QStringLiteral("--ellipsoid"),
          QStringLiteral("2000")},
         {.datum = hc::Datum::Cgcs2000, .decimals = 0}},
        {{QStringLiteral("--zone=3"), QStringLiteral("--ellipsoid=XA")},
         {.datum = hc::Datum::Xian1980, .zone = hc::ZoneWidth::Three}},
    };
    for (const auto& c : cases) {
        const Result r = run(QStringList{QStringLiteral("area")} + c.args, kParcels);
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        QString windowText = QString::fromUtf8(kParcels);
        windowText.replace(u'\n', QStringLiteral("\r\n"));
        EXPECT_EQ(r.out, hc::runParcelArea(windowText, c.options).output)
            << c.args.join(u' ').toStdString();
        EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    }
}

TEST(AreaCommand, GeographicRowsAndTheirNotices) {
    const Result r = run({QStringLiteral("area"), QStringLiteral("--geographic")},
                         "P1,39.1,117.1\nP2,39.2,117.1\nP3,39.2,117.2\nP4,39.2,117.2\n");
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("地块  点数")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("顺时针")));
    EXPECT_EQ(r.err, QStringLiteral("地块“1”第 4 行的点与前一点重合（首尾相同也算），已按一个顶点"
                                    "计算，共 1 处。\n"));
}

TEST(AreaCommand, NothingToComputeExitsOne) {
    const Result r = run({QStringLiteral("area")}, "A,0,39500000\nB,10,39500000\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.contains(QStringLiteral("顶点不足")));
    EXPECT_TRUE(r.err.contains(QStringLiteral("不同的顶点少于三个，无法计算面积。\n")));
    EXPECT_TRUE(r.err.endsWith(QStringLiteral("没有可以计算面积的地块。\n")));
}

TEST(AreaCommand, BadOptionsExitTwo) {
    const QStringList bad[] = {
        {QStringLiteral("--decimals"), QStringLiteral("9")},
        {QStringLiteral("--decimals"), QStringLiteral("x")},
        {QStringLiteral("--zone"), QStringLiteral("4")},
        {QStringLiteral("--ellipsoid"), QStringLiteral("GRS")},
        {QStringLiteral("--meridian"), QStringLiteral("east")},
        {QStringLiteral("--geographic"), QStringLiteral("--zone=6")},
        {QStringLiteral("--zone=6"), QStringLiteral("--meridian=117")},
        {QStringLiteral("extra")},
    };
    for (const QStringList& args : bad) {
        const Result r = run(QStringList{QStringLiteral("area")} + args, kParcels);
        EXPECT_EQ(r.status, 2) << args.join(u' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(r.err.contains(QStringLiteral("Usage: hechuan-cli area")));
    }
    const Result help = run({QStringLiteral("area"), QStringLiteral("--help")}, {});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("用法: hechuan-cli area")));
}

}  // namespace
