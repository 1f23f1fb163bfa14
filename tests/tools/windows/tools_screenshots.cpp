// Grabs the statistics, angle conversion and decomposition windows after a
// computation, and the histogram and regression chart windows, into PNG files in the folder given
// as first argument, their names starting with the optional second argument.

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cstdio>

#include "calculator/windows.h"
#include "tests/ui/window_grab.h"
#include "tools/windows/chart_window.h"
#include "tools/windows/form201.h"
#include "tools/windows/form202.h"
#include "tools/windows/form209.h"
#include "tools/windows/form210.h"
#include "ui/text_box.h"
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

    // Charts of a few hundred rows of pseudo-random data, the same on every run.
    QString rows, pairs;
    unsigned seed = 12345;
    const auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return double((seed >> 16) & 0x7fff) / 32768.0;
    };
    for (int i = 0; i < 400; ++i) {
        const double bell = (next() + next() + next() + next() - 2) * 20 + 50;
        rows +=
            QStringLiteral("p%1*%2*%3\r\n").arg(i).arg(bell, 0, 'f', 3).arg(next() * 9, 0, 'f', 2);
    }
    for (int i = 0; i < 60; ++i) {
        const double x = i * 0.5;
        pairs += QStringLiteral("%1*%2\r\n")
                     .arg(0.3 * x * x - 2 * x + 5 + (next() - 0.5) * 8, 0, 'f', 3)
                     .arg(x);
    }
    form201.dataBox()->setText(rows);
    click(&form201, "Command1");
    click(&form201, "CommandChart");
    if (auto* chart = form201.findChild<hc::ChartWindow*>()) {
        if (!QTest::qWaitForWindowExposed(chart)) return 1;
        ok &= save(chart, dir, "chart_histogram.png");
    }
    hc::Form209 form209;
    form209.show();
    if (!QTest::qWaitForWindowExposed(&form209)) return 1;
    form209.dataBox()->setText(pairs);
    form209.findChild<QComboBox*>(QStringLiteral("Combo3"))->setCurrentIndex(1);
    click(&form209, "Command1");
    click(&form209, "CommandChart");
    if (auto* chart = form209.findChild<hc::ChartWindow*>()) {
        if (!QTest::qWaitForWindowExposed(chart)) return 1;
        ok &= save(chart, dir, "chart_regression.png");
        chart->resize(chart->minimumSizeHint());
        QTest::qWait(50);
        ok &= save(chart, dir, "chart_regression_smallest.png");
    }
    return ok ? 0 : 1;
}
