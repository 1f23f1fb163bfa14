// Form203 driven headlessly: controls, keypad, keyboard entry, base switch,
// calculation, and the buttons that open other windows.

#include "tools/windows/form203.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <memory>

#include "calculator/form1.h"
#include "tests/calculator/qt_app.h"
#include "ui/text_box.h"
#include "ui/widget_services.h"

namespace hc {
namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

class Form203Test : public ::testing::Test {
protected:
    void SetUp() override {
        test::qtApp();
        form = std::make_unique<Form203>();
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    void TearDown() override {
        for (const char* name : {"Form1", "Form2", "Form203"})
            if (QWidget* w = ui::openWindow(QString::fromLatin1(name)); w && w != form.get())
                delete w;
        form.reset();
    }

    template <typename T = QPushButton>
    T* child(const char* name) {
        T* w = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void click(QWidget* w) {
        ASSERT_NE(w, nullptr);
        QTest::mouseClick(w, Qt::LeftButton);
    }
    void clickKey(const char* name) { click(child(name)); }
    // Puts the caret into data box i at `pos`.
    void caretAt(int i, int pos) {
        QLineEdit* box = form->dataBox(i);
        box->setFocus();
        box->setCursorPosition(pos);
    }

    ui::RecordingServices rec;
    std::unique_ptr<Form203> form;
};

TEST_F(Form203Test, ControlsAtLoad) {
    EXPECT_EQ(form->windowTitle(), u("进制换算"));
    const std::pair<const char*, const char*> labels[] = {
        {"Label1", " 数值的进制换算"}, {"Label2", "进制类型"}, {"Label3", "数据 1"},
        {"Label4", "加法 +"},          {"Label5", "数据 2"},   {"Label7", "运算成果"},
    };
    for (const auto& [name, caption] : labels) EXPECT_EQ(child<QLabel>(name)->text(), u(caption));
    EXPECT_FALSE(child<QLabel>("Label6")->isVisible());
    const char* options[] = {"二进制", "八进制", "十进制", "十六进制", "加", "减",
                             "乘",     "除",     "幂",     "余",       "与", "或",
                             "非",     "异或",   "与非",   "或非"};
    for (int i = 0; i < 16; ++i) {
        const QByteArray name = "Option" + QByteArray::number(i + 1);
        auto* o = child<QRadioButton>(name.constData());
        EXPECT_EQ(o->text(), u(options[i])) << name.constData();
        EXPECT_EQ(o->isChecked(), i == 0 || i == 4) << name.constData();
    }
    const char* digits = "0123456789ABCDEF";
    for (int d = 0; d < 16; ++d) {
        const QByteArray name = "Command" + QByteArray::number(d <= 12 ? d + 1 : d + 2);
        QPushButton* b = child(name.constData());
        EXPECT_EQ(b->text(), QString(QChar::fromLatin1(digits[d])));
        EXPECT_EQ(b->isEnabled(), d < 2) << name.constData();
    }
    EXPECT_EQ(form->findChild<QPushButton*>("Command14"), nullptr);
    const std::pair<const char*, const char*> keys[] = {
        {"Command18", "-"},          {"Command19", "."},        {"Command20", "<=删"},
        {"Command21", "清除"},       {"Command23", "运算"},     {"Command25", "主界面"},
        {"CommandQiTa", "其它功能"}, {"Command26", "打印屏幕"}, {"Command22", "<=="},
        {"Command24", "==>"},
    };
    for (const auto& [name, caption] : keys) EXPECT_EQ(child(name)->text(), u(caption)) << name;
    EXPECT_FALSE(child("Command22")->isVisible());
    EXPECT_FALSE(child("Command24")->isVisible());
    EXPECT_EQ(child("CommandQiTa")->toolTip(), u("多种功能模块"));
    EXPECT_EQ(child("Command26")->toolTip(), u("安装打印机后才可执行打印功能"));
    EXPECT_EQ(form->helpBox()->objectName(), "Text4");
    EXPECT_EQ(form->resultBox()->objectName(), "Text3");
}

TEST_F(Form203Test, KeypadEntersAtTheCaretAndBaseSwitchConverts) {
    click(child<QRadioButton>("Option4"));
    for (int d = 0; d < 16; ++d)
        EXPECT_TRUE(
            form->findChild<QPushButton*>(QStringLiteral("Command%1").arg(d <= 12 ? d + 1 : d + 2))
                ->isEnabled());
    EXPECT_TRUE(form->helpBox()->text().endsWith(u("以前为2进制，当前为16进制。")));
    EXPECT_EQ(form->dataBox(0)->text(), "0");  // an empty box converts to 0
    clickKey("Command21");
    EXPECT_EQ(form->dataBox(0)->text(), "");
    clickKey("Command2");   // 1
    clickKey("Command17");  // F
    EXPECT_EQ(form->dataBox(0)->text(), "1F");
    caretAt(0, 1);
    clickKey("Command11");  // A between 1 and F
    EXPECT_EQ(form->dataBox(0)->text(), "1AF");
    EXPECT_EQ(form->dataBox(0)->cursorPosition(), 2);
    clickKey("Command20");  // delete the A
    EXPECT_EQ(form->dataBox(0)->text(), "1F");
    click(child<QRadioButton>("Option2"));
    EXPECT_EQ(form->dataBox(0)->text(), "37");
    EXPECT_FALSE(child("Command9")->isEnabled());  // 8
    EXPECT_TRUE(child("Command8")->isEnabled());   // 7
    clickKey("Command18");
    EXPECT_EQ(form->dataBox(0)->text(), "-37");
    clickKey("Command21");
    EXPECT_EQ(form->dataBox(0)->text(), "");
}

TEST_F(Form203Test, TypedNineInOctalFailsTheCalculation) {
    click(child<QRadioButton>("Option2"));
    form->dataBox(0)->clear();
    caretAt(0, 0);
    QTest::keyClicks(form->dataBox(0), QStringLiteral("19"));
    EXPECT_EQ(form->dataBox(0)->text(), "19");
    QTest::keyClicks(form->dataBox(0), QStringLiteral(".."));  // the second point is refused
    EXPECT_EQ(form->dataBox(0)->text(), "19.");
    rec.messages.clear();
    clickKey("Command23");
    ASSERT_EQ(rec.messages.size(), 1);
    EXPECT_EQ(
        rec.messages[0],
        u("把数19.由八进制转换为二进制时，出现超出范围的错误！计算结果无效，请修改数据后再计算。"));
    EXPECT_EQ(form->dataBox(0)->text(), "-1");
    EXPECT_EQ(form->resultBox()->text(), u("数据有误或超出计算范围，请修改后再计算！"));
}

TEST_F(Form203Test, CalculationByButtonAndByLabel7) {
    form->dataBox(0)->setText(QStringLiteral("00101"));
    form->dataBox(1)->setText(QStringLiteral("11"));
    clickKey("Command23");
    EXPECT_EQ(form->dataBox(0)->text(), "101");
    EXPECT_EQ(form->resultBox()->text(), "1000");
    click(child<QRadioButton>("Option8"));  // 除
    EXPECT_EQ(child<QLabel>("Label4")->text(), u("除法 /"));
    EXPECT_EQ(form->resultBox()->text(), "");
    QTest::mouseClick(child<QLabel>("Label7"), Qt::LeftButton);
    EXPECT_TRUE(form->resultBox()->text().startsWith(QLatin1String("1.10101010101")));  // 5/3
    auto* warning = child<QLabel>("Label6");
    EXPECT_TRUE(warning->isVisible());
    EXPECT_TRUE(warning->text().startsWith(u("计算结果为 ")));
    click(child<QRadioButton>("Option13"));  // 非
    EXPECT_FALSE(form->dataBox(0)->isVisible());
    EXPECT_TRUE(form->helpBox()->text().startsWith(u("逻辑运算--[非 Not]")));
    clickKey("Command23");
    EXPECT_EQ(form->resultBox()->text(), "0");  // NOT 11 = -00, the Decimal 0
}

TEST_F(Form203Test, DecimalEntryStopsAtTwentyNineDigits) {
    click(child<QRadioButton>("Option3"));
    form->dataBox(0)->clear();
    form->dataBox(1)->clear();
    caretAt(0, 0);
    for (int i = 0; i < 30; ++i) clickKey("Command10");  // 9
    EXPECT_EQ(form->dataBox(0)->text(), QString(29, u'9'));
    EXPECT_EQ(form->resultBox()->text(), u("第一个数字太长了！"));
    form->dataBox(1)->setFocus();
    QTest::keyClicks(form->dataBox(1), QString(31, u'1'));
    EXPECT_EQ(form->dataBox(1)->text(), QString(29, u'1'));
    EXPECT_EQ(form->resultBox()->text(), u("第二个数字太长了！"));
}

TEST_F(Form203Test, ButtonsOpenOtherWindowsPrintAndLink) {
    clickKey("CommandQiTa");
    EXPECT_NE(ui::openWindow(QStringLiteral("Form2")), nullptr);
    clickKey("Command26");
    EXPECT_EQ(rec.printed, 1);
    clickKey("CommandLink");
    EXPECT_EQ(rec.openedPages.size(), 1);
}

TEST(Form203Opening, MainWindowAndModuleMenuOpenItOnce) {
    test::qtApp();
    ui::RecordingServices rec;
    {
        Form1 form1;
        form1.show();
        QTest::mouseClick(form1.findChild<QPushButton*>("dcButton3"), Qt::LeftButton);
        QWidget* first = ui::openWindow(QStringLiteral("Form203"));
        ASSERT_NE(first, nullptr);
        EXPECT_TRUE(first->isVisible());
        EXPECT_FALSE(first->isModal());
        QWidget* menu = ui::showWindow(QStringLiteral("Form2"));
        ASSERT_NE(menu, nullptr);
        QTest::mouseClick(menu->findChild<QPushButton*>("Command1(2)"), Qt::LeftButton);
        EXPECT_EQ(ui::openWindow(QStringLiteral("Form203")), first);  // shown once
        delete first;
        delete menu;
    }
}

}  // namespace
}  // namespace hc
