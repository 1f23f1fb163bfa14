#include "survey/datum_ops.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "survey/text_table.h"
#include "tests/survey/print_qstring.h"

namespace hc {
namespace {

const QString kSeven = QStringLiteral("7 tx=-15.4 ty=120.2 tz=60.1 rx=1.2 ry=-0.8 rz=2.5 s=3.1");

// Common points: WGS 84 latitude/longitude rows and their Beijing 1954 3-degree grid
// values under kSeven, as text.
struct CommonTexts {
    QString source;
    QString target;
};

CommonTexts commonPoints(int n, std::uint64_t seed) {
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> lat(38.5, 40.5), lon(115.6, 118.2), h(0, 500);
    QString src;
    for (int i = 0; i < n; ++i) {
        src += QStringLiteral("P%1,%2,%3,%4\r\n")
                   .arg(i + 1)
                   .arg(packedDegreesText(lat(rng), 6), packedDegreesText(lon(rng), 6),
                        fixedText(h(rng), 3));
    }
    DatumApplySettings s;
    s.from = {Datum::Wgs84, std::nullopt, std::nullopt};
    s.to = {Datum::Beijing1954, ZoneWidth::Three, std::nullopt};
    const DatumApplyRun run = runDatumApply(src, kSeven, s);
    EXPECT_TRUE(run.ok);
    return {src, run.output};
}

QStringList lines(const QString& text) {
    return text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

TEST(DatumFitText, FitsAndTheParameterLineReproducesTheTargets) {
    const CommonTexts c = commonPoints(12, 1);
    DatumFitSettings fs;
    fs.from = {Datum::Wgs84, std::nullopt, std::nullopt};
    fs.to = {Datum::Beijing1954, ZoneWidth::Three, std::nullopt};
    const DatumFitRun fit = runDatumFit(c.source, c.target, fs);
    ASSERT_TRUE(fit.ok);
    EXPECT_TRUE(fit.notices.isEmpty());
    EXPECT_TRUE(fit.output.contains(QStringLiteral("参数行：") + fit.parameterLine));
    EXPECT_TRUE(fit.output.contains(QStringLiteral("公共点 12 个")));
    // The targets are rounded to 0.1 mm, so the fitted parameters are near, not equal.
    EXPECT_NEAR(fit.parameters.helmert.tx, -15.4, 0.5);
    EXPECT_NEAR(fit.parameters.helmert.rz, 2.5, 0.05);

    DatumApplySettings as;
    as.from = fs.from;
    as.to = fs.to;
    const DatumApplyRun again = runDatumApply(c.source, fit.parameterLine, as);
    const QStringList expected = lines(c.target), got = lines(again.output);
    ASSERT_EQ(got.size(), expected.size());
    for (qsizetype i = 0; i < got.size(); ++i) {
        const QStringList e = expected[i].split(u','), g = got[i].split(u',');
        ASSERT_EQ(g.size(), 4);
        EXPECT_EQ(g[0], e[0]);
        for (int k = 1; k < 4; ++k) EXPECT_NEAR(g[k].toDouble(), e[k].toDouble(), 2e-4) << k;
    }
}

TEST(DatumFitText, MarksTheOutlierOnly) {
    CommonTexts c = commonPoints(10, 2);
    QStringList target = lines(c.target);
    QStringList f = target[4].split(u',');
    f[1] = fixedText(f[1].toDouble() + 0.5, 4);  // P5 half a metre north
    target[4] = f.join(u',');
    // A little noise everywhere, so that the RMS is not 0.
    std::mt19937_64 rng(4);
    std::normal_distribution<double> noise(0, 0.005);
    for (QString& line : target) {
        QStringList g = line.split(u',');
        for (int k = 1; k < 4; ++k) g[k] = fixedText(g[k].toDouble() + noise(rng), 4);
        line = g.join(u',');
    }
    DatumFitSettings fs;
    fs.from = {Datum::Wgs84, std::nullopt, std::nullopt};
    fs.to = {Datum::Beijing1954, ZoneWidth::Three, std::nullopt};
    const DatumFitRun fit = runDatumFit(c.source, target.join(QStringLiteral("\r\n")), fs);
    ASSERT_TRUE(fit.ok);
    QStringList marked;
    for (const QString& line : lines(fit.output))
        if (line.endsWith(u'*')) marked << line.section(u' ', 0, 0);
    // The seven parameters take up part of the error, but the disturbed point stands out.
    EXPECT_EQ(marked, QStringList{QStringLiteral("P5")}) << fit.output.toStdString();
}

TEST(DatumFitText, PairsByNameAndReportsTheRest) {
    const QString source = QStringLiteral(
        "A,39.30,116.20,10\r\n"
        "B,39.40,116.30,20\r\n"
        "A,39.35,116.25,10\r\n"    // repeated name
        "C,39.45,116.10\r\n"       // no height: 0
        "D,abc,116.10,5\r\n"       // not a number
        "E,39.10\r\n"              // too few fields
        "F,39.20,116.40,30\r\n");  // no partner
    const QString target =
        QStringLiteral("C,39.45,116.10,0\r\nB,39.40,116.30,20\r\nA,39.30,116.20,10\r\n");
    DatumFitSettings fs;
    fs.from = {Datum::Wgs84, std::nullopt, std::nullopt};
    fs.to = {Datum::Cgcs2000, std::nullopt, std::nullopt};
    const DatumFitRun fit = runDatumFit(source, target, fs);
    ASSERT_TRUE(fit.ok);
    EXPECT_TRUE(fit.output.contains(QStringLiteral("公共点 3 个")));
    ASSERT_EQ(fit.notices.size(), 1);
    const QString n = fit.notices[0].text;
    for (const char16_t* part : {u"第 3 行：点号 A 重复", u"第 5 行：X、Y 或 H 不是数",
                                 u"第 6 行：应写 点号", u"点 F 只在原坐标系中"})
        EXPECT_TRUE(n.contains(QString::fromUtf16(part))) << n.toStdString();
}

TEST(DatumFitText, RefusesWhatCannotBeFitted) {
    DatumFitSettings fs;
    fs.from = {Datum::Wgs84, std::nullopt, std::nullopt};
    fs.to = {Datum::Beijing1954, std::nullopt, std::nullopt};
    const QString two = QStringLiteral("A,39.3,116.2,10\r\nB,39.4,116.3,20\r\n");
    const struct {
        DatumModel model;
        bool grids;
        const char16_t* message;
    } cases[] = {
        {DatumModel::Seven, false, u"至少要 3 个公共点"},
        {DatumModel::Four, false, u"两边都应选公里网"},
    };
    for (const auto& c : cases) {
        fs.model = c.model;
        const DatumFitRun fit = runDatumFit(two, two, fs);
        EXPECT_FALSE(fit.ok);
        EXPECT_TRUE(fit.output.isEmpty());
        EXPECT_TRUE(fit.parameterLine.isEmpty());
        ASSERT_FALSE(fit.notices.isEmpty());
        EXPECT_TRUE(fit.notices.last().text.contains(QString::fromUtf16(c.message)))
            << fit.notices.last().text.toStdString();
    }
    // Three points in a line (on the parallel, equal heights, in a line in space too only
    // when coincident): coincident points.
    fs.model = DatumModel::Seven;
    const QString same =
        QStringLiteral("A,39.3,116.2,10\r\nB,39.3,116.2,10\r\nC,39.3,116.2,10\r\n");
    const DatumFitRun fit = runDatumFit(same, same, fs);
    EXPECT_FALSE(fit.ok);
    ASSERT_FALSE(fit.notices.isEmpty());
    EXPECT_TRUE(fit.notices.last().text.contains(QStringLiteral("重合或在一条直线上")));
}

TEST(DatumFitText, FourParametersKeepTheZonePrefix) {
    // A plane similarity between two grids of zone 39; the output keeps the prefix.
    const QString source = QStringLiteral(
        "K1,3300000.000,39500000.000,10\r\nK2,3301000.000,39502000.000,12\r\n"
        "K3,3299000.000,39501000.000,11\r\nK4,3302000.000,39499000.000,13\r\n");
    const QString params = QStringLiteral("4 dx=-100.5 dy=50.25 r=2 s=5");
    DatumApplySettings as;
    as.from = {Datum::Beijing1954, ZoneWidth::Three, std::nullopt};
    as.to = {Datum::Xian1980, ZoneWidth::Three, std::nullopt};
    const DatumApplyRun moved = runDatumApply(source, params, as);
    ASSERT_TRUE(moved.ok);
    for (const QString& line : lines(moved.output)) {
        const double y = line.section(u',', 2, 2).toDouble();
        EXPECT_TRUE(y > 39499000 && y < 39503000) << line.toStdString();
    }
    DatumFitSettings fs;
    fs.from = as.from;
    fs.to = as.to;
    fs.model = DatumModel::Four;
    const DatumFitRun fit = runDatumFit(source, moved.output, fs);
    ASSERT_TRUE(fit.ok);
    // The moved points are rounded to 0.1 mm over 3 km: the rotation is known to some
    // 0.005", which the shifts, taken at the grid origin 3300 km away, take up.
    EXPECT_NEAR(fit.parameters.plane.rotation, 2, 0.005);
    EXPECT_NEAR(fit.parameters.plane.scalePpm, 5, 0.05);
    EXPECT_NEAR(fit.parameters.plane.dx, -100.5, 0.1);
    EXPECT_NEAR(fit.parameters.plane.dy, 50.25, 0.1);
    // And back with the inverse.
    DatumApplySettings back;
    back.from = as.to;
    back.to = as.from;
    back.inverse = true;
    const DatumApplyRun home = runDatumApply(moved.output, params, back);
    EXPECT_EQ(
        lines(home.output),
        lines(QStringLiteral(
            "K1,3300000.0000,39500000.0000,10.0000\r\nK2,3301000.0000,39502000.0000,12.0000\r\n"
            "K3,3299000.0000,39501000.0000,11.0000\r\nK4,3302000.0000,39499000.0000,13.0000\r\n")));
}

TEST(DatumApplyText, InverseBringsPointsBackAndFaultsStayOnTheirLine) {
    const QString points = QStringLiteral(
        "Q1,31.1234567,121.2812345,15\r\n"
        "Q2,-33.5,151.2,10\r\n"  // southern: not in the grid chain
        "Q3,30.5901234,114.1823456,25\r\n");
    DatumApplySettings there;
    there.from = {Datum::Cgcs2000, std::nullopt, std::nullopt};
    there.to = {Datum::Xian1980, ZoneWidth::Six, std::nullopt};
    const DatumApplyRun a = runDatumApply(points, kSeven, there);
    ASSERT_TRUE(a.ok);
    const QStringList out = lines(a.output);
    ASSERT_EQ(out.size(), 3);
    EXPECT_EQ(out[1], QStringLiteral("Q2,") + pointFaultText(PointFault::Hemisphere));
    DatumApplySettings back;
    back.from = there.to;
    back.to = there.from;
    back.inverse = true;
    const DatumApplyRun b = runDatumApply(out[0] + QStringLiteral("\r\n") + out[2], kSeven, back);
    // Back within the grid text's rounding (0.05 mm): 3e-6" in the seconds.
    const QStringList home = lines(b.output);
    ASSERT_EQ(home.size(), 2);
    const double expected[2][3] = {{31.1234567, 121.2812345, 15}, {30.5901234, 114.1823456, 25}};
    for (int i = 0; i < 2; ++i) {
        const QStringList f = home[i].split(u',');
        ASSERT_EQ(f.size(), 4);
        EXPECT_NEAR(f[1].toDouble(), expected[i][0], 3e-10) << home[i].toStdString();
        EXPECT_NEAR(f[2].toDouble(), expected[i][1], 3e-10) << home[i].toStdString();
        EXPECT_NEAR(f[3].toDouble(), expected[i][2], 1e-4) << home[i].toStdString();
    }
}

TEST(DatumApplyText, BadParameterLineOrNoPoints) {
    DatumApplySettings s;
    s.from = {Datum::Wgs84, std::nullopt, std::nullopt};
    s.to = {Datum::Beijing1954, std::nullopt, std::nullopt};
    const DatumApplyRun bad =
        runDatumApply(QStringLiteral("A,30,110,0"), QStringLiteral("9 tx=1"), s);
    EXPECT_FALSE(bad.ok);
    ASSERT_EQ(bad.notices.size(), 1);
    EXPECT_TRUE(bad.notices[0].text.startsWith(QStringLiteral("参数行有错误")));
    const DatumApplyRun none = runDatumApply(QStringLiteral("\r\n \r\n"), kSeven, s);
    EXPECT_FALSE(none.ok);
    EXPECT_EQ(none.notices.last().text, QStringLiteral("没有发现坐标数据！"));
}

TEST(CommonPointText, SplitsAtTheFirstLineOfEqualSigns) {
    QString a, b;
    EXPECT_TRUE(splitCommonPoints(QStringLiteral("A,1,2\n B,3,4\n ==== \nA,5,6\n==\nX"), a, b));
    EXPECT_EQ(a, QStringLiteral("A,1,2\n B,3,4\n"));
    EXPECT_EQ(b, QStringLiteral("\nA,5,6\n==\nX"));
    EXPECT_FALSE(splitCommonPoints(QStringLiteral("A,1,2\nA=3\n"), a, b));
}

}  // namespace
}  // namespace hc
