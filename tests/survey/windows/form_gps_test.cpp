#include "survey/windows/form_gps.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "tests/calculator/qt_app.h"
#include "tests/survey/print_qstring.h"
#include "ui/services.h"

namespace hc {
namespace {

const QString kSource = QStringLiteral(
    "A1,39.5412345,116.2312345,52.1\n"
    "A2,39.4012345,116.5512345,43.7\n"
    "A3,40.0512345,116.1512345,120.3\n"
    "A4,39.3512345,116.0512345,30.0\n");
const QString kTarget = QStringLiteral(
    "A1,4419056.3787,39447602.9008,89.2141\n"
    "A2,4392972.4871,39493187.3996,80.6466\n"
    "A3,4439499.7231,39436371.3436,157.3881\n"
    "A4,4384115.3962,39421590.1122,67.4376\n");

class FormGpsTest : public ::testing::Test {
protected:
    void SetUp() override {
        w.sourceBox()->setPlainText(kSource);
        w.targetBox()->setPlainText(kTarget);
    }
    void click(const char* name) {
        QTest::mouseClick(w.findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
    }
    // The application exists before the window.
    bool app_ = (test::qtApp(), true);
    ui::RecordingServices rec;
    FormGps w;
};

TEST_F(FormGpsTest, StartsFromWgsLatitudeLongitudeToBeijingThreeDegrees) {
    EXPECT_EQ(w.windowTitle(), QStringLiteral("GPS坐标转换"));
    EXPECT_EQ(w.fromDatumBox()->currentText(), QStringLiteral("WGS"));
    EXPECT_EQ(w.fromFormBox()->currentText(), QStringLiteral("经纬度"));
    EXPECT_EQ(w.toDatumBox()->currentText(), QStringLiteral("北京"));
    EXPECT_EQ(w.toFormBox()->currentText(), QStringLiteral("3度带"));
    // The model box names both rotation conventions plainly.
    QStringList models;
    for (int i = 0; i < w.modelBox()->count(); ++i) models << w.modelBox()->itemText(i);
    EXPECT_TRUE(models.join(u'|').contains(QStringLiteral("位置矢量法")));
    EXPECT_TRUE(models.join(u'|').contains(QStringLiteral("坐标框架法")));
}

TEST_F(FormGpsTest, FitButtonShowsTheOperationsTextAndFillsTheParameterLine) {
    w.modelBox()->setCurrentIndex(1);  // coordinate frame
    click("CommandFit");
    EXPECT_TRUE(rec.messages.isEmpty()) << rec.messages.join(u'\n').toStdString();
    DatumFitSettings s;
    s.from = {Datum::Wgs84, std::nullopt, std::nullopt};
    s.to = {Datum::Beijing1954, ZoneWidth::Three, std::nullopt};
    s.model = DatumModel::SevenCF;
    const DatumFitRun run = runDatumFit(kSource, kTarget, s);
    EXPECT_EQ(w.outputBox()->toPlainText(),
              QString(run.output).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    EXPECT_EQ(w.parametersField()->text(), run.parameterLine);

    // Converting the source points with it gives the targets; the inverse brings them back.
    w.pointsBox()->setPlainText(kSource);
    click("CommandApply");
    const QStringList moved = w.outputBox()->toPlainText().split(u'\n', Qt::SkipEmptyParts);
    const QStringList want = kTarget.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(moved.size(), want.size());
    for (qsizetype i = 0; i < moved.size(); ++i)
        EXPECT_NEAR(moved[i].section(u',', 1, 1).toDouble(), want[i].section(u',', 1, 1).toDouble(),
                    0.02);
    w.pointsBox()->setPlainText(moved.join(u'\n'));
    click("CommandInverse");
    const QStringList back = w.outputBox()->toPlainText().split(u'\n', Qt::SkipEmptyParts);
    const QStringList source = kSource.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(back.size(), source.size());
    for (qsizetype i = 0; i < back.size(); ++i)
        EXPECT_NEAR(back[i].section(u',', 1, 1).toDouble(),
                    source[i].section(u',', 1, 1).toDouble(), 3e-10);
}

TEST_F(FormGpsTest, FailuresGoToMessageBoxesAndKeepTheParameterLine) {
    w.parametersField()->setText(QStringLiteral("3 tx=1"));
    w.targetBox()->setPlainText(kTarget.section(u'\n', 0, 1));  // two common points
    click("CommandFit");
    ASSERT_EQ(rec.messages.size(), 2);  // the unpaired points, then the refusal
    EXPECT_TRUE(rec.messages[1].contains(QStringLiteral("至少要 3 个公共点")));
    EXPECT_EQ(w.parametersField()->text(), QStringLiteral("3 tx=1"));

    w.meridianField()->setText(QStringLiteral("east"));
    w.pointsBox()->setPlainText(kSource);
    click("CommandApply");
    ASSERT_EQ(rec.messages.size(), 3);
    EXPECT_TRUE(rec.messages[2].contains(QStringLiteral("中央子午线")));
}

TEST_F(FormGpsTest, ParametersSaveAndLoad) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("bj.txt"));
    const QString line =
        QStringLiteral("4 dx=-100.5 dy=50.25 r=2 s=5 h=plane x0=1 y0=2 c0=3 c1=0 c2=0");
    w.parametersField()->setText(line);
    w.saveParameters(path);
    EXPECT_TRUE(rec.messages.isEmpty());
    w.parametersField()->clear();
    w.loadParameters(path);
    EXPECT_EQ(w.parametersField()->text(), line);
    EXPECT_EQ(w.modelBox()->currentData().toString(), QStringLiteral("4"));

    // A bad line is not saved; a missing or foreign file is not loaded.
    w.parametersField()->setText(QStringLiteral("8 tx=1"));
    w.saveParameters(dir.filePath(QStringLiteral("bad.txt")));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("bad.txt"))));
    w.loadParameters(dir.filePath(QStringLiteral("none.txt")));
    QFile foreign(dir.filePath(QStringLiteral("notes.txt")));
    ASSERT_TRUE(foreign.open(QIODevice::WriteOnly));
    foreign.write("# notes\nbuy milk\n");
    foreign.close();
    w.loadParameters(foreign.fileName());
    ASSERT_EQ(rec.messages.size(), 3);
    EXPECT_TRUE(rec.messages[0].startsWith(QStringLiteral("参数行有错误")));
    EXPECT_TRUE(rec.messages[1].startsWith(QStringLiteral("无法读取参数文件")));
    EXPECT_TRUE(rec.messages[2].startsWith(QStringLiteral("参数文件有错误")));
    EXPECT_EQ(w.parametersField()->text(), QStringLiteral("8 tx=1"));
}

}  // namespace
}  // namespace hc
