#include "tools/statistics.h"

#include <gtest/gtest.h>

#include "tests/survey/print_qstring.h"
#include "tools/statistics_command.h"

namespace hc {
namespace {

QString q(const char* s) { return QString::fromUtf8(s); }

const char* kExample =
    "例1a*2*3*4*5.987\r\n"
    "例2b的*2* *5*6.985\r\n"
    "例3c * 2 * 3.2346 * 6 * \r\n"
    "例4 * 2 * -33 * 7 * 98.7\r\n";

using Column = std::array<const char*, kStatRows>;

void expectColumn(const StatsRun& run, int c, const Column& want) {
    for (int r = 0; r < kStatRows; ++r)
        EXPECT_EQ(run.cells[r][c], q(want[r])) << "column " << c + 1 << " row " << r + 1 << " ("
                                               << statRowCaptions()[r].toStdString() << ")";
}

TEST(Statistics, ExampleTextGivesEveryResultAndAlignedText) {
    const StatsRun run = runStatistics(q(kExample), q("*"), q("1"));
    expectColumn(run, 0, {"4", "2", "2", "2", "8", "0", "0", "0", "0", "0"});
    expectColumn(run, 1,
                 {"3", "-33", "3.2346", "-8.9218", "-26.7654", "20.852662796870811", "434.83354572",
                  "-2.337270819438993", "289.88903048", "-1.908373632774083"});
    expectColumn(run, 2,
                 {"4", "4", "7", "5.5", "22", "1.290994448735806", "1.666666666666667",
                  "0.23472626340651", "1.25", "0.203278907045435"});
    expectColumn(run, 3,
                 {"3", "5.987", "98.7", "37.224", "111.672", "53.242116158169371", "2834.722933",
                  "1.430316896576654", "1889.815288666666667", "1.167848855697994"});
    expectColumn(run, 4, {" ", " ", " ", " ", " ", " ", " ", " ", " ", " "});
    EXPECT_TRUE(run.notices.isEmpty());
    EXPECT_EQ(run.separator, q("*"));

    const QStringList lines = run.data.split(q("\r\n"));
    ASSERT_EQ(lines.size(), 5);  // four lines and the empty text after the last CR LF
    EXPECT_EQ(lines[0], q("   例1a * 2 *      3 * 4 * 5.987 *  "));
    EXPECT_EQ(lines[1], q(" 例2b的 * 2 *        * 5 * 6.985 *  "));
    EXPECT_EQ(lines[2], q("   例3c * 2 * 3.2346 * 6 *       *  "));
    EXPECT_EQ(lines[3], q("    例4 * 2 *    -33 * 7 *  98.7 *  "));
    EXPECT_TRUE(lines[4].isEmpty());

    // The rewritten text reads back to the same text and statistics.
    const StatsRun again = runStatistics(run.data, run.separator, q("1"));
    EXPECT_EQ(again.data, run.data);
    EXPECT_EQ(again.cells, run.cells);
}

// One data text, one separator and label count; the expected rewritten text and
// the first column's N, minimum, maximum, mean, sum and SD.
struct CommandCase {
    const char* name;
    const char* data;
    const char* separator;
    const char* labels;
    const char* rewritten;
    std::array<const char*, 6> column1;
};

TEST(Statistics, CommandCases) {
    const CommandCase cases[] = {
        {"single value",
         "7.5\r\n",
         "*",
         "0",
         " 7.5 *  *  *  *  \r\n",
         {"1", "7.5", "7.5", "7.5", "7.5", "0"}},
        {"minimum and maximum are numeric",
         "3\r\n-33\r\n10\r\n",
         "*",
         "0",
         "   3 *  *  *  *  \r\n -33 *  *  *  *  \r\n  10 *  *  *  *  \r\n",
         {"3", "-33", "10", "-6.666666666666667", "-20", "23.072349974229615"}},
        {"extra cells dropped",
         "1*2*3*4*5*6*7\r\n",
         "*",
         "0",
         " 1 * 2 * 3 * 4 * 5 \r\n",
         {"1", "1", "1", "1", "1", "0"}},
        {"labels 2 and 3",
         "a*b*c*1*2\r\n",
         "*",
         "3",
         " a * b * c * 1 * 2 *  *  *  \r\n",
         {"1", "1", "1", "1", "1", "0"}},
        {"label cells untouched",
         "例3c * 7 \r\n 0.50 * 1.50\r\n",
         "*",
         "1",
         " 例3c *   7 *  *  *  *  \r\n 0.50 * 1.5 *  *  *  *  \r\n",
         {"2", "1.5", "7", "4.25", "8.5", "3.889087296526011"}},
        {"tab by name",
         "1\t2\r\n3\t4\r\n",
         "TAB",
         "0",
         " 1 \t 2 \t  \t  \t  \r\n 3 \t 4 \t  \t  \t  \r\n",
         {"2", "1", "3", "2", "4", "1.414213562373095"}},
        {"blank and control cells skipped",
         "*1\r\n\t*2\r\n",
         "*",
         "1",
         "  * 1 *  *  *  *  \r\n\t * 2 *  *  *  *  \r\n",
         {"2", "1", "2", "1.5", "3", "0.707106781186548"}},
        {"text in a numeric cell counts as 0",
         "abc\r\n4\r\n",
         "*",
         "0",
         " 0 *  *  *  *  \r\n 4 *  *  *  *  \r\n",
         {"2", "0", "4", "2", "4", "2.82842712474619"}},
        {"lone LF is part of a cell",
         "1\n2\r\n",
         "*",
         "0",
         " 0 *  *  *  *  \r\n",
         {"1", "0", "0", "0", "0", "0"}},
        {"CR alone ends a line and the text",
         "1\r2\r",
         "*",
         "0",
         " 1 *  *  *  *  \r\n 2 *  *  *  *  \r\n",
         {"2", "1", "2", "1.5", "3", "0.707106781186548"}},
        {"full-width digits and separator",
         "１＊２\r\n",
         "*",
         "0",
         " 1 * 2 *  *  *  \r\n",
         {"1", "1", "1", "1", "1", "0"}},
        {"label count not a whole number reads 0",
         "5*6\r\n",
         "*",
         "1.5",
         " 5 * 6 *  *  *  \r\n",
         {"1", "5", "5", "5", "5", "0"}},
    };
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(c.name);
        const StatsRun run = runStatistics(q(c.data), q(c.separator), q(c.labels));
        EXPECT_EQ(run.data, q(c.rewritten));
        for (int r = 0; r < 6; ++r) EXPECT_EQ(run.cells[r][0], q(c.column1[r])) << "row " << r + 1;
    }
}

TEST(Statistics, SpaceSeparatorIsConvertedOnceWithItsWarning) {
    // Single spaces separate; two in a row leave a blank cell that shifts the rest.
    const StatsRun run = runStatistics(q("1 2 3\r\n4  5*\r\n"), q(" "), q("0"));
    EXPECT_TRUE(run.separatorReset);
    EXPECT_EQ(run.separator, q("*"));
    EXPECT_EQ(run.data, q(" 1 * 2 * 3 *  *  \r\n 4 *   * 5 *  *  \r\n"));
    EXPECT_EQ(run.cells[0][0], q("2"));
    EXPECT_EQ(run.cells[0][1], q("1"));
    EXPECT_EQ(run.cells[0][2], q("2"));
    EXPECT_EQ(run.cells[4][2], q("8"));  // 3 + 5
    ASSERT_EQ(run.notices.size(), 1);
    EXPECT_EQ(run.notices[0].text, spaceSeparatorConversion());
    EXPECT_EQ(run.notices[0].buttons, NoticeButtons::CancelRetryContinue);
    EXPECT_EQ(run.notices[0].title, q("  修改分隔符 -- 石岚 -- 提示  "));
}

TEST(Statistics, SeparatorChoice) {
    EXPECT_EQ(statSeparatorChoices().size(), 31);
    EXPECT_EQ(statSeparatorChoices().first(), q("*"));
    EXPECT_EQ(statSeparatorChoices()[29], q("Tab"));
    EXPECT_EQ(statSeparatorChoices()[30], q(" "));

    EXPECT_EQ(chooseStatSeparator(q("tAb")).separator, q("\t"));
    EXPECT_TRUE(chooseStatSeparator(q(";")).notices.isEmpty());
    const SeparatorChoice space = chooseStatSeparator(q(" "));
    EXPECT_EQ(space.separator, q(" "));
    ASSERT_EQ(space.notices.size(), 1);
    EXPECT_EQ(space.notices[0].text, q("    "
                                       "[空格]可能造成数据混乱，平时请不要使用[空格]"
                                       "作为分隔符！仅留作转换外来数据时使用一次。"));
}

TEST(Splitter, RowsSlotsAndSeparator) {
    StatTable t;
    EXPECT_EQ(ZelFenJieShuJu(q("a*b\r\n\r\nc"), q("*"), q("18"), t), q("*"));
    ASSERT_EQ(t.rows.size(), 3);  // the appended CR LF ends the third line
    EXPECT_EQ(t.rows[0][0], q("a"));
    EXPECT_EQ(t.rows[0][7], q("b"));
    EXPECT_TRUE(t.rows[1][0].isEmpty());
    EXPECT_EQ(t.rows[2][0], q("c"));

    // A trailing empty line counts; cells stay untrimmed.
    EXPECT_EQ(ZelFenJieShuJu(q(" x \r\n\r\n"), q("*"), q("2"), t), q("*"));
    ASSERT_EQ(t.rows.size(), 2);
    EXPECT_EQ(t.rows[0][1], q(" x "));

    const struct {
        const char* in;
        const char* out;
    } separators[] = {{"", "\t"}, {"tab", "\t"}, {"**", "\t"}, {"\xe3\x80\x80", " "}, {";", ";"}};
    for (const auto& s : separators)
        EXPECT_EQ(ZelFenJieShuJu(QString(), q(s.in), q("2"), t), q(s.out)) << s.in;
    EXPECT_TRUE(t.rows.isEmpty());
}

TEST(Collector, EmptyMapTakesAllNineSlots) {
    StatTable t;
    ZelFenJieShuJu(q("a*1.50*2*3*4*5*6*b*c\r\n"), q("*"), q("123456789"), t);
    EXPECT_EQ(ZelZhengLiShuJu(t, q("*"), QString(), false), q("a*1.5*2*3*4*5*6*b*c\r\n"));
    EXPECT_EQ(t.list(7), QStringList{q("6")});
    EXPECT_EQ(t.list(9), QStringList{q("c")});
    EXPECT_EQ(t.width(2), 3);
}

TEST(StatisticsRoutines, EdgeValues) {
    const QStringList none;
    for (auto f : {ZelHeJiShu, ZelZuiDaZhi, ZelZuiXiaoZhi, ZelPingJunZhi, ZelJunFangCha,
                   ZelJunFangChaN, ZelBianYiXiShu, ZelBianYiXiShuN})
        EXPECT_EQ(f(0, none).text(), q("0"));

    const QStringList one{q("-4.25")};
    EXPECT_EQ(ZelPingJunZhi(1, one).text(), q("-4.25"));
    EXPECT_EQ(ZelJunFangCha(1, one).text(), q("0"));
    EXPECT_EQ(ZelJunFangChaN(1, one).text(), q("0"));
    EXPECT_EQ(ZelBianYiXiShu(1, one).text(), q("0"));
    EXPECT_EQ(ZelBianYiXiShuN(1, one).text(), q("0"));

    // Mean 0 with spread: the coefficient is the double 1E+28; without spread 0.
    const QStringList zeroMean{q("-2"), q("2")};
    EXPECT_EQ(ZelBianYiXiShu(2, zeroMean).text(), q("1E+28"));
    EXPECT_EQ(ZelBianYiXiShuN(2, zeroMean).text(), q("1E+28"));
    EXPECT_EQ(ZelBianYiXiShu(2, {q("0"), q("0")}).text(), q("0"));

    // A count beyond the list reads the missing entries as 0: min 0, mean 3 / 3.
    const QStringList short2{q("1"), q("2")};
    EXPECT_EQ(ZelZuiXiaoZhi(3, short2).text(), q("0"));
    EXPECT_EQ(ZelPingJunZhi(3, short2).text(), q("1"));
}

TEST(Statistics, ZeroMeanColumnShowsTheCoefficientLimit) {
    const StatsRun run = runStatistics(q("-1.5\r\n1.5\r\n"), q("*"), q("0"));
    EXPECT_EQ(run.cells[3][0], q("0"));
    // The limit 1E+28 lies inside the Decimal range, so rounding it for the box
    // reads it as a Decimal and shows all its digits.
    EXPECT_EQ(run.cells[7][0], q("10000000000000000000000000000"));
    EXPECT_EQ(run.cells[9][0], q("10000000000000000000000000000"));
}

TEST(Statistics, BadInputNeverFails) {
    const QString longCell(10000, u'9');
    const QString longText(10000, u'x');
    const struct {
        const char* name;
        QString data;
    } cases[] = {
        {"empty", QString()},
        {"only line ends", q("\r\n\r\n\r")},
        {"exponent, sign and point cells", q("1E+30*-*.*1E-30*1E+300\r\n2*3*4*5*6\r\n")},
        {"long cells", longCell + q("*") + longText + q("*-") + longCell + q("\r\n")},
        {"text everywhere", q("a*b*c*d*e*f\r\n例*的*。*，*\t\r\n")},
        {"separators only", q("*****\r\n*****\r\n")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const char* labels : {"0", "1", "3"}) {
            const StatsRun run = runStatistics(c.data, q("*"), q(labels));
            for (const auto& row : run.cells)
                for (const QString& cell : row) EXPECT_FALSE(cell.isEmpty());
        }
    }
}

TEST(Statistics, FiguresBeyondTheDecimalRangeAreExactToTheirDigits) {
    // Each column worked out on exact rationals; beyond the Decimal range a figure
    // shows 15 significant digits, beyond the double range a text that says so.
    const QByteArray notShown = statNotShownText().toUtf8();
    const struct {
        const char* name;
        const char* data;
        Column want;
    } cases[] = {
        {"squares beyond the range",
         "1E+14\r\n-1E+14\r\n3E+14\r\n",
         {"3", "-100000000000000", "300000000000000", "100000000000000", "300000000000000",
          "200000000000000", "40000000000000000000000000000", "2", "26666666666666666666666666667",
          "1.632993161855452"}},
        {"variance of 30 digits",
         "123456789012345\r\n987654321098765\r\n555555555555555\r\n",
         {"3", "123456789012345", "987654321098765", "555555555222221.66666666666667",
          "1666666665666665", "432098766043210.00009642857129", "1.86709343616065E+29",
          "0.777777779344445", "1.24472895744043E+29", "0.635052897556299"}},
        {"one cell beyond the range",
         "1E+30\r\n",
         {"1", "1E+30", "1E+30", "1E+30", "1E+30", "0", "0", "0", "0", "0"}},
        {"the largest Decimal reads as a double",
         "79228162514264337593543950335\r\n",
         {"1", "7.92281625142643E+28", "7.92281625142643E+28", "7.92281625142643E+28",
          "7.92281625142643E+28", "0", "0", "0", "0", "0"}},
        {"a large and a small cell",
         "1E+30\r\n2\r\n",
         {"2", "2", "1E+30", "5E+29", "1E+30", "7.07106781186548E+29", "5E+59", "1.414213562373095",
          "2.5E+59", "1"}},
        {"squares beyond the double range",
         "1E+300\r\n-1E+300\r\n",
         {"2", "-1E+300", "1E+300", "0", "0", "1.4142135623731E+300", notShown.constData(),
          "10000000000000000000000000000", notShown.constData(), "10000000000000000000000000000"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        expectColumn(runStatistics(q(c.data), q("*"), q("0")), 0, c.want);
    }
}

TEST(Statistics, CellsReadAsZeroAreNamedInANotice) {
    const StatsRun run =
        runStatistics(q("例1*2*abc\r\n例2*1e999*3\r\n例3*4*5\r\n"), q("*"), q("1"));
    EXPECT_EQ(run.cells[0][0], q("3"));  // still counted as 0, as before
    EXPECT_EQ(run.cells[4][1], q("8"));
    ASSERT_EQ(run.notices.size(), 1);
    const QString& text = run.notices[0].text;
    EXPECT_TRUE(text.contains(q("第 1 行第 3 格（第二列数字）“abc”"))) << text.toStdString();
    EXPECT_TRUE(text.contains(q("第 2 行第 2 格（第一列数字）“1e999”"))) << text.toStdString();

    // A flood of them: the first ten and the count.
    QString many;
    for (int i = 0; i < 50; ++i) many += q("x*1\r\n");
    const StatsRun flood = runStatistics(many, q("*"), q("0"));
    ASSERT_EQ(flood.notices.size(), 1);
    EXPECT_EQ(flood.notices[0].text.count(q("“x”")), 10);
    EXPECT_TRUE(flood.notices[0].text.contains(q("共 50 个")))
        << flood.notices[0].text.toStdString();

    EXPECT_TRUE(runStatistics(q(kExample), q("*"), q("1")).notices.isEmpty());
}

TEST(Statistics, SpreadsheetDataSwitchesToItsSeparator) {
    const struct {
        const char* data;
        const char* separator;
        const char* name;
    } cases[] = {
        {"a\t1\t2\r\nb\t3\t4\r\n", "\t", "Tab"},
        {"a,1,2\r\nb,3,4\r\n", ",", ","},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const StatsRun run = runStatistics(q(c.data), q("*"), q("1"));
        EXPECT_EQ(run.separator, q(c.separator));
        EXPECT_EQ(run.cells[0][0], q("2"));
        EXPECT_EQ(run.cells[4][1], q("6"));
        ASSERT_EQ(run.notices.size(), 1);
        EXPECT_TRUE(run.notices[0].text.contains(q("已改用“") + q(c.name) + q("”")))
            << run.notices[0].text.toStdString();
    }
    // The chosen separator present somewhere: nothing changes.
    const StatsRun kept = runStatistics(q("a*1,5\r\n"), q("*"), q("1"));
    EXPECT_EQ(kept.separator, q("*"));
    EXPECT_TRUE(kept.notices.isEmpty() || !kept.notices[0].text.contains(q("已改用")));
}

TEST(Statistics, HundredThousandLines) {
    QString data;
    for (int i = 0; i < 100000; ++i)
        data += QStringLiteral("%1*%2.5*-%3\r\n").arg(i).arg(i % 7).arg(i % 3);
    const StatsRun run = runStatistics(data, q("*"), q("1"));
    EXPECT_EQ(run.cells[0][0], q("100000"));
    EXPECT_EQ(run.cells[2][0], q("6.5"));
    EXPECT_EQ(run.cells[1][1], q("-2"));
    EXPECT_EQ(run.data.count(u'\n'), 100000);
}

TEST(Statistics, ResultTableHasTheRowLabels) {
    const StatsRun run = runStatistics(q("1*2\r\n"), q("*"), q("0"));
    const QStringList lines = statResultTable(run).split(u'\n');
    ASSERT_EQ(lines.size(), 12);
    EXPECT_EQ(lines[0], q("\t第一列数字\t第二列数字\t第三列数字\t第四列数字\t第五列数字"));
    EXPECT_EQ(lines[1], q("频数N\t1\t1\t \t \t "));
    EXPECT_EQ(lines[10], q("变异 系数n\t0\t0\t \t \t "));
}

}  // namespace
}  // namespace hc
