#include "tools/chart.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/number_reader.h"
#include "engine/text_trim.h"
#include "tools/regression.h"
#include "tools/statistics.h"

namespace hc {
namespace {

// Panel margins in pixels around the plot area.
constexpr double kTopMargin = 52;     // title and subtitle
constexpr double kBottomMargin = 50;  // tick labels and the x caption
constexpr double kRightMargin = 24;
constexpr double kCaptionWidth = 24;  // the rotated y caption
constexpr double kCharWidth = 7.2;    // advance of a digit at the 12 px font, a little over
constexpr int kCurveSamples = 240;

double stepAtLeast(double raw) {
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 5.0, 10.0})
        if (m * power >= raw * (1 - 1e-12)) return m * power;
    return 10 * power;
}

QString number(double v) { return QString::number(v, 'f', 2); }

QString escaped(const QString& text) { return text.toHtmlEscaped(); }

double quantile(const std::vector<double>& sorted, double p) {
    const double at = p * double(sorted.size() - 1);
    const size_t i = size_t(std::floor(at));
    if (i + 1 >= sorted.size()) return sorted.back();
    return sorted[i] + (at - double(i)) * (sorted[i + 1] - sorted[i]);
}

double finiteMin(const std::vector<double>& v) {
    double m = std::numeric_limits<double>::infinity();
    for (const double d : v)
        if (std::isfinite(d)) m = std::min(m, d);
    return m;
}

double finiteMax(const std::vector<double>& v) {
    double m = -std::numeric_limits<double>::infinity();
    for (const double d : v)
        if (std::isfinite(d)) m = std::max(m, d);
    return m;
}

double yLabelWidth(const ChartAxis& axis) {
    qsizetype longest = 1;
    for (const double t : axis.ticks()) longest = std::max(longest, tickText(t, axis.step).size());
    return double(longest) * kCharWidth;
}

}  // namespace

std::vector<double> ChartAxis::ticks() const {
    std::vector<double> out;
    if (!(step > 0) || !std::isfinite(low) || !std::isfinite(high)) return out;
    const double first = std::ceil(low / step - 1e-9);
    const double last = std::floor(high / step + 1e-9);
    for (double k = first; k <= last && out.size() < 1000; ++k) out.push_back(k * step);
    return out;
}

ChartAxis niceAxis(double min, double max, int maxTicks) {
    ChartAxis axis;
    if (!std::isfinite(min) || !std::isfinite(max)) return axis;
    if (min > max) std::swap(min, max);
    if (min == max) {
        const double pad = min == 0 ? 1 : std::abs(min) * 0.1;
        min -= pad;
        max += pad;
    }
    maxTicks = std::max(maxTicks, 1);
    double step = stepAtLeast((max - min) / maxTicks);
    if (!std::isfinite(step) || step <= 0) return axis;
    axis.low = std::floor(min / step + 1e-9) * step;
    axis.high = std::ceil(max / step - 1e-9) * step;
    // Rounding the ends outwards can add an interval beyond maxTicks: take the next step.
    while ((axis.high - axis.low) / step > maxTicks + 0.5) {
        step = stepAtLeast(step * 1.01);
        axis.low = std::floor(min / step + 1e-9) * step;
        axis.high = std::ceil(max / step - 1e-9) * step;
    }
    axis.step = step;
    // The tolerance above may leave an end an ulp inside the data.
    axis.low = std::min(axis.low, min);
    axis.high = std::max(axis.high, max);
    return axis;
}

QString tickText(double value, double step) {
    if (std::abs(value) < step * 1e-6) return QStringLiteral("0");
    const double magnitude = std::max(std::abs(value), step);
    if (magnitude >= 1e9 || step < 1e-4) return QString::number(value, 'g', 6);
    const int decimals = std::max(0, int(-std::floor(std::log10(step) + 1e-9)));
    return QString::number(value, 'f', decimals);
}

std::vector<bool> keptTickLabels(const std::vector<double>& positions,
                                 const std::vector<double>& extents, double gap) {
    std::vector<bool> kept(positions.size(), false);
    bool any = false;
    double lastPosition = 0, lastHalf = 0;
    for (size_t i = 0; i < positions.size() && i < extents.size(); ++i) {
        const double half = extents[i] / 2;
        if (any && std::abs(positions[i] - lastPosition) < lastHalf + half + gap) continue;
        kept[i] = true;
        any = true;
        lastPosition = positions[i];
        lastHalf = half;
    }
    return kept;
}

int sturgesBins(long long n) {
    if (n <= 1) return 1;
    return int(std::ceil(std::log2(double(n)))) + 1;
}

int freedmanDiaconisBins(const std::vector<double>& sorted) {
    if (sorted.size() < 2) return 0;
    const double iqr = quantile(sorted, 0.75) - quantile(sorted, 0.25);
    if (!(iqr > 0)) return 0;
    const double width = 2 * iqr / std::cbrt(double(sorted.size()));
    const double bins = std::ceil((sorted.back() - sorted.front()) / width);
    if (!std::isfinite(bins)) return kMaxHistogramBins;
    return int(std::clamp(bins, 1.0, double(kMaxHistogramBins)));
}

Histogram makeHistogram(std::vector<double> values, int bins) {
    values.erase(
        std::remove_if(values.begin(), values.end(), [](double v) { return !std::isfinite(v); }),
        values.end());
    Histogram h;
    h.n = static_cast<long long>(values.size());
    if (bins > 0) {
        h.rule = QStringLiteral("手动设定");
    } else {
        std::sort(values.begin(), values.end());
        const int fd = freedmanDiaconisBins(values);
        const int sturges = sturgesBins(h.n);
        if (fd >= sturges) {
            bins = fd;
            h.rule = QStringLiteral("Freedman–Diaconis 规则");
        } else {
            bins = sturges;
            h.rule = QStringLiteral("Sturges 规则");
        }
    }
    bins = std::clamp(bins, 1, kMaxHistogramBins);
    if (values.empty()) {
        h.counts.assign(size_t(bins), 0);
        return h;
    }
    const double low = finiteMin(values), high = finiteMax(values);
    if (low == high) {
        h.width = low == 0 ? 1 : std::abs(low) / 10;
        h.start = low - h.width / 2;
        h.counts = {h.n};
        return h;
    }
    h.start = low;
    h.width = (high - low) / bins;
    if (!(h.width > 0) || !std::isfinite(h.width)) {
        // A range beyond the double range: one bin holds everything.
        h.width = std::numeric_limits<double>::max();
        h.counts = {h.n};
        return h;
    }
    h.counts.assign(size_t(bins), 0);
    for (const double v : values) {
        const double at = std::floor((v - low) / h.width);
        const size_t bin = size_t(std::clamp(at, 0.0, double(bins - 1)));
        ++h.counts[bin];
    }
    return h;
}

StatColumnReader::StatColumnReader(const QString& separator, int labelCells, int column)
    : separator_(normalizedStatSeparator(separator).at(0)),
      cell_(std::clamp(labelCells, 0, 3) + std::clamp(column, 1, 5) - 1) {}

void StatColumnReader::addLine(QStringView line) {
    int index = 0;
    qsizetype start = 0;
    const qsizetype n = line.size();
    while (index < cell_) {
        const qsizetype at = line.indexOf(separator_, start);
        if (at < 0) return;
        start = at + 1;
        ++index;
    }
    qsizetype end = line.indexOf(separator_, start);
    if (end < 0) end = n;
    const QStringView cell = line.mid(start, end - start);
    if (isBlankCell(cell)) return;
    double v = 0;
    if (!textToDouble(trimSpaces(cell), v)) v = 0;
    values_.push_back(v);
}

std::vector<double> statColumnValues(const QString& data, const QString& separator, int labelCells,
                                     int column, const CancelFlag* cancel) {
    QString sep = normalizedStatSeparator(separator);
    if (!data.contains(sep.at(0))) {
        if (data.contains(u'\t'))
            sep = QStringLiteral("\t");
        else if (data.contains(u','))
            sep = QStringLiteral(",");
    }
    StatColumnReader reader(sep, labelCells, column);
    const QChar* d = data.constData();
    const qsizetype size = data.size();
    qsizetype p = 0;
    int lines = 0;
    while (p < size) {
        if ((++lines & 4095) == 0) throwIfCancelled(cancel);
        qsizetype end = p;
        while (end < size && d[end] != u'\r' && d[end] != u'\n') ++end;
        reader.addLine(QStringView(d + p, end - p));
        p = end < size && d[end] == u'\r' && end + 1 < size && d[end + 1] == u'\n' ? end + 2
                                                                                   : end + 1;
    }
    return reader.takeValues();
}

Chart histogramChart(const Histogram& h, const QString& title, const QString& valueLabel) {
    Chart c;
    c.title = title;
    c.subtitle = QStringLiteral("n = %1，%2 组，组距 %3（%4）")
                     .arg(h.n)
                     .arg(h.counts.size())
                     .arg(QString::number(h.width, 'g', 6), h.rule);
    long long most = 0;
    for (size_t i = 0; i < h.counts.size(); ++i) {
        const double left = h.start + double(i) * h.width;
        c.bars.push_back({left, left + h.width, double(h.counts[i])});
        most = std::max(most, h.counts[i]);
    }
    const double right = h.start + double(h.counts.size()) * h.width;
    c.x = niceAxis(h.start, std::isfinite(right) ? right : h.start + 1, 10);
    c.x.label = valueLabel.isEmpty() ? QStringLiteral("数值") : valueLabel;
    // Counts are whole: the y axis steps by at least 1.
    const double top = std::max(double(most), 1.0);
    c.y = niceAxis(0, top, 8);
    if (c.y.step < 1) c.y = niceAxis(0, top, int(top));
    c.y.label = QStringLiteral("频数");
    return c;
}

std::vector<Chart> regressionCharts(const RegressionPlot& plot) {
    const size_t n = plot.y.size();
    if (n == 0 || plot.fitted.size() != n) return {};
    const bool oneX = !plot.xName.isEmpty() && plot.x.size() == n;
    const std::vector<double>& across = oneX ? plot.x : plot.fitted;
    const QString acrossName =
        oneX ? QStringLiteral("x（%1）").arg(plot.xName) : QStringLiteral("拟合值");

    Chart scatter;
    scatter.title = oneX ? QStringLiteral("散点图与拟合曲线") : QStringLiteral("实测值与拟合值");
    scatter.subtitle = QStringLiteral("%1，n = %2").arg(plot.model).arg(n);
    Chart residual;
    residual.title = QStringLiteral("残差图");
    residual.subtitle = QStringLiteral("残差 = y − 拟合值，n = %1").arg(n);
    residual.zeroLine = true;
    std::vector<double> residuals(n);
    for (size_t i = 0; i < n; ++i) {
        scatter.points.emplace_back(across[i], plot.y[i]);
        residuals[i] = plot.y[i] - plot.fitted[i];
        residual.points.emplace_back(across[i], residuals[i]);
    }
    const double lowX = finiteMin(across), highX = finiteMax(across);
    scatter.x = niceAxis(lowX, highX, 8);
    residual.x = scatter.x;
    scatter.x.label = residual.x.label = acrossName;
    // The y axis covers the data and the fitted values; a curve leaving it is clipped.
    scatter.y = niceAxis(std::min(finiteMin(plot.y), finiteMin(plot.fitted)),
                         std::max(finiteMax(plot.y), finiteMax(plot.fitted)), 8);
    scatter.y.label = QStringLiteral("y（%1）").arg(plot.yName);
    const double spread = std::max(std::abs(finiteMin(residuals)), std::abs(finiteMax(residuals)));
    residual.y = niceAxis(-spread, spread, 8);
    residual.y.label = QStringLiteral("残差");

    if (oneX && !plot.coefficients.empty()) {
        const double from = scatter.x.low, to = scatter.x.high;
        for (int k = 0; k <= kCurveSamples; ++k) {
            const double x = from + (to - from) * k / kCurveSamples;
            double y = 0;
            for (auto c = plot.coefficients.rbegin(); c != plot.coefficients.rend(); ++c)
                y = y * x + *c;
            if (std::isfinite(y)) scatter.curve.emplace_back(x, y);
        }
    } else if (!oneX) {
        const double from = std::max(scatter.x.low, scatter.y.low);
        const double to = std::min(scatter.x.high, scatter.y.high);
        if (from < to) scatter.curve = {QPointF(from, from), QPointF(to, to)};
    }
    return {scatter, residual};
}

ChartPicture statisticsHistogram(std::vector<double> values, int column, int bins) {
    static const char* const names[] = {"第一列数字", "第二列数字", "第三列数字", "第四列数字",
                                        "第五列数字"};
    const QString name = QString::fromUtf8(names[std::clamp(column, 1, 5) - 1]);
    ChartPicture picture;
    if (values.empty()) picture.message = QStringLiteral("%1中没有可以画直方图的数字。").arg(name);
    picture.charts.push_back(histogramChart(makeHistogram(std::move(values), bins),
                                            QStringLiteral("直方图（%1）").arg(name), name));
    return picture;
}

ChartPicture regressionPicture(const RegressionResult& result) {
    ChartPicture picture;
    if (!result.ok) {
        picture.message = result.failure;
        return picture;
    }
    picture.charts = regressionCharts(result.plot);
    return picture;
}

QRectF chartPlotArea(const Chart& chart, int width, int height) {
    const double left = kCaptionWidth + yLabelWidth(chart.y) + 12;
    return QRectF(QPointF(left, kTopMargin),
                  QPointF(std::max(left + 1, width - kRightMargin),
                          std::max(kTopMargin + 1, height - kBottomMargin)));
}

QPointF ChartFrame::toPage(double xValue, double yValue) const {
    const double xSpan = x.high - x.low, ySpan = y.high - y.low;
    return {plot.left() + (xValue - x.low) / xSpan * plot.width(),
            plot.bottom() - (yValue - y.low) / ySpan * plot.height()};
}

ChartFrame chartFrame(const Chart& chart, int width, int height, double top, double left) {
    ChartFrame f;
    f.plot = chartPlotArea(chart, width, height).translated(0, top);
    if (left > f.plot.left() && left < f.plot.right() - 1) f.plot.setLeft(left);
    f.x = chart.x;
    f.y = chart.y;
    if (!(f.x.high > f.x.low)) f.x.high = f.x.low + 1;
    if (!(f.y.high > f.y.low)) f.y.high = f.y.low + 1;
    return f;
}

double stackedPlotLeft(const std::vector<Chart>& charts, int width, int panelHeight) {
    double left = 0;
    for (const Chart& c : charts)
        left = std::max(left, chartPlotArea(c, width, panelHeight).left());
    return left;
}

std::vector<int> visibleChartPoints(const Chart& chart, const ChartFrame& frame) {
    const QRect area = frame.plot.toAlignedRect();
    const int w = std::max(area.width(), 1) + 1, h = std::max(area.height(), 1) + 1;
    std::vector<bool> taken(size_t(w) * size_t(h), false);
    std::vector<int> out;
    const int n = int(chart.points.size());
    for (int i = 0; i < n; ++i) {
        const QPointF& d = chart.points[size_t(i)];
        if (!std::isfinite(d.x()) || !std::isfinite(d.y())) continue;
        const QPointF at = frame.toPage(d.x(), d.y()) - QPointF(area.left(), area.top());
        if (!(at.x() >= 0 && at.x() < w && at.y() >= 0 && at.y() < h)) continue;
        const size_t cell = size_t(at.y()) * size_t(w) + size_t(at.x());
        if (taken[cell]) continue;
        taken[cell] = true;
        out.push_back(i);
    }
    return out;
}

QString chartSvg(const std::vector<Chart>& charts, int width, int panelHeight) {
    width = std::max(width, 100);
    panelHeight = std::max(panelHeight, 100);
    const int height = panelHeight * std::max<int>(int(charts.size()), 1);
    QString svg = QStringLiteral(
                      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%2\" "
                      "viewBox=\"0 0 %1 %2\" font-family=\"sans-serif\" font-size=\"12\">\n"
                      "<rect width=\"%1\" height=\"%2\" fill=\"white\"/>\n")
                      .arg(width)
                      .arg(height);
    const double left = stackedPlotLeft(charts, width, panelHeight);
    for (size_t k = 0; k < charts.size(); ++k) {
        const Chart& c = charts[k];
        const double top = double(k) * panelHeight;
        const ChartFrame f = chartFrame(c, width, panelHeight, top, left);
        const QRectF& a = f.plot;
        svg += QStringLiteral("<g class=\"panel\">\n");
        svg += QStringLiteral(
                   "<clipPath id=\"plot%1\"><rect x=\"%2\" y=\"%3\" width=\"%4\" "
                   "height=\"%5\"/></clipPath>\n")
                   .arg(k)
                   .arg(number(a.left()), number(a.top()), number(a.width()), number(a.height()));
        svg += QStringLiteral(
                   "<text class=\"title\" x=\"%1\" y=\"%2\" text-anchor=\"middle\" "
                   "font-size=\"15\" font-weight=\"bold\">%3</text>\n"
                   "<text class=\"subtitle\" x=\"%1\" y=\"%4\" text-anchor=\"middle\" "
                   "fill=\"#404040\">%5</text>\n")
                   .arg(number(width / 2.0), number(top + 20), escaped(c.title), number(top + 40),
                        escaped(c.subtitle));
        // Grid and ticks.
        // Grid and ticks; labels that would overlap their neighbour are left out.
        const std::vector<double> xTicks = f.x.ticks(), yTicks = f.y.ticks();
        std::vector<double> at, extent;
        for (const double t : xTicks) {
            at.push_back(f.toPage(t, f.y.low).x());
            extent.push_back(double(tickText(t, f.x.step).size()) * kCharWidth);
        }
        std::vector<bool> kept = keptTickLabels(at, extent);
        for (size_t i = 0; i < xTicks.size(); ++i) {
            svg += QStringLiteral(
                       "<line class=\"grid\" x1=\"%1\" y1=\"%2\" x2=\"%1\" y2=\"%3\" "
                       "stroke=\"#e0e0e0\"/>\n")
                       .arg(number(at[i]), number(a.top()), number(a.bottom() + 4));
            if (kept[i])
                svg +=
                    QStringLiteral(
                        "<text class=\"tick\" x=\"%1\" y=\"%2\" "
                        "text-anchor=\"middle\">%3</text>\n")
                        .arg(number(at[i]), number(a.bottom() + 18), tickText(xTicks[i], f.x.step));
        }
        at.clear();
        for (const double t : yTicks) at.push_back(f.toPage(f.x.low, t).y());
        kept = keptTickLabels(at, std::vector<double>(at.size(), 12), 2);
        for (size_t i = 0; i < yTicks.size(); ++i) {
            svg += QStringLiteral(
                       "<line class=\"grid\" x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%2\" "
                       "stroke=\"#e0e0e0\"/>\n")
                       .arg(number(a.left() - 4), number(at[i]), number(a.right()));
            if (kept[i])
                svg += QStringLiteral(
                           "<text class=\"tick\" x=\"%1\" y=\"%2\" "
                           "text-anchor=\"end\">%3</text>\n")
                           .arg(number(a.left() - 7), number(at[i] + 4),
                                tickText(yTicks[i], f.y.step));
        }
        svg += QStringLiteral("<g clip-path=\"url(#plot%1)\">\n").arg(k);
        for (const ChartBar& b : c.bars) {
            if (!(b.height > 0)) continue;
            const QPointF p0 = f.toPage(b.left, b.height), p1 = f.toPage(b.right, 0);
            svg += QStringLiteral(
                       "<rect class=\"bar\" x=\"%1\" y=\"%2\" width=\"%3\" "
                       "height=\"%4\" fill=\"#7da7d9\" stroke=\"#1f5fa8\"/>\n")
                       .arg(number(p0.x()), number(p0.y()), number(p1.x() - p0.x()),
                            number(p1.y() - p0.y()));
        }
        if (c.zeroLine) {
            const double y = f.toPage(0, 0).y();
            svg += QStringLiteral(
                       "<line class=\"zero\" x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%2\" "
                       "stroke=\"#808080\" stroke-dasharray=\"4 3\"/>\n")
                       .arg(number(a.left()), number(y), number(a.right()));
        }
        if (!c.curve.empty()) {
            svg += QStringLiteral(
                "<polyline class=\"curve\" fill=\"none\" stroke=\"#c00000\" "
                "stroke-width=\"1.5\" points=\"");
            for (size_t i = 0; i < c.curve.size(); ++i) {
                const QPointF p = f.toPage(c.curve[i].x(), c.curve[i].y());
                if (i > 0) svg += u' ';
                svg += number(std::clamp(p.x(), -1e6, 1e6)) + u',' +
                       number(std::clamp(p.y(), -1e6, 1e6));
            }
            svg += QStringLiteral("\"/>\n");
        }
        for (const int i : visibleChartPoints(c, f)) {
            const QPointF p = f.toPage(c.points[size_t(i)].x(), c.points[size_t(i)].y());
            svg += QStringLiteral(
                       "<circle class=\"point\" cx=\"%1\" cy=\"%2\" r=\"3\" "
                       "fill=\"#1f5fa8\"/>\n")
                       .arg(number(p.x()), number(p.y()));
        }
        svg += QStringLiteral("</g>\n");
        svg += QStringLiteral(
                   "<rect class=\"frame\" x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" "
                   "fill=\"none\" stroke=\"black\"/>\n")
                   .arg(number(a.left()), number(a.top()), number(a.width()), number(a.height()));
        svg += QStringLiteral(
                   "<text class=\"caption\" x=\"%1\" y=\"%2\" "
                   "text-anchor=\"middle\">%3</text>\n")
                   .arg(number(a.center().x()), number(a.bottom() + 38), escaped(f.x.label));
        svg += QStringLiteral(
                   "<text class=\"caption\" x=\"%1\" y=\"%2\" text-anchor=\"middle\" "
                   "transform=\"rotate(-90 %1 %2)\">%3</text>\n")
                   .arg(number(14), number(a.center().y()), escaped(f.y.label));
        svg += QStringLiteral("</g>\n");
    }
    svg += QStringLiteral("</svg>\n");
    return svg;
}

}  // namespace hc
