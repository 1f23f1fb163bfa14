#include "survey/zones.h"

#include <algorithm>
#include <cmath>

#include "engine/arithmetic.h"
#include "engine/number.h"
#include "engine/number_reader.h"
#include "survey/decimal_text.h"

namespace hc {
namespace {

using Zone = ZoneWidth;

double roundHalfAway(double v) { return ZelSheRuXiaoShu(v, 0); }

GridPoint forward(Zone zone, double lat, double lon, double setting, const Ellipsoid& p,
                  const GridParameters& grid) {
    if (!(lat >= -90 && lat <= 90 && lon >= -180 && lon <= 180)) {
        return {0, 0,
                zone == Zone::Six
                    ? QStringLiteral("错误溢出?原始经纬度数值超出常规范围 |x|<=90 |y|<=180")
                    : QStringLiteral("错误溢出?原始角度数值超出常规范围 |x|<=90 |y|<=180")};
    }
    const double choice = zone == Zone::Six ? 4 : zone == Zone::Three ? 3 : 2;
    const double cross = zone == Zone::Six ? 3 : zone == Zone::Three ? 1.5 : 0.75;

    const double lonDeg = ZelDuFenMiaoZhuanBaiFenDu(lon);
    const double c = std::fabs(lonDeg - setting) > choice ? lonDeg : setting;
    double l0 = 0;
    double z = 0;
    switch (zone) {
        case Zone::Six:
            l0 = c >= 0 ? 6 * roundHalfAway((c + 3) / 6) - 3 : 6 * roundHalfAway((c - 3) / 6) + 3;
            z = l0 >= 0 ? roundHalfAway((l0 + 3) / 6) : roundHalfAway((l0 - 3) / 6);
            break;
        case Zone::Three:
            l0 = 3 * roundHalfAway(c / 3);
            z = roundHalfAway(l0 / 3);
            break;
        case Zone::OneAndHalf:
            l0 = 1.5 * roundHalfAway(c / 1.5);
            z = roundHalfAway(l0 / 1.5 - 1);
            break;
    }
    const double prefix = z * 1000000;
    const double offset = prefix >= 0 ? prefix + grid.falseEasting : prefix - grid.falseEasting;

    if (!std::isfinite(l0)) return {0, 0, overflowMessage()};
    if (!(std::fabs(lonDeg - l0) <= kMeridianReach)) return {0, 0, farFromMeridianMessage()};

    const double b = ZelDuFenMiaoZhuanHuDu(lat);
    // Within +-180 this is ZelDuFenMiaoZhuanHuDu(lon), without converting lon twice.
    const double l = ZelBaiFenDuZhuanHuDu(lonDeg) - ZelBaiFenDuZhuanHuDu(l0);
    const GridXY g = ZelTouYingZhengSuan(b, l, p, grid);
    const double y = ZelSheRuXiaoShu(g.y + offset, 3);
    const double x = ZelSheRuXiaoShu(g.x, 3);
    if (!std::isfinite(x) || !std::isfinite(y)) return {0, 0, overflowMessage()};
    if (!gridReadsBack(zone, x - grid.falseNorthing, y, l0, g.y, grid.falseEasting)) {
        return {0, 0, eastingOutsideZoneMessage()};
    }
    if (std::fabs(lonDeg - l0) > cross) {
        return {x, y, QStringLiteral("……跨带 ") + doubleToText(l0) + QStringLiteral("度")};
    }
    if (l0 != setting) {
        return {x, y, QStringLiteral("⊕⊕中央 ") + doubleToText(l0) + QStringLiteral("度")};
    }
    return {x, y, {}};
}

struct InverseWords {
    QString zeroZero;
    QString tooSmall;
    QString tooLarge;
    QString northing;
    QString beyondPole;  // |x| beyond the meridian quadrant
    QString farEasting;  // too far from the meridian for the inverse series
};

// The remarks of a northing beyond the pole and of an easting too far out, for the
// zone name of the other remarks ("三度带").
QString beyondPoleWords(const QString& zone) {
    return QStringLiteral("错误?原始") + zone +
           QStringLiteral("坐标|X|超过赤道至极点的子午线弧长 超出常规范围!");
}
QString farEastingWords(const QString& zone) {
    return QStringLiteral("错误?原始") + zone +
           QStringLiteral("坐标|Y|离中央子午线超过6度经差 超出常规范围!");
}

const InverseWords& words(Zone zone) {
    static const InverseWords six{QStringLiteral("错误?原始六度带坐标 0 0 超出常规范围!"),
                                  QStringLiteral("错误?原始六度带坐标|Y|<01001000 超出常规范围!"),
                                  QStringLiteral("错误?原始六度带坐标|Y|>30999000 超出常规范围!"),
                                  QStringLiteral("错误?原始六度带坐标|X|>10002200 超出常规范围!"),
                                  beyondPoleWords(QStringLiteral("六度带")),
                                  farEastingWords(QStringLiteral("六度带"))};
    static const InverseWords three{QStringLiteral("错误?原始三度带坐标 0 0 超出常规范围!"),
                                    QStringLiteral("错误?原始三度带坐标|Y|<00001000 超出常规范围!"),
                                    QStringLiteral("错误?原始三度带坐标|Y|>60999000 超出常规范围!"),
                                    QStringLiteral("错误?原始三度带坐标|X|>10002200 超出常规范围!"),
                                    beyondPoleWords(QStringLiteral("三度带")),
                                    farEastingWords(QStringLiteral("三度带"))};
    static const InverseWords oneAndHalf{
        QStringLiteral("错误?原始1.5度带坐标 0 0 超出常规范围!"),
        QStringLiteral("错误?原始1.5度带坐标|Y|<00001000 超出常规范围!"),
        QStringLiteral("错误?原始1.5度带坐标 -121999000<Y<119999000 超出常规范围!"),
        QStringLiteral("错误?原始1.5度带坐标|X|>10002200 超出常规范围!"),
        beyondPoleWords(QStringLiteral("1.5度带")),
        farEastingWords(QStringLiteral("1.5度带"))};
    return zone == Zone::Six ? six : zone == Zone::Three ? three : oneAndHalf;
}

GeoPoint inverse(Zone zone, double x, double y, const Ellipsoid& p, const GridParameters& grid) {
    const InverseWords& w = words(zone);
    if (x == 0 && y == 0) return {x, y, w.zeroZero};
    auto reject = [](const QString& message) { return GeoPoint{0, 0, message}; };
    switch (gridRangeFault(zone, x, y)) {
        case GridRangeFault::EastingTooSmall:
            return reject(w.tooSmall);
        case GridRangeFault::EastingTooLarge:
            return reject(w.tooLarge);
        case GridRangeFault::NorthingTooLarge:
            return reject(w.northing);
        case GridRangeFault::None:
            break;
    }
    if (!std::isfinite(x) || !std::isfinite(y)) return reject(overflowMessage());

    const bool southern = x < 0;
    const double ax = std::fabs(x);
    const auto [l0, reduced, western] = zoneEasting(zone, y, grid.falseEasting);
    if (l0 < -180 || l0 > 180) return reject(QStringLiteral("错误?原始东Y坐标超出常规范围!"));
    LatDiff r{};
    switch (checkedInverse(ax, reduced, p, grid, r)) {
        case InverseFault::BeyondPole:
            return reject(w.beyondPole);
        case InverseFault::FarEasting:
            return reject(w.farEasting);
        case InverseFault::Overflow:
            return reject(overflowMessage());
        case InverseFault::None:
            break;
    }
    double lat = 0;
    double lon = 0;
    if (r.b != 0 && !packedResult(radiansToDegrees(r.b), southern, lat)) {
        return reject(overflowMessage());
    }
    if (!packedResult(l0 + radiansToDegrees(r.l), western, lon)) return reject(overflowMessage());
    return {lat, lon, {}};
}

// Remainder of a by b (the calculator's remainder, on the decimal values) is within
// 1E-09 of zero.
bool multipleOf(double a, double b) {
    if (!std::isfinite(a) || std::fabs(a) > 1e15) return false;
    const Num r = ZelLiangShuYu(Num::ofDecimal(Decimal::fromDouble(a)),
                                Num::ofDecimal(Decimal::fromDouble(b)));
    double v = 0;
    try {
        v = r.toDouble();
    } catch (const DecimalError&) {
        return false;
    }
    return std::fabs(v) <= 1e-9;
}

}  // namespace

GridRangeFault gridRangeFault(ZoneWidth width, double x, double y) {
    if (std::fabs(y) < (width == Zone::Six ? 1001000 : 1000))
        return GridRangeFault::EastingTooSmall;
    const bool tooLarge = width == Zone::Six     ? (y > 30999000 || y < -30999000)
                          : width == Zone::Three ? (y > 60999000 || y < -60999000)
                                                 : (y > 119999000 || y < -121999000);
    if (tooLarge) return GridRangeFault::EastingTooLarge;
    if (x > 10002200 || x < -10002200) return GridRangeFault::NorthingTooLarge;
    return GridRangeFault::None;
}

ZoneEasting zoneEasting(ZoneWidth width, double y, double falseEasting) {
    if (width == Zone::OneAndHalf) {
        const double z = std::trunc(y / 1000000);
        const double prefix = z * 1000000;
        return {1.5 * (z + 1),
                prefix >= 0 ? (y - prefix) - falseEasting : (y - prefix) + falseEasting, false};
    }
    const double ay = std::fabs(y);
    const double z = std::trunc(ay / 1000000);
    return {width == Zone::Six ? 6 * z - 3 : 3 * z, (ay - z * 1000000) - falseEasting, y < 0};
}

bool gridReadsBack(ZoneWidth width, double x, double y, double meridian, double yReduced,
                   double falseEasting) {
    if (gridRangeFault(width, x, y) != GridRangeFault::None) return false;
    const ZoneEasting back = zoneEasting(width, y, falseEasting);
    const double backMeridian = back.western ? -back.meridian : back.meridian;
    const double backReduced = back.western ? -back.reduced : back.reduced;
    return backMeridian == meridian && std::fabs(backReduced - yReduced) <= 0.001;
}

InverseFault checkedInverse(double ax, double reduced, const Ellipsoid& set,
                            const GridParameters& grid, LatDiff& out) {
    // The forward writes the pole's northing rounded to the millimetre, which may lie
    // just beyond the quadrant.
    const double quadrant = meridianQuadrant(set, grid);
    if (ax > quadrant + 0.0005) return InverseFault::BeyondPole;
    const double x = std::min(ax, quadrant);
    if (std::fabs(reduced) > inverseEastingLimit(x, set, grid)) return InverseFault::FarEasting;
    const LatDiff r = ZelTouYingFanSuan(x, reduced, set, grid);
    if (!std::isfinite(r.b) || !std::isfinite(r.l)) return InverseFault::Overflow;
    if (!inverseWithinReach(r.b, r.l, set, grid.k0)) return InverseFault::FarEasting;
    out = r;
    return InverseFault::None;
}

QString overflowMessage() { return QStringLiteral("错误溢出?坐标转换运算时超出范围"); }

QString farFromMeridianMessage() {
    return QStringLiteral("错误?原始经度离中央子午线超过6度 超出常规范围!");
}

QString eastingOutsideZoneMessage() {
    return QStringLiteral(
        "错误?换算后的东坐标超出本带：减去带号后须在 0 至 999999 米之间，否则带号会读错!");
}

bool packedResult(double degrees, bool negate, double& out) {
    double p = ZelSheRuXiaoShu(ZelBaiFenDuZhuanDuFenMiao(degrees), 8);
    p = survey_detail::roundTo15(p);
    // A western zone's point east of Greenwich comes back negative from its magnitude;
    // with the sign put back it is east.
    if (negate) p = -p;
    out = ZelDuFenMiaoGuiZheng(p);
    return std::isfinite(out);
}

GridPoint toGrid(ZoneWidth width, double lat, double lon, double setting, const Ellipsoid& set,
                 const GridParameters& grid) {
    return forward(width, lat, lon, setting, set, grid);
}
GridPoint ZelZhengSuan6(double lat, double lon, double setting, const Ellipsoid& set) {
    return forward(Zone::Six, lat, lon, setting, set, kZoneGrid);
}
GridPoint ZelZhengSuan3(double lat, double lon, double setting, const Ellipsoid& set) {
    return forward(Zone::Three, lat, lon, setting, set, kZoneGrid);
}
GridPoint ZelZhengSuan15(double lat, double lon, double setting, const Ellipsoid& set) {
    return forward(Zone::OneAndHalf, lat, lon, setting, set, kZoneGrid);
}

GeoPoint toGeographic(ZoneWidth width, double x, double y, const Ellipsoid& set,
                      const GridParameters& grid) {
    return inverse(width, x, y, set, grid);
}
GeoPoint ZelFanSuan15(double x, double y, const Ellipsoid& set) {
    return inverse(Zone::OneAndHalf, x, y, set, kZoneGrid);
}
GeoPoint ZelFanSuan3(double x, double y, const Ellipsoid& set) {
    return inverse(Zone::Three, x, y, set, kZoneGrid);
}
GeoPoint ZelFanSuan6(double x, double y, const Ellipsoid& set) {
    return inverse(Zone::Six, x, y, set, kZoneGrid);
}

QString defaultZoneLabel() { return QStringLiteral("对应带号:20 39 77"); }

QString invalidMeridianMessage() {
    return QStringLiteral(
        "你选择的中央子午线经度有错误，请重新选择。应在正负180之间，并且能被 1.5 整除。");
}

double leadingNumber(const QString& text) {
    const qsizetype n = text.size();
    qsizetype start = 0;
    while (start < n && text[start] == u' ') ++start;
    qsizetype i = start;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) ++i;
    bool point = false;
    bool digit = false;
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c >= u'0' && c <= u'9') {
            digit = true;
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    double v = 0;
    if (!digit || !textToDouble(QStringView(text).mid(start, i - start), v)) {
        // Hundreds of digits do not make a double; such a setting is out of range.
        return digit ? HUGE_VAL : 0;
    }
    return v;
}

MeridianSetting ZelZhongYangJingDu(const QString& text) {
    const double v = leadingNumber(text);
    if (v >= -180 && v <= 180 && multipleOf(v, 1.5)) return {v, true};
    return {kDefaultMeridian, false};
}

QString ZelDuiYingDaiHao(double meridian) {
    const double l = meridian;
    auto part = [](bool ok, double n) {
        if (!ok) return QStringLiteral(" --");
        return QStringLiteral(" ") + QString::number(std::llround(n));
    };
    QString label = QStringLiteral("对应带号:");
    label += part(multipleOf(l + 3, 6), l >= 0 ? (l + 3) / 6 : (l - 3) / 6);
    label += part(multipleOf(l, 3), l / 3);
    label += part(multipleOf(l, 1.5), (l - 1.5) / 1.5);
    return label;
}

}  // namespace hc
