// Grid options of the command-line batch: reading the central meridian, the zone
// routines left alone by default options, local grids, the projection surface height
// and the convergence and scale of a point, checked against the zone routines and
// against each other.
#include "survey/gk_options.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "survey/grid_extras.h"
#include "tests/survey/print_qstring.h"

namespace hc {
namespace {

constexpr double kPi = 3.14159265358979323846;

TEST(GkOptions, MeridianIsReadAsTheWindowReadsItOrAsPackedDegrees) {
    struct Case {
        const char* text;
        double degrees;
        bool local;
    };
    const Case valid[] = {
        {"117", 117, false},
        {"112.5", 112.5, false},  // a listed meridian keeps its decimal reading
        {"117度-6", 117, false},
        {"-180", -180, false},
        {"117.15", 117.25, true},  // 117 degrees 15 minutes
        {"117.153", 117 + 15.5 / 60, true},
        {"-117.15", -117.25, true},
        {"112.30", 112.5, false},  // packed, and a multiple of 1.5
        {"0.3", 0.5, true},
        {"117°15′", 117.25, true},
        {"117度15分30秒", 117 + 15.5 / 60, true},
        {"112°50'", 112 + 50.0 / 60, true},  // what 112.5 cannot say
        {" 117°15'30\" ", 117 + 15.5 / 60, true},
    };
    for (const Case& c : valid) {
        const std::optional<MeridianOption> m = meridianOption(QString::fromUtf8(c.text));
        ASSERT_TRUE(m.has_value()) << c.text;
        EXPECT_NEAR(m->degrees, c.degrees, 1e-12) << c.text;
        EXPECT_EQ(m->local, c.local) << c.text;
    }
    // Minutes or seconds of 60 and more, beyond 180 degrees, no number.
    for (const char* bad :
         {"117.7", "117.0060", "181", "180.01", "117°60′", "abc", "", "1e2", "117.15度"}) {
        EXPECT_FALSE(meridianOption(QString::fromUtf8(bad)).has_value()) << bad;
    }
}

struct Sample {
    double lat;  // packed
    double lon;  // packed
};

// Packed angles with random minutes and seconds (4 decimal places of seconds).
double randomPacked(std::mt19937_64& rng, int degMin, int degMax) {
    std::uniform_int_distribution<int> deg(degMin, degMax);
    std::uniform_int_distribution<int> minutes(0, 59);
    std::uniform_int_distribution<int> tenThousandths(0, 599999);
    const double v = deg(rng) + minutes(rng) / 100.0 + tenThousandths(rng) / 1e10;
    return std::round(v * 1e10) / 1e10;
}

TEST(GkOptions, DefaultGridGivesTheZoneRoutinesResults) {
    std::mt19937_64 rng(15);
    GkGridOptions extraOnly;
    extraOnly.extra = true;
    for (const Ellipsoid* set : {&beijing1954(), &xian1980(), &wgs84()}) {
        for (ZoneWidth w : {ZoneWidth::Six, ZoneWidth::Three, ZoneWidth::OneAndHalf}) {
            for (int i = 0; i < 300; ++i) {
                const double lat = randomPacked(rng, -89, 89);
                const double lon = randomPacked(rng, -179, 179);
                const double setting = 1.5 * std::uniform_int_distribution<int>(-119, 119)(rng);
                const GridPoint g = toGrid(w, lat, lon, setting, *set);
                const ConvertedPoint f =
                    convertWithOptions(std::nullopt, w, lat, lon, setting, *set, extraOnly);
                EXPECT_EQ(f.u, g.x);
                EXPECT_EQ(f.v, g.y);
                EXPECT_EQ(f.remark, g.remark);

                const GeoPoint b = toGeographic(w, g.x, g.y, *set);
                const ConvertedPoint r =
                    convertWithOptions(w, std::nullopt, g.x, g.y, setting, *set, extraOnly);
                EXPECT_EQ(r.u, b.lat);
                EXPECT_EQ(r.v, b.lon);
                EXPECT_EQ(r.remark, b.remark);
                EXPECT_EQ(r.rejected, isRejection(b.remark));
            }
        }
    }
}

// The packed results of the inverse are rounded to 8 places: 1E-4 seconds.
double packedSecondsApart(double a, double b) {
    return std::fabs(ZelDuFenMiaoZhuanBaiFenDu(a) - ZelDuFenMiaoZhuanBaiFenDu(b)) * 3600;
}

TEST(GkOptions, GridsWithOptionsGoBackToTheSamePoint) {
    struct Case {
        const char* what;
        double meridian;
        bool local;
        GridParameters grid;
        double height;
    };
    const Case cases[] = {
        {"k0 and false origin", 117, false, {1000000, 400000, 0.9996}, 0},
        {"southern false northing", -75, false, {10000000, 500000, 0.9996}, 0},
        {"local 117 15", 117.25, true, {0, 500000, 1}, 0},
        {"local with false origin", -43 - 10.0 / 60, true, {200000, 50000, 0.9999}, 0},
        {"height", 117, false, {0, 500000, 1}, 2500},
        {"height below", 117.25, true, {0, 500000, 1}, -300},
        {"height and k0", 112.5, false, {0, 500000, 0.9996}, 800},
    };
    std::mt19937_64 rng(151);
    for (const Case& c : cases) {
        GkGridOptions o;
        o.grid = c.grid;
        o.height = c.height;
        o.localMeridian = c.local;
        for (ZoneWidth w : {ZoneWidth::Six, ZoneWidth::Three, ZoneWidth::OneAndHalf}) {
            for (int i = 0; i < 100; ++i) {
                const bool south = c.grid.falseNorthing == 10000000;
                const double lat = randomPacked(rng, south ? -79 : 0, south ? -1 : 79);
                const double off = std::uniform_real_distribution<double>(-1.4, 1.4)(rng);
                const double lon = ZelSheRuXiaoShu(ZelBaiFenDuZhuanDuFenMiao(c.meridian + off), 8);
                const ConvertedPoint g =
                    convertWithOptions(std::nullopt, w, lat, lon, c.meridian, wgs84(), o);
                ASSERT_FALSE(g.rejected) << c.what << " " << g.remark.toStdString();
                const ConvertedPoint b =
                    convertWithOptions(w, std::nullopt, g.u, g.v, c.meridian, wgs84(), o);
                ASSERT_FALSE(b.rejected) << c.what << " " << b.remark.toStdString();
                // The grid is rounded to the millimetre: 3E-5 seconds, and the output
                // to 1E-4 seconds.
                EXPECT_LE(packedSecondsApart(b.u, lat), 1.5e-4) << c.what << " " << lat;
                EXPECT_LE(packedSecondsApart(b.v, lon), 1.5e-4 / std::cos(lat * kPi / 180))
                    << c.what << " " << lon;
            }
        }
    }
}

TEST(GkOptions, ScaleAndFalseOriginScaleAndShiftTheGrid) {
    GkGridOptions plain;
    GkGridOptions o;
    o.grid = {-2000000, 300000, 0.9996};
    const double lat = 39.4125536;
    const double lon = 117.5017873;
    const ConvertedPoint a =
        convertWithOptions(std::nullopt, ZoneWidth::Three, lat, lon, 117, xian1980(), plain);
    const ConvertedPoint b =
        convertWithOptions(std::nullopt, ZoneWidth::Three, lat, lon, 117, xian1980(), o);
    EXPECT_NEAR(b.u, -2000000 + 0.9996 * a.u, 0.0011);
    EXPECT_NEAR(b.v - 39300000, 0.9996 * (a.v - 39500000), 0.0011);
}

TEST(GkOptions, HeightScalesAboutTheMeridianByTheMeanRadius) {
    const double lat = 30.2015;
    const double lon = 118.1234;
    const double h = 1800;
    GkGridOptions o;
    o.localMeridian = true;
    o.grid.falseNorthing = 50000;
    o.height = h;
    GkGridOptions ground = o;
    ground.height = 0;
    const ConvertedPoint a =
        convertWithOptions(std::nullopt, ZoneWidth::Three, lat, lon, 117.25, xian1980(), ground);
    const ConvertedPoint b =
        convertWithOptions(std::nullopt, ZoneWidth::Three, lat, lon, 117.25, xian1980(), o);
    // R = sqrt(M N) written out here from a and e2.
    const double phi = ZelDuFenMiaoZhuanBaiFenDu(lat) * kPi / 180;
    const double e2 = xian1980().e2;
    const double w = std::sqrt(1 - e2 * std::sin(phi) * std::sin(phi));
    const double r = std::sqrt(xian1980().a * (1 - e2) / (w * w * w) * (xian1980().a / w));
    const double s = (r + h) / r;
    EXPECT_NEAR(b.u - 50000, s * (a.u - 50000), 0.0011);
    EXPECT_NEAR(b.v - 500000, s * (a.v - 500000), 0.0011);
    EXPECT_NEAR(b.k, s * a.k, 1e-12);
}

TEST(GkOptions, LocalGridRemarksAndRejections) {
    GkGridOptions o;
    o.localMeridian = true;
    const double m = 117.25;
    // 2 degrees off: beyond the 3 degree zones' 1.5 but within the 6 degree zones' 3.
    const ConvertedPoint cross =
        convertWithOptions(std::nullopt, ZoneWidth::Three, 40, 119.15, m, wgs84(), o);
    EXPECT_FALSE(cross.rejected);
    EXPECT_EQ(cross.remark, QStringLiteral("……跨带 117.25度"));
    const ConvertedPoint inSix =
        convertWithOptions(std::nullopt, ZoneWidth::Six, 40, 119.15, m, wgs84(), o);
    EXPECT_EQ(inSix.remark, QString());
    // More than 6 degrees from the meridian: neither way.
    const ConvertedPoint far =
        convertWithOptions(std::nullopt, ZoneWidth::Six, 40, 123.3, m, wgs84(), o);
    EXPECT_TRUE(far.rejected);
    EXPECT_EQ(far.u, 0);
    EXPECT_EQ(far.v, 0);
    EXPECT_EQ(far.k, 0);
    const ConvertedPoint farGrid =
        convertWithOptions(ZoneWidth::Three, std::nullopt, 4400000, 1200000, m, wgs84(), o);
    EXPECT_TRUE(farGrid.rejected);
    EXPECT_EQ(farGrid.remark,
              QStringLiteral("错误?原始三度带坐标|Y|离中央子午线超过6度经差 超出常规范围!"));
    // The zone number is not read: an easting of a zone grid is far off a local grid.
    const ConvertedPoint zoned =
        convertWithOptions(ZoneWidth::Three, std::nullopt, 4395570.26, 39571909.407, m, wgs84(), o);
    EXPECT_TRUE(zoned.rejected);
}

TEST(GridExtras, ConvergenceAndScaleFollowTheSidesOfTheMeridian) {
    const Ellipsoid& e = wgs84();
    const double b = 40 * kPi / 180;
    const double l = 1.2 * kPi / 180;
    const GridExtras east = gridExtras(b, l, e, 1);
    const GridExtras west = gridExtras(b, -l, e, 1);
    const GridExtras south = gridExtras(-b, l, e, 1);
    EXPECT_GT(east.gamma, 0);  // grid north lies east of true north
    EXPECT_EQ(west.gamma, -east.gamma);
    EXPECT_EQ(south.gamma, -east.gamma);
    EXPECT_EQ(west.k, east.k);
    EXPECT_GT(east.k, 1);
    // On the meridian: no convergence, the scale is k0.
    const GridExtras on = gridExtras(b, 0, e, 0.9996);
    EXPECT_EQ(on.gamma, 0);
    EXPECT_EQ(on.k, 0.9996);
    // Near the meridian γ is a little more than l sin B.
    EXPECT_GT(east.gamma, l * std::sin(b));
    EXPECT_NEAR(east.gamma, l * std::sin(b), 1e-4 * l);
}

}  // namespace
}  // namespace hc
