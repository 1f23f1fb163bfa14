#include "survey/coord_text.h"

#include <gtest/gtest.h>

#include "tests/survey/print_notice.h"
#include "tests/survey/print_qstring.h"

namespace hc {
namespace {

QString sampleInput() {
    return QStringLiteral(
        "A01 , 39.4125536 , 117.5017873 , 23.441\r\n"
        "Ｚ2 , 39.4041 , 117.4814 , 19.838\r\n"
        "例3 , 39.4053387 , 117.4815132 , 19.851\r\n"
        "39.4053387 , 117.4815132 , 19.851\r\n"
        "\r\n"
        "示例提示:\r\n"
        "  序号  X纬度(北)  Y经度(东)  Z高程(H)\r\n"
        "    \r\n");
}

QString read(const QString& text, int& n, QList<CoordRow>& rows,
             const QString& sep = QStringLiteral(",")) {
    return ZelJieXiZuoBiao(text, n, rows, sep);
}

TEST(DataText, SampleInputReadsFourRowsAndEchoesThem) {
    int n = 200;
    QList<CoordRow> rows;
    const QString echo = read(sampleInput(), n, rows);
    ASSERT_EQ(n, 4);
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0].name, QStringLiteral("A01 "));
    EXPECT_EQ(rows[0].first, 39.4125536);
    EXPECT_EQ(rows[0].second, 117.5017873);
    EXPECT_EQ(rows[0].height, 23.441);
    EXPECT_EQ(rows[1].name, QStringLiteral("Ｚ2 "));
    EXPECT_EQ(rows[1].height, 19.838);
    EXPECT_EQ(rows[2].name, QStringLiteral("例3 "));
    EXPECT_EQ(rows[3].name, QStringLiteral("D004"));
    EXPECT_EQ(rows[3].first, 39.4053387);
    EXPECT_EQ(rows[3].second, 117.4815132);
    EXPECT_EQ(rows[3].height, 19.851);
    EXPECT_EQ(echo, QStringLiteral("A01  , 39.4125536 , 117.5017873 , 23.441\r\n"
                                   "Ｚ2  , 39.4041 , 117.4814 , 19.838\r\n"
                                   "例3  , 39.4053387 , 117.4815132 , 19.851\r\n"
                                   "D004 , 39.4053387 , 117.4815132 , 19.851\r\n"));
}

TEST(DataText, UnnamedRowsAreNumberedByRowCount) {
    int n = 200;
    QList<CoordRow> rows;
    const QString echo =
        read(QStringLiteral("heading\r\nnote: none\r\nA1,1,2\r\n3,4\r\n"), n, rows);
    ASSERT_EQ(n, 2);
    EXPECT_EQ(rows[1].name, QStringLiteral("D002"));
    EXPECT_FALSE(rows[1].hasHeight);
    EXPECT_EQ(echo, QStringLiteral("A1   , 01.0000 , 02.0000\r\nD002 , 03.0000 , 04.0000\r\n"));
}

TEST(DataText, NoDataAtAll) {
    const QString texts[] = {
        QString(),
        QStringLiteral("     "),
        QStringLiteral("\r\nA01,39.41,117.50"),  // a blank first line hides what follows
        QStringLiteral("   \r\nA01,39.41,117.50"),
        QStringLiteral("\tA01,39.41,117.50"),
        QStringLiteral("no separators here 12 34"),
        QStringLiteral("P9,12"),
        QStringLiteral("A,x,y\r\nB,1e999,2\r\nC,--5,7\r\n"),
        QStringLiteral(",,,,,1"),
    };
    for (const QString& t : texts) {
        int n = 200;
        QList<CoordRow> rows;
        EXPECT_EQ(read(t, n, rows), QStringLiteral("没有发现坐标数据！")) << t.toStdString();
        EXPECT_EQ(n, 0);
        EXPECT_TRUE(rows.isEmpty());
    }
    int n = 0;
    QList<CoordRow> rows;
    EXPECT_EQ(read(QStringLiteral("A,1,2"), n, rows), QStringLiteral("没有发现坐标数据！"));
    EXPECT_EQ(n, 0);
}

TEST(DataText, SeparatorDecidesWhichLinesAreData) {
    int n = 200;
    QList<CoordRow> rows;
    read(QStringLiteral("A1;1;2\r\nA2,1,2\r\nA3;x;y\r\nA4;5;6;7;8\r\n"), n, rows,
         QStringLiteral(";"));
    ASSERT_EQ(n, 2);
    EXPECT_EQ(rows[0].name, QStringLiteral("A1"));
    EXPECT_EQ(rows[1].name, QStringLiteral("A4"));
    EXPECT_EQ(rows[1].height, 7);

    // More separators than digit-like characters: not data.
    n = 200;
    read(QStringLiteral("A,1,,,,,,,2"), n, rows);
    EXPECT_EQ(n, 0);

    // A separator of two characters or a control character falls back to ",".
    for (const QString& sep : {QStringLiteral(";;"), QString(), QStringLiteral("\r")}) {
        n = 200;
        read(QStringLiteral("A1,1,2"), n, rows, sep);
        EXPECT_EQ(n, 1);
    }
}

TEST(DataText, TabAndSpaceSeparators) {
    QString input = QStringLiteral("A1\t39.41\t117.50\r\nB2\t1\t2\t3");
    const QString sep = ZelFenGeFuSheZhi(QStringLiteral("Tab"), input);
    EXPECT_EQ(sep, QStringLiteral("\t"));
    EXPECT_EQ(ZelFenGeFuSheZhi(QStringLiteral("TAB"), input), QStringLiteral("\t"));
    int n = 200;
    QList<CoordRow> rows;
    const QString echo = read(input, n, rows, sep);
    ASSERT_EQ(n, 2);
    EXPECT_EQ(rows[0].second, 117.5);
    EXPECT_EQ(echo, QStringLiteral(
                        "A1   \t 39.4100 \t 117.5000\r\nB2   \t 01.0000 \t 02.0000 \t 03.000\r\n"));

    QString spaced = QStringLiteral("P1\t39.41 \u3000  117.5       12\r\nP2  1   2");
    EXPECT_EQ(ZelFenGeFuSheZhi(QStringLiteral(" "), spaced), QStringLiteral(" "));
    EXPECT_EQ(spaced, QStringLiteral("P1 39.41 117.5 12\r\nP2 1 2"));
    n = 200;
    read(spaced, n, rows, QStringLiteral(" "));
    ASSERT_EQ(n, 2);
    EXPECT_EQ(rows[0].height, 12);
    EXPECT_EQ(rows[1].second, 2);
}

TEST(DataText, SeparatorChoiceWarningForSpaceAndTab) {
    const Notices warning{Notice{
        QStringLiteral("    [空格]可能造成数据混乱，平时请不要使用[空格]作为分隔符！"
                       "仅留作转换外来数据时使用一次。"),
        NoticeButtons::CancelRetryContinue, QStringLiteral("  修改分隔符 -- 石岚 -- 提示  ")}};
    for (const char* entry : {",", ";", "tabs", "|"}) {
        EXPECT_TRUE(ZelFenGeFuXuanZe(QString::fromLatin1(entry)).isEmpty()) << entry;
    }
    for (const char* entry : {" ", "Tab", "TAB", "\t", "  tab "}) {
        EXPECT_EQ(ZelFenGeFuXuanZe(QString::fromLatin1(entry)), warning) << entry;
    }
    EXPECT_EQ(separatorChoices().size(), 27);
    EXPECT_EQ(separatorChoices()[25], QStringLiteral("Tab"));
}

TEST(DataText, RowLimitStopsReading) {
    QString text;
    for (int i = 1; i <= 205; ++i) text += QStringLiteral("P%1,%2,117\r\n").arg(i).arg(i % 90);
    int n = 200;
    QList<CoordRow> rows;
    const QString echo = read(text, n, rows);
    EXPECT_EQ(n, 200);
    EXPECT_EQ(rows.size(), 200);
    EXPECT_EQ(rows.last().name, QStringLiteral("P200"));
    EXPECT_EQ(echo.count(QStringLiteral("\r\n")), 200);
}

TEST(DataText, LoneLineFeedsEndLinesToo) {
    int n = 200;
    QList<CoordRow> rows;
    read(QStringLiteral("A1,1,2\nA2,3,4\rA3,5,6\r\n"), n, rows);
    ASSERT_EQ(n, 3);
    EXPECT_EQ(rows[2].second, 6);
}

TEST(DataText, FullWidthCharactersOfTheData) {
    EXPECT_EQ(ZelQuanJiaoZhuanBanJiao(QString()), QString());
    EXPECT_EQ(ZelQuanJiaoZhuanBanJiao(QStringLiteral("\tA,1")), QString());
    EXPECT_EQ(ZelQuanJiaoZhuanBanJiao(QStringLiteral("A\u3000\u3000B     C  D")),
              QStringLiteral("A B C D"));
    EXPECT_EQ(ZelQuanJiaoZhuanBanJiao(QStringLiteral("―＋·．，＃＠＊＆／")),
              QStringLiteral("-+..,#@*&/"));
    // Unlisted full-width characters stay.
    EXPECT_EQ(ZelQuanJiaoZhuanBanJiao(QStringLiteral("Ａ１－")), QStringLiteral("Ａ１－"));

    int n = 200;
    QList<CoordRow> rows;
    read(QStringLiteral("点１，39．4125536，117·5"), n, rows);
    ASSERT_EQ(n, 1);
    EXPECT_EQ(rows[0].name, QStringLiteral("点１"));
    EXPECT_EQ(rows[0].first, 39.4125536);
    EXPECT_EQ(rows[0].second, 117.5);
}

TEST(DataText, NumericField) {
    struct Case {
        const char* field;
        const char* text;
    };
    const Case cases[] = {
        {"23.441m", "23.441"},
        {"x12", ""},
        {"1.2e3", "1200"},
        {"1.2E3", "1200"},
        {"--5", ""},
        {"1e999", ""},
        {" 7 ", "7"},
        {"", ""},
        {"\t5", ""},
        {"5e", ""},
        {"1.5E-20", "1.5E-20"},
        {"-0", "0"},
        {"12345678901234567", "1.23456789012346E+16"},
        {".5", "0.5"},
        {"3.", "3"},
        {"1.2.3", ""},
        {"+7abc", "7"},
        {"e5", ""},
        // Below the double range a number reads as 0, as the calculator reads it.
        {"1e-400", "0"},
        {"-0.00001e-99999999999999999999", "0"},
        {"1e400", ""},
        {"0.0001e312", "1E+308"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ZelQuShuZhi(QString::fromUtf8(c.field)), QString::fromUtf8(c.text)) << c.field;
    }
}

TEST(DataText, HugeValuesAndBadHeightsStillMakeRows) {
    int n = 200;
    QList<CoordRow> rows;
    const QString echo = read(QStringLiteral("P1,1e300,-1e300,abc\r\nP2,1,2,1e999\r\n"), n, rows);
    ASSERT_EQ(n, 2);
    EXPECT_EQ(rows[0].first, 1e300);
    EXPECT_FALSE(rows[0].hasHeight);
    EXPECT_EQ(rows[0].height, 0);
    EXPECT_EQ(rows[1].height, 0);
    EXPECT_TRUE(echo.startsWith(QStringLiteral("P1   , 1000000000000000")));
    EXPECT_TRUE(echo.contains(QStringLiteral(" , -1000000000000000")));

    n = 200;
    read(QStringLiteral("P3,1e-400,5,2e-999\r\n"), n, rows);
    ASSERT_EQ(n, 1);
    EXPECT_EQ(rows[0].first, 0);
    EXPECT_EQ(rows[0].second, 5);
    EXPECT_TRUE(rows[0].hasHeight);
}

TEST(CoordinateOrder, DetectsLatitudeColumn) {
    int n = 200;
    QList<CoordRow> rows;
    read(sampleInput(), n, rows);
    CoordOrder o = ZelJingWeiShunXu(rows, n, AxisOrder::YXZ);
    EXPECT_EQ(o.order, AxisOrder::XYZ);
    EXPECT_EQ(o.remark, QStringLiteral("\r\n\r\n备注∴原始数据按纬度在前 X Y Z 型处理∴"));
    o = ZelJingWeiShunXu(rows, n, AxisOrder::XYZ);
    EXPECT_EQ(o.order, AxisOrder::XYZ);
    EXPECT_EQ(o.remark, QString());

    n = 200;
    read(QStringLiteral("A,117.5,39.41\r\nB,-75.2,-12.1"), n, rows);
    o = ZelJingWeiShunXu(rows, n, AxisOrder::XYZ);
    EXPECT_EQ(o.order, AxisOrder::YXZ);
    EXPECT_EQ(o.remark, QStringLiteral("\r\n\r\n备注∴原始数据按经度在前 Y X Z 型处理∴"));

    // Both columns above 90: no switch, and the longitude is too large.
    n = 200;
    read(QStringLiteral("A,95,181\r\nB,100,120"), n, rows);
    o = ZelJingWeiShunXu(rows, n, AxisOrder::XYZ);
    EXPECT_EQ(o.order, AxisOrder::XYZ);
    EXPECT_EQ(o.remark, QStringLiteral("\r\n\r\n备注∴原始数据的经度大于180度错误∴"));

    // 180.3 packed is 180.5 degrees.
    n = 200;
    read(QStringLiteral("A,180.3,45"), n, rows);
    o = ZelJingWeiShunXu(rows, n, AxisOrder::YXZ);
    EXPECT_EQ(o.order, AxisOrder::YXZ);
    EXPECT_EQ(o.remark, QStringLiteral("\r\n\r\n备注∴原始数据的经度大于180度错误∴"));

    o = ZelJingWeiShunXu({}, 0, AxisOrder::YXZ);
    EXPECT_EQ(o.order, AxisOrder::YXZ);
}

TEST(OutputRows, FormatsAndLayout) {
    EXPECT_EQ(formatNorthing(4395570.26), QStringLiteral("4395570.260"));
    EXPECT_EQ(formatNorthing(0), QStringLiteral("0000000.000"));
    EXPECT_EQ(formatNorthing(-123.4567), QStringLiteral("-0000123.457"));
    EXPECT_EQ(formatNorthing(0.0005), QStringLiteral("0000000.001"));
    EXPECT_EQ(formatNorthing(-0.0004), QStringLiteral("0000000.000"));
    EXPECT_EQ(formatNorthing(12345678.9), QStringLiteral("12345678.900"));
    EXPECT_EQ(formatEasting(500000), QStringLiteral("00500000.000"));
    EXPECT_EQ(formatEasting(-39542000.1234), QStringLiteral("-39542000.123"));
    EXPECT_EQ(formatLatitude(39.4125536), QStringLiteral("39.41255360"));
    EXPECT_EQ(formatLatitude(-0.5), QStringLiteral("-00.50000000"));
    EXPECT_EQ(formatLongitude(7.123456785), QStringLiteral("007.12345679"));
    EXPECT_EQ(formatLongitude(-117.5017873), QStringLiteral("-117.50178730"));

    EXPECT_EQ(nameColumn(QStringLiteral(" 例3 "), 6), QStringLiteral("例3    , "));
    EXPECT_EQ(nameColumn(QStringLiteral("LONGNAME"), 4), QStringLiteral("LONGNAME , "));

    EXPECT_EQ(ZelShuChuHang(QStringLiteral("A01  , "), QStringLiteral("1"), QStringLiteral("2"),
                            23.441, QString()),
              QStringLiteral("A01  , 1 , 2 , 23.441 \r\n"));
    EXPECT_EQ(
        ZelShuChuHang(QString(), QStringLiteral("1"), QStringLiteral("2"), 0, QStringLiteral("R")),
        QStringLiteral("1 , 2 R\r\n"));
    EXPECT_EQ(ZelShuChuHang(QString(), QStringLiteral("1"), QStringLiteral("2"), 0.0004, QString()),
              QStringLiteral("1 , 2 , 0.000 \r\n"));
    EXPECT_EQ(
        ZelShuChuHang(QString(), QStringLiteral("1"), QStringLiteral("2"), -1234.5675, QString()),
        QStringLiteral("1 , 2 , -1234.568 \r\n"));
}

TEST(OutputRows, Headers) {
    EXPECT_EQ(gridHeader(ZoneWidth::Three, QStringLiteral("北京")),
              QStringLiteral("﹌﹌﹌以下为３度带北京系公里网坐标……单位【米】﹌﹌﹌\r\n"));
    EXPECT_EQ(gridHeader(ZoneWidth::Six, QStringLiteral("WGS")),
              QStringLiteral("﹌﹌﹌以下为６度带WGS系公里网坐标……单位【米】﹌﹌﹌\r\n"));
    EXPECT_EQ(gridHeader(ZoneWidth::OneAndHalf, QStringLiteral("西安")),
              QStringLiteral("﹌﹌﹌以下为１.５度带西安系公里网坐标……单位【米】﹌﹌﹌\r\n"));
    EXPECT_EQ(geographicHeader(), QStringLiteral("●●●以下坐标为经纬度……度.分秒格式●●●\r\n"));
}

}  // namespace
}  // namespace hc
