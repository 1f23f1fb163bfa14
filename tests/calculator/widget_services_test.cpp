// The Qt Widgets services and the text box the windows are built from.

#include "ui/widget_services.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "calculator/form1.h"
#include "tests/calculator/print.h"
#include "tests/calculator/qt_app.h"
#include "ui/text_box.h"

namespace hc {
namespace {

// Closes the message box that the next call opens and records its buttons and texts.
struct BoxWatcher {
    QStringList buttons;
    QString text;
    QString title;
    void arm() {
        QTimer::singleShot(50, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            text = box->text();
            title = box->windowTitle();
            for (QAbstractButton* b : box->buttons()) buttons << b->text();
            box->done(0);
        });
    }
};

class WidgetServicesTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::qtApp();
        previous = ui::installServices(&services);
    }
    void TearDown() override { ui::installServices(previous); }
    ui::WidgetServices services;
    ui::Services* previous = nullptr;
};

TEST_F(WidgetServicesTest, MessageBoxesWithBothButtonSets) {
    BoxWatcher ok;
    ok.arm();
    ui::messageBox(QString::fromUtf8("数据有误"));
    EXPECT_EQ(ok.text, QString::fromUtf8("数据有误"));
    EXPECT_EQ(ok.buttons, QStringList{QString::fromUtf8("确定")});

    BoxWatcher three;
    three.arm();
    ui::messageBox(QStringLiteral("sep"), ui::Buttons::CancelRetryContinue, QStringLiteral("T"));
    EXPECT_EQ(three.title, "T");
    EXPECT_EQ(three.buttons.size(), 3);
    for (const char* caption : {"取消", "重试", "继续"})
        EXPECT_TRUE(three.buttons.contains(QString::fromUtf8(caption))) << caption;
}

TEST_F(WidgetServicesTest, MessageBoxDuringWorkIsNoReturnToTheMainWindow) {
    Form1 form;
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    form.text2()->setText(QStringLiteral("kept"));
    BoxWatcher w;
    w.arm();
    ui::messageBox(QStringLiteral("note"));
    ASSERT_FALSE(w.buttons.isEmpty());  // the box was shown and closed
    // A window manager hands the activation back to the main window.
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_EQ(form.text2()->text(), "kept");
}

TEST_F(WidgetServicesTest, RandomValuesStayInTheUnitInterval) {
    double low = 1, high = 0;
    for (int i = 0; i < 2000; ++i) {
        if (i % 100 == 0) services.reseedRandom();
        const double r = services.random();
        ASSERT_GE(r, 0.0);
        ASSERT_LT(r, 1.0);
        low = std::min(low, r);
        high = std::max(high, r);
    }
    EXPECT_LT(low, 0.05);
    EXPECT_GT(high, 0.95);
}

// Printing offers the print dialog (with its PDF file choice when there is no
// printer); a failed print is reported.
TEST_F(WidgetServicesTest, PrintingOffersTheDialogAndReportsAFailure) {
    QWidget w;
    w.setWindowTitle(QStringLiteral("窗口"));
    w.resize(50, 50);
    QString dialogTitle;
    QTimer::singleShot(50, [&] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        dialogTitle = dialog->windowTitle();
        dialog->reject();
    });
    services.printWindow(&w);
    EXPECT_EQ(dialogTitle, QStringLiteral("打印屏幕"));
    services.printWindow(nullptr);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);  // no dialog left open

    const QPixmap image = w.grab();
    const QString dir =
        QDir::tempPath() + QStringLiteral("/hc_print_%1").arg(QCoreApplication::applicationPid());
    QDir().mkpath(dir);
    QPrinter pdf;
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(dir + QStringLiteral("/w.pdf"));
    EXPECT_TRUE(ui::printImage(pdf, image));
    EXPECT_GT(QFileInfo(dir + QStringLiteral("/w.pdf")).size(), 0);
    QPrinter nowhere;
    nowhere.setOutputFormat(QPrinter::PdfFormat);
    nowhere.setOutputFileName(dir + QStringLiteral("/missing/folder/w.pdf"));
    EXPECT_FALSE(ui::printImage(nowhere, image));
    QDir(dir).removeRecursively();
}

}  // namespace
}  // namespace hc
