// Grabs Form203 into PNG files in the folder given as argument: binary and
// hexadecimal, each after a calculation, and a binary result too long to show.

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cstdio>

#include "calculator/windows.h"
#include "tests/ui/window_grab.h"
#include "tools/windows/form203.h"
#include "ui/widget_services.h"

namespace {

bool save(QWidget* w, const QString& dir, const char* name) {
    return hc::test::saveWindowGrab(w, dir, QString::fromLatin1(name));
}

void click(hc::Form203& form, const char* name) {
    QTest::mouseClick(form.findChild<QWidget*>(QString::fromLatin1(name)), Qt::LeftButton);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    hc::setUpApplicationLook();
    hc::ui::RecordingServices services;
    hc::registerCalculatorWindows();
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(dir);

    hc::Form203 form;
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) return 1;
    bool ok = true;
    form.dataBox(0)->setText(QStringLiteral("101101.011"));
    form.dataBox(1)->setText(QStringLiteral("1101"));
    click(form, "Option11");  // 与
    click(form, "Option7");   // 乘
    click(form, "Command23");
    ok &= save(&form, dir, "form203_binary.png");
    click(form, "Option4");
    form.dataBox(0)->setText(QStringLiteral("1F.8"));
    form.dataBox(1)->setText(QStringLiteral("a"));
    click(form, "Option14");  // 异或
    click(form, "Command23");
    ok &= save(&form, dir, "form203_hex_xor.png");
    click(form, "Option1");
    click(form, "Option8");  // 除
    form.dataBox(0)->setText(QStringLiteral("1"));
    form.dataBox(1)->setText(QStringLiteral("11"));
    click(form, "Command23");
    ok &= save(&form, dir, "form203_binary_long.png");
    return ok ? 0 : 1;
}
