#pragma once
// The plan sketch on screen: a widget drawing a PlanSketch (wheel zoom, drag to pan,
// Home or F fits all, click picks a point), the window holding it with its export
// buttons, and the "草图" button that opens it from a point window.

#include <QWidget>
#include <functional>

#include "survey/plan_sketch.h"

class QLabel;
class QPainter;
class QPlainTextEdit;
class QPushButton;

namespace hc {
namespace ui {
class TextBox;
}

// Draws `sketch` through `view` on `painter` (page pixels): lines, points, the names
// that do not overlap a name drawn before them, the marked point, the point
// `highlighted` (index, -1 for none), a north arrow and a scale bar.
void paintSketch(QPainter& painter, const PlanSketch& sketch, const SketchView& view,
                 int highlighted);

class PlanSketchWidget : public QWidget {
    Q_OBJECT
public:
    explicit PlanSketchWidget(QWidget* parent = nullptr);

    // Shows `sketch`, fitted to the widget.
    void setSketch(PlanSketch sketch);
    const PlanSketch& sketch() const { return sketch_; }
    const SketchView& view() const { return view_; }
    void fitAll();
    void setHighlighted(int index);
    int highlighted() const { return highlighted_; }
    // The picture as drawn now, at the screen's pixel ratio.
    QImage image() const;

signals:
    void pointClicked(int index);

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void wheelEvent(QWheelEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    PlanSketch sketch_;
    SketchView view_;
    int highlighted_ = -1;
    bool fitted_ = true;  // the view is the fit-all one: it refits when resized
    QPointF pressAt_, lastDrag_;
    bool dragging_ = false;
};

// A tool window showing the sketch that `source` builds; refresh() rebuilds it.
class SketchWindow : public QWidget {
    Q_OBJECT
public:
    SketchWindow(const QString& title, std::function<PlanSketch()> source,
                 QWidget* parent = nullptr);
    void refresh();
    PlanSketchWidget* sketchWidget() const { return sketch_; }

signals:
    // A point was clicked: its line in the point list, from 1.
    void lineChosen(qint64 line);

private:
    void exportPicture(bool svg);

    std::function<PlanSketch()> source_;
    PlanSketchWidget* sketch_;
    QLabel* status_;
};

// A "草图" button on `owner` opening a SketchWindow of the point list in `input`
// (read in `mode()`, `marked()` naming the point drawn marked). The sketch is rebuilt
// whenever `output` changes (a recalculation); clicking a point selects its line in
// `input`.
QPushButton* addSketchButton(QWidget* owner, ui::TextBox* input, ui::TextBox* output,
                             SketchKind kind, std::function<PointListMode()> mode,
                             std::function<QString()> marked);

// A "草图" button on `owner` opening a SketchWindow of what `source` builds, rebuilt
// whenever `output` changes; clicking a point calls `chosen` with the point's line.
QPushButton* addSketchButton(QWidget* owner, QPlainTextEdit* output,
                             std::function<PlanSketch()> source,
                             std::function<void(qint64)> chosen);

// Selects line `line` (from 1) of `box` and scrolls to it; nothing past its end.
void selectLine(QPlainTextEdit* box, qint64 line);

}  // namespace hc
