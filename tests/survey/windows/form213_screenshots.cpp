// Grabs the coordinate conversion window into PNG files in the folder given as first
// argument, their names starting with the optional second argument: as it opens, after
// converting its sample to the 3 degree grid, and enlarged.

#include <QApplication>
#include <QDir>
#include <QTest>

#include "calculator/windows.h"
#include "survey/windows/form213.h"
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

    hc::Form213 w;
    w.show();
    if (!QTest::qWaitForWindowExposed(&w)) return 1;
    ok &= hc::test::saveWindowGrab(&w, dir, prefix + QStringLiteral("form213.png"));
    w.convert(hc::GkConversion::GeoToZone3);
    w.convert(hc::GkConversion::GeoToZone15);
    ok &= hc::test::saveWindowGrab(&w, dir, prefix + QStringLiteral("form213_converted.png"));
    w.resize(w.px(15000), w.px(10000));
    ok &= hc::test::saveWindowGrab(&w, dir, prefix + QStringLiteral("form213_large.png"));
    return ok ? 0 : 1;
}
