#include "survey/traverse.h"

#include <gmpxx.h>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <string>

#include "engine/rounding.h"
#include "survey/text_table.h"
#include "tests/survey/print_qstring.h"

namespace hc {
namespace {

// ---- An independent route: angles in exact rational seconds, the adjustment in exact
// rationals; only the bearings of known sides and the cosines come from long doubles.

const mpq_class kTurn(1296000);  // seconds in a full turn
const mpq_class kHalf(648000);

mpq_class decimalQ(const std::string& s) {
    const auto dot = s.find('.');
    if (dot == std::string::npos) return mpq_class(mpz_class(s));
    const std::string digits = s.substr(0, dot) + s.substr(dot + 1);
    mpz_class den(1);
    for (size_t i = dot + 1; i < s.size(); ++i) den *= 10;
    mpq_class q(mpz_class(digits), den);
    q.canonicalize();
    return q;
}

// "d.mmss..." to seconds, read digit by digit.
mpq_class packedSeconds(const std::string& s) {
    const auto dot = s.find('.');
    const mpz_class deg(s.substr(0, dot));
    std::string frac = dot == std::string::npos ? "" : s.substr(dot + 1);
    while (frac.size() < 4) frac += '0';
    const mpz_class mm(frac.substr(0, 2));
    const std::string rest = frac.substr(2, 2) + "." + frac.substr(4);
    return mpq_class(deg * 3600 + mm * 60) + decimalQ(rest);
}

mpq_class wrapTurn(mpq_class a) {
    while (a < 0) a += kTurn;
    while (a >= kTurn) a -= kTurn;
    return a;
}

mpq_class bearingSeconds(long double dx, long double dy) {
    long double a = std::atan2(dy, dx) * 180.0L / std::numbers::pi_v<long double> * 3600.0L;
    return wrapTurn(mpq_class(double(a)));
}

struct Row {
    std::string name, angle, dist, x, y;
};

struct Reference {
    std::vector<mpq_class> bearing;  // seconds, per side
    std::vector<mpq_class> x, y;     // adjusted, per walk point
    std::optional<mpq_class> fBeta;  // seconds
};

// The textbook computation over the rows (backsight first / foresight last when given).
Reference reference(const std::vector<Row>& rows, TraverseType type, AngleSide side,
                    const std::string& startBearing, bool backsight, bool foresight) {
    const size_t first = backsight ? 1 : 0;
    const size_t last = rows.size() - (foresight ? 2 : 1);
    const size_t m = last - first;
    auto X = [&](size_t i) { return decimalQ(rows[i].x); };
    auto Y = [&](size_t i) { return decimalQ(rows[i].y); };
    auto known = [&](size_t a, size_t b) {
        return bearingSeconds(mpq_class(X(b) - X(a)).get_d(), mpq_class(Y(b) - Y(a)).get_d());
    };
    auto turn = [&](const mpq_class& in, const mpq_class& beta) {
        return wrapTurn(side == AngleSide::Left ? mpq_class(in + beta - kHalf)
                                                : mpq_class(in - beta + kHalf));
    };
    std::vector<mpq_class> beta(m + 1);
    std::vector<bool> adjusted(m + 1, false);
    for (size_t i = 0; i <= m; ++i)
        if (!rows[first + i].angle.empty()) beta[i] = packedSeconds(rows[first + i].angle);
    const bool checked = type == TraverseType::Loop || foresight;
    for (size_t i = 0; i <= m; ++i)
        adjusted[i] = checked && (i > 0 || (backsight && type == TraverseType::Connecting));
    auto chain = [&](const std::vector<mpq_class>& b) {
        std::vector<mpq_class> out(m + 1);
        out[0] = backsight ? turn(known(0, 1), b[0]) : packedSeconds(startBearing);
        for (size_t i = 1; i <= m; ++i) out[i] = turn(out[i - 1], b[i]);
        return out;
    };
    Reference r;
    if (checked) {
        const mpq_class end = type == TraverseType::Loop ? chain(beta)[0] : known(last, last + 1);
        mpq_class f = wrapTurn(chain(beta)[m] - end + kHalf) - kHalf;
        r.fBeta = f;
        int n = 0;
        for (bool a : adjusted) n += a;
        const mpq_class v = (side == AngleSide::Left ? -f : f) / n;
        for (size_t i = 0; i <= m; ++i)
            if (adjusted[i]) beta[i] += v;
    }
    r.bearing = chain(beta);
    std::vector<mpq_class> dx(m), dy(m), d(m);
    mpq_class total = 0, sx = 0, sy = 0;
    for (size_t i = 0; i < m; ++i) {
        d[i] = decimalQ(rows[first + i].dist);
        const long double a =
            mpq_class(r.bearing[i] / 3600).get_d() * std::numbers::pi_v<long double> / 180.0L;
        dx[i] = mpq_class(double(d[i].get_d() * std::cos(a)));
        dy[i] = mpq_class(double(d[i].get_d() * std::sin(a)));
        total += d[i];
        sx += dx[i];
        sy += dy[i];
    }
    mpq_class fx = 0, fy = 0;
    if (type != TraverseType::Open) {
        const size_t e = type == TraverseType::Loop ? first : last;
        fx = X(first) + sx - X(e);
        fy = Y(first) + sy - Y(e);
    }
    r.x = {X(first)};
    r.y = {Y(first)};
    for (size_t i = 0; i < m; ++i) {
        r.x.push_back(r.x.back() + dx[i] - fx * d[i] / total);
        r.y.push_back(r.y.back() + dy[i] - fy * d[i] / total);
    }
    return r;
}

QString textOf(const std::vector<Row>& rows) {
    QString t;
    for (const Row& r : rows)
        t += QString::fromStdString(r.name + "," + r.angle + "," + r.dist + "," + r.x + "," + r.y) +
             QStringLiteral("\r\n");
    return t;
}

// The right angle of a left angle: 360 degrees less it, as packed text.
std::string rightOf(const std::string& left) {
    mpz_class s = mpz_class(kTurn - packedSeconds(left));
    const mpz_class d = s / 3600, mm = (s % 3600) / 60, ss = s % 60;
    char buf[40];
    std::snprintf(buf, sizeof buf, "%ld.%02ld%02ld", d.get_si(), mm.get_si(), ss.get_si());
    return buf;
}

struct WorkedCase {
    const char* what;
    TraverseType type;
    AngleSide side;
    std::string startBearing;
    bool backsight, foresight;
    std::vector<Row> rows;
};

std::vector<Row> connectingRows() {
    return {
        {"A", "", "", "3825.112", "2652.337"}, {"B", "173.1820", "221.155", "3536.270", "2795.480"},
        {"1", "159.1311", "232.724", "", ""},  {"2", "150.2656", "228.281", "", ""},
        {"3", "220.4815", "193.757", "", ""},  {"C", "175.2006", "", "3044.650", "3461.902"},
        {"D", "", "", "2870.505", "3650.311"}};
}
std::vector<Row> loopRows() {
    return {{"1", "", "218.842", "5000.000", "5000.000"}, {"2", "114.1304", "245.563", "", ""},
            {"3", "102.1240", "227.813", "", ""},         {"4", "102.5245", "218.497", "", ""},
            {"5", "122.5746", "218.775", "", ""},         {"1", "97.4326", "", "", ""}};
}
std::vector<Row> asRight(std::vector<Row> rows) {
    for (Row& r : rows)
        if (!r.angle.empty()) r.angle = rightOf(r.angle);
    return rows;
}

std::vector<WorkedCase> workedCases() {
    std::vector<Row> loopBacksight = loopRows();
    loopBacksight[0].angle = "157.3559";
    loopBacksight.insert(loopBacksight.begin(), Row{"Q", "", "", "5180.250", "4890.460"});
    std::vector<Row> open = connectingRows();
    open.resize(4);
    open[3].dist.clear();
    open[3].angle.clear();
    std::vector<Row> bearingGiven = connectingRows();
    bearingGiven.erase(bearingGiven.begin());
    bearingGiven[0].angle.clear();
    return {
        {"connecting, left angles", TraverseType::Connecting, AngleSide::Left, "", true, true,
         connectingRows()},
        {"connecting, right angles", TraverseType::Connecting, AngleSide::Right, "", true, true,
         asRight(connectingRows())},
        {"connecting, start bearing given", TraverseType::Connecting, AngleSide::Left, "146.5634",
         false, true, bearingGiven},
        {"loop, start bearing given", TraverseType::Loop, AngleSide::Left, "126.1844", false, false,
         loopRows()},
        {"loop, right angles", TraverseType::Loop, AngleSide::Right, "126.1844", false, false,
         asRight(loopRows())},
        {"loop oriented on a backsight", TraverseType::Loop, AngleSide::Left, "", true, false,
         loopBacksight},
        {"open", TraverseType::Open, AngleSide::Left, "", true, false, open},
    };
}

TEST(Traverse, WorkedTraversesAgreeWithExactRationalRoute) {
    for (const WorkedCase& c : workedCases()) {
        SCOPED_TRACE(c.what);
        TraverseOptions o;
        o.type = c.type;
        o.angles = c.side;
        if (!c.startBearing.empty())
            o.startBearing = readPackedField(QString::fromStdString(c.startBearing), {});
        const TraverseResult r = computeTraverse(readTraverseLines(textOf(c.rows)), o);
        const Reference ref =
            reference(c.rows, c.type, c.side, c.startBearing, c.backsight, c.foresight);
        ASSERT_EQ(r.stations.size(), ref.x.size());
        EXPECT_EQ(r.adjusted, c.type != TraverseType::Open);
        ASSERT_EQ(r.fBeta.has_value(), ref.fBeta.has_value());
        if (r.fBeta) {
            EXPECT_NEAR(*r.fBeta, ref.fBeta->get_d(), 0.05);
        }
        for (size_t i = 0; i < ref.x.size(); ++i) {
            EXPECT_NEAR(r.stations[i].x, ref.x[i].get_d(), 0.001) << i;
            EXPECT_NEAR(r.stations[i].y, ref.y[i].get_d(), 0.001) << i;
            if (i + 1 < ref.x.size()) {
                const double diff = std::remainder(
                    r.stations[i].bearing * 3600 - ref.bearing[i].get_d(), 1296000.0);
                EXPECT_LT(std::fabs(diff), 0.1) << i;
            }
        }
        // The output box shows the same coordinates to the millimetre.
        const QString report = traverseReport(r, o);
        for (size_t i = 1; i < ref.x.size(); ++i)
            EXPECT_TRUE(report.contains(fixedText(ref.x[i].get_d()))) << report.toStdString() << i;
    }
}

TEST(Traverse, ConnectingSampleShowsMisclosuresAndTheirAllowances) {
    const TraverseRun run = runTraverse(traverseSample(TraverseType::Connecting), {});
    ASSERT_FALSE(run.failed);
    EXPECT_TRUE(run.notices.isEmpty());
    EXPECT_TRUE(run.output.contains(
        QStringLiteral("角度闭合差 fβ = +16.1″，容许 ±40.0″√n = ±89.4″（n = 5）")))
        << run.output.toStdString();
    EXPECT_TRUE(run.output.contains(QStringLiteral("fx = 0.013 米，fy = -0.015 米，fs = 0.020 米")))
        << run.output.toStdString();
    EXPECT_TRUE(run.output.contains(QStringLiteral("相对闭合差 K = 1/44834，容许 1/2000")))
        << run.output.toStdString();
    // The heading and the rows from backsight to foresight end in the same column.
    const QStringList lines = run.output.split(QStringLiteral("\r\n"));
    ASSERT_GT(lines.size(), 9);
    for (int i = 2; i <= 8; ++i)
        EXPECT_EQ(ZelXianShiKuanDu(lines[i]), ZelXianShiKuanDu(lines[1]))
            << run.output.toStdString();
}

// ---- Error-free traverses built from true points close exactly.

std::string exactPacked(double degrees) {
    // Packed with 8 decimals of seconds: 15 significant digits for the double reader.
    long long units = std::llround(degrees * 3600.0 * 1e8);
    const long long turn = 1296000LL * 100000000LL;
    units = ((units % turn) + turn) % turn;
    const long long sec = units / 100000000LL, frac = units % 100000000LL;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%lld.%02lld%02lld%08lld", sec / 3600, (sec % 3600) / 60,
                  sec % 60, frac);
    return buf;
}

std::string exactNumber(double v) { return QString::number(v, 'g', 17).toStdString(); }

double trueBearing(double ax, double ay, double bx, double by) {
    double a = std::atan2(by - ay, bx - ax) * 180.0 / std::numbers::pi;
    return a < 0 ? a + 360 : a;
}

TEST(Traverse, RandomErrorFreeTraversesClose) {
    std::mt19937_64 rng(20261211);
    std::uniform_real_distribution<double> step(80, 400), dir(0, 360), coord(1000, 9000);
    for (int trial = 0; trial < 60; ++trial) {
        const TraverseType type = static_cast<TraverseType>(trial % 3);
        const AngleSide side = (trial / 3) % 2 ? AngleSide::Right : AngleSide::Left;
        const bool orientation = trial % 4 != 3;  // connecting without orientation else
        const int n = 3 + trial % 6;              // walk points before closing
        std::vector<std::pair<double, double>> p{{coord(rng), coord(rng)}};
        for (int i = 1; i < n + 2; ++i) {
            const double a = dir(rng) * std::numbers::pi / 180;
            p.push_back({p.back().first + step(rng) * std::cos(a),
                         p.back().second + step(rng) * std::sin(a)});
        }
        // Points 0 backsight, 1 .. walk; a loop walks 1 .. n and back to 1.
        std::vector<size_t> walk;
        for (int i = 1; i <= n; ++i) walk.push_back(size_t(i));
        if (type == TraverseType::Loop) walk.push_back(1);
        if (type == TraverseType::Connecting) walk.push_back(size_t(n + 1));
        const bool backsight = type != TraverseType::Connecting || orientation;
        const bool foresight = type == TraverseType::Connecting && orientation;
        SCOPED_TRACE(testing::Message() << "trial " << trial);

        auto angleAt = [&](size_t k, size_t from, size_t to) {
            const double left = trueBearing(p[k].first, p[k].second, p[to].first, p[to].second) -
                                trueBearing(p[k].first, p[k].second, p[from].first, p[from].second);
            return exactPacked(side == AngleSide::Left ? left : -left);
        };
        std::vector<Row> rows;
        if (backsight)
            rows.push_back({"BS", "", "", exactNumber(p[0].first), exactNumber(p[0].second)});
        for (size_t i = 0; i < walk.size(); ++i) {
            const size_t k = walk[i];
            Row r{"P" + std::to_string(k), "", "", "", ""};
            const size_t from =
                i > 0 ? walk[i - 1] : (type == TraverseType::Loop ? walk[walk.size() - 2] : 0);
            const size_t to = i + 1 < walk.size()          ? walk[i + 1]
                              : type == TraverseType::Loop ? walk[1]
                                                           : size_t(n + 2);
            const bool endAngle = i + 1 < walk.size() || type == TraverseType::Loop || foresight;
            if ((i > 0 || backsight) && endAngle) r.angle = angleAt(k, i == 0 ? 0 : from, to);
            if (i + 1 < walk.size())
                r.dist = exactNumber(std::hypot(p[walk[i + 1]].first - p[k].first,
                                                p[walk[i + 1]].second - p[k].second));
            const bool known = i == 0 || (type == TraverseType::Connecting && i + 1 == walk.size());
            if (known) {
                r.x = exactNumber(p[k].first);
                r.y = exactNumber(p[k].second);
            }
            rows.push_back(r);
        }
        if (foresight)
            rows.push_back({"FS", "", "", exactNumber(p[size_t(n + 2)].first),
                            exactNumber(p[size_t(n + 2)].second)});
        if (type == TraverseType::Open) rows.back().angle.clear();

        TraverseOptions o;
        o.type = type;
        o.angles = side;
        const TraverseResult r = computeTraverse(readTraverseLines(textOf(rows)), o);
        if (r.fBeta) {
            EXPECT_LT(std::fabs(*r.fBeta), 1e-6);
        }
        if (type != TraverseType::Open) {
            ASSERT_TRUE(r.fx);
            EXPECT_LT(std::fabs(*r.fx), 1e-9);
            EXPECT_LT(std::fabs(*r.fy), 1e-9);
            EXPECT_TRUE(r.adjusted);
        }
        EXPECT_TRUE(r.warnings.isEmpty()) << r.warnings.join(u'\n').toStdString();
        for (size_t i = 0; i < walk.size(); ++i) {
            EXPECT_NEAR(r.stations[i].x, p[walk[i]].first, 1e-8) << i;
            EXPECT_NEAR(r.stations[i].y, p[walk[i]].second, 1e-8) << i;
        }
    }
}

// ---- Blunders and bad input.

TEST(Traverse, BlundersAreReportedAndNothingIsAdjusted) {
    struct Case {
        const char* what;
        TraverseType type;
        std::vector<Row> rows;
        QString expected;
    };
    std::vector<Row> angle = connectingRows();
    angle[3].angle = "150.3656";  // ten minutes out at point 2
    std::vector<Row> firstAngle = connectingRows();
    firstAngle[1].angle = "173.2820";
    std::vector<Row> distance = connectingRows();
    distance[3].dist = "229.281";  // a metre out on side 2-3
    std::vector<Row> loopClosingAngle = loopRows();
    loopClosingAngle[5].angle = "97.5326";
    std::vector<Row> loopDistance = loopRows();
    loopDistance[2].dist = "228.813";
    const std::vector<Case> cases = {
        {"angle at a middle point", TraverseType::Connecting, angle,
         QStringLiteral("点 2 的观测角可能有错")},
        {"angle at the start point", TraverseType::Connecting, firstAngle,
         QStringLiteral("点 B 的观测角可能有错")},
        {"distance", TraverseType::Connecting, distance, QStringLiteral("边 2—3 的边长可能有错")},
        {"loop closing angle", TraverseType::Loop, loopClosingAngle,
         QStringLiteral("点 1 的观测角可能有错")},
        {"loop distance", TraverseType::Loop, loopDistance,
         QStringLiteral("边 3—4 的边长可能有错")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TraverseOptions o;
        o.type = c.type;
        if (c.type == TraverseType::Loop)
            o.startBearing = readPackedField(QStringLiteral("126.1844"), {});
        const TraverseRun run = runTraverse(textOf(c.rows), o);
        EXPECT_FALSE(run.failed);
        EXPECT_TRUE(run.output.contains(QStringLiteral("超限"))) << run.output.toStdString();
        EXPECT_TRUE(run.output.contains(QStringLiteral("坐标为未平差值")))
            << run.output.toStdString();
        EXPECT_TRUE(run.output.contains(c.expected)) << run.output.toStdString();
        ASSERT_FALSE(run.notices.isEmpty());
        EXPECT_TRUE(run.notices.back().text.contains(c.expected));
    }
}

TEST(Traverse, BadInputNamesTheLineAndPoint) {
    const QString sample = traverseSample(TraverseType::Connecting);
    struct Case {
        QString input;
        TraverseType type;
        QString expected;
    };
    const std::vector<Case> cases = {
        {QString(sample).replace(QStringLiteral("159.1311"), QStringLiteral("159.6011")),
         TraverseType::Connecting,
         QStringLiteral("第 3 行（点 1）的观测角“159.6011”的分或秒不小于 60")},
        {QString(sample).replace(QStringLiteral("159.1311"), QStringLiteral("159.1360")),
         TraverseType::Connecting,
         QStringLiteral("第 3 行（点 1）的观测角“159.1360”的分或秒不小于 60")},
        {QString(sample).replace(QStringLiteral(",232.724"), QString()), TraverseType::Connecting,
         QStringLiteral("第 3 行（点 1）缺少到下一点的边长")},
        {QString(sample).replace(QStringLiteral("150.2656,"), QStringLiteral(",")),
         TraverseType::Connecting, QStringLiteral("第 4 行（点 2）缺少观测角")},
        // Without its coordinates the end point reads as a point on the way to D.
        {QString(sample).replace(QStringLiteral(",3044.650,3461.902"), QString()),
         TraverseType::Connecting, QStringLiteral("第 6 行（点 C）缺少到下一点的边长")},
        {QStringLiteral("B,,221.155,3536.270,2795.480\r\n1,159.1311,232.724\r\nC,175.2006\r\n"),
         TraverseType::Connecting, QStringLiteral("终点 C 缺少已知坐标")},
        {QString(sample).replace(QStringLiteral("221.155"), QStringLiteral("-221.155")),
         TraverseType::Connecting, QStringLiteral("第 2 行（点 B）的边长“-221.155”不是正数")},
        {QStringLiteral("B,,100,1,1\r\n1,90,100\r\n2,90,100\r\n3,90,100\r\nB,90\r\n"),
         TraverseType::Loop, QStringLiteral("缺少起始方位")},
        {QStringLiteral("B,,100,1,1\r\n1,90,100\r\n2,90,100\r\n3,90\r\n"), TraverseType::Open,
         QStringLiteral("缺少起始方位")},
        {QStringLiteral("A\r\n"), TraverseType::Open, QStringLiteral("导线至少要有两个点")},
        {QStringLiteral("A,,,1,1\r\nB,90,100,2,2\r\nC,90,,3,3\r\n"), TraverseType::Open,
         QStringLiteral("第 3 行（点 C）有已知坐标")},
        {QStringLiteral("A,,,1,1\r\nB,90,100,2\r\n"), TraverseType::Open,
         QStringLiteral("第 2 行（点 B）的已知坐标要同时写 X 和 Y")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input.toStdString());
        TraverseOptions o;
        o.type = c.type;
        const TraverseRun run = runTraverse(c.input, o);
        EXPECT_TRUE(run.failed);
        EXPECT_TRUE(run.output.contains(c.expected)) << run.output.toStdString();
        ASSERT_EQ(run.notices.size(), 1);
        EXPECT_EQ(run.notices[0].text + QStringLiteral("\r\n"), run.output);
    }
}

}  // namespace
}  // namespace hc
