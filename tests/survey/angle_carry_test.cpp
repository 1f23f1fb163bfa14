// Seconds just below 60: the packed angles written with 8 places keep them, carry only
// what rounds to 60.0000 and never read 60 seconds or 60 minutes; and the grid values
// that pass through such angles do not jump.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "survey/coord_conversion.h"
#include "survey/projection.h"
#include "survey/zones.h"
#include "tests/survey/print_qstring.h"

namespace hc {
namespace {

// The parts of a packed angle's text (d.mmss, up to 8 places); false when the minutes
// or the seconds read 60 or more or the text has more than 8 places.
bool packedSeconds(double packed, double& seconds) {
    const std::string t = decimalText(packed).toStdString();
    const bool negative = !t.empty() && t[0] == '-';
    const std::size_t point = t.find('.');
    const std::string whole = t.substr(negative ? 1 : 0, point - (negative ? 1 : 0));
    std::string frac = point == std::string::npos ? std::string() : t.substr(point + 1);
    if (frac.size() > 8) return false;
    frac.resize(8, '0');
    const int minutes = std::stoi(frac.substr(0, 2));
    const double s = std::stoi(frac.substr(2, 2)) + std::stoi(frac.substr(4)) / 1e4;
    if (minutes >= 60 || s >= 60) return false;
    seconds = static_cast<double>(std::stoll(whole)) * 3600.0 + minutes * 60 + s;
    if (negative) seconds = -seconds;
    return true;
}

TEST(AngleCarry, DecimalDegreesToPackedKeepsSecondsBelowSixty) {
    // The reported angle: 114 03 59.99691 was written 114.04000000.
    EXPECT_EQ(ZelSheRuXiaoShu(ZelBaiFenDuZhuanDuFenMiao(114 + 3 / 60.0 + 59.99691 / 3600), 8),
              114.03599969);
    EXPECT_EQ(ZelSheRuXiaoShu(ZelBaiFenDuZhuanDuFenMiao(10.99999999), 8), 11);
    int carried = 0;
    for (const int degrees : {0, 1, 39, 89, 114, 179, -39, -117}) {
        for (const int minutes : {0, 41, 59}) {
            // Seconds from 59.99 to 60 in steps of 0.0000037 seconds.
            for (int k = 0; k <= 2700; ++k) {
                const double exactSeconds =
                    degrees * 3600.0 + (degrees < 0 ? -1 : 1) * (minutes * 60 + 59.99 + k * 3.7e-6);
                const double p = ZelDuFenMiaoGuiZheng(
                    ZelSheRuXiaoShu(ZelBaiFenDuZhuanDuFenMiao(exactSeconds / 3600), 8));
                double shown = 0;
                ASSERT_TRUE(packedSeconds(p, shown)) << decimalText(p).toStdString();
                // Half a unit of the last place (0.0001 seconds), plus the doubles' error.
                ASSERT_LE(std::abs(shown - exactSeconds), 0.00005 + 2e-7)
                    << decimalText(p).toStdString() << " for " << exactSeconds;
                carried += std::fmod(std::abs(shown), 60.0) < 1e-9 ? 1 : 0;
            }
        }
    }
    EXPECT_GT(carried, 0);  // the top of the sweep does carry
}

// Forward then back, and across zones: points whose latitude or longitude seconds lie
// in [59.99, 60) come back within a unit of their 8th place, and zone-to-zone grid
// values agree with the direct forward conversion to the millimetre or so.
TEST(AngleCarry, InverseAndZoneToZoneOverADenseSweep) {
    const Ellipsoid& set = beijing1954();
    double worstAngle = 0, worstGrid = 0;
    for (int k = 0; k < 1000; ++k) {
        // Seconds 59.9900 ... 59.9999 on ten latitudes and longitudes.
        const double s = 59.99 + (k % 100) * 1e-4;
        const int base = k / 100;
        for (int which = 0; which < 2; ++which) {
            const double lat = which == 0 ? 30.41 + base * 2 + s / 1e4 : 39.4125536;
            const double lon = which == 1 ? 116.03 + base % 3 * 0.5 + s / 1e4 : 117.0317873;
            double latSeconds = 0, lonSeconds = 0;
            ASSERT_TRUE(packedSeconds(lat, latSeconds));
            ASSERT_TRUE(packedSeconds(lon, lonSeconds));
            for (const ZoneWidth z : {ZoneWidth::Six, ZoneWidth::Three, ZoneWidth::OneAndHalf}) {
                const GridPoint g = toGrid(z, lat, lon, 117, set);
                const GeoPoint back = toGeographic(z, g.x, g.y, set);
                ASSERT_TRUE(back.remark.isEmpty()) << back.remark.toStdString();
                double bs = 0, ls = 0;
                ASSERT_TRUE(packedSeconds(back.lat, bs)) << decimalText(back.lat).toStdString();
                ASSERT_TRUE(packedSeconds(back.lon, ls)) << decimalText(back.lon).toStdString();
                worstAngle =
                    std::max({worstAngle, std::abs(bs - latSeconds), std::abs(ls - lonSeconds)});
                for (const ZoneWidth to :
                     {ZoneWidth::Six, ZoneWidth::Three, ZoneWidth::OneAndHalf}) {
                    const GridPoint direct = toGrid(to, lat, lon, 117, set);
                    const GridPoint via = toGrid(to, back.lat, back.lon, 117, set);
                    worstGrid = std::max(
                        {worstGrid, std::abs(via.x - direct.x), std::abs(via.y - direct.y)});
                }
            }
        }
    }
    EXPECT_LE(worstAngle, 0.0001 + 1e-7);  // one unit of the 8th place: 0.0001 seconds
    EXPECT_LE(worstGrid, 0.004);           // 0.0001 seconds is 3 mm on the ground
}

// The window's zone-to-geographic output never shows 60 seconds.
TEST(AngleCarry, WindowGeographicRowsNeverReadSixty) {
    GkControls c;
    c.withNames = false;
    const Ellipsoid& set = beijing1954();
    QString input;
    for (int k = 0; k < 200; ++k) {
        const double s = 59.995 + k * 2.5e-5;
        const GridPoint g = ZelZhengSuan3(39.4 + s / 1e4, 114.03 + s / 1e4, 114, set);
        input += QStringLiteral("%1,%2\r\n").arg(g.x, 0, 'f', 3).arg(g.y, 0, 'f', 3);
    }
    const GkResult r = ZelZuoBiaoZhuanHuan(GkConversion::Zone3ToGeo, input, QString(), c);
    const QStringList lines = r.output.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 203);
    for (int i = 1; i <= 200; ++i) {
        const QStringList cols = lines[i].split(QStringLiteral(" , "));
        ASSERT_EQ(cols.size(), 2) << lines[i].toStdString();
        for (const QString& col : cols) {
            const QString digits = col.trimmed().section(u'.', 1);
            ASSERT_EQ(digits.size(), 8);
            EXPECT_LT(digits.left(2).toInt(), 60) << col.toStdString();
            EXPECT_LT(digits.mid(2, 2).toInt(), 60) << col.toStdString();
        }
        // Up to 59.9997 seconds the rows keep 03 minutes 59.99.. seconds.
        if (59.995 + (i - 1) * 2.5e-5 <= 59.9997) {
            EXPECT_TRUE(cols[1].startsWith(QStringLiteral("114.035999"))) << cols[1].toStdString();
            EXPECT_TRUE(cols[0].startsWith(QStringLiteral("39.405999"))) << cols[0].toStdString();
        }
    }
}

}  // namespace
}  // namespace hc
