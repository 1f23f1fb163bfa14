// The area window: its controls reach the calculation, and what it shows is what the
// operation returns.

#include "survey/windows/form215.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "survey/parcel_area.h"
#include "tests/calculator/qt_app.h"
#include "tests/survey/print_qstring.h"
#include "ui/text_box.h"
#include "ui/widget_services.h"

namespace hc {
namespace {

class AreaWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::qtApp();
        window = std::make_unique<Form215>();
    }
    void click(const char* name) {
        QTest::mouseClick(w().findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
    }
    Form215& w() { return *window; }
    ui::RecordingServices rec;
    std::unique_ptr<Form215> window;
};

TEST_F(AreaWindowTest, CalculateShowsTheOperationsOutputForTheControls) {
    const QString list = QStringLiteral(
        "A,3500000,500000\r\nB,3500100,500000\r\nC,3500100,500100\r\nD,3500000,500100\r\n");
    w().text1()->setText(list);
    w().meridianBox()->setText(QStringLiteral("117"));
    w().decimalsBox()->setCurrentText(QStringLiteral("1"));
    w().datumBox()->setCurrentText(QStringLiteral("2000"));
    click("Command1");

    AreaOptions options;
    options.meridian = 117;
    options.decimals = 1;
    options.datum = Datum::Cgcs2000;
    const AreaRun expected = runParcelArea(list, options);
    EXPECT_EQ(w().text2()->text(), expected.output);
    EXPECT_TRUE(w().text2()->text().contains(QStringLiteral("10000.0")));
    EXPECT_TRUE(rec.messages.isEmpty()) << rec.messages.join(u'\n').toStdString();
}

TEST_F(AreaWindowTest, GeographicModeLeavesOutTheGridControls) {
    EXPECT_TRUE(w().zoneBox()->isEnabled());
    w().check1()->click();
    EXPECT_FALSE(w().zoneBox()->isEnabled());
    EXPECT_FALSE(w().meridianBox()->isEnabled());
    w().text1()->setText(QStringLiteral("P1,39.1,117.1\r\nP2,39.2,117.1\r\nP3,39.2,117.2\r\n"));
    click("Command1");
    EXPECT_TRUE(w().text2()->text().startsWith(areaHeading(true).split(u'|').first()));
    EXPECT_TRUE(w().text2()->text().contains(QStringLiteral("顺时针")));
}

TEST_F(AreaWindowTest, BadMeridianAndBadParcelsAreToldInMessageBoxes) {
    w().meridianBox()->setText(QStringLiteral("abc"));
    click("Command1");
    ASSERT_EQ(rec.messages.size(), 1);
    EXPECT_TRUE(rec.messages[0].startsWith(QStringLiteral("中央子午线经度有错误")));

    rec.messages.clear();
    w().meridianBox()->clear();
    w().text1()->setText(QStringLiteral("A,0,39500000\r\nB,10,39500000\r\n"));
    click("Command1");
    ASSERT_GE(rec.messages.size(), 1);
    EXPECT_TRUE(rec.messages[0].contains(QStringLiteral("不同的顶点少于三个")));
    EXPECT_TRUE(w().text2()->text().contains(QStringLiteral("顶点不足")));
}

TEST_F(AreaWindowTest, ListsTooLongForTheWindowAreRefused) {
    QString list;
    for (int i = 0; i < kWindowAreaLines; ++i)
        list += QStringLiteral("%1,%2,39500000\r\n").arg(i).arg(i % 3);
    w().text1()->setText(list);
    w().text2()->setText(QStringLiteral("earlier"));
    click("Command1");
    ASSERT_EQ(rec.messages.size(), 1);
    EXPECT_TRUE(rec.messages[0].contains(QStringLiteral("hechuan-cli area")));

    // One line fewer is computed.
    rec.messages.clear();
    list.chop(list.size() - list.lastIndexOf(QStringLiteral("\r\n"), -3) - 2);
    w().text1()->setText(list);
    click("Command1");
    EXPECT_TRUE(w().text2()->text().startsWith(areaHeading(false).split(u'|').first()));
}

TEST_F(AreaWindowTest, SampleParcelsComputeWithoutNotices) {
    click("Command1");
    EXPECT_TRUE(rec.messages.isEmpty()) << rec.messages.join(u'\n').toStdString();
    for (const char* parcel : {"A01", "A02", "合计"})
        EXPECT_TRUE(w().text2()->text().contains(QString::fromUtf8(parcel))) << parcel;
}

}  // namespace
}  // namespace hc
