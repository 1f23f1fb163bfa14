// The calculate button of the main window, from typing to the laid-out result.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "calculator/form1.h"
#include "calculator/form3.h"
#include "engine/number.h"
#include "tests/calculator/print.h"
#include "tests/calculator/shown_form1.h"
#include "ui/text_box.h"
#include "ui/widget_services.h"

namespace hc {
namespace {

QString u(const char* s) { return QString::fromUtf8(s); }
QString spaces(int n) { return QString(n, QLatin1Char(' ')); }
QString fill(int n) { return QString(n, QLatin1Char('_')); }

class CalculateButtonTest : public test::ShownForm1 {
protected:
    // Types the formula into an empty box and presses "计 算".
    QString calculate(const QString& formula) {
        form->text1()->setText(QString());
        form->text1()->setFocus();
        bool ascii = true;
        for (QChar c : formula) ascii = ascii && c.unicode() < 128;
        if (ascii) {
            QTest::keyClicks(form->text1(), formula);
        } else {
            form->text1()->setText(formula);  // key events cannot type Chinese characters
        }
        QTest::mouseClick(form->findChild<QPushButton*>("dcButton10"), Qt::LeftButton);
        return form->text2()->text();
    }

    ui::RecordingServices rec;
};

TEST_F(CalculateButtonTest, DecimalPointStandsInColumn31) {
    const std::pair<const char*, QString> cases[] = {
        {"(1+2)*3", spaces(29) + "9." + fill(15)}, {"3.14", spaces(29) + "3.14" + fill(13)},
        {"42", spaces(28) + "42." + fill(15)},     {"-0.5", spaces(28) + "-0.5" + fill(14)},
        {"", spaces(29) + "0." + fill(15)},
    };
    for (const auto& [formula, shown] : cases) {
        EXPECT_EQ(calculate(u(formula)), shown) << formula;
        EXPECT_EQ(calcLog().errorCount, 0);
        EXPECT_EQ(calcLog().precisionLimit, 29);
    }
}

TEST_F(CalculateButtonTest, FormulaBoxShowsTheSpacedFormulaAndRepeats) {
    const QString first = calculate(QStringLiteral("2*(3+4)"));
    EXPECT_EQ(form->text1()->text(), QStringLiteral(" 2 *  ( 3 + 4 )  "));
    EXPECT_EQ(first, spaces(28) + "14." + fill(15));
    EXPECT_EQ(form->text1()->textCursor().position(), form->text1()->text().size());
    EXPECT_EQ(form->savedSelection().start, form->text1()->text().size());
    EXPECT_TRUE(form->text1()->hasFocus());
    QTest::mouseClick(form->findChild<QPushButton*>("dcButton10"), Qt::LeftButton);
    EXPECT_EQ(form->text2()->text(), first);
    EXPECT_EQ(form->text3()->text(),
              u("\u3000\u3000请在重要计算时仔细核对运算成果，多次运算后尾部采用"
                "近似值表示。如有计算错误，给您带来不便请谅解，向程序员报错可"
                "给予物质奖励。"));
}

TEST_F(CalculateButtonTest, ZeroDecimalsEndsIntegersWithAPoint) {
    form->combo1()->setCurrentIndex(0);
    EXPECT_EQ(calculate(QStringLiteral("6*7")), spaces(28) + "42.");
    form->combo1()->setCurrentIndex(2);
    EXPECT_EQ(calculate(QStringLiteral("1/4")), spaces(29) + "0.25");
    form->combo1()->setCurrentIndex(15);
}

TEST_F(CalculateButtonTest, ExampleWithMemoryVariablesFollowsTheEditor) {
    QTest::mouseClick(form->findChild<QPushButton*>("dcButton11"), Qt::LeftButton);
    EXPECT_EQ(calculate(form->text1()->text()), spaces(24) + "362880." + fill(15));
    auto* f3 = qobject_cast<Form3*>(ui::showWindow("Form3"));
    ASSERT_NE(f3, nullptr);
    QTest::mouseClick(f3->findChild<QPushButton*>("Command1"), Qt::LeftButton);
    EXPECT_EQ(calculate(u("示例   r * s * t * u * v * w * x * y * z ")),
              spaces(29) + "1." + fill(15));
    QTest::mouseClick(f3->findChild<QPushButton*>("Command2"), Qt::LeftButton);
    EXPECT_EQ(calculate(u("示例   r * s * t * u * v * w * x * y * z ")),
              spaces(24) + "362880." + fill(15));
}

TEST_F(CalculateButtonTest, PrecisionLossIsMarkedApproximateAndExplained) {
    const QString shown = calculate(QStringLiteral("1000000+ln(2)"));
    EXPECT_TRUE(shown.startsWith(u("约数"))) << shown.toStdString();
    EXPECT_EQ(shown.indexOf(QLatin1Char('.')),
              30 - 2);  // "约数" takes four columns in two characters
    EXPECT_TRUE(shown.contains(QStringLiteral("1000000.69314718"))) << shown.toStdString();
    EXPECT_FALSE(shown.contains(QLatin1Char('_')));
    EXPECT_EQ(form->text3()->text(),
              u("在运算中，某函数运算结果的有效数字较少，经混合运算后，可能从第16位有效数字后不能满"
                "足精度要求，后部应于删除。"));
}

TEST_F(CalculateButtonTest, NoticesOfTheCalculationAreMessageBoxesInOrder) {
    form->command5()->click();
    form->command5()->click();  // 度分秒.5959
    ASSERT_EQ(form->settings().angleUnit, kPackedDms);
    rec.messages.clear();
    const QString shown = calculate(QStringLiteral("sin(12.3075)+cth(0)+cos(12.7)"));
    EXPECT_TRUE(shown.contains(QStringLiteral("10000000000000000000000000001")))
        << shown.toStdString();
    EXPECT_EQ(rec.messages,
              (QStringList{u("12.3075 度分秒格式的角度数据--[秒] 数据不能大于60！超出后按60计算。"
                             "请检查是否角度类型选择错误。"),
                           u("cth(x)为无穷大，采用近似计算....1E+28。"),
                           u("12.7 度分秒格式的角度数据--[分秒] 数据不能大于59599999....！超出后按"
                             "60计算。请检查是否角度类型选择错误。")}));
    EXPECT_EQ(rec.titles, QStringList(3, QString()));
    form->command5()->click();
}

TEST_F(CalculateButtonTest, ErrorsShowTheFirstMessageAndTheLog) {
    const QString shown = calculate(QStringLiteral("1/0"));
    EXPECT_FALSE(shown.contains(QLatin1Char('_')));
    EXPECT_TRUE(shown.contains(u("除数为0错误"))) << shown.toStdString();
    EXPECT_TRUE(form->text3()->text().contains(u("除数为0错误")));
    EXPECT_FALSE(form->text3()->text().startsWith(QLatin1Char(' ')));
    EXPECT_EQ(calcLog().errorCount, 0);  // the calculation kept a log of its own
    EXPECT_EQ(calcLog().precisionLimit, 29);

    // Several adjacent operators record no first message: the generic text is
    // shown, not the message of the calculation before.
    calculate(QStringLiteral("(1+2"));
    EXPECT_EQ(calculate(QStringLiteral("1*/2*/3")),
              u("算式中存在严重错误，请查找原因，修改算式后再计算。"));
    EXPECT_TRUE(form->text3()->text().contains(u("算式中存在多个运算符相临的错误，请修改算式。")));

    EXPECT_EQ(calculate(QStringLiteral("1+1")), spaces(29) + "2." + fill(15));
}

TEST_F(CalculateButtonTest, ExponentResultGetsNoFill) {
    const QString shown = calculate(QStringLiteral("2.1e125*1"));
    EXPECT_TRUE(shown.startsWith(spaces(29) + "2.1E+125")) << shown.toStdString();
    EXPECT_FALSE(shown.contains(QLatin1Char('_')));
}

TEST_F(CalculateButtonTest, FeAfterACalculation) {
    calculate(QStringLiteral("3.14"));
    QTest::mouseClick(form->hmBut(50), Qt::LeftButton);
    EXPECT_EQ(form->text2()->text(), "3.14E0");
}

}  // namespace
}  // namespace hc
