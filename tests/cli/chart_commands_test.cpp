// hechuan-cli stats --svg and regress --svg, run as a separate process: the
// pictures are those of the chart model the windows draw.

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "cli/chart_output.h"
#include "tests/cli/cli_runner.h"
#include "tools/chart.h"
#include "tools/regression.h"

namespace {

using hc_test::CliRun;
using hc_test::runCli;

QString q(const char* s) { return QString::fromUtf8(s); }

QString readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return QString();
    return QString::fromUtf8(f.readAll());
}

std::vector<double> barHeightsOf(const QString& svg) {
    std::vector<double> out;
    static const QRegularExpression re(
        QStringLiteral("<rect class=\"bar\"[^>]* height=\"([0-9.]+)\""));
    for (auto it = re.globalMatch(svg); it.hasNext();)
        out.push_back(it.next().captured(1).toDouble());
    return out;
}

const char* const kStats = "a*1*10\nb*2*20\nc*2*20\nd*3*20\ne*3*30\nf*3*40\ng* *x\n";

TEST(CliChart, StatsWritesTheHistogramOfTheChosenColumn) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(q("h.svg"));
    const CliRun plain = runCli({"stats"}, kStats);
    const CliRun r =
        runCli({q("stats"), q("--svg"), path, q("--column"), q("2"), q("--bins"), q("3")}, kStats);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, plain.out);  // the text output is unchanged
    const QString svg = readFile(path);
    // Column 2: 10 | 20 20 20 | 30 40, and the cell "x" counted as 0 as the statistics do.
    EXPECT_TRUE(svg.contains(q("n = 7，3 组"))) << svg.toStdString();
    const std::vector<double> heights = barHeightsOf(svg);
    ASSERT_EQ(heights.size(), 3u);
    // Heights in pixels in proportion to the counts 2, 3, 2.
    EXPECT_NEAR(heights[1] / heights[0], 1.5, 1e-3);
    EXPECT_NEAR(heights[2], heights[0], 1e-2);
    // The picture the statistics window draws of the same column.
    const hc::ChartPicture picture =
        hc::statisticsHistogram(hc::statColumnValues(q(kStats), q("*"), 1, 2), 2, 3);
    EXPECT_EQ(svg,
              hc::chartSvg(picture.charts, hc::cli::kChartSvgWidth, hc::cli::kHistogramSvgHeight));

    // The default column and bin rule.
    const CliRun d = runCli({q("stats"), q("--svg"), path}, kStats);
    EXPECT_EQ(d.exitCode, 0) << d.err;
    EXPECT_TRUE(readFile(path).contains(q("n = 6，4 组，组距 0.5（Sturges 规则）")))
        << readFile(path).toStdString();
}

TEST(CliChart, StatsRefusesBadChartOptions) {
    QTemporaryDir dir;
    const QString path = dir.filePath(q("h.svg"));
    struct Case {
        QStringList args;
        int exit;
    };
    const Case cases[] = {
        {{q("--svg"), path, q("--bins"), q("0")}, 2},
        {{q("--svg"), path, q("--bins"), q("501")}, 2},
        {{q("--svg"), path, q("--column"), q("6")}, 2},
        {{q("--column"), q("2")}, 2},
        {{q("--svg"), dir.filePath(q("no/such/h.svg"))}, 1},
    };
    for (const Case& c : cases) {
        const CliRun r = runCli(QStringList{q("stats")} + c.args, kStats);
        EXPECT_EQ(r.exitCode, c.exit) << c.args.join(u' ').toStdString() << "\n" << r.err;
    }
    EXPECT_NE(runCli({q("stats"), q("--svg"), dir.filePath(q("no/such/h.svg"))}, kStats)
                  .err.find("无法写入图表文件"),
              std::string::npos);
}

TEST(CliChart, RegressWritesTheScatterAndResidualPanels) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(q("r.svg"));
    const char* data = "3*0\n2*1\n3*2\n6*3\n11*4\n12.5*5\n";
    const CliRun plain = runCli({"regress", "--y", "1", "--x", "2", "--degree", "2"}, data);
    const CliRun r = runCli(
        {q("regress"), q("--y"), q("1"), q("--x"), q("2"), q("--degree"), q("2"), q("--svg"), path},
        data);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, plain.out);
    const QString svg = readFile(path);
    EXPECT_EQ(svg.count(q("<circle class=\"point\"")), 12);  // six rows in each panel
    EXPECT_EQ(svg.count(q("<polyline class=\"curve\"")), 1);
    EXPECT_TRUE(svg.contains(q(">残差图</text>")));

    hc::RegressionOptions o;
    o.degree = 2;
    o.plot = true;
    const hc::RegressionResult fit = hc::runRegression(q(data), o);
    EXPECT_EQ(svg, hc::chartSvg(hc::regressionPicture(fit).charts, hc::cli::kChartSvgWidth,
                                hc::cli::kRegressionPanelSvgHeight));

    // No fit, no picture.
    const QString failed = dir.filePath(q("f.svg"));
    const CliRun f =
        runCli({q("regress"), q("--y"), q("1"), q("--x"), q("2"), q("--svg"), failed}, "1*1\n");
    EXPECT_EQ(f.exitCode, 1);
    EXPECT_FALSE(QFile::exists(failed));
}

}  // namespace
