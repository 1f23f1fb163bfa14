#include "survey/windows/sketch_window.h"

#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "survey/point_list.h"
#include "ui/services.h"
#include "ui/text_box.h"
#include "ui/widget_services.h"
#include "ui/window_kit.h"

namespace hc {
namespace {

// Labels are tried for at most this many points, so that a dense sketch stays quick.
constexpr int kMaxLabelTries = 4000;

void paintNorthArrow(QPainter& p, QPointF top) {
    const QPolygonF arrow{top, top + QPointF(-7, 26), top + QPointF(0, 20), top + QPointF(7, 26)};
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawPolygon(arrow);
    p.setPen(Qt::black);
    const QFontMetricsF fm(p.font());
    const QString north = QStringLiteral("北");
    p.drawText(QPointF(top.x() - fm.horizontalAdvance(north) / 2, top.y() + 28 + fm.ascent()),
               north);
}

void paintScaleBar(QPainter& p, const SketchView& view) {
    const double metres = scaleBarLength(view.scale, view.width / 4.0);
    if (metres <= 0) return;
    const double length = metres * view.scale;
    const QPointF left(20, view.height - 20.0);
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF{left + QPointF(0, -6), left, left + QPointF(length, 0),
                             left + QPointF(length, -6)});
    const QString label = scaleBarLabel(metres);
    const QFontMetricsF fm(p.font());
    p.drawText(
        QPointF(left.x() + (length - fm.horizontalAdvance(label)) / 2, left.y() - 8 - fm.descent()),
        label);
}

// A line from `from` to `to` with a small head at `to`.
void paintArrow(QPainter& p, QPointF from, QPointF to) {
    p.drawLine(from, to);
    const QPointF d = to - from;
    const double length = std::hypot(d.x(), d.y());
    if (length < 3) return;
    const QPointF u = d / length, n(-u.y(), u.x());
    const double head = std::min(6.0, length / 2);
    p.drawLine(to, to - u * head + n * head / 2);
    p.drawLine(to, to - u * head - n * head / 2);
}

// The scale of the misfit vectors above the distance scale bar.
void paintVectorScale(QPainter& p, const PlanSketch& sketch, const SketchView& view) {
    const double metres = vectorScaleLength(sketch, view, 80);
    if (metres <= 0) return;
    const double length = metres * sketch.exaggeration * view.scale;
    const QPointF left(20, kSketchVectorScaleY);
    p.drawLine(left, left + QPointF(length, 0));
    const QFontMetricsF fm(p.font());
    p.drawText(QPointF(left.x() + length + 6, left.y() + fm.ascent() / 2 - 1),
               vectorScaleLabel(metres, sketch.exaggeration));
}

}  // namespace

void paintSketch(QPainter& p, const PlanSketch& sketch, const SketchView& view, int highlighted) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.fillRect(QRectF(0, 0, view.width, view.height), Qt::white);
    // A one-pixel cosmetic pen takes the rasterizer's line path: a long line of many
    // vertices then costs little more than its pixels.
    QPen linePen(QColor(0x1f, 0x5f, 0xa8), 1);
    linePen.setCosmetic(true);
    p.setPen(linePen);
    p.setBrush(Qt::NoBrush);
    for (const SketchLine& line : sketch.lines) {
        const std::vector<QPointF> page = pagePolyline(sketch, line, view);
        const QPolygonF poly(QList<QPointF>(page.begin(), page.end()));
        if (line.closed)
            p.drawPolygon(poly);
        else
            p.drawPolyline(poly);
    }
    const std::vector<int> shown = visiblePoints(sketch, view);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    const bool dense = shown.size() > 20000;
    if (dense) p.setRenderHint(QPainter::Antialiasing, false);
    for (const int i : shown) {
        const SketchPoint& pt = sketch.points[static_cast<size_t>(i)];
        const QPointF at = view.toPage(pt.north, pt.east);
        if (dense)
            p.fillRect(QRectF(at.x() - 1, at.y() - 1, 2, 2), Qt::black);
        else
            p.drawEllipse(at, 2.5, 2.5);
    }
    p.setRenderHint(QPainter::Antialiasing, true);
    // Names go up and right of their points, or else down right, up left or down left:
    // the first place that covers neither a name drawn before nor another point and
    // stays on the page. A name with no such place is left out, so that the sketch stays
    // readable when points crowd.
    const QFontMetricsF fm(p.font());
    std::vector<QRectF> placed;
    // Points on a grid of 4-pixel cells, each marking the cells its dot touches.
    constexpr int kCell = 4;
    const int cols = view.width / kCell + 1, rows = view.height / kCell + 1;
    std::vector<bool> dots(static_cast<size_t>(cols) * static_cast<size_t>(rows), false);
    const auto cellRange = [&](double from, double to, int count) {
        return std::pair{std::clamp(static_cast<int>(std::floor(from / kCell)), 0, count - 1),
                         std::clamp(static_cast<int>(std::floor(to / kCell)), 0, count - 1)};
    };
    for (const int i : shown) {
        const SketchPoint& pt = sketch.points[static_cast<size_t>(i)];
        const QPointF at = view.toPage(pt.north, pt.east);
        const auto [c0, c1] = cellRange(at.x() - 2.5, at.x() + 2.5, cols);
        const auto [r0, r1] = cellRange(at.y() - 2.5, at.y() + 2.5, rows);
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c)
                dots[static_cast<size_t>(r) * static_cast<size_t>(cols) + static_cast<size_t>(c)] =
                    true;
    }
    const auto free = [&](const QRectF& box) {
        if (box.left() < 0 || box.top() < 0 || box.right() > view.width ||
            box.bottom() > view.height)
            return false;
        for (const QRectF& r : placed)
            if (r.intersects(box)) return false;
        const auto [c0, c1] = cellRange(box.left() + 1, box.right() - 1, cols);
        const auto [r0, r1] = cellRange(box.top() + 1, box.bottom() - 1, rows);
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c)
                if (dots[static_cast<size_t>(r) * static_cast<size_t>(cols) +
                         static_cast<size_t>(c)])
                    return false;
        return true;
    };
    p.setPen(Qt::black);
    const auto label = [&](int i, bool always) {
        const SketchPoint& pt = sketch.points[static_cast<size_t>(i)];
        if (pt.name.isEmpty()) return;
        const QPointF at = view.toPage(pt.north, pt.east);
        const double w = fm.horizontalAdvance(pt.name), h = fm.height();
        const QRectF places[] = {
            QRectF(at.x() + 5, at.y() - 5 - h, w, h), QRectF(at.x() + 5, at.y() + 4, w, h),
            QRectF(at.x() - 5 - w, at.y() - 5 - h, w, h), QRectF(at.x() - 5 - w, at.y() + 4, w, h)};
        const QRectF* box = nullptr;
        for (const QRectF& place : places)
            if (free(place)) {
                box = &place;
                break;
            }
        if (!box && !always) return;
        if (!box) box = &places[0];
        placed.push_back(*box);
        p.drawText(QPointF(box->left(), box->top() + fm.ascent()), pt.name);
    };
    if (highlighted >= 0 && highlighted < static_cast<int>(sketch.points.size()))
        label(highlighted, true);
    if (sketch.marked >= 0) label(sketch.marked, true);
    int tries = 0;
    for (const int i : shown) {
        if (i == highlighted || i == sketch.marked) continue;
        if (++tries > kMaxLabelTries) break;
        label(i, false);
    }
    p.setPen(QPen(QColor(0, 0x60, 0), 1.5));
    p.setBrush(Qt::NoBrush);
    for (const int i : sketch.known) {
        const SketchPoint& pt = sketch.points[static_cast<size_t>(i)];
        const QPointF at = view.toPage(pt.north, pt.east);
        p.drawPolygon(QPolygonF{at + QPointF(0, -7), at + QPointF(-6, 4), at + QPointF(6, 4)});
    }
    if (!sketch.vectors.empty()) {
        p.setPen(QPen(QColor(0xc0, 0, 0), 1.5));
        for (const SketchVector& v : sketch.vectors)
            paintArrow(p,
                       view.toPage(sketch.points[static_cast<size_t>(v.point)].north,
                                   sketch.points[static_cast<size_t>(v.point)].east),
                       vectorEnd(sketch, view, v));
        paintVectorScale(p, sketch, view);
    }
    if (sketch.strike) {
        const StrikeGeometry g = strikeGeometry(*sketch.strike, view);
        const QColor brown(0x7a, 0x3e, 0);
        p.setPen(QPen(brown, 2.5, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(g.strikeFrom, g.strikeTo);
        p.drawLine(g.tickFrom, g.tickTo);
        const QRectF box(g.labelAt.x() - fm.horizontalAdvance(g.label) / 2,
                         g.labelAt.y() - fm.height() / 2, fm.horizontalAdvance(g.label),
                         fm.height());
        p.fillRect(box, QColor(255, 255, 255, 200));
        p.setPen(brown);
        p.drawText(QPointF(box.left(), box.top() + fm.ascent()), g.label);
    }
    if (sketch.marked >= 0) {
        const SketchPoint& pt = sketch.points[static_cast<size_t>(sketch.marked)];
        p.setPen(QPen(QColor(0xc0, 0, 0), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(view.toPage(pt.north, pt.east) - QPointF(5, 5), QSizeF(10, 10)));
    }
    if (highlighted >= 0 && highlighted < static_cast<int>(sketch.points.size())) {
        const SketchPoint& pt = sketch.points[static_cast<size_t>(highlighted)];
        p.setPen(QPen(QColor(0xe0, 0x80, 0), 2.5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(view.toPage(pt.north, pt.east), 7, 7);
    }
    paintNorthArrow(p, QPointF(view.width - 30.0, 12));
    paintScaleBar(p, view);
    p.restore();
}

PlanSketchWidget::PlanSketchWidget(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Sketch"));
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(320, 240);
    setToolTip(QStringLiteral("滚轮缩放，拖动平移，Home 或 F 键显示全图，单击点显示其行"));
}

void PlanSketchWidget::setSketch(PlanSketch sketch) {
    sketch_ = std::move(sketch);
    highlighted_ = -1;
    fitAll();
}

void PlanSketchWidget::fitAll() {
    view_ = hc::fitAll(sketch_, width(), height());
    fitted_ = true;
    update();
}

void PlanSketchWidget::setHighlighted(int index) {
    highlighted_ = index;
    update();
}

QImage PlanSketchWidget::image() const {
    const qreal ratio = devicePixelRatioF();
    QImage image(QSize(view_.width, view_.height) * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    QPainter painter(&image);
    painter.setFont(font());
    paintSketch(painter, sketch_, view_, highlighted_);
    return image;
}

void PlanSketchWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintSketch(painter, sketch_, view_, highlighted_);
}

void PlanSketchWidget::resizeEvent(QResizeEvent*) {
    // A view the user has not moved keeps showing everything; a moved one keeps its
    // centre and scale.
    if (fitted_) {
        fitAll();
        return;
    }
    view_.width = std::max(width(), 1);
    view_.height = std::max(height(), 1);
}

void PlanSketchWidget::wheelEvent(QWheelEvent* e) {
    const double steps = e->angleDelta().y() / 120.0;
    if (steps == 0) return;
    view_.zoomAt(e->position(), std::pow(1.25, steps));
    fitted_ = false;
    update();
    e->accept();
}

void PlanSketchWidget::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    pressAt_ = lastDrag_ = e->position();
    dragging_ = false;
}

void PlanSketchWidget::mouseMoveEvent(QMouseEvent* e) {
    if (!(e->buttons() & Qt::LeftButton)) return;
    if (!dragging_ && (e->position() - pressAt_).manhattanLength() < 4) return;
    dragging_ = true;
    view_.pan(e->position() - lastDrag_);
    fitted_ = false;
    lastDrag_ = e->position();
    update();
}

void PlanSketchWidget::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    if (!dragging_) {
        const int index = pointAt(sketch_, view_, e->position());
        if (index >= 0) {
            setHighlighted(index);
            emit pointClicked(index);
        }
    }
    dragging_ = false;
}

void PlanSketchWidget::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Home || e->key() == Qt::Key_F) {
        fitAll();
        return;
    }
    QWidget::keyPressEvent(e);
}

SketchWindow::SketchWindow(const QString& title, std::function<PlanSketch()> source,
                           QWidget* parent)
    : QWidget(parent, Qt::Window), source_(std::move(source)) {
    setObjectName(QStringLiteral("SketchWindow"));
    setWindowTitle(title);
    auto* root = new QVBoxLayout(this);
    sketch_ = new PlanSketchWidget(this);
    root->addWidget(sketch_, 1);
    auto* buttons = new QHBoxLayout;
    auto* fit = ui::namedButton(this, QStringLiteral("CommandFit"), QStringLiteral("全图"),
                                QStringLiteral("显示所有的点（Home 或 F 键）"));
    auto* png = ui::namedButton(this, QStringLiteral("CommandPng"), QStringLiteral("存为 PNG"));
    auto* svg = ui::namedButton(this, QStringLiteral("CommandSvg"), QStringLiteral("存为 SVG"));
    auto* print = ui::namedButton(this, QStringLiteral("CommandPrint"), QStringLiteral("打印"),
                                  QStringLiteral("打印草图，安装打印机后才可执行打印功能"));
    status_ = ui::namedLabel(this, QStringLiteral("LabelPoint"), QString());
    buttons->addWidget(fit);
    buttons->addWidget(png);
    buttons->addWidget(svg);
    buttons->addWidget(print);
    buttons->addWidget(status_, 1);
    root->addLayout(buttons);
    resize(720, 560);

    connect(fit, &QPushButton::clicked, this, ui::guardedSlot([this] { sketch_->fitAll(); }));
    connect(png, &QPushButton::clicked, this, ui::guardedSlot([this] { exportPicture(false); }));
    connect(svg, &QPushButton::clicked, this, ui::guardedSlot([this] { exportPicture(true); }));
    connect(print, &QPushButton::clicked, this,
            ui::guardedSlot([this] { ui::services().printPicture(sketch_, windowTitle()); }));
    connect(sketch_, &PlanSketchWidget::pointClicked, this, [this](int index) {
        const SketchPoint& p = sketch_->sketch().points[static_cast<size_t>(index)];
        status_->setText(
            QStringLiteral("点 %1　X=%2　Y=%3　（第 %4 行）")
                .arg(p.name, QString::number(p.north, 'f', 3), QString::number(p.east, 'f', 3))
                .arg(p.line));
        emit lineChosen(p.line);
    });
}

void SketchWindow::refresh() {
    sketch_->setSketch(source_());
    status_->setText(QStringLiteral("共 %1 个点").arg(sketch_->sketch().points.size()));
}

void SketchWindow::exportPicture(bool svg) {
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("保存草图"), QString(),
        svg ? QStringLiteral("SVG 图 (*.svg)") : QStringLiteral("PNG 图 (*.png)"));
    if (path.isEmpty()) return;
    bool ok = false;
    if (svg) {
        QFile file(path);
        const QByteArray bytes = sketchSvg(sketch_->sketch(), sketch_->view()).toUtf8();
        ok = file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
             file.write(bytes) == bytes.size() && file.flush();
    } else {
        ok = sketch_->image().save(path, "PNG");
    }
    if (!ok)
        ui::showNotices({Notice{QStringLiteral("无法写入草图文件“%1”。").arg(path),
                                NoticeButtons::Ok, QString()}});
}

QPushButton* addSketchButton(QWidget* owner, QPlainTextEdit* output,
                             std::function<PlanSketch()> source,
                             std::function<void(qint64)> chosen) {
    auto* button = ui::namedButton(owner, QStringLiteral("CommandSketch"), QStringLiteral("草图"),
                                   QStringLiteral("画出点的平面草图：北向上，东向右"));
    auto* window = new SketchWindow(QStringLiteral("草图"), std::move(source), owner);
    QObject::connect(button, &QPushButton::clicked, owner, ui::guardedSlot([window] {
                         window->refresh();
                         window->show();
                         window->raise();
                     }));
    QObject::connect(output, &QPlainTextEdit::textChanged, window, ui::guardedSlot([window] {
                         if (window->isVisible()) window->refresh();
                     }));
    QObject::connect(window, &SketchWindow::lineChosen, owner, std::move(chosen));
    return button;
}

QPushButton* addSketchButton(QWidget* owner, ui::TextBox* input, ui::TextBox* output,
                             SketchKind kind, std::function<PointListMode()> mode,
                             std::function<QString()> marked) {
    return addSketchButton(
        owner, output,
        [input, kind, mode, marked] {
            const PointList list = ZelZhengLiDianBiao(input->text(), mode()).points;
            return sketchOfRows(
                [&list](const PointRowVisitor& visit) {
                    for (const PointRow& row : list.rows) visit(row);
                },
                kind, marked());
        },
        [input](qint64 line) { selectLine(input, line); });
}

void selectLine(QPlainTextEdit* box, qint64 line) {
    if (line < 1 || line > box->blockCount()) return;
    const QTextBlock block = box->document()->findBlockByNumber(static_cast<int>(line - 1));
    if (!block.isValid()) return;
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    box->setTextCursor(cursor);
    box->centerCursor();
}

}  // namespace hc
