#include "survey/gk_batch_fast.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "survey/gk_batch.h"
#include "survey/packed_angle.h"
#include "tests/survey/print_qstring.h"
#include "tests/survey/temp_file.h"

namespace hc {
namespace {

std::string number(double v, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

TEST(FastLineReader, ReadsItsLinesAsTheLiteralReaderDoes) {
    const std::vector<std::string> lines{
        "A01,39.4125536,117.5017873,23.441",
        "P7,39.41,117.5",
        "39.41,117.5,0",
        "-39.41,-117.5,-0.0004",
        " 12.5,3",
        "T1 ,1,2,3,4,5",
        "x12,0.000012345678901,1",
        "B,23.441m,117.5x",
        "B,1.2e3,117.5",
        "B,+5,117.5",
        "B,007.5,117.5",
        "B,5.,117.5",
        "B,.5,117.5",
        "B,1.2.3,117.5",
        "B,1234567890123456,117.5",
        "B,,117.5",
        "B,x,117.5",
        "B,1,",
        "B,1,2,",
        "B,1,2,h",
        "B,1,,2",
        "A  B,1,2",
        "\tA,1,2",
        "P9,12",
        "a,b,c",
        ",,,",
        "1,,2",
        "示例,1,2",
        "A;1;2",
    };
    for (const char sep : {',', ';'}) {
        const QString separator(QChar::fromLatin1(sep));
        const FastLineReader fast(QChar::fromLatin1(sep), false);
        int taken = 0;
        for (const std::string& line : lines) {
            CoordLineReader literal(separator);
            QString text = QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
            halfWidthInPlace(text);
            CoordRow expected;
            const bool isRow = literal.readLine(text, expected);
            CoordRow row;
            if (!fast.read(line, 1, row)) continue;
            ++taken;
            ASSERT_TRUE(isRow) << line;
            EXPECT_EQ(row.name, expected.name) << line;
            EXPECT_EQ(row.first, expected.first) << line;
            EXPECT_EQ(row.second, expected.second) << line;
            EXPECT_EQ(row.hasHeight, expected.hasHeight) << line;
            EXPECT_EQ(row.height, expected.height) << line;
        }
        // The plain lines are the quick reader's own.
        EXPECT_EQ(taken, sep == ',' ? 8 : 1);
    }

    // Random plain numbers: the same doubles as the literal reading.
    std::mt19937_64 rng(3);
    const FastLineReader fast(QChar(u','), false);
    for (int i = 0; i < 100000; ++i) {
        const int decimals = static_cast<int>(rng() % 12);
        const double scale = std::pow(10.0, static_cast<double>(rng() % 9));
        const double v = (static_cast<double>(rng() % 2000000) - 1000000) / 1000000 * scale;
        const std::string line =
            "P," + number(v, decimals) + "," + number(-v / 3, 9 - decimals % 9);
        CoordRow row;
        bool past60 = false;
        if (!fast.read(line, 1, row, &past60)) continue;
        CoordLineReader literal(QStringLiteral(","));
        CoordRow expected;
        ASSERT_TRUE(literal.readLine(QString::fromStdString(line), expected)) << line;
        ASSERT_EQ(row.first, expected.first) << line;
        ASSERT_EQ(row.second, expected.second) << line;
        ASSERT_EQ(past60, packedBeyondSixty(row.first) || packedBeyondSixty(row.second)) << line;
    }
}

// A data text for a conversion: named, unnamed and oddly written rows, notes and blank
// lines, heights or none; geographic rows in the given column order, grid rows made by
// converting geographic points, with points the conversions reject mixed in.
std::string dataText(std::mt19937_64& rng, GkConversion op, const Ellipsoid& set, bool latFirst,
                     char sep, int rows) {
    std::uniform_real_distribution<double> unit(0, 1);
    const std::optional<ZoneWidth> in = inputZone(op);
    const std::string s(1, sep);
    std::string text = "示例提示:\n";
    for (int i = 0; i < rows; ++i) {
        const int kind = static_cast<int>(rng() % 40);
        if (kind == 0) text += "\n";
        if (kind == 1) text += "  序号  X纬度(北)  Y经度(东)  Z高程(H)\r\n";
        std::string name;
        switch (kind % 8) {
            case 0:
                break;  // no name
            case 1:
                name = "点" + std::to_string(i);
                break;
            case 2:
                name = "LongerName" + std::to_string(i) + " ";
                break;
            default:
                name = "P" + std::to_string(i);
        }
        const double lat = ZelBaiFenDuZhuanDuFenMiao(unit(rng) * 100 - 50);
        double lon = ZelBaiFenDuZhuanDuFenMiao(70 + unit(rng) * 65);
        if (kind == 3) lon = ZelBaiFenDuZhuanDuFenMiao(3 * std::round(unit(rng) * 60));  // meridian
        if (kind == 4) lon = 181.5;  // beyond 180
        std::string first;
        std::string second;
        if (in) {
            GridPoint g = toGrid(*in, ZelSheRuXiaoShu(lat, 8), ZelSheRuXiaoShu(lon, 8), 117, set);
            if (kind == 5) g.x = 10002100;                         // beyond the pole
            if (kind == 6) g.y += g.y < 0 ? -750000.0 : 750000.0;  // far from the meridian
            first = number(g.x, 3);
            second = number(g.y, kind == 7 ? 1 : 3);
            if (!latFirst) std::swap(first, second);
        } else {
            first = number(lat, 8);
            second = number(lon, kind == 7 ? 4 : 8);
            if (!latFirst) std::swap(first, second);
        }
        if (kind == 9) first += "m";
        if (kind == 10) second = "1.2e1";
        std::string line = name.empty() ? "" : name + s;
        line += first + s + second;
        if (kind % 3 != 0) line += s + number(unit(rng) * 2000 - 100, static_cast<int>(rng() % 5));
        if (kind == 11) line = "  " + line;
        if (kind == 12) line += s + "note";
        text += line + (kind == 13 ? "\r\n" : "\n");
    }
    return text;
}

struct BatchRun {
    QString output;
    GkBatchResult result;
};

BatchRun runBatch(GkConversion op, const GkSettings& s, const std::string& input, int jobs) {
    std::FILE* in = fileWith(input);
    std::FILE* out = std::tmpfile();
    BatchRun r;
    r.result = convertBatch(op, s, in, out, 4096, nullptr, jobs);
    r.output = QString::fromStdString(readAll(out));
    std::fclose(in);
    std::fclose(out);
    return r;
}

// The batch's rows against the window's operation, which reads and converts every
// row with the literal routines: all ten conversions, every ellipsoid, both orders,
// with the separators that change the reading.
TEST(GkBatchQuickPath, GivesTheRowsOfTheLiteralRoutines) {
    std::mt19937_64 rng(2026);
    const char seps[] = {',', ';', ' ', '\t'};
    int run = 0;
    for (int o = 0; o <= static_cast<int>(GkConversion::GeoToZone6); ++o) {
        const auto op = static_cast<GkConversion>(o);
        for (const Datum datum :
             {Datum::Beijing1954, Datum::Xian1980, Datum::Wgs84, Datum::Cgcs2000}) {
            for (const bool xyz : {true, false}) {
                const char sep = seps[run++ % 4];
                // Geographic data in the other order from time to time: the order switch.
                const bool latFirst = inputZone(op) ? xyz : (run % 3 == 0 ? !xyz : xyz);
                const std::string text = dataText(rng, op, ellipsoidOf(datum), latFirst, sep, 1200);
                GkControls controls;
                controls.withNames = run % 5 != 0;
                controls.separator =
                    sep == '\t' ? QStringLiteral("Tab") : QString(QChar::fromLatin1(sep));
                controls.order = xyz ? QStringLiteral("X Y Z模式") : QStringLiteral("Y X Z模式");
                controls.ellipsoid = datumControlText(datum);
                controls.meridian = run % 2 ? QStringLiteral("117") : QStringLiteral("118.5");
                const QString input = QString::fromStdString(text);
                const GkResult window =
                    ZelZuoBiaoZhuanHuan(op, input, QString(), controls, 1 << 20);
                QString unused = input;
                const GkSettings settings = ZelDuQuSheZhi(controls, unused);

                const BatchRun one = runBatch(op, settings, text, 1);
                ASSERT_EQ(one.output, window.output) << "conversion " << o << " run " << run;
                EXPECT_TRUE(window.input.endsWith(one.result.remarks));
                const BatchRun three = runBatch(op, settings, text, 3);
                ASSERT_EQ(three.output, window.output) << "conversion " << o << " run " << run;
                EXPECT_EQ(three.result.remarks, one.result.remarks);
            }
        }
    }
}

// Chunks converted on several threads are written in their order: a million points
// give the bytes of one thread.
TEST(GkBatchQuickPath, ThreadsWriteTheOutputOfOneThread) {
    std::mt19937_64 rng(1);
    std::FILE* in = std::tmpfile();
    std::string block;
    for (int i = 0; i < 1000000; ++i) {
        const double lat = 20 + static_cast<double>(rng() % 3000000) / 100000;
        const double lon = 114 + static_cast<double>(rng() % 600000) / 100000;
        block += (i % 1000 == 7 ? "点" : "P") + std::to_string(i % (1 + i % 997)) + "," +
                 number(ZelBaiFenDuZhuanDuFenMiao(lat), 8) + "," +
                 number(ZelBaiFenDuZhuanDuFenMiao(lon), 8) + "," + std::to_string(i % 100) + "\n";
        if (i % 50000 == 3) block += "note,,\n";
        if (block.size() > (1 << 20)) {
            std::fwrite(block.data(), 1, block.size(), in);
            block.clear();
        }
    }
    std::fwrite(block.data(), 1, block.size(), in);
    GkSettings s;
    s.meridian = 118.5;
    std::FILE* outs[2] = {std::tmpfile(), std::tmpfile()};
    const int jobs[2] = {1, 4};
    for (int k = 0; k < 2; ++k) {
        std::rewind(in);
        const GkBatchResult r =
            convertBatch(GkConversion::GeoToZone3, s, in, outs[k], 4096, nullptr, jobs[k]);
        EXPECT_EQ(r.rows, 1000000);
    }
    std::rewind(outs[0]);
    std::rewind(outs[1]);
    std::vector<char> a(1 << 20);
    std::vector<char> b(1 << 20);
    long long total = 0;
    for (;;) {
        const std::size_t na = std::fread(a.data(), 1, a.size(), outs[0]);
        const std::size_t nb = std::fread(b.data(), 1, b.size(), outs[1]);
        ASSERT_EQ(na, nb) << "at byte " << total;
        ASSERT_EQ(std::memcmp(a.data(), b.data(), na), 0) << "within bytes " << total << " ...";
        total += static_cast<long long>(na);
        if (na == 0) break;
    }
    EXPECT_GT(total, 1000000LL * 40);
    std::fclose(in);
    std::fclose(outs[0]);
    std::fclose(outs[1]);
}

}  // namespace
}  // namespace hc
