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
#include <cmath>
#include <memory>

#include "survey/windows/form213.h"
#include "survey/windows/form214.h"
#include "survey/windows/form215.h"
#include "survey/windows/form216.h"
#include "survey/windows/form217.h"
#include "survey/windows/form_gps.h"
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
    ASSERT_TRUE(sketch.strike.has_value());
    // From G4 the plane of G4, G5 and G6 (z = 3 + x + y) dips to the south-west: its
    // symbol stands at their middle.
    form.combo2()->setEditText(QStringLiteral("G4"));
    window->refresh();
    ASSERT_TRUE(sketch.strike.has_value());
    EXPECT_NEAR(sketch.strike->north, 2.0 / 3, 1e-9);
    EXPECT_NEAR(sketch.strike->east, 2.0 / 3, 1e-9);
    EXPECT_NEAR(sketch.strike->dipDirection, 225, 1e-3);
    window->close();
}

TEST_F(SketchWindowTest, TraverseWindowSketchFollowsTheKindOfCalculation) {
    Form217 form;
    QTest::mouseClick(button(form, "Command1"), Qt::LeftButton);
    QTest::mouseClick(button(form, "CommandSketch"), Qt::LeftButton);
    auto* window = form.findChild<SketchWindow*>();
    ASSERT_NE(window, nullptr);
    PlanSketchWidget* sketch = window->sketchWidget();
    // The connecting traverse of the sample: A, B, 1, 2, 3, C, D on one line.
    EXPECT_EQ(sketch->sketch().points.size(), 7u);
    EXPECT_EQ(sketch->sketch().known.size(), 4u);
    ASSERT_EQ(sketch->sketch().lines.size(), 1u);

    // A resection: three known points, the new point joined to each.
    form.kindBox()->setCurrentIndex(5);
    QTest::mouseClick(button(form, "Command2"), Qt::LeftButton);
    QTest::mouseClick(button(form, "Command1"), Qt::LeftButton);
    EXPECT_EQ(sketch->sketch().points.size(), 4u);
    EXPECT_EQ(sketch->sketch().known.size(), 3u);
    EXPECT_EQ(sketch->sketch().lines.size(), 3u);

    // Clicking the new point selects its line of the data.
    const SketchPoint& p = sketch->sketch().points[3];
    QTest::mouseClick(sketch, Qt::LeftButton, {}, sketch->view().toPage(p.north, p.east).toPoint());
    EXPECT_TRUE(form.text1()->textCursor().selectedText().startsWith(QStringLiteral("P,")));
    window->close();
}

TEST_F(SketchWindowTest, DatumWindowSketchShowsTheResidualsOfTheFit) {
    FormGps form;
    form.fromFormBox()->setCurrentIndex(2);  // 3度带
    form.toFormBox()->setCurrentIndex(2);
    form.modelBox()->setCurrentIndex(3);  // four parameters
    const QString points = QStringLiteral(
        "A1,4419056.3787,39447602.9008,89.2141\n"
        "A2,4392972.4871,39493187.3996,80.6466\n"
        "A3,4439499.7231,39436371.3436,157.3881\n"
        "A4,4384115.3962,39421590.1122,67.4376\n");
    form.sourceBox()->setPlainText(points);
    form.targetBox()->setPlainText(
        QString(points).replace(QStringLiteral("4392972.4871"), QStringLiteral("4392972.5871")));
    QTest::mouseClick(button(form, "CommandFit"), Qt::LeftButton);
    QTest::mouseClick(button(form, "CommandSketch"), Qt::LeftButton);
    auto* window = form.findChild<SketchWindow*>();
    ASSERT_NE(window, nullptr);
    const PlanSketch& sketch = window->sketchWidget()->sketch();
    ASSERT_EQ(sketch.points.size(), 4u);
    ASSERT_EQ(sketch.vectors.size(), 4u);
    EXPECT_GT(sketch.exaggeration, 1);
    // Each vector is its point's row of the residual table in the output box.
    for (const SketchVector& v : sketch.vectors) {
        const QString name = sketch.points[static_cast<size_t>(v.point)].name;
        bool found = false;
        for (const QString& line : form.outputBox()->toPlainText().split(u'\n')) {
            const QStringList f = line.split(u' ', Qt::SkipEmptyParts);
            if (f.size() < 3 || f[0] != name) continue;
            found = true;
            EXPECT_NEAR(v.north, f[1].toDouble(), 0.00005) << name.toStdString();
            EXPECT_NEAR(v.east, f[2].toDouble(), 0.00005) << name.toStdString();
        }
        EXPECT_TRUE(found) << name.toStdString();
    }
    window->close();
}

TEST_F(SketchWindowTest, ConversionWindowSketchesTheGridSide) {
    Form213 form;
    form.text1()->setText(QStringLiteral("A1,31.5,117.3,10\r\nA2,31.6,117.4,10\r\n"));
    // Latitude and longitude in, grid out: the sketch shows the output rows.
    form.convert(GkConversion::GeoToZone3);
    QTest::mouseClick(button(form, "CommandSketch"), Qt::LeftButton);
    auto* window = form.findChild<SketchWindow*>();
    ASSERT_NE(window, nullptr);
    const PlanSketch& fromOutput = window->sketchWidget()->sketch();
    ASSERT_EQ(fromOutput.points.size(), 2u) << form.text2()->text().toStdString();
    EXPECT_GT(fromOutput.points[1].north, fromOutput.points[0].north);
    EXPECT_GT(fromOutput.points[1].east, fromOutput.points[0].east);
    EXPECT_GT(fromOutput.points[0].east, 39000000);  // 3 degree zone 39
    const QString row = form.text2()
                            ->document()
                            ->findBlockByNumber(static_cast<int>(fromOutput.points[0].line - 1))
                            .text();
    EXPECT_TRUE(row.startsWith(QStringLiteral("A1"))) << row.toStdString();

    // Grid in, latitude and longitude out: the input rows.
    form.text1()->setText(form.text2()->text());
    form.convert(GkConversion::Zone3ToGeo);
    const PlanSketch& fromInput = window->sketchWidget()->sketch();
    ASSERT_EQ(fromInput.points.size(), 2u);
    EXPECT_NEAR(fromInput.points[0].north, fromOutput.points[0].north, 0.01);
    EXPECT_NEAR(fromInput.points[0].east, fromOutput.points[0].east, 0.01);
    window->close();
}

TEST_F(SketchWindowTest, PrintButtonPrintsThePictureAlone) {
    Form214 form;
    QTest::mouseClick(button(form, "CommandSketch"), Qt::LeftButton);
    auto* window = form.findChild<SketchWindow*>();
    ASSERT_NE(window, nullptr);
    QPushButton* print = window->findChild<QPushButton*>(QStringLiteral("CommandPrint"));
    ASSERT_NE(print, nullptr);
    QTest::mouseClick(print, Qt::LeftButton);
    ASSERT_EQ(rec.printedPictures.size(), 1);
    EXPECT_EQ(rec.printedPictures[0], window->sketchWidget());
    window->close();
}

}  // namespace
}  // namespace hc
