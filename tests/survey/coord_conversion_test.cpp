#include "survey/coord_conversion.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/survey/print_notice.h"
#include "tests/survey/print_qstring.h"

namespace hc {
namespace {

const QString kSample = QStringLiteral(
    "A01 , 39.4125536 , 117.5017873 , 23.441\r\n"
    "Ｚ2 , 39.4041 , 117.4814 , 19.838\r\n"
    "例3 , 39.4053387 , 117.4815132 , 19.851\r\n"
    "39.4053387 , 117.4815132 , 19.851\r\n"
    "\r\n"
    "示例提示:\r\n"
    "  序号  X纬度(北)  Y经度(东)  Z高程(H)\r\n"
    "    \r\n");

const QString kHeader3 = QStringLiteral("﹌﹌﹌以下为３度带北京系公里网坐标……单位【米】﹌﹌﹌\r\n");

TEST(CoordinateWindow, GeographicToThreeDegreeOnTheSample) {
    const GkResult r =
        ZelZuoBiaoZhuanHuan(GkConversion::GeoToZone3, kSample, QStringLiteral("old"), {});
    EXPECT_EQ(r.input, QStringLiteral("A01  , 39.4125536 , 117.5017873 , 23.441\r\n"
                                      "Ｚ2  , 39.4041 , 117.4814 , 19.838\r\n"
                                      "例3  , 39.4053387 , 117.4815132 , 19.851\r\n"
                                      "D004 , 39.4053387 , 117.4815132 , 19.851\r\n"));
    ASSERT_TRUE(r.output.startsWith(
        kHeader3 + QStringLiteral("A01  , 4395570.260 , 39571909.407 , 23.441 \r\n")))
        << r.output.toStdString();
    const QStringList lines = r.output.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 7);  // header, 4 rows, the block's empty line, then "old"
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("Ｚ2  , ")));
    EXPECT_TRUE(lines[4].startsWith(QStringLiteral("D004 , ")));
    EXPECT_EQ(lines[5], QString());
    EXPECT_EQ(lines[6], QStringLiteral("old"));
    EXPECT_EQ(r.settings.meridianText, QStringLiteral("117度"));
    EXPECT_FALSE(r.settings.meridianReset);
}

TEST(CoordinateWindow, YxzModeSwapsTheOutputAndNotesTheDetectedOrder) {
    GkControls c;
    c.order = QStringLiteral("Y X Z模式");
    const GkResult r = ZelZuoBiaoZhuanHuan(GkConversion::GeoToZone3, kSample, QString(), c);
    EXPECT_TRUE(r.input.endsWith(QStringLiteral("\r\n\r\n备注∴原始数据按纬度在前 X Y Z 型处理∴")));
    EXPECT_TRUE(r.output.startsWith(
        kHeader3 + QStringLiteral("A01  , 39571909.407 , 4395570.260 , 23.441 \r\n")));

    c.withNames = false;
    const GkResult plain = ZelZuoBiaoZhuanHuan(GkConversion::GeoToZone3, kSample, QString(), c);
    EXPECT_TRUE(plain.output.startsWith(
        kHeader3 + QStringLiteral("39571909.407 , 4395570.260 , 23.441 \r\n")));
}

TEST(CoordinateWindow, GridToGeographicBothModes) {
    const QString grid = QStringLiteral("A01,4395494.607,39571908.236,23.441\r\n");
    GkControls c;
    c.ellipsoid = QStringLiteral("西安");
    GkResult r = ZelZuoBiaoZhuanHuan(GkConversion::Zone3ToGeo, grid, QString(), c);
    EXPECT_EQ(r.output, QStringLiteral("●●●以下坐标为经纬度……度.分秒格式●●●\r\n"
                                       "A01 , 39.41255360 , 117.50178730 , 23.441 \r\n\r\n"));

    // In "Y X Z" mode the first column is the easting and the longitude is written first.
    c.order = QStringLiteral("Y X Z模式");
    r = ZelZuoBiaoZhuanHuan(GkConversion::Zone3ToGeo,
                            QStringLiteral("A01,39571908.236,4395494.607,23.441\r\n"), QString(),
                            c);
    EXPECT_EQ(r.output, QStringLiteral("●●●以下坐标为经纬度……度.分秒格式●●●\r\n"
                                       "A01 , 117.50178730 , 39.41255360 , 23.441 \r\n\r\n"));
}

TEST(CoordinateWindow, ZoneToZoneConversions) {
    GkControls c;
    c.ellipsoid = QStringLiteral("西安");
    c.withNames = false;
    // 3 -> 6 on 117: same central meridian, the prefix changes from 39 to 20.
    GkResult r = ZelZuoBiaoZhuanHuan(GkConversion::Zone3To6,
                                     QStringLiteral("P,4395494.607,39571908.236"), QString(), c);
    EXPECT_EQ(r.output, QStringLiteral("﹌﹌﹌以下为６度带西安系公里网坐标……单位【米】﹌﹌﹌\r\n"
                                       "4395494.607 , 20571908.236  \r\n\r\n"));
    // 3 -> 1.5: zone 77, 0.838 degrees off the meridian.
    r = ZelZuoBiaoZhuanHuan(GkConversion::Zone3To15, QStringLiteral("P,4395494.607,39571908.236"),
                            QString(), c);
    EXPECT_EQ(r.output, QStringLiteral("﹌﹌﹌以下为１.５度带西安系公里网坐标……单位【米】﹌﹌﹌\r\n"
                                       "4395494.607 , 77571908.236  ……跨带 117度\r\n\r\n"));
    // And back: 1.5 -> 3 in "Y X Z" mode prints the easting first.
    c.order = QStringLiteral("Y X Z模式");
    r = ZelZuoBiaoZhuanHuan(GkConversion::Zone15To3, QStringLiteral("P,77571908.236,4395494.607"),
                            QString(), c);
    EXPECT_EQ(r.output, QStringLiteral("﹌﹌﹌以下为３度带西安系公里网坐标……单位【米】﹌﹌﹌\r\n"
                                       "39571908.236 , 4395494.607  \r\n\r\n"));
    c.order = QStringLiteral("X Y Z模式");
    r = ZelZuoBiaoZhuanHuan(GkConversion::Zone6To3, QStringLiteral("P,4395494.607,20571908.236"),
                            QString(), c);
    EXPECT_TRUE(r.output.contains(QStringLiteral("\r\n4395494.607 , 39571908.236  \r\n")));
}

TEST(CoordinateWindow, RejectedPointsKeepTheirRowAndMessage) {
    GkControls c;
    c.withNames = true;
    GkResult r = ZelZuoBiaoZhuanHuan(GkConversion::Zone6To3,
                                     QStringLiteral("P1,0,0\r\nP2,4e6,1000999\r\n"), QString(), c);
    EXPECT_EQ(
        r.output,
        QStringLiteral(
            "﹌﹌﹌以下为３度带北京系公里网坐标……单位【米】﹌﹌﹌\r\n"
            "P1 , 0000000.000 , 00500000.000 错误?原始六度带坐标 0 0 超出常规范围! ⊕⊕中央 0度\r\n"
            "P2 , 0000000.000 , 00500000.000 错误?原始六度带坐标|Y|<01001000 超出常规范围! "
            "⊕⊕中央 0度\r\n\r\n"));

    r = ZelZuoBiaoZhuanHuan(GkConversion::GeoToZone6,
                            QStringLiteral("P1,95,117\r\nP2,1e300,-1e300,5\r\n"), QString(), c);
    EXPECT_EQ(r.output,
              QStringLiteral(
                  "﹌﹌﹌以下为６度带北京系公里网坐标……单位【米】﹌﹌﹌\r\n"
                  "P1 , 0000000.000 , 00000000.000 错误溢出?原始经纬度数值超出常规范围 |x|<=90 "
                  "|y|<=180\r\n"
                  "P2 , 0000000.000 , 00000000.000 , 5.000 错误溢出?原始经纬度数值超出常规范围 "
                  "|x|<=90 |y|<=180\r\n\r\n"));
    EXPECT_TRUE(r.input.endsWith(QStringLiteral("备注∴原始数据的经度大于180度错误∴")));
}

TEST(CoordinateWindow, BadTextNeverCrashes) {
    const QString texts[] = {
        QString(),
        QStringLiteral("\r\n1,2,3"),
        QStringLiteral("no separator"),
        QStringLiteral("a,b,c\r\nd,e,f"),
        QStringLiteral("1e999,1e999\r\n"),
        QStringLiteral(
            "9999999999999999999999999999999999999,-9999999999999999999999999999,1e308\r\n"),
        QStringLiteral(",,,,,\r\n,1,2,\r\n"),
        QStringLiteral("x,1e-320,2e-310,1e-400\r\n"),
        QString(5000, u'9') + QStringLiteral(",1,2"),
    };
    for (int op = 0; op <= static_cast<int>(GkConversion::GeoToZone6); ++op) {
        for (const QString& t : texts) {
            const GkResult r =
                ZelZuoBiaoZhuanHuan(static_cast<GkConversion>(op), t, QStringLiteral("prev"), {});
            if (r.input == QStringLiteral("没有发现坐标数据！")) {
                EXPECT_EQ(r.output, QString());
            } else {
                EXPECT_TRUE(r.output.endsWith(QStringLiteral("\r\nprev")))
                    << op << " " << t.left(40).toStdString();
            }
        }
    }
}

// Random texts over the characters that matter to the reader: every conversion
// gives either the no-data answer or a block with one row per echoed point.
TEST(CoordinateWindow, RandomTextsGiveConsistentBlocks) {
    const QString alphabet = QStringLiteral("0123456789.+-eE,,,;  \t\r\n\r\nAZ点，．＋\u3000x9");
    std::mt19937 rng(2024);
    std::uniform_int_distribution<int> pick(0, static_cast<int>(alphabet.size()) - 1);
    std::uniform_int_distribution<int> length(0, 120);
    int withData = 0;
    for (int k = 0; k < 3000; ++k) {
        QString text;
        const int n = length(rng);
        for (int i = 0; i < n; ++i) text += alphabet[pick(rng)];
        const auto op = static_cast<GkConversion>(k % 10);
        GkControls c;
        c.order = (k / 10) % 2 == 0 ? QStringLiteral("X Y Z模式") : QStringLiteral("Y X Z模式");
        const GkResult r = ZelZuoBiaoZhuanHuan(op, text, QString(), c);
        if (r.input == QStringLiteral("没有发现坐标数据！")) {
            EXPECT_EQ(r.output, QString());
            continue;
        }
        // Echo lines, then possibly the order remarks after an empty line.
        qsizetype points = 0;
        for (const QString& line : r.input.split(QStringLiteral("\r\n"))) {
            if (!line.isEmpty() && !line.startsWith(QStringLiteral("备注∴"))) ++points;
        }
        EXPECT_GT(points, 0);
        ++withData;
        EXPECT_EQ(r.output.count(QStringLiteral("\r\n")), points + 2) << text.toStdString();
    }
    EXPECT_GT(withData, 300);
}

TEST(CoordinateWindow, NoDataEmptiesTheOutput) {
    const GkResult r = ZelZuoBiaoZhuanHuan(GkConversion::GeoToZone3, QStringLiteral("nothing here"),
                                           QStringLiteral("prev"), {});
    EXPECT_EQ(r.input, QStringLiteral("没有发现坐标数据！"));
    EXPECT_EQ(r.output, QString());
}

TEST(CoordinateWindow, WindowLimitOfTwoHundredRows) {
    QString text;
    for (int i = 0; i < 250; ++i) text += QStringLiteral("%1,117.3\r\n").arg(30 + i / 100.0);
    const GkResult r = ZelZuoBiaoZhuanHuan(GkConversion::GeoToZone6, text, QString(), {});
    EXPECT_EQ(r.output.count(QStringLiteral("\r\n")), 1 + 200 + 1);
    EXPECT_EQ(r.input.count(QStringLiteral("\r\n")), 200);
}

TEST(CoordinateWindow, InvalidMeridianGivesTheNoticeAndUses117) {
    const Notices invalid{Notice{
        QStringLiteral(
            "你选择的中央子午线经度有错误，请重新选择。应在正负180之间，并且能被 1.5 整除。"),
        NoticeButtons::Ok, QString()}};
    GkControls c;
    c.meridian = QStringLiteral("117.7");
    c.withNames = false;
    const GkResult r = ZelZuoBiaoZhuanHuan(
        GkConversion::GeoToZone3, QStringLiteral("P,39.4125536,117.5017873"), QString(), c);
    EXPECT_EQ(r.notices, invalid);
    EXPECT_EQ(r.settings.notices, invalid);
    EXPECT_TRUE(r.settings.meridianReset);
    EXPECT_EQ(r.settings.meridian, 117);
    EXPECT_EQ(r.settings.meridianText, QStringLiteral("117度"));
    EXPECT_TRUE(r.output.contains(QStringLiteral("4395570.260 , 39571909.407 \r\n")));

    // A valid setting gives no notice, also when there is no data.
    c.meridian = QStringLiteral("118.5度");
    EXPECT_TRUE(
        ZelZuoBiaoZhuanHuan(GkConversion::GeoToZone3, kSample, QString(), c).notices.isEmpty());
    c.meridian = QStringLiteral("abc");
    EXPECT_TRUE(
        ZelZuoBiaoZhuanHuan(GkConversion::GeoToZone3, QString(), QString(), c).notices.isEmpty());

    const MeridianBox lost = meridianBoxLostFocus(QStringLiteral("117.7"));
    EXPECT_EQ(lost.notices, invalid);
    EXPECT_TRUE(lost.reset);
    EXPECT_EQ(lost.text, QStringLiteral("117度"));
    EXPECT_EQ(lost.label, QStringLiteral("对应带号: 20 39 77"));

    const MeridianBox empty = meridianBoxLostFocus(QStringLiteral("  "));
    EXPECT_TRUE(empty.notices.isEmpty());
    EXPECT_EQ(empty.value, 117);
    EXPECT_EQ(empty.text, QStringLiteral("117度"));

    const MeridianBox click = meridianBoxClick(QStringLiteral("112.5度"));
    EXPECT_EQ(click.value, 112.5);
    EXPECT_EQ(click.label, QStringLiteral("对应带号: -- -- 74"));
    EXPECT_TRUE(click.notices.isEmpty());
}

TEST(CoordinateWindow, SettingsRefresh) {
    GkControls c;
    c.separator = QStringLiteral(" ");
    c.ellipsoid = QStringLiteral("WGS");
    c.order = QStringLiteral("Y X Z模式");
    c.meridian = QStringLiteral("-180度");
    QString input = QStringLiteral("A\t1    2");
    const GkSettingsReading s = ZelDuQuSheZhi(c, input);
    EXPECT_EQ(input, QStringLiteral("A 1 2"));
    EXPECT_EQ(s.separator, QStringLiteral(" "));
    EXPECT_EQ(s.datum, Datum::Wgs84);
    EXPECT_EQ(s.datumText, QStringLiteral("WGS"));
    EXPECT_EQ(s.order, AxisOrder::YXZ);
    EXPECT_EQ(s.meridian, -180);
    EXPECT_EQ(s.meridianText, QStringLiteral("-180度"));
    EXPECT_TRUE(s.notices.isEmpty());
    c.ellipsoid = QStringLiteral("其它");
    EXPECT_EQ(ZelDuQuSheZhi(c, input).datum, Datum::Beijing1954);
    EXPECT_EQ(ZelDuQuSheZhi(c, input).datumText, QStringLiteral("其它"));
    c.ellipsoid = QStringLiteral("西安");
    EXPECT_EQ(ZelDuQuSheZhi(c, input).datum, Datum::Xian1980);
    c.separator = QStringLiteral("TAB");
    EXPECT_EQ(ZelDuQuSheZhi(c, input).separator, QStringLiteral("\t"));
}

TEST(CoordinateWindow, ConversionsByTheirZones) {
    int found = 0;
    for (int i = 0; i <= static_cast<int>(GkConversion::GeoToZone6); ++i) {
        const auto op = static_cast<GkConversion>(i);
        EXPECT_TRUE(inputZone(op) || outputZone(op));
        EXPECT_EQ(conversionBetween(inputZone(op), outputZone(op)), op);
        ++found;
    }
    EXPECT_EQ(found, 10);
    EXPECT_EQ(conversionBetween(ZoneWidth::OneAndHalf, ZoneWidth::Three), GkConversion::Zone15To3);
    EXPECT_EQ(conversionBetween(std::nullopt, ZoneWidth::Six), GkConversion::GeoToZone6);
    EXPECT_EQ(conversionBetween(ZoneWidth::OneAndHalf, ZoneWidth::Six), std::nullopt);
    EXPECT_EQ(conversionBetween(std::nullopt, std::nullopt), std::nullopt);
    EXPECT_EQ(conversionBetween(ZoneWidth::Three, ZoneWidth::Three), std::nullopt);
}

TEST(CoordinateWindow, NormaliseInputMapsFullWidthData) {
    EXPECT_EQ(ZelGuiFanShuRu(QStringLiteral("１２．５，３")), QStringLiteral("12.5,3"));
}

}  // namespace
}  // namespace hc

namespace hc {
namespace {

// Values the reading does not take as written are named, row by row, in one notice:
// packed angles with 60 minutes or seconds or more (taken as 60) and heights that are
// not numbers (taken as 0). The rows themselves are converted as before.
TEST(CoordinateWindow, RowsReadWithClampedAnglesOrNonNumberHeightsAreNamed) {
    const QString input = QStringLiteral(
        "示例提示:\r\n"
        "A1,39.7000,117.5017873\r\n"
        "A2,39.5975,117.5017873,高\r\n"
        "A3,40.0000,117.5017873\r\n"
        "A4,39.5960,-117.6030123,12\r\n"
        "A5,39.4125536,117.5017873,\r\n");
    const GkResult r =
        ZelZuoBiaoZhuanHuan(GkConversion::GeoToZone3, input, QString(), GkControls{});
    ASSERT_EQ(r.notices.size(), 1);
    EXPECT_EQ(r.notices[0].text,
              QStringLiteral("第 2 行（A1）第一个坐标 39.7 的分或秒达到 60，按 40°00′00″ 计算\n"
                             "第 3 行（A2）第一个坐标 39.5975 的分或秒达到 60，按 40°00′00″ 计算\n"
                             "第 3 行（A2）高程 高 不是数字，按 0 计算\n"
                             "第 5 行（A4）第一个坐标 39.596 的分或秒达到 60，按 40°00′00″ 计算\n"
                             "第 5 行（A4）第二个坐标 -117.6030123 的分或秒达到 60，按 "
                             "-118°00′00″ 计算"));
    // The three spellings of 40 degrees give one grid point, as before.
    const QStringList rows = r.output.split(QStringLiteral("\r\n"));
    EXPECT_EQ(rows[1].mid(3), rows[2].mid(3));
    EXPECT_EQ(rows[1].mid(3), rows[3].mid(3));

    // Grid input: only the heights; more than ten findings are counted.
    QString grid;
    for (int i = 1; i <= 12; ++i) grid += QStringLiteral("P%1,4395494.6,39571908.2,x\r\n").arg(i);
    const GkResult g = ZelZuoBiaoZhuanHuan(GkConversion::Zone3ToGeo, grid, QString(), GkControls{});
    ASSERT_EQ(g.notices.size(), 1);
    const QStringList lines = g.notices[0].text.split(u'\n');
    ASSERT_EQ(lines.size(), 11);
    EXPECT_EQ(lines[0], QStringLiteral("第 1 行（P1）高程 x 不是数字，按 0 计算"));
    EXPECT_EQ(lines[10], QStringLiteral("……共 12 处，以上为前 10 处"));
    // Ordinary data gives no notice.
    EXPECT_TRUE(ZelZuoBiaoZhuanHuan(GkConversion::Zone3ToGeo,
                                    QStringLiteral("P,4395494.6,39571908.2,12\r\n"), QString(),
                                    GkControls{})
                    .notices.isEmpty());
}

}  // namespace
}  // namespace hc
