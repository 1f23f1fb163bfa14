#include "tools/windows/form210.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "tests/calculator/qt_app.h"
#include "tests/survey/print_qstring.h"

namespace hc {
namespace {

QString q(const char* s) { return QString::fromUtf8(s); }

TEST(Form210, SplitsTheTypedNumber) {
    test::qtApp();
    Form210 form;
    form.show();
    auto* text1 = form.findChild<QLineEdit*>(q("Text1"));
    auto* text2 = form.findChild<QLineEdit*>(q("Text2"));
    auto* text3 = form.findChild<QLineEdit*>(q("Text3"));
    auto* run = form.findChild<QPushButton*>(q("Command1"));
    ASSERT_TRUE(text1 && text2 && text3 && run);
    EXPECT_EQ(form.windowTitle(), q("原数分解为整数和小数部分"));
    EXPECT_EQ(text2->text(), q("整数部分"));
    EXPECT_EQ(text3->text(), q("小数部分"));
    EXPECT_EQ(run->text(), q("运  行"));

    const std::array<std::array<const char*, 3>, 3> cases{
        {{"-0.5", "-0", "5"}, {"12.75", "12", "75"}, {"", "0", "0"}}};
    for (const auto& c : cases) {
        text1->setText(q(c[0]));
        QTest::mouseClick(run, Qt::LeftButton);
        EXPECT_EQ(text2->text(), q(c[1])) << c[0];
        EXPECT_EQ(text3->text(), q(c[2])) << c[0];
    }
}

}  // namespace
}  // namespace hc
