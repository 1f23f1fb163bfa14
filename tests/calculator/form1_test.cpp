#include "calculator/form1.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "calculator/form3.h"
#include "engine/number.h"
#include "tests/calculator/print.h"
#include "tests/calculator/shown_form1.h"
#include "ui/text_box.h"
#include "ui/widget_services.h"

namespace hc {
namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

class Form1Test : public test::ShownForm1 {
protected:
    void click(QWidget* w) {
        ASSERT_NE(w, nullptr);
        QTest::mouseClick(w, Qt::LeftButton);
    }
    void key(int index) { click(form->hmBut(index)); }
    int caret() { return form->text1()->textCursor().position(); }

    ui::RecordingServices rec;
};

TEST_F(Form1Test, ControlsCarryTheirNames) {
    for (const char* name : {"Text1", "Text2", "Text3"})
        EXPECT_NE(form->findChild<ui::TextBox*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(form->text4()->objectName(), "Text4");
    EXPECT_EQ(form->text4()->text(), "018");
    const std::pair<const char*, const char*> buttons[] = {
        {"dcButton1", "数理统计"},  {"dcButton2", "角度变换"}, {"dcButton3", "进制换算"},
        {"dcButton4", "禾川题库"},  {"dcButton5", "坐标转换"}, {"dcButton6", "距离方位"},
        {"dcButton7", "面体产状"},  {"dcButton8", "最新版本"}, {"dcButton9", "清 零"},
        {"dcButton10", "计 算"},    {"dcButton11", "<--"},     {"dcButton12", "-->"},
        {"dcButton13", "修改变量"}, {"dcButton14", "帮 助"},   {"Command5", "弧度角"},
    };
    for (const auto& [name, caption] : buttons) {
        QPushButton* b = button(name);
        ASSERT_NE(b, nullptr) << name;
        EXPECT_EQ(b->text(), u(caption)) << name;
    }
    EXPECT_EQ(form->findChild<QLabel*>("Label4")->text(), u("禾川计算器"));
    EXPECT_EQ(form->findChild<QLabel*>("Label1")->text(), "0.10");
    EXPECT_EQ(ui::backgroundColour(form->command5()), QColor(255, 192, 128));
    EXPECT_EQ(
        form->command5()->toolTip(),
        u("角度的计量单位--度分秒.5959、弧度和百分度.9999。另外[梯度进制]参见[角度变换]模块。"));
    QComboBox* combo = form->findChild<QComboBox*>("Combo1");
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->count(), 29);
    EXPECT_EQ(combo->currentIndex(), 15);
    EXPECT_EQ(combo->toolTip(), u("小数位数"));
}

TEST_F(Form1Test, KeypadIsSixRowsOfTenInIndexOrder) {
    for (int i = 1; i <= 60; ++i) {
        QPushButton* b = form->findChild<QPushButton*>(QStringLiteral("HmBut(%1)").arg(i));
        ASSERT_NE(b, nullptr) << i;
        EXPECT_EQ(b, form->hmBut(i));
        EXPECT_EQ(b->text(), hmKey(i)->caption);
        if (i % 10 != 1) {
            EXPECT_GT(b->x(), form->hmBut(i - 1)->x()) << i;
        }
        if (i > 10) {
            EXPECT_GT(b->y(), form->hmBut(i - 10)->y()) << i;
        }
    }
}

TEST_F(Form1Test, ToolButtonsAreEnabledAndTheSiteLinksOpenPages) {
    for (const char* name :
         {"dcButton1", "dcButton2", "dcButton3", "dcButton5", "dcButton6", "dcButton7"}) {
        ASSERT_NE(button(name), nullptr) << name;
        EXPECT_TRUE(button(name)->isEnabled()) << name;
    }
    click(button("dcButton4"));
    click(button("dcButton8"));
    QTest::mouseClick(form->findChild<QLabel*>("Label4"), Qt::LeftButton);
    ASSERT_EQ(rec.openedPages.size(), 3);
    EXPECT_EQ(rec.openedPages[1], rec.openedPages[2]);  // "最新版本" opens the page of Label4
}

TEST_F(Form1Test, SinOnAnEmptyBoxPutsTheCaretBetweenTheParentheses) {
    key(31);
    EXPECT_EQ(form->text1()->text(), "sin()");
    EXPECT_EQ(caret(), 4);
    EXPECT_TRUE(form->text1()->hasFocus());
    EXPECT_EQ(form->text3()->text(), hmKey(31)->help);
    EXPECT_TRUE(form->text2()->text().isEmpty());
    key(1);
    EXPECT_EQ(form->text1()->text(), "sin(1)");
}

TEST_F(Form1Test, KeyReplacesTheSelectionSavedWhenTheBoxLostTheFocus) {
    type(QStringLiteral("1+2"));
    form->text1()->setSelection(2, 1);
    key(5);
    EXPECT_EQ(form->text1()->text(), "1+5");
    EXPECT_EQ(caret(), 3);
    EXPECT_EQ(form->savedSelection().start, 3);
}

TEST_F(Form1Test, SavedStartBeyondAShortenedFormulaIsClamped) {
    type(QStringLiteral("12345"));
    form->command5()->setFocus();  // the box saves start 5
    form->text1()->setText(QStringLiteral("12"));
    key(16);
    EXPECT_EQ(form->text1()->text(), "12*");
    EXPECT_EQ(caret(), 3);
}

TEST_F(Form1Test, RootAndLogKeysLeaveTheCaretWhereTheNextInputGoes) {
    type(QStringLiteral("8"));
    key(27);
    EXPECT_EQ(form->text1()->text(), "8^(1/)");
    EXPECT_EQ(caret(), 5);
    QTest::keyClicks(form->text1(), QStringLiteral("3"));
    EXPECT_EQ(form->text1()->text(), "8^(1/3)");
    form->text1()->setText(QString());
    form->text1()->setSelection(0, 0);
    key(28);
    EXPECT_EQ(form->text1()->text(), "( lg()/lg() )");
    EXPECT_EQ(caret(), 5);
}

TEST_F(Form1Test, KeysShowTheirHelpAndEmptyTheResult) {
    form->text2()->setText(QStringLiteral("stale"));
    key(3);
    EXPECT_EQ(form->text3()->text(), hmKey(1)->help);
    EXPECT_TRUE(form->text2()->text().isEmpty());
    key(4);
    EXPECT_EQ(form->text3()->text(), hmKey(2)->help);
    EXPECT_NE(hmKey(1)->help, hmKey(2)->help);
    key(55);
    EXPECT_EQ(form->text1()->text(), "34 v ");
}

TEST_F(Form1Test, RandomKeyInsertsTheDrawnToken) {
    rec.randomValues = {0.25, 0.1234567, 0.7654321};
    key(60);
    EXPECT_EQ(form->text1()->text(), "0.251234567765432");
    EXPECT_EQ(caret(), 17);
    EXPECT_EQ(form->lastRandomText(), "0.251234567765432");
    EXPECT_EQ(rec.reseeds, 3);
}

TEST_F(Form1Test, FeRewritesTheResultInScientificNotation) {
    const QString shown =
        QString(29, QLatin1Char(' ')) + QStringLiteral("3.14") + QString(13, QLatin1Char('_'));
    form->text2()->setText(shown);
    type(QStringLiteral("1"));
    key(50);
    EXPECT_EQ(form->text2()->text(), "3.14E0");
    EXPECT_EQ(form->text3()->text(), feHelpText());
    EXPECT_EQ(form->text1()->text(), "1");
    key(50);
    EXPECT_EQ(form->text2()->text(), "3.14E0");  // already in exponent form

    form->text2()->setText(QStringLiteral("0.00123"));
    key(50);
    EXPECT_EQ(form->text2()->text(), "1.23E-3");
}

TEST_F(Form1Test, FeOnAnEmptyOrBlankResultOnlyClearsItAndReturnsTheFocus) {
    for (const QString& blank : {QString(), QStringLiteral(" ")}) {
        form->text2()->setText(blank);
        form->hmBut(50)->setFocus();
        form->hmBut(50)->click();
        EXPECT_TRUE(form->text2()->text().isEmpty());
        EXPECT_TRUE(form->text1()->hasFocus());
        EXPECT_EQ(form->text3()->text(), feHelpText());
    }
}

TEST_F(Form1Test, BrowsingAfterStartUp) {
    click(button("dcButton11"));
    EXPECT_EQ(form->text1()->text(), u("示例   r * s * t * u * v * w * x * y * z "));
    EXPECT_EQ(form->text2()->text(), " 362880 ");
    EXPECT_EQ(form->text3()->text(), u("向前显示已经存储的算式，以便你重复利用算式进行计算。"));
    EXPECT_EQ(form->text4()->text(), "18");
    EXPECT_TRUE(form->text1()->hasFocus());
    click(button("dcButton11"));
    EXPECT_EQ(form->text4()->text(), "17");
    EXPECT_EQ(form->text2()->text(), u("约数        479001558.464642617773159716"));
    click(button("dcButton12"));
    EXPECT_EQ(form->text4()->text(), "18");
    EXPECT_EQ(form->text3()->text(), u("向后显示已经存储的算式，以便你重复利用算式进行计算。"));
    click(button("dcButton12"));
    EXPECT_EQ(form->text4()->text(), "1");
    EXPECT_TRUE(form->text1()->text().startsWith(u("示例  -1。115671")));
    EXPECT_EQ(form->text2()->text(), "2.4059120570021821219456683533");
}

TEST_F(Form1Test, ClearStoresTheFormulaAndBrowsingBringsItBack) {
    type(QStringLiteral("1+2"));
    form->text2()->setText(QStringLiteral("x"));
    click(button("dcButton9"));
    EXPECT_TRUE(form->text1()->text().isEmpty());
    EXPECT_TRUE(form->text2()->text().isEmpty());
    EXPECT_EQ(form->text3()->text(),
              u("直角可表示为90度0分0秒(90.0000度)、90.0000百分度、π/2（=1.570796327）。45度59分59."
                "99秒可表示为45.595999度(60进制)。"));
    EXPECT_EQ(form->text4()->text(), "19");
    EXPECT_EQ(form->savedSelection().start, 0);
    click(button("dcButton11"));
    EXPECT_EQ(form->text1()->text(), "1+2");
    EXPECT_EQ(form->text2()->text(), " ");
}

TEST_F(Form1Test, ClearingAnEmptyBoxStoresNothingButResetsBrowsing) {
    click(button("dcButton11"));
    click(button("dcButton11"));  // now at 17
    form->text1()->setText(QString());
    click(button("dcButton9"));
    EXPECT_EQ(form->text4()->text(), "17");
    EXPECT_EQ(form->history().size(), 18);
    EXPECT_EQ(form->history().browseCount(), 0);
    click(button("dcButton11"));
    EXPECT_EQ(form->text4()->text(), "17");  // first press after a clear does not move
}

TEST_F(Form1Test, DecimalPlacesListSetsTheDisplayDecimals) {
    QComboBox* combo = form->combo1();
    combo->setCurrentIndex(28);
    EXPECT_EQ(form->settings().displayDecimals, 28);
    combo->setCurrentIndex(0);
    EXPECT_EQ(form->settings().displayDecimals, 0);
    combo->setCurrentIndex(15);
    EXPECT_EQ(form->settings().displayDecimals, 15);
}

TEST_F(Form1Test, AngleButtonCyclesCaptionUnitAndColour) {
    const std::tuple<const char*, int, QColor> steps[] = {
        {"百分度.9999", kDecimalDegrees, QColor(255, 192, 255)},
        {"度分秒.5959", kPackedDms, QColor(192, 255, 255)},
        {"弧度角", kRadians, QColor(255, 192, 192)},
    };
    for (const auto& [caption, unit, colour] : steps) {
        click(form->command5());
        EXPECT_EQ(form->command5()->text(), u(caption));
        EXPECT_EQ(form->settings().angleUnit, unit);
        EXPECT_EQ(ui::backgroundColour(form->command5()), colour);
        EXPECT_TRUE(form->text3()->text().startsWith(u("循环改变角度的计量单位")));
        EXPECT_TRUE(form->text3()->text().contains("\r\n"));
    }
}

TEST_F(Form1Test, StatusBoxHandsTheFocusToTheFormulaBox) {
    form->text3()->setFocus();
    EXPECT_TRUE(form->text1()->hasFocus());
}

TEST_F(Form1Test, KeyReachingTheWindowEmptiesTheResult) {
    form->text2()->setText(QStringLiteral("x"));
    form->command5()->setFocus();
    QTest::keyClick(form.get(), Qt::Key_F5);
    EXPECT_TRUE(form->text2()->text().isEmpty());
    EXPECT_TRUE(form->text1()->hasFocus());
}

TEST_F(Form1Test, VariableEditorIsShownOnceAndReturningKeepsTheResult) {
    click(button("dcButton13"));
    QWidget* f3 = ui::openWindow("Form3");
    ASSERT_NE(f3, nullptr);
    EXPECT_FALSE(f3->isModal());
    EXPECT_TRUE(form->text3()->text().startsWith(u("一个直角可表示为")));
    click(button("dcButton13"));
    EXPECT_EQ(ui::openWindow("Form3"), f3);
    ASSERT_TRUE(QTest::qWaitForWindowActive(f3));

    form->text2()->setText(QStringLiteral("result"));
    form->combo1()->setCurrentIndex(3);
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    EXPECT_EQ(form->text2()->text(), "result");
    EXPECT_TRUE(form->text1()->hasFocus());
    EXPECT_EQ(form->combo1()->currentIndex(), 3);
}

TEST_F(Form1Test, ReturningFromAnotherWindowOrProgramKeepsTheResult) {
    form->text2()->setText(QStringLiteral("kept"));
    QApplication::setActiveWindow(nullptr);  // the user switches to another program
    QWidget* f3 = ui::showWindow("Form3");
    ASSERT_TRUE(QTest::qWaitForWindowActive(f3));
    EXPECT_EQ(form->text2()->text(), "kept");

    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    EXPECT_EQ(form->text2()->text(), "kept");
    EXPECT_TRUE(form->text1()->hasFocus());

    // Nor does coming straight back from another program change anything.
    form->text2()->setText(QStringLiteral("kept"));
    QApplication::setActiveWindow(nullptr);
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    EXPECT_EQ(form->text2()->text(), "kept");
}

TEST_F(Form1Test, HelpButtonOpensTheHelpWindow) {
    click(button("dcButton14"));
    QWidget* f5 = ui::openWindow("Form5");
    ASSERT_NE(f5, nullptr);
    EXPECT_EQ(f5->windowTitle(), u("禾川计算器 --- 帮助文件"));
    QPushButton* back = f5->findChild<QPushButton*>("Command6");
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->text(), u("返回  主程序"));
    click(back);
    EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
}

}  // namespace
}  // namespace hc
