// Grabs the calculator's windows into PNG files in the folder given as first
// argument, their names starting with the optional second argument:
// the main window before and after a calculation, at its smallest and as a large
// window, the variable editor, the module menu and the help window.

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

QString prefix;

bool save(QWidget* w, const QString& dir, const char* name) {
    QTest::qWait(50);
    const QString path = QDir(dir).filePath(prefix + QString::fromLatin1(name));
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
    if (argc > 2) prefix = QString::fromLocal8Bit(argv[2]);

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
    const QSize defaultSize = form1.size();
    form1.text3()->setText(QStringLiteral("第一行\r\n第二行\r\n第三行\r\n第四行\r\n第五行"));
    form1.resize(1, 1);
    ok &= save(&form1, dir, "form1_smallest.png");
    form1.resize(1500, 950);
    ok &= save(&form1, dir, "form1_large.png");
    form1.resize(defaultSize);
    ok &= save(hc::ui::showWindow("Form3"), dir, "form3.png");
    ok &= save(hc::ui::showWindow("Form2"), dir, "form2.png");
    ok &= save(hc::ui::showWindow("Form5"), dir, "form5.png");
    return ok ? 0 : 1;
}
