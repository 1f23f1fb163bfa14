#pragma once
// Charts of data: the model behind the chart window and the SVG pictures of
// "hechuan-cli stats|regress --svg". A histogram of one column of the statistics
// window's data, and the scatter plot with its fitted curve and the residual plot
// of a regression; axes with round tick values and Chinese labels.
//
// Data values are plain doubles. Page coordinates are pixels from the top left
// corner of the picture, x to the right and y down; several charts stack as panels
// of one picture, each panel a full-width band of the same height.

#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringView>
#include <vector>

#include "expr/cancel.h"

namespace hc {

struct RegressionPlot;
struct RegressionResult;

// An axis from `low` to `high` with ticks every `step`, step being 1, 2 or 5 times
// a power of ten; the ticks are the multiples of step from low to high, both ends
// included.
struct ChartAxis {
    double low = 0;
    double high = 1;
    double step = 0.2;
    QString label;  // caption under (x) or beside (y) the axis

    std::vector<double> ticks() const;
};

// The axis covering [min, max] with at most about `maxTicks` intervals, its ends on
// ticks. min == max gives an axis around the value; non-finite bounds give 0 to 1.
ChartAxis niceAxis(double min, double max, int maxTicks = 8);

// A tick value as shown: as many decimals as `step` needs, no exponent for values
// from 1E-4 to 1E+9, a minus sign for negative values and "0" for zero.
QString tickText(double value, double step);

// Which of the tick labels centred at `positions` (page pixels, increasing or
// decreasing), each `extents[i]` pixels long along the axis, are drawn: the first,
// then every one that keeps `gap` pixels from the last one drawn, so that labels of
// a narrow picture never overlap.
std::vector<bool> keptTickLabels(const std::vector<double>& positions,
                                 const std::vector<double>& extents, double gap = 6);

// ---- Histograms ---------------------------------------------------------------

constexpr int kMaxHistogramBins = 500;

// Sturges' count of bins, ceil(log2 n) + 1 (1 for n <= 1).
int sturgesBins(long long n);
// Freedman and Diaconis' bin count for `sorted` values: the range over bins of width
// 2 IQR n^(-1/3); 0 when the interquartile range is 0. At most kMaxHistogramBins.
int freedmanDiaconisBins(const std::vector<double>& sorted);

struct Histogram {
    double start = 0;  // left edge of the first bin
    double width = 1;  // width of every bin, > 0
    std::vector<long long> counts;
    long long n = 0;
    // How the bin count was chosen, as the picture states it: "Freedman–Diaconis
    // 规则", "Sturges 规则" or "手动设定".
    QString rule;
};

// Bins `values` (the order does not matter; non-finite values are left out) into
// `bins` equal bins from the least to the greatest value, the greatest in the last
// bin. `bins` 0 chooses: Freedman–Diaconis, or Sturges when the interquartile range
// is 0 or the rule gives fewer bins. Bins are limited to 1..kMaxHistogramBins. One
// distinct value makes one bin of width 1 (or a tenth of the value) around it.
Histogram makeHistogram(std::vector<double> values, int bins = 0);

// Reads numeric column `column` (1-5, counted after `labelCells` label cells) of a
// statistics data text line by line, as the statistics window counts it: a blank
// cell is left out, a cell that is no number counts as 0.
class StatColumnReader {
public:
    // `separator` as for runStatistics (one character, "tab" or "Tab").
    StatColumnReader(const QString& separator, int labelCells, int column);
    void addLine(QStringView line);
    const std::vector<double>& values() const { return values_; }
    std::vector<double> takeValues() { return std::move(values_); }

private:
    QChar separator_;
    int cell_;
    std::vector<double> values_;
};

// The values of numeric column `column` of the whole data text (lines ended by CR,
// LF or CR LF). Data without `separator` but with tabs (or else commas) is read with
// those, as the statistics do. A set `cancel` flag throws Cancelled.
std::vector<double> statColumnValues(const QString& data, const QString& separator, int labelCells,
                                     int column, const CancelFlag* cancel = nullptr);

// ---- Charts -------------------------------------------------------------------

struct ChartBar {
    double left = 0;
    double right = 0;
    double height = 0;
};

struct Chart {
    QString title;
    QString subtitle;  // the bin rule, n, the model ...
    ChartAxis x;
    ChartAxis y;
    std::vector<ChartBar> bars;
    std::vector<QPointF> points;  // data points, in data coordinates
    std::vector<QPointF> curve;   // a line through these, in data coordinates
    bool zeroLine = false;        // a horizontal line at y = 0
};

// The histogram chart of `h`: one bar per bin, height its count; the x axis "数值"
// (or `valueLabel`), the y axis "频数", the subtitle naming n, the bins and the rule.
Chart histogramChart(const Histogram& h, const QString& title, const QString& valueLabel = {});

// The charts of a fitted regression (RegressionOptions::plot): with one x column,
// y over x with the fitted line or polynomial, then the residuals over x; with
// several, y over the fitted values with the line y = fitted, then the residuals over
// the fitted values. Empty when `plot` holds no rows.
std::vector<Chart> regressionCharts(const RegressionPlot& plot);

// What a chart window or "hechuan-cli stats|regress --svg" draws: the charts, or
// why there are none (Chinese).
struct ChartPicture {
    std::vector<Chart> charts;
    QString message;
};

// The histogram of numeric column `column` (1-5) of the statistics data, its
// `values` read by StatColumnReader; `bins` 0 chooses by the rule.
ChartPicture statisticsHistogram(std::vector<double> values, int column, int bins);

// The scatter and residual charts of a regression run with RegressionOptions::plot,
// or its failure.
ChartPicture regressionPicture(const RegressionResult& result);

// Where a panel of `width` x `height` pixels puts its plot area: margins for the
// title, the tick labels and the axis captions.
QRectF chartPlotArea(const Chart& chart, int width, int height);

// The mapping of one panel's data coordinates to page pixels.
struct ChartFrame {
    QRectF plot;  // the plot area on the page
    ChartAxis x;
    ChartAxis y;
    QPointF toPage(double xValue, double yValue) const;
};
// `top`: the page y of the panel's top edge; `left`: the least left edge of the plot
// area, so that stacked panels share their x axis position.
ChartFrame chartFrame(const Chart& chart, int width, int height, double top = 0, double left = 0);
// The left edge of the plot areas of `charts` stacked: the widest of their margins.
double stackedPlotLeft(const std::vector<Chart>& charts, int width, int panelHeight);

// Indices of the points to draw: the first of each pixel of the plot area, points
// outside it left out, so that drawing is bounded by the page size.
std::vector<int> visibleChartPoints(const Chart& chart, const ChartFrame& frame);

// The charts stacked as panels of width x panelHeight pixels, their plot areas
// starting at stackedPlotLeft, as an SVG document:
// per panel a <rect class="bar"> per bar with a height above 0, a <circle
// class="point"> per visible point, the curve as a <polyline class="curve">, the
// axes with their ticks, labels and captions, the title and subtitle.
QString chartSvg(const std::vector<Chart>& charts, int width, int panelHeight);

}  // namespace hc
