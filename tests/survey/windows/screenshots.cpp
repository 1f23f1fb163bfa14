// Grabs the distance-and-bearing and plane-attitude windows, with their sample data
// computed, and their plan sketches, into PNG files in the folder given as first argument, their
// names starting with the optional second argument.

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QTest>
#include <cmath>

#include "calculator/windows.h"
#include "survey/windows/form214.h"
#include "survey/windows/form215.h"
#include "survey/windows/form216.h"
#include "survey/windows/sketch_window.h"
#include "tests/ui/window_grab.h"
#include "ui/text_box.h"
#include "ui/widget_services.h"

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
    return ok ? 0 : 1;
}
