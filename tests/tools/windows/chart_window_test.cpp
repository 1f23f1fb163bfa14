#include "tools/windows/chart_window.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <numeric>

#include "tests/calculator/qt_app.h"
#include "tests/survey/print_qstring.h"
#include "tools/windows/form201.h"
#include "tools/windows/form209.h"
#include "ui/services.h"
#include "ui/text_box.h"

namespace hc {
namespace {

QString q(const char* s) { return QString::fromUtf8(s); }

ChartWindow* openChart(QWidget& form) {
    auto* button = form.findChild<QPushButton*>(q("CommandChart"));
    if (!button) return nullptr;
    QTest::mouseClick(button, Qt::LeftButton);
    auto* window = form.findChild<ChartWindow*>();
    if (window && !QTest::qWaitFor([window] { return !window->isBusy(); }, 10000)) return nullptr;
    return window;
}

std::vector<double> barHeights(const ChartWindow& window) {
    std::vector<double> out;
    const ChartPicture& p = window.chartWidget()->picture();
    if (p.charts.size() == 1)
        for (const ChartBar& b : p.charts[0].bars) out.push_back(b.height);
    return out;
}

std::vector<long long> expectedCounts(const QString& data, int column, int bins) {
    return makeHistogram(statColumnValues(data, q("*"), 1, column), bins).counts;
}

std::vector<double> asDoubles(const std::vector<long long>& v) {
    return std::vector<double>(v.begin(), v.end());
}

TEST(ChartWindow, HistogramOfTheChosenColumnFollowsTheStatistics) {
    test::qtApp();
    ui::RecordingServices rec;
    Form201 form;
    form.show();
    auto* button = form.findChild<QPushButton*>(q("CommandChart"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), q("直方图"));
    const QString data = q("a*1*10\r\nb*2*20\r\nc*2*20\r\nd*3*20\r\ne*3*30\r\nf*3*40\r\n");
    form.dataBox()->setText(data);
    ChartWindow* window = openChart(form);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(barHeights(*window), asDoubles(expectedCounts(data, 1, 0)));
    const std::vector<double> first = barHeights(*window);
    EXPECT_EQ(std::accumulate(first.begin(), first.end(), 0.0), 6);
    EXPECT_TRUE(window->chartWidget()->picture().charts[0].subtitle.contains(q("Sturges 规则")));

    // The second column with three bins: 10 | 20 20 20 | 30 40.
    auto* column = window->findChild<QComboBox*>(q("ComboColumn"));
    auto* bins = window->findChild<QSpinBox*>(q("SpinBins"));
    ASSERT_TRUE(column && bins);
    column->setCurrentIndex(1);
    bins->setValue(3);
    window->refresh();
    EXPECT_EQ(barHeights(*window), (std::vector<double>{1, 3, 2}));
    EXPECT_TRUE(window->chartWidget()->picture().charts[0].subtitle.contains(q("手动设定")));

    // A recalculation rewrites the data box: the picture follows.
    form.dataBox()->setText(q("a*1*10\r\nb*2*50\r\n"));
    QTest::mouseClick(form.findChild<QPushButton*>(q("Command1")), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const std::vector<double> h = barHeights(*window);
            return std::accumulate(h.begin(), h.end(), 0.0) == 2;
        },
        5000));
    EXPECT_EQ(barHeights(*window), (std::vector<double>{1, 0, 1}));

    // An empty column says so.
    column->setCurrentIndex(4);
    window->refresh();
    EXPECT_EQ(window->statusText(), q("第五列数字中没有可以画直方图的数字。"));
    EXPECT_TRUE(rec.messages.isEmpty()) << rec.messages.join(u'\n').toStdString();
}

TEST(ChartWindow, ScatterAndResidualsOfTheRegression) {
    test::qtApp();
    ui::RecordingServices rec;
    Form209 form;
    form.show();
    form.dataBox()->setText(q("3*0\r\n2*1\r\n3*2\r\n6*3\r\n11*4\r\n12*5\r\n"));
    form.findChild<QComboBox*>(q("Combo3"))->setCurrentIndex(1);  // degree 2
    QTest::mouseClick(form.findChild<QPushButton*>(q("Command1")), Qt::LeftButton);
    ChartWindow* window = openChart(form);
    ASSERT_NE(window, nullptr);
    const ChartPicture& p = window->chartWidget()->picture();
    ASSERT_EQ(p.charts.size(), 2u);
    EXPECT_EQ(p.charts[0].points.size(), 6u);
    EXPECT_EQ(p.charts[0].points[5], QPointF(5, 12));
    EXPECT_GT(p.charts[0].curve.size(), 100u);
    EXPECT_TRUE(p.charts[0].subtitle.contains(q("2 次多项式")));
    EXPECT_TRUE(p.charts[1].zeroLine);

    // A fit that fails leaves no charts and shows why.
    form.dataBox()->setText(q("1*1\r\n"));
    QTest::mouseClick(form.findChild<QPushButton*>(q("Command1")), Qt::LeftButton);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return window->chartWidget()->picture().charts.empty(); }, 5000));
    EXPECT_FALSE(window->statusText().isEmpty());
    EXPECT_EQ(window->statusText(), runRegressionInput(form.input()).failure);
}

TEST(ChartWindow, ExportsAndPrintsThePicture) {
    test::qtApp();
    ui::RecordingServices rec;
    ChartWindow window(q("直方图"), ChartWindow::Kind::Histogram, [](int column, int bins) {
        return histogramJob(q("a*1\r\nb*2\r\nc*2\r\nd*4\r\n"), q("*"), q("1"), column, bins);
    });
    window.show();
    window.refresh();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString svgPath = dir.filePath(q("h.svg")), pngPath = dir.filePath(q("h.png"));
    window.setFileChooser([&](QWidget*, bool svg) { return svg ? svgPath : pngPath; });
    QTest::mouseClick(window.findChild<QPushButton*>(q("CommandSvg")), Qt::LeftButton);
    QTest::mouseClick(window.findChild<QPushButton*>(q("CommandPng")), Qt::LeftButton);
    QFile svg(svgPath);
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(svg.readAll());
    const std::vector<double> heights = barHeights(window);
    EXPECT_EQ(text.count(q("<rect class=\"bar\"")),
              std::count_if(heights.begin(), heights.end(), [](double h) { return h > 0; }));
    EXPECT_EQ(text, window.chartWidget()->svg());
    const QImage png(pngPath);
    EXPECT_EQ(png.size(), window.chartWidget()->size() * window.devicePixelRatio());

    // Printing prints the picture alone.
    QTest::mouseClick(window.findChild<QPushButton*>(q("CommandPrint")), Qt::LeftButton);
    ASSERT_EQ(rec.printedPictures.size(), 1);
    EXPECT_EQ(rec.printedPictures[0], window.chartWidget());

    // A file that cannot be written is reported.
    EXPECT_FALSE(window.exportTo(dir.filePath(q("no/such/dir/h.svg")), true));
    ASSERT_EQ(rec.messages.size(), 1);
    EXPECT_TRUE(rec.messages[0].startsWith(q("无法写入图表文件")));
}

TEST(ChartWindow, ABusySourceKeepsThePicture) {
    test::qtApp();
    ui::RecordingServices rec;
    bool busy = false;
    ChartWindow window(q("直方图"), ChartWindow::Kind::Histogram, [&busy](int column, int bins) {
        return busy ? ChartJob{}
                    : histogramJob(q("a*1\r\nb*2\r\nc*2\r\n"), q("*"), q("1"), column, bins);
    });
    window.show();
    window.refresh();
    const std::vector<double> before = barHeights(window);
    ASSERT_FALSE(before.empty());
    busy = true;
    window.refresh();
    EXPECT_EQ(barHeights(window), before);
    EXPECT_FALSE(window.isBusy());
}

TEST(ChartWindow, LargeDataIsReadOffTheWindowThreadAndCanBeStopped) {
    test::qtApp();
    ui::RecordingServices rec;
    QString data;
    for (int i = 0; i < 300000; ++i) data += QStringLiteral("p*%1\r\n").arg(i % 97);
    ASSERT_GT(data.size(), kChartLargeText);
    ChartWindow window(q("直方图"), ChartWindow::Kind::Histogram, [&data](int column, int bins) {
        return histogramJob(data, q("*"), q("1"), column, bins);
    });
    window.show();
    window.refresh();
    EXPECT_TRUE(window.isBusy());
    EXPECT_EQ(window.statusText(), q("正在读取数据……（按 Esc 取消）"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.isBusy(); }, 20000));
    const std::vector<double> h = barHeights(window);
    EXPECT_EQ(std::accumulate(h.begin(), h.end(), 0.0), 300000);

    window.refresh();
    QTest::keyClick(&window, Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.isBusy(); }, 20000));
    EXPECT_EQ(window.statusText(), q("已取消作图。"));
    EXPECT_TRUE(window.chartWidget()->picture().charts.empty());
}

}  // namespace
}  // namespace hc
