// Grabs the distance-and-bearing and plane-attitude windows, with their sample data
// computed, and the plan sketches of every window that draws one (points, parcels, the
// strike symbol, traverse, resection, converted points, datum residuals), into PNG files in the
// folder given as first argument, their names starting with the optional second argument.

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QTest>
#include <cmath>

#include "calculator/windows.h"
#include "survey/windows/form213.h"
#include "survey/windows/form214.h"
#include "survey/windows/form215.h"
#include "survey/windows/form216.h"
#include "survey/windows/form217.h"
#include "survey/windows/form_gps.h"
#include "survey/windows/sketch_window.h"
#include "tests/ui/window_grab.h"
#include "ui/text_box.h"
#include "ui/widget_services.h"

namespace {

// Opens the sketch of `owner` with its 草图 button and grabs it.
bool grabSketch(QWidget* owner, const QString& dir, const QString& name) {
    auto* button = owner->findChild<QPushButton*>(QStringLiteral("CommandSketch"));
    if (!button) return false;
    QTest::mouseClick(button, Qt::LeftButton);
    auto* sketch = owner->findChild<hc::SketchWindow*>();
    if (!sketch || !QTest::qWaitForWindowExposed(sketch)) return false;
    return hc::test::saveWindowGrab(sketch, dir, name);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    hc::setUpApplicationLook();
    hc::ui::RecordingServices services;
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    const QString prefix = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    QDir().mkpath(dir);
    bool ok = true;

    hc::Form214 bearing;
    bearing.show();
    if (!QTest::qWaitForWindowExposed(&bearing)) return 1;
    bearing.combo2()->setEditText(QStringLiteral("A001"));
    QTest::mouseClick(bearing.command1(), Qt::LeftButton);
    ok &= hc::test::saveWindowGrab(&bearing, dir, prefix + QStringLiteral("form214.png"));
    bearing.resize(bearing.px(15000), bearing.px(9000));
    ok &= hc::test::saveWindowGrab(&bearing, dir, prefix + QStringLiteral("form214_large.png"));

    // The sketch of 50 points along a winding traverse, at the window's first size.
    QString traverse;
    for (int i = 0; i < 50; ++i)
        traverse += QStringLiteral("T%1,%2,%3,0\r\n")
                        .arg(i + 1)
                        .arg(3500000 + 40.0 * i + 25 * std::sin(i * 0.7), 0, 'f', 3)
                        .arg(500000 + 120 * std::cos(i * 0.3) + 6.0 * i, 0, 'f', 3);
    bearing.text1()->setText(traverse);
    bearing.combo2()->setEditText(QStringLiteral("T1"));
    QTest::mouseClick(bearing.command1(), Qt::LeftButton);
    QTest::mouseClick(bearing.findChild<QPushButton*>(QStringLiteral("CommandSketch")),
                      Qt::LeftButton);
    if (auto* sketch = bearing.findChild<hc::SketchWindow*>()) {
        if (!QTest::qWaitForWindowExposed(sketch)) return 1;
        ok &= hc::test::saveWindowGrab(sketch, dir, prefix + QStringLiteral("sketch_points.png"));
    } else {
        ok = false;
    }

    hc::Form215 area;
    area.show();
    if (!QTest::qWaitForWindowExposed(&area)) return 1;
    QTest::mouseClick(area.findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
    QTest::mouseClick(area.findChild<QPushButton*>(QStringLiteral("CommandSketch")),
                      Qt::LeftButton);
    if (auto* sketch = area.findChild<hc::SketchWindow*>()) {
        if (!QTest::qWaitForWindowExposed(sketch)) return 1;
        ok &= hc::test::saveWindowGrab(sketch, dir, prefix + QStringLiteral("sketch_parcels.png"));
    } else {
        ok = false;
    }
    ok &= hc::test::saveWindowGrab(&area, dir, prefix + QStringLiteral("form215.png"));

    hc::Form216 attitude;
    attitude.show();
    if (!QTest::qWaitForWindowExposed(&attitude)) return 1;
    attitude.combo2()->setEditText(QStringLiteral("G4"));
    QTest::mouseClick(attitude.command1(), Qt::LeftButton);
    ok &= hc::test::saveWindowGrab(&attitude, dir, prefix + QStringLiteral("form216.png"));
    ok &= grabSketch(&attitude, dir, prefix + QStringLiteral("sketch_attitude.png"));

    hc::Form217 field;
    field.show();
    if (!QTest::qWaitForWindowExposed(&field)) return 1;
    QTest::mouseClick(field.command1(), Qt::LeftButton);
    ok &= grabSketch(&field, dir, prefix + QStringLiteral("sketch_traverse.png"));
    field.kindBox()->setCurrentIndex(5);  // resection
    QTest::mouseClick(field.command2(), Qt::LeftButton);
    QTest::mouseClick(field.command1(), Qt::LeftButton);
    ok &= grabSketch(&field, dir, prefix + QStringLiteral("sketch_resection.png"));

    hc::Form213 coordinates;
    coordinates.show();
    if (!QTest::qWaitForWindowExposed(&coordinates)) return 1;
    coordinates.convert(hc::GkConversion::GeoToZone3);
    ok &= grabSketch(&coordinates, dir, prefix + QStringLiteral("sketch_conversion.png"));

    // A four-parameter fit of twelve grid points, one of them 8 cm off.
    hc::FormGps gps;
    gps.show();
    if (!QTest::qWaitForWindowExposed(&gps)) return 1;
    gps.fromFormBox()->setCurrentIndex(2);
    gps.toFormBox()->setCurrentIndex(2);
    gps.modelBox()->setCurrentIndex(3);
    QString source, target;
    for (int i = 0; i < 12; ++i) {
        const double x = 3500000 + 900.0 * (i % 4) + 37 * i, y = 39500000 + 1100.0 * (i / 4);
        const double wobble = 0.004 * std::sin(i * 1.7) + (i == 6 ? 0.08 : 0);
        source += QStringLiteral("K%1,%2,%3,10\n").arg(i + 1).arg(x, 0, 'f', 3).arg(y, 0, 'f', 3);
        target += QStringLiteral("K%1,%2,%3,10\n")
                      .arg(i + 1)
                      .arg(x + 12.5 + wobble, 0, 'f', 4)
                      .arg(y - 7.25 + 0.003 * std::cos(i * 2.3), 0, 'f', 4);
    }
    gps.sourceBox()->setPlainText(source);
    gps.targetBox()->setPlainText(target);
    QTest::mouseClick(gps.findChild<QPushButton*>(QStringLiteral("CommandFit")), Qt::LeftButton);
    ok &= grabSketch(&gps, dir, prefix + QStringLiteral("sketch_datum.png"));
    return ok ? 0 : 1;
}
