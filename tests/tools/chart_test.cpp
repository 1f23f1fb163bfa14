#include "tools/chart.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <cmath>
#include <numeric>

#include "tools/regression.h"
#include "tools/statistics_command.h"

namespace hc {
namespace {

QString q(const char* s) { return QString::fromUtf8(s); }

int countOf(const QString& svg, const QString& pattern) {
    return int(svg.count(QRegularExpression(pattern)));
}

// The page positions of the elements of `cls` that carry centre attributes.
std::vector<QPointF> circlesOf(const QString& svg) {
    std::vector<QPointF> out;
    static const QRegularExpression re(
        QStringLiteral("<circle class=\"point\" cx=\"([-0-9.]+)\" cy=\"([-0-9.]+)\""));
    for (auto it = re.globalMatch(svg); it.hasNext();) {
        const auto m = it.next();
        out.emplace_back(m.captured(1).toDouble(), m.captured(2).toDouble());
    }
    return out;
}

bool isRoundStep(double step) {
    const double mantissa = step / std::pow(10.0, std::floor(std::log10(step) + 1e-9));
    for (const double m : {1.0, 2.0, 5.0})
        if (std::abs(mantissa - m) < 1e-9) return true;
    return false;
}

TEST(ChartAxis, TicksAreRoundAndCoverTheData) {
    struct Case {
        double min, max;
        int maxTicks;
    };
    const Case cases[] = {{0.13, 9.7, 8}, {-33, 98.7, 8},   {1234567, 1234589, 6},
                          {5, 5, 8},      {0, 0, 8},        {-1e-5, 3e-5, 5},
                          {0, 1e12, 10},  {-7.5, -7.25, 4}, {0.999, 1.001, 8}};
    for (const Case& c : cases) {
        const ChartAxis a = niceAxis(c.min, c.max, c.maxTicks);
        SCOPED_TRACE(testing::Message() << c.min << " .. " << c.max);
        EXPECT_TRUE(isRoundStep(a.step)) << a.step;
        EXPECT_LE(a.low, std::min(c.min, c.max));
        EXPECT_GE(a.high, std::max(c.min, c.max));
        EXPECT_LT(a.low, a.high);
        const std::vector<double> ticks = a.ticks();
        ASSERT_GE(ticks.size(), 2u);
        EXPECT_LE(int(ticks.size()), c.maxTicks + 1);
        // The ends are ticks, and every tick is a whole multiple of the step.
        EXPECT_NEAR(ticks.front(), a.low, a.step * 1e-9);
        EXPECT_NEAR(ticks.back(), a.high, a.step * 1e-9);
        for (const double t : ticks) EXPECT_NEAR(t / a.step, std::round(t / a.step), 1e-6);
    }
    const ChartAxis a = niceAxis(0.13, 9.7, 8);
    EXPECT_DOUBLE_EQ(a.step, 2);
    EXPECT_DOUBLE_EQ(a.low, 0);
    EXPECT_DOUBLE_EQ(a.high, 10);
}

TEST(ChartAxis, TickTextsHaveTheDecimalsOfTheStep) {
    struct Case {
        double value, step;
        const char* text;
    };
    const Case cases[] = {{0.5, 0.5, "0.5"},       {1e-17, 0.2, "0"},
                          {-2, 1, "-2"},           {1500, 500, "1500"},
                          {0.25, 0.05, "0.25"},    {0.3, 0.1, "0.3"},
                          {1234580, 5, "1234580"}, {-0.6000000000000001, 0.2, "-0.6"}};
    for (const Case& c : cases) EXPECT_EQ(tickText(c.value, c.step), q(c.text)) << c.value;
}

TEST(ChartAxis, TickLabelsThatWouldOverlapAreLeftOut) {
    struct Case {
        std::vector<double> at, extent;
        std::vector<bool> kept;
    };
    const Case cases[] = {
        {{0, 50, 100}, {20, 20, 20}, {true, true, true}},
        {{0, 20, 40, 60}, {30, 30, 30, 30}, {true, false, true, false}},
        {{100, 80, 60}, {12, 12, 12}, {true, true, true}},  // downwards, as y labels
        {{100, 95, 90, 85, 80}, {12, 12, 12, 12, 12}, {true, false, false, false, true}},
        {{}, {}, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(keptTickLabels(c.at, c.extent, 6), c.kept);

    // A narrow picture of long tick texts: the labels in the SVG keep apart.
    Chart c;
    c.x = niceAxis(1234500, 1234600, 10);
    c.y = niceAxis(0, 1, 5);
    const QString svg = chartSvg({c}, 200, 300);
    static const QRegularExpression tick(
        QStringLiteral("<text class=\"tick\" x=\"([0-9.]+)\" y=\"[0-9.]+\" "
                       "text-anchor=\"middle\">([^<]*)</text>"));
    double lastRight = -1e9;
    int labels = 0;
    for (auto it = tick.globalMatch(svg); it.hasNext(); ++labels) {
        const auto m = it.next();
        const double half = double(m.captured(2).size()) * 7.2 / 2;
        EXPECT_GT(m.captured(1).toDouble() - half, lastRight) << m.captured(2).toStdString();
        lastRight = m.captured(1).toDouble() + half;
    }
    EXPECT_GE(labels, 2);
    EXPECT_LT(labels, int(c.x.ticks().size()));
}

TEST(Histogram, BarHeightsAreTheCounts) {
    const Histogram h = makeHistogram({4, 1, 2, 3, 2, 3, 4, 3, 4, 4}, 4);
    EXPECT_EQ(h.counts, (std::vector<long long>{1, 2, 3, 4}));
    EXPECT_DOUBLE_EQ(h.start, 1);
    EXPECT_DOUBLE_EQ(h.width, 0.75);
    EXPECT_EQ(h.n, 10);
    EXPECT_EQ(h.rule, q("手动设定"));

    const Chart c = histogramChart(h, q("直方图"));
    ASSERT_EQ(c.bars.size(), 4u);
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(c.bars[i].height, double(h.counts[i]));
    EXPECT_LE(c.x.low, 1);
    EXPECT_GE(c.x.high, 4);
    EXPECT_GE(c.y.high, 4);
    EXPECT_GE(c.y.step, 1);  // counts are whole
    EXPECT_TRUE(c.subtitle.contains(q("手动设定")));

    // On the page: each bar's top edge at its count, its sides at its bin's edges.
    const QString svg = chartSvg({c}, 600, 400);
    const ChartFrame f = chartFrame(c, 600, 400);
    static const QRegularExpression bar(
        QStringLiteral("<rect class=\"bar\" x=\"([-0-9.]+)\" y=\"([-0-9.]+)\" width=\"([-0-9.]+)\" "
                       "height=\"([-0-9.]+)\""));
    int i = 0;
    for (auto it = bar.globalMatch(svg); it.hasNext(); ++i) {
        const auto m = it.next();
        ASSERT_LT(i, 4);
        const QPointF top = f.toPage(c.bars[size_t(i)].left, c.bars[size_t(i)].height);
        const QPointF base = f.toPage(c.bars[size_t(i)].right, 0);
        EXPECT_NEAR(m.captured(1).toDouble(), top.x(), 0.01);
        EXPECT_NEAR(m.captured(2).toDouble(), top.y(), 0.01);
        EXPECT_NEAR(m.captured(3).toDouble(), base.x() - top.x(), 0.01);
        EXPECT_NEAR(m.captured(4).toDouble(), base.y() - top.y(), 0.01);
    }
    EXPECT_EQ(i, 4);
}

TEST(Histogram, ChoosesItsBinsByTheStatedRule) {
    struct Case {
        long long n;
        int bins;
    };
    for (const Case c : {Case{0, 1}, {1, 1}, {2, 2}, {8, 4}, {9, 5}, {1000, 11}})
        EXPECT_EQ(sturgesBins(c.n), c.bins) << c.n;

    // Evenly spread: Freedman-Diaconis gives 10 bins, fewer than Sturges' 11.
    std::vector<double> even(1000);
    std::iota(even.begin(), even.end(), 1.0);
    Histogram h = makeHistogram(even);
    EXPECT_EQ(h.counts.size(), 11u);
    EXPECT_EQ(h.rule, q("Sturges 规则"));

    // One far value: the rule of the quartiles keeps the bulk in narrow bins.
    std::vector<double> skewed(100);
    std::iota(skewed.begin(), skewed.end(), 0.0);
    skewed.push_back(1000);
    h = makeHistogram(skewed);
    EXPECT_EQ(h.rule, q("Freedman–Diaconis 规则"));
    EXPECT_EQ(h.counts.size(), size_t(freedmanDiaconisBins([&] {
                  std::vector<double> s = skewed;
                  std::sort(s.begin(), s.end());
                  return s;
              }())));
    EXPECT_GT(h.counts.size(), size_t(sturgesBins(101)));
    EXPECT_EQ(h.counts.back(), 1);  // the far value, alone in the last bin
    EXPECT_EQ(std::accumulate(h.counts.begin(), h.counts.end(), 0LL), 101);

    // Constant data (interquartile range 0): Sturges, everything in one bin.
    h = makeHistogram(std::vector<double>(50, 7.5));
    EXPECT_EQ(h.counts, std::vector<long long>{50});
    EXPECT_LT(h.start, 7.5);
    EXPECT_GT(h.start + h.width, 7.5);

    // Non-finite values are left out; the bins requested are kept within bounds.
    h = makeHistogram({1, 2, std::nan(""), HUGE_VAL, 3}, 100000);
    EXPECT_EQ(h.n, 3);
    EXPECT_EQ(int(h.counts.size()), kMaxHistogramBins);
    EXPECT_EQ(std::accumulate(h.counts.begin(), h.counts.end(), 0LL), 3);
}

TEST(StatColumn, CountsAsTheStatisticsDo) {
    // Labels, a blank cell, a cell that is no number (counted as 0), a short row.
    const QString data =
        q("例1*2*3*4*5.987\r\n"
          "例2* *x*6*6.985\r\n"
          "例3*2*3.2346*6*\r\n"
          "例4*2.5\r\n");
    const StatsRun run = runStatistics(data, q("*"), q("1"));
    for (int column = 1; column <= 5; ++column) {
        const std::vector<double> v = statColumnValues(data, q("*"), 1, column);
        EXPECT_EQ(QString::number(v.size()), run.cells[0][size_t(column - 1)].trimmed().isEmpty()
                                                 ? q("0")
                                                 : run.cells[0][size_t(column - 1)].trimmed())
            << column;
    }
    EXPECT_EQ(statColumnValues(data, q("*"), 1, 1), (std::vector<double>{2, 2, 2.5}));
    EXPECT_EQ(statColumnValues(data, q("*"), 1, 2), (std::vector<double>{3, 0, 3.2346}));
    // No label cells: the first cell is column 1 (here all no numbers, so zeros).
    EXPECT_EQ(statColumnValues(data, q("*"), 0, 1).size(), 4u);

    // Data without the separator but with tabs is read by tabs; LF ends lines too.
    EXPECT_EQ(statColumnValues(q("a\t1\t10\nb\t2\t20\n"), q("*"), 1, 2),
              (std::vector<double>{10, 20}));

    CancelFlag cancel{true};
    EXPECT_THROW(statColumnValues(QString(5000, u'\n'), q("*"), 0, 1, &cancel), Cancelled);
}

TEST(ChartFrame, PointsLandAtTheirPixels) {
    Chart c;
    c.x = niceAxis(0, 10, 5);
    c.y = niceAxis(0, 100, 5);
    c.points = {{0, 0}, {10, 100}, {5, 50}, {2, 80}};
    const int width = 500, height = 300;
    const ChartFrame f = chartFrame(c, width, height);
    const QRectF a = chartPlotArea(c, width, height);
    EXPECT_EQ(f.plot, a);
    EXPECT_GT(a.left(), 0);
    EXPECT_LT(a.right(), width);
    EXPECT_GT(a.top(), 0);
    EXPECT_LT(a.bottom(), height);
    // Up is larger y, right is larger x.
    EXPECT_EQ(f.toPage(0, 0), a.bottomLeft());
    EXPECT_EQ(f.toPage(10, 100), a.topRight());
    EXPECT_EQ(f.toPage(5, 50), a.center());
    EXPECT_DOUBLE_EQ(f.toPage(2, 80).x(), a.left() + 0.2 * a.width());
    EXPECT_DOUBLE_EQ(f.toPage(2, 80).y(), a.bottom() - 0.8 * a.height());

    // The second panel of a picture lies one panel height lower.
    EXPECT_EQ(chartFrame(c, width, height, height).toPage(5, 50), a.center() + QPointF(0, height));

    const std::vector<QPointF> circles = circlesOf(chartSvg({c, c}, width, height));
    ASSERT_EQ(circles.size(), 8u);
    for (size_t i = 0; i < 4; ++i) {
        const QPointF want = f.toPage(c.points[i].x(), c.points[i].y());
        EXPECT_NEAR(circles[i].x(), want.x(), 0.006);
        EXPECT_NEAR(circles[i].y(), want.y(), 0.006);
        EXPECT_NEAR(circles[i + 4].y(), want.y() + height, 0.006);
    }
}

TEST(ChartFrame, DrawsOnePointPerPixelAndNoneOutside) {
    Chart c;
    c.x = niceAxis(0, 1, 5);
    c.y = niceAxis(0, 1, 5);
    for (int i = 0; i < 10000; ++i) c.points.emplace_back(0.5, 0.5);
    c.points.emplace_back(0.1, 0.1);
    c.points.emplace_back(5, 5);               // beyond the axes
    c.points.emplace_back(std::nan(""), 0.5);  // no value
    const ChartFrame f = chartFrame(c, 400, 300);
    EXPECT_EQ(visibleChartPoints(c, f), (std::vector<int>{0, 10000}));
    EXPECT_EQ(circlesOf(chartSvg({c}, 400, 300)).size(), 2u);
}

TEST(ChartSvg, HoldsTheLabelsAndEscapesThem) {
    Histogram h = makeHistogram({1, 2, 3}, 3);
    Chart c = histogramChart(h, q("直方图：a<b & c"), q("第一列数字"));
    const QString svg = chartSvg({c}, 640, 400);
    EXPECT_TRUE(svg.contains(q("直方图：a&lt;b &amp; c")));
    EXPECT_TRUE(svg.contains(q(">第一列数字</text>")));
    EXPECT_TRUE(svg.contains(q(">频数</text>")));
    EXPECT_EQ(countOf(svg, q("<rect class=\"bar\"")), 3);
    // Every tick of both axes is labelled.
    EXPECT_EQ(countOf(svg, q("<text class=\"tick\"")),
              int(c.x.ticks().size() + c.y.ticks().size()));
    EXPECT_TRUE(svg.endsWith(q("</svg>\n")));
}

RegressionResult fitted(const QString& data, int degree, QList<int> x = {2}) {
    RegressionOptions o;
    o.xColumns = x;
    o.degree = degree;
    o.plot = true;
    return runRegression(data, o);
}

TEST(RegressionCharts, ScatterWithTheFittedCurveAndResiduals) {
    // y = x^2 - 2x + 3 exactly: the curve passes through the points, residuals are 0.
    const RegressionResult r = fitted(q("3*0\r\n2*1\r\n3*2\r\n6*3\r\n11*4\r\n"), 2);
    ASSERT_TRUE(r.ok) << r.text.toStdString();
    EXPECT_EQ(r.plot.x, (std::vector<double>{0, 1, 2, 3, 4}));
    EXPECT_EQ(r.plot.y, (std::vector<double>{3, 2, 3, 6, 11}));
    ASSERT_EQ(r.plot.coefficients.size(), 3u);
    EXPECT_NEAR(r.plot.coefficients[0], 3, 1e-12);
    EXPECT_NEAR(r.plot.coefficients[1], -2, 1e-12);
    EXPECT_NEAR(r.plot.coefficients[2], 1, 1e-12);

    const std::vector<Chart> charts = regressionCharts(r.plot);
    ASSERT_EQ(charts.size(), 2u);
    const Chart& scatter = charts[0];
    const Chart& residual = charts[1];
    EXPECT_EQ(scatter.points.size(), 5u);
    EXPECT_EQ(scatter.x.label, q("x（第 2 列）"));
    EXPECT_EQ(scatter.y.label, q("y（第 1 列）"));
    ASSERT_GT(scatter.curve.size(), 100u);
    for (const QPointF& p : scatter.curve)
        EXPECT_NEAR(p.y(), p.x() * p.x() - 2 * p.x() + 3, 1e-9) << p.x();
    for (const QPointF& p : residual.points) EXPECT_NEAR(p.y(), 0, 1e-12);
    EXPECT_TRUE(residual.zeroLine);
    EXPECT_EQ(residual.y.label, q("残差"));

    const QString svg = chartSvg(charts, 600, 360);
    EXPECT_EQ(countOf(svg, q("<circle class=\"point\"")), 10);
    // The panels share the x axis position although their y labels differ in width.
    EXPECT_NE(chartPlotArea(scatter, 600, 360).left(), chartPlotArea(residual, 600, 360).left());
    static const QRegularExpression frame(QStringLiteral("<rect class=\"frame\" x=\"([0-9.]+)\""));
    QStringList lefts;
    for (auto it = frame.globalMatch(svg); it.hasNext();) lefts << it.next().captured(1);
    ASSERT_EQ(lefts.size(), 2);
    EXPECT_EQ(lefts[0], lefts[1]);
    EXPECT_EQ(lefts[0].toDouble(), stackedPlotLeft(charts, 600, 360));
    EXPECT_EQ(countOf(svg, q("<polyline class=\"curve\"")), 1);
    EXPECT_EQ(countOf(svg, q("<line class=\"zero\"")), 1);
}

TEST(RegressionCharts, SeveralXColumnsPlotYOverTheFittedValues) {
    const RegressionResult r =
        fitted(q("6*1*2\r\n9*2*3\r\n13*3*5\r\n14*4*4\r\n20*5*7\r\n"), 1, {2, 3});
    ASSERT_TRUE(r.ok) << r.text.toStdString();
    EXPECT_TRUE(r.plot.x.empty());
    const std::vector<Chart> charts = regressionCharts(r.plot);
    ASSERT_EQ(charts.size(), 2u);
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(charts[0].points[i], QPointF(r.plot.fitted[i], r.plot.y[i]));
        EXPECT_NEAR(charts[1].points[i].y(), r.plot.y[i] - r.plot.fitted[i], 1e-12);
    }
    ASSERT_EQ(charts[0].curve.size(), 2u);  // the line y = fitted
    EXPECT_EQ(charts[0].curve[0].x(), charts[0].curve[0].y());
    EXPECT_EQ(charts[0].x.label, q("拟合值"));

    // A failed fit plots nothing.
    EXPECT_TRUE(regressionCharts(fitted(q("1*1\r\n"), 1).plot).empty());
}

}  // namespace
}  // namespace hc
