#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "tests/cli/cli_runner.h"

namespace {

using hc_test::CliRun;
using hc_test::runCli;

QString writeFile(const QTemporaryDir& dir, const char* name, const char* text) {
    const QString path = dir.filePath(QString::fromUtf8(name));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
    return path;
}

TEST(CliMatrix, PrintsTheOutputBoxText) {
    QTemporaryDir dir;
    const QString a = writeFile(dir, "a.txt", "1/1 1/2 1/3\n1/2 1/3 1/4\n1/3 1/4 1/5\n");
    const QString b = writeFile(dir, "b.txt", "1, 0, 0\n0, 2, 0\n0, 0, 3\n");
    const struct {
        QStringList args;
        const char* out;
    } cases[] = {
        {{"matrix", "inverse", "--fractions", a},
         "逆矩阵 A⁻¹ =\n  9   -36    30\n-36   192  -180\n 30  -180   180\n"},
        {{"matrix", "det", "--fractions", a}, "行列式 det(A) = 1/2160\n"},
        {{"matrix", "det", "--decimals", "6", a},
         "行列式 det(A) = 0.000463\n\n注：显示的小数已四舍五入到 6 位，精确值可用分数显示。\n"},
        {{"matrix", "mul", "--fractions", a, b},
         "A × B =\n  1    1    1\n1/2  2/3  3/4\n1/3  1/2  3/5\n"},
        {{"matrix", "power", "--fractions", b, "-1"},
         "A 的 -1 次幂 =\n1    0    0\n0  1/2    0\n0    0  1/3\n"},
        {{"matrix", "trace", b}, "迹 tr(A) = 6\n"},
    };
    for (const auto& c : cases) {
        const CliRun r = runCli(c.args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, c.out) << c.args.join(u' ').toStdString();
    }
}

TEST(CliMatrix, FailuresAndUsage) {
    QTemporaryDir dir;
    const QString singular = writeFile(dir, "s.txt", "1 2\n2 4\n");
    const CliRun r = runCli(QStringList{"matrix", "inverse", singular});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("第 2 列是它前面各列的线性组合"), std::string::npos) << r.err;
    EXPECT_EQ(runCli(QStringList{"matrix", "inverse", dir.filePath("missing.txt")}).exitCode, 1);
    EXPECT_EQ(runCli(QStringList{"matrix", "bogus", singular}).exitCode, 2);
    EXPECT_EQ(runCli(QStringList{"matrix", "add", singular}).exitCode, 2);
    EXPECT_EQ(runCli(QStringList{"matrix", "det", "--decimals", "29", singular}).exitCode, 2);
    EXPECT_EQ(runCli(QStringList{"matrix", "det", "--angle", "grad", singular}).exitCode, 2);
    // "-" reads standard input.
    EXPECT_EQ(runCli({"matrix", "rank", "-"}, "1 2\n2 4\n").out, "秩 rank(A) = 1\n");
    const CliRun help = runCli({"matrix", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("Usage: hechuan-cli matrix"), std::string::npos);
}

TEST(CliSolve, Answers) {
    const struct {
        QStringList args;
        const char* in;
        int exit;
        const char* out;
    } cases[] = {
        {{"solve"}, "2x1+3x2=5\nx1-x2=0\n", 0, "唯一解：\nx1 = 1\nx2 = 1\n"},
        {{"solve", "--fractions"}, "1 2 5\n3 4 6\n", 0, "唯一解：\nx1 = -4\nx2 = 9/2\n"},
        {{"solve", "--angle", "deg", "--decimals", "3"},
         "sin(30)x=1\n",
         0,
         "唯一解：\nx = 2\n\n注：输入中有不能精确表示的数（如三角函数、开方、π），按 28 "
         "位小数参与计算，结果以这些舍入值为准。\n"},
        {{"solve"}, "x=1\nx=2\n", 0, "无解：方程组互相矛盾。\n1×(方程 1) - 1×(方程 2) 得 0 = -1\n"},
        {{"solve"}, "x*y=1\n", 1, ""},
    };
    for (const auto& c : cases) {
        const CliRun r = runCli(c.args, c.in);
        EXPECT_EQ(r.exitCode, c.exit) << c.in << r.err;
        EXPECT_EQ(r.out, c.out) << c.in;
    }
}

TEST(CliSolve, ALineThatCannotBeDecodedFailsTheRunInsteadOfDroppingARow) {
    const CliRun solve = runCli({"solve", "--encoding", "utf-8"}, "1 2 3\n4 \xff 6\n7 8 9\n");
    EXPECT_EQ(solve.exitCode, 1);
    EXPECT_EQ(solve.out, "");
    EXPECT_NE(solve.err.find("第 2 行"), std::string::npos) << solve.err;
    const CliRun rank = runCli({"matrix", "rank", "--encoding", "utf-8", "-"}, "1 2\n\xff\n");
    EXPECT_EQ(rank.exitCode, 1);
    EXPECT_EQ(rank.out, "");
}

TEST(CliSolve, AHugeSystemIsRefusedQuickly) {
    QByteArray big;
    for (int i = 0; i < 20000; ++i) big += "1 2 3\n";
    const CliRun r = runCli({"solve"}, big);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("太多"), std::string::npos) << r.err;
}

}  // namespace
