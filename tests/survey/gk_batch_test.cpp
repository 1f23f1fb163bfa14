#include "survey/gk_batch.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "survey/zones.h"
#include "tests/survey/print_qstring.h"
#include "tests/survey/temp_file.h"

namespace hc {
namespace {

QString batch(GkConversion op, const GkSettings& s, const std::string& input, int chunk,
              long long* rows = nullptr) {
    std::FILE* in = fileWith(input);
    std::FILE* out = std::tmpfile();
    const GkBatchResult r = convertBatch(op, s, in, out, chunk);
    if (rows) *rows = r.rows;
    const QString text = QString::fromStdString(readAll(out));
    std::fclose(in);
    std::fclose(out);
    return text;
}

TEST(GkBatch, ChunksAndLineEndingsDoNotChangeTheRows) {
    std::string lf;
    std::string crlf;
    std::string cr;
    for (int i = 0; i < 3000; ++i) {
        const std::string line = std::to_string(30 + (i % 500) / 100.0) + "," +
                                 std::to_string(114 + (i % 600) / 100.0) + "," + std::to_string(i);
        lf += line + "\n";
        crlf += line + "\r\n";
        cr += line + "\r";
    }
    GkSettings s;
    s.withNames = false;
    long long rows = 0;
    const QString whole = batch(GkConversion::GeoToZone3, s, lf, 100000, &rows);
    EXPECT_EQ(rows, 3000);
    EXPECT_EQ(whole.count(QStringLiteral("\r\n")), 3000 + 2);
    EXPECT_EQ(batch(GkConversion::GeoToZone3, s, crlf, 7), whole);
    EXPECT_EQ(batch(GkConversion::GeoToZone3, s, cr, 1), whole);

    // A CR LF pair split over the 64 KiB read buffer is still one line end.
    std::string padded = "A,39.41,117.5\r\n";
    padded += "x" + std::string((1 << 16) - padded.size() - 2, ' ') + "\r\nB,39.42,117.5\r\n";
    ASSERT_EQ(padded[(1 << 16) - 1], '\r');
    batch(GkConversion::GeoToZone3, s, padded, 10, &rows);
    EXPECT_EQ(rows, 2);
}

// Every mix of line ends, wherever the 64 KiB reads cut the text, splits the same lines
// as the text with LF alone: the rows and the reported line numbers agree. "\n\r" is two
// line ends (an empty line between them), "\r\n" one.
TEST(GkBatch, MixedLineEndsSplitTheLinesOfLineFeeds) {
    const char* const ends[] = {"\n", "\r\n", "\r", "\n\r", "\r\r\n"};
    const int emptyLines[] = {0, 0, 0, 1, 1};
    std::string mixed;
    std::string lf;
    for (int i = 0; i < 9000; ++i) {
        // Some lines long enough that breaks land on every offset of the reads.
        std::string line = "P" + std::to_string(i) + "," + std::to_string(30 + (i % 500) / 100.0) +
                           "," + std::to_string(114 + (i % 600) / 100.0) + "," +
                           std::to_string(i % 97);
        if (i % 7 == 3) line += std::string(static_cast<std::size_t>(i % 113), ' ');
        if (i % 1000 == 500) line = "Q" + std::to_string(i) + ",1,x";  // reported by number
        const int k = (i * 7 + i / 3) % 5;
        mixed += line + ends[k];
        lf += line + "\n" + std::string(static_cast<std::size_t>(emptyLines[k]), '\n');
    }
    mixed += "LAST,39.5,117.5";  // no line end at all
    lf += "LAST,39.5,117.5\n";
    ASSERT_GT(mixed.size(), std::size_t{4} << 16);
    GkSettings s;
    const auto run = [&](const std::string& input, std::string& report) {
        std::FILE* in = fileWith(input);
        std::FILE* out = std::tmpfile();
        std::FILE* err = std::tmpfile();
        const GkBatchResult r = convertBatch(GkConversion::GeoToZone3, s, in, out, 333, err);
        std::string text = readAll(out);
        report = readAll(err);
        std::fclose(in);
        std::fclose(out);
        std::fclose(err);
        EXPECT_EQ(r.rows, 9000 - 9 + 1);
        EXPECT_EQ(r.skipped, 9);
        return text;
    };
    std::string mixedReport;
    std::string lfReport;
    const std::string expected = run(lf, lfReport);
    EXPECT_EQ(run(mixed, mixedReport), expected);
    EXPECT_EQ(mixedReport, lfReport);
    EXPECT_NE(lfReport.find("第 "), std::string::npos);
}

TEST(GkBatch, NamesArePaddedWithinEachChunk) {
    GkSettings s;
    const std::string input = "A,39.41,117.5\nLONGNAME,39.42,117.5\nB,39.43,117.5\n";
    const QString one = batch(GkConversion::GeoToZone3, s, input, 10);
    EXPECT_TRUE(one.contains(QStringLiteral("\r\nA        , 4")));
    const QString two = batch(GkConversion::GeoToZone3, s, input, 2);
    EXPECT_TRUE(two.contains(QStringLiteral("\r\nLONGNAME , 4")));
    EXPECT_TRUE(two.contains(QStringLiteral("\r\nB , 4")));
}

// Nothing a conversion runs is shared between threads: the same data converted by
// several threads at once gives what one thread alone gives, for the batch and for the
// window's operation (whose settings read the meridian through the calculator).
TEST(GkBatch, SeveralThreadsConvertAtOnce) {
    std::string geo;
    std::string grid;
    for (int i = 0; i < 3000; ++i) {
        geo += "P" + std::to_string(i) + "," + std::to_string(20 + (i % 997) * 0.0301) + "," +
               std::to_string(100 + (i % 991) * 0.0281) + "," + std::to_string(i % 50) + "\n";
        grid += std::to_string(3000000 + i * 1234.5) + "," +
                std::to_string(39400000 + (i % 700) * 377.25) + "\n";
    }
    struct Job {
        GkConversion op;
        const std::string* input;
        GkSettings settings;
        GkControls controls;
    };
    std::vector<Job> jobs;
    for (Datum d : {Datum::Beijing1954, Datum::Xian1980, Datum::Wgs84}) {
        GkSettings s;
        s.datum = d;
        s.datumText = datumControlText(d);
        s.meridian = 118.5;
        GkControls c;
        c.ellipsoid = s.datumText;
        c.meridian = QStringLiteral("117.7");  // invalid: a notice and 117
        jobs.push_back({GkConversion::GeoToZone3, &geo, s, c});
        jobs.push_back({GkConversion::Zone3To15, &grid, s, c});
        jobs.push_back({GkConversion::Zone3ToGeo, &grid, s, c});
    }
    const auto runAll = [&](std::vector<QString>& batches, std::vector<GkResult>& windows) {
        batches.clear();
        windows.clear();
        for (const Job& j : jobs) {
            batches.push_back(batch(j.op, j.settings, *j.input, 256));
            windows.push_back(
                ZelZuoBiaoZhuanHuan(j.op, QString::fromStdString(*j.input), QString(), j.controls));
        }
    };
    std::vector<QString> expectedBatches;
    std::vector<GkResult> expectedWindows;
    runAll(expectedBatches, expectedWindows);

    constexpr int kThreads = 4;
    std::vector<std::vector<QString>> batches(kThreads);
    std::vector<std::vector<GkResult>> windows(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] { runAll(batches[t], windows[t]); });
    }
    for (std::thread& t : threads) t.join();

    for (int t = 0; t < kThreads; ++t) {
        ASSERT_EQ(batches[t].size(), jobs.size());
        for (std::size_t j = 0; j < jobs.size(); ++j) {
            EXPECT_EQ(batches[t][j], expectedBatches[j]) << "thread " << t << " job " << j;
            EXPECT_EQ(windows[t][j].output, expectedWindows[j].output) << t << " " << j;
            EXPECT_EQ(windows[t][j].input, expectedWindows[j].input) << t << " " << j;
            // The invalid meridian's notice, then for the latitudes and longitudes
            // (to_string's 20.030100 ... 49.9698) those with 60 minutes and more.
            ASSERT_EQ(windows[t][j].notices.size(), jobs[j].op == GkConversion::GeoToZone3 ? 2 : 1)
                << t << " " << j;
            EXPECT_EQ(windows[t][j].notices[0].text, invalidMeridianMessage());
            EXPECT_EQ(windows[t][j].notices.back().text, expectedWindows[j].notices.back().text);
            EXPECT_EQ(windows[t][j].settings.meridian, 117);
        }
    }
    EXPECT_GT(expectedBatches[0].size(), 3000 * 30);
}

}  // namespace
}  // namespace hc
