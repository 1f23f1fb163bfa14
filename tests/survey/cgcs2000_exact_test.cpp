// CGCS2000 against GeographicLib's exact transverse Mercator (TransverseMercatorExact,
// elliptic functions, accurate to nanometres): the projection cores agree to a fraction
// of a micrometre, and the zone conversions' results stay within their output rounding
// plus 0.1 mm anywhere a zone reaches.

#include <gtest/gtest.h>

#include <GeographicLib/TransverseMercatorExact.hpp>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "survey/ellipsoid_series.h"
#include "survey/zones.h"
#include "tests/survey/print_qstring.h"

namespace hc {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kA = 6378137;
constexpr double kInverseFlattening = 298.257222101;

const GeographicLib::TransverseMercatorExact& exact() {
    static const GeographicLib::TransverseMercatorExact tm(kA, 1 / kInverseFlattening, 1);
    return tm;
}

// Radii of curvature in the meridian and on the parallel at latitude b (degrees).
double meridianRadius(double b) {
    const double e2 = cgcs2000().e2;
    const double s = std::sin(b * kPi / 180);
    return kA * (1 - e2) / std::pow(1 - e2 * s * s, 1.5);
}
double parallelRadius(double b) {
    const double e2 = cgcs2000().e2;
    const double s = std::sin(b * kPi / 180);
    return kA * std::cos(b * kPi / 180) / std::sqrt(1 - e2 * s * s);
}

// A packed angle d.mmssssss of a whole number of 1E-4 seconds, and its degrees.
struct Angle {
    double packed;
    double degrees;
};
Angle angleOf(long long units) {
    const long long a = std::llabs(units);
    char text[48];
    std::snprintf(text, sizeof text, "%s%lld.%02lld%06lld", units < 0 ? "-" : "", a / 36000000,
                  a / 600000 % 60, a % 600000);
    return {std::stod(text), static_cast<double>(units) / 36000000};
}
long long unitsOf(double degrees) { return std::llround(degrees * 36000000); }

// Decimal degrees of a packed result (8 places), from its text.
double degreesOf(double packed) {
    char text[48];
    std::snprintf(text, sizeof text, "%.8f", std::fabs(packed));
    const std::string t = text;
    const std::size_t point = t.find('.');
    const double d = std::stod(t.substr(0, point));
    const double m = std::stod(t.substr(point + 1, 2));
    const double s = std::stod(t.substr(point + 3, 2) + "." + t.substr(point + 5));
    EXPECT_LT(m, 60) << t;
    EXPECT_LT(s, 60) << t;
    const double v = d + m / 60 + s / 3600;
    return packed < 0 ? -v : v;
}

TEST(Cgcs2000Exact, CoresAgreeWithTheExactProjectionToAFractionOfAMicrometre) {
    const Ellipsoid& set = cgcs2000();
    double forward = 0;
    double inverse = 0;
    for (int i = 0; i <= 179; ++i) {
        for (int j = -28; j <= 28; ++j) {
            const double lat = i * 0.5 + 0.0123;                       // 0 ... 89.5 degrees
            const double off = j * 0.25 - (j > 0 ? 0.0071 : -0.0071);  // within 7 degrees
            double ex = 0;
            double ey = 0;
            exact().Forward(0, lat, off, ex, ey);
            const GridXY g = ZelTouYingZhengSuan(lat * kPi / 180, off * kPi / 180, set);
            forward = std::max({forward, std::fabs(g.x - ey), std::fabs(g.y - ex)});

            const LatDiff r = ZelTouYingFanSuan(ey, ex, set);
            const double db = (r.b * 180 / kPi - lat) * kPi / 180 * meridianRadius(lat);
            const double dl = (r.l * 180 / kPi - off) * kPi / 180 * parallelRadius(lat);
            inverse = std::max({inverse, std::fabs(db), std::fabs(dl)});
        }
    }
    std::printf("largest difference: forward %.3g m, inverse %.3g m\n", forward, inverse);
    EXPECT_LT(forward, 1e-7);
    EXPECT_LT(inverse, 1e-7);
}

// Every zone width, with settings that put points up to the 6 degrees the conversions
// reach: the grid values within half a millimetre (their rounding) plus 0.1 mm of the
// exact ones, the latitude and longitude back from the rounded grid values within half
// a unit of the packed angle's last place (0.00005 seconds) plus 0.1 mm on the ground.
TEST(Cgcs2000Exact, ZoneConversionsStayWithinTheirRoundingOfTheExactProjection) {
    const Ellipsoid& set = cgcs2000();
    std::mt19937_64 rng(2000);
    std::uniform_real_distribution<double> latitude(-89.9, 89.9);
    std::uniform_real_distribution<double> offset(-6, 6);
    const struct {
        ZoneWidth width;
        double setting;
    } zones[] = {{ZoneWidth::Six, 117},
                 {ZoneWidth::Six, 114},
                 {ZoneWidth::Three, 117},
                 {ZoneWidth::Three, 118.5},
                 {ZoneWidth::OneAndHalf, 117}};
    double gridExcess = 0;
    double angleExcess = 0;
    int converted = 0;
    for (const auto& z : zones) {
        for (int i = 0; i < 6000; ++i) {
            const Angle lat = angleOf(unitsOf(latitude(rng)));
            const Angle lon = angleOf(unitsOf(z.setting + offset(rng)));
            const GridPoint g = toGrid(z.width, lat.packed, lon.packed, z.setting, set);
            if (g.remark.startsWith(u"错误")) continue;
            ++converted;
            const ZoneEasting ze = zoneEasting(z.width, g.y, 500000);
            const double meridian = ze.western ? -ze.meridian : ze.meridian;
            double ex = 0;
            double ey = 0;
            exact().Forward(meridian, lat.degrees, lon.degrees, ex, ey);
            const double yFromMeridian = ze.western ? -ze.reduced : ze.reduced;
            gridExcess = std::max(
                {gridExcess, std::fabs(g.x - ey) - 0.0005, std::fabs(yFromMeridian - ex) - 0.0005});
            EXPECT_LE(std::fabs(g.x - ey), 0.0006) << lat.packed << " " << lon.packed;
            EXPECT_LE(std::fabs(yFromMeridian - ex), 0.0006) << lat.packed << " " << lon.packed;

            // The inverse of the rounded grid values, against their exact inverse.
            const GeoPoint back = toGeographic(z.width, g.x, g.y, set);
            ASSERT_EQ(back.remark, QString()) << g.x << " " << g.y;
            double eLat = 0;
            double eLon = 0;
            exact().Reverse(meridian, yFromMeridian, g.x, eLat, eLon);
            const double latSeconds = std::fabs(degreesOf(back.lat) - eLat) * 3600;
            const double lonSeconds = std::fabs(degreesOf(back.lon) - eLon) * 3600;
            const double metreLat = 3600 * 180 / kPi / meridianRadius(eLat);
            const double metreLon = 3600 * 180 / kPi / parallelRadius(eLat);
            angleExcess = std::max({angleExcess, (latSeconds - 0.00005) / metreLat,
                                    (lonSeconds - 0.00005) / metreLon});
            EXPECT_LE(latSeconds, 0.00005 + 0.0001 * metreLat + 1e-9)
                << g.x << " " << g.y << " -> " << back.lat;
            EXPECT_LE(lonSeconds, 0.00005 + 0.0001 * metreLon + 1e-9)
                << g.x << " " << g.y << " -> " << back.lon;
        }
    }
    std::printf("%d points; beyond the rounding: grid %.3g m, angles %.3g m\n", converted,
                gridExcess, angleExcess);
    EXPECT_GT(converted, 20000);
}

}  // namespace
}  // namespace hc
