// The coordinate conversion window in daily use: nothing the user typed is lost or
// cut short, the zone label agrees with the setting, only results move back, and
// the buttons do what they say.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "survey/coord_window_ops.h"
#include "survey/windows/form213.h"
#include "survey/windows/single_point_window.h"
#include "survey/zones.h"
#include "tests/calculator/qt_app.h"
#include "tests/survey/print_qstring.h"
#include "ui/text_box.h"
#include "ui/widget_services.h"

namespace hc {
namespace {

class Form213DailyUseTest : public ::testing::Test {
protected:
    void TearDown() override {
        for (const char* name : {"Form1", "Form2", "Form5", "Form213", "FormDanLie", "FormGps"})
            if (QWidget* o = ui::openWindow(QString::fromLatin1(name))) delete o;
    }
    template <typename T>
    T* child(const char* name) {
        T* c = w.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    QPushButton* button(const char* name) { return child<QPushButton>(name); }
    void click(GkConversion op) { QTest::mouseClick(w.button(op), Qt::LeftButton); }
    void showActive() {
        w.show();
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    }
    // Types `s` into the input box, replacing what it held.
    void typeInput(const QString& s) {
        w.text1()->setText(QString());
        w.text1()->setFocus();
        w.text1()->insertText(s);
    }

    QApplication& app = test::qtApp();
    ui::RecordingServices rec;
    Form213 w;
};

TEST_F(Form213DailyUseTest, EveryRowIsConvertedAndTheTypedTextComesBackWithCtrlZ) {
    QString typed = QStringLiteral("点表 2026\r\n");
    // Latitudes 39°40′01″ ... stepping a second, all valid packed angles.
    for (int i = 1; i <= 250; ++i)
        typed += QStringLiteral("P%1 , 39.%2 , 117.5017873 , 1.5\r\n")
                     .arg(i)
                     .arg(4000 + (i / 60) * 100 + i % 60);
    typeInput(typed);
    click(GkConversion::GeoToZone3);
    EXPECT_EQ(w.text1()->text().count(QStringLiteral("\r\n")), 250);
    EXPECT_TRUE(w.text1()->text().contains(QStringLiteral("P250 , ")));
    EXPECT_TRUE(w.text2()->text().contains(QStringLiteral("\r\nP250 , ")));
    EXPECT_TRUE(rec.messages.isEmpty());

    QTest::keyClick(w.text1(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.text1()->text(), typed);

    // "没有发现坐标数据！" takes the place of the input as one step too.
    const QString noData = QStringLiteral("nothing 1;2\r\n");
    typeInput(noData);
    click(GkConversion::Zone3ToGeo);
    EXPECT_EQ(w.text1()->text(), noCoordinateDataText());
    QTest::keyClick(w.text1(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.text1()->text(), noData);

    // And Label1's normalising.
    const QString wide = QStringLiteral("Ａ１，３９．４１，１１７．５０");
    typeInput(wide);
    QTest::mouseClick(child<QLabel>("Label1"), Qt::LeftButton);
    EXPECT_EQ(w.text1()->text(), QStringLiteral("A1,39.41,117.50"));
    w.text1()->undo();
    EXPECT_EQ(w.text1()->text(), wide);
}

TEST_F(Form213DailyUseTest, ZoneLabelAlwaysAgreesWithTheMeridian) {
    showActive();
    auto* combo3 = child<QComboBox>("Combo3");
    QLabel* label4 = child<QLabel>("Label4");
    combo3->setFocus();
    combo3->setEditText(QStringLiteral("120"));
    w.text1()->setFocus();  // Tab out of the box
    EXPECT_EQ(label4->text(), ZelDuiYingDaiHao(120));
    EXPECT_DOUBLE_EQ(w.state().meridian, 120);

    QTest::mouseClick(child<QLabel>("Label3"), Qt::LeftButton);
    EXPECT_EQ(combo3->currentText(), QStringLiteral("117度-6"));
    EXPECT_EQ(label4->text(), ZelDuiYingDaiHao(117));
    EXPECT_DOUBLE_EQ(w.state().meridian, 117);

    // A conversion reads the box and leaves the label on what it used.
    combo3->setEditText(QStringLiteral("123"));
    w.convert(GkConversion::GeoToZone3);
    EXPECT_DOUBLE_EQ(w.state().meridian, 123);
    EXPECT_EQ(label4->text(), ZelDuiYingDaiHao(123));
}

TEST_F(Form213DailyUseTest, SwapTakesBackOnlyResultRows) {
    const QString help = w.state().helpText;
    // The help text alone holds no result: the input stays, a message says why.
    const QString input = w.text1()->text();
    QTest::mouseClick(button("CommandJiaoHuan"), Qt::LeftButton);
    EXPECT_EQ(w.text1()->text(), input);
    ASSERT_EQ(rec.messages.size(), 1);
    EXPECT_EQ(rec.messages[0], noResultRowsText());

    click(GkConversion::GeoToZone3);
    click(GkConversion::GeoToZone6);
    const QString output = w.text2()->text();
    ASSERT_TRUE(output.endsWith(help));
    QTest::mouseClick(button("CommandJiaoHuan"), Qt::LeftButton);
    const QString back = w.text1()->text();
    EXPECT_EQ(back.count(QStringLiteral("\r\n")), 8);  // two blocks of four rows
    EXPECT_FALSE(back.contains(QStringLiteral("常用的地图")));
    EXPECT_FALSE(back.contains(QStringLiteral("500,000米")));
    EXPECT_FALSE(back.contains(QStringLiteral("﹌﹌﹌")));
    // The rows read back as the same points: the 3-degree block converts to itself.
    typeInput(back.section(QStringLiteral("\r\n"), 4, 7) + QStringLiteral("\r\n"));
    w.text2()->setText(QString());
    click(GkConversion::Zone3ToGeo);
    EXPECT_TRUE(w.text2()->text().contains(QStringLiteral("39.4125536")));
    // The undo step brings back what was there before the swap.
    typeInput(QStringLiteral("kept\r\n"));
    w.text2()->setText(output);
    QTest::mouseClick(button("CommandJiaoHuan"), Qt::LeftButton);
    w.text1()->undo();
    EXPECT_EQ(w.text1()->text(), QStringLiteral("kept\r\n"));
}

TEST_F(Form213DailyUseTest, SmallestSizeClipsNothing) {
    showActive();
    const QSize least = w.minimumSize();
    EXPECT_GE(least.width(), w.px(9600));
    EXPECT_GE(least.height(), w.px(7095));
    w.resize(200, 150);
    EXPECT_EQ(w.size(), least);
    const QRect inside = w.rect();
    for (QWidget* c : w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!c->isVisible()) continue;
        EXPECT_TRUE(inside.contains(c->geometry())) << c->objectName().toStdString();
        if (auto* b = qobject_cast<QPushButton*>(c)) {
            EXPECT_GE(b->width(), b->fontMetrics().horizontalAdvance(b->text()))
                << b->objectName().toStdString();
        }
    }
    EXPECT_GT(w.text1()->height(), w.px(3000));
    // The boxes do not cover the buttons below them.
    EXPECT_LE(w.text1()->geometry().bottom(), button("CommandPrint")->y());
}

TEST_F(Form213DailyUseTest, TabLeavesTheInputBox) {
    showActive();
    const QString input = w.text1()->text();
    for (Qt::KeyboardModifiers mods :
         {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::ControlModifier)}) {
        w.text1()->setFocus();
        QTest::keyClick(w.text1(), Qt::Key_Tab, mods);
        EXPECT_FALSE(w.text1()->hasFocus());
        EXPECT_EQ(w.text1()->text(), input);
    }
}

TEST_F(Form213DailyUseTest, ButtonsDoWhatTheySay) {
    // GPS: the datum conversion window opens, nothing else changes.
    const QString input = w.text1()->text();
    QTest::mouseClick(button("CommandGps"), Qt::LeftButton);
    EXPECT_TRUE(rec.messages.isEmpty());
    QWidget* gps = ui::openWindow(QStringLiteral("FormGps"));
    ASSERT_NE(gps, nullptr);
    EXPECT_EQ(gps->windowTitle(), QStringLiteral("GPS坐标转换"));
    EXPECT_EQ(w.text1()->text(), input);

    // The single-point converter.
    QTest::mouseClick(button("CommandDanLie"), Qt::LeftButton);
    auto* single = qobject_cast<SinglePointWindow*>(ui::openWindow(QStringLiteral("FormDanLie")));
    ASSERT_NE(single, nullptr);
    EXPECT_EQ(single->windowTitle(), QStringLiteral("单列式坐标转换"));

    // The link buttons open pages of the manual shipped with the program.
    QTest::mouseClick(button("CommandWeb1"), Qt::LeftButton);
    QTest::mouseClick(button("CommandWeb2"), Qt::LeftButton);
    ASSERT_EQ(rec.openedPages.size(), 2);
    for (const QString& page : rec.openedPages) {
        const QUrl url(page);
        EXPECT_TRUE(url.isLocalFile()) << qPrintable(page);
        EXPECT_TRUE(QFileInfo(url.toLocalFile()).isFile()) << qPrintable(page);
        EXPECT_FALSE(page.contains(QStringLiteral("example.org")));
    }
    EXPECT_EQ(QUrl(rec.openedPages[1]).fragment(), QStringLiteral("survey"));
}

// The single-point window shows what the list window gives for the same point.
TEST_F(Form213DailyUseTest, SinglePointWindowAgreesWithTheListWindow) {
    SinglePointWindow s;
    s.fromBox()->setCurrentIndex(0);
    s.northField()->setText(QStringLiteral("39.4125536"));
    s.eastField()->setText(QStringLiteral("117.5017873"));
    s.heightField()->setText(QStringLiteral("23.441"));
    QTest::mouseClick(s.convertButton(), Qt::LeftButton);
    EXPECT_EQ(s.resultNorth(2)->text(), QStringLiteral("4395570.260"));
    EXPECT_EQ(s.resultEast(2)->text(), QStringLiteral("39571909.407"));
    EXPECT_TRUE(s.resultNorth(2)->isReadOnly());

    const struct {
        GkConversion op;
        int form;
    } cases[] = {{GkConversion::GeoToZone15, 1}, {GkConversion::GeoToZone6, 3}};
    auto* check = w.findChild<QWidget*>(QStringLiteral("Check1"));
    QTest::mouseClick(check, Qt::LeftButton);  // no name column
    for (const auto& c : cases) {
        w.text1()->setText(QStringLiteral("39.4125536 , 117.5017873 , 23.441\r\n"));
        w.text2()->setText(QString());
        click(c.op);
        const QString row = w.text2()->text().section(QStringLiteral("\r\n"), 1, 1);
        EXPECT_EQ(row, s.resultNorth(c.form)->text() + QStringLiteral(" , ") +
                           s.resultEast(c.form)->text() + QStringLiteral(" , 23.441 ") +
                           s.resultRemark(c.form)->text());
    }

    // Back from the 3-degree grid to latitude and longitude.
    s.fromBox()->setCurrentIndex(2);
    s.northField()->setText(QStringLiteral("4395570.260"));
    s.eastField()->setText(QStringLiteral("39571909.407"));
    s.convert();
    EXPECT_TRUE(s.resultNorth(0)->text().startsWith(QStringLiteral("39.41255")))
        << qPrintable(s.resultNorth(0)->text());
    EXPECT_TRUE(s.resultEast(0)->text().startsWith(QStringLiteral("117.50178")))
        << qPrintable(s.resultEast(0)->text());

    s.northField()->setText(QStringLiteral("abc"));
    s.eastField()->clear();
    s.convert();
    EXPECT_EQ(s.status()->text(), noCoordinateDataText());
    EXPECT_TRUE(s.resultNorth(1)->text().isEmpty());
}

// A message box raised by the coordinate window is centred on it, not on the main
// window.
TEST_F(Form213DailyUseTest, MessageBoxIsCentredOnTheRaisingWindow) {
    ui::WidgetServices real;
    ui::Services* previous = ui::installServices(&real);
    QWidget main;
    main.setGeometry(0, 0, 200, 150);
    main.show();
    w.move(300, 200);
    showActive();
    QWidget* parent = nullptr;
    QPoint centre;
    QTimer::singleShot(50, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        parent = box->parentWidget();
        centre = box->geometry().center();
        box->done(0);
    });
    // The output box holds the help text only: nothing to take back, a message.
    QTest::mouseClick(button("CommandJiaoHuan"), Qt::LeftButton);
    ui::installServices(previous);
    EXPECT_EQ(parent, &w);
    EXPECT_TRUE(w.frameGeometry().contains(centre)) << centre.x() << "," << centre.y();
}

}  // namespace
}  // namespace hc
