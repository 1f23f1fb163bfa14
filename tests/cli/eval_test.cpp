// hechuan-cli eval, run as a separate process.

#include <gtest/gtest.h>

#include <QProcess>
#include <QString>
#include <QStringList>
#include <string>

#include "tests/cli/cli_runner.h"

namespace {

using hc_test::CliRun;
using hc_test::runCli;

QStringList args(std::initializer_list<const char*> list) {
    QStringList l;
    for (const char* a : list) l << QString::fromUtf8(a);
    return l;
}

TEST(CliEval, ArgumentsGiveOneLineEach) {
    const CliRun r = runCli(args({"eval", "1+2", "(1+2)*3", "2/3", "-。11加[2.2-3。3]乘以-2"}));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "3\n9\n0.666666666666667\n2.09\n");
}

TEST(CliEval, OptionsSetDecimalsAngleAndVariables) {
    const CliRun r = runCli(args({"eval", "--decimals", "3", "--angle=deg", "--var", "r=2.5",
                                  "--var=z=三", "sin(30)", "r*z", "arctan(1)", "2/3"}));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "0.5\n7.5\n45\n0.667\n");

    const CliRun dms =
        runCli(args({"eval", "--angle", "dms", "--decimals", "28", "arcsin(1)", "cos(60)"}));
    EXPECT_EQ(dms.out, "90\n0.499999999999999999999999999\n");
}

TEST(CliEval, StandardInputLineByLine) {
    const CliRun r = runCli(
        args({"eval", "--decimals", "28"}),
        QByteArray("示例  -1-2.0034521除3.0023417+33-44\r\n\n1+1\n示例采用弧度制 ( 1 + π ) - ε"));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "-12.667296497264118870946634755\n0\n2\n1.4233108251307480031023559119\n");
}

TEST(CliEval, FailuresPrintTheMessageAndExitOne) {
    const CliRun r = runCli(args({"eval", "1+1", "1/0", "1*/2", "(1+2"}));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out,
              "2\n 1/0   除数为0错误！请修改算式后计算。\n"
              "算式中存在严重错误，请查找原因，修改算式后再计算。\n"
              " 算式--括号顺序--错误,请修改。\n");
}

TEST(CliEval, DisplayAndStatus) {
    const CliRun r = runCli(
        args({"eval", "--display", "--decimals", "4", "42", "lg(100)+0.123456789012345678"}));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, std::string(28, ' ') + "42.____\n" + std::string(29, ' ') + "2.1235\n");

    const CliRun s = runCli(
        args({"eval", "--status", "--decimals", "28", "lg(100)+0.123456789012345678", "1/0"}));
    EXPECT_EQ(s.exitCode, 1);
    EXPECT_EQ(
        s.out,
        "2.12345678901234\n"
        "在运算中，某函数运算结果的有效数字较少，经混合运算后，可能从第16位有效数字后不能满足精度要"
        "求，"
        "后部应于删除。\n"
        " 1/0   除数为0错误！请修改算式后计算。\n"
        "1/0   除数为0错误！请修改算式后计算。\n"
        "  表达式计算过程中，1 / 0出现超出计算范围错误，我无法计算！返回数值用 error 表示。\n");
}

TEST(CliEval, BadOptionsExitTwoWithUsage) {
    for (const QStringList& a :
         {args({"eval", "--decimals", "29", "1"}), args({"eval", "--decimals"}),
          args({"eval", "--angle", "grad", "1"}), args({"eval", "--var", "a=1", "1"}),
          args({"eval", "--var", "r=abc", "1"}), args({"eval", "--frobnicate", "1"}),
          args({"frobnicate"}), args({})}) {
        const CliRun r = runCli(a);
        EXPECT_EQ(r.exitCode, 2) << a.join(u' ').toStdString();
        EXPECT_TRUE(r.out.empty()) << a.join(u' ').toStdString();
        EXPECT_NE(r.err.find("用法"), std::string::npos);
        EXPECT_NE(r.err.find("sage"), std::string::npos);
    }
}

TEST(CliEval, OutputIsUtf8WhateverTheLocale) {
    const CliRun r = runCli(args({"eval", "1/0"}), QByteArray(),
                            {QStringLiteral("LC_ALL=C"), QStringLiteral("LANG=C")});
    EXPECT_EQ(r.out, " 1/0   除数为0错误！请修改算式后计算。\n");
    const CliRun in = runCli(args({"eval"}), QByteArray("三加四\n"), {QStringLiteral("LC_ALL=C")});
    EXPECT_EQ(in.out, "7\n");
}

TEST(CliEval, SeparatorLetsFormulasLookLikeOptions) {
    const CliRun r = runCli(args({"eval", "--", "--3", "-3+1"}));
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "3\n-2\n");
}

TEST(CliEval, EveryLineBreakEndsOneFormula) {
    struct Case {
        const char* input;
        const char* out;
    };
    const Case cases[] = {
        {"1+1\r2+2\r3+3\r", "2\n4\n6\n"},  // lone CR: three formulas, not 1+12+23+3
        {"1+1\r\n2+2\r\n3+3\r\n", "2\n4\n6\n"},
        {"1+1\n2+2\n3+3", "2\n4\n6\n"},
        {"1+1\r\n2+2\r3+3\n4+4", "2\n4\n6\n8\n"},
        {"1+1\r\r\n2+2", "2\n0\n4\n"},  // CR then CR LF: an empty line between
        {"1+1\n\r2+2", "2\n0\n4\n"},
    };
    for (const Case& c : cases) {
        const CliRun r = runCli(args({"eval"}), QByteArray(c.input));
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, c.out) << QByteArray(c.input).toPercentEncoding().toStdString();
    }
}

TEST(CliEval, WriteErrorIsReportedAndExitsOne) {
    QProcess p;
    p.setStandardOutputFile(QStringLiteral("/dev/full"));
    p.start(hc_test::binDir() + QStringLiteral("/cli/hechuan-cli"), args({"eval"}));
    ASSERT_TRUE(p.waitForStarted(10000));
    p.write("1+1\r2+2\n");
    p.closeWriteChannel();
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 1);
    const std::string err = p.readAllStandardError().toStdString();
    EXPECT_NE(err.find("无法写出结果"), std::string::npos) << err;
    EXPECT_NE(err.find("error: could not write the output"), std::string::npos) << err;
}

TEST(CliEval, DashHShowsHelpOnEverySubcommand) {
    for (const char* name :
         {"eval", "gk", "stats", "angle", "split", "base", "logic", "bearing", "attitude"}) {
        for (const char* flag : {"-h", "--help"}) {
            const CliRun r = runCli(args({name, flag}));
            EXPECT_EQ(r.exitCode, 0) << name << ' ' << flag;
            EXPECT_EQ(r.out.rfind("用法", 0), 0u) << name << ' ' << flag << ": " << r.out;
            EXPECT_NE(r.out.find("Usage"), std::string::npos) << name << ' ' << flag;
            EXPECT_TRUE(r.err.empty()) << name << ' ' << flag << ": " << r.err;
        }
    }
}

}  // namespace
