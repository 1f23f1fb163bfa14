// Grabs the distance-and-bearing and plane-attitude windows, with their sample data
// computed, into PNG files in the folder given as first argument, their names
// starting with the optional second argument.

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QTest>

#include "calculator/windows.h"
#include "survey/windows/form214.h"
#include "survey/windows/form216.h"
#include "tests/ui/window_grab.h"
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

    hc::Form216 attitude;
    attitude.show();
    if (!QTest::qWaitForWindowExposed(&attitude)) return 1;
    attitude.combo2()->setEditText(QStringLiteral("G4"));
    QTest::mouseClick(attitude.command1(), Qt::LeftButton);
    ok &= hc::test::saveWindowGrab(&attitude, dir, prefix + QStringLiteral("form216.png"));
    return ok ? 0 : 1;
}
