#include "tools/windows/chart_window.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>
#include <new>

#include "tools/regression.h"
#include "tools/statistics_command.h"
#include "ui/services.h"
#include "ui/widget_services.h"
#include "ui/window_kit.h"

namespace hc {
namespace {

const QColor kBarFill(0x7d, 0xa7, 0xd9);
const QColor kBlue(0x1f, 0x5f, 0xa8);
const QColor kGrid(0xe0, 0xe0, 0xe0);
const QColor kCurve(0xc0, 0, 0);

// Text drawn centred on `x` with its baseline at `baseline`.
void centredText(QPainter& p, double x, double baseline, const QString& text) {
    const QFontMetricsF fm(p.font());
    p.drawText(QPointF(x - fm.horizontalAdvance(text) / 2, baseline), text);
}

void paintPanel(QPainter& p, const Chart& c, int width, int height, double top, double left) {
    const ChartFrame f = chartFrame(c, width, height, top, left);
    const QRectF& a = f.plot;
    QFont base = p.font();
    base.setPixelSize(12);
    QFont title = base;
    title.setPixelSize(15);
    title.setBold(true);

    p.setFont(title);
    p.setPen(Qt::black);
    centredText(p, width / 2.0, top + 20, c.title);
    p.setFont(base);
    p.setPen(QColor(0x40, 0x40, 0x40));
    centredText(p, width / 2.0, top + 40, c.subtitle);

    const QFontMetricsF fm(base);
    // Labels that would overlap their neighbour are left out, as in the SVG.
    const std::vector<double> xTicks = f.x.ticks(), yTicks = f.y.ticks();
    std::vector<double> tickAt, extent;
    for (const double t : xTicks) {
        tickAt.push_back(f.toPage(t, f.y.low).x());
        extent.push_back(fm.horizontalAdvance(tickText(t, f.x.step)));
    }
    std::vector<bool> kept = keptTickLabels(tickAt, extent);
    for (size_t i = 0; i < xTicks.size(); ++i) {
        p.setPen(kGrid);
        p.drawLine(QPointF(tickAt[i], a.top()), QPointF(tickAt[i], a.bottom() + 4));
        p.setPen(Qt::black);
        if (kept[i]) centredText(p, tickAt[i], a.bottom() + 18, tickText(xTicks[i], f.x.step));
    }
    tickAt.clear();
    for (const double t : yTicks) tickAt.push_back(f.toPage(f.x.low, t).y());
    kept = keptTickLabels(tickAt, std::vector<double>(tickAt.size(), fm.height()), 2);
    for (size_t i = 0; i < yTicks.size(); ++i) {
        p.setPen(kGrid);
        p.drawLine(QPointF(a.left() - 4, tickAt[i]), QPointF(a.right(), tickAt[i]));
        p.setPen(Qt::black);
        if (!kept[i]) continue;
        const QString label = tickText(yTicks[i], f.y.step);
        p.drawText(QPointF(a.left() - 7 - fm.horizontalAdvance(label), tickAt[i] + 4), label);
    }

    p.save();
    p.setClipRect(a.adjusted(-3, -3, 3, 3));
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(kBlue, 1));
    p.setBrush(kBarFill);
    for (const ChartBar& b : c.bars) {
        if (!(b.height > 0)) continue;
        p.drawRect(QRectF(f.toPage(b.left, b.height), f.toPage(b.right, 0)));
    }
    if (c.zeroLine) {
        p.setPen(QPen(QColor(0x80, 0x80, 0x80), 1, Qt::DashLine));
        const double y = f.toPage(0, 0).y();
        p.drawLine(QPointF(a.left(), y), QPointF(a.right(), y));
    }
    if (!c.curve.empty()) {
        QPolygonF line;
        for (const QPointF& d : c.curve) {
            const QPointF at = f.toPage(d.x(), d.y());
            line << QPointF(std::clamp(at.x(), -1e6, 1e6), std::clamp(at.y(), -1e6, 1e6));
        }
        p.setPen(QPen(kCurve, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(line);
    }
    const std::vector<int> shown = visibleChartPoints(c, f);
    const bool dense = shown.size() > 20000;
    if (dense) p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    for (const int i : shown) {
        const QPointF at = f.toPage(c.points[size_t(i)].x(), c.points[size_t(i)].y());
        if (dense)
            p.fillRect(QRectF(at.x() - 1, at.y() - 1, 2, 2), kBlue);
        else
            p.drawEllipse(at, 3, 3);
    }
    p.restore();

    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    p.drawRect(a);
    centredText(p, a.center().x(), a.bottom() + 38, f.x.label);
    p.save();
    p.translate(14, a.center().y());
    p.rotate(-90);
    centredText(p, 0, 0, f.y.label);
    p.restore();
}

QString chooseWithDialog(QWidget* parent, bool svg) {
    return QFileDialog::getSaveFileName(
        parent, QStringLiteral("保存图表"), QString(),
        svg ? QStringLiteral("SVG 图 (*.svg)") : QStringLiteral("PNG 图 (*.png)"));
}

ChartPicture runJob(const ChartJob& job, const CancelFlag* cancel) {
    try {
        return job.make(cancel);
    } catch (const Cancelled&) {
        return ChartPicture{{}, QStringLiteral("已取消作图。")};
    } catch (const std::bad_alloc&) {
        return ChartPicture{{}, ui::outOfMemoryNoticeText()};
    }
}

}  // namespace

void paintCharts(QPainter& p, const std::vector<Chart>& charts, QSize size) {
    p.save();
    p.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    const int count = std::max<int>(int(charts.size()), 1);
    const int panel = std::max(size.height() / count, 1);
    const double left = stackedPlotLeft(charts, size.width(), panel);
    for (size_t k = 0; k < charts.size(); ++k)
        paintPanel(p, charts[k], size.width(), panel, double(k) * panel, left);
    p.restore();
}

ChartWidget::ChartWidget(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Chart"));
    setMinimumSize(360, 260);
}

void ChartWidget::setPicture(ChartPicture picture) {
    picture_ = std::move(picture);
    update();
}

int ChartWidget::panelHeight() const {
    return std::max(height() / std::max<int>(int(picture_.charts.size()), 1), 1);
}

QImage ChartWidget::image() const {
    const qreal ratio = devicePixelRatioF();
    QImage image(size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    QPainter painter(&image);
    painter.setFont(font());
    paintCharts(painter, picture_.charts, size());
    return image;
}

QString ChartWidget::svg() const { return chartSvg(picture_.charts, width(), panelHeight()); }

void ChartWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintCharts(painter, picture_.charts, size());
}

ChartWindow::ChartWindow(const QString& title, Kind kind, Source source, QWidget* parent)
    : QWidget(parent, Qt::Window),
      source_(std::move(source)),
      chooser_(chooseWithDialog) {
    setObjectName(QStringLiteral("ChartWindow"));
    setWindowTitle(title);
    auto* root = new QVBoxLayout(this);
    if (kind == Kind::Histogram) {
        auto* options = new QHBoxLayout;
        options->addWidget(
            ui::namedLabel(this, QStringLiteral("LabelColumn"), QStringLiteral("数据列")));
        column_ = new QComboBox(this);
        column_->setObjectName(QStringLiteral("ComboColumn"));
        column_->addItems({QStringLiteral("第一列数字"), QStringLiteral("第二列数字"),
                           QStringLiteral("第三列数字"), QStringLiteral("第四列数字"),
                           QStringLiteral("第五列数字")});
        options->addWidget(column_);
        options->addSpacing(16);
        options->addWidget(
            ui::namedLabel(this, QStringLiteral("LabelBins"), QStringLiteral("分组数")));
        bins_ = new QSpinBox(this);
        bins_->setObjectName(QStringLiteral("SpinBins"));
        bins_->setRange(0, kMaxHistogramBins);
        bins_->setSpecialValueText(QStringLiteral("自动"));
        bins_->setToolTip(
            QStringLiteral("自动：按 Freedman–Diaconis 规则分组，四分位距为 0 或组数少于 Sturges "
                           "规则时按 Sturges 规则"));
        ui::fitWidth(bins_, QStringLiteral("00000"));
        options->addWidget(bins_);
        options->addStretch(1);
        root->addLayout(options);
        connect(column_, &QComboBox::currentIndexChanged, this,
                ui::guardedSlot([this] { refresh(); }, objectName()));
        connect(bins_, &QSpinBox::valueChanged, this,
                ui::guardedSlot([this] { scheduleRefresh(); }, objectName()));
    }
    chart_ = new ChartWidget(this);
    // Each panel keeps room for its title, axes and a readable plot.
    if (kind == Kind::Regression) chart_->setMinimumHeight(2 * 220);
    root->addWidget(chart_, 1);
    auto* buttons = new QHBoxLayout;
    auto* png = ui::namedButton(this, QStringLiteral("CommandPng"), QStringLiteral("存为 PNG"));
    auto* svg = ui::namedButton(this, QStringLiteral("CommandSvg"), QStringLiteral("存为 SVG"));
    auto* print = ui::namedButton(this, QStringLiteral("CommandPrint"), QStringLiteral("打印"),
                                  QStringLiteral("打印这张图"));
    status_ = ui::namedLabel(this, QStringLiteral("LabelStatus"), QString());
    status_->setWordWrap(true);
    buttons->addWidget(png);
    buttons->addWidget(svg);
    buttons->addWidget(print);
    buttons->addWidget(status_, 1);
    root->addLayout(buttons);
    resize(700, kind == Kind::Regression ? 720 : 500);

    pending_ = new QTimer(this);
    pending_->setSingleShot(true);
    pending_->setInterval(250);
    connect(pending_, &QTimer::timeout, this, ui::guardedSlot([this] { refresh(); }, objectName()));
    connect(png, &QPushButton::clicked, this,
            ui::guardedSlot([this] { exportPicture(false); }, objectName()));
    connect(svg, &QPushButton::clicked, this,
            ui::guardedSlot([this] { exportPicture(true); }, objectName()));
    connect(print, &QPushButton::clicked, this,
            ui::guardedSlot([this] { this->print(); }, objectName()));
}

ChartWindow::~ChartWindow() {
    if (cancel_) cancel_->store(true);
    joinWorker();
}

void ChartWindow::joinWorker() {
    if (worker_.joinable()) worker_.join();
}

void ChartWindow::cancel() {
    if (cancel_) cancel_->store(true);
}

QString ChartWindow::statusText() const { return status_->text(); }

void ChartWindow::refresh() {
    pending_->stop();
    if (cancel_) cancel_->store(true);
    joinWorker();
    cancel_.reset();
    const int generation = ++generation_;
    ChartJob job = source_(column_ ? column_->currentIndex() + 1 : 1, bins_ ? bins_->value() : 0);
    if (!job.make) return;
    if (!job.large) {
        showPicture(runJob(job, nullptr));
        return;
    }
    auto flag = std::make_shared<CancelFlag>(false);
    cancel_ = flag;
    status_->setText(QStringLiteral("正在读取数据……（按 Esc 取消）"));
    // The worker shares nothing with the window but its copy of the job and the flag;
    // the picture comes back as a queued call, dropped if the window is gone.
    worker_ = std::thread([this, job = std::move(job), flag, generation] {
        ChartPicture picture = runJob(job, flag.get());
        QMetaObject::invokeMethod(
            this,
            [this, picture = std::move(picture), generation]() mutable {
                if (generation != generation_) return;
                joinWorker();
                cancel_.reset();
                showPicture(std::move(picture));
            },
            Qt::QueuedConnection);
    });
}

void ChartWindow::scheduleRefresh() {
    if (isVisible()) pending_->start();
}

void ChartWindow::showPicture(ChartPicture picture) {
    status_->setText(picture.message);
    chart_->setPicture(std::move(picture));
}

bool ChartWindow::exportTo(const QString& path, bool svg) {
    bool ok = false;
    if (svg) {
        QFile file(path);
        const QByteArray bytes = chart_->svg().toUtf8();
        ok = file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
             file.write(bytes) == bytes.size() && file.flush();
    } else {
        ok = chart_->image().save(path, "PNG");
    }
    if (!ok) ui::messageBox(QStringLiteral("无法写入图表文件“%1”。").arg(path));
    return ok;
}

void ChartWindow::exportPicture(bool svg) {
    const QString path = chooser_ ? chooser_(this, svg) : QString();
    if (!path.isEmpty()) exportTo(path, svg);
}

void ChartWindow::print() { ui::services().printPicture(chart_, windowTitle()); }

void ChartWindow::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape && isBusy()) {
        cancel();
        return;
    }
    QWidget::keyPressEvent(e);
}

void ChartWindow::closeEvent(QCloseEvent* e) {
    cancel();
    QWidget::closeEvent(e);
}

ChartJob histogramJob(const QString& data, const QString& separator, const QString& labelCellsText,
                      int column, int bins) {
    ChartJob job;
    job.large = data.size() > kChartLargeText;
    job.make = [data, separator, labels = statLabelCells(labelCellsText), column,
                bins](const CancelFlag* cancel) {
        return statisticsHistogram(statColumnValues(data, separator, labels, column, cancel),
                                   column, bins);
    };
    return job;
}

ChartJob regressionJob(RegressionInput input) {
    ChartJob job;
    job.large = input.data.size() > kChartLargeText;
    input.plot = true;
    input.residuals = false;
    job.make = [input](const CancelFlag* cancel) {
        const RegressionResult r = runRegressionInput(input, cancel);
        if (r.cancelled) throw Cancelled{};
        return regressionPicture(r);
    };
    return job;
}

QPushButton* addChartButton(QWidget* owner, const QString& caption, const QString& tip,
                            ChartWindow::Kind kind, ChartWindow::Source source,
                            QPlainTextEdit* watched) {
    auto* button = ui::namedButton(owner, QStringLiteral("CommandChart"), caption, tip);
    auto* window = new ChartWindow(caption, kind, std::move(source), owner);
    QObject::connect(button, &QPushButton::clicked, owner, ui::guardedSlot([window] {
                         window->show();
                         window->raise();
                         window->refresh();
                     }));
    QObject::connect(watched, &QPlainTextEdit::textChanged, window,
                     ui::guardedSlot([window] { window->scheduleRefresh(); }));
    return button;
}

}  // namespace hc
