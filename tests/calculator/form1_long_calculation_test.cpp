// The main window while a long formula is pasted and calculated: the window keeps
// handling its events, shows that it is calculating, and Esc or closing stops it.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QEventLoop>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

#include "calculator/form1.h"
#include "expr/calculate.h"
#include "tests/calculator/shown_form1.h"
#include "ui/text_box.h"
#include "ui/widget_services.h"

namespace hc {
namespace {

// 1+1+...+1 of about n characters: the value is the number of ones.
QString sumOfOnes(qsizetype n, qsizetype* ones) {
    QString s;
    s.reserve(n + 2);
    s.append(u'1');
    while (s.size() + 2 <= n) s.append(QStringLiteral("+1"));
    *ones = (s.size() + 1) / 2;
    return s;
}

// (1+(1+(...(1)...))) with `levels` brackets.
QString nestedBrackets(int levels) {
    QString s;
    s.reserve(4 * levels + 1);
    for (int i = 0; i < levels; ++i) s += QStringLiteral("(1+");
    return s + u'1' + QString(levels, u')');
}

class Form1LongCalculation : public test::ShownForm1 {};

TEST_F(Form1LongCalculation, MegabyteFormulaIsPastedTypedIntoAndCalculatedWhileTheWindowRuns) {
    qsizetype ones = 0;
    const QString formula = sumOfOnes(1'000'000, &ones);
    QApplication::clipboard()->setText(formula);
    ui::TextBox* box = form->text1();
    box->setFocus();

    // What the window shows while the calculation runs, seen from its own thread.
    QString shownResult;
    bool calcEnabled = true;
    bool keyEnabled = true;

    // Each step comes from the event loop, as a user's would, with the window's
    // painting in between. How long the steps take is measured by the text box
    // benchmarks; here an event queued before the calculation must be handled while it
    // runs, which a blocked window thread could not do.
    QEventLoop steps;
    QTimer::singleShot(30, form.get(), [&] {
        box->paste();
        QTimer::singleShot(30, form.get(), [&] {
            QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
            QTest::keyClicks(box, QStringLiteral("+1"));
            box->setSelection(500'000, 0);  // between a "+" and a "1"
            QTest::keyClicks(box, QStringLiteral("1+"));
            QTest::keyClick(box, Qt::Key_Home, Qt::ControlModifier);
            QTest::keyClicks(box, QStringLiteral("1+"));
            QTimer::singleShot(30, form.get(), [&] {
                QTimer::singleShot(0, form.get(), [&] {
                    shownResult = form->text2()->toPlainText();
                    calcEnabled = button("dcButton10")->isEnabled();
                    keyEnabled = form->hmBut(1)->isEnabled();
                });
                form->calculate();
                steps.quit();
            });
        });
    });
    steps.exec();

    EXPECT_EQ(shownResult, calculatingText());
    EXPECT_FALSE(calcEnabled);
    EXPECT_FALSE(keyEnabled);
    EXPECT_EQ(form->text2()->text().trimmed(),
              QString::number(ones + 3) + u'.' + QString(15, u'_'));
    EXPECT_TRUE(button("dcButton10")->isEnabled());
    EXPECT_TRUE(form->hmBut(1)->isEnabled());
    EXPECT_FALSE(form->text1()->isReadOnly());
    EXPECT_FALSE(form->calculating());
}

TEST_F(Form1LongCalculation, EscCancelsAndTheWindowIsReadyAgain) {
    // Deep brackets, a megabyte: still running at the first event after the start.
    const QString formula = nestedBrackets(250'000);
    form->text1()->setText(formula);
    form->text3()->setText(QStringLiteral("before"));

    bool wasRunning = false;
    QTimer::singleShot(0, form.get(), [&] {
        wasRunning = form->calculating();
        QTest::keyClick(form->text1(), Qt::Key_Escape);
    });
    form->calculate();

    EXPECT_TRUE(wasRunning);
    EXPECT_FALSE(form->calculating());
    EXPECT_EQ(form->text1()->text(), formula);
    EXPECT_TRUE(form->text2()->text().isEmpty());
    EXPECT_EQ(form->text3()->text(), cancelledStatusText());
    EXPECT_TRUE(button("dcButton10")->isEnabled());
    EXPECT_FALSE(form->text1()->isReadOnly());

    // The next calculation runs as usual.
    form->text1()->setText(QStringLiteral("(1+2)*3"));
    form->calculate();
    EXPECT_EQ(form->text2()->text().trimmed(), QStringLiteral("9.") + QString(15, u'_'));
}

TEST_F(Form1LongCalculation, ClosingTheWindowCancels) {
    const QString formula = nestedBrackets(250'000);
    form->text1()->setText(formula);
    QTimer::singleShot(0, form.get(), [&] { form->close(); });
    form->calculate();
    EXPECT_FALSE(form->calculating());
    EXPECT_EQ(form->text3()->text(), cancelledStatusText());
    EXPECT_EQ(form->text1()->text(), formula);
}

}  // namespace
}  // namespace hc
