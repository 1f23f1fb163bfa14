#include "survey/distance_reduction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "survey/text_table.h"
#include "tests/survey/print_qstring.h"

namespace hc {
namespace {

// Packed d.mmss text with two decimals of seconds, and its value in degrees.
struct PackedAngle {
    QString text;
    long double degrees;
};
PackedAngle packedAngle(long long hundredths) {
    const bool negative = hundredths < 0;
    const long long a = negative ? -hundredths : hundredths;
    const long long sec = a / 100, frac = a % 100;
    const QString text = QStringLiteral("%1%2.%3%4%5")
                             .arg(negative ? QStringLiteral("-") : QString())
                             .arg(sec / 3600)
                             .arg((sec % 3600) / 60, 2, 10, QChar(u'0'))
                             .arg(sec % 60, 2, 10, QChar(u'0'))
                             .arg(frac, 2, 10, QChar(u'0'));
    return {text, (negative ? -1.0L : 1.0L) * static_cast<long double>(a) / 360000.0L};
}

// The textbook formulas once more, in long double: zenith distances go through sine and
// cosine of Z directly rather than through 90° − Z.
struct Expected {
    long double d, h;
};
Expected textbook(long double s, long double degrees, bool zenith, long double i, long double v,
                  long double k, long double ppm) {
    const long double pi = std::numbers::pi_v<long double>;
    const long double sc = s + s * ppm / 1000000.0L;
    const long double a = degrees * pi / 180.0L;
    const long double d = zenith ? sc * std::sin(a) : sc * std::cos(a);
    const long double dh = zenith ? sc * std::cos(a) : sc * std::sin(a);
    return {d, dh + i - v + d * d * (1.0L - k) / (2.0L * 6371000.0L)};
}

TEST(DistanceReduction, RandomObservationsAgreeWithTheTextbookFormulas) {
    std::mt19937_64 rng(1211);
    std::uniform_real_distribution<double> slope(5, 6000), height(0, 2.5), k(-0.2, 0.5),
        ppm(-80, 80), hm(-100, 4500);
    std::uniform_int_distribution<long long> vertical(-35LL * 360000, 35LL * 360000);
    for (int trial = 0; trial < 300; ++trial) {
        SCOPED_TRACE(trial);
        const bool zenith = trial % 2 == 1;
        const long long a = vertical(rng), b = vertical(rng);
        const PackedAngle fa = packedAngle(zenith ? 90LL * 360000 - a : a);
        const PackedAngle ra = packedAngle(zenith ? 90LL * 360000 - b : b);
        const QString s1 = QString::number(slope(rng), 'f', 4),
                      s2 = QString::number(slope(rng), 'f', 4);
        const QString i1 = QString::number(height(rng), 'f', 3),
                      v1 = QString::number(height(rng), 'f', 3);
        const QString i2 = QString::number(height(rng), 'f', 3),
                      v2 = QString::number(height(rng), 'f', 3);
        ReductionTexts t;
        t.angleKind = zenith ? 1 : 0;
        t.refraction = QString::number(k(rng), 'f', 3);
        t.ppm = QString::number(ppm(rng), 'f', 1);
        t.height = QString::number(hm(rng), 'f', 3);
        t.input =
            QStringList{QStringLiteral("L"), s1, fa.text, i1, v1, s2, ra.text, i2, v2}.join(u',');

        ReductionOptions o;
        o.zenith = zenith;
        o.refraction = t.refraction.toDouble();
        o.ppm = t.ppm.toDouble();
        o.meanHeight = t.height.toDouble();
        const ReductionResult r = computeReductions(readReductionLines(t.input), o);
        ASSERT_EQ(r.rows.size(), 1u);
        const Expected f = textbook(s1.toDouble(), fa.degrees, zenith, i1.toDouble(), v1.toDouble(),
                                    o.refraction, o.ppm);
        const Expected g = textbook(s2.toDouble(), ra.degrees, zenith, i2.toDouble(), v2.toDouble(),
                                    o.refraction, o.ppm);
        const ReductionRow& row = r.rows[0];
        EXPECT_NEAR(row.forward.horizontal, double(f.d), 1e-4);
        EXPECT_NEAR(row.forward.height, double(f.h), 1e-4);
        ASSERT_TRUE(row.reverse);
        EXPECT_NEAR(row.reverse->height, double(g.h), 1e-4);
        EXPECT_NEAR(row.distance, double((f.d + g.d) / 2), 1e-4);
        EXPECT_NEAR(row.height, double((f.h - g.h) / 2), 1e-4);
        const long double mean = (f.d + g.d) / 2;
        const long double hmean = *o.meanHeight;
        ASSERT_TRUE(row.ellipsoid);
        EXPECT_NEAR(*row.ellipsoid, double(mean - mean * hmean / (6371000.0L + hmean)), 1e-4);
        EXPECT_FALSE(row.grid);

        // The window's texts give the same numbers in the output box.
        const ReductionRun run = runReductionTexts(t);
        ASSERT_FALSE(run.failed) << run.output.toStdString();
        EXPECT_TRUE(run.output.contains(fixedText(double(mean), 4)));
    }
}

TEST(DistanceReduction, ReciprocalObservationsCancelCurvatureAndRefraction) {
    // A line of 3 km between stations 40 m apart in height: each end sees the other
    // through the same curved, refracted ray, and the mean height difference does not
    // depend on k or R.
    for (const char* kText : {"0.0", "0.14", "0.3"}) {
        const QString in = QStringLiteral("A-B,3000,0.4500,1.5,1.5,3000,-0.4500,1.5,1.5\r\n");
        ReductionTexts t;
        t.input = in;
        t.refraction = QString::fromLatin1(kText);
        ReductionOptions o;
        o.refraction = t.refraction.toDouble();
        const ReductionResult r = computeReductions(readReductionLines(in), o);
        EXPECT_NEAR(r.rows[0].height, 3000 * std::sin(0.75 * std::numbers::pi / 180), 1e-9);
        EXPECT_NEAR(r.rows[0].forward.height + r.rows[0].reverse->height,
                    (1 - o.refraction) * std::pow(r.rows[0].distance, 2) / 6371000, 1e-9);
    }
}

TEST(DistanceReduction, GridReductionUsesThePointScaleAndMeanRadius) {
    ReductionTexts t;
    t.input = QStringLiteral("A-B,1000,0,0,0\r\n");
    t.height = QStringLiteral("0");
    t.x = QStringLiteral("3380000");
    t.y = QStringLiteral("39520000");  // 20 km east of 117 degrees
    const ReductionRun run = runReductionTexts(t);
    ASSERT_FALSE(run.failed) << run.output.toStdString();
    // k = 1 + y²/(2R²) to first order: 1 + 20000²/(2·6371000²) ≈ 1.0000049.
    EXPECT_TRUE(run.output.contains(QStringLiteral("长度比 k = 1.00000493")))
        << run.output.toStdString();
    EXPECT_TRUE(run.output.contains(QStringLiteral("1000.0049"))) << run.output.toStdString();

    t.y = QStringLiteral("39999999999");
    const ReductionRun bad = runReductionTexts(t);
    EXPECT_TRUE(bad.failed);
}

TEST(DistanceReduction, BadInputNamesTheLine) {
    struct Case {
        QString input;
        QString expected;
    };
    const std::vector<Case> cases = {
        {QStringLiteral("A-B,100,3.6000,1,1"),
         QStringLiteral("第 1 行（A-B）的竖直角“3.6000”的分或秒不小于 60")},
        {QStringLiteral("\r\nA-B,100"), QStringLiteral("第 2 行（A-B）应有")},
        {QStringLiteral("A-B,,3.1,1,1"), QStringLiteral("第 1 行（A-B）缺少斜距或竖直角")},
        {QStringLiteral("A-B,-5,3.1,1,1"), QStringLiteral("第 1 行（A-B）的斜距“-5”不是正数")},
        {QStringLiteral("A-B,100,3.1,1,1,100,,1,1"),
         QStringLiteral("第 1 行（A-B）缺少返测斜距或竖直角")},
        {QStringLiteral("A-B,100,3.1,x,1"), QStringLiteral("第 1 行（A-B）的仪器高“x”不是数值")},
        {QStringLiteral("# only a comment\r\n"), QStringLiteral("没有观测数据")},
    };
    for (const Case& c : cases) {
        const ReductionRun run = runReductions(c.input, {});
        EXPECT_TRUE(run.failed);
        EXPECT_TRUE(run.output.startsWith(c.expected)) << run.output.toStdString();
        ASSERT_EQ(run.notices.size(), 1);
    }
}

}  // namespace
}  // namespace hc
