#include "survey/point_list.h"

#include <gtest/gtest.h>

#include "tests/survey/print_qstring.h"

namespace hc {
namespace {

const QString kRemoved = QStringLiteral("数据中存在无用的字符或汉字！已被自动清除，计算继续进行。");

QString sampleList() {
    return QStringLiteral(
        "A001,4395879.562,40400348.322,23.441\r\n"
        " Z02,4394571.954,40397379.291,19.838\r\n"
        "  z3,4394926.422,40397410.355,19.851\r\n"
        "G4,0,2,5\r\n"
        "G5,2,0,5\r\n"
        "G6,0,0,3\r\n");
}

struct Read {
    PointListReading reading;
    int errors = 0;
    Notices notices;
};

Read read(const QString& text, PointListMode mode = PointListMode::Grid) {
    Read r{ZelZhengLiDianBiao(text, mode), 0, {}};
    r.errors = static_cast<int>(r.reading.notANumberCount);
    r.notices = r.reading.notices;
    return r;
}

TEST(PointList, SampleListIsLaidOutInAlignedColumns) {
    const Read r = read(sampleList());
    const QString expected = QStringLiteral(
        "A001 ,4395879.562 ,40400348.322 ,23.441 ,\r\n"
        " Z02 ,4394571.954 ,40397379.291 ,19.838 ,\r\n"
        "  z3 ,4394926.422 ,40397410.355 ,19.851 ,\r\n"
        "  G4 ,0           ,2            ,     5 ,\r\n"
        "  G5 ,2           ,0            ,     5 ,\r\n"
        "  G6 ,0           ,0            ,     3 ,\r\n");
    EXPECT_EQ(r.reading.text, expected);
    ASSERT_EQ(r.reading.points.rowCount(), 6);
    const PointRow& z02 = r.reading.points.rows[1];
    EXPECT_EQ(z02.name, QStringLiteral("Z02"));
    EXPECT_EQ(z02.x.text(), QStringLiteral("4394571.954"));
    EXPECT_EQ(z02.y.text(), QStringLiteral("40397379.291"));
    EXPECT_EQ(z02.h.text(), QStringLiteral("19.838"));
    EXPECT_TRUE(z02.extra.text().isEmpty());
    EXPECT_TRUE(z02.x.isDecimal());
    EXPECT_EQ(r.errors, 0);
    EXPECT_TRUE(r.notices.isEmpty());

    // The laid-out text reads back into the same rows and the same text.
    const Read again = read(r.reading.text);
    EXPECT_EQ(again.reading.text, expected);
    ASSERT_EQ(again.reading.points.rowCount(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(again.reading.points.rows[i].name, r.reading.points.rows[i].name);
        EXPECT_EQ(again.reading.points.rows[i].h.text(), r.reading.points.rows[i].h.text());
    }
}

TEST(PointList, EveryLineIsARowBlankLinesIncluded) {
    struct Case {
        const char* text;
        int rows;
        const char* laidOut;
    };
    const Case cases[] = {
        {"A001,1,2,3", 1, "A001 ,1 ,2 ,3 ,\r\n"},
        {"A001,1,2,3\r\n", 1, "A001 ,1 ,2 ,3 ,\r\n"},
        {"A001,1,2,3\r\n\r\n", 2, "A001 ,1 ,2 ,3 ,\r\n     ,  ,  ,  ,\r\n"},
        {"A,1,2,3\r\n\r\nBB,4,5,66", 3, " A ,1 ,2 , 3 ,\r\n   ,  ,  ,   ,\r\nBB ,4 ,5 ,66 ,\r\n"},
        // Fields after H: the fifth is kept (right-aligned), later ones are dropped.
        {"A,1,2,3,44,9,9\r\nB,1,2,3,5", 2, "A ,1 ,2 ,3 ,44\r\nB ,1 ,2 ,3 , 5\r\n"},
    };
    for (const Case& c : cases) {
        const Read r = read(QString::fromUtf8(c.text));
        EXPECT_EQ(r.reading.points.rowCount(), c.rows) << c.text;
        EXPECT_EQ(r.reading.text, QString::fromUtf8(c.laidOut)) << c.text;
    }
}

TEST(PointList, ShortRowsCarryEverySeparator) {
    const Read r = read(QStringLiteral("P\r\nQ,7\r\n"));
    ASSERT_EQ(r.reading.points.rowCount(), 2);
    EXPECT_TRUE(r.reading.points.rows[0].x.text().isEmpty());
    EXPECT_EQ(r.reading.points.rows[1].x.text(), QStringLiteral("7"));
    EXPECT_EQ(r.reading.text, QStringLiteral("P ,  , , ,\r\nQ ,7 , , ,\r\n"));
}

TEST(PointList, CleaningMapsPunctuationAndRemovesTheRest) {
    struct Case {
        const char* text;
        const char* name;
        const char* x;
        const char* y;
        const char* h;
        int notices;
        int errors;
    };
    const Case cases[] = {
        {"P1，3。5，4。2，—1", "P1", "3.5", "4.2", "-1", 0, 0},
        {"P1；3．5／4、2;＋7", "P1", "3.5", "4.2", "7", 0, 0},
        {"P1,－1,＿2,±3", "P1", "-1", "-2", "-3", 0, 0},
        {"P1,―1,─2,━3", "P1", "-1", "-2", "-3", 0, 0},
        {"P1,╋1,┼2,_3", "P1", "1", "2", "-3", 0, 0},
        {"P1,\u30001\u3000,2,3", "P1", "1", "2", "3", 0, 0},
        {"P1,3.5,4-2", "P1", "3.5", "0", "", 0, 1},
        {"测点1,10,20,5", "1", "10", "20", "5", 2, 0},
        {"P\xf0\x9f\x98\x80,1,2", "P", "1", "2", "", 1, 0},
        {"A 1 ,10,20", "A 1", "10", "20", "", 0, 0},
        {"A!\"#$%&'()*:<=>?@{|}~1,2,3,4", "A1", "2", "3", "4", 20, 0},
        {"Ａ1,(2),3", "1", "2", "3", "", 1 + 2, 0},
    };
    for (const Case& c : cases) {
        const Read r = read(QString::fromUtf8(c.text));
        ASSERT_EQ(r.reading.points.rowCount(), 1) << c.text;
        const PointRow& row = r.reading.points.rows[0];
        EXPECT_EQ(row.name, QString::fromUtf8(c.name)) << c.text;
        EXPECT_EQ(row.x.text(), QString::fromUtf8(c.x)) << c.text;
        EXPECT_EQ(row.y.text(), QString::fromUtf8(c.y)) << c.text;
        EXPECT_EQ(row.h.text(), QString::fromUtf8(c.h)) << c.text;
        // One notice of the removed characters, one of the fields that are no number.
        const int expected = (c.notices > 0 ? 1 : 0) + (c.errors > 0 ? 1 : 0);
        ASSERT_EQ(r.notices.size(), expected) << c.text;
        if (c.notices > 0) {
            EXPECT_TRUE(r.notices[0].text.startsWith(
                kRemoved + QStringLiteral("（共清除 %1 个字符：").arg(c.notices)))
                << c.text;
        }
        if (c.errors > 0) {
            EXPECT_TRUE(r.notices.back().text.startsWith(
                QStringLiteral("有 %1 个数据不是数值，已按 0 计算：第 1 行").arg(c.errors)))
                << c.text;
        }
        EXPECT_EQ(r.errors, c.errors) << c.text;
    }
}

TEST(PointList, TabSeparatedDataIsOneField) {
    const Read r = read(QStringLiteral("A001\t10\t20\r\n"));
    ASSERT_EQ(r.reading.points.rowCount(), 1);
    EXPECT_EQ(r.reading.points.rows[0].name, QStringLiteral("A001\t10\t20"));
    EXPECT_TRUE(r.reading.points.rows[0].x.text().isEmpty());
    EXPECT_TRUE(r.notices.isEmpty());
}

TEST(PointList, GeographicModeNamesRowsByNumber) {
    const Read r = read(QStringLiteral("30.3030,114.2020,5\r\n\r\nA001,30.3030,114.2020,5\r\n"),
                        PointListMode::Geographic);
    ASSERT_EQ(r.reading.points.rowCount(), 3);
    const PointRow& first = r.reading.points.rows[0];
    EXPECT_EQ(first.name, QStringLiteral("1"));
    EXPECT_EQ(first.x.text(), QStringLiteral("30.303"));
    EXPECT_EQ(first.y.text(), QStringLiteral("114.202"));
    EXPECT_EQ(first.h.text(), QStringLiteral("5"));
    EXPECT_TRUE(r.reading.points.rows[1].name.isEmpty());
    // A name in the X position reads as "0" and shifts the values right.
    const PointRow& named = r.reading.points.rows[2];
    EXPECT_EQ(named.name, QStringLiteral("3"));
    EXPECT_EQ(named.x.text(), QStringLiteral("0"));
    EXPECT_EQ(named.y.text(), QStringLiteral("30.303"));
    EXPECT_EQ(named.h.text(), QStringLiteral("114.202"));
    EXPECT_EQ(named.extra.text(), QStringLiteral("5"));
    EXPECT_EQ(r.errors, 1);
    // The laid-out text has no name column: read again, it gives the same points
    // (with the row numbers as names, the old layout read them as latitudes).
    const QString laidOut = QStringLiteral(
        "30.303 ,114.202 ,      5 , \r\n"
        "       ,        ,        , \r\n"
        "0      ,30.303  ,114.202 ,5\r\n");
    EXPECT_EQ(r.reading.text, laidOut);
    const Read again = read(laidOut, PointListMode::Geographic);
    EXPECT_EQ(again.reading.text, laidOut);
    ASSERT_EQ(again.reading.points.rowCount(), 3);
    EXPECT_EQ(again.reading.points.rows[0].x.text(), QStringLiteral("30.303"));
    EXPECT_EQ(again.reading.points.rows[2].name, QStringLiteral("3"));
}

TEST(PointList, TextsItCannotReadComeBackUnchanged) {
    const QString texts[] = {
        QString(),
        QStringLiteral("A"),
        QStringLiteral("测"),
        // A line break made of a CR alone followed by a comma or another CR.
        QStringLiteral("A,1,2\r,3,4\r\n"),
        QStringLiteral("A,1,2\r\r\nB,3,4"),
    };
    for (const QString& t : texts) {
        const Read r = read(t);
        EXPECT_EQ(r.reading.text, t);
        EXPECT_EQ(r.reading.points.rowCount(), 0);
    }
}

TEST(PointList, ValuesBeyondTheDecimalRangeStayDoubles) {
    const Read r = read(QStringLiteral("A,1E+30,-2e-40,1E+28\r\n"));
    ASSERT_EQ(r.reading.points.rowCount(), 1);
    const PointRow& row = r.reading.points.rows[0];
    EXPECT_EQ(row.x.text(), QStringLiteral("1E+30"));
    EXPECT_EQ(row.y.text(), QStringLiteral("-2E-40"));
    EXPECT_EQ(row.h.text(), QStringLiteral("10000000000000000000000000000"));
    EXPECT_THROW(coordinateValue(row.x), DecimalError);
    EXPECT_EQ(coordinateValue(Num()), Decimal(0));
}

TEST(PointList, NamesAreFoundExactlyAndNeverEmpty) {
    const Read r = read(QStringLiteral("A,1,2,3\r\n\r\na,4,5,6\r\nA,7,8,9\r\n"));
    const PointList& list = r.reading.points;
    EXPECT_EQ(list.findName(QStringLiteral("A")), 1);
    EXPECT_EQ(list.findName(QStringLiteral("a")), 3);
    EXPECT_EQ(list.findName(QStringLiteral("b")), 0);
    EXPECT_EQ(list.findName(QString()), 0);
    EXPECT_EQ(pointNameEntries(list),
              (QStringList{QStringLiteral("0"), QStringLiteral("A"), QString(), QStringLiteral("a"),
                           QStringLiteral("A")}));
}

TEST(PointList, LargeInputsAreReadWhole) {
    QString many;
    for (int i = 0; i < 100000; ++i)
        many += QStringLiteral("P%1,%2.5,%3,1\r\n").arg(i).arg(i).arg(-i);
    const Read big = read(many);
    ASSERT_EQ(big.reading.points.rowCount(), 100000);
    EXPECT_EQ(big.reading.points.rows[99999].y.text(), QStringLiteral("-99999"));
    EXPECT_TRUE(big.reading.text.startsWith(QStringLiteral("    P0 ,0.5     ,0      ,1 ,\r\n")));

    const QString longLine = QStringLiteral("A,") + QString(100000, u'7') + QStringLiteral(",2,3");
    const Read wide = read(longLine);
    ASSERT_EQ(wide.reading.points.rowCount(), 1);
    EXPECT_EQ(wide.reading.points.rows[0].x.text(), QStringLiteral("0"));
    EXPECT_EQ(wide.errors, 1);

    // A flood of removed characters and of fields that are no number gives one
    // notice of each kind, naming the first few and counting them all.
    const Read chinese = read(QString(100000, QChar(0x6d4b)));
    ASSERT_EQ(chinese.notices.size(), 1);
    EXPECT_EQ(chinese.notices[0].text, kRemoved + QStringLiteral("（共清除 100000 个字符：测）"));
    EXPECT_EQ(chinese.reading.points.rowCount(), 1);
}

TEST(PointList, NoticesOfAFloodAreBounded) {
    QString list;
    for (int i = 1; i <= 100000; ++i) list += QStringLiteral("P%1,x%1,2,3\r\n").arg(i);
    list += QStringLiteral("Q,1,2,3");
    const PointListReading r = ZelZhengLiDianBiao(list, PointListMode::Grid);
    ASSERT_EQ(r.points.rowCount(), 100001);
    EXPECT_EQ(r.notANumberCount, 100000);
    ASSERT_EQ(r.notices.size(), 1);
    EXPECT_EQ(r.notices[0].text,
              QStringLiteral(
                  "有 100000 个数据不是数值，已按 0 计算：第 1 行第 2 列“x1”，第 2 行第 2 列“x2”，"
                  "第 3 行第 2 列“x3”，第 4 行第 2 列“x4”，第 5 行第 2 列“x5”……。"));

    // Long fields are quoted in part; invisible removed characters by their code.
    const Read odd = read(QStringLiteral("A\u200b,") + QString(30, u'y') + QStringLiteral(",1,2"));
    ASSERT_EQ(odd.notices.size(), 2);
    EXPECT_EQ(odd.notices[0].text, kRemoved + QStringLiteral("（共清除 1 个字符：U+200B）"));
    EXPECT_EQ(odd.notices[1].text,
              QStringLiteral("有 1 个数据不是数值，已按 0 计算：第 1 行第 2 列“") +
                  QString(20, u'y') + QStringLiteral("…”。"));
}

}  // namespace
}  // namespace hc
