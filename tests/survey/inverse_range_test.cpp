// The grid-to-geographic routines reject a northing beyond the pole and an easting too
// far from the meridian for their series, with zeroed values and a remark.

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "survey/coord_conversion.h"
#include "survey/ellipsoid_series.h"
#include "survey/zones.h"
#include "tests/survey/print_qstring.h"

namespace hc {
namespace {

const QString kBeyondPole3 =
    QStringLiteral("错误?原始三度带坐标|X|超过赤道至极点的子午线弧长 超出常规范围!");
const QString kFarEasting3 =
    QStringLiteral("错误?原始三度带坐标|Y|离中央子午线超过6度经差 超出常规范围!");

TEST(InverseRange, NorthingBeyondThePoleIsRejected) {
    // The quadrants: Beijing 1954 10002137.5 m, WGS-84 10001965.7 m.
    EXPECT_NEAR(meridianQuadrant(beijing1954()), 10002137.5, 0.1);
    EXPECT_NEAR(meridianQuadrant(wgs84()), 10001965.7, 0.1);

    const struct {
        double x;
        const Ellipsoid& set;
        bool accepted;
    } cases[] = {
        {10002200, beijing1954(), false}, {-10002200, beijing1954(), false},
        {10002138, beijing1954(), false}, {10002137, beijing1954(), true},
        {10002000, wgs84(), false},       {10002000, beijing1954(), true},
        {10001965, cgcs2000(), true},     {-10001966, cgcs2000(), false},
    };
    for (const auto& c : cases) {
        const GeoPoint g = ZelFanSuan3(c.x, 39500000, c.set);
        if (c.accepted) {
            EXPECT_EQ(g.remark, QString()) << c.x;
            // Within 140 m (4.5 seconds) of the pole.
            EXPECT_GT(std::abs(g.lat), 89.5955) << c.x;
            EXPECT_LE(std::abs(g.lat), 90) << c.x;
            EXPECT_EQ(g.lon, 117);
        } else {
            EXPECT_EQ(g.remark, kBeyondPole3) << c.x;
            EXPECT_EQ(g.lat, 0);
            EXPECT_EQ(g.lon, 0);
        }
    }
    EXPECT_EQ(ZelFanSuan6(10002150, 20500000, beijing1954()).remark,
              QStringLiteral("错误?原始六度带坐标|X|超过赤道至极点的子午线弧长 超出常规范围!"));
    EXPECT_EQ(ZelFanSuan15(-10002150, 77500000, beijing1954()).remark,
              QStringLiteral("错误?原始1.5度带坐标|X|超过赤道至极点的子午线弧长 超出常规范围!"));
}

TEST(InverseRange, EastingTooFarFromTheMeridianIsRejected) {
    const Ellipsoid& set = beijing1954();
    // At 63 degrees north 6 degrees of longitude are about 304 km.
    GeoPoint g = ZelFanSuan3(7e6, 39500000 + 300000, set);
    EXPECT_EQ(g.remark, QString());
    g = ZelFanSuan3(7e6, 39500000 + 310000, set);
    EXPECT_EQ(g.remark, kFarEasting3);
    EXPECT_EQ(g.lat, 0);
    EXPECT_EQ(g.lon, 0);
    g = ZelFanSuan3(-7e6, -(39500000 + 310000), set);
    EXPECT_EQ(g.remark, kFarEasting3);
    // Near the equator the whole zone of +-500 km stays within 4.5 degrees.
    EXPECT_EQ(ZelFanSuan6(1000, 20999000, set).remark, QString());
    EXPECT_EQ(ZelFanSuan15(1000, -20001000, set).remark, QString());
    // One kilometre from the pole only about 100 m of easting are left.
    const double nearPole = meridianQuadrant(set) - 1000;
    EXPECT_EQ(ZelFanSuan3(nearPole, 39500050, set).remark, QString());
    EXPECT_EQ(ZelFanSuan3(nearPole, 39500200, set).remark, kFarEasting3);
    EXPECT_EQ(ZelFanSuan6(nearPole, 20500200, set).remark,
              QStringLiteral("错误?原始六度带坐标|Y|离中央子午线超过6度经差 超出常规范围!"));
}

// Over random grid values every accepted point is a latitude within 90 degrees and a
// longitude within 6 degrees (plus the series' own excess) of its zone's meridian.
TEST(InverseRange, AcceptedPointsAreSaneEverywhere) {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> north(-10100000, 10100000);
    std::uniform_real_distribution<double> east(-499999, 499999);
    int accepted = 0, rejected = 0;
    for (int i = 0; i < 20000; ++i) {
        const double x = north(rng);
        const double y = 39500000 + east(rng);
        const GeoPoint g = ZelFanSuan3(x, y, wgs84());
        if (!g.remark.isEmpty()) {
            ++rejected;
            EXPECT_EQ(g.lat, 0);
            EXPECT_EQ(g.lon, 0);
            continue;
        }
        ++accepted;
        const double lat = ZelDuFenMiaoZhuanBaiFenDu(g.lat);
        const double lon = ZelDuFenMiaoZhuanBaiFenDu(g.lon);
        ASSERT_LE(std::abs(lat), 90) << x << " " << y;
        ASSERT_LE(std::abs(lon - 117), 6.1) << x << " " << y;
        ASSERT_EQ(std::signbit(lat), std::signbit(x)) << x << " " << y;
    }
    EXPECT_GT(accepted, 10000);
    EXPECT_GT(rejected, 1000);
}

TEST(InverseRange, WindowRowsShowTheRemarkWithZeroedValues) {
    GkControls c;
    c.withNames = false;
    const GkResult r =
        ZelZuoBiaoZhuanHuan(GkConversion::Zone3ToGeo,
                            QStringLiteral("10002200,39500000\r\n7e6,39810000\r\n"), QString(), c);
    EXPECT_EQ(r.output, QStringLiteral("●●●以下坐标为经纬度……度.分秒格式●●●\r\n"
                                       "00.00000000 , 000.00000000 ") +
                            kBeyondPole3 + QStringLiteral("\r\n00.00000000 , 000.00000000 ") +
                            kFarEasting3 + QStringLiteral("\r\n\r\n"));
}

}  // namespace
}  // namespace hc
