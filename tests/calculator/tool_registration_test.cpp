// A tool window added through its registration row alone shows up in the main
// window's buttons, the module menu and the help; the rows of the program's own
// windows name registered windows.

#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "calculator/form1.h"
#include "calculator/windows.h"
#include "tests/calculator/qt_app.h"
#include "ui/tool_registry.h"
#include "ui/widget_services.h"

namespace hc {
namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

constexpr ui::WindowId kDummy{u"FormDummy"};

ui::ToolWindow dummyRow(int buttonNumber) {
    return {
        .id = kDummy,
        .factory =
            [] {
                auto* w = new QWidget;
                w->setObjectName(QStringLiteral("FormDummy"));
                w->setWindowTitle(QStringLiteral("试验模块"));
                return w;
            },
        .menuIndex = 7,
        .menuCaption = QStringLiteral("矩阵计算器"),
        .buttonNumber = buttonNumber,
        .buttonCaption = QStringLiteral("矩阵计算"),
        .helpSection = QStringLiteral("【矩阵计算】输入矩阵，按“计 算”。"),
        .commandLine = QStringLiteral("hechuan-cli matrix < 矩阵：矩阵计算"),
    };
}

class ToolRegistrationTest : public ::testing::Test {
protected:
    void SetUp() override { test::qtApp(); }
    void TearDown() override {
        for (const char* name : {"Form2", "Form5", "FormDummy"})
            delete ui::openWindow(QString::fromLatin1(name));
        ui::unregisterTool(kDummy);
    }
    QPushButton* menuButton(int index) {
        return ui::showWindow(window_ids::kForm2)
            ->findChild<QPushButton*>(QStringLiteral("Command1(%1)").arg(index));
    }
    ui::RecordingServices rec;
};

TEST_F(ToolRegistrationTest, OneRowPutsAToolInTheMainWindowTheMenuAndTheHelp) {
    const QString helpBefore = helpText();
    ASSERT_EQ(menuButton(7)->text(), u("表达式分解"));  // a planned module, doing nothing
    delete ui::openWindow(window_ids::kForm2);

    ASSERT_TRUE(ui::registerTool(dummyRow(15)));

    // Main window: after the other tool buttons, and it opens the window.
    Form1 form1;
    form1.show();
    auto* button = form1.findChild<QPushButton*>(QStringLiteral("dcButton15"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), u("矩阵计算"));
    const auto top = button->parentWidget()->findChildren<QPushButton*>(
        QRegularExpression(QStringLiteral("^dcButton[1-8]$")));
    for (QPushButton* b : top) EXPECT_LT(b->x(), button->x()) << b->objectName().toStdString();
    QTest::mouseClick(button, Qt::LeftButton);
    QWidget* opened = ui::openWindow(kDummy);
    ASSERT_NE(opened, nullptr);
    EXPECT_TRUE(opened->isVisible());
    delete opened;

    // Module menu: its caption replaces the planned module's, and the button opens it.
    QPushButton* item = menuButton(7);
    EXPECT_EQ(item->text(), u("矩阵计算器"));
    QTest::mouseClick(item, Qt::LeftButton);
    EXPECT_NE(ui::openWindow(kDummy), nullptr);

    // Help: its section and its command line in menu order among the others'.
    const QString help = helpText();
    EXPECT_TRUE(help.contains(u("【进制换算】")));
    const qsizetype section = help.indexOf(u("【矩阵计算】输入矩阵，按“计 算”。\r\n"));
    ASSERT_GE(section, 0);
    EXPECT_LT(help.indexOf(u("【进制换算】")), section);  // menu index 2 before 7
    EXPECT_LT(section, help.indexOf(u("【数的分解】")));  // 7 before 9
    const qsizetype line = help.indexOf(u("　　hechuan-cli matrix < 矩阵：矩阵计算；\r\n"));
    ASSERT_GE(line, 0);
    EXPECT_LT(help.indexOf(u("：进制换算和逻辑运算；\r\n")), line);
    EXPECT_LT(line, help.indexOf(u("　　hechuan-cli split")));
    EXPECT_TRUE(help.contains(u("hechuan-cli attitude < 点表：面体产状；\r\n")));
    // The rows without a menu index come last; the list ends with a full stop.
    EXPECT_TRUE(help.contains(u("< 点表：GPS坐标转换。\r\n")));
    const auto* shown = ui::showWindow(window_ids::kForm5)->findChild<QPlainTextEdit*>("Text1");
    EXPECT_TRUE(shown->toPlainText().contains(u("【矩阵计算】")));

    // Gone again with its row: the help and the menu are as they were.
    delete ui::openWindow(window_ids::kForm2);
    delete ui::openWindow(kDummy);
    ui::unregisterTool(kDummy);
    EXPECT_EQ(helpText(), helpBefore);
    EXPECT_EQ(menuButton(7)->text(), u("表达式分解"));
    EXPECT_FALSE(ui::isWindowRegistered(kDummy));
}

TEST_F(ToolRegistrationTest, AToolWithoutAButtonIsOnlyInTheMenuAndTheHelp) {
    ASSERT_TRUE(ui::registerTool(dummyRow(0)));
    Form1 form1;
    const auto buttons = form1.findChildren<QPushButton*>();
    for (const QPushButton* b : buttons) EXPECT_NE(b->text(), u("矩阵计算"));
    EXPECT_EQ(menuButton(7)->text(), u("矩阵计算器"));
    EXPECT_TRUE(helpText().contains(u("【矩阵计算】")));
}

TEST_F(ToolRegistrationTest, ATakenMenuIndexOrButtonIsRefusedAndNothingChanges) {
    ui::ToolWindow clash = dummyRow(15);
    clash.menuIndex = 0;  // statistics
    EXPECT_FALSE(ui::registerTool(clash));
    clash = dummyRow(1);  // statistics' dcButton1
    EXPECT_FALSE(ui::registerTool(clash));
    EXPECT_FALSE(ui::isWindowRegistered(kDummy));
    EXPECT_EQ(ui::toolAtMenuIndex(0)->id, window_ids::kForm201);
    EXPECT_EQ(ui::toolWithButton(1)->id, window_ids::kForm201);
    EXPECT_EQ(ui::toolAtMenuIndex(7), nullptr);
}

TEST_F(ToolRegistrationTest, AFurtherMenuButtonOpensTheSameWindowAndIsGuardedToo) {
    ui::ToolWindow row = dummyRow(0);
    row.moreMenuButtons = {{22, QStringLiteral("矩阵方程")}};
    ASSERT_TRUE(ui::registerTool(row));
    EXPECT_EQ(menuButton(7)->text(), u("矩阵计算器"));
    EXPECT_EQ(menuButton(22)->text(), u("矩阵方程"));
    menuButton(22)->click();
    QWidget* opened = ui::openWindow(QStringLiteral("FormDummy"));
    ASSERT_NE(opened, nullptr);
    menuButton(7)->click();
    EXPECT_EQ(ui::openWindow(QStringLiteral("FormDummy")), opened);
    ui::unregisterTool(kDummy);

    ui::ToolWindow clash = dummyRow(0);
    clash.menuIndex = -1;
    clash.moreMenuButtons = {{1, QStringLiteral("角度")}};  // angle conversion's button
    EXPECT_FALSE(ui::registerTool(clash));
    EXPECT_EQ(ui::toolAtMenuIndex(1)->id, window_ids::kForm202);
}

TEST_F(ToolRegistrationTest, EveryNamedWindowIsRegistered) {
    using namespace window_ids;
    // Form3 is registered by the main window, which edits its settings.
    Form1 form1;
    for (ui::WindowId id :
         {kForm1,   kForm2,   kForm3,   kForm5,   kForm6,   kForm215,    kForm201, kForm202,
          kForm203, kForm204, kForm205, kForm207, kForm209, kForm210,    kForm211, kForm212,
          kForm213, kForm214, kForm216, kForm217, kForm218, kFormDanLie, kFormGps})
        EXPECT_TRUE(ui::isWindowRegistered(id)) << id.name().toStdString();
    // Every row but the main window's can make its window, under the row's name.
    for (const ui::ToolWindow& row : ui::tools()) {
        if (row.id == kForm1) continue;
        ASSERT_TRUE(row.factory) << row.id.name().toStdString();
        std::unique_ptr<QWidget> w(row.factory());
        EXPECT_EQ(w->objectName(), row.id.name());
    }
}

}  // namespace
}  // namespace hc
