// hechuan-cli: the calculator's command-line companion. Each subcommand lives in
// cli/<name>_command.cpp on the conventions of cli/command_line.h; adding one is a row
// of the table below.

#include <QString>
#include <QStringList>
#include <csignal>
#include <cstdio>
#include <optional>

#include "cli/angle_command.h"
#include "cli/area_command.h"
#include "cli/attitude_command.h"
#include "cli/base_command.h"
#include "cli/bearing_command.h"
#include "cli/command_line.h"
#include "cli/datum_command.h"
#include "cli/derive_command.h"
#include "cli/eval_command.h"
#include "cli/gk_command.h"
#include "cli/integrate_command.h"
#include "cli/intersect_command.h"
#include "cli/logic_command.h"
#include "cli/matrix_command.h"
#include "cli/propagate_command.h"
#include "cli/reduce_command.h"
#include "cli/regress_command.h"
#include "cli/root_command.h"
#include "cli/solve_command.h"
#include "cli/split_command.h"
#include "cli/stats_command.h"
#include "cli/traverse_command.h"

namespace {

using hc::cli::Runner;

struct Subcommand {
    const char* name;
    Runner run;
    const char* synopsis;  // its line in the overall usage text
};

const Subcommand kSubcommands[] = {
    {"eval", hc::cli::runEval,
     "[--decimals N] [--angle rad|deg|dms] [--var r=值]... [--display] [--status] [算式...]"},
    {"gk", hc::cli::runGk, "--from jw|1.5|3|6 --to jw|1.5|3|6 [选项...] < 数据"},
    {"stats", hc::cli::runStats, "[--labels 0|1|2|3] [--separator C] < 数据"},
    {"angle", hc::cli::runAngle, "--from rad|deg|dms --to rad|deg|dms [角度...]"},
    {"split", hc::cli::runSplit, "[数值...]"},
    {"base", hc::cli::runBase, "--from 2|8|10|16 --to 2|8|10|16 [数值...]"},
    {"logic", hc::cli::runLogic, "[--base 2|8|10|16] 数据1 运算 数据2"},
    {"bearing", hc::cli::runBearing,
     "[--origin 点号] [--geographic [--ellipsoid BJ|XA|WGS|2000]] < 点表"},
    {"attitude", hc::cli::runAttitude, "[--start 点号] < 点表"},
    {"matrix", hc::cli::runMatrix, "运算 [--fractions] [--decimals N] A文件 [B文件|k|n]"},
    {"solve", hc::cli::runSolve, "[--fractions] [--decimals N] < 方程组"},
    {"area", hc::cli::runArea,
     "[--geographic] [--ellipsoid BJ|XA|WGS|2000] [--zone 6|3|1.5] [--meridian 经度] "
     "[--decimals N] < 点表"},
    {"regress", hc::cli::runRegress,
     "--y N --x N[,N...] [--degree D] [--no-intercept] [--separator C] [--labels N] "
     "[--residuals] [--digits N|--decimals N] < 数据"},
    {"integrate", hc::cli::runIntegrate, "[--angle rad|deg|dms] [--decimals N] 函数 下限 上限"},
    {"derive", hc::cli::runDerive, "[--angle rad|deg|dms] [--decimals N] [--order 1|2] 函数 X0"},
    {"root", hc::cli::runRoot, "[--angle rad|deg|dms] [--decimals N] 函数 A B"},
    {"propagate", hc::cli::runPropagate,
     "[--angle rad|deg|dms] [--decimals N] 函数 --var r=值±中误差... [--corr r,s=系数...]"},
    {"traverse", hc::cli::runTraverse,
     "[--type loop|connecting|open] [--angles left|right] [--bearing 度.分秒] < 导线数据"},
    {"reduce", hc::cli::runReduce,
     "[--zenith] [--k 0.14] [--ppm 0] [--height Hm] [--x X --y Y [--zone 3|6|1.5]] < 观测数据"},
    {"intersect", hc::cli::runIntersect, "[--type forward|side|resection] < 交会数据"},
    {"datum", hc::cli::runDatum,
     "--fit [--model 7|7cf|3|4] --from 椭球:形式 --to 椭球:形式 < 公共点 | --params \"参数行\" "
     "--from ... --to ... [--inverse] < 点表"},
};

QString usageText() {
    QString text = QStringLiteral("用法 / usage:\n");
    for (const Subcommand& c : kSubcommands) {
        text += QStringLiteral("  hechuan-cli ") + QString::fromUtf8(c.name) + u' ' +
                QString::fromUtf8(c.synopsis) + u'\n';
    }
    text += QStringLiteral(
        "hechuan-cli <子命令> --help 查看该子命令的选项 / shows the options of a subcommand.\n");
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    // A closed pipe is then a write error that the subcommand reports with status 1.
    std::signal(SIGPIPE, SIG_IGN);
    int bad = 0;
    const std::optional<QStringList> decoded = hc::cli::decodedArguments(argc, argv, &bad);
    if (!decoded) {
        hc::cli::writeText(stderr,
                           QStringLiteral("错误: 第 %1 个参数既不是 UTF-8 也不是 GB18030 文字\n"
                                          "error: argument %1 is neither UTF-8 nor GB18030 "
                                          "text\n")
                               .arg(bad));
        return hc::cli::kExitUsage;
    }
    const QStringList args = decoded->mid(1);
    const QString name = args.value(0);
    for (const Subcommand& c : kSubcommands) {
        if (name == QLatin1String(c.name))
            return hc::cli::runCatchingOutOfMemory(c.run, args, hc::cli::Streams{});
    }
    const bool help = name == u"--help" || name == u"-h";
    hc::cli::writeText(help ? stdout : stderr, usageText());
    return help ? hc::cli::kExitSuccess : hc::cli::kExitUsage;
}
