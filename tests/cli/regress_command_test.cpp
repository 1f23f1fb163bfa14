// hechuan-cli regress, run as a separate process.

#include <gtest/gtest.h>

#include <QFile>
#include <string>

#include "tests/cli/cli_runner.h"

namespace {

using hc_test::CliRun;
using hc_test::runCli;

TEST(CliRegress, PrintsTheOutputBoxText) {
    // x 1..4, y 1, 3, 2, 5 with a label cell: b0 = 0, b1 = 1.1, SSE 2.7, SST 8.75.
    const CliRun r = runCli(
        {"regress", "--y", "1", "--x", "2", "--labels", "1", "--decimals", "4", "--residuals"},
        "a*1*1\r\nb*3*2\nc*2*3\nd*5*4\n");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              "线性回归：直线，含常数项\n"
              "因变量 y：第 1 列；自变量 x：第 2 列\n"
              "数据行数 n = 4；结果保留 4 位小数\n"
              "\n"
              "系数     估计值  标准误差   t 值\n"
              "常数项        0     1.423      0\n"
              "第 2 列     1.1    0.5196  2.117\n"
              "\n"
              "残差标准差  1.1619\n"
              "R²          0.6914\n"
              "调整 R²     0.5371\n"
              "\n"
              "方差分析\n"
              "来源  平方和  自由度  均方       F\n"
              "回归    6.05       1  6.05  4.4815\n"
              "残差     2.7       2  1.35\n"
              "总计    8.75       3\n"
              "\n"
              "拟合值与残差\n"
              "行  y  拟合值  残差\n"
              "1   1     1.1  -0.1\n"
              "2   3     2.2   0.8\n"
              "3   2     3.3  -1.3\n"
              "4   5     4.4   0.6\n");
}

TEST(CliRegress, FiltersThePolynomialOfAReferenceDataset) {
    QFile f(QStringLiteral(HC_STRD_DIR "/Pontius.dat"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    QByteArray data;
    for (qsizetype i = 60; i < 100; ++i) data += lines[i] + '\n';  // lines 61-100
    const CliRun r =
        runCli({"regress", "--y", "1", "--x", "2", "--degree", "2", "--separator", " "}, data);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    // The certified B2 and its standard deviation.
    const size_t b2 = r.out.find("\nx^2 ");
    ASSERT_NE(b2, std::string::npos) << r.out;
    const std::string line = r.out.substr(b2 + 1, r.out.find('\n', b2 + 1) - b2 - 1);
    EXPECT_NE(line.find(" -3.16081871345029E-15 "), std::string::npos) << line;
    EXPECT_NE(line.find(" 4.86652849992036E-17 "), std::string::npos) << line;
}

TEST(CliRegress, FailuresAndBadOptions) {
    const CliRun bad = runCli({"regress", "--y", "1", "--x", "2"}, "1*2\n2*zz\n3*4\n");
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_EQ(bad.out, "");
    EXPECT_NE(bad.err.find("第 2 行第 2 列“zz”"), std::string::npos) << bad.err;

    const CliRun left = runCli({"regress", "--y", "1", "--x", "2"}, "1*2\n2*\n3*4\n5*1\n");
    EXPECT_EQ(left.exitCode, 0);
    EXPECT_NE(left.err.find("第 2 行"), std::string::npos) << left.err;

    for (const auto& args : std::vector<QStringList>{
             {"regress", "--x", "2"},
             {"regress", "--y", "1"},
             {"regress", "--y", "0", "--x", "2"},
             {"regress", "--y", "1", "--x", "2,a"},
             {"regress", "--y", "1", "--x", "2,3", "--degree", "2"},
             {"regress", "--y", "1", "--x", "2", "--degree", "11"},
             {"regress", "--y", "1", "--x", "2", "--labels", "4"},
             {"regress", "--y", "1", "--x", "2", "--separator", "ab"},
             {"regress", "--y", "1", "--x", "2", "--digits", "29"},
             {"regress", "--y", "1", "--x", "2", "--digits", "3", "--decimals", "3"},
             {"regress", "--y", "1", "--x", "1"},
             {"regress", "--y", "1", "--x", "2", "extra"}}) {
        const CliRun r = runCli(args, "1*2\n2*3\n3*5\n");
        EXPECT_EQ(r.exitCode, 2) << args.join(u' ').toStdString();
        EXPECT_NE(r.err.find("错误"), std::string::npos) << args.join(u' ').toStdString();
    }
    const CliRun help = runCli({"regress", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("用法: hechuan-cli regress"), std::string::npos);
    EXPECT_NE(help.out.find("Usage: hechuan-cli regress"), std::string::npos);
}

}  // namespace
