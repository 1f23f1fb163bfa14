#include "survey/zones.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/number.h"
#include "tests/survey/print_qstring.h"
#include "ui/services.h"

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
        const QString code = QString::fromLatin1(w.code);
        double a = kLat;
        double b = kLon;
        EXPECT_EQ(ZelZhengSuan3(a, b, 117, code), QString()) << w.code;
        EXPECT_EQ(a, w.x) << w.code;
        EXPECT_EQ(b, w.y3) << w.code;

        // On 117 the 6-degree zone 20 has the same central meridian.
        a = kLat;
        b = kLon;
        EXPECT_EQ(ZelZhengSuan6(a, b, 117, code), QString());
        EXPECT_EQ(a, w.x);
        EXPECT_EQ(b, w.y6);

        // 1.5-degree zone 77 on 117: 0.838 degrees away, a cross-zone remark.
        a = kLat;
        b = kLon;
        EXPECT_EQ(ZelZhengSuan15(a, b, 117, code), QStringLiteral("……跨带 117度"));
        EXPECT_EQ(a, w.x);
        EXPECT_EQ(b, w.y15);
    }
}

TEST(ZoneConversions, WorkedValuesInverse) {
    for (const Worked& w : kWorked) {
        const QString code = QString::fromLatin1(w.code);
        double x = w.x;
        double y = w.y3;
        EXPECT_EQ(ZelFanSuan3(x, y, code), QString());
        EXPECT_EQ(x, 39.4125536) << w.code;
        EXPECT_EQ(y, 117.5017873) << w.code;

        x = w.x;
        y = w.y6;
        EXPECT_EQ(ZelFanSuan6(x, y, code), QString());
        EXPECT_EQ(x, 39.4125536);
        EXPECT_EQ(y, 117.5017873);

        x = w.x;
        y = w.y15;
        EXPECT_EQ(ZelFanSuan15(x, y, code), QString());
        EXPECT_EQ(x, 39.4125536);
        EXPECT_EQ(y, 117.5017873);
    }
}

TEST(ZoneConversions, ZoneChoiceAndRemarks) {
    const Ellipsoid& bj = beijing1954();
    double a = kLat, b = kLon;
    // The setting 118.5 is within 4 degrees: the 6-degree point stays in zone 20.
    EXPECT_EQ(ZelZhengSuan6(a, b, 118.5, bj), QStringLiteral("⊕⊕中央 117度"));
    EXPECT_EQ(std::trunc(b / 1e6), 20);

    // 121 degrees is 4 away from 117: its own 3-degree zone 40.
    a = 39;
    b = 121;
    EXPECT_EQ(ZelZhengSuan3(a, b, 117, bj), QStringLiteral("⊕⊕中央 120度"));
    EXPECT_EQ(std::trunc(b / 1e6), 40);

    // A 6-degree boundary belongs to the eastern zone.
    a = 30;
    b = 120;
    EXPECT_EQ(ZelZhengSuan6(a, b, 93, bj), QStringLiteral("⊕⊕中央 123度"));
    EXPECT_EQ(std::trunc(b / 1e6), 21);
    EXPECT_LT(b, 21500000);

    // Computed on the setting although farther than half a zone: cross-zone remark.
    a = 30;
    b = 120.3;  // 120.5 degrees
    EXPECT_EQ(ZelZhengSuan6(a, b, 117, bj), QStringLiteral("……跨带 117度"));
    EXPECT_EQ(std::trunc(b / 1e6), 20);

    // A 1.5-degree setting on 118.5 is zone 78.
    a = 30;
    b = 118.3;
    EXPECT_EQ(ZelZhengSuan15(a, b, 118.5, bj), QString());
    EXPECT_EQ(b, 78500000);
}

TEST(ZoneConversions, ForwardRangeMessagesClearTheSlots) {
    struct Case {
        double lat;
        double lon;
    };
    const Case bad[] = {{90.0001, 117}, {-91, 117}, {39, 180.0001}, {39, -181}, {NAN, 117}};
    for (const Case& c : bad) {
        double a = c.lat, b = c.lon;
        EXPECT_EQ(ZelZhengSuan6(a, b, 117, QStringLiteral("BJ")),
                  QStringLiteral("错误溢出?原始经纬度数值超出常规范围 |x|<=90 |y|<=180"));
        EXPECT_EQ(a, 0);
        EXPECT_EQ(b, 0);
        a = c.lat, b = c.lon;
        EXPECT_EQ(ZelZhengSuan3(a, b, 117, QStringLiteral("BJ")),
                  QStringLiteral("错误溢出?原始角度数值超出常规范围 |x|<=90 |y|<=180"));
        a = c.lat, b = c.lon;
        EXPECT_EQ(ZelZhengSuan15(a, b, 117, QStringLiteral("BJ")),
                  QStringLiteral("错误溢出?原始角度数值超出常规范围 |x|<=90 |y|<=180"));
        EXPECT_EQ(a, 0);
        EXPECT_EQ(b, 0);
    }
    // The limits themselves are inside.
    double a = 90, b = 180;
    EXPECT_FALSE(ZelZhengSuan3(a, b, 117, QStringLiteral("BJ")).startsWith(u"错误"));
    a = -90, b = -180;
    EXPECT_FALSE(ZelZhengSuan6(a, b, 117, QStringLiteral("BJ")).startsWith(u"错误"));
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
    for (const Case& c : cases) {
        double x = c.x, y = c.y;
        const QString remark = c.zone == 6   ? ZelFanSuan6(x, y, QStringLiteral("BJ"))
                               : c.zone == 3 ? ZelFanSuan3(x, y, QStringLiteral("BJ"))
                                             : ZelFanSuan15(x, y, QStringLiteral("BJ"));
        EXPECT_EQ(remark, QString::fromUtf8(c.message)) << c.zone << " " << c.x << " " << c.y;
        if (c.cleared) {
            EXPECT_EQ(x, 0);
            EXPECT_EQ(y, 0);
        }
    }
    // Accepted just inside the limits.
    double x = 4e6, y = 1001000;
    EXPECT_EQ(ZelFanSuan6(x, y, QStringLiteral("BJ")), QString());
    x = 4e6, y = 119999000;
    EXPECT_EQ(ZelFanSuan15(x, y, QStringLiteral("BJ")), QString());
    x = -10002200, y = 39.5e6;
    EXPECT_EQ(ZelFanSuan3(x, y, QStringLiteral("BJ")), QString());
}

TEST(ZoneConversions, InverseZoneOfTheEasting) {
    double x = 4395570.26, y = 39571909.407;
    ZelFanSuan3(x, y, beijing1954());
    EXPECT_GT(y, 117.3);
    EXPECT_LT(y, 118.3);

    x = 4e6, y = 20500000;
    EXPECT_EQ(ZelFanSuan6(x, y, beijing1954()), QString());
    EXPECT_EQ(y, 117);

    // Negative 1.5-degree zone -20 is centred on -28.5; +100 km is east of it.
    x = 3e6, y = -20400000;
    EXPECT_EQ(ZelFanSuan15(x, y, beijing1954()), QString());
    EXPECT_GT(y, -28.3);
    EXPECT_LT(y, -27.0);

    // On the equator no angle conversion: latitude exactly 0.
    x = 0, y = 39600000;
    EXPECT_EQ(ZelFanSuan3(x, y, beijing1954()), QString());
    EXPECT_EQ(x, 0);
    EXPECT_GT(y, 117.5);

    // Zone 61 would be centred on 183 degrees, but its eastings are already too large;
    // in 1.5-degree zones 119 gives 180, which is allowed.
    x = 1e6, y = 119.4e6;
    EXPECT_EQ(ZelFanSuan15(x, y, beijing1954()), QString());
}

TEST(ZoneConversions, NegativeLongitudesSurviveForwardAndInverse) {
    struct Zone {
        QString (*forward)(double&, double&, double, const Ellipsoid&);
        QString (*inverse)(double&, double&, const Ellipsoid&);
    };
    const Zone zones[] = {{&ZelZhengSuan6, &ZelFanSuan6},
                          {&ZelZhengSuan3, &ZelFanSuan3},
                          {&ZelZhengSuan15, &ZelFanSuan15}};
    const double lons[] = {-117.5017873, -0.3, -77.0412345, -179.3, -45.0001};
    const double lats[] = {39.4125536, -33.5512, 0.0001, -0.1234567};
    for (const Zone& z : zones) {
        for (double lon : lons) {
            for (double lat : lats) {
                double a = lat, b = lon;
                // Each point in its own zone: a setting far away.
                const QString f = z.forward(a, b, ZelDuFenMiaoZhuanBaiFenDu(lon), beijing1954());
                EXPECT_FALSE(f.startsWith(u"错误")) << f.toStdString();
                EXPECT_EQ(z.inverse(a, b, beijing1954()), QString()) << lat << " " << lon;
                EXPECT_LE(std::fabs(a - lat) * 1e8, 1.000001) << lat << " " << lon;
                EXPECT_LE(std::fabs(b - lon) * 1e8, 1.000001) << lat << " " << lon;
            }
        }
    }
}

// Forward then inverse over a grid of points across each zone returns the packed
// angles within one unit of their eighth decimal.
TEST(ZoneConversions, RoundTripAcrossEachZone) {
    struct Zone {
        QString (*forward)(double&, double&, double, const Ellipsoid&);
        QString (*inverse)(double&, double&, const Ellipsoid&);
        double width;
        double meridian;
    };
    const Zone zones[] = {
        {&ZelZhengSuan6, &ZelFanSuan6, 6, 117},       {&ZelZhengSuan6, &ZelFanSuan6, 6, -75},
        {&ZelZhengSuan3, &ZelFanSuan3, 3, 120},       {&ZelZhengSuan3, &ZelFanSuan3, 3, -3},
        {&ZelZhengSuan15, &ZelFanSuan15, 1.5, 118.5}, {&ZelZhengSuan15, &ZelFanSuan15, 1.5, -28.5},
        {&ZelZhengSuan15, &ZelFanSuan15, 1.5, 0}};
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
                    double a = lat, b = lon;
                    z.forward(a, b, z.meridian, *e);
                    ASSERT_EQ(z.inverse(a, b, *e), QString()) << lat << " " << lon;
                    // Differences in units of the eighth decimal.
                    const double da = std::fabs(a - lat) * 1e8;
                    const double db = std::fabs(b - lon) * 1e8;
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
    // A NaN easting passes the range tests (comparisons with NaN are false).
    double x = 4e6, y = NAN;
    EXPECT_EQ(ZelFanSuan3(x, y, beijing1954()), QStringLiteral("错误溢出?坐标转换运算时超出范围"));
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    double a = 39, b = 117;
    EXPECT_EQ(ZelZhengSuan3(a, b, NAN, beijing1954()),
              QStringLiteral("错误溢出?坐标转换运算时超出范围"));
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 0);
}

TEST(ZoneConversions, WesternSignInFrontOfANegativeLongitudeIsAFailure) {
    // -400 km in 3-degree zone 0 reads as the mirror of 400 km, west of 0 degrees:
    // with the "-" put back the longitude text would carry two signs.
    double x = 4e6, y = -400000;
    EXPECT_EQ(ZelFanSuan3(x, y, beijing1954()), QStringLiteral("错误溢出?坐标转换运算时超出范围"));
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    // Without the sign the same magnitude converts.
    x = 4e6, y = 400000;
    EXPECT_EQ(ZelFanSuan3(x, y, beijing1954()), QString());
    EXPECT_LT(y, 0);
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
    EXPECT_EQ(calcState().errorCount, 0);
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
