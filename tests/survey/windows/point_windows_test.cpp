#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>
#include <new>
#include <stdexcept>

#include "calculator/form1.h"
#include "survey/windows/form214.h"
#include "survey/windows/form216.h"
#include "tests/calculator/qt_app.h"
#include "tests/survey/print_qstring.h"
#include "ui/text_box.h"
#include "ui/widget_services.h"
#include "ui/window_kit.h"

namespace hc {
namespace {

class PointWindowsTest : public ::testing::Test {
protected:
    void SetUp() override { test::qtApp(); }
    void TearDown() override {
        for (const char* name : {"Form2", "Form214", "Form216"})
            if (QWidget* w = ui::openWindow(QString::fromLatin1(name))) delete w;
    }
    static QString label(QWidget* w, const char* name) {
        return w->findChild<QLabel*>(QString::fromLatin1(name))->text();
    }
    ui::RecordingServices rec;
};

TEST_F(PointWindowsTest, DistanceWindowStartsWithItsControls) {
    Form214 w;
    EXPECT_EQ(w.windowTitle(), QStringLiteral("距离方位"));
    EXPECT_EQ(label(&w, "Label1"), QStringLiteral("计算两点间距离和方位"));
    EXPECT_EQ(label(&w, "Label5"), QStringLiteral("用点号"));
    EXPECT_EQ(label(&w, "Label6"), QStringLiteral("作为原点计算其它点。"));
    EXPECT_EQ(label(&w, "Label4"), QStringLiteral("水平上用真北为0度，垂直向用平为0度。"));
    EXPECT_EQ(label(&w, "Label7"),
              QStringLiteral("序号  平距(米)   水平角(度)   斜距(米)   仰俯角(度)"));
    EXPECT_TRUE(label(&w, "Label2").startsWith(QStringLiteral("[序号]，纬度 X，经度 Y")));
    EXPECT_EQ(w.combo2()->count(), 1);
    EXPECT_EQ(w.combo2()->currentText(), QStringLiteral("0"));
    EXPECT_TRUE(w.check1()->isChecked());
    EXPECT_EQ(w.check1()->text(), QStringLiteral("坐标数据为公里网--米"));
    auto* print = w.findChild<QPushButton*>(QStringLiteral("Command2"));
    EXPECT_EQ(print->text(), QStringLiteral("打印屏幕"));
    EXPECT_EQ(print->toolTip(), QStringLiteral("安装打印机后才可执行打印功能"));
    EXPECT_EQ(w.command1()->text(), QStringLiteral("进行计算"));
    EXPECT_EQ(w.text1()->text().count(QStringLiteral("\r\n")), 3);
    EXPECT_TRUE(w.text2()->text().isEmpty());
    QTest::mouseClick(print, Qt::LeftButton);
    EXPECT_EQ(rec.printed, 1);
}

TEST_F(PointWindowsTest, DistanceWindowComputesFromTheNamedOrigin) {
    Form214 w;
    w.combo2()->setEditText(QStringLiteral("A001"));
    QTest::mouseClick(w.command1(), Qt::LeftButton);
    EXPECT_EQ(w.text2()->text(),
              QStringLiteral("A001 ,       0 ,         0 ,       0 ,        0\r\n"
                             " Z02 ,3244.223 ,246.134999 ,3244.225 ,-0.034908\r\n"
                             "  z3 ,3088.709 ,252.013294 ,3088.712 ,-0.035974\r\n"));
    EXPECT_TRUE(w.text1()->text().startsWith(QStringLiteral("A001 ,4395879.562 ,")));
    EXPECT_TRUE(rec.messages.isEmpty());

    w.combo2()->setEditText(QStringLiteral("nowhere"));
    QTest::mouseClick(w.command1(), Qt::LeftButton);
    EXPECT_EQ(w.combo2()->currentText(), QStringLiteral("0"));

    w.text1()->setText(QStringLiteral("A,1E+28,0,0\r\n测B,-1E+28,0,0\r\n"));
    QTest::mouseClick(w.command1(), Qt::LeftButton);
    EXPECT_EQ(w.text2()->text(), QStringLiteral(" "));
    EXPECT_EQ(rec.messages,
              (QStringList{QStringLiteral("数据中存在无用的字符或汉字！已被自动清除，计算继续进行。"
                                          "（共清除 1 个字符：测）"),
                           QStringLiteral("坐标数据存在错误，请修改后计算。")}));
}

TEST_F(PointWindowsTest, CheckBoxChoosesTheModeAndItsCaption) {
    Form214 w;
    QTest::mouseClick(w.check1(), Qt::LeftButton);
    EXPECT_FALSE(w.check1()->isChecked());
    EXPECT_EQ(w.check1()->text(), QStringLiteral("坐标数据为经纬度"));
    w.text1()->setText(QStringLiteral("1,2,3\r\n4,6,3\r\n"));
    w.combo2()->setEditText(QStringLiteral("2"));
    QTest::mouseClick(w.command1(), Qt::LeftButton);
    EXPECT_EQ(w.text2()->text(), QStringLiteral("1 ,554894.398 ,233.2323 ,554894.398 ,0\r\n"
                                                "2 ,         0 ,       0 ,         0 ,0\r\n"));
    QTest::mouseClick(w.check1(), Qt::LeftButton);
    EXPECT_EQ(w.check1()->text(), QStringLiteral("坐标数据为公里网--米"));

    Form216 p;
    QTest::mouseClick(p.check1(), Qt::LeftButton);
    EXPECT_EQ(p.check1()->text(), QStringLiteral("坐标数据为公里网--米"));
}

TEST_F(PointWindowsTest, ComboBoxListsThePointsWhenItGetsTheFocus) {
    Form214 w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.combo2()->setEditText(QStringLiteral("typed"));
    w.text1()->setText(QStringLiteral("A,1,2\r\n\r\n测B,3,4\r\n"));
    w.text1()->setFocus();
    w.combo2()->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    QStringList items;
    for (int i = 0; i < w.combo2()->count(); ++i) items << w.combo2()->itemText(i);
    EXPECT_EQ(items, (QStringList{QStringLiteral("0"), QStringLiteral("A"), QString(),
                                  QStringLiteral("B")}));
    EXPECT_EQ(w.combo2()->currentText(), QStringLiteral("typed"));
    EXPECT_EQ(rec.messages.size(), 1);
    // The box keeps the text the user typed.
    EXPECT_EQ(w.text1()->text(), QStringLiteral("A,1,2\r\n\r\n测B,3,4\r\n"));
}

// Clicking the point-name box with a name the cleaning shortens raises the removal
// message once; OK gives the focus back to the box, which must not raise it again.
// Real message boxes are shown; a timer presses OK on each and, after a few, routes
// further messages to the recorder so that a loop ends instead of hanging the suite.
TEST_F(PointWindowsTest, ComboBoxFocusRaisesItsMessageOnce) {
    for (const char* form : {"Form214", "Form216"}) {
        std::unique_ptr<PointToolWindow> w;
        if (form == std::string("Form214")) {
            w = std::make_unique<Form214>();
        } else {
            w = std::make_unique<Form216>();
        }
        w->text1()->setText(QStringLiteral("测点1,1,2,3\r\nBM#1,4,5,6\r\nC,7,8,9\r\n"));
        w->text1()->setFocus();
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        w->activateWindow();
        QCoreApplication::processEvents();
        ASSERT_TRUE(w->text1()->hasFocus()) << form;
        ASSERT_TRUE(rec.messages.isEmpty()) << form;

        ui::WidgetServices widgets;
        ui::Services* previous = ui::installServices(&widgets);
        int boxes = 0;
        bool focusBack = false;
        QTimer closer;
        closer.setInterval(30);
        QObject::connect(&closer, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            if (++boxes >= 4) ui::installServices(&rec);
            box->buttons().value(0)->click();
            // As the window system does when the box has gone: the tool window is
            // active again and its focus widget, the combo box, gets the focus back.
            QTimer::singleShot(0, w.get(), [&] {
                w->activateWindow();
                QApplication::setActiveWindow(w.get());
            });
        });
        closer.start();
        QTest::mouseClick(w->combo2()->lineEdit(), Qt::LeftButton);
        QTest::qWait(400);
        focusBack = w->combo2()->hasFocus();
        closer.stop();
        ui::installServices(previous);

        EXPECT_EQ(boxes, 1) << form;
        EXPECT_TRUE(focusBack) << form;
        EXPECT_EQ(w->combo2()->count(), 4) << form;
    }
}

// Printing runs out of memory; the next `failingBoxes` message boxes fail to open.
class FailingServices : public ui::RecordingServices {
public:
    int failingBoxes = 0;
    void printWindow(QObject*) override { throw std::bad_alloc(); }
    void messageBox(const QString& prompt, ui::Buttons buttons, const QString& title) override {
        if (failingBoxes > 0) {
            --failingBoxes;
            throw std::runtime_error("no box");
        }
        RecordingServices::messageBox(prompt, buttons, title);
    }
};

// A failure escaping a handler is shown once, and the window goes on computing.
TEST_F(PointWindowsTest, AFailingHandlerIsShownOnceAndTheWindowGoesOn) {
    FailingServices failing;
    for (const char* form : {"Form214", "Form216"}) {
        SCOPED_TRACE(form);
        const bool distance = form == std::string("Form214");
        std::unique_ptr<PointToolWindow> w;
        if (distance) {
            w = std::make_unique<Form214>();
        } else {
            w = std::make_unique<Form216>();
        }
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));

        failing.messages.clear();
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("Command2")), Qt::LeftButton);
        EXPECT_EQ(failing.messages, QStringList{ui::outOfMemoryNoticeText()});

        // The removal notice of the point list fails to show: the failure is told
        // instead, once, and coming back to the box raises nothing more.
        failing.messages.clear();
        failing.failingBoxes = 1;
        w->text1()->setText(w->text1()->text() + QStringLiteral("测点9,1,2,3\r\n"));
        w->text1()->setFocus();
        w->combo2()->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        w->text1()->setFocus();
        w->combo2()->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        EXPECT_EQ(failing.messages, QStringList{ui::handlerFailedText(QStringLiteral("no box"))});
        EXPECT_EQ(failing.failingBoxes, 0);

        failing.messages.clear();
        w->text2()->setText(QString());
        w->combo2()->setEditText(distance ? QStringLiteral("A001") : QStringLiteral("G4"));
        QTest::mouseClick(w->command1(), Qt::LeftButton);
        EXPECT_TRUE(distance
                        ? w->text2()->text().contains(QStringLiteral("Z02 ,    3244.223 ,"))
                        : w->text2()->text().contains(QStringLiteral("    倾角为 54.44082 度。")))
            << w->text2()->text().toStdString();
        EXPECT_TRUE(w->isVisible());
    }
}

TEST_F(PointWindowsTest, RemovedCharactersGiveOneMessagePerReading) {
    Form214 w;
    QString list;
    for (int i = 1; i <= 20; ++i) list += QStringLiteral("测点%1,%1,%1,1\r\n").arg(i);
    w.text1()->setText(list);
    w.combo2()->setEditText(QStringLiteral("1"));
    QTest::mouseClick(w.command1(), Qt::LeftButton);
    ASSERT_EQ(rec.messages.size(), 1);
    EXPECT_EQ(rec.messages[0],
              QStringLiteral("数据中存在无用的字符或汉字！已被自动清除，计算继续进行。"
                             "（共清除 40 个字符：测、点）"));
    EXPECT_TRUE(w.text2()->text().startsWith(QStringLiteral(" 1 ,")));
}

TEST_F(PointWindowsTest, EnterInThePointNameBoxComputes) {
    Form214 d;
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    d.combo2()->setFocus();
    d.combo2()->setEditText(QStringLiteral("A001"));
    QTest::keyClick(d.combo2()->lineEdit(), Qt::Key_Return);
    EXPECT_TRUE(d.text2()->text().startsWith(QStringLiteral("A001 ,       0 ,")));

    Form216 p;
    p.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&p));
    p.combo2()->setEditText(QStringLiteral("G4"));
    QTest::keyClick(p.combo2()->lineEdit(), Qt::Key_Enter);
    EXPECT_TRUE(p.text2()->text().contains(QStringLiteral("    倾角为 54.44082 度。")));
}

TEST_F(PointWindowsTest, NothingIsClippedAtTheSmallestSize) {
    for (const char* form : {"Form214", "Form216"}) {
        std::unique_ptr<PointToolWindow> w;
        if (form == std::string("Form214")) {
            w = std::make_unique<Form214>();
        } else {
            w = std::make_unique<Form216>();
        }
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        w->resize(200, 150);
        QCoreApplication::processEvents();
        EXPECT_GE(w->width(), w->px(9400)) << form;
        for (QWidget* child : w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (child->isHidden()) continue;
            EXPECT_TRUE(w->rect().contains(child->geometry()))
                << form << " " << child->objectName().toStdString();
        }
    }
}

TEST_F(PointWindowsTest, RewrittenPointListIsOneUndoStep) {
    Form214 d;
    Form216 p;
    for (PointToolWindow* w : std::initializer_list<PointToolWindow*>{&d, &p}) {
        const QString typed = QStringLiteral("A，1，2，3\r\nB,4,5,6\r\nC,7,8,10");
        w->text1()->setText(QString());
        w->text1()->setFocus();
        w->text1()->insertText(typed);
        QTest::mouseClick(w->command1(), Qt::LeftButton);
        EXPECT_TRUE(w->text1()->text().startsWith(QStringLiteral("A ,1 ,2 , 3 ,\r\n")));
        w->text1()->undo();
        EXPECT_EQ(w->text1()->text(), typed);
        w->text1()->redo();
        EXPECT_TRUE(w->text1()->text().startsWith(QStringLiteral("A ,1 ,2 , 3 ,\r\n")));
    }
}

TEST_F(PointWindowsTest, GeographicModeUsesTheChosenEllipsoid) {
    Form214 w;
    auto* heading = w.findChild<QLabel*>(QStringLiteral("Label7"));
    auto* datum = w.findChild<QComboBox*>(QStringLiteral("ComboDatum"));
    ASSERT_NE(datum, nullptr);
    EXPECT_FALSE(datum->isEnabled());
    QTest::mouseClick(w.check1(), Qt::LeftButton);
    EXPECT_TRUE(datum->isEnabled());
    EXPECT_FALSE(heading->text().contains(QStringLiteral("平距(米)")));
    // One degree of latitude north along the meridian of 114 degrees.
    w.text1()->setText(QStringLiteral("30,114,10\r\n31,114,10\r\n"));
    w.combo2()->setEditText(QStringLiteral("1"));
    w.setDatum(Datum::Wgs84);
    QTest::mouseClick(w.command1(), Qt::LeftButton);
    EXPECT_EQ(w.text2()->text(), QStringLiteral("1 ,         0 ,0 ,         0 ,0\r\n"
                                                "2 ,110860.926 ,0 ,110860.926 ,0\r\n"));
    w.setDatum(Datum::Beijing1954);
    QTest::mouseClick(w.command1(), Qt::LeftButton);
    EXPECT_TRUE(w.text2()->text().endsWith(QStringLiteral("2 ,110862.869 ,0 ,110862.869 ,0\r\n")))
        << w.text2()->text().toStdString();
}

TEST_F(PointWindowsTest, ResizingFollowsTheTwipRules) {
    Form214 w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.resize(w.px(14400), w.px(9000));
    const int text1Width = w.text1()->width();
    EXPECT_NEAR(text1Width, w.px(6000), 1);
    EXPECT_NEAR(w.text2()->width(), w.px(14400 - 6000 - 50), 2);
    EXPECT_EQ(w.text2()->x(), text1Width);
    EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("Label7"))->x(), text1Width);
    EXPECT_NEAR(w.text1()->height(), w.px(9000 - 1100) - w.text1()->y(), 2);
    EXPECT_EQ(w.text2()->height(), w.text1()->height());
    EXPECT_NEAR(w.findChild<QLabel*>(QStringLiteral("Label2"))->y(),
                w.text1()->y() + w.text1()->height() + w.px(50), 1);

    // The window is never narrower than its design width, where the wide rule holds.
    w.resize(w.px(8000), w.px(6000));
    EXPECT_EQ(w.size(), w.minimumSize());
    EXPECT_NEAR(w.text1()->width(), w.width() / 2.4, 2);
    EXPECT_EQ(w.text2()->x(), w.text1()->width());
}

TEST_F(PointWindowsTest, AttitudeWindowReportsAndFails) {
    Form216 w;
    EXPECT_EQ(w.windowTitle(), QStringLiteral("面体的产状"));
    EXPECT_EQ(label(&w, "Label1"), QStringLiteral("已知三点坐标求面体的产状"));
    EXPECT_EQ(label(&w, "Label6"), QStringLiteral("向下的三个点计算。"));
    EXPECT_EQ(label(&w, "Label7"), QStringLiteral("面体的产状"));
    EXPECT_EQ(w.text1()->text().count(QStringLiteral("\r\n")), 6);

    w.combo2()->setEditText(QStringLiteral("G4"));
    QTest::mouseClick(w.command1(), Qt::LeftButton);
    EXPECT_TRUE(w.text2()->text().startsWith(
        QStringLiteral("    用序号为  G4  G5  G6  的三点确定面体 。\r\n")));
    EXPECT_TRUE(w.text2()->text().contains(QStringLiteral("    倾角为 54.44082 度。")));

    // The last row goes on with rows 1 and 2; unchecking the box changes nothing.
    QTest::mouseClick(w.check1(), Qt::LeftButton);
    w.combo2()->setEditText(QStringLiteral("G6"));
    QTest::mouseClick(w.command1(), Qt::LeftButton);
    EXPECT_TRUE(w.text2()->text().startsWith(
        QStringLiteral("    用序号为  G6  A001  Z02  的三点确定面体 。\r\n")));

    w.text1()->setText(QStringLiteral("A,1,2,3\r\n"));
    QTest::mouseClick(w.command1(), Qt::LeftButton);
    EXPECT_EQ(w.text2()->text(), QStringLiteral("提供的坐标数据存在错误，请仔细修改后再计算。"));
    EXPECT_EQ(rec.messages, QStringList{QStringLiteral("点数少于3个，无法完成计算。")});
}

TEST_F(PointWindowsTest, MainWindowAndModuleMenuOpenBothWindowsOnce) {
    Form1 form1;
    for (const auto& [button, window] :
         {std::pair{"dcButton6", "Form214"}, std::pair{"dcButton7", "Form216"}}) {
        auto* b = form1.findChild<QPushButton*>(QString::fromLatin1(button));
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->text(), button == std::string("dcButton6") ? QStringLiteral("距离方位")
                                                                : QStringLiteral("面体产状"));
        QTest::mouseClick(b, Qt::LeftButton);
        QWidget* w = ui::openWindow(QString::fromLatin1(window));
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->windowModality(), Qt::NonModal);
        QTest::mouseClick(b, Qt::LeftButton);
        EXPECT_EQ(ui::openWindow(QString::fromLatin1(window)), w);
    }
    QWidget* f2 = ui::showWindow("Form2");
    for (const auto& [index, window] : {std::pair{13, "Form214"}, std::pair{15, "Form216"}}) {
        auto* b = f2->findChild<QPushButton*>(QStringLiteral("Command1(%1)").arg(index));
        ASSERT_TRUE(b->isEnabled());
        QWidget* before = ui::openWindow(QString::fromLatin1(window));
        QTest::mouseClick(b, Qt::LeftButton);
        EXPECT_EQ(ui::openWindow(QString::fromLatin1(window)), before);
    }
    EXPECT_EQ(f2->findChild<QPushButton*>(QStringLiteral("Command1(13)"))->text(),
              QStringLiteral("距离和方位"));
    EXPECT_EQ(f2->findChild<QPushButton*>(QStringLiteral("Command1(15)"))->text(),
              QStringLiteral("三点定产状"));
}

}  // namespace
}  // namespace hc
