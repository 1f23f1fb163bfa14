// The main window in daily use: copying the result, keys typed in any control,
// Enter in the formula box, and how the boxes share a resized window.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <memory>

#include "calculator/form1.h"
#include "calculator/qt_translations.h"
#include "expr/calculate.h"
#include "tests/calculator/print.h"
#include "tests/calculator/shown_form1.h"
#include "ui/text_box.h"
#include "ui/widget_services.h"

namespace hc {
namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

class Form1DailyUseTest : public test::ShownForm1 {
protected:
    void SetUp() override {
        ShownForm1::SetUp();
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    }

    void calculate(const QString& formula) {
        form->text1()->setText(formula);
        form->calculate();
    }
    static QString clipboard() { return QGuiApplication::clipboard()->text(); }
    QWidget* focused() const { return QApplication::focusWidget(); }

    ui::RecordingServices rec;
};

TEST_F(Form1DailyUseTest, CtrlCInTheResultBoxCopiesThePlainNumberAndKeepsTheResult) {
    calculate(QStringLiteral("1/4"));
    const QString shown = form->text2()->text();
    ASSERT_TRUE(shown.endsWith(QStringLiteral("0.25_____________"))) << shown.toStdString();
    QTest::mouseClick(form->text2()->viewport(), Qt::LeftButton);
    ASSERT_EQ(focused(), form->text2());

    QTest::keyClick(form->text2(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard(), "0.25");
    // Select-all stays in the result box: the result is neither emptied nor left.
    QTest::keyClick(form->text2(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(form->text2()->text(), shown);
    EXPECT_EQ(focused(), form->text2());
    EXPECT_EQ(form->text1()->selLength(), 0);
    QTest::keyClick(form->text2(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard(), "0.25");

    // The approximate marker and fill and the exponent form after "F-E".
    calculate(QStringLiteral("1000000+ln(2)"));
    ASSERT_TRUE(form->text2()->text().startsWith(u("约数"))) << form->text2()->text().toStdString();
    form->text2()->setFocus();
    QTest::keyClick(form->text2(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard(), "1000000.69314718");
    form->keyPressed(kKeyFe);
    QTest::keyClick(form->text2(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard(), "1.00000069314718E+6");
}

TEST_F(Form1DailyUseTest, CtrlCInTheFormulaBoxCopiesTheSelectionOrElseTheResult) {
    calculate(QStringLiteral("2*21"));
    ASSERT_EQ(form->text1()->selLength(), 0);
    QTest::keyClick(form->text1(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard(), "42");

    form->text1()->setSelection(1, 1);  // " 2 * 21 " : the "2"
    QTest::keyClick(form->text1(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard(), "2");

    QTest::keyClick(form->text1(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(form->text1()->selStart(), 0);
    EXPECT_EQ(form->text1()->selLength(), form->text1()->text().size());
    EXPECT_FALSE(form->text2()->text().isEmpty());

    // An empty result box leaves the clipboard alone.
    form->text2()->setText(QString());
    form->text1()->setSelection(0, 0);
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    QTest::keyClick(form->text1(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard(), "kept");
}

TEST_F(Form1DailyUseTest, CtrlCInAnyOtherControlCopiesTheResult) {
    calculate(QStringLiteral("-3/2"));
    for (QWidget* w : std::initializer_list<QWidget*>{form->combo1(), form->command5(),
                                                      form->hmBut(7), button("dcButton13")}) {
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        w->setFocus();
        QTest::keyClick(w, Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(clipboard(), "-1.5") << w->objectName().toStdString();
    }
    EXPECT_EQ(form->combo1()->currentIndex(), 15);
}

TEST_F(Form1DailyUseTest, ResultMenuCopiesTheResultAndReadsChinese) {
    ASSERT_TRUE(installQtTranslations(test::qtApp(), QLocale(QLocale::Chinese, QLocale::China)))
        << "qt6-translations-l10n is missing (scripts/deps.sh)";
    calculate(QStringLiteral("7"));
    std::unique_ptr<QMenu> menu(form->resultContextMenu(QPoint(4, 4)));
    const QList<QAction*> actions = menu->actions();
    ASSERT_FALSE(actions.isEmpty());
    EXPECT_EQ(actions.first()->text(), u("复制结果"));
    // Qt's own entries, translated: "复制(&C)<tab>Ctrl+C", "全选<tab>Ctrl+A".
    QStringList texts;
    for (QAction* a : actions) texts << a->text().section(QLatin1Char('\t'), 0, 0);
    EXPECT_TRUE(texts.contains(u("复制(&C)"))) << texts.join('|').toStdString();
    EXPECT_TRUE(texts.contains(u("全选"))) << texts.join('|').toStdString();
    actions.first()->trigger();
    EXPECT_EQ(clipboard(), "7");
}

TEST_F(Form1DailyUseTest, AChoiceInTheDecimalsListGivesTheFocusBackToTheFormula) {
    type(QStringLiteral("1+"));
    QComboBox* combo = form->combo1();
    QTest::mouseClick(combo, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return combo->view()->isVisible(); }));
    QTest::keyClick(combo->view(), Qt::Key_Down);
    QTest::keyClick(combo->view(), Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !combo->view()->isVisible(); }));
    EXPECT_EQ(combo->currentIndex(), 16);
    EXPECT_TRUE(QTest::qWaitFor([&] { return focused() == form->text1(); }));

    QTest::keyClicks(focused(), QStringLiteral("2"));
    EXPECT_EQ(form->text1()->text(), "1+2");
    EXPECT_EQ(combo->currentIndex(), 16);
}

TEST_F(Form1DailyUseTest, TheAngleButtonGivesTheFocusBackToTheFormula) {
    type(QStringLiteral("sin(1"));
    QTest::mouseClick(form->command5(), Qt::LeftButton);
    EXPECT_EQ(form->command5()->text(), u("百分度.9999"));
    EXPECT_EQ(focused(), form->text1());
    QTest::keyClicks(focused(), QStringLiteral(")"));
    EXPECT_EQ(form->text1()->text(), "sin(1)");
}

// A printable key typed while another control has the focus goes into the
// formula at the caret the formula box had when it lost the focus.
TEST_F(Form1DailyUseTest, TypedCharactersGoIntoTheFormulaAtItsSavedCaret) {
    struct Case {
        const char* name;
        QWidget* control;
    };
    const Case cases[] = {
        {"Combo1", form->combo1()},
        {"Command5", form->command5()},
        {"Text2", form->text2()},
        {"HmBut(12)", form->hmBut(12)},
        {"dcButton14", button("dcButton14")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        form->text1()->setText(QStringLiteral("1+3"));
        form->text1()->setFocus();
        form->text1()->setSelection(1, 0);
        form->text2()->setText(QStringLiteral("result"));
        c.control->setFocus();
        ASSERT_EQ(form->savedSelection().start, 1);
        QTest::keyClick(c.control, Qt::Key_5);
        c.control->setFocus();
        QTest::keyClick(c.control, Qt::Key_Space);
        EXPECT_EQ(form->text1()->text(), "15 +3");
        EXPECT_EQ(form->text1()->selStart(), 3);
        EXPECT_EQ(focused(), form->text1());
        EXPECT_TRUE(form->text2()->text().isEmpty());
    }
    // Neither the list nor the buttons saw the keys.
    EXPECT_EQ(form->combo1()->currentIndex(), 15);
    EXPECT_EQ(form->command5()->text(), u("弧度角"));
    EXPECT_EQ(ui::openWindow("Form5"), nullptr);
}

TEST_F(Form1DailyUseTest, TypedCharacterReplacesTheSavedSelection) {
    type(QStringLiteral("1+2"));
    form->text1()->setSelection(2, 1);
    form->command5()->setFocus();
    QTest::keyClick(form->command5(), Qt::Key_7, Qt::NoModifier);
    EXPECT_EQ(form->text1()->text(), "1+7");
}

TEST_F(Form1DailyUseTest, EnterCalculatesAndShiftEnterBreaksTheLine) {
    const QString three = ZelXianShiJieGuo(QStringLiteral("3"), false, 15);
    type(QStringLiteral("1+"));
    QTest::keyClick(form->text1(), Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClick(form->text1(), Qt::Key_Enter, Qt::ShiftModifier | Qt::KeypadModifier);
    QTest::keyClicks(form->text1(), QStringLiteral("2"));
    EXPECT_EQ(form->text1()->text(), "1+\r\n\r\n2");
    EXPECT_TRUE(form->text2()->text().isEmpty());

    QTest::keyClick(form->text1(), Qt::Key_Return);
    EXPECT_EQ(form->text2()->text(), three);
    EXPECT_EQ(form->text1()->text(), " 1 + 2 ");
    EXPECT_EQ(form->text1()->selStart(), 7);
    EXPECT_EQ(focused(), form->text1());

    form->text1()->setText(QStringLiteral("2^10"));
    form->text2()->setText(QString());
    QTest::keyClick(form->text1(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(form->text2()->text(), ZelXianShiJieGuo(QStringLiteral("1024"), false, 15));
}

TEST_F(Form1DailyUseTest, EnterOnAFocusedButtonPressesIt) {
    button("dcButton11")->setFocus();
    QTest::keyClick(button("dcButton11"), Qt::Key_Return);
    EXPECT_EQ(form->text4()->text(), "18");
    EXPECT_EQ(form->text2()->text(), " 362880 ");
}

TEST_F(Form1DailyUseTest, CalculateButtonAndHelpNameTheKeys) {
    const QString tip = button("dcButton10")->toolTip();
    EXPECT_TRUE(tip.contains(u("回车"))) << tip.toStdString();
    EXPECT_TRUE(tip.contains(u("Shift+回车"))) << tip.toStdString();
    EXPECT_TRUE(helpText().contains(u("回车键（Enter"))) << helpText().toStdString();
    EXPECT_TRUE(helpText().contains(u("Shift+回车 换行")));
}

// The three boxes take the extra room; the keypad and the buttons keep their size.
TEST_F(Form1DailyUseTest, ResizingGrowsTheFormulaResultAndStatusBoxes) {
    QWidget* boxes[] = {form->text1(), form->text2(), form->text3()};
    QSize before[3];
    for (int i = 0; i < 3; ++i) before[i] = boxes[i]->size();
    const QSize keyBefore = form->hmBut(1)->size();
    const int calcHeight = button("dcButton10")->height();

    form->resize(form->size() + QSize(400, 300));
    QCoreApplication::processEvents();
    for (int i = 0; i < 3; ++i) {
        EXPECT_GE(boxes[i]->width(), before[i].width() + 300) << i;
        EXPECT_GT(boxes[i]->height(), before[i].height() + 20) << i;
    }
    EXPECT_EQ(form->hmBut(1)->height(), keyBefore.height());
    EXPECT_EQ(button("dcButton10")->height(), calcHeight);
}

TEST_F(Form1DailyUseTest, SmallestWindowKeepsEveryControlAndFiveStatusLines) {
    form->resize(1, 1);
    QCoreApplication::processEvents();
    const QSize smallest = form->size();
    EXPECT_EQ(smallest, form->minimumSize());
    // Reachable at 1366 x 768 and on a 2560 x 1440 screen at twice the scale
    // (1280 x 720), with room for a title bar and a task bar.
    EXPECT_LE(smallest.width(), 1280);
    EXPECT_LE(smallest.height(), 650);
    for (QWidget* w : form->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(form.get()) || w->parentWidget() != form.get()) continue;
        EXPECT_TRUE(form->rect().contains(w->geometry())) << w->objectName().toStdString();
        EXPECT_GE(w->width(), w->minimumSizeHint().width()) << w->objectName().toStdString();
    }
    form->text3()->setText(QStringLiteral("1\r\n2\r\n3\r\n4\r\n5"));
    QCoreApplication::processEvents();
    EXPECT_EQ(form->text3()->verticalScrollBar()->maximum(), 0);
    form->text3()->setText(QStringLiteral("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9"));
    QCoreApplication::processEvents();
    EXPECT_GT(form->text3()->verticalScrollBar()->maximum(), 0);  // the check can fail
}

// Coming back from a tool window keeps the result; browsing the history leaves the
// caret after the formula.
TEST_F(Form1DailyUseTest, ReturningKeepsTheResultAndHistoryPutsTheCaretAtTheEnd) {
    calculate(QStringLiteral("1+2"));
    const QString result = form->text2()->text();
    ASSERT_TRUE(result.contains(QStringLiteral("3.")));
    QWidget* tool = ui::showWindow(QStringLiteral("Form202"));
    ASSERT_NE(tool, nullptr);
    tool->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(tool));
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    EXPECT_EQ(form->text2()->text(), result);
    EXPECT_TRUE(form->text1()->hasFocus());
    delete tool;

    for (const char* name : {"dcButton11", "dcButton11", "dcButton12"}) {
        QTest::mouseClick(button(name), Qt::LeftButton);
        const int end = static_cast<int>(form->text1()->text().size());
        ASSERT_GT(end, 0);
        EXPECT_EQ(form->text1()->selStart(), end) << name;
        EXPECT_EQ(form->savedSelection().start, end) << name;
    }
    // A key typed then goes after the formula.
    const QString formula = form->text1()->text();
    QTest::keyClicks(form->text1(), QStringLiteral("+1"));
    EXPECT_EQ(form->text1()->text(), formula + QStringLiteral("+1"));
}

// A calculation that runs out of memory says so; the formula stays and the window
// goes on calculating.
TEST_F(Form1DailyUseTest, OutOfMemoryIsReportedAndTheWindowKeepsWorking) {
    form->setEvaluator([](const QString&, const CalcSettings&,
                          const std::atomic<bool>*) -> CalcResult { throw std::bad_alloc(); });
    calculate(QStringLiteral("2^3"));
    EXPECT_EQ(form->text3()->text(), Form1::outOfMemoryText());
    EXPECT_EQ(form->text1()->text(), QStringLiteral("2^3"));
    EXPECT_TRUE(form->text2()->text().isEmpty());
    ASSERT_EQ(rec.messages.size(), 1);
    EXPECT_EQ(rec.messages[0], Form1::outOfMemoryText());
    EXPECT_FALSE(form->calculating());
    EXPECT_TRUE(button("dcButton10")->isEnabled());

    form->setEvaluator(nullptr);
    calculate(QStringLiteral("2^3"));
    EXPECT_TRUE(form->text2()->text().contains(QStringLiteral("8.")));
}

}  // namespace
}  // namespace hc
