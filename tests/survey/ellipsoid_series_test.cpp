#include "survey/ellipsoid_series.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "survey/coord_conversion.h"
#include "survey/zones.h"
#include "tests/survey/print_qstring.h"

namespace hc {
namespace {

// The place value of the last printed digit of a number text ("7.447831E-09" -> 1E-15).
double lastDigitUnit(const std::string& text) {
    const std::size_t e = text.find_first_of("eE");
    const std::string mantissa = text.substr(0, e);
    const int exponent = e == std::string::npos ? 0 : std::stoi(text.substr(e + 1));
    const std::size_t point = mantissa.find('.');
    const int decimals = point == std::string::npos ? 0 : int(mantissa.size() - point - 1);
    return std::pow(10.0, exponent - decimals);
}

struct Listed {
    const char* field;
    double derived;
    std::string text;
    double units;  // how many units of the last printed digit the text may be off
};

void expectListed(const Listed& l, const char* set) {
    const double listed = std::stod(l.text);
    // Plus a few units of the double's own last place (A = a·α0 rounds once more).
    const double ulp = std::nextafter(listed, 2 * listed) - listed;
    EXPECT_LE(std::abs(l.derived - listed), l.units * lastDigitUnit(l.text) + 4 * ulp)
        << set << " " << l.field << ": derived " << l.derived << " listed " << l.text;
}

// The series reproduce the listed Xi'an 1980 and WGS constants to their printed digits.
// Only the β3 texts are a unit off in their last digit (7.447831 for 7.4478304990...,
// 7.4478139 for 7.4478138148...): they round up what is below a half.
TEST(EllipsoidSeries, ReproducesTheListedXian1980AndWgsConstants) {
    const struct {
        const char* name;
        double a;
        const char* e2;
        const Ellipsoid& set;
        const char* text[11];  // e′², α0, α2, α4, α6, A, β1, β2, β3, a(1−e²)
    } sets[] = {
        {"XA",
         6378140,
         "0.0066943849863148",
         xian1980(),
         {"0.00673950180602026", "0.998324297200603", "0.002514608940384", "2.639050543E-06",
          "3.41805E-09", "6367452.13294706", "0.002518828470568", "3.700954578E-06", "7.447831E-09",
          "6335442.27534339"}},
        {"WGS",
         6378137,
         "0.0066943800042608",
         wgs84(),
         {"0.00673949675658688", "0.998324298449256", "0.002514607065831", "2.639046605E-06",
          "3.41805E-09", "6367449.14593825", "0.0025188265897211", "3.7009490513E-06",
          "7.4478139E-09", "6335439.32720276"}},
    };
    for (const auto& s : sets) {
        const Ellipsoid d = ellipsoidFromEccentricity(s.a, std::stod(s.e2));
        EXPECT_EQ(d.a, s.set.a);
        EXPECT_EQ(d.e2, s.set.e2);
        const Listed fields[] = {
            {"e'2", d.ep2, s.text[0], 0.5},       {"alpha0", d.alpha0, s.text[1], 0.5},
            {"alpha2", d.alpha2, s.text[2], 0.5}, {"alpha4", d.alpha4, s.text[3], 0.5},
            {"alpha6", d.alpha6, s.text[4], 0.5}, {"A", d.arcA, s.text[5], 0.5},
            {"beta1", d.beta1, s.text[6], 0.5},   {"beta2", d.beta2, s.text[7], 0.5},
            {"beta3", d.beta3, s.text[8], 1.0},   {"a(1-e2)", d.a1e2, s.text[9], 0.5},
        };
        for (const Listed& l : fields) expectListed(l, s.name);
        // The texts are those of the stored sets.
        EXPECT_EQ(std::stod(s.text[1]), s.set.alpha0);
        EXPECT_EQ(std::stod(s.text[8]), s.set.beta3);
    }
}

TEST(EllipsoidSeries, Cgcs2000FromItsAxisAndFlattening) {
    const Ellipsoid& c = cgcs2000();
    EXPECT_EQ(c.a, 6378137);
    // The published CGCS2000 figures: e² = 0.00669438002290, e′² = 0.00673949677548,
    // b = 6356752.31414 m.
    EXPECT_NEAR(c.e2, 0.00669438002290, 0.5e-14);
    EXPECT_NEAR(c.ep2, 0.00673949677548, 0.5e-14);
    EXPECT_NEAR(c.a * std::sqrt(1 - c.e2), 6356752.31414, 0.5e-5);
    EXPECT_DOUBLE_EQ(c.arcA, c.a * c.alpha0);
    EXPECT_DOUBLE_EQ(c.a1e2, c.a * (1 - c.e2));
    // Next to WGS-84 (same a, 1/f 298.257223563) e² differs in the 11th decimal.
    EXPECT_NEAR(c.e2, wgs84().e2, 2e-11);
    EXPECT_NE(c.e2, wgs84().e2);
    EXPECT_EQ(&ellipsoidOf(Datum::Cgcs2000), &c);
    EXPECT_EQ(&ZelTuoQiuCanShu(QStringLiteral(" 2000 ")), &c);
    EXPECT_EQ(datumOfCode(QStringLiteral("2000")), Datum::Cgcs2000);
    EXPECT_EQ(datumOfControlText(QStringLiteral("2000")), Datum::Cgcs2000);
    EXPECT_EQ(datumControlText(Datum::Cgcs2000), QStringLiteral("2000"));
}

// The exact transverse Mercator (Krüger's series in n to n^6, whose truncation is
// below a micrometre), in long double: northing and easting of latitude phi and
// longitude difference lam (radians) on the ellipsoid (a, f), scale 1.
struct ExactTm {
    long double a, f;
    void forward(long double phi, long double lam, long double& x, long double& y) const {
        const long double n = f / (2 - f);
        const long double e = std::sqrt(f * (2 - f));
        const long double n2 = n * n, n3 = n2 * n, n4 = n3 * n, n5 = n4 * n, n6 = n5 * n;
        const long double A = a / (1 + n) * (1 + n2 / 4 + n4 / 64 + n6 / 256);
        const long double alpha[7] = {
            0,
            n / 2 - 2 * n2 / 3 + 5 * n3 / 16 + 41 * n4 / 180 - 127 * n5 / 288 + 7891 * n6 / 37800,
            13 * n2 / 48 - 3 * n3 / 5 + 557 * n4 / 1440 + 281 * n5 / 630 - 1983433 * n6 / 1935360,
            61 * n3 / 240 - 103 * n4 / 140 + 15061 * n5 / 26880 + 167603 * n6 / 181440,
            49561 * n4 / 161280 - 179 * n5 / 168 + 6601661 * n6 / 7257600,
            34729 * n5 / 80640 - 3418889 * n6 / 1995840,
            212378941 * n6 / 319334400,
        };
        const long double s = std::sin(phi);
        const long double t = std::sinh(std::atanh(s) - e * std::atanh(e * s));
        const long double xi = std::atan2(t, std::cos(lam));
        const long double eta = std::atanh(std::sin(lam) / std::sqrt(1 + t * t));
        long double sx = xi, sy = eta;
        for (int j = 1; j <= 6; ++j) {
            sx += alpha[j] * std::sin(2 * j * xi) * std::cosh(2 * j * eta);
            sy += alpha[j] * std::cos(2 * j * xi) * std::sinh(2 * j * eta);
        }
        x = A * sx;
        y = A * sy;
    }
};

constexpr long double kPi = 3.141592653589793238462643383279502884L;

// Packed d.mmss text of a decimal-degree value, to 8 places (for the zone routines).
double packed(double degrees) {
    const double sign = degrees < 0 ? -1 : 1;
    long long t = std::llround(std::abs(degrees) * 3600 * 10000);  // 1E-4 seconds
    const long long d = t / 36000000, m = t % 36000000 / 600000, sec = t % 600000;
    return sign * (static_cast<double>(d) + static_cast<double>(m) / 100.0 +
                   static_cast<double>(sec) / 1e8);
}

// CGCS2000 grid coordinates stay within 1 mm of the exact transverse Mercator within
// 1.5 degrees of the central meridian up to latitude 60, forward and inverse, as the
// cores compute them; the 3 degree zone routine's results, rounded to the millimetre,
// within 1.5 mm.
TEST(EllipsoidSeries, Cgcs2000WithinAMillimetreOfTheExactProjection) {
    const ExactTm exact{6378137.0L, 1 / 298.257222101L};
    const Ellipsoid& set = cgcs2000();
    double worstCore = 0, worstRoutine = 0, worstInverse = 0;
    for (int i = 0; i <= 120; ++i) {
        for (int j = -30; j <= 30; ++j) {
            // Latitudes 0 ... 60 every half degree, offsets -1.5 ... 1.5 every 0.05 degree,
            // both on whole 1E-4 seconds so that the packed angles say the same.
            const double latDeg = i * 0.5 + 0.1235 / 3600;
            const double lonOff = j * 0.05 + (j > 0 ? -1 : 1) * 0.6543 / 3600;
            long double x = 0, y = 0;
            exact.forward(latDeg * kPi / 180, lonOff * kPi / 180, x, y);

            const GridXY core =
                ZelTouYingZhengSuan(latDeg * double(kPi) / 180, lonOff * double(kPi) / 180, set);
            worstCore =
                std::max({worstCore, double(std::abs(core.x - x)), double(std::abs(core.y - y))});

            const GridPoint g = ZelZhengSuan3(packed(latDeg), packed(117 + lonOff), 117, set);
            ASSERT_TRUE(g.remark.isEmpty()) << latDeg << " " << lonOff;
            worstRoutine = std::max(
                {worstRoutine, double(std::abs(g.x - x)), double(std::abs(g.y - 39500000 - y))});

            // Inverse core on the exact grid values, measured on the ground.
            const LatDiff back = ZelTouYingFanSuan(double(x), double(y), set);
            const double dB = (back.b - latDeg * double(kPi) / 180) * 6.36e6;
            const double dL = (back.l - lonOff * double(kPi) / 180) * 6.39e6 *
                              std::cos(latDeg * double(kPi) / 180);
            worstInverse = std::max({worstInverse, std::abs(dB), std::abs(dL)});
        }
    }
    // The arc series of the listed sets (to e⁶) is 0.76 mm short at 60 degrees; the
    // routines then round to the millimetre.
    EXPECT_LT(worstCore, 0.001) << "core";
    EXPECT_LT(worstRoutine, 0.001 + 0.0005) << "zone routine";
    EXPECT_LT(worstInverse, 0.001) << "inverse core";
    std::printf("worst: core %.6f m, routine %.6f m, inverse %.6f m\n", worstCore, worstRoutine,
                worstInverse);
}

TEST(EllipsoidSeries, WindowOperationsNameTheDatum2000) {
    GkControls c;
    c.ellipsoid = QStringLiteral("2000");
    const GkResult r = ZelZuoBiaoZhuanHuan(
        GkConversion::GeoToZone3, QStringLiteral("A01,39.4125536,117.5017873\r\n"), QString(), c);
    EXPECT_TRUE(r.output.startsWith(
        QStringLiteral("﹌﹌﹌以下为３度带2000系公里网坐标……单位【米】﹌﹌﹌\r\nA01 , 4395")))
        << r.output.toStdString();
    EXPECT_EQ(r.settings.datum, Datum::Cgcs2000);
    // The exact projection gives 4395492.556374, 71908.201980 here. WGS-84's ellipsoid
    // differs from CGCS2000's by 0.1 mm at this point, but its textbook series carry the
    // meridian arc 0.4 mm long, which rounds to the next millimetre.
    EXPECT_TRUE(r.output.contains(QStringLiteral("A01 , 4395492.556 , 39571908.202 ")))
        << r.output.toStdString();
    c.ellipsoid = QStringLiteral("WGS");
    const GkResult w = ZelZuoBiaoZhuanHuan(
        GkConversion::GeoToZone3, QStringLiteral("A01,39.4125536,117.5017873\r\n"), QString(), c);
    EXPECT_TRUE(w.output.contains(QStringLiteral("A01 , 4395492.557 , 39571908.202 ")))
        << w.output.toStdString();
}

}  // namespace
}  // namespace hc
