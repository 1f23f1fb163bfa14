// Grabs the statistics, angle conversion and decomposition windows after a
// computation into PNG files in the folder given as first argument, their names
// starting with the optional second argument.

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cstdio>

#include "calculator/windows.h"
#include "tests/ui/window_grab.h"
#include "tools/windows/form201.h"
#include "tools/windows/form202.h"
#include "tools/windows/form210.h"
#include "ui/widget_services.h"

namespace {

QString prefix;

bool save(QWidget* w, const QString& dir, const char* name) {
    return hc::test::saveWindowGrab(w, dir, prefix + QString::fromLatin1(name));
}

void click(QWidget* w, const char* name) {
    if (auto* b = w->findChild<QPushButton*>(QString::fromLatin1(name)))
        QTest::mouseClick(b, Qt::LeftButton);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    hc::setUpApplicationLook();
    hc::ui::RecordingServices services;  // no message boxes while grabbing
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(dir);
    if (argc > 2) prefix = QString::fromLocal8Bit(argv[2]);
    bool ok = true;

    hc::Form201 form201;
    form201.show();
    if (!QTest::qWaitForWindowExposed(&form201)) return 1;
    ok &= save(&form201, dir, "form201_load.png");
    click(&form201, "Command1");
    ok &= save(&form201, dir, "form201_after.png");

    hc::Form202 form202;
    form202.show();
    if (!QTest::qWaitForWindowExposed(&form202)) return 1;
    form202.findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QStringLiteral("1"));
    click(&form202, "Command2");
    ok &= save(&form202, dir, "form202_after.png");

    hc::Form210 form210;
    form210.show();
    if (!QTest::qWaitForWindowExposed(&form210)) return 1;
    form210.findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QStringLiteral("-12.75"));
    click(&form210, "Command1");
    ok &= save(&form210, dir, "form210_after.png");
    return ok ? 0 : 1;
}
