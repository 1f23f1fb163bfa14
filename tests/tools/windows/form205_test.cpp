#include "tools/windows/form205.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "tests/calculator/qt_app.h"
#include "tests/survey/print_qstring.h"
#include "tools/windows/form207.h"
#include "ui/text_box.h"

namespace hc {
namespace {

QString q(const char* s) { return QString::fromUtf8(s); }

TEST(Form205, ButtonsShowTheOperationsResultInTheOutputBox) {
    test::qtApp();
    Form205 form;
    form.show();
    form.matrixA()->setText(q("1, 2\r\n3, 4\r\n"));
    form.matrixB()->setText(q("0 1\r\n1 0\r\n"));
    form.findChild<QCheckBox*>(q("CheckFractions"))->setChecked(true);
    const struct {
        MatrixOp op;
        const char* number;
        const char* output;
    } cases[] = {
        {MatrixOp::Det, "", "行列式 det(A) = -2\n"},
        {MatrixOp::Mul, "", "A × B =\n2  1\n4  3\n"},
        {MatrixOp::Inverse, "", "逆矩阵 A⁻¹ =\n -2     1\n3/2  -1/2\n"},
        {MatrixOp::Power, "2", "A 的 2 次幂 =\n 7  10\n15  22\n"},
        {MatrixOp::Scale, "1/2", "k·A =（k = 1/2）\n1/2  1\n3/2  2\n"},
    };
    for (const auto& c : cases) {
        form.number()->setText(q(c.number));
        QPushButton* b = form.button(c.op);
        ASSERT_NE(b, nullptr);
        QTest::mouseClick(b, Qt::LeftButton);
        EXPECT_EQ(form.output()->toPlainText(), q(c.output)) << c.output;
    }
    // Decimal places and the angle unit are read at the click.
    form.findChild<QCheckBox*>(q("CheckFractions"))->setChecked(false);
    form.findChild<QComboBox*>(q("ComboDecimals"))->setCurrentIndex(2);
    form.findChild<QComboBox*>(q("ComboAngle"))->setCurrentIndex(1);
    form.matrixA()->setText(q("sin(30)  1/3\r\n0  3\r\n"));
    QTest::mouseClick(form.button(MatrixOp::Inverse), Qt::LeftButton);
    EXPECT_TRUE(form.output()->toPlainText().startsWith(q("逆矩阵 A⁻¹ =\n2  -0.22\n0   0.33\n")))
        << form.output()->toPlainText().toStdString();
}

TEST(Form205, EscCancelsALongComputationAndTheWindowGoesOn) {
    test::qtApp();
    Form205 form;
    form.show();
    QString big;
    for (int i = 0; i < 60; ++i) {
        for (int j = 0; j < 60; ++j)
            big += QStringLiteral("%1.%2 ").arg(1234567 + i * 61 + j * 7).arg(i + j + 101);
        big += QStringLiteral("\r\n");
    }
    form.matrixA()->setText(big);
    form.number()->setText(q("9999"));
    QElapsedTimer clock;
    clock.start();
    QTimer::singleShot(300, &form, [&form] {
        EXPECT_TRUE(form.running());
        EXPECT_EQ(form.output()->toPlainText(), ExactToolWindow::runningText());
        EXPECT_FALSE(form.button(MatrixOp::Det)->isEnabled());
        QTest::keyClick(&form, Qt::Key_Escape);
    });
    QTest::mouseClick(form.button(MatrixOp::Power), Qt::LeftButton);
    EXPECT_FALSE(form.running());
    EXPECT_EQ(form.output()->toPlainText(), cancelledMatrixText());
    EXPECT_LT(clock.elapsed(), 20000);
    EXPECT_TRUE(form.button(MatrixOp::Det)->isEnabled());
    form.matrixA()->setText(q("2"));
    QTest::mouseClick(form.button(MatrixOp::Det), Qt::LeftButton);
    EXPECT_EQ(form.output()->toPlainText(), q("行列式 det(A) = 2\n"));
}

TEST(Form207, SolvesTheTypedSystem) {
    test::qtApp();
    Form207 form;
    form.show();
    QTest::mouseClick(form.solveButton(), Qt::LeftButton);  // the example system
    EXPECT_EQ(form.output()->toPlainText(), q("唯一解：\nx1 = 1\nx2 = 2\nx3 = 3\n"));
    form.system()->setText(q("x + y = 1\r\n2x + 2y = 3\r\n"));
    QTest::mouseClick(form.solveButton(), Qt::LeftButton);
    EXPECT_EQ(form.output()->toPlainText(),
              q("无解：方程组互相矛盾。\n2×(方程 1) - 1×(方程 2) 得 0 = -1\n"));
    form.system()->setText(q("x + y = 1\r\nx * y = 3\r\n"));
    QTest::mouseClick(form.solveButton(), Qt::LeftButton);
    EXPECT_TRUE(form.output()->toPlainText().contains(q("第 2 个方程不是线性方程")));
}

}  // namespace
}  // namespace hc
