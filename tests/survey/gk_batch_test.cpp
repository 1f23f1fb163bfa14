#include "survey/gk_batch.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

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

TEST(GkBatch, NamesArePaddedWithinEachChunk) {
    GkSettings s;
    const std::string input = "A,39.41,117.5\nLONGNAME,39.42,117.5\nB,39.43,117.5\n";
    const QString one = batch(GkConversion::GeoToZone3, s, input, 10);
    EXPECT_TRUE(one.contains(QStringLiteral("\r\nA        , 4")));
    const QString two = batch(GkConversion::GeoToZone3, s, input, 2);
    EXPECT_TRUE(two.contains(QStringLiteral("\r\nLONGNAME , 4")));
    EXPECT_TRUE(two.contains(QStringLiteral("\r\nB , 4")));
}

}  // namespace
}  // namespace hc
