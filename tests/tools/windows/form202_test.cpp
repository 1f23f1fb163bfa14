#include "tools/windows/form202.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "tests/calculator/qt_app.h"
#include "tests/survey/print_qstring.h"
#include "ui/services.h"

namespace hc {
namespace {

QString q(const char* s) { return QString::fromUtf8(s); }

class Form202Test : public ::testing::Test {
protected:
    void SetUp() override {
        test::qtApp();
        owned = std::make_unique<Form202>();
        owned->show();
        text1 = form().findChild<QLineEdit*>(q("Text1"));
        text2 = form().findChild<QLineEdit*>(q("Text2"));
        label1 = form().findChild<QLabel*>(q("Label1"));
        ASSERT_TRUE(text1 && text2 && label1);
    }
    void press(int n) {
        QPushButton* b = form().findChild<QPushButton*>(QStringLiteral("Command%1").arg(n));
        ASSERT_NE(b, nullptr);
        QTest::mouseClick(b, Qt::LeftButton);
    }

    ui::RecordingServices rec;
    std::unique_ptr<Form202> owned;
    Form202& form() { return *owned; }
    QLineEdit* text1 = nullptr;
    QLineEdit* text2 = nullptr;
    QLabel* label1 = nullptr;
};

TEST_F(Form202Test, StartsEmptyWithItsCaptions) {
    EXPECT_EQ(form().windowTitle(), q("角度变换"));
    EXPECT_EQ(label1->text(), q("原始角度数"));
    EXPECT_TRUE(text1->text().isEmpty());
    EXPECT_TRUE(text2->text().isEmpty());
    EXPECT_EQ(form().findChild<QPushButton*>(q("Command4"))->text(), q("百分度 ==> 弧  度"));
    EXPECT_TRUE(form().findChild<QLabel*>(q("Label7"))->text().startsWith(q("梯度进制：")));
}

TEST_F(Form202Test, ButtonsConvertAndKeysRestoreTheCaption) {
    text1->setText(q(" 1.50 "));
    press(2);
    EXPECT_EQ(text1->text(), q("1.5"));
    EXPECT_EQ(text2->text(), q("85.94366926962348131519723222"));
    EXPECT_EQ(label1->text(), q("弧度==>百分度"));
    QTest::keyClick(text1, Qt::Key_End);
    EXPECT_EQ(label1->text(), q("原始角度数"));

    text1->setText(q("90"));
    press(5);
    EXPECT_EQ(text2->text(), q("1.570796326794896619231321693"));
    EXPECT_TRUE(rec.messages.isEmpty());

    text1->setText(q("12.3075"));
    press(6);
    EXPECT_TRUE(text2->text().startsWith(q("12.51666")));
    ASSERT_EQ(rec.messages.size(), 1);
    EXPECT_TRUE(rec.messages[0].contains(q("[秒]")));
}

// The window's rewrite of the typed angle is one step that Ctrl+Z takes back.
TEST_F(Form202Test, RewrittenInputComesBackWithCtrlZ) {
    text1->setFocus();
    QTest::keyClicks(text1, q(" 1.50 "));
    press(2);
    EXPECT_EQ(text1->text(), q("1.5"));
    QTest::keyClick(text1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(text1->text(), q(" 1.50 "));
}

// At its smallest the window squeezes neither the buttons nor the help lines.
TEST_F(Form202Test, SmallestSizeClipsNothing) {
    form().resize(1, 1);
    QCoreApplication::processEvents();
    for (QPushButton* b : form().findChildren<QPushButton*>())
        EXPECT_GE(b->height(), b->sizeHint().height()) << qPrintable(b->objectName());
    for (QLabel* l : form().findChildren<QLabel*>()) {
        if (l->wordWrap()) {
            EXPECT_GE(l->height(), l->heightForWidth(l->width())) << qPrintable(l->objectName());
        }
        EXPECT_TRUE(form().rect().contains(l->geometry())) << qPrintable(l->objectName());
    }
}

}  // namespace
}  // namespace hc
