#pragma once
// Charts on screen: a widget drawing ChartPicture panels with QPainter, the window
// holding it (column and bin choice for a histogram, PNG and SVG export, printing),
// and the button that opens it from the statistics or regression window.

#include <QWidget>
#include <functional>
#include <memory>
#include <thread>

#include "tools/chart.h"
#include "tools/regression.h"

class QComboBox;
class QImage;
class QLabel;
class QPainter;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTimer;

namespace hc {

// Draws `charts` stacked on `painter` in a page of `size` pixels, each a panel of the
// full width and an equal share of the height, as chartSvg lays them out.
void paintCharts(QPainter& painter, const std::vector<Chart>& charts, QSize size);

class ChartWidget : public QWidget {
    Q_OBJECT
public:
    explicit ChartWidget(QWidget* parent = nullptr);
    void setPicture(ChartPicture picture);
    const ChartPicture& picture() const { return picture_; }
    // Height of one panel, in pixels.
    int panelHeight() const;
    // The picture as drawn now, at the screen's pixel ratio.
    QImage image() const;
    // The picture as an SVG document of the widget's size.
    QString svg() const;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    ChartPicture picture_;
};

// The work behind a picture: `make` runs on a worker thread when `large` is set
// (a set cancel flag stops it: it then throws Cancelled), else at once. No `make`
// keeps the picture as it is (the source is busy).
struct ChartJob {
    std::function<ChartPicture(const CancelFlag*)> make;
    bool large = false;
};

class ChartWindow : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Histogram, Regression };
    // `source` is called on the window thread with the chosen column (1-5; 1 for a
    // regression) and bin count (0 automatic) and returns the work to draw.
    using Source = std::function<ChartJob(int column, int bins)>;
    ChartWindow(const QString& title, Kind kind, Source source, QWidget* parent = nullptr);
    ~ChartWindow() override;

    // Redraws from the source now; large data is read off the window thread while
    // the window keeps repainting (Esc stops it).
    void refresh();
    // Redraws a moment later when the window is shown: the source changed.
    void scheduleRefresh();
    void cancel();
    bool isBusy() const { return static_cast<bool>(cancel_); }

    ChartWidget* chartWidget() const { return chart_; }
    QString statusText() const;

    // Asks for the file to export to (svg: an SVG, else a PNG); the empty text
    // cancels. The default shows a file dialog.
    using FileChooser = std::function<QString(QWidget* parent, bool svg)>;
    void setFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }

    // Writes the picture to `path` (SVG or PNG); a failure shows a message box. True
    // on success.
    bool exportTo(const QString& path, bool svg);
    void exportPicture(bool svg);
    void print();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void showPicture(ChartPicture picture);
    void joinWorker();

    Source source_;
    ChartWidget* chart_ = nullptr;
    QComboBox* column_ = nullptr;  // histogram only
    QSpinBox* bins_ = nullptr;     // histogram only
    QLabel* status_ = nullptr;
    QTimer* pending_ = nullptr;
    FileChooser chooser_;
    std::thread worker_;
    std::shared_ptr<CancelFlag> cancel_;  // the running worker's flag
    int generation_ = 0;
};

// Data texts longer than this are drawn off the window thread.
constexpr qsizetype kChartLargeText = 200000;

// The histogram of the statistics window: its data box, separator and label-cell box
// texts.
ChartJob histogramJob(const QString& data, const QString& separator, const QString& labelCellsText,
                      int column, int bins);
// The scatter and residual charts of the regression window's input.
ChartJob regressionJob(RegressionInput input);

// A button `caption` on `owner` opening a ChartWindow of `kind` drawing what `source`
// gives; the picture redraws whenever `watched` changes (a recalculation).
QPushButton* addChartButton(QWidget* owner, const QString& caption, const QString& tip,
                            ChartWindow::Kind kind, ChartWindow::Source source,
                            QPlainTextEdit* watched);

}  // namespace hc
