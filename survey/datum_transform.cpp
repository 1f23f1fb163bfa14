#include "survey/datum_transform.h"

#include <GeographicLib/Geocentric.hpp>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <stdexcept>
#include <thread>

#include "engine/number_reader.h"
#include "survey/projection.h"
#include "survey/text_table.h"
#include "survey/zones.h"

namespace hc {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180;
constexpr double kArcSecond = kPi / (180.0 * 3600.0);
constexpr double kFalseEasting = 500000;

const GeographicLib::Geocentric& geocentric(Datum datum) {
    static const std::array<GeographicLib::Geocentric, 4> all = [] {
        auto make = [](Datum d) {
            const EllipsoidShape s = ellipsoidShape(d);
            return GeographicLib::Geocentric(s.a, s.f);
        };
        return std::array<GeographicLib::Geocentric, 4>{make(Datum::Beijing1954),
                                                        make(Datum::Xian1980), make(Datum::Wgs84),
                                                        make(Datum::Cgcs2000)};
    }();
    return all[static_cast<std::size_t>(datum)];
}

QString numberText(double v) {
    char buffer[64];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, v);
    return QString::fromLatin1(buffer, r.ptr - buffer);
}

// The inverse of a 3x3 row-major matrix by its adjugate.
void invert3(const double m[9], double out[9]) {
    const double c00 = m[4] * m[8] - m[5] * m[7];
    const double c01 = m[5] * m[6] - m[3] * m[8];
    const double c02 = m[3] * m[7] - m[4] * m[6];
    const double det = m[0] * c00 + m[1] * c01 + m[2] * c02;
    out[0] = c00 / det;
    out[1] = (m[2] * m[7] - m[1] * m[8]) / det;
    out[2] = (m[1] * m[5] - m[2] * m[4]) / det;
    out[3] = c01 / det;
    out[4] = (m[0] * m[8] - m[2] * m[6]) / det;
    out[5] = (m[2] * m[3] - m[0] * m[5]) / det;
    out[6] = c02 / det;
    out[7] = (m[1] * m[6] - m[0] * m[7]) / det;
    out[8] = (m[0] * m[4] - m[1] * m[3]) / det;
}

Xyz times(const double m[9], double x, double y, double z) {
    return {m[0] * x + m[1] * y + m[2] * z, m[3] * x + m[4] * y + m[5] * z,
            m[6] * x + m[7] * y + m[8] * z};
}

}  // namespace

EllipsoidShape ellipsoidShape(Datum datum) {
    switch (datum) {
        case Datum::Beijing1954:
            return {6378245.0, 1 / 298.3};
        case Datum::Xian1980:
            return {6378140.0, 1 / 298.257};
        case Datum::Wgs84:
            return {6378137.0, 1 / 298.257223563};
        case Datum::Cgcs2000:
            break;
    }
    return {6378137.0, 1 / 298.257222101};
}

Xyz geocentricOf(Datum datum, double latDeg, double lonDeg, double h) {
    Xyz p;
    geocentric(datum).Forward(latDeg, lonDeg, h, p.x, p.y, p.z);
    return p;
}

void geodeticOf(Datum datum, const Xyz& p, double& latDeg, double& lonDeg, double& h) {
    geocentric(datum).Reverse(p.x, p.y, p.z, latDeg, lonDeg, h);
}

Xyz northEastUp(const Xyz& d, double latDeg, double lonDeg) {
    const double sb = std::sin(latDeg * kDeg), cb = std::cos(latDeg * kDeg);
    const double sl = std::sin(lonDeg * kDeg), cl = std::cos(lonDeg * kDeg);
    return {-sb * cl * d.x - sb * sl * d.y + cb * d.z, -sl * d.x + cl * d.y,
            cb * cl * d.x + cb * sl * d.y + sb * d.z};
}

Helmert::Helmert(const HelmertParameters& p) : t_{p.tx, p.ty, p.tz} {
    const double k = 1 + p.scalePpm * 1e-6;
    const double rx = p.rx * kArcSecond, ry = p.ry * kArcSecond, rz = p.rz * kArcSecond;
    // Position vector; the coordinate frame matrix is its transpose.
    double r[9] = {1, -rz, ry, rz, 1, -rx, -ry, rx, 1};
    if (p.rotation == Rotation::CoordinateFrame) {
        std::swap(r[1], r[3]);
        std::swap(r[2], r[6]);
        std::swap(r[5], r[7]);
    }
    for (int i = 0; i < 9; ++i) m_[i] = k * r[i];
    invert3(m_, minv_);
}

Xyz Helmert::forward(const Xyz& p) const {
    const Xyz r = times(m_, p.x, p.y, p.z);
    return {r.x + t_[0], r.y + t_[1], r.z + t_[2]};
}

Xyz Helmert::inverse(const Xyz& p) const {
    return times(minv_, p.x - t_[0], p.y - t_[1], p.z - t_[2]);
}

double HeightFit::at(double x, double y) const {
    if (surface == HeightSurface::None) return 0;
    const double u = (x - x0) / 1000, v = (y - y0) / 1000;
    double z = c[0] + c[1] * u + c[2] * v;
    if (surface == HeightSurface::Quadratic) z += c[3] * u * u + c[4] * u * v + c[5] * v * v;
    return z;
}

PlaneSimilarity::PlaneSimilarity(const PlaneParameters& p)
    : p_(p),
      a_((1 + p.scalePpm * 1e-6) * std::cos(p.rotation * kArcSecond)),
      b_((1 + p.scalePpm * 1e-6) * std::sin(p.rotation * kArcSecond)) {}

void PlaneSimilarity::forward(double& x, double& y, double& h) const {
    h += p_.height.at(x, y);
    const double nx = p_.dx + a_ * x - b_ * y;
    const double ny = p_.dy + b_ * x + a_ * y;
    x = nx;
    y = ny;
}

void PlaneSimilarity::inverse(double& x, double& y, double& h) const {
    const double u = x - p_.dx, v = y - p_.dy;
    const double q = a_ * a_ + b_ * b_;
    x = (a_ * u + b_ * v) / q;
    y = (a_ * v - b_ * u) / q;
    h -= p_.height.at(x, y);
}

double zonePrefix(double y) { return std::trunc(y / 1000000) * 1000000; }

QString modelCode(DatumModel model) {
    switch (model) {
        case DatumModel::Seven:
            return QStringLiteral("7");
        case DatumModel::SevenCF:
            return QStringLiteral("7cf");
        case DatumModel::Three:
            return QStringLiteral("3");
        case DatumModel::Four:
            break;
    }
    return QStringLiteral("4");
}

std::optional<DatumModel> modelOfCode(const QString& code) {
    const QString c = code.trimmed().toLower();
    if (c == u"7") return DatumModel::Seven;
    if (c == u"7cf") return DatumModel::SevenCF;
    if (c == u"3") return DatumModel::Three;
    if (c == u"4") return DatumModel::Four;
    return std::nullopt;
}

QString modelName(DatumModel model) {
    switch (model) {
        case DatumModel::Seven:
            return QStringLiteral("七参数（布尔莎，位置矢量法 position vector）");
        case DatumModel::SevenCF:
            return QStringLiteral("七参数（布尔莎，坐标框架法 coordinate frame）");
        case DatumModel::Three:
            return QStringLiteral("三参数（只有平移）");
        case DatumModel::Four:
            break;
    }
    return QStringLiteral("四参数（平面相似变换）");
}

QString parametersText(const DatumParameters& p) {
    QString t = modelCode(p.model);
    auto add = [&t](const char* name, double v) {
        t += u' ' + QLatin1String(name) + u'=' + numberText(v);
    };
    if (p.model == DatumModel::Four) {
        add("dx", p.plane.dx);
        add("dy", p.plane.dy);
        add("r", p.plane.rotation);
        add("s", p.plane.scalePpm);
        const HeightFit& h = p.plane.height;
        if (h.surface != HeightSurface::None) {
            t += h.surface == HeightSurface::Plane ? QStringLiteral(" h=plane")
                                                   : QStringLiteral(" h=quad");
            add("x0", h.x0);
            add("y0", h.y0);
            const int n = h.surface == HeightSurface::Plane ? 3 : 6;
            static const char* const names[] = {"c0", "c1", "c2", "c3", "c4", "c5"};
            for (int i = 0; i < n; ++i) add(names[i], h.c[i]);
        }
        return t;
    }
    add("tx", p.helmert.tx);
    add("ty", p.helmert.ty);
    add("tz", p.helmert.tz);
    if (p.model == DatumModel::Three) return t;
    add("rx", p.helmert.rx);
    add("ry", p.helmert.ry);
    add("rz", p.helmert.rz);
    add("s", p.helmert.scalePpm);
    return t;
}

std::optional<DatumParameters> parseParameters(const QString& text, QString* error) {
    auto fail = [error](const QString& why) {
        if (error) *error = why;
        return std::nullopt;
    };
    static const QRegularExpression gaps(QStringLiteral("[\\s,;，；]+"));
    QString normal = text;
    normal.replace(u'＝', u'=');
    const QStringList parts = normal.split(gaps, Qt::SkipEmptyParts);
    if (parts.isEmpty()) return fail(QStringLiteral("没有参数。"));
    const std::optional<DatumModel> model = modelOfCode(parts[0]);
    if (!model) return fail(QStringLiteral("参数行应以模型代号 7、7cf、3 或 4 开头：") + parts[0]);
    DatumParameters p;
    p.model = *model;
    p.helmert.rotation =
        *model == DatumModel::SevenCF ? Rotation::CoordinateFrame : Rotation::PositionVector;
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const qsizetype eq = parts[i].indexOf(u'=');
        if (eq <= 0) return fail(QStringLiteral("参数应写成 名称=数值：") + parts[i]);
        const QString name = parts[i].left(eq).toLower();
        const QString valueText = parts[i].mid(eq + 1);
        if (*model == DatumModel::Four && name == u"h") {
            const QString v = valueText.toLower();
            if (v == u"plane") {
                p.plane.height.surface = HeightSurface::Plane;
            } else if (v == u"quad") {
                p.plane.height.surface = HeightSurface::Quadratic;
            } else if (v != u"none") {
                return fail(QStringLiteral("高程异常面只能是 plane、quad 或 none：") + valueText);
            }
            continue;
        }
        double v = 0;
        if (!textToDouble(valueText, v) || !std::isfinite(v))
            return fail(QStringLiteral("参数值不是数：") + parts[i]);
        double* target = nullptr;
        if (*model == DatumModel::Four) {
            PlaneParameters& q = p.plane;
            if (name == u"dx") target = &q.dx;
            if (name == u"dy") target = &q.dy;
            if (name == u"r") target = &q.rotation;
            if (name == u"s") target = &q.scalePpm;
            if (name == u"x0") target = &q.height.x0;
            if (name == u"y0") target = &q.height.y0;
            if (name.size() == 2 && name[0] == u'c' && name[1] >= u'0' && name[1] <= u'5')
                target = &q.height.c[name[1].unicode() - u'0'];
        } else {
            HelmertParameters& q = p.helmert;
            if (name == u"tx") target = &q.tx;
            if (name == u"ty") target = &q.ty;
            if (name == u"tz") target = &q.tz;
            if (*model != DatumModel::Three) {
                if (name == u"rx") target = &q.rx;
                if (name == u"ry") target = &q.ry;
                if (name == u"rz") target = &q.rz;
                if (name == u"s") target = &q.scalePpm;
            }
        }
        if (!target)
            return fail(QStringLiteral("模型 %1 没有参数 %2。").arg(modelCode(*model), name));
        *target = v;
    }
    return p;
}

QString parametersDescription(const DatumParameters& p) {
    QString t = QStringLiteral("模型：") + modelName(p.model) + QStringLiteral("\r\n");
    auto line = [&t](const QString& name, double v, int decimals, const QString& unit) {
        t += name + QStringLiteral(" = ") + fixedText(v, decimals) + unit + QStringLiteral("\r\n");
    };
    if (p.model == DatumModel::Four) {
        line(QStringLiteral("平移 dx"), p.plane.dx, 6, QStringLiteral(" 米"));
        line(QStringLiteral("平移 dy"), p.plane.dy, 6, QStringLiteral(" 米"));
        line(QStringLiteral("旋转 r "), p.plane.rotation, 6, QStringLiteral(" 秒"));
        line(QStringLiteral("尺度 s "), p.plane.scalePpm, 6, QStringLiteral(" ppm"));
        if (p.plane.height.surface != HeightSurface::None)
            t += p.plane.height.surface == HeightSurface::Plane
                     ? QStringLiteral("高程异常：平面拟合\r\n")
                     : QStringLiteral("高程异常：二次曲面拟合\r\n");
        return t;
    }
    line(QStringLiteral("平移 tx"), p.helmert.tx, 6, QStringLiteral(" 米"));
    line(QStringLiteral("平移 ty"), p.helmert.ty, 6, QStringLiteral(" 米"));
    line(QStringLiteral("平移 tz"), p.helmert.tz, 6, QStringLiteral(" 米"));
    if (p.model == DatumModel::Three) return t;
    line(QStringLiteral("旋转 rx"), p.helmert.rx, 6, QStringLiteral(" 秒"));
    line(QStringLiteral("旋转 ry"), p.helmert.ry, 6, QStringLiteral(" 秒"));
    line(QStringLiteral("旋转 rz"), p.helmert.rz, 6, QStringLiteral(" 秒"));
    line(QStringLiteral("尺度 s "), p.helmert.scalePpm, 6, QStringLiteral(" ppm"));
    return t;
}

QString pointFaultText(PointFault fault) {
    switch (fault) {
        case PointFault::None:
            return {};
        case PointFault::Range:
            return QStringLiteral("错误?坐标超出常规范围!");
        case PointFault::Hemisphere:
            return QStringLiteral("错误?本功能只用于北半球、东经的点!");
        case PointFault::Reach:
            return QStringLiteral("错误?点离中央子午线超过6度经差!");
        case PointFault::NotFinite:
            break;
    }
    return QStringLiteral("错误溢出?坐标转换运算时超出范围");
}

PointFault gridToGeographic(Datum datum, ZoneWidth zone, double x, double y, double& latDeg,
                            double& lonDeg, double* meridian) {
    if (!std::isfinite(x) || !std::isfinite(y)) return PointFault::NotFinite;
    if (gridRangeFault(zone, x, y) != GridRangeFault::None) return PointFault::Range;
    const ZoneEasting ze = zoneEasting(zone, y, kFalseEasting);
    if (ze.western || x < 0 || ze.meridian < 0) return PointFault::Hemisphere;
    LatDiff r{};
    switch (checkedInverse(x, ze.reduced, ellipsoidOf(datum), kZoneGrid, r)) {
        case InverseFault::None:
            break;
        case InverseFault::BeyondPole:
            return PointFault::Range;
        case InverseFault::FarEasting:
            return PointFault::Reach;
        case InverseFault::Overflow:
            return PointFault::NotFinite;
    }
    // The textbook series of the inverse and of the forward disagree by up to half a
    // millimetre in China; one Newton step on the forward makes the pair round-trip.
    const Ellipsoid& set = ellipsoidOf(datum);
    if (!set.kruger) {
        constexpr double step = 1e-7;  // radians, about 0.6 m
        const GridXY g = ZelTouYingZhengSuan(r.b, r.l, set, kZoneGrid);
        const GridXY gb = ZelTouYingZhengSuan(r.b + step, r.l, set, kZoneGrid);
        const GridXY gl = ZelTouYingZhengSuan(r.b, r.l + step, set, kZoneGrid);
        const double j00 = (gb.x - g.x) / step, j01 = (gl.x - g.x) / step;
        const double j10 = (gb.y - g.y) / step, j11 = (gl.y - g.y) / step;
        const double ex = x - g.x, ey = ze.reduced - g.y;
        const double det = j00 * j11 - j01 * j10;
        if (std::isfinite(det) && det != 0) {
            r.b += (j11 * ex - j01 * ey) / det;
            r.l += (j00 * ey - j10 * ex) / det;
        }
    }
    latDeg = r.b / kDeg;
    lonDeg = ze.meridian + r.l / kDeg;
    if (meridian) *meridian = ze.meridian;
    return PointFault::None;
}

PointFault geographicToGrid(Datum datum, ZoneWidth zone, double latDeg, double lonDeg,
                            std::optional<double> meridian, double& x, double& y) {
    if (!std::isfinite(latDeg) || !std::isfinite(lonDeg)) return PointFault::NotFinite;
    if (!(latDeg >= -90 && latDeg <= 90 && lonDeg >= -180 && lonDeg <= 180))
        return PointFault::Range;
    if (latDeg < 0 || lonDeg < 0) return PointFault::Hemisphere;
    double l0 = 0;
    if (meridian) {
        l0 = *meridian;
    } else if (zone == ZoneWidth::Six) {
        l0 = 6 * std::floor(lonDeg / 6) + 3;
    } else {
        const double w = zone == ZoneWidth::Three ? 3 : 1.5;
        l0 = w * std::round(lonDeg / w);
    }
    if (!(std::fabs(lonDeg - l0) <= kMeridianReach)) return PointFault::Reach;
    const double z = zone == ZoneWidth::Six     ? (l0 + 3) / 6
                     : zone == ZoneWidth::Three ? l0 / 3
                                                : l0 / 1.5 - 1;
    if (z < 0 || z != std::floor(z)) return PointFault::Range;
    const GridXY g =
        ZelTouYingZhengSuan(latDeg * kDeg, (lonDeg - l0) * kDeg, ellipsoidOf(datum), kZoneGrid);
    x = g.x;
    y = z * 1000000 + kFalseEasting + g.y;
    if (!std::isfinite(x) || !std::isfinite(y)) return PointFault::NotFinite;
    return PointFault::None;
}

DatumChain::DatumChain(const CoordSystem& from, const CoordSystem& to, const DatumParameters& p,
                       bool inverse)
    : from_(from),
      to_(to),
      model_(p.model),
      helmert_(p.model == DatumModel::Four ? HelmertParameters{} : p.helmert),
      plane_(p.plane),
      inverse_(inverse) {
    if (model_ == DatumModel::Four && (!from.zone || !to.zone))
        throw std::invalid_argument("four parameters need grids on both sides");
}

PointFault DatumChain::apply(const DatumPoint& in, DatumPoint& out) const {
    if (!std::isfinite(in.x) || !std::isfinite(in.y) || !std::isfinite(in.h))
        return PointFault::NotFinite;
    if (model_ == DatumModel::Four) {
        if (gridRangeFault(*from_.zone, in.x, in.y) != GridRangeFault::None)
            return PointFault::Range;
        const double prefix = zonePrefix(in.y);
        out = in;
        out.y -= prefix;
        if (inverse_) {
            plane_.inverse(out.x, out.y, out.h);
        } else {
            plane_.forward(out.x, out.y, out.h);
        }
        out.y += prefix;
        return std::isfinite(out.x) && std::isfinite(out.y) ? PointFault::None
                                                            : PointFault::NotFinite;
    }
    double lat = in.x, lon = in.y;
    std::optional<double> meridian = to_.meridian;
    if (from_.zone) {
        double inMeridian = 0;
        const PointFault f =
            gridToGeographic(from_.datum, *from_.zone, in.x, in.y, lat, lon, &inMeridian);
        if (f != PointFault::None) return f;
        if (!meridian && to_.zone == from_.zone) meridian = inMeridian;
    } else if (!(lat >= -90 && lat <= 90 && lon >= -180 && lon <= 180)) {
        return PointFault::Range;
    }
    const Xyz p = geocentricOf(from_.datum, lat, lon, in.h);
    const Xyz q = inverse_ ? helmert_.inverse(p) : helmert_.forward(p);
    double h = 0;
    geodeticOf(to_.datum, q, lat, lon, h);
    out.h = h;
    if (!to_.zone) {
        out.x = lat;
        out.y = lon;
        return PointFault::None;
    }
    return geographicToGrid(to_.datum, *to_.zone, lat, lon, meridian, out.x, out.y);
}

void DatumChain::applyMany(const DatumPoint* in, DatumPoint* out, PointFault* faults, std::size_t n,
                           int jobs) const {
    auto run = [&](std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i) {
            const PointFault f = apply(in[i], out[i]);
            if (faults) faults[i] = f;
        }
    };
    const std::size_t workers =
        std::max<std::size_t>(1, std::min<std::size_t>(static_cast<std::size_t>(jobs), n / 1024));
    if (workers <= 1) {
        run(0, n);
        return;
    }
    std::vector<std::thread> threads;
    const std::size_t step = (n + workers - 1) / workers;
    for (std::size_t w = 1; w < workers; ++w)
        threads.emplace_back(run, std::min(n, w * step), std::min(n, (w + 1) * step));
    run(0, std::min(n, step));
    for (std::thread& t : threads) t.join();
}

QString packedDegreesText(double degrees, int secondDecimals) {
    if (!std::isfinite(degrees)) return QStringLiteral("0");
    const bool negative = degrees < 0;
    long long unit = 1;
    for (int i = 0; i < secondDecimals; ++i) unit *= 10;
    const long long total = std::llround(std::fabs(degrees) * 3600.0 * static_cast<double>(unit));
    const long long d = total / (3600 * unit);
    const long long m = (total / (60 * unit)) % 60;
    const long long s = (total / unit) % 60;
    const long long f = total % unit;
    QString t = negative && total != 0 ? QStringLiteral("-") : QString();
    t += QString::number(d) + u'.' +
         QStringLiteral("%1%2").arg(m, 2, 10, QChar(u'0')).arg(s, 2, 10, QChar(u'0'));
    if (secondDecimals > 0) t += QStringLiteral("%1").arg(f, secondDecimals, 10, QChar(u'0'));
    return t;
}

}  // namespace hc
