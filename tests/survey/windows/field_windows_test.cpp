#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "survey/distance_reduction.h"
#include "survey/intersection.h"
#include "survey/traverse.h"
#include "survey/windows/form217.h"
#include "survey/windows/form218.h"
#include "tests/calculator/qt_app.h"
#include "tests/survey/print_qstring.h"
#include "ui/text_box.h"
#include "ui/tool_registry.h"
#include "ui/widget_services.h"

namespace hc {
namespace {

class FieldWindowsTest : public ::testing::Test {
protected:
    void SetUp() override { test::qtApp(); }
    ui::RecordingServices rec;
};

TEST_F(FieldWindowsTest, BothWindowsAreOnTheModuleMenu) {
    struct Case {
        int index;
        ui::WindowId id;
        QString caption;
    };
    for (const Case& c : {Case{16, window_ids::kForm217, QStringLiteral("经纬仪测量")},
                          Case{17, window_ids::kForm218, QStringLiteral("测距仪测量")}}) {
        const ui::ToolWindow* row = ui::toolAtMenuIndex(c.index);
        ASSERT_NE(row, nullptr);
        EXPECT_TRUE(row->id == c.id);
        EXPECT_EQ(ui::menuCaptionAt(*row, c.index), c.caption);
        EXPECT_TRUE(row->helpSection.startsWith(u'【' + c.caption + u'】'));
    }
}

TEST_F(FieldWindowsTest, TheodoliteWindowComputesWhatTheOperationGives) {
    Form217 w;
    EXPECT_EQ(w.kindBox()->currentText(), QStringLiteral("附合导线"));
    EXPECT_EQ(w.gradeBox()->currentText(), QStringLiteral("图根"));
    EXPECT_EQ(w.allowanceEdit()->text(), QStringLiteral("40"));
    EXPECT_EQ(w.relativeEdit()->text(), QStringLiteral("2000"));
    EXPECT_EQ(w.text1()->text(), traverseSample(TraverseType::Connecting));
    QTest::mouseClick(w.command1(), Qt::LeftButton);
    EXPECT_EQ(w.text2()->text(), runTraverse(traverseSample(TraverseType::Connecting), {}).output);
    EXPECT_TRUE(rec.messages.isEmpty());

    // A stricter grade: the same traverse is now over the angular allowance.
    w.gradeBox()->setCurrentText(QStringLiteral("一级"));
    EXPECT_EQ(w.allowanceEdit()->text(), QStringLiteral("10"));
    EXPECT_EQ(w.relativeEdit()->text(), QStringLiteral("15000"));
    w.allowanceEdit()->setText(QStringLiteral("5"));
    QTest::mouseClick(w.command1(), Qt::LeftButton);
    EXPECT_TRUE(w.text2()->text().contains(QStringLiteral("，超限")))
        << w.text2()->text().toStdString();
    ASSERT_EQ(rec.messages.size(), 1);
    EXPECT_TRUE(rec.messages[0].contains(QStringLiteral("超过容许值 ±11.2″")));
}

TEST_F(FieldWindowsTest, TheodoliteWindowExamplesComputeForEveryKind) {
    Form217 w;
    for (int kind = 0; kind < w.kindBox()->count(); ++kind) {
        w.kindBox()->setCurrentIndex(kind);
        QTest::mouseClick(w.command2(), Qt::LeftButton);
        QTest::mouseClick(w.command1(), Qt::LeftButton);
        if (kind < 3) {
            EXPECT_EQ(w.text1()->text(), traverseSample(static_cast<TraverseType>(kind)));
            EXPECT_TRUE(w.text2()->text().startsWith(w.kindBox()->currentText()))
                << w.text2()->text().toStdString();
        } else {
            const auto k = static_cast<IntersectionKind>(kind - 3);
            EXPECT_EQ(w.text1()->text(), intersectionSample(k));
            EXPECT_EQ(w.text2()->text(), runIntersection(intersectionSample(k), k).output);
        }
    }
    EXPECT_TRUE(rec.messages.isEmpty()) << rec.messages.join(u'\n').toStdString();
}

TEST_F(FieldWindowsTest, TheodoliteWindowReportsBadOptionsAndData) {
    Form217 w;
    w.bearingEdit()->setText(QStringLiteral("12.7000"));
    QTest::mouseClick(w.command1(), Qt::LeftButton);
    ASSERT_EQ(rec.messages.size(), 1);
    EXPECT_TRUE(rec.messages[0].contains(QStringLiteral("起始方位角“12.7000”的分或秒不小于 60")));
    w.bearingEdit()->clear();
    w.text1()->setText(QStringLiteral("A,,,1,1\r\nB,90,abc,2,2\r\n"));
    QTest::mouseClick(w.command1(), Qt::LeftButton);
    ASSERT_EQ(rec.messages.size(), 2);
    EXPECT_EQ(rec.messages[1], QStringLiteral("第 2 行（点 B）的边长“abc”不是数值"));
    EXPECT_EQ(w.text2()->text(), rec.messages[1] + QStringLiteral("\r\n"));
}

TEST_F(FieldWindowsTest, RangefinderWindowPassesItsOptionsOn) {
    Form218 w;
    EXPECT_EQ(w.text1()->text(), reductionSample());
    w.ppmEdit()->setText(QStringLiteral("12.5"));
    w.heightEdit()->setText(QStringLiteral("850"));
    w.xEdit()->setText(QStringLiteral("3380000"));
    w.yEdit()->setText(QStringLiteral("39520000"));
    w.datumBox()->setCurrentIndex(1);
    w.angleKindBox()->setCurrentIndex(1);
    w.text1()->setText(QStringLiteral("P,500,88.3000,1.5,1.5\r\n"));
    QTest::mouseClick(w.command1(), Qt::LeftButton);
    ReductionTexts t;
    t.input = QStringLiteral("P,500,88.3000,1.5,1.5\r\n");
    t.angleKind = 1;
    t.ppm = QStringLiteral("12.5");
    t.height = QStringLiteral("850");
    t.x = QStringLiteral("3380000");
    t.y = QStringLiteral("39520000");
    t.datum = 1;
    const ReductionRun run = runReductionTexts(t);
    EXPECT_EQ(w.text2()->text(), run.output);
    EXPECT_TRUE(run.output.contains(QStringLiteral("天顶距，大气改正 12.5 ppm")))
        << run.output.toStdString();
    EXPECT_TRUE(rec.messages.isEmpty());

    w.yEdit()->clear();
    QTest::mouseClick(w.command1(), Qt::LeftButton);
    ASSERT_EQ(rec.messages.size(), 1);
    EXPECT_EQ(rec.messages[0], QStringLiteral("位置要同时写 X 和 Y"));
}

}  // namespace
}  // namespace hc
