// The sketch on screen: points painted at their page pixels in survey orientation,
// the "草图" button of the area window opening a sketch that follows recalculation,
// and a click on a point selecting its line of the point list.

#include "survey/windows/sketch_window.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <memory>

#include "survey/windows/form214.h"
#include "survey/windows/form215.h"
#include "survey/windows/form216.h"
#include "tests/calculator/qt_app.h"
#include "tests/survey/print_qstring.h"
#include "ui/text_box.h"
#include "ui/widget_services.h"

namespace hc {
namespace {

bool dark(const QImage& image, QPointF at) { return qGray(image.pixel(at.toPoint())) < 100; }

TEST(SketchPainting, PointsLandOnTheirPixelsNorthUpEastRight) {
    test::qtApp();
    PlanSketch sketch;
    sketch.points = {{QStringLiteral("O"), 1000, 2000, 1},
                     {QStringLiteral("N"), 1060, 2000, 2},
                     {QStringLiteral("E"), 1000, 2070, 3},
                     {QStringLiteral("SW"), 950, 1920, 4}};
    SketchView view;
    view.width = 400;
    view.height = 300;
    view.scale = 1.5;
    view.centreNorth = 1000;
    view.centreEast = 2000;
    QImage image(view.width, view.height, QImage::Format_RGB32);
    {
        QPainter painter(&image);
        paintSketch(painter, sketch, view, -1);
    }
    struct Case {
        int index;
        QPointF pixel;
    } cases[] = {{0, {200, 150}}, {1, {200, 60}}, {2, {305, 150}}, {3, {80, 225}}};
    for (const Case& c : cases) {
        EXPECT_TRUE(dark(image, c.pixel)) << c.index;
        // Its mirror through the centre, where a sketch turned upside down would
        // have put it, stays blank.
        if (c.index != 0) {
            EXPECT_FALSE(dark(image, QPointF(400, 300) - c.pixel)) << c.index;
        }
    }
}

class SketchWindowTest : public ::testing::Test {
protected:
    void SetUp() override { test::qtApp(); }
    static QPushButton* button(QWidget& w, const char* name) {
        return w.findChild<QPushButton*>(QString::fromLatin1(name));
    }
    ui::RecordingServices rec;
};

TEST_F(SketchWindowTest, AreaWindowSketchFollowsTheRecalculatedText) {
    Form215 form;
    form.text1()->setText(QStringLiteral(
        "A,3500000,500000\r\nB,3500100,500000\r\nC,3500100,500100\r\nD,3500000,500100\r\n"));
    QTest::mouseClick(button(form, "Command1"), Qt::LeftButton);
    QPushButton* sketchButton = button(form, "CommandSketch");
    ASSERT_NE(sketchButton, nullptr);
    EXPECT_EQ(sketchButton->text(), QStringLiteral("草图"));
    QTest::mouseClick(sketchButton, Qt::LeftButton);
    auto* window = form.findChild<SketchWindow*>();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(window->isVisible());
    PlanSketchWidget* sketch = window->sketchWidget();
    EXPECT_EQ(sketch->sketch().points.size(), 4u);
    ASSERT_EQ(sketch->sketch().lines.size(), 1u);
    EXPECT_TRUE(sketch->sketch().lines[0].closed);

    // A fifth vertex and a recalculation redraw the sketch.
    form.text1()->setText(
        QStringLiteral("A,3500000,500000\r\nB,3500100,500000\r\n"
                       "C,3500100,500100\r\nD,3500000,500100\r\n"
                       "E,3499950,500050\r\n"));
    QTest::mouseClick(button(form, "Command1"), Qt::LeftButton);
    EXPECT_EQ(sketch->sketch().points.size(), 5u);

    // Clicking C selects its line in the point list.
    const SketchPoint& c = sketch->sketch().points[2];
    QTest::mouseClick(sketch, Qt::LeftButton, {}, sketch->view().toPage(c.north, c.east).toPoint());
    EXPECT_EQ(sketch->highlighted(), 2);
    // The calculation laid the list out in columns; line 3 is still C's.
    const QString selected = form.text1()->textCursor().selectedText();
    EXPECT_EQ(selected, form.text1()->document()->findBlockByNumber(2).text());
    EXPECT_TRUE(selected.startsWith(QStringLiteral("C "))) << selected.toStdString();
    window->close();
}

TEST_F(SketchWindowTest, DragPansAndTheFitKeyBringsEveryPointBack) {
    Form214 form;
    QTest::mouseClick(button(form, "CommandSketch"), Qt::LeftButton);
    auto* window = form.findChild<SketchWindow*>();
    ASSERT_NE(window, nullptr);
    PlanSketchWidget* sketch = window->sketchWidget();
    ASSERT_EQ(sketch->sketch().points.size(), 3u);  // the window's sample list
    const SketchView fitted = sketch->view();
    const SketchPoint& p = sketch->sketch().points[0];
    const QPointF before = fitted.toPage(p.north, p.east);

    QTest::mousePress(sketch, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(sketch, QPoint(110, 105));
    QTest::mouseMove(sketch, QPoint(160, 130));
    QTest::mouseRelease(sketch, Qt::LeftButton, {}, QPoint(160, 130));
    const QPointF panned = sketch->view().toPage(p.north, p.east);
    EXPECT_NEAR(panned.x() - before.x(), 60, 1e-6);
    EXPECT_NEAR(panned.y() - before.y(), 30, 1e-6);

    QTest::keyClick(sketch, Qt::Key_F);
    const QPointF back = sketch->view().toPage(p.north, p.east);
    EXPECT_NEAR(back.x(), before.x(), 1e-6);
    EXPECT_NEAR(back.y(), before.y(), 1e-6);
    window->close();
}

TEST_F(SketchWindowTest, AttitudeSketchMarksTheStartPoint) {
    Form216 form;
    form.combo2()->setEditText(QStringLiteral("G5"));
    QTest::mouseClick(button(form, "CommandSketch"), Qt::LeftButton);
    auto* window = form.findChild<SketchWindow*>();
    ASSERT_NE(window, nullptr);
    const PlanSketch& sketch = window->sketchWidget()->sketch();
    ASSERT_EQ(sketch.points.size(), 6u);  // the window's sample list
    ASSERT_GE(sketch.marked, 0);
    EXPECT_EQ(sketch.points[static_cast<size_t>(sketch.marked)].name, u"G5");
    window->close();
}

}  // namespace
}  // namespace hc
