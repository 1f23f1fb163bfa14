// hechuan-cli base and logic, run as a separate process.

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <cstdlib>
#include <string>

#include "tests/cli/cli_runner.h"

namespace {

using hc_test::CliRun;
using hc_test::runCli;

TEST(CliBase, ConvertsArgumentsAndStandardInputThroughBinary) {
    CliRun r = runCli({"base", "--from", "16", "--to", "8", "1F", "-a.8"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "37\n-12.4\n");
    EXPECT_EQ(r.err, "");
    r = runCli({"base", "--from", "10", "--to", "2"}, "5.5\n\n-0.5\r\n255\n");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "101.1\n\n-0.1\n11111111\n");
    r = runCli({"base", "--from=2", "--to=10", "101.1"});
    EXPECT_EQ(r.out, "5.5\n");
}

TEST(CliBase, FailedConversionWritesMinusOneAndTheMessage) {
    const CliRun r = runCli({"base", "--from", "8", "--to", "10", "19", "7"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "-1\n7\n");
    EXPECT_EQ(
        r.err,
        "把数19由八进制转换为二进制时，出现超出范围的错误！计算结果无效，请修改数据后再计算。\n");
}

TEST(CliBase, UsageErrorsAndHelp) {
    for (auto args : {std::initializer_list<const char*>{"base", "--from", "3", "--to", "2", "1"},
                      std::initializer_list<const char*>{"base", "--to", "2", "1"},
                      std::initializer_list<const char*>{"logic", "1", "plus", "2"},
                      std::initializer_list<const char*>{"logic", "--base", "7", "1", "add", "2"},
                      std::initializer_list<const char*>{"logic", "add", "2"}}) {
        const CliRun r = runCli(args);
        EXPECT_EQ(r.exitCode, 2) << r.out;
        EXPECT_NE(r.err.find("error:"), std::string::npos) << r.err;
    }
    for (const char* cmd : {"base", "logic"}) {
        const CliRun r = runCli({cmd, "--help"});
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_NE(r.out.find("用法"), std::string::npos);
        EXPECT_NE(r.out.find("Usage"), std::string::npos);
    }
}

TEST(CliLogic, PrintsTheWindowsResultText) {
    struct Case {
        std::initializer_list<const char*> args;
        const char* out;
        int exit;
    };
    const Case cases[] = {
        {{"logic", "-12", "与", "-10"}, "-8\n", 0},
        {{"logic", "12", "nand", "10"}, "-7\n", 0},
        {{"logic", "非", "5"}, "-2\n", 0},
        {{"logic", "--base", "16", "A", "乘", "a"}, "64\n", 0},
        {{"logic", "--base", "2", "00101", "ADD", "11"}, "1000\n", 0},
        {{"logic", "2.5", "and", "3"}, "2\n", 0},
        {{"logic", "1000000000000000000000000000", "余", "0.01"}, "0\n", 0},
        {{"logic", "-1000000000000000000000000000", "余", "0.07"}, "-0.05\n", 0},
        {{"logic", "3000000000", "与", "1"}, "数据有误或超出计算范围，请修改后再计算。\n", 1},
        {{"logic", "1", "div", "0"}, "数据有误或超出计算范围，请修改后再计算。\n", 1},
        {{"logic", "--base", "8", "19", "加", "1"},
         "数据有误或超出计算范围，请修改后再计算！\n",
         1},
    };
    for (const Case& c : cases) {
        const CliRun r = runCli(c.args);
        EXPECT_EQ(r.out, c.out) << *(c.args.begin() + 1);
        EXPECT_EQ(r.exitCode, c.exit) << r.err;
    }
    const CliRun r = runCli({"logic", "--base", "2", "1", "除", "11"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.rfind("0.0101010101", 0), 0u) << r.out;
    EXPECT_EQ(r.err, "计算结果为 93 位，显示框不能完全显示，敬请注意！\n");
}

}  // namespace
