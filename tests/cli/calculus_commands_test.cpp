// hechuan-cli integrate, derive, root and propagate, run as a separate process.

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>

#include "engine/calc_settings.h"
#include "tests/cli/cli_runner.h"
#include "tools/calculus.h"

namespace {

using hc_test::CliRun;
using hc_test::runCli;

std::string text(const hc::CalculusResult& r) { return (r.output + u'\n').toStdString(); }

TEST(CliCalculus, PrintsTheOutputBoxOfTheOperation) {
    hc::CalcSettings deg;
    deg.angleUnit = hc::kDecimalDegrees;
    deg.displayDecimals = 20;
    hc::CalcSettings plain;
    const struct {
        QStringList args;
        std::string expected;
    } cases[] = {
        {{"integrate", "--angle", "deg", "--decimals", "20", "sin(x)", "0", "180"},
         text(hc::integrate(QStringLiteral("sin(x)"), QStringLiteral("0"), QStringLiteral("180"),
                            deg))},
        {{"integrate", "ε^(0-x)", "0", "∞"},
         text(hc::integrate(QStringLiteral("ε^(0-x)"), QStringLiteral("0"), QStringLiteral("∞"),
                            plain))},
        {{"derive", "--order", "2", "x^3", "2"},
         text(hc::derive(QStringLiteral("x^3"), QStringLiteral("2"), 2, plain))},
        {{"root", "x^2-2", "0", "2"},
         text(hc::findRoot(QStringLiteral("x^2-2"), QStringLiteral("0"), QStringLiteral("2"),
                           plain))},
        {{"propagate", "r*s", "--var", "r=10±0.1", "--var", "s=20+-0.2", "--corr", "r,s=0.5"},
         text(hc::propagate(QStringLiteral("r*s"),
                            {{u'r', QStringLiteral("10"), QStringLiteral("0.1")},
                             {u's', QStringLiteral("20"), QStringLiteral("0.2")}},
                            {{u'r', u's', QStringLiteral("0.5")}}, plain))},
    };
    for (const auto& c : cases) {
        const CliRun r = runCli(c.args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.out, c.expected) << c.args.join(u' ').toStdString();
    }
    const CliRun root = runCli({"root", "--decimals", "28", "x^2-2", "0", "2"});
    EXPECT_NE(root.out.find("根 x = 1.414213562373095048801688724\n"), std::string::npos)
        << root.out;
}

TEST(CliCalculus, FailuresAndUsageErrors) {
    const struct {
        QStringList args;
        int exitCode;
        const char* inErr;
    } cases[] = {
        {{"root", "x^2+1", "0", "1"}, 1, "同号"},
        {{"integrate", "1/(x-0.5)", "0", "1"}, 1, "在 x = 0.5 处算式无法计算"},
        {{"integrate", "x", "0"}, 2, "需要 3 个参数"},
        {{"derive", "--order", "3", "x", "1"}, 2, "导数阶数应为 1 或 2"},
        {{"derive", "--angle", "grad", "x", "1"}, 2, "角度单位"},
        {{"propagate", "r", "--var", "r=1"}, 2, "r=值±中误差"},
        {{"propagate", "r", "--var", "r=1±1", "--corr", "r=1"}, 2, "r,s=系数"},
    };
    for (const auto& c : cases) {
        const CliRun r = runCli(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(u' ').toStdString();
        EXPECT_NE(r.err.find(c.inErr), std::string::npos) << r.err;
    }
}

TEST(CliCalculus, HelpIsChineseThenEnglish) {
    for (const char* name : {"integrate", "derive", "root", "propagate"}) {
        const CliRun r = runCli({name, "--help"});
        EXPECT_EQ(r.exitCode, 0);
        const auto cn = r.out.find("用法：hechuan-cli ");
        const auto en = r.out.find("Usage: hechuan-cli ");
        EXPECT_NE(cn, std::string::npos) << name;
        EXPECT_NE(en, std::string::npos) << name;
        EXPECT_LT(cn, en) << name;
    }
}

}  // namespace
