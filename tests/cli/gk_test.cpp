// End-to-end runs of "hechuan-cli gk" as a separate process.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "tests/cli/cli_runner.h"

namespace {

struct Result {
    int status;
    QByteArray out;
    QByteArray err;
};

Result runGk(const QStringList& args, const QByteArray& input) {
    const hc_test::CliRun r = hc_test::runCli(QStringList{QStringLiteral("gk")} + args, input);
    return {r.exitCode, QByteArray::fromStdString(r.out), QByteArray::fromStdString(r.err)};
}

TEST(GkCommandLine, ConvertsTheSampleToThreeDegreeGrid) {
    const QByteArray input =
        QStringLiteral("A01 , 39.4125536 , 117.5017873 , 23.441\n39.4053387 , 117.4815132\n")
            .toUtf8();
    const Result r = runGk({QStringLiteral("--from"), QStringLiteral("jw"), QStringLiteral("--to"),
                            QStringLiteral("3")},
                           input);
    ASSERT_EQ(r.status, 0) << r.err.constData();
    EXPECT_EQ(QString::fromUtf8(r.out),
              QStringLiteral("﹌﹌﹌以下为３度带北京系公里网坐标……单位【米】﹌﹌﹌\r\n"
                             "A01  , 4395570.260 , 39571909.407 , 23.441 \r\n"
                             "D002 , 4394551.934 , 39568993.605 \r\n\r\n"));
    EXPECT_EQ(QString::fromUtf8(r.err),
              QStringLiteral("合计：读取 2 行，换算 2 行，拒绝 0 行，跳过 0 行\n"));
}

TEST(GkCommandLine, ExitStatusForUsageAndMissingData) {
    const Result usage = runGk({QStringLiteral("--from"), QStringLiteral("jw")}, "A,1,2\n");
    EXPECT_EQ(usage.status, 2);
    EXPECT_TRUE(usage.out.isEmpty());
    EXPECT_TRUE(QString::fromUtf8(usage.err).contains(QStringLiteral("用法")));
    EXPECT_TRUE(usage.err.contains("Usage"));

    const Result none = runGk({QStringLiteral("--from"), QStringLiteral("3"),
                               QStringLiteral("--to"), QStringLiteral("jw")},
                              "\nP,1,2\n");
    EXPECT_EQ(none.status, 1);
    EXPECT_TRUE(none.out.isEmpty());
    EXPECT_EQ(QString::fromUtf8(none.err),
              QStringLiteral("第 1 行未能读取: 第一行是空行，整段输入按没有坐标数据处理\n"
                             "没有发现坐标数据！\n"
                             "合计：读取 0 行，换算 0 行，拒绝 0 行，跳过 0 行\n"));
}

TEST(GkCommandLine, ManyRowsStreamThrough) {
    QByteArray input;
    const int rows = 50000;
    for (int i = 0; i < rows; ++i) {
        input += "P" + QByteArray::number(i) + "," + QByteArray::number(3000000 + i * 10) + "," +
                 QByteArray::number(39500000 + (i % 1000) * 50) + "\n";
    }
    const Result r = runGk({QStringLiteral("--from"), QStringLiteral("3"), QStringLiteral("--to"),
                            QStringLiteral("6"), QStringLiteral("--no-names")},
                           input);
    ASSERT_EQ(r.status, 0) << r.err.constData();
    EXPECT_EQ(r.out.count("\r\n"), rows + 2);
    EXPECT_TRUE(r.out.endsWith("\r\n\r\n"));
}

}  // namespace
