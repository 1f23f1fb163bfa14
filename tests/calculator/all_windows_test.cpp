// Every window the calculator opens, reached the way a user reaches it: from the main
// window's buttons and from the module menu. Each window opens once, a second press
// brings the same window forward unchanged, closing it unloads it and the next press
// starts it afresh; Esc changes nothing in a tool window; Tab walks each window in the
// order of its layout; the link buttons open pages of this project.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <functional>
#include <map>

#include "calculator/form1.h"
#include "calculator/windows.h"
#include "tests/calculator/print.h"
#include "tests/calculator/qt_app.h"
#include "tests/calculator/sample_use.h"
#include "ui/tool_registry.h"
#include "ui/widget_services.h"

namespace hc {
namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

template <typename T>
T* child(QWidget* w, const char* name) {
    T* c = w->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << qPrintable(w->objectName()) << " " << name;
    return c;
}

// What a user typed, chose or got in a window: the texts of its boxes and lists and
// the state of its check and option buttons, in creation order.
QStringList contents(QWidget* w) {
    QStringList out;
    for (QWidget* c : w->findChildren<QWidget*>()) {
        const QString name = c->objectName();
        if (auto* e = qobject_cast<QLineEdit*>(c); e && !qobject_cast<QComboBox*>(c->parent()))
            out << name + "=" + e->text();
        else if (auto* t = qobject_cast<QPlainTextEdit*>(c))
            out << name + "=" + t->toPlainText();
        else if (auto* cb = qobject_cast<QComboBox*>(c))
            out << name + "=" + cb->currentText() + "#" + QString::number(cb->currentIndex());
        else if (auto* b = qobject_cast<QAbstractButton*>(c); b && b->isCheckable())
            out << name + (b->isChecked() ? "=1" : "=0");
    }
    return out;
}

int openCount(const QString& name) {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible()) ++n;
    return n;
}

// Closes a window by its close box and lets the deferred delete run.
void closeAndUnload(QWidget* w) {
    QSignalSpy destroyed(w, &QObject::destroyed);
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(destroyed.count(), 1) << qPrintable(w->objectName());
}

// Changes something a user could change in the window: the text of its first box.
void scribble(QWidget* w) {
    for (QWidget* c : w->findChildren<QWidget*>()) {
        if (auto* t = qobject_cast<QPlainTextEdit*>(c)) {
            t->setPlainText(QStringLiteral("涂写"));
            return;
        }
        if (auto* e = qobject_cast<QLineEdit*>(c); e && e->isVisible()) {
            e->setText(QStringLiteral("涂写"));
            return;
        }
    }
    ADD_FAILURE() << "nothing to write in " << qPrintable(w->objectName());
}

class AllWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::qtApp();
        form1 = new Form1;
        form1->show();
    }
    void TearDown() override {
        delete form1;
        QList<QPointer<QWidget>> windows;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (!w->parentWidget() && !w->objectName().isEmpty()) windows << w;
        for (const QPointer<QWidget>& w : windows) delete w.data();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QPushButton* form1Button(const char* name) { return child<QPushButton>(form1, name); }
    QPushButton* menuButton(int index) {
        QWidget* f2 = ui::showWindow("Form2");
        return f2 ? f2->findChild<QPushButton*>(QStringLiteral("Command1(%1)").arg(index))
                  : nullptr;
    }

    // Opens `window` with `press` twice, checks that the second press brings the same
    // window forward unchanged, then closes it and checks that the next press starts
    // it afresh.
    void checkOpening(const QString& window, const std::function<void()>& press) {
        SCOPED_TRACE(window.toStdString());
        press();
        QWidget* first = ui::openWindow(window);
        ASSERT_NE(first, nullptr);
        EXPECT_TRUE(first->isVisible());
        EXPECT_EQ(first->windowModality(), Qt::NonModal);
        const QStringList fresh = contents(first);
        // The placeholder window holds nothing a user could change.
        const bool placeholder = window == "Form6";
        EXPECT_EQ(fresh.isEmpty(), placeholder);
        if (!placeholder) scribble(first);
        const QStringList scribbled = contents(first);
        EXPECT_EQ(scribbled == fresh, placeholder);

        press();
        EXPECT_EQ(ui::openWindow(window), first);
        EXPECT_EQ(openCount(window), 1);
        EXPECT_EQ(contents(first), scribbled);

        closeAndUnload(first);
        EXPECT_EQ(ui::openWindow(window), nullptr);
        press();
        QWidget* again = ui::openWindow(window);
        ASSERT_NE(again, nullptr);
        EXPECT_TRUE(again->isVisible());
        EXPECT_EQ(openCount(window), 1);
        EXPECT_EQ(contents(again), fresh);
    }

    ui::RecordingServices rec;
    Form1* form1 = nullptr;
};

// The windows come from the rows of the tool registry (ui/tool_registry.h), so that a new
// window is checked here without an edit. Read after the main window registered them.

// The main window's buttons and the windows they open: the rows' image buttons and the
// main window's own buttons of the variable editor and the help.
std::vector<std::pair<QString, QString>> form1Windows() {
    std::vector<std::pair<QString, QString>> out;
    for (const ui::ToolWindow& row : ui::tools())
        if (row.buttonNumber > 0)
            out.emplace_back(QStringLiteral("dcButton%1").arg(row.buttonNumber), row.id.name());
    out.emplace_back(QStringLiteral("dcButton13"), QStringLiteral("Form3"));
    out.emplace_back(QStringLiteral("dcButton14"), QStringLiteral("Form5"));
    return out;
}

// The module menu's buttons that open a window other than the main window.
std::vector<std::pair<int, QString>> menuWindows() {
    std::vector<std::pair<int, QString>> out;
    for (const ui::ToolWindow& row : ui::tools()) {
        if (!row.factory) continue;
        if (row.menuIndex >= 0) out.emplace_back(row.menuIndex, row.id.name());
        for (const auto& [index, caption] : row.moreMenuButtons)
            out.emplace_back(index, row.id.name());
    }
    return out;
}

// The tool windows: the menu's windows with a section of the help (not the help and
// placeholder windows themselves).
QStringList toolWindows() {
    QStringList out;
    for (const ui::ToolWindow& row : ui::tools())
        if (row.factory && row.menuIndex >= 0 && !row.helpSection.isEmpty()) out << row.id.name();
    return out;
}

// The menu's buttons of planned modules: neither a window's nor a site link (24 ... 29).
std::vector<int> placeholderButtons() {
    std::vector<int> out;
    for (int i = 0; i <= 63; ++i)
        if ((i < 24 || i > 29) && !ui::toolAtMenuIndex(i)) out.push_back(i);
    return out;
}

TEST_F(AllWindowsTest, TheRegistryListsTheWindowsAUserReaches) {
    // The lists below are read from the registry; they must not come out empty or
    // lose the windows the main window and the menu have always offered.
    QStringList buttons, menu;
    for (const auto& [button, window] : form1Windows()) buttons << button + u'=' + window;
    for (const auto& [index, window] : menuWindows())
        menu << QString::number(index) + u'=' + window;
    for (const char* want : {"dcButton1=Form201", "dcButton5=Form213", "dcButton7=Form216",
                             "dcButton13=Form3", "dcButton14=Form5"})
        EXPECT_TRUE(buttons.contains(QLatin1String(want))) << want;
    for (const char* want : {"0=Form201", "12=Form213", "18=Form215", "30=Form6", "65=Form5",
                             "16=Form217", "17=Form218"})
        EXPECT_TRUE(menu.contains(QLatin1String(want))) << want;
    EXPECT_GE(toolWindows().size(), 16);
    EXPECT_FALSE(toolWindows().contains(QStringLiteral("Form5")));
    EXPECT_FALSE(toolWindows().contains(QStringLiteral("Form6")));
    const std::vector<int> placeholders = placeholderButtons();
    for (int i : {7, 19, 23, 31, 63})
        EXPECT_NE(std::count(placeholders.begin(), placeholders.end(), i), 0) << i;
    for (int i : {0, 5, 12, 24})
        EXPECT_EQ(std::count(placeholders.begin(), placeholders.end(), i), 0) << i;
}

TEST_F(AllWindowsTest, EveryMainWindowButtonOpensItsWindowOnceAndAfreshAfterClosing) {
    for (const auto& [button, window] : form1Windows()) {
        QPushButton* b = child<QPushButton>(form1, qPrintable(button));
        ASSERT_NE(b, nullptr);
        EXPECT_TRUE(b->isEnabled()) << qPrintable(button);
        checkOpening(window, [b] { QTest::mouseClick(b, Qt::LeftButton); });
    }
}

TEST_F(AllWindowsTest, EveryModuleMenuButtonOpensItsWindowOnceAndAfreshAfterClosing) {
    for (const auto& [index, window] : menuWindows()) {
        ASSERT_NE(menuButton(index), nullptr) << index;
        EXPECT_TRUE(menuButton(index)->isEnabled()) << index;
        // The menu stays open; the button is looked up again in case it was reopened.
        checkOpening(window,
                     [this, i = index] { QTest::mouseClick(menuButton(i), Qt::LeftButton); });
    }
}

TEST_F(AllWindowsTest, ModuleMenuComesBackFromTheToolWindowsAndLeadsBackToTheCalculator) {
    // The coordinate and base windows open the menu with "其它功能".
    for (const char* window : {"Form213", "Form203"}) {
        QWidget* w = ui::showWindow(QString::fromLatin1(window));
        ASSERT_NE(w, nullptr);
        auto* other = child<QPushButton>(w, "CommandQiTa");
        ASSERT_NE(other, nullptr);
        EXPECT_EQ(other->text(), u("其它功能"));
        QTest::mouseClick(other, Qt::LeftButton);
        QWidget* menu = ui::openWindow("Form2");
        ASSERT_NE(menu, nullptr) << window;
        QTest::mouseClick(other, Qt::LeftButton);
        EXPECT_EQ(ui::openWindow("Form2"), menu);
        closeAndUnload(menu);
    }
    form1->hide();
    QTest::mouseClick(menuButton(5), Qt::LeftButton);
    EXPECT_TRUE(form1->isVisible());
    EXPECT_EQ(ui::openWindow("Form1"), form1);
}

TEST_F(AllWindowsTest, PlaceholderButtonsOfTheMenuDoNothing) {
    ui::showWindow("Form2");
    const std::vector<int> placeholders = placeholderButtons();
    QStringList before;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) before << w->objectName();
    for (int i : placeholders) {
        QPushButton* b = menuButton(i);
        ASSERT_NE(b, nullptr) << i;
        EXPECT_TRUE(b->isEnabled()) << i;
        QTest::mouseClick(b, Qt::LeftButton);
    }
    QStringList after;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) after << w->objectName();
    EXPECT_EQ(after, before);
    EXPECT_TRUE(rec.openedPages.isEmpty());
    EXPECT_TRUE(rec.messages.isEmpty());
}

TEST_F(AllWindowsTest, LinkButtonsOpenPagesOfThisProject) {
    QTest::mouseClick(form1Button("dcButton4"), Qt::LeftButton);
    QTest::mouseClick(form1Button("dcButton8"), Qt::LeftButton);
    QTest::mouseClick(child<QLabel>(form1, "Label4"), Qt::LeftButton);
    ASSERT_EQ(rec.openedPages.size(), 3);
    EXPECT_EQ(rec.openedPages[0], questionBankUrl());
    // "最新版本" opens the same page as the title label.
    EXPECT_EQ(rec.openedPages[1], rec.openedPages[2]);

    for (int i = 24; i <= 29; ++i) QTest::mouseClick(menuButton(i), Qt::LeftButton);
    QWidget* f5 = ui::showWindow("Form5");
    for (const char* name : {"Command1", "Command3", "Command4", "Command5"})
        QTest::mouseClick(child<QPushButton>(f5, name), Qt::LeftButton);
    ASSERT_EQ(rec.openedPages.size(), 13);
    for (const QString& page : rec.openedPages) {
        EXPECT_TRUE(page.startsWith(homeUrl())) << qPrintable(page);
        // A page of the manual shipped with the program.
        EXPECT_TRUE(QUrl(page).isLocalFile()) << qPrintable(page);
        EXPECT_TRUE(QFileInfo(QUrl(page).toLocalFile()).isFile()) << qPrintable(page);
    }
    // The menu's "最新版本" is the main window's; its other five sites are five pages.
    const QStringList menuPages = rec.openedPages.mid(3, 6);
    EXPECT_EQ(menuPages[3], rec.openedPages[1]);
    EXPECT_EQ(QSet<QString>(menuPages.begin(), menuPages.end()).size(), 5);
    EXPECT_TRUE(rec.messages.isEmpty());
}

TEST_F(AllWindowsTest, LinkButtonsWithoutABrowserShowNothingAndDoNotWait) {
    // The real services; under the offscreen platform (and without a browser) opening a
    // page fails, which must neither block nor show a message box.
    ui::WidgetServices real;
    ui::Services* recording = ui::installServices(&real);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", "/nonexistent");
    // A modal message box would block the click; the timer reports it instead.
    bool modalSeen = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (QWidget* m = QApplication::activeModalWidget()) {
            modalSeen = true;
            m->close();
        }
    });
    watch.start(20);
    QTest::mouseClick(form1Button("dcButton4"), Qt::LeftButton);
    QTest::mouseClick(form1Button("dcButton8"), Qt::LeftButton);
    QTest::mouseClick(menuButton(24), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(ui::showWindow("Form5"), "Command4"), Qt::LeftButton);
    QTest::qWait(60);
    EXPECT_FALSE(modalSeen);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    qputenv("PATH", path);
    ui::installServices(recording);
}

TEST_F(AllWindowsTest, EscInAToolWindowChangesNothing) {
    for (const QString& name : toolWindows()) {
        SCOPED_TRACE(name.toStdString());
        QWidget* w = ui::showWindow(name);
        ASSERT_NE(w, nullptr);
        ASSERT_TRUE(test::useOnce(w));
        const QStringList before = contents(w);
        const int messages = static_cast<int>(rec.messages.size());
        QList<QWidget*> targets{w};
        for (QWidget* c : w->findChildren<QWidget*>())
            if (c->isVisible() && c->isEnabled() && (c->focusPolicy() & Qt::TabFocus)) targets << c;
        for (QWidget* c : targets) {
            c->setFocus();
            QTest::keyClick(c, Qt::Key_Escape);
        }
        EXPECT_EQ(ui::openWindow(name), w);
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(contents(w), before);
        EXPECT_EQ(rec.messages.size(), messages);
    }
}

TEST_F(AllWindowsTest, HelpHasASectionForEveryToolWindowAndEverySubcommand) {
    const QString help = helpText();
    for (const char* caption :
         {"【数理统计】", "【角度变换】", "【进制换算】", "【数的分解】", "【坐标转换】",
          "【距离方位】", "【面体产状】", "【修改变量】", "【矩阵计算】", "【解多元方程】"})
        EXPECT_TRUE(help.contains(u(caption))) << caption;

    const QString cli = QStringLiteral(HC_BIN_DIR "/cli/hechuan-cli");
    if (!QFile::exists(cli)) GTEST_SKIP() << "hechuan-cli is not built";
    QProcess run;
    run.start(cli, {QStringLiteral("--help")});
    ASSERT_TRUE(run.waitForFinished(10000));
    const QString usage = QString::fromUtf8(run.readAllStandardOutput());
    QStringList subcommands;
    const QRegularExpression line(QStringLiteral("^\\s*hechuan-cli ([a-z]+)"),
                                  QRegularExpression::MultilineOption);
    for (const auto& m : line.globalMatch(usage)) subcommands << m.captured(1);
    subcommands.removeDuplicates();
    EXPECT_GE(subcommands.size(), 9) << qPrintable(usage);
    for (const QString& sub : subcommands)
        EXPECT_TRUE(help.contains(QRegularExpression(QStringLiteral("hechuan-cli [a-z、]*") + sub)))
            << qPrintable(sub);
}

// The controls Tab reaches, in order, starting from the window itself.
QStringList tabChain(QWidget* window) {
    QStringList names;
    for (QWidget* w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain()) {
        if (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisibleTo(window) || !w->isEnabled())
            continue;
        // A list's own line edit stands for the list.
        if (qobject_cast<QComboBox*>(w->parentWidget())) continue;
        if (w->objectName().isEmpty() || w->objectName().startsWith(QLatin1String("qt_"))) continue;
        names << w->objectName();
    }
    return names;
}

QStringList numbered(const char* prefix, int from, int to) {
    QStringList names;
    for (int i = from; i <= to; ++i) names << QString::fromLatin1(prefix) + QString::number(i);
    return names;
}

TEST_F(AllWindowsTest, TabLeavesThePointListsAndTheStatisticsData) {
    for (const char* name : {"Form214", "Form216"}) {
        QWidget* w = ui::showWindow(QString::fromLatin1(name));
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w)) << name;
        auto* list = child<QPlainTextEdit>(w, "Text1");
        const QString before = list->toPlainText();
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Tab);
        EXPECT_EQ(list->toPlainText(), before) << name;
        EXPECT_EQ(QApplication::focusWidget(), child<QWidget>(w, "Text2")) << name;
    }
    // The statistics data too: pasted data keeps its tabs, the keys move on.
    QWidget* stats = ui::showWindow("Form201");
    stats->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(stats));
    auto* data = child<QPlainTextEdit>(stats, "Text1");
    const QString before = data->toPlainText();
    for (Qt::KeyboardModifiers mods :
         {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::ControlModifier)}) {
        data->setFocus();
        QTest::keyClick(data, Qt::Key_Tab, mods);
        EXPECT_EQ(data->toPlainText(), before);
        EXPECT_EQ(QApplication::focusWidget(), child<QWidget>(stats, "Command1"));
    }
    data->setFocus();
    QTest::keyClick(data, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), child<QWidget>(stats, "Combo2"));
}

TEST_F(AllWindowsTest, TabFollowsTheLayoutOfEachWindow) {
    const QStringList pointTool = {"Combo2", "Command1", "Command2", "CommandSketch",
                                   "Check1", "Text1",    "Text2"};
    const std::map<QString, QStringList> expected = {
        {"Form201", QStringList{"Combo1", "Combo2", "Text1", "Command1", "Command2", "Command3",
                                "Command4", "Command5", "CommandChart"} +
                        numbered("Text", 2, 51)},
        {"Form202", QStringList{"Text1", "Text2"} + numbered("Command", 1, 6)},
        {"Form203", numbered("Option", 1, 4) + QStringList{"Text1"} + numbered("Option", 5, 16) +
                        QStringList{"Text2", "Text3", "Text4"} +
                        numbered("Command", 1, 2) +  // the digits of the binary base
                        QStringList{"Command18", "Command19", "Command20", "Command21", "Command23",
                                    "Command25", "CommandQiTa", "Command26", "CommandLink"}},
        {"Form210", {"Text1", "Text2", "Text3", "Command1"}},
        {"Form214", QStringList{"Combo2", "Command1", "Command2", "CommandSketch", "Check1",
                                "Text1", "Text2"}},
        {"Form216", pointTool},
        {"Form2",
         [] {
             QStringList names = numbered("Command1(", 0, 63);
             for (QString& n : names) n += ")";
             return names << "Command1(65)";
         }()},
        {"Form3", numbered("Text", 1, 9) + numbered("Command", 1, 5)},
        {"Form213",
         {"Option1",     "Check1",        "Combo3",          "Combo4",       "Combo5",
          "CommandJto1", "CommandJto3",   "CommandJto6",     "Command1to3",  "Command3to6",
          "Command1toJ", "Command3toJ",   "Command6toJ",     "Command3to1",  "Command6to3",
          "Text1",       "Text2",         "CommandJiaoHuan", "CommandPrint", "CommandSketch",
          "CommandGps",  "CommandDanLie", "CommandHelp",     "CommandJsq",   "CommandQiTa",
          "CommandWeb1", "CommandWeb2"}},
        {"Form5", {"Text1", "Command1", "Command3", "Command4", "Command5", "Command6"}},
        {"Form1",
         [] {
             QStringList names = numbered("dcButton", 1, 8);
             names << "Text1"
                   << "dcButton10"
                   << "dcButton11"
                   << "dcButton12"
                   << "dcButton9"
                   << "Text2"
                   << "Combo1"
                   << "Command5"
                   << "dcButton13"
                   << "dcButton14";
             for (int i = 1; i <= 60; ++i) names << QStringLiteral("HmBut(%1)").arg(i);
             return names << "Text3";
         }()},
    };
    for (const auto& [name, chain] : expected) {
        QWidget* w = ui::showWindow(name);
        ASSERT_NE(w, nullptr) << qPrintable(name);
        EXPECT_EQ(tabChain(w), chain) << qPrintable(name);
    }
}

}  // namespace
}  // namespace hc
