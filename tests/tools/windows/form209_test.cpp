#include "tools/windows/form209.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "tests/calculator/qt_app.h"
#include "tests/survey/print_qstring.h"
#include "tools/regression.h"
#include "ui/text_box.h"
#include "ui/tool_registry.h"
#include "ui/window_ids.h"

namespace hc {
namespace {

QString q(const char* s) { return QString::fromUtf8(s); }

TEST(Form209, IsTheModuleMenusRegressionButton) {
    test::qtApp();
    const ui::ToolWindow* row = ui::toolAtMenuIndex(8);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->id, window_ids::kForm209);
    EXPECT_EQ(row->menuCaption, q("线性回归"));
    EXPECT_TRUE(row->helpSection.startsWith(q("【线性回归】")));
}

TEST(Form209, FitsTheDataAsTheOperationDoes) {
    test::qtApp();
    Form209 form;
    form.show();
    auto* run = form.findChild<QPushButton*>(q("Command1"));
    auto* y = form.findChild<QLineEdit*>(q("TextY"));
    auto* x = form.findChild<QLineEdit*>(q("TextX"));
    auto* labels = form.findChild<QComboBox*>(q("Combo1"));
    auto* degree = form.findChild<QComboBox*>(q("Combo3"));
    auto* mode = form.findChild<QComboBox*>(q("Combo4"));
    auto* residuals = form.findChild<QCheckBox*>(q("Check2"));
    auto* digits = form.findChild<QSpinBox*>(q("Spin1"));
    ASSERT_TRUE(run && y && x && labels && degree && mode && residuals && digits);
    EXPECT_EQ(form.windowTitle(), q("线性回归"));

    // The example data as loaded.
    QTest::mouseClick(run, Qt::LeftButton);
    RegressionInput in;
    in.data = form.dataBox()->text();
    // The box ends its lines with CR LF.
    EXPECT_EQ(form.outputBox()->text(),
              runRegressionInput(in).text.replace(u'\n', QStringLiteral("\r\n")));
    EXPECT_TRUE(form.outputBox()->text().contains(q("第 2 列")))
        << form.outputBox()->text().toStdString();

    // Labels, a quadratic, decimals and residuals read from the controls.
    form.dataBox()->setText(q("a*1*1\r\nb*4*2\r\nc*9*3\r\nd*16*4\r\n"));
    labels->setCurrentIndex(1);
    degree->setCurrentIndex(1);
    mode->setCurrentIndex(1);
    digits->setValue(2);
    residuals->setChecked(true);
    QTest::mouseClick(run, Qt::LeftButton);
    const QString out = form.outputBox()->text();
    EXPECT_TRUE(out.contains(q("2 次多项式"))) << out.toStdString();
    EXPECT_TRUE(out.contains(q("结果保留 2 位小数"))) << out.toStdString();
    EXPECT_TRUE(out.contains(q("拟合值与残差"))) << out.toStdString();

    // A bad column box gives its message in the output box.
    x->setText(q("b"));
    QTest::mouseClick(run, Qt::LeftButton);
    EXPECT_TRUE(form.outputBox()->text().contains(q("“x 列”")))
        << form.outputBox()->text().toStdString();
    EXPECT_FALSE(form.isComputing());
    EXPECT_TRUE(run->isEnabled());
}

TEST(Form209, EscStopsALongFit) {
    test::qtApp();
    Form209 form;
    form.show();
    // A degree-10 polynomial of many rows with long decimals takes a while.
    QString data;
    for (int i = 0; i < 200000; ++i)
        data += QStringLiteral("%1.123456789*%2.987654321\r\n").arg(i % 997).arg(i);
    form.dataBox()->setText(data);
    form.findChild<QComboBox*>(q("Combo3"))->setCurrentIndex(9);
    QTimer::singleShot(50, &form, [&form] {
        EXPECT_TRUE(form.isComputing());
        QTest::keyClick(&form, Qt::Key_Escape);
    });
    form.compute();
    EXPECT_EQ(form.outputBox()->text(), regressionCancelledText() + QStringLiteral("\r\n"));
    EXPECT_FALSE(form.isComputing());
}

}  // namespace
}  // namespace hc
