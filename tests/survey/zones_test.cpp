#include "survey/zones.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/number.h"
#include "tests/survey/print_qstring.h"

namespace hc {
namespace {

const double kLat = 39.4125536;
const double kLon = 117.5017873;

struct Worked {
    const char* code;
    double x;
    double y3;   // 3-degree easting, zone 39
    double y6;   // 6-degree zone 20
    double y15;  // 1.5-degree zone 77
};
const Worked kWorked[] = {{"XA", 4395494.607, 39571908.236, 20571908.236, 77571908.236},
                          {"BJ", 4395570.260, 39571909.407, 20571909.407, 77571909.407}};

TEST(ZoneConversions, WorkedValuesForwardInEveryZoneSystem) {
    for (const Worked& w : kWorked) {
        const Ellipsoid& e = ZelTuoQiuCanShu(QString::fromLatin1(w.code));
        GridPoint g = ZelZhengSuan3(kLat, kLon, 117, e);
        EXPECT_EQ(g.remark, QString()) << w.code;
        EXPECT_EQ(g.x, w.x) << w.code;
        EXPECT_EQ(g.y, w.y3) << w.code;

        // On 117 the 6-degree zone 20 has the same central meridian.
        g = ZelZhengSuan6(kLat, kLon, 117, e);
        EXPECT_EQ(g.remark, QString());
        EXPECT_EQ(g.x, w.x);
        EXPECT_EQ(g.y, w.y6);

        // 1.5-degree zone 77 on 117: 0.838 degrees away, a cross-zone remark.
        g = ZelZhengSuan15(kLat, kLon, 117, e);
        EXPECT_EQ(g.remark, QStringLiteral("……跨带 117度"));
        EXPECT_EQ(g.x, w.x);
        EXPECT_EQ(g.y, w.y15);
    }
}

TEST(ZoneConversions, WorkedValuesInverse) {
    for (const Worked& w : kWorked) {
        const Ellipsoid& e = ZelTuoQiuCanShu(QString::fromLatin1(w.code));
        for (const GeoPoint& g :
             {ZelFanSuan3(w.x, w.y3, e), ZelFanSuan6(w.x, w.y6, e), ZelFanSuan15(w.x, w.y15, e)}) {
            EXPECT_EQ(g.remark, QString()) << w.code;
            EXPECT_EQ(g.lat, 39.4125536) << w.code;
            EXPECT_EQ(g.lon, 117.5017873) << w.code;
        }
    }
}

TEST(ZoneConversions, ZoneChoiceAndRemarks) {
    const Ellipsoid& bj = beijing1954();
    // The setting 118.5 is within 4 degrees: the 6-degree point stays in zone 20.
    GridPoint g = ZelZhengSuan6(kLat, kLon, 118.5, bj);
    EXPECT_EQ(g.remark, QStringLiteral("⊕⊕中央 117度"));
    EXPECT_EQ(std::trunc(g.y / 1e6), 20);

    // 121 degrees is 4 away from 117: its own 3-degree zone 40.
    g = ZelZhengSuan3(39, 121, 117, bj);
    EXPECT_EQ(g.remark, QStringLiteral("⊕⊕中央 120度"));
    EXPECT_EQ(std::trunc(g.y / 1e6), 40);

    // A 6-degree boundary belongs to the eastern zone.
    g = ZelZhengSuan6(30, 120, 93, bj);
    EXPECT_EQ(g.remark, QStringLiteral("⊕⊕中央 123度"));
    EXPECT_EQ(std::trunc(g.y / 1e6), 21);
    EXPECT_LT(g.y, 21500000);

    // Computed on the setting although farther than half a zone: cross-zone remark.
    g = ZelZhengSuan6(30, 120.3, 117, bj);  // 120.5 degrees
    EXPECT_EQ(g.remark, QStringLiteral("……跨带 117度"));
    EXPECT_EQ(std::trunc(g.y / 1e6), 20);

    // A 1.5-degree setting on 118.5 is zone 78.
    g = ZelZhengSuan15(30, 118.3, 118.5, bj);
    EXPECT_EQ(g.remark, QString());
    EXPECT_EQ(g.y, 78500000);
}

TEST(ZoneConversions, ForwardRangeMessagesClearThePoint) {
    struct Case {
        double lat;
        double lon;
    };
    const Case bad[] = {{90.0001, 117}, {-91, 117}, {39, 180.0001}, {39, -181}, {NAN, 117}};
    const Ellipsoid& bj = beijing1954();
    for (const Case& c : bad) {
        const QString six = QStringLiteral("错误溢出?原始经纬度数值超出常规范围 |x|<=90 |y|<=180");
        const QString other = QStringLiteral("错误溢出?原始角度数值超出常规范围 |x|<=90 |y|<=180");
        for (const GridPoint& g :
             {ZelZhengSuan6(c.lat, c.lon, 117, bj), ZelZhengSuan3(c.lat, c.lon, 117, bj),
              ZelZhengSuan15(c.lat, c.lon, 117, bj)}) {
            EXPECT_TRUE(g.remark == six || g.remark == other) << g.remark.toStdString();
            EXPECT_EQ(g.x, 0);
            EXPECT_EQ(g.y, 0);
        }
        EXPECT_EQ(ZelZhengSuan6(c.lat, c.lon, 117, bj).remark, six);
        EXPECT_EQ(ZelZhengSuan15(c.lat, c.lon, 117, bj).remark, other);
    }
    // The limits themselves are inside, but for the 6 degree zones at 180 degrees: the
    // boundary belongs to the eastern zone, whose number 31 no easting can carry.
    EXPECT_FALSE(ZelZhengSuan3(90, 180, 117, bj).remark.startsWith(u"错误"));
    EXPECT_FALSE(ZelZhengSuan3(-90, -180, 117, bj).remark.startsWith(u"错误"));
    EXPECT_FALSE(ZelZhengSuan6(-90, -179.5959, 117, bj).remark.startsWith(u"错误"));
    const GridPoint g = ZelZhengSuan6(-90, -180, 117, bj);
    EXPECT_EQ(g.remark, eastingOutsideZoneMessage());
    EXPECT_EQ(g.x, 0);
    EXPECT_EQ(g.y, 0);
}

TEST(ZoneConversions, InverseRangeMessages) {
    struct Case {
        int zone;  // 6, 3 or 15
        double x;
        double y;
        const char* message;
        bool cleared;
    };
    const Case cases[] = {
        {3, 0, 0, "错误?原始三度带坐标 0 0 超出常规范围!", false},
        {3, 4e6, 999.9, "错误?原始三度带坐标|Y|<00001000 超出常规范围!", true},
        {3, 4e6, 60999000.5, "错误?原始三度带坐标|Y|>60999000 超出常规范围!", true},
        {3, 4e6, -61e6, "错误?原始三度带坐标|Y|>60999000 超出常规范围!", true},
        {3, 10002200.1, 39.5e6, "错误?原始三度带坐标|X|>10002200 超出常规范围!", true},
        {6, 0, 0, "错误?原始六度带坐标 0 0 超出常规范围!", false},
        {6, 4e6, 1000999, "错误?原始六度带坐标|Y|<01001000 超出常规范围!", true},
        {6, 4e6, -1000999, "错误?原始六度带坐标|Y|<01001000 超出常规范围!", true},
        {6, 4e6, 30999001, "错误?原始六度带坐标|Y|>30999000 超出常规范围!", true},
        {6, -10002201, 20.5e6, "错误?原始六度带坐标|X|>10002200 超出常规范围!", true},
        {15, 0, 0, "错误?原始1.5度带坐标 0 0 超出常规范围!", false},
        {15, 4e6, -500, "错误?原始1.5度带坐标|Y|<00001000 超出常规范围!", true},
        {15, 4e6, 119999001, "错误?原始1.5度带坐标 -121999000<Y<119999000 超出常规范围!", true},
        {15, 4e6, -121999001, "错误?原始1.5度带坐标 -121999000<Y<119999000 超出常规范围!", true},
        {15, 1e7 + 2201, 77.5e6, "错误?原始1.5度带坐标|X|>10002200 超出常规范围!", true},
    };
    const Ellipsoid& bj = beijing1954();
    for (const Case& c : cases) {
        const GeoPoint g = c.zone == 6   ? ZelFanSuan6(c.x, c.y, bj)
                           : c.zone == 3 ? ZelFanSuan3(c.x, c.y, bj)
                                         : ZelFanSuan15(c.x, c.y, bj);
        EXPECT_EQ(g.remark, QString::fromUtf8(c.message)) << c.zone << " " << c.x << " " << c.y;
        if (c.cleared) {
            EXPECT_EQ(g.lat, 0);
            EXPECT_EQ(g.lon, 0);
        }
    }
    // Accepted just inside the limits.
    EXPECT_EQ(ZelFanSuan6(4e6, 1001000, bj).remark, QString());
    EXPECT_EQ(ZelFanSuan15(4e6, 119999000, bj).remark, QString());
    // -10002200 itself lies beyond the pole (inverse_range_test.cpp).
    EXPECT_EQ(ZelFanSuan3(-10002137, 39.5e6, bj).remark, QString());
}

TEST(ZoneConversions, InverseZoneOfTheEasting) {
    const Ellipsoid& bj = beijing1954();
    GeoPoint g = ZelFanSuan3(4395570.26, 39571909.407, bj);
    EXPECT_GT(g.lon, 117.3);
    EXPECT_LT(g.lon, 118.3);

    g = ZelFanSuan6(4e6, 20500000, bj);
    EXPECT_EQ(g.remark, QString());
    EXPECT_EQ(g.lon, 117);

    // Negative 1.5-degree zone -20 is centred on -28.5; +100 km is east of it.
    g = ZelFanSuan15(3e6, -20400000, bj);
    EXPECT_EQ(g.remark, QString());
    EXPECT_GT(g.lon, -28.3);
    EXPECT_LT(g.lon, -27.0);

    // On the equator no angle conversion: latitude exactly 0.
    g = ZelFanSuan3(0, 39600000, bj);
    EXPECT_EQ(g.remark, QString());
    EXPECT_EQ(g.lat, 0);
    EXPECT_GT(g.lon, 117.5);

    // Zone 61 would be centred on 183 degrees, but its eastings are already too large;
    // in 1.5-degree zones 119 gives 180, which is allowed.
    EXPECT_EQ(ZelFanSuan15(1e6, 119.4e6, bj).remark, QString());
}

TEST(ZoneConversions, NegativeLongitudesSurviveForwardAndInverse) {
    const double lons[] = {-117.5017873, -0.3, -77.0412345, -179.3, -45.0001};
    const double lats[] = {39.4125536, -33.5512, 0.0001, -0.1234567};
    for (ZoneWidth w : {ZoneWidth::Six, ZoneWidth::Three, ZoneWidth::OneAndHalf}) {
        for (double lon : lons) {
            for (double lat : lats) {
                // Each point in its own zone: a setting far away.
                const GridPoint f =
                    toGrid(w, lat, lon, ZelDuFenMiaoZhuanBaiFenDu(lon), beijing1954());
                EXPECT_FALSE(f.remark.startsWith(u"错误")) << f.remark.toStdString();
                const GeoPoint g = toGeographic(w, f.x, f.y, beijing1954());
                EXPECT_EQ(g.remark, QString()) << lat << " " << lon;
                EXPECT_LE(std::fabs(g.lat - lat) * 1e8, 1.000001) << lat << " " << lon;
                EXPECT_LE(std::fabs(g.lon - lon) * 1e8, 1.000001) << lat << " " << lon;
            }
        }
    }
}

// Forward then inverse over a grid of points across each zone returns the packed
// angles within one unit of their eighth decimal.
TEST(ZoneConversions, RoundTripAcrossEachZone) {
    struct Zone {
        ZoneWidth zone;
        double width;
        double meridian;
    };
    const Zone zones[] = {{ZoneWidth::Six, 6, 117},
                          {ZoneWidth::Six, 6, -75},
                          {ZoneWidth::Three, 3, 120},
                          {ZoneWidth::Three, 3, -3},
                          {ZoneWidth::OneAndHalf, 1.5, 118.5},
                          {ZoneWidth::OneAndHalf, 1.5, -28.5},
                          {ZoneWidth::OneAndHalf, 1.5, 0}};
    double worst = 0;
    int points = 0;
    for (const Ellipsoid* e : {&beijing1954(), &xian1980(), &wgs84()}) {
        for (const Zone& z : zones) {
            for (int i = -8; i <= 8; ++i) {
                const double latDeg = i * 9.9 + 0.1234;  // -79 ... 79
                for (int j = 0; j <= 10; ++j) {
                    // West edge to just before the east edge of the zone.
                    const double lonDeg = z.meridian - z.width / 2 + z.width * j / 10.0 * 0.999;
                    const double lat = ZelSheRuXiaoShu(ZelBaiFenDuZhuanDuFenMiao(latDeg), 8);
                    const double lon = ZelSheRuXiaoShu(ZelBaiFenDuZhuanDuFenMiao(lonDeg), 8);
                    const GridPoint f = toGrid(z.zone, lat, lon, z.meridian, *e);
                    const GeoPoint g = toGeographic(z.zone, f.x, f.y, *e);
                    ASSERT_EQ(g.remark, QString()) << lat << " " << lon;
                    // Differences in units of the eighth decimal (0.0001 seconds), taken
                    // on the angles: 113.59599999 and 114 are a unit apart.
                    const double da = std::fabs(ZelDuFenMiaoZhuanBaiFenDu(g.lat) -
                                                ZelDuFenMiaoZhuanBaiFenDu(lat)) *
                                      3600e4;
                    const double db = std::fabs(ZelDuFenMiaoZhuanBaiFenDu(g.lon) -
                                                ZelDuFenMiaoZhuanBaiFenDu(lon)) *
                                      3600e4;
                    worst = std::max({worst, da, db});
                    EXPECT_LE(da, 1.000001) << z.width << ": " << lat << " " << lon;
                    EXPECT_LE(db, 1.000001) << z.width << ": " << lat << " " << lon;
                    ++points;
                }
            }
        }
    }
    EXPECT_EQ(points, 3 * 7 * 17 * 11);
    RecordProperty("worst_units", std::to_string(worst));
}

TEST(ZoneConversions, FloatingFailureIsReportedAndClears) {
    const QString overflow = QStringLiteral("错误溢出?坐标转换运算时超出范围");
    // A NaN easting passes the range tests (comparisons with NaN are false).
    const GeoPoint g = ZelFanSuan3(4e6, NAN, beijing1954());
    EXPECT_EQ(g.remark, overflow);
    EXPECT_EQ(g.lat, 0);
    EXPECT_EQ(g.lon, 0);
    const GridPoint f = ZelZhengSuan3(39, 117, NAN, beijing1954());
    EXPECT_EQ(f.remark, overflow);
    EXPECT_EQ(f.x, 0);
    EXPECT_EQ(f.y, 0);
}

TEST(ZoneConversions, WesternZonesPointsEastOfGreenwichComeBack) {
    // Setting -1.5 computes 0 20' E in 6 degree zone -1 (3 W), 3 20' east of its meridian;
    // the inverse works on the easting's magnitude, finds 0 20' W of 3 E and puts the
    // sign back. It used to fail on the two signs.
    const GridPoint f = ZelZhengSuan6(-13.1, 0.2, -1.5, beijing1954());
    EXPECT_EQ(f.remark, QStringLiteral("……跨带 -3度"));
    EXPECT_LT(f.y, -1000000);
    EXPECT_GT(f.y, -2000000);
    const GeoPoint g = ZelFanSuan6(f.x, f.y, beijing1954());
    EXPECT_EQ(g.remark, QString());
    EXPECT_NEAR(g.lat, -13.1, 2e-8);
    EXPECT_NEAR(g.lon, 0.2, 2e-8);
    // -400 km in 3 degree zone 0 reads the same way: the mirror of 400 km, 100 km east of
    // 0 degrees.
    const GeoPoint h = ZelFanSuan3(4e6, -400000, beijing1954());
    EXPECT_EQ(h.remark, QString());
    EXPECT_GT(h.lon, 0);
    EXPECT_EQ(h.lon, -ZelFanSuan3(4e6, 400000, beijing1954()).lon);
}

TEST(ZoneConversions, GridParametersApartFromTheEllipsoid) {
    // A false easting of 400 km moves every easting by -100 km and back again.
    const GridParameters shifted{0, 400000, 1};
    const GridPoint usual = toGrid(ZoneWidth::Three, kLat, kLon, 117, xian1980());
    const GridPoint moved = toGrid(ZoneWidth::Three, kLat, kLon, 117, xian1980(), shifted);
    EXPECT_EQ(moved.x, usual.x);
    EXPECT_NEAR(moved.y, usual.y - 100000, 0.0011);
    const GeoPoint back = toGeographic(ZoneWidth::Three, moved.x, moved.y, xian1980(), shifted);
    EXPECT_NEAR(back.lat, kLat, 1.5e-8);
    EXPECT_NEAR(back.lon, kLon, 1.5e-8);
}

TEST(MeridianSetting, ReadsTheLeadingNumber) {
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {{"117度-6", 117}, {"112.5度", 112.5}, {"度", 0},         {"", 0},
                          {"-180度", -180}, {"+3", 3},          {"1.5.5", 1.5},    {"  93度-6", 93},
                          {"-", 0},         {".5x", 0.5},       {"117.7度", 117.7}};
    for (const Case& c : cases) {
        EXPECT_EQ(leadingNumber(QString::fromUtf8(c.text)), c.value) << c.text;
    }
    EXPECT_TRUE(std::isinf(leadingNumber(QString(400, u'9'))));
}

TEST(MeridianSetting, ValidatesRangeAndMultipleOfOneAndAHalf) {
    struct Case {
        const char* text;
        bool valid;
    };
    const Case cases[] = {{"117度-6", true},
                          {"112.5度", true},
                          {"-180度", true},
                          {"180", true},
                          {"0", true},
                          {"度", true},
                          {"117.7度", false},
                          {"181度", false},
                          {"-181.5", false},
                          {"1", false},
                          {"118.5000000001", true},
                          {"118.501", false},
                          {"999999999999999999999999", false}};
    for (const Case& c : cases) {
        const MeridianSetting m = ZelZhongYangJingDu(QString::fromUtf8(c.text));
        EXPECT_EQ(m.valid, c.valid) << c.text;
        if (!m.valid) {
            EXPECT_EQ(m.value, 117) << c.text;
        }
    }
    EXPECT_EQ(ZelZhongYangJingDu(QStringLiteral("-180度")).value, -180);
    EXPECT_EQ(calcLog().errorCount, 0);
}

TEST(MeridianSetting, ZoneNumberLabel) {
    EXPECT_EQ(ZelDuiYingDaiHao(117), QStringLiteral("对应带号: 20 39 77"));
    EXPECT_EQ(ZelDuiYingDaiHao(112.5), QStringLiteral("对应带号: -- -- 74"));
    EXPECT_EQ(ZelDuiYingDaiHao(-117), QStringLiteral("对应带号: -20 -39 -79"));
    EXPECT_EQ(ZelDuiYingDaiHao(120), QStringLiteral("对应带号: -- 40 79"));
    EXPECT_EQ(ZelDuiYingDaiHao(3), QStringLiteral("对应带号: 1 1 1"));
    EXPECT_EQ(ZelDuiYingDaiHao(0), QStringLiteral("对应带号: -- 0 -1"));
    EXPECT_EQ(ZelDuiYingDaiHao(117.7), QStringLiteral("对应带号: -- -- --"));
    EXPECT_EQ(ZelDuiYingDaiHao(1e300), QStringLiteral("对应带号: -- -- --"));
    EXPECT_EQ(defaultZoneLabel(), QStringLiteral("对应带号:20 39 77"));
}

}  // namespace
}  // namespace hc
