// Resident memory of the calculator with its windows open, as a user opens them:
// the main window, then every tool window through its button on the main window or
// the module menu (the menu's windows as the tool rows list them), each used once with its sample
// data; last the menu's other windows (help, placeholders). After each step it prints the resident
// set and its parts (/proc/self/status): anonymous memory, mapped files (libraries, fonts) and
// shared memory (on X11 the windows' pixel buffers, shared with the X server).
// Nothing is grabbed, so no screenshot pixmaps count.
// Usage: hc_window_memory   (run by bench/window_memory.sh)

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <cstdio>

#include "calculator/form1.h"
#include "calculator/qt_translations.h"
#include "calculator/windows.h"
#include "tests/calculator/sample_use.h"
#include "ui/tool_registry.h"
#include "ui/widget_services.h"

namespace {

// "VmRSS RssAnon RssFile RssShmem" in kB, from /proc/self/status.
QByteArray residentParts() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return "unknown";
    const QList<QByteArray> lines = status.readAll().split('\n');
    QByteArray parts;
    for (const char* key : {"VmRSS:", "RssAnon:", "RssFile:", "RssShmem:"}) {
        for (const QByteArray& line : lines)
            if (line.startsWith(key)) parts += ' ' + line.mid(qstrlen(key)).simplified();
    }
    return parts;
}

void report(const char* step) {
    QTest::qWait(100);
    std::printf("%-34s%s\n", step, residentParts().constData());
    std::fflush(stdout);
}

bool openAndUse(QPushButton* button, const char* window) {
    if (!button) return false;
    button->click();
    QWidget* w = hc::ui::openWindow(QString::fromLatin1(window));
    if (!w || !QTest::qWaitForWindowExposed(w)) {
        std::printf("FAILED: %s did not open\n", window);
        return false;
    }
    hc::test::useOnce(w);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    hc::setUpApplicationLook();
    hc::installQtTranslations(app);
    hc::ui::RecordingServices services;  // no message boxes or browsers
    hc::registerCalculatorWindows();

    std::printf("%-34s VmRSS RssAnon RssFile RssShmem\n", "step");
    hc::Form1 form1;
    form1.show();
    if (!QTest::qWaitForWindowExposed(&form1)) return 1;
    QTest::mouseClick(form1.findChild<QPushButton*>("dcButton10"), Qt::LeftButton);
    report("main window");

    bool ok = true;
    const std::pair<const char*, const char*> mainButtons[] = {
        {"dcButton1", "Form201"}, {"dcButton2", "Form202"}, {"dcButton3", "Form203"},
        {"dcButton5", "Form213"}, {"dcButton6", "Form214"}, {"dcButton7", "Form216"}};
    for (const auto& [button, window] : mainButtons)
        ok &= openAndUse(form1.findChild<QPushButton*>(button), window);
    QWidget* menu = hc::ui::showWindow(QStringLiteral("Form2"));
    if (!menu || !QTest::qWaitForWindowExposed(menu)) return 1;
    // The menu's other tool windows, as the tool rows list them.
    for (const hc::ui::ToolWindow& row : hc::ui::tools()) {
        if (!row.factory || row.menuIndex < 0 || row.helpSection.isEmpty()) continue;
        if (hc::ui::openWindow(row.id.name())) continue;
        ok &= openAndUse(
            menu->findChild<QPushButton*>(QStringLiteral("Command1(%1)").arg(row.menuIndex)),
            qPrintable(row.id.name()));
    }
    if (QWidget* coordinates = hc::ui::openWindow(QStringLiteral("Form213")))
        if (auto* gps = coordinates->findChild<QPushButton*>(QStringLiteral("CommandGps")))
            gps->click();
    report("+ every tool window and the menu");

    for (const auto& [index, window] : {std::pair{30, "Form6"}, {65, "Form5"}}) {
        ok &= openAndUse(menu->findChild<QPushButton*>(QStringLiteral("Command1(%1)").arg(index)),
                         window);
    }
    report("+ help and placeholder windows");

    // The plan sketch of every window that draws one.
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* sketch = top->findChild<QPushButton*>(QStringLiteral("CommandSketch")))
            sketch->click();
    report("+ the plan sketches");

    // The charts: the statistics histogram and the regression scatter and residuals.
    ok &= openAndUse(menu->findChild<QPushButton*>(QStringLiteral("Command1(8)")), "Form209");
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* chart = top->findChild<QPushButton*>(QStringLiteral("CommandChart")))
            chart->click();
    report("+ the charts");
    return ok ? 0 : 1;
}
