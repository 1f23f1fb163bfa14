#include "tools/windows/form201.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>
#include <new>

#include "calculator/form1.h"
#include "tests/calculator/qt_app.h"
#include "tests/survey/print_qstring.h"
#include "tools/data_file.h"
#include "ui/text_box.h"
#include "ui/widget_services.h"
#include "ui/window_kit.h"

namespace hc {
namespace {

QString q(const char* s) { return QString::fromUtf8(s); }

class Form201Test : public ::testing::Test {
protected:
    void SetUp() override {
        test::qtApp();
        form = std::make_unique<Form201>();
        form->show();
    }
    template <typename T>
    T* child(const char* name) {
        T* w = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void click(const char* name) {
        QPushButton* b = child<QPushButton>(name);
        ASSERT_NE(b, nullptr);
        QTest::mouseClick(b, Qt::LeftButton);
    }

    ui::RecordingServices rec;
    std::unique_ptr<Form201> form;
};

TEST_F(Form201Test, LoadState) {
    EXPECT_EQ(form->windowTitle(), q("数理统计"));
    EXPECT_EQ(child<QLabel>("Label1")->text(), q("数理统计模块"));
    EXPECT_EQ(child<QLabel>("Label14")->text(), q("结果保留15 位小数！"));
    EXPECT_EQ(child<QComboBox>("Combo1")->currentText(), q("1"));
    QComboBox* combo2 = child<QComboBox>("Combo2");
    EXPECT_EQ(combo2->count(), 31);
    EXPECT_EQ(combo2->currentText(), q("*"));
    EXPECT_EQ(combo2->toolTip(), q("修改分隔符可能造成数据混乱，平时请不要随意修改分隔符！"));
    EXPECT_EQ(form->separator(), q("*"));
    EXPECT_TRUE(
        form->dataBox()->text().startsWith(q("例1a*2*3*4*5.987\r\n例2b的*2* *5*6.985\r\n")));
    for (int i = 2; i <= 51; ++i) {
        QLineEdit* box = form->findChild<QLineEdit*>(QStringLiteral("Text%1").arg(i));
        ASSERT_NE(box, nullptr) << i;
        EXPECT_TRUE(box->text().isEmpty());
    }
    const std::pair<const char*, const char*> buttons[] = {{"Command1", "统 计"},
                                                           {"Command2", "打屏幕"},
                                                           {"Command3", "学 习"},
                                                           {"Command4", "保 存"},
                                                           {"Command5", "导 入"}};
    for (const auto& [name, caption] : buttons)
        EXPECT_EQ(child<QPushButton>(name)->text(), q(caption));
    EXPECT_EQ(child<QLabel>("Label20")->text(), q("变异 系数n"));
    EXPECT_EQ(child<QLabel>("Label11")->toolTip(), q("= 均方差 / 平均值"));
}

TEST_F(Form201Test, ComputeFillsTheGridAndRewritesTheData) {
    click("Command1");
    EXPECT_EQ(form->resultBox(1, 2)->text(), q("3"));
    EXPECT_EQ(form->resultBox(6, 2)->text(), q("20.852662796870811"));
    EXPECT_EQ(form->findChild<QLineEdit*>(q("Text51"))->text(), q(" "));  // row 10, column 5
    EXPECT_EQ(form->findChild<QLineEdit*>(q("Text45"))->text(), q("1889.815288666666667"));
    EXPECT_TRUE(form->dataBox()->text().startsWith(q("   例1a * 2 *      3 * 4 * 5.987 *  \r\n")));
    // Chinese characters take two columns of the data box, as the alignment counts them.
    const QFontMetrics data(form->dataBox()->font());
    EXPECT_EQ(data.horizontalAdvance(q("例")), 2 * data.horizontalAdvance(q("0")));
    // A 17-digit value fits its box.
    QLineEdit* sd = form->resultBox(6, 4);
    EXPECT_EQ(sd->text(), q("53.242116158169371"));
    EXPECT_LE(sd->fontMetrics().horizontalAdvance(sd->text()), sd->contentsRect().width() - 4);
    EXPECT_TRUE(rec.messages.isEmpty());
}

TEST_F(Form201Test, SpaceSeparatorWarnsAndTurnsIntoStar) {
    QComboBox* combo2 = child<QComboBox>("Combo2");
    form->chooseSeparator(q(" "));
    ASSERT_EQ(rec.messages.size(), 1);
    EXPECT_EQ(rec.titles[0], q("  修改分隔符 -- 石岚 -- 提示  "));
    combo2->setCurrentIndex(30);
    form->dataBox()->setText(q("1 2 3\r\n"));
    child<QComboBox>("Combo1")->setCurrentIndex(0);
    click("Command1");
    ASSERT_EQ(rec.messages.size(), 2);
    EXPECT_TRUE(rec.messages[1].endsWith(q("本人在数据处理时，自动强制把空格改用 * 代替。")));
    EXPECT_EQ(form->separator(), q("*"));
    EXPECT_EQ(combo2->currentText(), q("*"));
    EXPECT_EQ(form->dataBox()->text(), q(" 1 * 2 * 3 *  *  \r\n"));
    EXPECT_EQ(form->resultBox(1, 3)->text(), q("1"));
}

TEST_F(Form201Test, LongValuesFitTheirBoxesAndShowOnHover) {
    form->dataBox()->setText(q("123456789012345\r\n987654321098765\r\n555555555555555\r\n"));
    child<QComboBox>("Combo1")->setCurrentIndex(0);
    click("Command1");
    QApplication::processEvents();
    EXPECT_EQ(form->resultBox(4, 1)->text(), q("555555555222221.66666666666667"));
    for (int r = 1; r <= 10; ++r) {
        QLineEdit* box = form->resultBox(r, 1);
        EXPECT_LE(box->fontMetrics().horizontalAdvance(box->text()),
                  box->contentsRect().width() - 4)
            << "row " << r << ": " << box->text().toStdString();
        EXPECT_EQ(box->toolTip(), box->text()) << "row " << r;
    }
    // Columns without numbers keep their width and have no tool tip.
    EXPECT_TRUE(form->resultBox(4, 2)->toolTip().isEmpty());
}

TEST_F(Form201Test, TheRewriteOfTheDataIsOneUndoStep) {
    const QString typed = q("1*2\r\n3*4\r\n");
    form->dataBox()->setText(q(""));
    form->dataBox()->setFocus();
    form->dataBox()->insertText(typed);
    click("Command1");
    ASSERT_NE(form->dataBox()->text(), typed);
    form->dataBox()->setFocus();
    QTest::keyClick(form->dataBox(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(form->dataBox()->text(), typed);
}

TEST_F(Form201Test, SpreadsheetDataSwitchesTheSeparatorWithANotice) {
    form->dataBox()->setText(q("a\t1\t2\r\nb\t3\t4\r\n"));
    click("Command1");
    ASSERT_EQ(rec.messages.size(), 1);
    EXPECT_TRUE(rec.messages[0].contains(q("已改用“Tab”"))) << rec.messages[0].toStdString();
    EXPECT_EQ(form->separator(), q("\t"));
    EXPECT_EQ(child<QComboBox>("Combo2")->currentText(), q("Tab"));
    EXPECT_EQ(form->resultBox(1, 1)->text(), q("2"));
    EXPECT_EQ(form->resultBox(5, 2)->text(), q("6"));
}

TEST_F(Form201Test, CellsReadAsZeroAreShownInAMessage) {
    form->dataBox()->setText(q("a*1*x\r\n"));
    click("Command1");
    ASSERT_EQ(rec.messages.size(), 1);
    EXPECT_TRUE(rec.messages[0].contains(q("第 1 行第 3 格（第二列数字）“x”")))
        << rec.messages[0].toStdString();
    EXPECT_EQ(form->resultBox(1, 2)->text(), q("1"));
}

TEST_F(Form201Test, SaveAndImportThroughTheChooser) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(q("统计.txt"));
    QString chosen = path;
    form->setFileChooser([&chosen](QWidget*, bool) { return chosen; });
    click("Command4");
    const DataFileText saved = readDataFile(path);
    ASSERT_TRUE(saved.ok);
    EXPECT_EQ(saved.text, form->dataBox()->text());

    form->dataBox()->setText(q("x"));
    click("Command5");
    EXPECT_EQ(form->dataBox()->text(), saved.text);

    // A binary file is refused with a message; the data box keeps its text.
    QFile bin(dir.filePath(q("a.bin")));
    ASSERT_TRUE(bin.open(QIODevice::WriteOnly));
    bin.write(
        QByteArray("\x7f"
                   "ELF\0\0\1",
                   7));
    bin.close();
    chosen = bin.fileName();
    click("Command5");
    ASSERT_EQ(rec.messages.size(), 1);
    EXPECT_TRUE(rec.messages[0].contains(q("无法导入")));
    EXPECT_EQ(form->dataBox()->text(), saved.text);

    // Cancelling the dialog does nothing.
    chosen.clear();
    click("Command5");
    click("Command4");
    EXPECT_EQ(rec.messages.size(), 1);
}

TEST_F(Form201Test, PrintAndLearnButtons) {
    click("Command2");
    EXPECT_EQ(rec.printed, 1);
    click("Command3");
    EXPECT_TRUE(rec.openedPages.isEmpty());
    EXPECT_TRUE(rec.messages.isEmpty());
}

TEST(ToolWindows, OpenFromTheMainWindowAndTheMenuOnce) {
    test::qtApp();
    ui::RecordingServices rec;
    Form1 form1;
    form1.show();
    for (const auto& [button, window] :
         {std::pair{"dcButton1", "Form201"}, std::pair{"dcButton2", "Form202"}}) {
        QPushButton* b = form1.findChild<QPushButton*>(QString::fromLatin1(button));
        ASSERT_NE(b, nullptr) << button;
        EXPECT_TRUE(b->isEnabled());
        QTest::mouseClick(b, Qt::LeftButton);
        QWidget* w = ui::openWindow(QString::fromLatin1(window));
        ASSERT_NE(w, nullptr) << window;
        QTest::mouseClick(b, Qt::LeftButton);
        EXPECT_EQ(ui::openWindow(QString::fromLatin1(window)), w);  // shown once
        EXPECT_FALSE(w->isModal());
        delete w;
    }
    QWidget* menu = ui::showWindow(q("Form2"));
    ASSERT_NE(menu, nullptr);
    for (const auto& [index, window] :
         {std::pair{0, "Form201"}, std::pair{1, "Form202"}, std::pair{9, "Form210"}}) {
        QPushButton* b = menu->findChild<QPushButton*>(QStringLiteral("Command1(%1)").arg(index));
        ASSERT_NE(b, nullptr) << index;
        ASSERT_TRUE(b->isEnabled()) << index;
        QTest::mouseClick(b, Qt::LeftButton);
        QWidget* w = ui::openWindow(QString::fromLatin1(window));
        ASSERT_NE(w, nullptr) << window;
        delete w;
    }
    delete menu;
}

}  // namespace
}  // namespace hc

namespace hc {
namespace {

class OutOfMemoryPrinting : public ui::RecordingServices {
public:
    void printWindow(QObject*) override { throw std::bad_alloc(); }
};

// A failure escaping a button's handler is shown once, and the window goes on.
TEST_F(Form201Test, AFailingHandlerIsShownOnceAndTheWindowGoesOn) {
    OutOfMemoryPrinting failing;
    click("Command2");
    EXPECT_EQ(failing.messages, QStringList{ui::outOfMemoryNoticeText()});
    failing.messages.clear();
    click("Command1");
    EXPECT_TRUE(failing.messages.isEmpty()) << failing.messages.join(u'|').toStdString();
    EXPECT_FALSE(form->resultBox(1, 1)->text().trimmed().isEmpty());
    EXPECT_TRUE(form->isVisible());
}

}  // namespace
}  // namespace hc

namespace hc {
namespace {

QString bigTable(int rows) {
    QString text;
    for (int i = 0; i < rows; ++i) text += QStringLiteral("P%1*%1.25*-%1*3\r\n").arg(i);
    return text;
}

// A large table runs on the worker: the window keeps handling events meanwhile (here a
// timer that presses Esc), and Esc leaves the data box and the results as they were.
TEST_F(Form201Test, EscCancelsALargeRunAndLeavesTheDataAlone) {
    click("Command1");
    const QString before = form->resultBox(1, 1)->text();
    const QString data = bigTable(300000);
    form->dataBox()->setText(data);
    bool pressed = false;
    QTimer::singleShot(20, form.get(), [&] {
        pressed = true;
        QTest::keyClick(form.get(), Qt::Key_Escape);
    });
    form->compute();
    EXPECT_TRUE(pressed);
    EXPECT_EQ(form->dataBox()->text(), data);
    EXPECT_EQ(form->resultBox(1, 1)->text(), before);
    EXPECT_TRUE(child<QPushButton>("Command1")->isEnabled());
    EXPECT_EQ(child<QLabel>("Label14")->text(), q("结果保留15 位小数！"));

    // Run to the end, the same table gives its count.
    form->compute();
    EXPECT_EQ(form->resultBox(1, 1)->text(), q("300000"));
    EXPECT_EQ(form->resultBox(1, 3)->text(), q("300000"));
}

}  // namespace
}  // namespace hc
