// Grabs the calculator's windows into PNG files in the folder given as argument:
// the main window before and after a calculation, the variable editor, the module
// menu and the help window.

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QTest>
#include <cstdio>

#include "calculator/form1.h"
#include "calculator/windows.h"
#include "ui/widget_services.h"

namespace {

bool save(QWidget* w, const QString& dir, const char* name) {
    QTest::qWait(50);
    const QString path = QDir(dir).filePath(QString::fromLatin1(name));
    const bool ok = w && w->grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    hc::setUpApplicationLook();
    hc::ui::RecordingServices services;  // no message boxes or browsers while grabbing
    hc::registerCalculatorWindows();
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(dir);

    hc::Form1 form1;
    form1.show();
    if (!QTest::qWaitForWindowExposed(&form1)) return 1;
    bool ok = true;
    QTest::mouseClick(form1.findChild<QPushButton*>("dcButton11"), Qt::LeftButton);
    QTest::mouseClick(form1.findChild<QPushButton*>("dcButton11"), Qt::LeftButton);
    ok &= save(&form1, dir, "form1_before.png");
    QTest::mouseClick(form1.findChild<QPushButton*>("dcButton10"), Qt::LeftButton);
    ok &= save(&form1, dir, "form1_after.png");
    form1.text1()->setText(QStringLiteral("1000000+ln(2)"));
    QTest::mouseClick(form1.findChild<QPushButton*>("dcButton10"), Qt::LeftButton);
    ok &= save(&form1, dir, "form1_approximate.png");
    form1.combo1()->setCurrentIndex(28);
    form1.text1()->setText(QStringLiteral("-1/3"));
    QTest::mouseClick(form1.findChild<QPushButton*>("dcButton10"), Qt::LeftButton);
    ok &= save(&form1, dir, "form1_28_places.png");
    ok &= save(hc::ui::showWindow("Form3"), dir, "form3.png");
    ok &= save(hc::ui::showWindow("Form2"), dir, "form2.png");
    ok &= save(hc::ui::showWindow("Form5"), dir, "form5.png");
    return ok ? 0 : 1;
}
