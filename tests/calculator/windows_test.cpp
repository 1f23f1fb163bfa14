#include "calculator/windows.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "calculator/form3.h"
#include "engine/number.h"
#include "tests/calculator/print.h"
#include "tests/calculator/qt_app.h"
#include "ui/widget_services.h"

namespace hc {
namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

class CalculatorWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::qtApp();
        ui::registerWindow("Form3", [this] { return new Form3(settings); });
    }
    void TearDown() override {
        for (const char* name : {"Form2", "Form3", "Form5", "Form6", "Form215"})
            if (QWidget* w = ui::openWindow(QString::fromLatin1(name))) delete w;
        ui::unregisterWindow("Form3");
    }
    ui::RecordingServices rec;
    CalcSettings settings;  // the settings Form3 edits, as a main window's
};

TEST_F(CalculatorWindowsTest, WindowIsCreatedOnceAndUnloadedByClosing) {
    QWidget* first = ui::showWindow("Form215");
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->windowModality(), Qt::NonModal);
    EXPECT_EQ(first->windowTitle(), u("计算面积"));
    EXPECT_EQ(ui::showWindow("Form215"), first);

    QSignalSpy destroyed(first, &QObject::destroyed);
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(destroyed.count(), 1);
    EXPECT_EQ(ui::openWindow("Form215"), nullptr);
    EXPECT_NE(ui::showWindow("Form215"), nullptr);
    EXPECT_EQ(ui::showWindow("NoSuchForm"), nullptr);
}

TEST_F(CalculatorWindowsTest, VariableEditorShowsEditsAndSaves) {
    auto* f3 = qobject_cast<Form3*>(ui::showWindow("Form3"));
    ASSERT_NE(f3, nullptr);
    EXPECT_EQ(f3->windowTitle(), u("修改变量"));
    const char* letters = "rstuvwxyz";
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(f3->box(i)->objectName(), QStringLiteral("Text%1").arg(i + 1));
        EXPECT_EQ(f3->box(i)->text(), QString::number(i + 1));
        EXPECT_TRUE(f3->box(i)->isEnabled());
        EXPECT_EQ(f3->findChild<QLabel*>(QStringLiteral("Label%1").arg(i + 2))->text(),
                  u("变量  ") + QLatin1Char(letters[i]) + u(" ="));
    }
    QTest::mouseClick(f3->findChild<QPushButton*>("Command1"), Qt::LeftButton);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(f3->box(i)->text(), "1");
        EXPECT_EQ(settings.memory[i].text(), "1");
    }
    QTest::mouseClick(f3->findChild<QPushButton*>("Command2"), Qt::LeftButton);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(settings.memory[i].text(), QString::number(i + 1));

    f3->box(0)->setText(u("三"));
    f3->box(1)->setText(u("１２．５"));
    f3->box(2)->setText(u("负五"));
    QTest::mouseClick(f3->findChild<QPushButton*>("Command3"), Qt::LeftButton);
    EXPECT_EQ(f3->box(0)->text(), "3");
    EXPECT_EQ(f3->box(1)->text(), "12.5");
    EXPECT_EQ(f3->box(2)->text(), "-5");
    EXPECT_EQ(settings.memory[0].text(), "3");
    EXPECT_EQ(settings.memory[8].text(), "9");
}

TEST_F(CalculatorWindowsTest, ClosingTheEditorWithoutSavingKeepsTheValues) {
    auto* f3 = qobject_cast<Form3*>(ui::showWindow("Form3"));
    ASSERT_NE(f3, nullptr);
    f3->box(3)->setText("77");
    f3->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(settings.memory[3].text(), "4");
    // Reopened afresh, it shows the stored value.
    f3 = qobject_cast<Form3*>(ui::showWindow("Form3"));
    EXPECT_EQ(f3->box(3)->text(), "4");

    f3->box(3)->setText("77");
    QSignalSpy destroyed(f3, &QObject::destroyed);
    QTest::mouseClick(f3->findChild<QPushButton*>("Command4"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(destroyed.count(), 1);
    EXPECT_EQ(settings.memory[3].text(), "77");
}

TEST_F(CalculatorWindowsTest, EditorLinksOpenWebPages) {
    QWidget* f3 = ui::showWindow("Form3");
    QTest::mouseClick(f3->findChild<QPushButton*>("Command5"), Qt::LeftButton);
    EXPECT_EQ(rec.openedPages.size(), 1);
    EXPECT_NE(f3->findChild<QLabel*>("Label1"), nullptr);
    EXPECT_NE(f3->findChild<QLabel*>("Label12"), nullptr);
}

TEST_F(CalculatorWindowsTest, ModuleMenuHoldsEveryButtonWithItsCaption) {
    QWidget* f2 = ui::showWindow("Form2");
    ASSERT_NE(f2, nullptr);
    auto buttonAt = [&](int i) {
        return f2->findChild<QPushButton*>(QStringLiteral("Command1(%1)").arg(i));
    };
    int count = 0;
    for (int i = 0; i <= 65; ++i) count += buttonAt(i) != nullptr;
    EXPECT_EQ(count, 65);
    EXPECT_EQ(buttonAt(64), nullptr);
    const std::pair<int, const char*> captions[] = {
        {0, "数理统计"},    {1, "角度转换"},    {2, "进制换算"},   {3, "误差计算"},
        {4, "矩阵计算"},    {5, "返回 主程序"}, {6, "解多元方程"}, {7, "表达式分解"},
        {8, "线性回归"},    {9, "数的分解"},    {10, "微分计算"},  {11, "积分计算"},
        {12, "坐标变换"},   {13, "距离和方位"}, {14, "计算面积"},  {15, "三点定产状"},
        {16, "经纬仪测量"}, {17, "测距仪测量"}, {18, "平面面积"},  {19, "曲面面积"},
        {20, "物体表面积"}, {21, "物体的体积"}, {22, "。。。"},    {23, "。。。"},
        {30, "1"},          {31, "2"},          {35, "6"},         {36, "物理1"},
        {41, "物理6"},      {42, "化学1"},      {48, "生活1"},     {54, "游戏1"},
        {59, "游戏6"},      {60, "动脑筋1"},    {63, "动脑筋4"},   {65, "帮助"},
    };
    for (const auto& [i, caption] : captions) {
        ASSERT_NE(buttonAt(i), nullptr) << i;
        EXPECT_EQ(buttonAt(i)->text(), u(caption)) << i;
    }
    for (int i : {0, 1, 2, 3, 4, 5, 9, 12, 13, 14, 15, 24, 30, 40, 65})
        EXPECT_TRUE(buttonAt(i)->isEnabled()) << i;
}

TEST_F(CalculatorWindowsTest, ModuleMenuOpensWindowsAndPages) {
    QWidget* f2 = ui::showWindow("Form2");
    auto clickAt = [&](int i) {
        QTest::mouseClick(f2->findChild<QPushButton*>(QStringLiteral("Command1(%1)").arg(i)),
                          Qt::LeftButton);
    };
    clickAt(14);
    QWidget* area = ui::openWindow("Form215");
    EXPECT_NE(area, nullptr);
    delete area;
    clickAt(18);  // the plane-area button opens the same window
    EXPECT_NE(ui::openWindow("Form215"), nullptr);
    clickAt(30);
    ASSERT_NE(ui::openWindow("Form6"), nullptr);
    EXPECT_EQ(ui::openWindow("Form6")->windowTitle(), u("测试漂亮的多功能按钮"));
    EXPECT_EQ(ui::openWindow("Form6")->findChildren<QPushButton*>().size(), 12);
    clickAt(65);
    EXPECT_NE(ui::openWindow("Form5"), nullptr);
    for (int i = 24; i <= 29; ++i) clickAt(i);
    EXPECT_EQ(rec.openedPages.size(), 6);
    clickAt(3);  // a planned module: nothing happens
    EXPECT_EQ(rec.openedPages.size(), 6);
}

TEST_F(CalculatorWindowsTest, HelpWindowCoversItsTopics) {
    QWidget* f5 = ui::showWindow("Form5");
    auto* text = f5->findChild<QPlainTextEdit*>("Text1");
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->isReadOnly());
    const QString help = text->toPlainText();
    for (const char* topic :
         {"汉字", "函数", "变量", "28位", "29位", "小数位数", "90.5959", "89.5959999", "90.9999",
          "π", "反三角函数", "文本文件", "清 零", "<--", "-->", "新的版本", "误差"}) {
        EXPECT_TRUE(help.contains(u(topic))) << topic;
    }
    EXPECT_EQ(f5->findChild<QPushButton*>("Command4")->toolTip(),
              u("你的浏览器安装了中文网址，才可正确访问该页。"));
    for (const char* name : {"Command1", "Command3", "Command4", "Command5"})
        QTest::mouseClick(f5->findChild<QPushButton*>(name), Qt::LeftButton);
    EXPECT_EQ(rec.openedPages.size(), 4);
}

}  // namespace
}  // namespace hc
