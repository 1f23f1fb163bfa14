// Parcel areas: the exact shoelace sum against an independent rational sum, the
// crossing test against a brute-force one, the notices of bad parcels, and the
// ellipsoidal areas against GeographicLib's Planimeter and TransverseMercatorProj.

#include "survey/parcel_area.h"

#include <gmpxx.h>
#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <cmath>
#include <iostream>
#include <numbers>
#include <optional>
#include <random>

namespace hc {
namespace {

// A coordinate in millimetres as typed text with three decimals.
QString mmText(long long mm) {
    const char* sign = mm < 0 ? "-" : "";
    const long long a = std::llabs(mm);
    return QString::asprintf("%s%lld.%03lld", sign, a / 1000, a % 1000);
}

struct Ring {
    std::vector<long long> x, y;  // millimetres
};

// A star-shaped ring around (cx, cy): sorted angles, random radii; concave unless
// `convex`, where the radii are equal (before rounding to the millimetre).
Ring starRing(std::mt19937_64& rng, int n, long long cx, long long cy, double radius, bool convex) {
    // One angle in each of n equal sectors: no gap reaches half a turn, so the ring is
    // simple but for rounding.
    std::uniform_real_distribution<double> within(0, 1);
    std::uniform_real_distribution<double> r(0.2, 1.0);
    std::vector<double> a;
    for (int i = 0; i < n; ++i) a.push_back(2 * std::numbers::pi * (i + within(rng)) / n);
    Ring ring;
    for (double t : a) {
        const double rr = radius * (convex ? 1.0 : r(rng));
        ring.x.push_back(cx + std::llround(rr * std::cos(t)));
        ring.y.push_back(cy + std::llround(rr * std::sin(t)));
    }
    return ring;
}

// The signed area in m² by the textbook formula on the millimetre integers, without
// moving the origin: positive clockwise with X north and Y east.
mpq_class referenceArea(const Ring& r) {
    mpz_class sum;
    const std::size_t n = r.x.size();
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t j = (i + 1) % n;
        sum += mpz_class(std::to_string(r.x[i])) * mpz_class(std::to_string(r.y[j]));
        sum -= mpz_class(std::to_string(r.x[j])) * mpz_class(std::to_string(r.y[i]));
    }
    mpq_class a(sum, mpz_class(2000000));
    a.canonicalize();
    return a;
}

// |a| rounded half up to `places` decimals, written by hand from the integer digits.
std::string referenceText(const mpq_class& a, int places) {
    mpz_class scale = 1;
    for (int i = 0; i < places; ++i) scale *= 10;
    const mpq_class scaled = abs(a) * scale + mpq_class(1, 2);
    const mpz_class q = scaled.get_num() / scaled.get_den();
    std::string s = q.get_str();
    while (s.size() <= static_cast<std::size_t>(places)) s.insert(0, "0");
    if (places > 0) s.insert(s.size() - static_cast<std::size_t>(places), ".");
    return s;
}

std::vector<Decimal> decimals(const std::vector<long long>& mm) {
    std::vector<Decimal> d;
    for (long long v : mm) d.push_back(Decimal::fromText(mmText(v)));
    return d;
}

QString pointList(const Ring& r, const QString& parcel = QString()) {
    QString text = parcel.isEmpty() ? QString() : parcel + QStringLiteral("\r\n");
    for (std::size_t i = 0; i < r.x.size(); ++i)
        text += QStringLiteral("P%1,%2,%3,0\r\n").arg(i + 1).arg(mmText(r.x[i]), mmText(r.y[i]));
    return text;
}

// The output row of a parcel, split into its cells.
QStringList rowOf(const QString& output, const QString& parcel) {
    for (const QString& line : output.split(QStringLiteral("\r\n"))) {
        QStringList cells = line.split(u' ', Qt::SkipEmptyParts);
        if (!cells.isEmpty() && cells[0] == parcel) return cells;
    }
    return {};
}

QString allNotices(const Notices& notices) {
    QString s;
    for (const Notice& n : notices) s += n.text + u'\n';
    return s;
}

TEST(ParcelArea, ShoelaceIsTheExactRationalSum) {
    std::mt19937_64 rng(27);
    std::uniform_int_distribution<long long> centre(30000000000LL, 99000000000LL);  // 8 digits
    for (int k = 0; k < 3000; ++k) {
        const int n = k % 100 == 0 ? 3000 : 3 + static_cast<int>(rng() % 40);
        const double radius = k % 3 == 0 ? 5e6 : 3e9;  // 5 m ... 3 km, in mm
        const Ring ring = starRing(rng, n, centre(rng), centre(rng), radius, k % 2 == 0);
        const ShoelaceSum s = shoelace(decimals(ring.x), decimals(ring.y));
        ASSERT_EQ(s.area(), referenceArea(ring)) << "ring " << k;
    }
}

TEST(ParcelArea, ShoelaceKeepsEveryDigitOfMixedAndHugeValues) {
    // Scales 0 ... 28 mixed and values far beyond 64 bits: the sum must stay exact.
    const std::vector<QString> xs{QStringLiteral("79228162514264337593543950"),
                                  QStringLiteral("0.0000000000000000000000000001"),
                                  QStringLiteral("-12345678901234567.891")};
    const std::vector<QString> ys{
        QStringLiteral("1.5"), QStringLiteral("-79228162514264337593543950"), QStringLiteral("3")};
    std::vector<Decimal> x, y;
    std::vector<mpq_class> qx, qy;
    auto rational = [](const QString& t) {
        const qsizetype dot = t.indexOf(u'.');
        std::string digits = t.toStdString();
        int places = 0;
        if (dot >= 0) {
            places = static_cast<int>(t.size() - dot - 1);
            digits.erase(static_cast<std::size_t>(dot), 1);
        }
        mpz_class den = 1;
        for (int i = 0; i < places; ++i) den *= 10;
        mpq_class q(mpz_class(digits), den);
        q.canonicalize();
        return q;
    };
    for (std::size_t i = 0; i < xs.size(); ++i) {
        x.push_back(Decimal::fromText(xs[i]));
        y.push_back(Decimal::fromText(ys[i]));
        qx.push_back(rational(xs[i]));
        qy.push_back(rational(ys[i]));
    }
    mpq_class expected;
    for (std::size_t i = 0; i < 3; ++i) {
        const std::size_t j = (i + 1) % 3;
        expected += qx[i] * qy[j] - qx[j] * qy[i];
    }
    expected /= 2;
    EXPECT_EQ(shoelace(x, y).area(), expected);
}

TEST(ParcelArea, RoundedTextRoundsHalfAwayFromZero) {
    const struct {
        mpq_class value;
        int places;
        const char* text;
    } cases[] = {
        {mpq_class(1, 2), 0, "1"},        {mpq_class(-1, 2), 0, "-1"},
        {mpq_class(-1, 3), 0, "0"},       {mpq_class(5, 4), 1, "1.3"},
        {mpq_class(1, 8), 3, "0.125"},    {mpq_class(0), 2, "0.00"},
        {mpq_class(-1, 1000), 2, "0.00"}, {mpq_class(-5, 1000), 2, "-0.01"},
        {mpq_class(2, 3), 4, "0.6667"},   {mpq_class(123456789, 1), 0, "123456789"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(roundedText(c.value, c.places), c.text) << c.value.get_str();
}

TEST(ParcelArea, OutputShowsExactAreaUnitsAndTurn) {
    const struct {
        const char* list;
        const char* area;
        const char* hectares;
        const char* mu;
        const char* turn;
    } cases[] = {
        // 100 m square, north then east: clockwise on the map.
        {"A,0,39500000,0\r\nB,100,39500000,0\r\nC,100,39500100,0\r\nD,0,39500100,0\r\n",
         "10000.000", "1.0000000", "15.0000000", "顺时针"},
        {"A,0,39500000,0\r\nD,0,39500100,0\r\nC,100,39500100,0\r\nB,100,39500000,0\r\n",
         "10000.000", "1.0000000", "15.0000000", "逆时针"},
        // 20 m x 33.333 m: 666.66 m², just under a mu of 10000/15 m².
        {"A,0,39500000\r\nB,20,39500000\r\nC,20,39500033.333\r\nD,0,39500033.333\r\n", "666.660",
         "0.0666660", "0.9999900", "顺时针"},
    };
    for (const auto& c : cases) {
        AreaOptions options;
        options.zone = ZoneWidth::Three;
        const AreaRun run = runParcelArea(QString::fromUtf8(c.list), options);
        const QStringList row = rowOf(run.output, QStringLiteral("1"));
        ASSERT_GE(row.size(), 7) << run.output.toStdString();
        EXPECT_EQ(row[3], c.area) << c.list;
        EXPECT_EQ(row[4], c.hectares) << c.list;
        EXPECT_EQ(row[5], c.mu) << c.list;
        EXPECT_EQ(row[6], QString::fromUtf8(c.turn)) << c.list;
    }
}

TEST(ParcelArea, WindowTextMatchesIndependentSumOnRandomParcels) {
    std::mt19937_64 rng(2715);
    QString text;
    std::vector<mpq_class> expected;
    for (int k = 0; k < 40; ++k) {
        const Ring ring = starRing(rng, 3 + static_cast<int>(rng() % 200), 3500000000LL,
                                   39500000000LL, 2e6, k % 2 == 1);
        text += pointList(ring, QStringLiteral("Q%1").arg(k));
        expected.push_back(referenceArea(ring));
    }
    for (int places : {0, 2, 4}) {
        AreaOptions options;
        options.decimals = places;
        const AreaRun run = runParcelArea(text, options);
        mpq_class total;
        for (int k = 0; k < 40; ++k) {
            const QStringList row = rowOf(run.output, QStringLiteral("Q%1").arg(k));
            ASSERT_GE(row.size(), 4) << k;
            EXPECT_EQ(row[3].toStdString(),
                      referenceText(expected[static_cast<std::size_t>(k)], places));
            total += abs(expected[static_cast<std::size_t>(k)]);
        }
        EXPECT_EQ(rowOf(run.output, QStringLiteral("合计"))[3].toStdString(),
                  referenceText(total, places));
    }
}

// Brute force: every pair of edges of the ring without repeated vertices.
bool bruteCrosses(const Ring& r) {
    const std::size_t n = r.x.size();
    auto orient = [&](std::size_t a, std::size_t b, std::size_t c) {
        auto big = [](long long v) { return mpz_class(std::to_string(v)); };
        const mpz_class v = big(r.x[b] - r.x[a]) * big(r.y[c] - r.y[a]) -
                            big(r.y[b] - r.y[a]) * big(r.x[c] - r.x[a]);
        return sgn(v);
    };
    auto on = [&](std::size_t a, std::size_t b, std::size_t c) {
        return std::min(r.x[a], r.x[b]) <= r.x[c] && r.x[c] <= std::max(r.x[a], r.x[b]) &&
               std::min(r.y[a], r.y[b]) <= r.y[c] && r.y[c] <= std::max(r.y[a], r.y[b]);
    };
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t i2 = (i + 1) % n;
        for (std::size_t j = i + 1; j < n; ++j) {
            const std::size_t j2 = (j + 1) % n;
            if (j == i2 || j2 == i) {
                // Adjacent: only folding back along the shared vertex counts.
                const std::size_t a = j == i2 ? i : j, b = j == i2 ? i2 : i, c = j == i2 ? j2 : i2;
                if (orient(a, b, c) == 0 && on(a, c, b) == false) return true;
                continue;
            }
            const int o1 = orient(i, i2, j), o2 = orient(i, i2, j2);
            const int o3 = orient(j, j2, i), o4 = orient(j, j2, i2);
            if (o1 * o2 < 0 && o3 * o4 < 0) return true;
            if ((o1 == 0 && on(i, i2, j)) || (o2 == 0 && on(i, i2, j2)) ||
                (o3 == 0 && on(j, j2, i)) || (o4 == 0 && on(j, j2, i2)))
                return true;
        }
    }
    return false;
}

TEST(ParcelArea, CrossingTestAgreesWithBruteForce) {
    std::mt19937_64 rng(99);
    int crossing = 0, simple = 0;
    for (int k = 0; k < 600; ++k) {
        const int n = 4 + static_cast<int>(rng() % (k < 500 ? 12 : 300));
        Ring ring = starRing(rng, n, 1000000, 2000000, 50000, false);
        if (k % 3 == 1) {
            // Swapping two vertices usually makes edges cross.
            const std::size_t a = rng() % ring.x.size(), b = rng() % ring.x.size();
            std::swap(ring.x[a], ring.x[b]);
            std::swap(ring.y[a], ring.y[b]);
        } else if (k % 3 == 2) {
            // A small grid makes collinear and touching edges common.
            for (auto& v : ring.x) v = 1000000 + (v - 1000000) / 20000 * 20000;
            for (auto& v : ring.y) v = 2000000 + (v - 2000000) / 20000 * 20000;
        }
        // Vertices equal to the one before are not edges for either test.
        Ring distinct;
        for (std::size_t i = 0; i < ring.x.size(); ++i) {
            if (!distinct.x.empty() && distinct.x.back() == ring.x[i] &&
                distinct.y.back() == ring.y[i])
                continue;
            distinct.x.push_back(ring.x[i]);
            distinct.y.push_back(ring.y[i]);
        }
        while (distinct.x.size() > 1 && distinct.x.back() == distinct.x.front() &&
               distinct.y.back() == distinct.y.front()) {
            distinct.x.pop_back();
            distinct.y.pop_back();
        }
        if (distinct.x.size() < 3) continue;
        const bool expected = bruteCrosses(distinct);
        (expected ? crossing : simple)++;
        const std::optional<bool> got = ringCrosses(decimals(ring.x), decimals(ring.y));
        ASSERT_TRUE(got.has_value());
        ASSERT_EQ(*got, expected) << "ring " << k << ", " << pointList(ring).toStdString();
    }
    // Both answers were exercised.
    EXPECT_GT(crossing, 50);
    EXPECT_GT(simple, 50);
}

TEST(ParcelArea, LongEdgeAmongShortOnesIsChecked) {
    // A half circle of 400 short edges closed by its diameter, turned so that the long
    // edge runs across many cells; then one vertex pushed across the diameter, near its
    // middle, or just onto it.
    const double turn = 0.5236;
    auto ring = [&](int moved, double by) {
        Ring r;
        for (int i = 0; i <= 400; ++i) {
            const double t = std::numbers::pi * i / 400;
            const double radius = i == moved ? 0 : 1e6;
            const double u = radius * std::cos(t), v = (i == moved ? by : radius * std::sin(t));
            r.x.push_back(std::llround(u * std::cos(turn) - v * std::sin(turn)));
            r.y.push_back(std::llround(u * std::sin(turn) + v * std::cos(turn)));
        }
        return r;
    };
    const struct {
        int moved;
        double by;  // across the diameter (negative) or not
    } cases[] = {{-1, 0}, {200, -1000}, {150, -5}, {250, 1000}};
    for (const auto& c : cases) {
        const Ring r = ring(c.moved, c.by);
        const std::optional<bool> got = ringCrosses(decimals(r.x), decimals(r.y));
        ASSERT_TRUE(got.has_value());
        EXPECT_EQ(*got, bruteCrosses(r)) << c.moved << " " << c.by;
        EXPECT_EQ(*got, c.by < 0) << c.moved << " " << c.by;
    }
}

TEST(ParcelArea, BadParcelsAreNamedWithTheirLine) {
    const struct {
        const char* list;
        const char* parcel;
        const char* notice;  // a part of the notice
        const char* cell;    // the row's third cell
    } cases[] = {
        {"PA\r\nA,0,39500000\r\nB,10,39500000\r\nA2,0,39500000\r\n", "PA",
         "地块“PA”（第 1 行起）不同的顶点少于三个", "顶点不足"},
        {"PB\r\nA,0,39500000\r\nB,10,39500000\r\nB2,10,39500000\r\nC,10,39500010\r\n", "PB",
         "地块“PB”第 4 行的点与前一点重合", "4"},
        {"PC\r\nA,0,39500000\r\nB,10,39500010\r\nC,10,39500000\r\nD,0,39500010\r\n", "PC",
         "地块“PC”第 2 行起的边与其它边相交", "4"},
        {"PD\r\nA,0,39500000\r\nB,39.3,116.2\r\nC,10,39500010\r\n", "PD",
         "地块“PD”第 3 行像是经纬度", "无法计算"},
        {"PE\r\nA,3500000,39500000\r\nB,3500010,38500000\r\nC,3500010,39500010\r\n", "PE",
         "地块“PE”第 3 行的点与第 2 行的点不在同一投影带", "无法计算"},
        {"PF\r\nA,3500000,9500000\r\nB,3500010,9500000\r\nC,3500010,9500010\r\n", "PF",
         "地块“PF”第 2 行的带号 9 看不出", "无法计算"},
    };
    for (const auto& c : cases) {
        const AreaRun run = runParcelArea(QString::fromUtf8(c.list), AreaOptions{});
        EXPECT_TRUE(allNotices(run.notices).contains(QString::fromUtf8(c.notice)))
            << c.list << "\n"
            << allNotices(run.notices).toStdString();
        const QStringList row = rowOf(run.output, QString::fromUtf8(c.parcel));
        ASSERT_GE(row.size(), 3) << run.output.toStdString();
        EXPECT_EQ(row[1 + (QString::fromUtf8(c.cell).at(0).isDigit() ? 0 : 1)],
                  QString::fromUtf8(c.cell))
            << run.output.toStdString();
    }
}

TEST(ParcelArea, BadGeographicRowsAreNamed) {
    const struct {
        const char* list;
        const char* notice;
    } cases[] = {
        {"P1,39.1,117.1\r\nP2,3527402.118,39476233.512\r\nP3,39.2,117.2\r\n",
         "地块“1”第 2 行不是经纬度（纬度超过 90 度或经度超过 360 度），像是公里网坐标"},
        {"P1,39.1,117.1\r\nP2,39.2,117.1\r\nP3,39.2,117.6\r\n",
         "地块“1”第 3 行的经纬度有 60 或更多的分或秒。"},
        {"P1,39.1,117.1\r\nP2,90.0001,117.1\r\nP3,39.2,117.2\r\n", "地块“1”第 2 行不是经纬度"},
    };
    for (const auto& c : cases) {
        AreaOptions options;
        options.geographic = true;
        const AreaRun run = runParcelArea(QString::fromUtf8(c.list), options);
        EXPECT_TRUE(allNotices(run.notices).contains(QString::fromUtf8(c.notice)))
            << c.list << "\n"
            << allNotices(run.notices).toStdString();
        EXPECT_EQ(rowOf(run.output, QStringLiteral("1")).value(2), QStringLiteral("无法计算"));
        EXPECT_TRUE(run.failed);
    }
}

TEST(ParcelArea, CrossingParcelShowsSignedSum) {
    // A figure eight: a clockwise lobe of 33.333 m² and a counter-clockwise one of 133.333 m².
    const QString list = QStringLiteral(
        "A,0,39500000\r\nB,10,39500000\r\nC,-20,39500020\r\nD,0,39500020\r\nE,0,39500000.000\r\n");
    const AreaRun run = runParcelArea(list, AreaOptions{});
    const QStringList row = rowOf(run.output, QStringLiteral("1"));
    ASSERT_GE(row.size(), 7) << run.output.toStdString();
    EXPECT_EQ(row[6], QStringLiteral("交叉"));
    EXPECT_EQ(row[3], QStringLiteral("-100.000"));
}

TEST(ParcelArea, ParcelsSplitAtBlankAndNameLines) {
    const QString list = QStringLiteral(
        "A,0,39500000\r\nB,10,39500000\r\nC,10,39500010\r\n\r\n"
        "North\r\nA,0,39500000\r\nB,20,39500000\r\nC,20,39500020\r\n"
        "South\r\nA,0,39500000\r\nB,30,39500000\r\nC,30,39500030\r\n");
    const AreaRun run = runParcelArea(list, AreaOptions{});
    EXPECT_EQ(rowOf(run.output, QStringLiteral("1")).value(3), QStringLiteral("50.000"));
    EXPECT_EQ(rowOf(run.output, QStringLiteral("North")).value(3), QStringLiteral("200.000"));
    EXPECT_EQ(rowOf(run.output, QStringLiteral("South")).value(3), QStringLiteral("450.000"));
    EXPECT_EQ(rowOf(run.output, QStringLiteral("合计")).value(3), QStringLiteral("700.000"));
    EXPECT_EQ(rowOf(run.output, QStringLiteral("合计")).value(1), QStringLiteral("9"));
    EXPECT_FALSE(run.failed);
    EXPECT_TRUE(run.notices.isEmpty()) << allNotices(run.notices).toStdString();
}

// ---- Against GeographicLib's tools ------------------------------------------

std::optional<QString> runTool(const QString& program, const QStringList& args, const QString& in) {
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty()) return std::nullopt;
    QProcess p;
    p.start(path, args);
    if (!p.waitForStarted(10000)) return std::nullopt;
    p.write(in.toUtf8());
    p.closeWriteChannel();
    p.waitForFinished(120000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

struct Shape {
    Datum datum;
    const char* code;
    double a;
    const char* f;
};
const Shape kShapes[] = {
    {Datum::Beijing1954, "BJ", 6378245.0, "1/298.3"},
    {Datum::Xian1980, "XA", 6378140.0, "1/298.257"},
    {Datum::Wgs84, "WGS", 6378137.0, "1/298.257223563"},
    {Datum::Cgcs2000, "2000", 6378137.0, "1/298.257222101"},
};

// Packed d.mmss text to Planimeter's d°m′s″ form, by the digits alone.
QString dmsOfPacked(const QString& packed) {
    const bool negative = packed.startsWith(u'-');
    const QString a = negative ? packed.mid(1) : packed;
    const qsizetype dot = a.indexOf(u'.');
    const QString deg = a.left(dot);
    const QString frac = a.mid(dot + 1).leftJustified(4, u'0');
    const QString seconds = frac.mid(2, 2) + (frac.size() > 4 ? u'.' + frac.mid(4) : QString());
    return (negative ? QStringLiteral("-") : QString()) + deg + u'd' + frac.left(2) + u'\'' +
           seconds + u'"';
}

TEST(ParcelArea, GeographicParcelsAgreeWithPlanimeter) {
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("Planimeter")).isEmpty())
        << "Planimeter (geographiclib-tools, scripts/deps.sh) is missing";
    std::mt19937_64 rng(4321);
    for (const Shape& shape : kShapes) {
        for (int k = 0; k < 8; ++k) {
            // Vertices in whole 1/10000 seconds around a centre in China.
            const int n = 3 + static_cast<int>(rng() % 30);
            const double lat0 = 20 + double(rng() % 3000) / 100,
                         lon0 = 75 + double(rng() % 5000) / 100;
            const double span = k % 2 ? 0.01 : 0.5;  // degrees
            std::vector<double> t;  // one angle in each of n sectors, as starRing does
            for (int i = 0; i < n; ++i)
                t.push_back((i + double(rng() % 100000) / 100000) / n * 2 * std::numbers::pi);
            QString list, planimeter;
            for (int i = 0; i < n; ++i) {
                const double r = span * (0.3 + double(rng() % 1000) / 1430);
                auto packed = [](double deg) {
                    const long long tenThousandths = std::llround(deg * 3600 * 10000);
                    const long long d = tenThousandths / 36000000, rest = tenThousandths % 36000000;
                    const long long m = rest / 600000, s = rest % 600000;
                    return QString::asprintf("%lld.%02lld%06lld", d, m, s);
                };
                const QString lat = packed(lat0 + r * std::sin(t[static_cast<std::size_t>(i)]));
                const QString lon = packed(lon0 + r * std::cos(t[static_cast<std::size_t>(i)]));
                list += QStringLiteral("P%1,%2,%3\r\n").arg(i).arg(lat, lon);
                planimeter += dmsOfPacked(lat) + u' ' + dmsOfPacked(lon) + u'\n';
            }
            AreaOptions options;
            options.geographic = true;
            options.datum = shape.datum;
            options.decimals = 1;
            const AreaRun run = runParcelArea(list, options);
            const QStringList row = rowOf(run.output, QStringLiteral("1"));
            ASSERT_GE(row.size(), 4)
                << run.output.toStdString() << allNotices(run.notices).toStdString();
            const QStringList args{QStringLiteral("-e"), QString::number(shape.a, 'f', 1),
                                   QString::fromLatin1(shape.f)};
            // Default precision: perimeter to 6 places, area to 1.
            const std::optional<QString> out =
                runTool(QStringLiteral("Planimeter"), args, planimeter);
            ASSERT_TRUE(out.has_value());
            const QStringList ref = out->trimmed().split(u' ');
            ASSERT_EQ(ref.size(), 3) << out->toStdString();
            QString area = ref[2];
            if (area.startsWith(u'-')) area.remove(0, 1);
            EXPECT_EQ(row[3], area) << shape.code << " parcel " << k << list.toStdString()
                                    << allNotices(run.notices).toStdString();
            EXPECT_EQ(row[2], QString::number(ref[1].toDouble(), 'f', 3))
                << shape.code << " parcel " << k;
        }
    }
}

TEST(ParcelArea, GridParcelsAgreeWithExactProjectionRoute) {
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("TransverseMercatorProj")).isEmpty())
        << "TransverseMercatorProj (geographiclib-tools, scripts/deps.sh) is missing";
    std::mt19937_64 rng(1954);
    double worst = 0;
    for (const Shape& shape : kShapes) {
        for (int k = 0; k < 12; ++k) {
            const bool six = k % 2 == 0;
            const int zone =
                six ? 17 + static_cast<int>(rng() % 6) : 34 + static_cast<int>(rng() % 10);
            const double meridian = six ? 6.0 * zone - 3 : 3.0 * zone;
            // Centres up to the zone's edge at 20 ... 50 degrees north.
            const double halfWidthKm = six ? 280 : 140;
            const double eastKm = (double(rng() % 2001) / 1000 - 1) * halfWidthKm;
            const double northKm = 2200 + double(rng() % 3300);
            const double radius = (k % 3 == 0 ? 5000 : 1000) * (0.5 + double(rng() % 500) / 1000);
            Ring ring = starRing(rng, 5 + static_cast<int>(rng() % 40), std::llround(northKm * 1e6),
                                 std::llround(eastKm * 1e6), radius * 1000, k % 4 == 1);
            QString list, tm;
            for (std::size_t i = 0; i < ring.x.size(); ++i) {
                const long long y = ring.y[i] + (zone * 1000000LL + 500000LL) * 1000;
                list += QStringLiteral("P%1,%2,%3\r\n").arg(i).arg(mmText(ring.x[i]), mmText(y));
                tm += mmText(ring.y[i]) + u' ' + mmText(ring.x[i]) + u'\n';
            }
            AreaOptions options;
            options.datum = shape.datum;
            options.zone = six ? ZoneWidth::Six : ZoneWidth::Three;
            options.decimals = 4;
            const AreaRun run = runParcelArea(list, options);
            const QStringList row = rowOf(run.output, QStringLiteral("1"));
            ASSERT_GE(row.size(), 8)
                << run.output.toStdString() << allNotices(run.notices).toStdString();

            const QStringList ellipsoid{QStringLiteral("-e"), QString::number(shape.a, 'f', 1),
                                        QString::fromLatin1(shape.f)};
            const std::optional<QString> geo = runTool(
                QStringLiteral("TransverseMercatorProj"),
                QStringList{QStringLiteral("-r"), QStringLiteral("-l"), QString::number(meridian),
                            QStringLiteral("-k"), QStringLiteral("1"), QStringLiteral("-p"),
                            QStringLiteral("12")} +
                    ellipsoid,
                tm);
            ASSERT_TRUE(geo.has_value());
            QString latLon;
            for (const QString& line : geo->split(u'\n', Qt::SkipEmptyParts)) {
                const QStringList f = line.split(u' ', Qt::SkipEmptyParts);
                ASSERT_GE(f.size(), 2) << line.toStdString();
                latLon += f[0] + u' ' + f[1] + u'\n';
            }
            const std::optional<QString> out = runTool(
                QStringLiteral("Planimeter"),
                QStringList{QStringLiteral("-p"), QStringLiteral("10")} + ellipsoid, latLon);
            ASSERT_TRUE(out.has_value());
            const double reference = std::fabs(out->trimmed().split(u' ').value(2).toDouble());
            ASSERT_GT(reference, 0) << out->toStdString();
            const double got = row[7].toDouble();
            const double perKm2 = std::fabs(got - reference) / (reference / 1e6);
            worst = std::max(worst, perKm2);
            EXPECT_LE(perKm2, 0.01) << shape.code << " zone " << zone << " east " << eastKm
                                    << " km: " << got << " vs " << reference;
        }
    }
    std::cout << "largest difference: " << worst << " m² per km²\n";
}

}  // namespace
}  // namespace hc
