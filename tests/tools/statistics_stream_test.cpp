#include "tools/statistics_stream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "engine/calc_log.h"
#include "expr/normalize.h"
#include "tests/survey/print_qstring.h"
#include "tools/statistics.h"
#include "tools/statistics_command.h"

namespace hc {
namespace {

QString q(const char* s) { return QString::fromUtf8(s); }

struct Streamed {
    StatsRun run;
    QString data;  // the written rows, each ended by CR LF
};

// Feeds `text` line by line (CR LF or CR ends a line) as a reader of a file would.
Streamed stream(const QString& text, const QString& separator, const QString& labels) {
    StatsStream s(separator, labels);
    qsizetype start = 0;
    for (qsizetype p = 0; p < text.size(); ++p) {
        if (text[p] != u'\r') continue;
        s.addLine(QStringView(text).mid(start, p - start));
        if (p + 1 < text.size() && text[p + 1] == u'\n') ++p;
        start = p + 1;
    }
    if (start < text.size()) s.addLine(QStringView(text).mid(start));
    Streamed out;
    out.run = s.finish();
    std::string bytes;
    EXPECT_TRUE(s.writeRows(
        [&](const char* b, std::size_t n) {
            bytes.append(b, n);
            return true;
        },
        "\r\n"));
    out.data = QString::fromStdString(bytes);
    return out;
}

// The command composed of the whole-text layers: splitter, collector and the exact
// statistics of each column list.
StatsRun wholeText(const QString& data, const QString& separator, const QString& labelCells) {
    StatsRun run;
    ScopedCalcLog log;
    ZelChongZhi();
    QString text = ZelGuiFanZiFu(data);
    QString sep = separator;
    if (sep == QLatin1String(" ")) {
        text.remove(u'*');
        text.replace(u' ', u'*');
        sep = QStringLiteral("*");
        run.separatorReset = true;
        run.notices.append(Notice{spaceSeparatorConversion(), NoticeButtons::CancelRetryContinue,
                                  separatorWarningTitle()});
    }
    if (sep.compare(QLatin1String("tab"), Qt::CaseInsensitive) == 0) sep = QStringLiteral("\t");
    if (sep.size() == 1 && !text.isEmpty() && !text.contains(sep[0])) {
        const QString found = text.contains(u'\t')  ? QStringLiteral("\t")
                              : text.contains(u',') ? QStringLiteral(",")
                                                    : QString();
        if (!found.isEmpty()) {
            run.notices.append(
                Notice{statSeparatorSwitchNotice(sep, found), NoticeButtons::Ok, {}});
            sep = found;
        }
    }
    const QString map = statColumnMap(statLabelCells(labelCells));
    StatTable table;
    sep = ZelFenJieShuJu(text, sep, map, table);
    run.data = ZelZhengLiShuJu(table, sep, map, true);
    run.separator = sep;
    ZelChongZhi();
    for (int c = 0; c < kStatColumns; ++c) {
        const int n = table.count(c + 2);
        if (n < 1) {
            for (auto& row : run.cells) row[c] = QStringLiteral(" ");
            continue;
        }
        const std::array<QString, kStatRows - 1> shown =
            exactColumnStatistics(table.list(c + 2), 15);
        run.cells[0][c] = QString::number(n);
        for (int r = 1; r < kStatRows; ++r) run.cells[r][c] = shown[r - 1];
    }
    if (!table.nonNumbers.isEmpty())
        run.notices.append(
            Notice{statNonNumberNotice(table.nonNumbers, table.nonNumbers.size(), map),
                   NoticeButtons::Ok,
                   {}});
    run.notices.append(log.log().notices);
    return run;
}

void expectSameAsWholeText(const QString& text, const QString& separator, const QString& labels) {
    const StatsRun whole = wholeText(text, separator, labels);
    const Streamed s = stream(text, separator, labels);
    const StatsRun command = runStatistics(text, separator, labels);
    EXPECT_EQ(command.data, whole.data);
    EXPECT_EQ(command.cells, whole.cells);
    EXPECT_EQ(s.data, whole.data);
    EXPECT_EQ(s.run.cells, whole.cells);
    EXPECT_EQ(s.run.separator, whole.separator);
    EXPECT_EQ(s.run.separatorReset, whole.separatorReset);
    ASSERT_EQ(s.run.notices.size(), whole.notices.size());
    for (qsizetype i = 0; i < whole.notices.size(); ++i)
        EXPECT_EQ(s.run.notices[i].text, whole.notices[i].text);
}

// The stream gives what the whole-text command gives: texts with the awkward cells
// (blank, no number, beyond the Decimal range, more than 19 digits, many places),
// labels of double width, each label count, and the separator fallbacks.
TEST(StatisticsStream, MatchesTheWholeTextCommand) {
    struct Case {
        const char* name;
        const char* text;
        const char* separator;
        const char* labels;
    } cases[] = {
        {"example",
         "例1a*2*3*4*5.987\r\n例2b的*2* *5*6.985\r\n例3c * 2 * 3.2346 * 6 * \r\n"
         "例4 * 2 * -33 * 7 * 98.7\r\n",
         "*", "1"},
        {"no labels, last line without break", "1*2*3*4*5*6*7\r\n-0*0.000*1e30*1E-30", "*", "0"},
        {"three labels", "a*b*c*1*2\r\nd*e*f*3*4*5*6*7*8\r\n\r\n", "*", "3"},
        {"two labels, CR only", "甲*乙*1.5\r丙丁*戊*-2.25\r", "*", "2"},
        {"digits beyond a machine word",
         "x*99999999999999999999*79228162514264337593543950335*-12345678901234567890.5\r\n"
         "y*0.0000000000000000000000000001*1.0000000000000000000000000001*9999999999999999999\r\n",
         "*", "1"},
        {"doubles beyond the Decimal range", "1e300*-1e308*1.5e-35\r\n2e300*1e309*3\r\n", "*", "0"},
        {"cells that are no number",
         "a*x*1\r\nb*1.2.3*2\r\nc*++5*abc\r\nd*3e*4\r\ne*一百*5\r\nf*q*r\r\ng*s*t\r\nh*u*v\r\n",
         "*", "1"},
        {"blank and control cells", "a* *\x01junk*3\r\nb**\t*4\r\n", "*", "1"},
        {"tabs without the chosen separator", "a\t1\t2\r\nb\t3\t4\r\n", "*", "1"},
        {"commas without the chosen separator", "a,1,2\r\nb,3,4\r\n", "/", "1"},
        {"no separator at all", "5\r\n6\r\n7\r\n", "*", "0"},
        {"space separator", "1 2 3\r\n4  5 6*7\r\n", " ", "0"},
        {"tab by name", "a\t1\r\nb\t2\r\n", "tab", "1"},
        {"full-width characters", "例*１２*３．５\r\n例*－１*２\r\n", "*", "1"},
        {"empty text", "", "*", "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        expectSameAsWholeText(q(c.text), q(c.separator), q(c.labels));
    }
}

// A table larger than the spool keeps in memory goes through the temporary file and
// comes back whole and in order.
TEST(StatisticsStream, ALargeTableComesBackFromTheTemporaryFile) {
    QString text;
    for (int i = 0; i < 250000; ++i)
        text += QStringLiteral("P%1*%2.5*-%3*7.25*%4*1e%5\r\n")
                    .arg(i)
                    .arg(i)
                    .arg(i * 3)
                    .arg(i % 97)
                    .arg(i % 20 - 10);
    ASSERT_GT(text.size(), 8 << 20);
    expectSameAsWholeText(text, q("*"), q("1"));
}

// A closed output stops the writing and says so; cancelling stops it too.
TEST(StatisticsStream, WritingStopsWhenTheOutputFailsOrIsCancelled) {
    StatsStream s(q("*"), q("0"));
    for (int i = 0; i < 100000; ++i) s.addLine(QStringLiteral("%1*2").arg(i));
    const StatsRun run = s.finish();
    EXPECT_EQ(run.cells[0][0], q("100000"));
    int calls = 0;
    EXPECT_FALSE(s.writeRows(
        [&](const char*, std::size_t) {
            ++calls;
            return false;
        },
        "\n"));
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(
        s.writeRows([](const char*, std::size_t) { return true; }, "\n", [] { return true; }));
}

// The worker-thread form reports growing progress and stops when asked.
TEST(StatisticsStream, TheCommandReportsProgressAndCanBeCancelled) {
    QString text;
    for (int i = 0; i < 50000; ++i) text += QStringLiteral("a*%1*2\r\n").arg(i);
    QList<int> seen;
    StatsControl control;
    control.progress = [&](int percent) { seen.append(percent); };
    const StatsRun run = runStatistics(text, q("*"), q("1"), 15, control);
    EXPECT_FALSE(run.cancelled);
    EXPECT_EQ(run.cells[0][0], q("50000"));
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(seen.back(), 100);

    int polls = 0;
    control.cancelled = [&] { return ++polls > 3; };
    const StatsRun stopped = runStatistics(text, q("*"), q("1"), 15, control);
    EXPECT_TRUE(stopped.cancelled);
    EXPECT_TRUE(stopped.data.isEmpty());
}

}  // namespace
}  // namespace hc
