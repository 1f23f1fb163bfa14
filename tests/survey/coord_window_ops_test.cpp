#include "survey/coord_window_ops.h"

#include <gtest/gtest.h>

#include "tests/survey/print_qstring.h"

namespace hc {
namespace {

const QString kHelp = QStringLiteral("帮助 1,2\r\n以中央子午线处=500公里=500,000米\r\n \r\n");

TEST(ResultRowsOf, KeepsOnlyTheRowsOfTheBlocks) {
    const QString block3 = QStringLiteral(
        "﹌﹌﹌以下为３度带北京系公里网坐标……单位【米】﹌﹌﹌\r\n"
        "A01 , 4395570.260 , 39571909.407 , 23.441 \r\n\r\n");
    const QString geo =
        QStringLiteral("●●●以下坐标为经纬度……度.分秒格式●●●\r\nB , 39.41 , 117.50 \r\n\r\n");
    const struct {
        QString output;
        QString rows;
    } cases[] = {
        {kHelp, QString()},
        {QString(), QString()},
        {block3 + kHelp, QStringLiteral("A01 , 4395570.260 , 39571909.407 , 23.441 \r\n")},
        {geo + block3 + kHelp,
         QStringLiteral("B , 39.41 , 117.50 \r\nA01 , 4395570.260 , 39571909.407 , 23.441 \r\n")},
        // Without the help text (emptied by Label1), and with LF line ends.
        {QStringLiteral("x , 1 , 2\n\ny , 3 , 4"), QStringLiteral("x , 1 , 2\r\ny , 3 , 4\r\n")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(resultRowsOf(c.output, kHelp), c.rows) << qPrintable(c.output);
}

TEST(ConvertSinglePoint, GivesEveryFormAsTheListConversionDoes) {
    SinglePointInput in;
    in.north = QStringLiteral(" 39.4125536 ");
    in.east = QStringLiteral("117.5017873");
    const SinglePointResult r = convertSinglePoint(in);
    ASSERT_EQ(r.forms.size(), 4);
    EXPECT_TRUE(r.error.isEmpty());
    EXPECT_EQ(r.forms[0].north, QStringLiteral("39.4125536"));  // as given
    EXPECT_EQ(r.forms[2].north, QStringLiteral("4395570.260"));
    EXPECT_EQ(r.forms[2].east, QStringLiteral("39571909.407"));
    EXPECT_TRUE(r.forms[1].east.startsWith(QStringLiteral("77")));
    EXPECT_TRUE(r.forms[3].east.startsWith(QStringLiteral("20")));

    // From the 1.5-degree grid the 6-degree one goes through the 3-degree grid and
    // lands within a millimetre of the direct conversion from latitude/longitude.
    SinglePointInput grid;
    grid.from = ZoneWidth::OneAndHalf;
    grid.north = r.forms[1].north;
    grid.east = r.forms[1].east;
    const SinglePointResult g = convertSinglePoint(grid);
    ASSERT_EQ(g.forms.size(), 4);
    EXPECT_NEAR(g.forms[3].north.toDouble(), r.forms[3].north.toDouble(), 0.0015);
    EXPECT_NEAR(g.forms[3].east.toDouble(), r.forms[3].east.toDouble(), 0.0015);
    EXPECT_EQ(g.forms[2].north, r.forms[2].north);

    // An invalid meridian gives the settings' notice; no point gives the no-data text.
    in.meridian = QStringLiteral("117.7");
    EXPECT_EQ(convertSinglePoint(in).notices.size(), 1);
    in.north = QStringLiteral("北");
    EXPECT_EQ(convertSinglePoint(in).error, noCoordinateDataText());
    EXPECT_TRUE(convertSinglePoint(in).forms.isEmpty());
}

}  // namespace
}  // namespace hc
