#include "survey/gk_options.h"

#include <QRegularExpression>
#include <cmath>

#include "engine/angle_constants.h"
#include "engine/number.h"
#include "engine/number_reader.h"
#include "survey/decimal_text.h"
#include "survey/grid_extras.h"

namespace hc {
namespace {

double roundHalfAway(double v) { return ZelSheRuXiaoShu(v, 0); }

// Longitude distances of the zone routines: beyond `choice` from the setting a point is
// computed in its own zone, beyond `cross` from its central meridian it gets "……跨带".
double choiceDistance(ZoneWidth w) {
    return w == ZoneWidth::Six ? 4 : w == ZoneWidth::Three ? 3 : 2;
}
double crossDistance(ZoneWidth w) {
    return w == ZoneWidth::Six ? 3 : w == ZoneWidth::Three ? 1.5 : 0.75;
}

// The central meridian the forward zone routine chooses for a longitude (decimal degrees).
double forwardZoneMeridian(ZoneWidth w, double lonDeg, double setting) {
    const double c = std::fabs(lonDeg - setting) > choiceDistance(w) ? lonDeg : setting;
    switch (w) {
        case ZoneWidth::Six:
            return c >= 0 ? 6 * roundHalfAway((c + 3) / 6) - 3 : 6 * roundHalfAway((c - 3) / 6) + 3;
        case ZoneWidth::Three:
            return 3 * roundHalfAway(c / 3);
        case ZoneWidth::OneAndHalf:
            break;
    }
    return 1.5 * roundHalfAway(c / 1.5);
}

// The central meridian of a grid easting with its zone prefix, with the sign of the
// longitudes the inverse routine gives west of Greenwich.
double inverseZoneMeridian(ZoneWidth w, double y) {
    if (w == ZoneWidth::OneAndHalf) return 1.5 * (std::trunc(y / 1000000) + 1);
    const double z = std::trunc(std::fabs(y) / 1000000);
    const double l0 = w == ZoneWidth::Six ? 6 * z - 3 : 3 * z;
    return y < 0 ? -l0 : l0;
}

QString zoneWord(ZoneWidth w) {
    return w == ZoneWidth::Six     ? QStringLiteral("六度带")
           : w == ZoneWidth::Three ? QStringLiteral("三度带")
                                   : QStringLiteral("1.5度带");
}

GridPoint localForward(ZoneWidth w, double lat, double lon, double meridian, const Ellipsoid& set,
                       const GridParameters& grid) {
    if (!(lat >= -90 && lat <= 90 && lon >= -180 && lon <= 180)) {
        return {0, 0,
                w == ZoneWidth::Six
                    ? QStringLiteral("错误溢出?原始经纬度数值超出常规范围 |x|<=90 |y|<=180")
                    : QStringLiteral("错误溢出?原始角度数值超出常规范围 |x|<=90 |y|<=180")};
    }
    const double lonDeg = ZelDuFenMiaoZhuanBaiFenDu(lon);
    const double off = std::fabs(lonDeg - meridian);
    if (!(off <= kMeridianReach)) return {0, 0, farFromMeridianMessage()};
    const double b = ZelDuFenMiaoZhuanHuDu(lat);
    const double l = ZelBaiFenDuZhuanHuDu(lonDeg) - ZelBaiFenDuZhuanHuDu(meridian);
    const GridXY g = ZelTouYingZhengSuan(b, l, set, grid);
    const double y = ZelSheRuXiaoShu(g.y + grid.falseEasting, 3);
    const double x = ZelSheRuXiaoShu(g.x, 3);
    if (!std::isfinite(x) || !std::isfinite(y)) return {0, 0, overflowMessage()};
    if (off > crossDistance(w)) {
        return {x, y, QStringLiteral("……跨带 ") + doubleToText(meridian) + QStringLiteral("度")};
    }
    return {x, y, {}};
}

GeoPoint localInverse(ZoneWidth w, double x, double y, double meridian, const Ellipsoid& set,
                      const GridParameters& grid) {
    const QString head = QStringLiteral("错误?原始") + zoneWord(w) + QStringLiteral("坐标");
    if (x == 0 && y == 0) return {x, y, head + QStringLiteral(" 0 0 超出常规范围!")};
    auto reject = [](const QString& message) { return GeoPoint{0, 0, message}; };
    if (x > 10002200 || x < -10002200)
        return reject(head + QStringLiteral("|X|>10002200 超出常规范围!"));
    if (!std::isfinite(x) || !std::isfinite(y)) return reject(overflowMessage());
    const bool southern = x < 0;
    const double ax = std::fabs(x);
    const double reduced = y - grid.falseEasting;
    LatDiff r{};
    switch (checkedInverse(ax, reduced, set, grid, r)) {
        case InverseFault::BeyondPole:
            return reject(head + QStringLiteral("|X|超过赤道至极点的子午线弧长 超出常规范围!"));
        case InverseFault::FarEasting:
            return reject(head + QStringLiteral("|Y|离中央子午线超过6度经差 超出常规范围!"));
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
    if (!packedResult(meridian + radiansToDegrees(r.l), false, lon)) {
        return reject(overflowMessage());
    }
    return {lat, lon, {}};
}

GeoPoint inverseOnce(ZoneWidth w, double x, double y, double meridian, const Ellipsoid& set,
                     const GkGridOptions& o, const GridParameters& grid) {
    return o.localMeridian ? localInverse(w, x, y, meridian, set, grid)
                           : toGeographic(w, x, y, set, grid);
}

// `l0` receives the central meridian of the input grid (decimal degrees, signed). The
// false northing is taken off first, so that the sign of the northing tells the
// hemisphere as the zone routines expect.
GeoPoint inverseWith(ZoneWidth w, double x, double y, double meridian, const Ellipsoid& set,
                     const GkGridOptions& o, double& l0) {
    l0 = o.localMeridian ? meridian : inverseZoneMeridian(w, y);
    GridParameters grid = o.grid;
    grid.falseNorthing = 0;
    const double xr = x - o.grid.falseNorthing;
    if (o.height == 0) return inverseOnce(w, xr, y, meridian, set, o, grid);
    double s = heightScale(footpointLatitude(std::fabs(xr), set, grid), o.height, set);
    GeoPoint r{0, 0, {}};
    for (int i = 0; i < 4; ++i) {
        grid.k0 = o.grid.k0 * s;
        r = inverseOnce(w, xr, y, meridian, set, o, grid);
        if (isRejection(r.remark)) break;
        const double next = heightScale(ZelDuFenMiaoZhuanHuDu(r.lat), o.height, set);
        if (next == s) break;
        s = next;
    }
    return r;
}

// `l0` receives the central meridian of the output grid (decimal degrees, signed).
GridPoint forwardWith(ZoneWidth w, double lat, double lon, double meridian, const Ellipsoid& set,
                      const GkGridOptions& o, double& l0) {
    GridParameters grid = o.grid;
    if (o.height != 0) grid.k0 *= heightScale(ZelDuFenMiaoZhuanHuDu(lat), o.height, set);
    if (o.localMeridian) {
        l0 = meridian;
        return localForward(w, lat, lon, meridian, set, grid);
    }
    l0 = forwardZoneMeridian(w, ZelDuFenMiaoZhuanBaiFenDu(lon), meridian);
    return toGrid(w, lat, lon, meridian, set, grid);
}

// A setting the window accepts: a multiple of 1.5 within ±180.
bool zoneSetting(double degrees) { return ZelZhongYangJingDu(decimalText(degrees)).valid; }

bool startsWithNumber(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ') ++i;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) ++i;
    if (i < text.size() && text[i] == u'.') ++i;
    return i < text.size() && text[i] >= u'0' && text[i] <= u'9';
}

std::optional<MeridianOption> checked(double degrees) {
    if (!(std::fabs(degrees) <= 180)) return std::nullopt;
    return MeridianOption{degrees, !zoneSetting(degrees)};
}

}  // namespace

bool GkGridOptions::isDefault() const {
    return grid.falseNorthing == kZoneGrid.falseNorthing &&
           grid.falseEasting == kZoneGrid.falseEasting && grid.k0 == kZoneGrid.k0 && height == 0 &&
           !localMeridian && !extra;
}

std::optional<MeridianOption> meridianOption(const QString& text) {
    const QString t = text.trimmed();
    static const QRegularExpression marked(QStringLiteral(
        "^([+-]?)(\\d+)\\s*[°度]\\s*(?:(\\d+)\\s*[′'分])?\\s*(?:(\\d+(?:\\.\\d*)?)\\s*[″\"秒])?$"));
    const QRegularExpressionMatch m = marked.match(t);
    if (m.hasMatch()) {
        const double d = m.captured(2).toDouble();
        const double minutes = m.captured(3).isEmpty() ? 0 : m.captured(3).toDouble();
        const double seconds = m.captured(4).isEmpty() ? 0 : m.captured(4).toDouble();
        if (minutes >= 60 || seconds >= 60) return std::nullopt;
        const double v = d + minutes / 60 + seconds / 3600;
        return checked(m.captured(1) == QLatin1String("-") ? -v : v);
    }
    if (startsWithNumber(t)) {
        const MeridianSetting s = ZelZhongYangJingDu(t);
        if (s.valid) return MeridianOption{s.value, false};
    }
    static const QRegularExpression packed(QStringLiteral("^[+-]?\\d+(?:\\.(\\d*))?$"));
    const QRegularExpressionMatch p = packed.match(t);
    if (!p.hasMatch()) return std::nullopt;
    const QString fraction = p.captured(1) + QStringLiteral("0000");
    if (fraction.mid(0, 2).toInt() >= 60 || fraction.mid(2, 2).toInt() >= 60) return std::nullopt;
    double v = 0;
    if (!textToDouble(t, v)) return std::nullopt;
    return checked(ZelDuFenMiaoZhuanBaiFenDu(survey_detail::roundTo15(v)));
}

bool isRejection(const QString& remark) { return remark.startsWith(QStringLiteral("错误")); }

ConvertedPoint convertWithOptions(std::optional<ZoneWidth> in, std::optional<ZoneWidth> out,
                                  double u, double v, double meridian, const Ellipsoid& set,
                                  const GkGridOptions& o) {
    ConvertedPoint p{u, v, {}, false, 0, 0};
    double l0 = 0;
    if (in) {
        const GeoPoint g = inverseWith(*in, u, v, meridian, set, o, l0);
        p.u = g.lat;
        p.v = g.lon;
        p.remark = g.remark;
        p.rejected = isRejection(g.remark);
    }
    const double lat = p.u;
    const double lon = p.v;
    if (out) {
        const GridPoint g = forwardWith(*out, lat, lon, meridian, set, o, l0);
        p.u = g.x;
        p.v = g.y;
        p.remark = in ? p.remark + u' ' + g.remark : g.remark;
        p.rejected = p.rejected || isRejection(g.remark);
    }
    if (o.extra && !p.rejected) {
        const double b = ZelDuFenMiaoZhuanHuDu(lat);
        const double l = (ZelDuFenMiaoZhuanBaiFenDu(lon) - l0) * (kPiDouble / 180);
        const GridExtras e = gridExtras(b, l, set, o.grid.k0 * heightScale(b, o.height, set));
        if (std::isfinite(e.gamma) && std::isfinite(e.k)) {
            p.gamma = radiansToDegrees(e.gamma);
            p.k = e.k;
        }
    }
    return p;
}

bool appendRowWithOptions(std::optional<ZoneWidth> in, std::optional<ZoneWidth> out, double u,
                          double v, double height, const QString& names, bool xyz, double meridian,
                          const Ellipsoid& set, const GkGridOptions& o, QString& row) {
    const ConvertedPoint p = convertWithOptions(in, out, u, v, meridian, set, o);
    const QString a = out ? formatNorthing(p.u) : formatLatitude(p.u);
    const QString b = out ? formatEasting(p.v) : formatLongitude(p.v);
    QString extra;
    if (o.extra) {
        double gamma = 0;
        if (p.gamma != 0 && !packedResult(p.gamma, false, gamma)) gamma = 0;
        extra = QStringLiteral(" , ") + formatLatitude(gamma) + QStringLiteral(" , ") +
                formatScale(p.k);
    }
    row += ZelShuChuHang(names, xyz ? a : b, xyz ? b : a, height, p.remark, extra);
    return !p.rejected;
}

}  // namespace hc
