// Grabs the calculator's windows into PNG files in the folder given as first
// argument, their names starting with the optional second argument:
// the main window before and after a calculation, at its smallest and as a large
// window, the variable editor, the module menu and the help window; then a new
// user's tour: every window opened from the main window and from the module menu,
// used once with its sample data, closed and opened again. (The memory with every
// window open is measured by hc_window_memory, without the grabbed pixmaps.) Last,
// every tool window used once (tool_*.png) and at its smallest size (smallest_*.png).

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <cstdio>
#include <vector>

#include "calculator/form1.h"
#include "calculator/windows.h"
#include "tests/calculator/sample_use.h"
#include "tests/ui/window_grab.h"
#include "ui/text_box.h"
#include "ui/tool_registry.h"
#include "ui/widget_services.h"

namespace {

QString prefix;

bool save(QWidget* w, const QString& dir, const char* name) {
    return hc::test::saveWindowGrab(w, dir, prefix + QString::fromLatin1(name));
}

// Presses the button and grabs the window it opened, after using a tool window once.
bool openUseAndSave(QAbstractButton* button, const char* window, const QString& dir,
                    const QString& file) {
    if (!button) return false;
    button->click();
    QWidget* w = hc::ui::openWindow(QString::fromLatin1(window));
    if (!w) {
        std::printf("FAILED %s did not open %s\n", qPrintable(button->objectName()), window);
        return false;
    }
    w->raise();
    hc::test::useOnce(w);
    return save(w, dir, qPrintable(file));
}

void closeWindow(const char* window) {
    if (QWidget* w = hc::ui::openWindow(QString::fromLatin1(window))) w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
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
    QWidget* help = hc::ui::showWindow("Form5");
    ok &= save(help, dir, "form5.png");
    if (auto* text = help->findChild<QPlainTextEdit*>("Text1")) {
        text->moveCursor(QTextCursor::End);
        text->ensureCursorVisible();
    }
    ok &= save(help, dir, "form5_end.png");
    for (const char* w : {"Form2", "Form3", "Form5"}) closeWindow(w);

    const std::pair<const char*, const char*> mainButtons[] = {
        {"dcButton1", "Form201"}, {"dcButton2", "Form202"}, {"dcButton3", "Form203"},
        {"dcButton5", "Form213"}, {"dcButton6", "Form214"}, {"dcButton7", "Form216"},
        {"dcButton13", "Form3"},  {"dcButton14", "Form5"}};
    for (const auto& [button, window] : mainButtons)
        ok &= openUseAndSave(form1.findChild<QPushButton*>(button), window, dir,
                             QStringLiteral("tour_%1.png").arg(QLatin1String(window)));
    for (const auto& [button, window] : mainButtons) closeWindow(window);

    QWidget* menu = hc::ui::showWindow("Form2");
    // The registered windows: those of the menu, then every tool window.
    std::vector<std::pair<int, QByteArray>> menuButtons;
    std::vector<QByteArray> toolWindows;
    for (const hc::ui::ToolWindow& row : hc::ui::tools()) {
        if (!row.factory) continue;
        const QByteArray name = row.id.name().toLatin1();
        if (row.menuIndex >= 0) menuButtons.emplace_back(row.menuIndex, name);
        if (name != "Form2" && name != "Form5" && name != "Form6") toolWindows.push_back(name);
    }
    for (const auto& [index, window] : menuButtons) {
        auto* b = menu->findChild<QPushButton*>(QStringLiteral("Command1(%1)").arg(index));
        ok &= openUseAndSave(b, window.constData(), dir,
                             QStringLiteral("menu_%1.png").arg(QLatin1String(window)));
    }
    for (const auto& [index, window] : menuButtons) closeWindow(window.constData());

    // Every tool window used once and then at its smallest size.
    for (const QByteArray& name : toolWindows) {
        const char* window = name.constData();
        QWidget* w = hc::ui::showWindow(QString::fromLatin1(window));
        if (!w) {
            std::printf("FAILED %s did not open\n", window);
            ok = false;
            continue;
        }
        hc::test::useOnce(w);
        ok &= save(w, dir, qPrintable(QStringLiteral("tool_%1.png").arg(QLatin1String(window))));
        w->resize(1, 1);
        ok &=
            save(w, dir, qPrintable(QStringLiteral("smallest_%1.png").arg(QLatin1String(window))));
        closeWindow(window);
    }
    std::fflush(stdout);
    return ok ? 0 : 1;
}
