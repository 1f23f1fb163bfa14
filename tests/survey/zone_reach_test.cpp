// How far the conversions reach: a forward conversion writes only grid values whose
// zone prefix names the zone of the central meridian it used, and refuses a point too
// far from that meridian; the inverse takes back every point the forward wrote.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "survey/ellipsoid_series.h"
#include "survey/gk_options.h"
#include "survey/zones.h"
#include "tests/survey/print_qstring.h"

namespace hc {
namespace {

constexpr double kPi = 3.14159265358979323846;

bool refused(const QString& remark) { return remark.startsWith(u"错误"); }

// The ground distance (metres) between two packed latitude/longitude pairs, on the
// parallel and the meridian of the first.
double groundDistance(double lat1, double lon1, double lat2, double lon2) {
    const double b1 = ZelDuFenMiaoZhuanBaiFenDu(lat1);
    const double db = ZelDuFenMiaoZhuanBaiFenDu(lat2) - b1;
    const double dl = ZelDuFenMiaoZhuanBaiFenDu(lon2) - ZelDuFenMiaoZhuanBaiFenDu(lon1);
    const double r = 6371000 * kPi / 180;
    return std::hypot(db * r, dl * r * std::cos(b1 * kPi / 180));
}

// A 6 degree setting on a zone boundary, 114: the zone choice computes points up to 4
// degrees from it on 117 (zone 20), up to 7 degrees from 117.
TEST(ZoneReach, ZoneNumberWrittenIsTheZoneOfTheMeridianUsed) {
    const Ellipsoid& bj = beijing1954();
    struct Case {
        double lat;
        double lon;  // packed
        QString remark;
    };
    const Case cases[] = {
        // 6.5 degrees from 117.
        {30, 110.3, farFromMeridianMessage()},
        {60, 110.3, farFromMeridianMessage()},
        // 5.5 degrees: at 30 N some 530 km west of 117, below zone 20's easting 20000000
        // (written as 199xxxxx it read as zone 19).
        {30, 111.3, eastingOutsideZoneMessage()},
        {-30, 111.3, eastingOutsideZoneMessage()},
        // At 60 N the same 5.5 degrees are 307 km: zone 20, across the zone boundary.
        {60, 111.3, QStringLiteral("……跨带 117度")},
        {45, 113, QStringLiteral("……跨带 117度")},
        {30, 116, QStringLiteral("⊕⊕中央 117度")},
    };
    for (const Case& c : cases) {
        const GridPoint g = ZelZhengSuan6(c.lat, c.lon, 114, bj);
        EXPECT_EQ(g.remark, c.remark) << c.lat << " " << c.lon;
        if (refused(c.remark)) {
            EXPECT_EQ(g.x, 0);
            EXPECT_EQ(g.y, 0);
            continue;
        }
        EXPECT_EQ(std::trunc(std::fabs(g.y) / 1000000), 20) << g.y;
        const GeoPoint back = ZelFanSuan6(g.x, g.y, bj);
        EXPECT_EQ(back.remark, QString());
        EXPECT_LT(groundDistance(c.lat, c.lon, back.lat, back.lon), 0.06);
    }
    // The same in the western hemisphere (zone -20, 117 W), and in the 3 degree zones,
    // which never reach that far.
    EXPECT_EQ(ZelZhengSuan6(30, -111.3, -114, bj).remark, eastingOutsideZoneMessage());
    EXPECT_EQ(ZelZhengSuan6(60, -111.3, -114, bj).remark, QStringLiteral("……跨带 -117度"));
    EXPECT_FALSE(refused(ZelZhengSuan3(0, 121.3, 118.5, bj).remark));
}

// With a false easting the easting's 0 ... 999999 m within the zone start elsewhere: a
// point that falls outside them is refused, not written with the neighbour's number.
TEST(ZoneReach, FalseEastingKeepsTheEastingInItsZone) {
    const Ellipsoid& bj = beijing1954();
    const GridPoint plain = toGrid(ZoneWidth::Six, 30, 114.2, 117, bj);
    EXPECT_EQ(plain.remark, QString());
    EXPECT_EQ(std::trunc(plain.y / 1000000), 20);
    // 114.2 packed is 114 20' (2.67 degrees west), about 258 km: below a false easting of
    // 100 km the easting would read as zone 19.
    const GridParameters small{0, 100000, 1};
    const GridPoint g = toGrid(ZoneWidth::Six, 30, 114.2, 117, bj, small);
    EXPECT_EQ(g.remark, eastingOutsideZoneMessage());
    EXPECT_EQ(g.x, 0);
    EXPECT_EQ(g.y, 0);
    // East of the meridian beyond 1000 km - 900 km the same.
    const GridParameters large{0, 900000, 1};
    EXPECT_EQ(toGrid(ZoneWidth::Six, 30, 119.2, 117, bj, large).remark,
              eastingOutsideZoneMessage());
    const GridPoint east = toGrid(ZoneWidth::Six, 30, 117.3, 117, bj, large);
    EXPECT_EQ(east.remark, QString());
    EXPECT_EQ(std::trunc(east.y / 1000000), 20);
    const GeoPoint back = toGeographic(ZoneWidth::Six, east.x, east.y, bj, large);
    EXPECT_EQ(back.remark, QString());
    EXPECT_LT(groundDistance(30, 117.3, back.lat, back.lon), 0.01);
}

// The reported point, 5.98 degrees west of 117 at 52 N: its 6 degree grid values were
// refused as "more than 6 degrees" by the inverse.
TEST(ZoneReach, InverseTakesBackPointsJustWithinSixDegrees) {
    const GeoPoint g = ZelFanSuan6(5780410.155, 20088793.693, beijing1954());
    EXPECT_EQ(g.remark, QString());
    const double lon = ZelDuFenMiaoZhuanBaiFenDu(g.lon);
    EXPECT_GT(lon, 111);
    EXPECT_LT(lon, 111.1);
    // Beyond 6 degrees, by more than the round trip's allowance, stays refused.
    EXPECT_EQ(ZelFanSuan6(5780410.155, 20088793.693 - 2000, beijing1954()).remark,
              QStringLiteral("错误?原始六度带坐标|Y|离中央子午线超过6度经差 超出常规范围!"));
}

// Random points through every zone width, ellipsoid and grid, with settings that reach
// as far as the zone choice goes: whatever the forward writes, the inverse gives back
// within the two series' disagreement (5 cm at 6 degrees).
TEST(ZoneReach, WhateverTheForwardWritesTheInverseTakesBack) {
    std::mt19937_64 rng(23);
    std::uniform_real_distribution<double> latitude(-89.99, 89.99);
    std::uniform_real_distribution<double> offset(-7.5, 7.5);
    std::uniform_int_distribution<int> settingSteps(-120, 120);  // multiples of 1.5
    const Ellipsoid* sets[] = {&beijing1954(), &xian1980(), &wgs84(), &cgcs2000()};
    const ZoneWidth widths[] = {ZoneWidth::Six, ZoneWidth::Three, ZoneWidth::OneAndHalf};
    int written = 0;
    int refusedPoints = 0;
    for (int i = 0; i < 40000; ++i) {
        const Ellipsoid& set = *sets[i % 4];
        const ZoneWidth width = widths[i / 4 % 3];
        const double setting = 1.5 * settingSteps(rng);
        const double lat = ZelSheRuXiaoShu(ZelBaiFenDuZhuanDuFenMiao(latitude(rng)), 8);
        const double lonDeg = std::clamp(setting + offset(rng), -180.0, 180.0);
        const double lon = ZelSheRuXiaoShu(ZelBaiFenDuZhuanDuFenMiao(lonDeg), 8);
        const GridPoint f = toGrid(width, lat, lon, setting, set);
        if (refused(f.remark)) {
            ++refusedPoints;
            continue;
        }
        ++written;
        const GeoPoint g = toGeographic(width, f.x, f.y, set);
        ASSERT_EQ(g.remark, QString())
            << lat << " " << lon << " setting " << setting << " -> " << f.x << " " << f.y;
        ASSERT_LT(groundDistance(lat, lon, g.lat, g.lon), 0.06)
            << lat << " " << lon << " setting " << setting << " -> " << f.x << " " << f.y;
    }
    EXPECT_GT(written, 30000);
    EXPECT_GT(refusedPoints, 300);
}

// The same with the command line's grid options: a local meridian, scale, false origin
// and a projection surface above the ellipsoid.
TEST(ZoneReach, GridOptionsTakeBackWhatTheyWrite) {
    std::mt19937_64 rng(24);
    std::uniform_real_distribution<double> latitude(-89.9, 89.9);
    std::uniform_real_distribution<double> offset(-6.5, 6.5);
    std::uniform_real_distribution<double> falseEasting(0, 999999);
    const Ellipsoid* sets[] = {&beijing1954(), &xian1980(), &wgs84(), &cgcs2000()};
    const ZoneWidth widths[] = {ZoneWidth::Six, ZoneWidth::Three, ZoneWidth::OneAndHalf};
    int written = 0;
    for (int i = 0; i < 12000; ++i) {
        const Ellipsoid& set = *sets[i % 4];
        const ZoneWidth width = widths[i / 4 % 3];
        GkGridOptions o;
        o.localMeridian = i % 2 == 0;
        const double meridian = o.localMeridian ? 117.25 : 117;
        o.grid = {i % 3 == 0 ? 10000000.0 : 0.0, falseEasting(rng), i % 5 == 0 ? 0.9996 : 1};
        o.height = i % 7 == 0 ? 2500 : 0;
        const double lat = ZelSheRuXiaoShu(ZelBaiFenDuZhuanDuFenMiao(latitude(rng)), 8);
        const double lon = ZelSheRuXiaoShu(ZelBaiFenDuZhuanDuFenMiao(meridian + offset(rng)), 8);
        const ConvertedPoint f =
            convertWithOptions(std::nullopt, width, lat, lon, meridian, set, o);
        if (f.rejected) continue;
        ++written;
        const ConvertedPoint g =
            convertWithOptions(width, std::nullopt, f.u, f.v, meridian, set, o);
        ASSERT_FALSE(g.rejected) << g.remark.toStdString() << ": " << lat << " " << lon << " local "
                                 << o.localMeridian << " fe " << o.grid.falseEasting;
        ASSERT_LT(groundDistance(lat, lon, g.u, g.v), 0.06) << lat << " " << lon;
    }
    EXPECT_GT(written, 6000);
}

}  // namespace
}  // namespace hc
