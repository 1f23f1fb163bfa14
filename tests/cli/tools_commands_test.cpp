// hechuan-cli stats, angle and split, run as a separate process.

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <cstdlib>
#include <string>

#include "tests/cli/cli_runner.h"

namespace {

using hc_test::CliRun;
using hc_test::runCli;

TEST(CliStats, ExampleTextGivesTheAlignedTextAndTheTable) {
    const CliRun r = runCli({"stats"},
                            "例1a*2*3*4*5.987\r\n例2b的*2* *5*6.985\n例3c * 2 * 3.2346 * 6 * \n"
                            "例4 * 2 * -33 * 7 * 98.7\n");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              "   例1a * 2 *      3 * 4 * 5.987 *  \n"
              " 例2b的 * 2 *        * 5 * 6.985 *  \n"
              "   例3c * 2 * 3.2346 * 6 *       *  \n"
              "    例4 * 2 *    -33 * 7 *  98.7 *  \n"
              "\n"
              "\t第一列数字\t第二列数字\t第三列数字\t第四列数字\t第五列数字\n"
              "频数N\t4\t3\t4\t3\t \n"
              "Min =\t2\t-33\t4\t5.987\t \n"
              "Max =\t2\t3.2346\t7\t98.7\t \n"
              "平均值\t2\t-8.9218\t5.5\t37.224\t \n"
              "合计数\t8\t-26.7654\t22\t111.672\t \n"
              "均方差\t0\t20.852662796870811\t1.290994448735806\t53.242116158169371\t \n"
              "方差\t0\t434.83354572\t1.666666666666667\t2834.722933\t \n"
              "变异系数\t0\t-2.337270819438993\t0.23472626340651\t1.430316896576654\t \n"
              "方差n\t0\t289.88903048\t1.25\t1889.815288666666667\t \n"
              "变异 系数n\t0\t-1.908373632774083\t0.203278907045435\t1.167848855697994\t \n");
}

TEST(CliStats, OptionsAndExitCodes) {
    const CliRun tab = runCli({"stats", "--labels=0", "--separator", "tab"}, "1\t2\n3\t4\n");
    EXPECT_EQ(tab.exitCode, 0) << tab.err;
    EXPECT_NE(tab.out.find("频数N\t2\t2\t \t \t \n"), std::string::npos) << tab.out;

    const CliRun space = runCli({"stats", "--labels", "0", "--separator", " "}, "1 2\n");
    EXPECT_EQ(space.exitCode, 0);
    EXPECT_EQ(space.out.substr(0, space.out.find('\n')), " 1 * 2 *  *  *  ");
    EXPECT_NE(space.err.find("自动强制把空格改用 * 代替"), std::string::npos) << space.err;

    const CliRun none = runCli({"stats"}, "label only\n\n");
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_NE(none.err.find("no numbers"), std::string::npos);

    EXPECT_EQ(runCli({"stats", "--labels", "4"}).exitCode, 2);
    EXPECT_EQ(runCli({"stats", "--separator", "ab"}).exitCode, 2);
    EXPECT_EQ(runCli({"stats", "extra"}).exitCode, 2);
    const CliRun help = runCli({"stats", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("用法: hechuan-cli stats"), std::string::npos);
    EXPECT_NE(help.out.find("Usage: hechuan-cli stats"), std::string::npos);
}

TEST(CliAngle, ConvertsLikeTheWindow) {
    const struct {
        const char* from;
        const char* to;
        const char* value;
        const char* out;
    } cases[] = {
        {"rad", "deg", "1", "57.295779513082320876798154814\n"},
        {"rad", "dms", "3.1415926535897932384626433833", "180\n"},
        {"deg", "rad", "180", "3.141592653589793238462643386\n"},
        {"dms", "rad", "90", "1.570796326794896619231321693\n"},
        {"deg", "dms", "12.5", "12.3\n"},
        {"dms", "deg", "12.3", "12.5\n"},
        {"deg", "dms", "-1.50", "-1.3\n"},
    };
    for (const auto& c : cases) {
        const CliRun r = runCli({"angle", "--from", c.from, "--to", c.to, c.value});
        EXPECT_EQ(r.exitCode, 0) << c.value << r.err;
        EXPECT_EQ(r.out, c.out) << c.from << " " << c.to << " " << c.value;
    }
}

TEST(CliAngle, StandardInputNoticesAndErrors) {
    const CliRun r = runCli({"angle", "--from", "dms", "--to", "deg"}, "12.3\n\n12.3075\r\n");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "12.5");
    EXPECT_NE(r.out.find("\n12.51666"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("[秒]"), std::string::npos) << r.err;

    const CliRun bad = runCli({"angle", "--from", "deg", "--to", "rad", "abc", "90"});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_EQ(bad.out, "0\n1.570796326794896619231321693\n");

    EXPECT_EQ(runCli({"angle", "--from", "deg", "--to", "deg", "1"}).exitCode, 2);
    EXPECT_EQ(runCli({"angle", "--from", "grad", "--to", "deg", "1"}).exitCode, 2);
    EXPECT_EQ(runCli({"angle", "1"}).exitCode, 2);
}

TEST(CliSplit, IntegerAndFractionPerValue) {
    const CliRun r = runCli({"split", "12.75", "-0.5", "8", "1E+30", "1E-30"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "12\t75\n-0\t5\n8\t0\n1E+30\t0\n0\t1E-30\n");

    const CliRun in = runCli({"split"}, "-3.25\n\nx\n");
    EXPECT_EQ(in.exitCode, 1);
    EXPECT_EQ(in.out, "-3\t25\n\n0\t0\n");
    EXPECT_NE(in.err.find("not a number"), std::string::npos);
}

}  // namespace
