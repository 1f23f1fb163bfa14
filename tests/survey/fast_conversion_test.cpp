#include "survey/fast_conversion.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "survey/decimal_text.h"
#include "tests/survey/print_qstring.h"

namespace hc {
namespace {

// Equal as doubles and in the sign of a zero.
bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::string bitsText(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

// A packed angle d.mmss... with `fraction` digits after the whole seconds (cut short
// by `cut` digits), in whole degrees lo ... hi.
double packedAngle(std::mt19937_64& rng, int lo, int hi, int cut) {
    const long long d = lo + static_cast<long long>(rng() % static_cast<unsigned>(hi - lo + 1));
    char buf[64];
    std::snprintf(buf, sizeof buf, "%lld.%02d%02d%08llu", std::llabs(d),
                  static_cast<int>(rng() % 60), static_cast<int>(rng() % 60),
                  static_cast<unsigned long long>(rng() % 100000000ULL));
    std::string t(buf);
    t.resize(t.size() - static_cast<std::size_t>(cut));
    const double v = std::strtod(t.c_str(), nullptr);
    return d < 0 ? -v : v;
}

// Values at the edges the routines decide on: halves of the rounding place, seconds
// next to 60, minutes and seconds of 60 and more, integers, signs, tiny and huge.
std::vector<double> edgeValues() {
    std::vector<double> v{0.0,
                          -0.0,
                          1.0,
                          -1.0,
                          0.5,
                          -0.5,
                          2.5,
                          1e-9,
                          -3e-6,
                          1e-5,
                          99999999999999.5,
                          1e15,
                          123456789012345678.0,
                          179769313486232.0,
                          2e14,
                          std::numeric_limits<double>::infinity(),
                          -std::numeric_limits<double>::infinity(),
                          std::numeric_limits<double>::quiet_NaN(),
                          39.5959999999,
                          39.59599995,
                          39.595999949,
                          39.6,
                          39.606,
                          39.0061,
                          117.6,
                          -117.59599996,
                          120.0,
                          119.99999999999999,
                          180.0,
                          180.00000001,
                          -180.0,
                          89.59599999,
                          90.0,
                          10000000000000.25,
                          10000000000000.75,
                          1000000000000.125,
                          4000000.0005,
                          4000000.0015,
                          -4000000.0005,
                          39500000.0005,
                          0.0000000049999,
                          0.000000005};
    // Decimal degrees whose seconds fall on or next to half of the fourth place.
    for (int m = 0; m < 60; m += 7) {
        for (int s : {0, 1, 29, 59}) {
            const double seconds = s + 0.99995;
            v.push_back(117 + m / 60.0 + seconds / 3600);
            v.push_back(-(31 + m / 60.0 + (s + 0.00005) / 3600));
        }
    }
    return v;
}

TEST(ExactDigits, AreTheDigitsOfToChars) {
    std::mt19937_64 rng(20261210);
    std::uniform_real_distribution<double> exponent(-6, 16);
    std::vector<double> values = edgeValues();
    for (int i = 0; i < 400000; ++i)
        values.push_back(std::pow(10.0, exponent(rng)) * (i % 2 ? 1 : -1));
    // Dyadic values: exact ties at the 15th digit happen among them.
    for (int j = 1; j < 60; ++j) {
        for (int i = 0; i < 2000; ++i) {
            values.push_back(std::ldexp(static_cast<double>((rng() >> 11) | 1), -j));
            values.push_back(std::ldexp(static_cast<double>((rng() >> 24) | 1), -j));
        }
    }
    int decided = 0;
    for (const double v : values) {
        std::uint64_t coef = 0;
        int exp = 0;
        const bool ok = survey_detail::exactDigits15(v, coef, exp);
        const double a = std::fabs(v);
        EXPECT_EQ(ok, a >= 1e-5 && a < 1e15) << bitsText(v);
        if (!ok) continue;
        ++decided;
        char expected[40];
        const auto r = std::to_chars(expected, expected + sizeof expected, a,
                                     std::chars_format::scientific, 14);
        const std::string digits = std::to_string(coef);
        char sign = exp < 0 ? '-' : '+';
        char mine[40];
        std::snprintf(mine, sizeof mine, "%c.%se%c%02d", digits[0], digits.substr(1).c_str(), sign,
                      std::abs(exp));
        ASSERT_EQ(std::string(expected, r.ptr), std::string(mine)) << bitsText(v);
        // The double of those digits.
        double back = 0;
        std::from_chars(expected, r.ptr, back);
        ASSERT_TRUE(sameBits(survey_detail::roundTo15(v), v < 0 ? -back : back)) << bitsText(v);
    }
    EXPECT_GT(decided, 300000);
}

TEST(FastRoutines, GiveTheDoublesOfTheLiteralRoutines) {
    std::mt19937_64 rng(15);
    std::uniform_real_distribution<double> unit(0, 1);
    std::vector<double> packed = edgeValues();
    std::vector<double> degrees = edgeValues();
    std::vector<double> metres = edgeValues();
    for (int i = 0; i < 200000; ++i) {
        packed.push_back(packedAngle(rng, -180, 180, static_cast<int>(rng() % 9)));
        const double d = (unit(rng) - 0.5) * 360;
        degrees.push_back(i % 3 == 0 ? survey_detail::roundTo15(d) : d);
        degrees.push_back(std::round(d * 1e6) / 1e6);
        const double m = (unit(rng) - 0.3) * 4e7;
        metres.push_back(m);
        metres.push_back(std::round(m * 2000) / 2000);  // on a half of the third place
    }
    struct Case {
        const char* name;
        double (*fast)(double);
        double (*literal)(double);
        const std::vector<double>* inputs;
    };
    const Case cases[] = {
        {"packedToDegrees", fast::packedToDegrees, ZelDuFenMiaoZhuanBaiFenDu, &packed},
        {"degreesToRadians", fast::degreesToRadians, ZelBaiFenDuZhuanHuDu, &degrees},
        {"degreesToPacked", fast::degreesToPacked, ZelBaiFenDuZhuanDuFenMiao, &degrees},
        {"degreesToPacked(packed)", fast::degreesToPacked, ZelBaiFenDuZhuanDuFenMiao, &packed},
    };
    for (const Case& c : cases) {
        for (const double v : *c.inputs) {
            ASSERT_TRUE(sameBits(c.fast(v), c.literal(v)))
                << c.name << "(" << bitsText(v) << "): " << bitsText(c.fast(v)) << " vs "
                << bitsText(c.literal(v));
        }
    }
    for (const std::vector<double>* inputs : {&metres, &degrees, &packed}) {
        for (const double v : *inputs) {
            for (const int places : {0, 3, 8, 17, 18, -1}) {
                ASSERT_TRUE(sameBits(fast::roundPlaces(v, places), ZelSheRuXiaoShu(v, places)))
                    << bitsText(v) << " to " << places;
            }
        }
    }
}

struct ZoneCase {
    ZoneWidth width;
    const char* name;
};
constexpr ZoneCase kZones[] = {
    {ZoneWidth::Six, "6"}, {ZoneWidth::Three, "3"}, {ZoneWidth::OneAndHalf, "1.5"}};
constexpr Datum kDatums[] = {Datum::Beijing1954, Datum::Xian1980, Datum::Wgs84, Datum::Cgcs2000};

// Longitudes spread over the zones with the zone boundaries and meridians themselves.
double longitudeFor(std::mt19937_64& rng, int i) {
    if (i % 5 == 0) {
        const double edge = 0.75 * static_cast<double>(static_cast<int>(rng() % 481) - 240);
        const double nudge[] = {0, 1e-9, -1e-9, 0.00000001, -0.00000001};
        return ZelBaiFenDuZhuanDuFenMiao(edge) + nudge[rng() % 5];
    }
    return packedAngle(rng, -181, 181, static_cast<int>(rng() % 9));
}

TEST(FastRoutines, ConvertPointsAsTheZoneRoutinesDo) {
    std::mt19937_64 rng(1954);
    const double settings[] = {117, 118.5, 0, -117, 180, -180, 1.5, 93};
    long long forwardFast = 0;
    long long forwardPlain = 0;
    long long inverseFast = 0;
    long long inversePlain = 0;
    for (const ZoneCase& zone : kZones) {
        for (const Datum datum : kDatums) {
            const Ellipsoid& set = ellipsoidOf(datum);
            for (int i = 0; i < 12000; ++i) {
                const double setting = settings[i % 8];
                double lat = packedAngle(rng, -90, 90, static_cast<int>(rng() % 9));
                if (i % 97 == 0) lat = 90.0000001;  // beyond the pole
                const double lon = longitudeFor(rng, i);
                const GridPoint g = toGrid(zone.width, lat, lon, setting, set);
                fast::FastGrid f{};
                const bool plain = !g.remark.startsWith(QStringLiteral("错误"));
                forwardPlain += plain ? 1 : 0;
                if (fast::toGridFast(zone.width, lat, lon, setting, set, kZoneGrid, f)) {
                    ++forwardFast;
                    ASSERT_TRUE(plain) << g.remark.toStdString();
                    ASSERT_TRUE(sameBits(f.x, g.x) && sameBits(f.y, g.y))
                        << zone.name << " " << bitsText(lat) << " " << bitsText(lon) << " "
                        << setting;
                    ASSERT_EQ(fast::gridRemarkText(f.remark, f.meridian), g.remark);
                    ASSERT_EQ(f.xMm, std::llround(std::fabs(g.x) * 1000));
                    ASSERT_EQ(f.yMm, std::llround(std::fabs(g.y) * 1000));
                }

                // Back from the grid, and from grid points pushed beyond the pole, far
                // from the meridian, into the wrong zone or onto nothing.
                double x = g.x;
                double y = g.y;
                switch (i % 11) {
                    case 0:
                        x = (i % 2 ? 1 : -1) * (10002000.0 + static_cast<double>(rng() % 200));
                        break;
                    case 1:
                        y += (y < 0 ? -1 : 1) * 700000.0;
                        break;
                    case 2:
                        x = -x;
                        break;
                    case 3:
                        y = std::fmod(y, 1000000.0);
                        break;
                    default:
                        break;
                }
                const GeoPoint b = toGeographic(zone.width, x, y, set);
                const bool kept = b.remark.isEmpty();
                inversePlain += kept ? 1 : 0;
                fast::FastGeo h{};
                if (fast::toGeographicFast(zone.width, x, y, set, kZoneGrid, h)) {
                    ++inverseFast;
                    ASSERT_TRUE(kept) << b.remark.toStdString();
                    ASSERT_TRUE(sameBits(h.lat, b.lat) && sameBits(h.lon, b.lon))
                        << zone.name << " " << bitsText(x) << " " << bitsText(y);
                    ASSERT_EQ(h.latUnits, std::llround(std::fabs(b.lat) * 1e8));
                    ASSERT_EQ(h.lonUnits, std::llround(std::fabs(b.lon) * 1e8));
                }
            }
        }
    }
    // The quick routines are the ones that run: all but a few plain points go through
    // them (points on the equator and the meridian itself go to the literal ones).
    EXPECT_GT(forwardFast, forwardPlain * 99 / 100);
    EXPECT_GT(inverseFast, inversePlain * 99 / 100);
    EXPECT_LT(inversePlain, forwardPlain);  // the pushed points were rejected
}

}  // namespace
}  // namespace hc
