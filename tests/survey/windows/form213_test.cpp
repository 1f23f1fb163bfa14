#include "survey/windows/form213.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <chrono>
#include <string>

#include "calculator/form1.h"
#include "survey/gk_batch.h"
#include "tests/calculator/qt_app.h"
#include "tests/survey/print_qstring.h"
#include "tests/survey/temp_file.h"
#include "ui/text_box.h"
#include "ui/widget_services.h"

namespace hc {
namespace {

const QString kHeader3 = QStringLiteral("﹌﹌﹌以下为３度带北京系公里网坐标……单位【米】﹌﹌﹌\r\n");
const QString kMeridianMessage = QStringLiteral(
    "你选择的中央子午线经度有错误，请重新选择。应在正负180之间，并且能被 1.5 整除。");

class Form213Test : public ::testing::Test {
protected:
    void TearDown() override {
        for (const char* name : {"Form1", "Form2", "Form5", "Form213"})
            if (QWidget* win = ui::openWindow(QString::fromLatin1(name))) delete win;
    }
    template <typename T>
    T* child(const char* name) {
        T* c = w.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    QLabel* label(const char* name) { return child<QLabel>(name); }
    QPushButton* button(const char* name) { return child<QPushButton>(name); }
    QComboBox* combo(const char* name) { return child<QComboBox>(name); }
    void click(GkConversion op) { QTest::mouseClick(w.button(op), Qt::LeftButton); }
    // The block the last conversion put on top of `before`.
    QString newBlock(const QString& before) {
        const QString out = w.text2()->text();
        EXPECT_TRUE(out.endsWith(before));
        return out.left(out.size() - before.size());
    }

    QApplication& app = test::qtApp();
    ui::RecordingServices rec;
    Form213 w;
};

TEST_F(Form213Test, StartsWithItsControlsTextsAndState) {
    EXPECT_EQ(w.windowTitle(), QStringLiteral("坐标换算"));
    EXPECT_EQ(w.text1()->text(), Form213::sampleInput());
    EXPECT_TRUE(w.text1()->text().startsWith(
        QStringLiteral("A01 , 39.4125536 , 117.5017873 , 23.441\r\nＺ2 , ")));
    const QString help = w.text2()->text();
    EXPECT_EQ(help.count(QStringLiteral("\r\n")), 33);
    const QStringList lines = help.split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines[0],
              QStringLiteral("常用的地图坐标系统有经纬度、北京坐标系统、西安坐标系统等。"));
    EXPECT_EQ(lines[3], QString(59, u'*'));
    EXPECT_EQ(lines[10], QString(57, u'*'));
    EXPECT_EQ(lines[29], QString(60, u'*'));
    EXPECT_EQ(lines[19],
              QStringLiteral("3--01带    9--02带   15--03带......117--20带    123--21带。  "));
    EXPECT_EQ(lines[32], QStringLiteral(" "));
    EXPECT_EQ(w.state().helpText, help);
    EXPECT_EQ(w.text1()->toolTip(),
              QStringLiteral("原始数据，可以含有非数据行，如有序号必须用字母或汉字开头。"));
    EXPECT_EQ(w.text2()->toolTip(), QStringLiteral("数据输出，根据用户设置的模式，输出运算成果。"));

    const struct {
        GkConversion op;
        const char* name;
        const char* caption;
        bool tip;
    } buttons[] = {
        {GkConversion::Zone15To3, "Command1to3", "1.5度带 -> 3度带", false},
        {GkConversion::Zone3To6, "Command3to6", "3度带 -> 6度带", false},
        {GkConversion::Zone3To15, "Command3to1", "3度带 -> 1.5度带", false},
        {GkConversion::Zone6To3, "Command6to3", "6度带 -> 3度带", false},
        {GkConversion::Zone15ToGeo, "Command1toJ", "1.5度带 -> 经纬度", true},
        {GkConversion::Zone3ToGeo, "Command3toJ", "3度带 -> 经纬度", true},
        {GkConversion::Zone6ToGeo, "Command6toJ", "6度带 -> 经纬度", true},
        {GkConversion::GeoToZone15, "CommandJto1", "经纬度 -> 1.5度带", false},
        {GkConversion::GeoToZone3, "CommandJto3", "经纬度 -> 3度带", false},
        {GkConversion::GeoToZone6, "CommandJto6", "经纬度 -> 6度带", false},
    };
    for (const auto& b : buttons) {
        QPushButton* p = button(b.name);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(w.button(b.op), p) << b.name;
        EXPECT_EQ(p->text(), QString::fromUtf8(b.caption));
        EXPECT_EQ(
            p->toolTip(),
            b.tip ? QStringLiteral("当数据输入完毕，参数调整正确后，执行坐标转换。") : QString())
            << b.name;
    }

    QComboBox* c3 = combo("Combo3");
    EXPECT_TRUE(c3->isEditable());
    EXPECT_EQ(c3->count(), 21);
    EXPECT_EQ(c3->currentIndex(), 8);
    EXPECT_EQ(c3->currentText(), QStringLiteral("117度-6"));
    EXPECT_EQ(c3->itemText(17), QStringLiteral("112.5度"));
    EXPECT_EQ(label("Label3")->text(), QStringLiteral("中央子午线经度"));
    EXPECT_EQ(label("Label3")->toolTip(), QStringLiteral("-１８０到 +１８０ ， 默认为１１７度"));
    EXPECT_EQ(label("Label4")->text(), QStringLiteral("对应带号:20 39 77  "));
    EXPECT_TRUE(
        label("Label4")->toolTip().startsWith(QStringLiteral("{中央子午线经度}决定了坐标分带号")));
    EXPECT_EQ(
        c3->toolTip(),
        QStringLiteral("{中央子午线经度}决定了坐标转换时{公里网的带号}、是否进行跨分带计算。"));
    EXPECT_TRUE(combo("Combo4")->toolTip().startsWith(QStringLiteral("根据你选择的类型（参数）")));
    EXPECT_EQ(button("CommandPrint")->toolTip(),
              QStringLiteral("将本页面的所有数据打印输出，安装打印机后才可执行打印功能"));
    QComboBox* c4 = combo("Combo4");
    EXPECT_EQ(c4->currentText(), QStringLiteral("北京"));
    EXPECT_EQ(c4->itemText(1), QStringLiteral("西安"));
    EXPECT_EQ(c4->itemText(2), QStringLiteral("WGS"));
    EXPECT_EQ(label("Label5")->text(), QStringLiteral("公里网"));
    QComboBox* c5 = combo("Combo5");
    EXPECT_EQ(c5->count(), 27);
    EXPECT_EQ(c5->currentText(), QStringLiteral(","));
    EXPECT_EQ(c5->itemText(25), QStringLiteral("Tab"));
    EXPECT_EQ(c5->toolTip(),
              QStringLiteral("修改分隔符可能造成数据混乱，平时请不要随意修改分隔符！"));
    EXPECT_EQ(label("Label21")->text(), QStringLiteral("分隔符"));
    auto* option = child<QRadioButton>("Option1");
    EXPECT_EQ(option->text(), QStringLiteral("X Y Z模式"));
    EXPECT_EQ(ui::backgroundColour(option), QColor(255, 224, 192));
    auto* check = child<QCheckBox>("Check1");
    EXPECT_TRUE(check->isChecked());
    EXPECT_EQ(check->text(), QStringLiteral("带序号输出"));
    EXPECT_EQ(check->toolTip(), QStringLiteral("输出成果是否带有序号一栏"));
    EXPECT_EQ(option->toolTip(),
              QStringLiteral("数据结构为序号、纬度、经度、高程...，纬度在经度前面。"));
    EXPECT_EQ(label("Label1")->text(), QStringLiteral(" 坐标转换模块"));
    EXPECT_EQ(label("Label1")->toolTip(), QStringLiteral("转换原始数据中的相近字母"));
    EXPECT_EQ(button("CommandJiaoHuan")->text(), QStringLiteral("文本１ ← 文本２"));
    EXPECT_EQ(button("CommandPrint")->text(), QStringLiteral("打印屏幕"));
    EXPECT_EQ(button("CommandHelp")->text(), QStringLiteral("帮 助"));
    EXPECT_EQ(button("CommandJsq")->text(), QStringLiteral("禾川计算器"));
    EXPECT_EQ(button("CommandQiTa")->text(), QStringLiteral("其它功能"));
    EXPECT_EQ(button("CommandQiTa")->toolTip(), QStringLiteral("多种功能模块"));
    EXPECT_EQ(button("CommandGps")->text(), QStringLiteral("GPS坐标转换"));
    EXPECT_EQ(button("CommandDanLie")->text(), QStringLiteral("单列式坐标转换"));

    EXPECT_TRUE(w.state().withNames);
    EXPECT_EQ(w.state().separator, QStringLiteral(","));
    EXPECT_EQ(w.state().mode, AxisOrder::XYZ);
    EXPECT_EQ(w.state().datum, Datum::Beijing1954);
    EXPECT_EQ(w.state().meridian, 117);
}

TEST_F(Form213Test, SampleToThreeDegreesAndBlocksAccumulateNewestFirst) {
    const QString help = w.text2()->text();
    click(GkConversion::GeoToZone3);
    EXPECT_EQ(w.text1()->text(), QStringLiteral("A01  , 39.4125536 , 117.5017873 , 23.441\r\n"
                                                "Ｚ2  , 39.4041 , 117.4814 , 19.838\r\n"
                                                "例3  , 39.4053387 , 117.4815132 , 19.851\r\n"
                                                "D004 , 39.4053387 , 117.4815132 , 19.851\r\n"));
    const QString block3 = newBlock(help);
    EXPECT_TRUE(block3.startsWith(
        kHeader3 + QStringLiteral("A01  , 4395570.260 , 39571909.407 , 23.441 \r\n")))
        << block3.toStdString();
    EXPECT_EQ(block3.count(QStringLiteral("\r\n")), 6);  // header, four rows, the empty line
    EXPECT_TRUE(rec.messages.isEmpty());

    // The next block goes on top; the 6 degree zone 20 on the same meridian.
    const QString before = w.text2()->text();
    click(GkConversion::GeoToZone6);
    const QString block6 = newBlock(before);
    EXPECT_TRUE(
        block6.startsWith(QStringLiteral("﹌﹌﹌以下为６度带北京系公里网坐标……单位【米】﹌﹌﹌\r\n"
                                         "A01  , 4395570.260 , 20571909.407 , 23.441 \r\n")))
        << block6.toStdString();
    EXPECT_TRUE(w.text2()->text().endsWith(block3 + help));
}

TEST_F(Form213Test, OrderToggleSwapsColumnsAndNotesTheDetectedOrder) {
    auto* option = child<QRadioButton>("Option1");
    QTest::mousePress(option, Qt::LeftButton);
    QTest::mouseRelease(option, Qt::LeftButton);
    EXPECT_EQ(option->text(), QStringLiteral("Y X Z模式"));
    EXPECT_EQ(option->toolTip(),
              QStringLiteral("数据结构为序号、经度、纬度、高程...，经度在纬度前面。"));
    EXPECT_EQ(ui::backgroundColour(option), QColor(192, 255, 255));

    const QString help = w.text2()->text();
    click(GkConversion::GeoToZone3);
    EXPECT_EQ(w.state().mode, AxisOrder::YXZ);
    EXPECT_TRUE(w.text1()->text().endsWith(
        QStringLiteral("D004 , 39.4053387 , 117.4815132 , 19.851\r\n\r\n\r\n"
                       "备注∴原始数据按纬度在前 X Y Z 型处理∴")))
        << w.text1()->text().toStdString();
    EXPECT_TRUE(newBlock(help).startsWith(
        kHeader3 + QStringLiteral("A01  , 39571909.407 , 4395570.260 , 23.441 \r\n")));

    // Zone to zone in Y X Z mode reads and writes the easting first.
    w.text1()->setText(QStringLiteral("P,77571908.236,4395494.607\r\n"));
    w.text2()->setText(QString());
    click(GkConversion::Zone15To3);
    EXPECT_TRUE(w.text2()->text().startsWith(kHeader3 + QStringLiteral("P , 395")))
        << w.text2()->text().toStdString();
    EXPECT_TRUE(w.text2()->text().contains(QStringLiteral(" , 4395")));

    QTest::mousePress(option, Qt::LeftButton);
    EXPECT_EQ(option->text(), QStringLiteral("X Y Z模式"));
    EXPECT_EQ(option->toolTip(),
              QStringLiteral("数据结构为序号、纬度、经度、高程...，纬度在经度前面。"));
    EXPECT_EQ(ui::backgroundColour(option), QColor(255, 224, 192));
}

TEST_F(Form213Test, CheckBoxDropsTheNameColumn) {
    auto* check = child<QCheckBox>("Check1");
    QTest::mouseClick(check, Qt::LeftButton);
    EXPECT_EQ(check->text(), QStringLiteral("无序号输出"));
    w.text2()->setText(QString());
    click(GkConversion::GeoToZone3);
    EXPECT_FALSE(w.state().withNames);
    EXPECT_TRUE(w.text2()->text().startsWith(
        kHeader3 + QStringLiteral("4395570.260 , 39571909.407 , 23.441 \r\n")));
    QTest::mouseClick(check, Qt::LeftButton);
    EXPECT_EQ(check->text(), QStringLiteral("带序号输出"));
}

TEST_F(Form213Test, ZeroRowOfAZoneToZoneConversion) {
    w.text1()->setText(QStringLiteral("P1,0,0\r\n"));
    w.text2()->setText(QString());
    click(GkConversion::Zone6To3);
    EXPECT_EQ(
        w.text2()->text(),
        kHeader3 + QStringLiteral("P1 , 0000000.000 , 00500000.000 "
                                  "错误?原始六度带坐标 0 0 超出常规范围! ⊕⊕中央 0度\r\n\r\n"));
}

TEST_F(Form213Test, InvalidMeridianIsReportedAndReset) {
    QComboBox* c3 = combo("Combo3");
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.activateWindow();

    // Typed and left: the message box, then the value of the default entry.
    c3->setFocus(Qt::MouseFocusReason);
    c3->setEditText(QStringLiteral("117.7"));
    w.text1()->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
    EXPECT_EQ(rec.messages, QStringList{kMeridianMessage});
    EXPECT_EQ(c3->currentIndex(), 8);
    EXPECT_EQ(c3->currentText(), QStringLiteral("117度"));
    EXPECT_EQ(label("Label4")->text(), QStringLiteral("对应带号: 20 39 77"));

    // A valid setting typed and left: no message, the label follows.
    c3->setFocus(Qt::MouseFocusReason);
    c3->setEditText(QStringLiteral("-117"));
    w.text1()->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
    EXPECT_EQ(rec.messages.size(), 1);
    EXPECT_EQ(c3->currentText(), QStringLiteral("-117度"));
    EXPECT_EQ(label("Label4")->text(), QStringLiteral("对应带号: -20 -39 -79"));
    EXPECT_EQ(w.state().meridian, -117);

    // An empty box goes back to the default entry.
    c3->setFocus(Qt::MouseFocusReason);
    c3->setEditText(QStringLiteral("  "));
    w.text1()->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
    EXPECT_EQ(c3->currentText(), QStringLiteral("117度"));
    EXPECT_EQ(w.state().meridian, 117);

    // Chosen from the list: the label shows its zones; no validation on a click.
    c3->setCurrentIndex(17);
    emit c3->activated(17);
    EXPECT_EQ(label("Label4")->text(), QStringLiteral("对应带号: -- -- 74"));
    EXPECT_EQ(w.state().meridian, 112.5);

    // Typed and converted without leaving the box: the settings refresh resets it
    // and the conversion goes on with 117.
    c3->setEditText(QStringLiteral("181度"));
    w.text2()->setText(QString());
    click(GkConversion::GeoToZone3);
    EXPECT_EQ(rec.messages.size(), 2);
    EXPECT_EQ(rec.messages.last(), kMeridianMessage);
    EXPECT_EQ(c3->currentText(), QStringLiteral("117度"));
    EXPECT_EQ(label("Label4")->text(), QStringLiteral("对应带号:20 39 77"));
    EXPECT_TRUE(w.text2()->text().contains(QStringLiteral("39571909.407")));

    // Label3 puts the list back to 117度-6.
    c3->setCurrentIndex(0);
    QTest::mouseClick(label("Label3"), Qt::LeftButton);
    EXPECT_EQ(c3->currentText(), QStringLiteral("117度-6"));
}

TEST_F(Form213Test, LabelsResetTheirBoxesAndSeparatorChoiceWarns) {
    combo("Combo4")->setCurrentIndex(2);
    QTest::mouseClick(label("Label5"), Qt::LeftButton);
    EXPECT_EQ(combo("Combo4")->currentIndex(), 0);

    QComboBox* c5 = combo("Combo5");
    c5->setCurrentIndex(26);  // the space
    emit c5->activated(26);
    ASSERT_EQ(rec.messages.size(), 1);
    EXPECT_TRUE(rec.messages[0].contains(QStringLiteral("[空格]可能造成数据混乱")));
    EXPECT_EQ(rec.titles[0], QStringLiteral("  修改分隔符 -- 石岚 -- 提示  "));
    c5->setCurrentIndex(10);  // ";" warns of nothing
    emit c5->activated(10);
    EXPECT_EQ(rec.messages.size(), 1);
    QTest::mouseClick(label("Label21"), Qt::LeftButton);
    EXPECT_EQ(c5->currentText(), QStringLiteral(","));
}

TEST_F(Form213Test, NoDataEmptiesTheOutput) {
    w.text1()->setText(QStringLiteral("no data here\r\n1;2;3\r\n"));
    click(GkConversion::GeoToZone3);
    EXPECT_EQ(w.text1()->text(), QStringLiteral("没有发现坐标数据！"));
    EXPECT_EQ(w.text2()->text(), QString());
    EXPECT_TRUE(rec.messages.isEmpty());
}

TEST_F(Form213Test, Label1AndHelpButtons) {
    const QString help = w.state().helpText;

    w.text1()->setText(QStringLiteral("Ａ１，３９．４１，１１７．５０"));
    QTest::mouseClick(label("Label1"), Qt::LeftButton);
    EXPECT_EQ(w.text1()->text(), QStringLiteral("A1,39.41,117.50"));
    EXPECT_EQ(w.text2()->text(), QString());

    QTest::mouseClick(button("CommandHelp"), Qt::LeftButton);
    EXPECT_EQ(w.text2()->text(), help);
    EXPECT_NE(ui::openWindow(QStringLiteral("Form5")), nullptr);

    QTest::mouseClick(button("CommandPrint"), Qt::LeftButton);
    EXPECT_EQ(rec.printed, 1);
}

TEST_F(Form213Test, CalculatorAndModuleMenuButtons) {
    QTest::mouseClick(button("CommandQiTa"), Qt::LeftButton);
    QWidget* form2 = ui::openWindow(QStringLiteral("Form2"));
    ASSERT_NE(form2, nullptr);
    EXPECT_EQ(form2->windowModality(), Qt::NonModal);

    // Form2's "坐标变换" and Form1's "坐标转换" open the one coordinate window.
    auto* menu = form2->findChild<QPushButton*>(QStringLiteral("Command1(12)"));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->text(), QStringLiteral("坐标变换"));
    ASSERT_TRUE(menu->isEnabled());
    QTest::mouseClick(menu, Qt::LeftButton);
    QWidget* shown = ui::openWindow(QStringLiteral("Form213"));
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->windowModality(), Qt::NonModal);
    auto* form1 = new Form1;  // deleted with the open windows
    ui::adoptWindow(QStringLiteral("Form1"), form1);
    auto* main = form1->findChild<QPushButton*>(QStringLiteral("dcButton5"));
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->text(), QStringLiteral("坐标转换"));
    QTest::mouseClick(main, Qt::LeftButton);
    EXPECT_EQ(ui::openWindow(QStringLiteral("Form213")), shown);

    auto* jsq = shown->findChild<QPushButton*>(QStringLiteral("CommandJsq"));
    form1->hide();
    QTest::mouseClick(jsq, Qt::LeftButton);
    EXPECT_TRUE(form1->isVisible());
}

// The window's block equals what "hechuan-cli gk" writes for the same settings.
TEST_F(Form213Test, WindowBlockEqualsTheBatchOutput) {
    const std::string data =
        "A01 , 39.4125536 , 117.5017873 , 23.441\r\n"
        "Ｚ2 , 39.4041 , 117.4814 , 19.838\r\n"
        "例3 , -39.4053387 , 121.4815132\r\n"
        "39.4053387 , 115.4815132 , 19.851\r\n";
    struct Case {
        GkConversion op;
        const char* ellipsoid;
        bool yxz;
        bool names;
    };
    const Case cases[] = {{GkConversion::GeoToZone3, "北京", false, true},
                          {GkConversion::GeoToZone15, "西安", true, false},
                          {GkConversion::GeoToZone6, "WGS", false, true}};
    for (const Case& c : cases) {
        w.text1()->setText(QString::fromStdString(data));
        w.text2()->setText(QString());
        combo("Combo4")->setCurrentText(QString::fromUtf8(c.ellipsoid));
        auto* option = child<QRadioButton>("Option1");
        if ((option->text() == QStringLiteral("Y X Z模式")) != c.yxz)
            QTest::mousePress(option, Qt::LeftButton);
        auto* check = child<QCheckBox>("Check1");
        if (check->isChecked() != c.names) QTest::mouseClick(check, Qt::LeftButton);
        click(c.op);
        const QString window = w.text2()->text();

        GkSettings s;
        s.withNames = c.names;
        s.order = c.yxz ? AxisOrder::YXZ : AxisOrder::XYZ;
        s.datum = datumOfControlText(QString::fromUtf8(c.ellipsoid));
        s.datumText = QString::fromUtf8(c.ellipsoid);
        std::FILE* in = fileWith(data);
        std::FILE* out = std::tmpfile();
        convertBatch(c.op, s, in, out);
        const QString batch = QString::fromStdString(readAll(out));
        std::fclose(in);
        std::fclose(out);
        EXPECT_EQ(window, batch) << c.ellipsoid;
        EXPECT_EQ(window.count(QStringLiteral("\r\n")), 6);
    }
}

TEST_F(Form213Test, BadInputNeverHangsOrCrashes) {
    using Clock = std::chrono::steady_clock;
    // 10,000 rows: every one is read, echoed and converted.
    QString many;
    for (int i = 0; i < 10000; ++i)
        many += QStringLiteral("P%1,39.%2,117.5\r\n").arg(i).arg(i % 5000, 4, 10, QChar(u'0'));
    w.text1()->setText(many);
    w.text2()->setText(QString());
    const auto t0 = Clock::now();
    click(GkConversion::GeoToZone3);
    EXPECT_LT(Clock::now() - t0, std::chrono::seconds(5));
    EXPECT_EQ(w.text1()->text().count(QStringLiteral("\r\n")), 10000);
    EXPECT_EQ(w.text2()->text().count(QStringLiteral("\r\n")), 10002);
    EXPECT_TRUE(w.text2()->text().contains(QStringLiteral("\r\nP9999 , ")));

    // A 200,000-character line, binary garbage, and every separator of the list.
    QString garbage;
    for (int i = 0; i < 4096; ++i) garbage += QChar(char16_t((i * 7919) % 0xD7FF + 1));
    const QString texts[] = {
        QStringLiteral("A,") + QString(200000, u'9') + QStringLiteral(",1\r\n"),
        QString(200000, u','), QStringLiteral("A,1,") + QString(200000, u'-'), garbage,
        QString::fromUtf16(u"\0\0\0,1,2\r\nA,\0,\x01\r\n", 14)};
    for (const QString& t : texts) {
        for (int op = 0; op <= static_cast<int>(GkConversion::GeoToZone6); ++op) {
            w.text1()->setText(t);
            w.text2()->setText(QString());
            const auto start = Clock::now();
            w.convert(static_cast<GkConversion>(op));
            EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
        }
    }
    QComboBox* c5 = combo("Combo5");
    for (int i = 0; i < c5->count(); ++i) {
        c5->setCurrentIndex(i);
        const QString sep = i == 25 ? QStringLiteral("\t") : c5->itemText(i);
        w.text1()->setText(QStringLiteral("A1") + sep + QStringLiteral("39.4125536") + sep +
                           QStringLiteral("117.5017873\r\n"));
        w.text2()->setText(QString());
        click(GkConversion::GeoToZone3);
        EXPECT_TRUE(w.text2()->text().contains(QStringLiteral("4395570.260 , 39571909.407")))
            << "separator " << i << " " << w.text1()->text().toStdString();
    }
}

TEST_F(Form213Test, ResizeFollowsTheTwipRules) {
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.resize(w.px(14400), w.px(9600));
    EXPECT_NEAR(w.text1()->width(), w.px(6000), 1);
    EXPECT_NEAR(w.text2()->width(), w.px(14400 - 6000 - 50), 2);
    EXPECT_EQ(w.text2()->x(), w.text1()->width());
    const int bottom = w.text1()->y() + w.text1()->height();
    EXPECT_NEAR(bottom, w.px(9600 - 1200), 2);
    EXPECT_EQ(w.text2()->height(), w.text1()->height());
    EXPECT_NEAR(button("CommandPrint")->y(), bottom + w.px(30), 2);
    EXPECT_NEAR(button("CommandHelp")->y(), bottom + w.px(360), 2);
    EXPECT_LE(button("CommandHelp")->geometry().bottom(), w.height());

    // Smaller than its minimum size the window stays at that size, where the rules
    // for a wide and high window still hold.
    w.resize(w.px(8000), w.px(6000));
    EXPECT_EQ(w.size(), w.minimumSize());
    EXPECT_NEAR(w.text1()->width(), w.px(qRound(w.twips(w.width()) / 2.4)), 2);
    EXPECT_EQ(w.text2()->x(), w.text1()->width());
    EXPECT_NEAR(w.text1()->y() + w.text1()->height(), w.height() - w.px(1200), 2);
}

}  // namespace
}  // namespace hc
