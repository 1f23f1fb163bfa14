#include "tools/windows/calculus_window.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "tests/calculator/qt_app.h"
#include "tests/survey/print_qstring.h"
#include "ui/services.h"

namespace hc {
namespace {

QString q(const char* s) { return QString::fromUtf8(s); }

template <typename T>
T* child(QWidget& w, const char* name) {
    T* c = w.findChild<T*>(q(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

TEST(CalculusWindow, IntegralShowsWhatTheOperationGives) {
    test::qtApp();
    ui::RecordingServices recorder;
    CalculusWindow w(CalculusWindow::Mode::Integral);
    w.show();
    EXPECT_EQ(w.objectName(), q("Form212"));
    child<QLineEdit>(w, "Text1")->setText(q("sin(x)"));
    child<QLineEdit>(w, "Text2")->setText(q("0"));
    child<QLineEdit>(w, "Text3")->setText(q("180"));
    child<QComboBox>(w, "Combo1")->setCurrentIndex(1);
    child<QSpinBox>(w, "Spin1")->setValue(20);
    QTest::mouseClick(child<QPushButton>(w, "Command1"), Qt::LeftButton);
    CalcSettings deg;
    deg.angleUnit = kDecimalDegrees;
    deg.displayDecimals = 20;
    EXPECT_EQ(child<QPlainTextEdit>(w, "TextOut")->toPlainText(),
              integrate(q("sin(x)"), q("0"), q("180"), deg).output);
    EXPECT_TRUE(child<QPlainTextEdit>(w, "TextOut")
                    ->toPlainText()
                    .contains(q("积分值 = 114.59155902616464175")));
    EXPECT_TRUE(recorder.messages.isEmpty());
}

TEST(CalculusWindow, FailureGoesToTheBoxAndAMessage) {
    test::qtApp();
    ui::RecordingServices recorder;
    CalculusWindow w(CalculusWindow::Mode::DerivativeAndRoot);
    w.show();
    EXPECT_EQ(w.objectName(), q("Form211"));
    child<QLineEdit>(w, "Text1")->setText(q("x^2+1"));
    child<QLineEdit>(w, "Text3")->setText(q("0"));
    child<QLineEdit>(w, "Text4")->setText(q("1"));
    QTest::mouseClick(child<QPushButton>(w, "Command3"), Qt::LeftButton);
    const QString out = child<QPlainTextEdit>(w, "TextOut")->toPlainText();
    EXPECT_TRUE(out.contains(q("同号"))) << out.toStdString();
    ASSERT_EQ(recorder.messages.size(), 1);
    EXPECT_EQ(recorder.messages[0], out);

    child<QLineEdit>(w, "Text2")->setText(q("2"));
    QTest::mouseClick(child<QPushButton>(w, "Command2"), Qt::LeftButton);
    EXPECT_TRUE(child<QPlainTextEdit>(w, "TextOut")->toPlainText().contains(q("f″(x) = 2\n")))
        << child<QPlainTextEdit>(w, "TextOut")->toPlainText().toStdString();
}

TEST(CalculusWindow, PropagationReadsItsLines) {
    test::qtApp();
    ui::RecordingServices recorder;
    CalculusWindow w(CalculusWindow::Mode::Propagation);
    w.show();
    EXPECT_EQ(w.objectName(), q("Form204"));
    child<QLineEdit>(w, "Text1")->setText(q("r*s"));
    child<QPlainTextEdit>(w, "Text2")->setPlainText(q("r=10±0.1\n\ns=20+-0.2\nr,s=0.5\n"));
    QTest::mouseClick(child<QPushButton>(w, "Command1"), Qt::LeftButton);
    const QString out = child<QPlainTextEdit>(w, "TextOut")->toPlainText();
    EXPECT_TRUE(out.contains(q("中误差 m = ±3.46410161513775"))) << out.toStdString();
    child<QPlainTextEdit>(w, "Text2")->setPlainText(q("r=10±0.1\nzz"));
    QTest::mouseClick(child<QPushButton>(w, "Command1"), Qt::LeftButton);
    EXPECT_TRUE(child<QPlainTextEdit>(w, "TextOut")->toPlainText().contains(q("第 2 行")));
}

TEST(CalculusWindow, EscStopsALongIntegralAndTheWindowGoesOn) {
    test::qtApp();
    ui::RecordingServices recorder;
    CalculusWindow w(CalculusWindow::Mode::Integral);
    w.show();
    QStringList terms;
    for (int i = 0; i < 2000; ++i) terms << q("sin(x)*x");
    child<QLineEdit>(w, "Text1")->setText(terms.join(u'+'));
    QTimer::singleShot(100, &w, [&w] { QTest::keyClick(&w, Qt::Key_Escape); });
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(child<QPushButton>(w, "Command1"), Qt::LeftButton);
    // Some 200 samples of this formula take seconds; stopped, it returns at once.
    EXPECT_LT(clock.elapsed(), 1500);
    EXPECT_EQ(child<QPlainTextEdit>(w, "TextOut")->toPlainText(), q("计算已取消。"));
    EXPECT_TRUE(child<QPushButton>(w, "Command1")->isEnabled());
    child<QLineEdit>(w, "Text1")->setText(q("x"));
    QTest::mouseClick(child<QPushButton>(w, "Command1"), Qt::LeftButton);
    EXPECT_TRUE(child<QPlainTextEdit>(w, "TextOut")->toPlainText().contains(q("积分值 = 0.5\n")));
}

}  // namespace
}  // namespace hc
