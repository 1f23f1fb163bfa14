#include "survey/distance_bearing.h"

#include <GeographicLib/Geodesic.hpp>
#include <cmath>

#include "engine/angle.h"
#include "engine/calc_log.h"
#include "engine/functions.h"
#include "engine/rounding.h"
#include "survey/aligned_columns.h"
#include "survey/point_steps.h"

namespace hc {
namespace {

Num rounded(const Num& v, int places) { return requireNumber(ZelSiSheWuRu(v, places)); }

// A double operand of an operation with a Decimal, converted as the mixed arithmetic
// converts it (engine/mixed_arithmetic.h): its 15 significant digits, and a failure
// from the largest Decimal on.
Decimal decimalOperand(double d) {
    if (!(std::fabs(d) < 7.92281625142642E+28))
        throw DecimalError("double beyond the Decimal range");
    return decimalOfDouble(d);
}

// R(angle x 180/pi, 6) for an angle in radians given as a double.
Decimal roundedDegrees(double radians) {
    return rounded(Num::ofDecimal(decimalOperand(radians) * degreesPerRadian()), 6).toDecimal();
}

Num packed(const Decimal& degrees) {
    return rounded(requireNumber(ZelTiDuZhuanDu(Num::ofDecimal(degrees))), 6);
}

Decimal azimuthDegrees(const Decimal& dx, const Decimal& dy) {
    const Decimal zero;
    if (dx.isZero()) {
        if (dy.isZero()) return zero;
        return dy > zero ? Decimal(90) : Decimal(270);
    }
    if (dy.isZero()) return dx > zero ? zero : Decimal(180);
    const Decimal f = roundedDegrees(std::atan(doubleOfDecimal(dy / dx))).abs();
    if (dx > zero) return dy > zero ? f : Decimal(360) - f;
    return dy > zero ? Decimal(180) - f : f + Decimal(180);
}

// The slope distance and vertical angle from the horizontal distance `hd` (double,
// unrounded) and the exact height difference; the horizontal distance and azimuth
// (decimal degrees) as given.
PointBearing finished(double hd, const Decimal& azimuth, const Decimal& dz) {
    PointBearing b;
    b.horizontalDistance = rounded(Num::ofDouble(hd), 3);
    b.azimuth = shownPacked(packed(azimuth), 360);
    const Decimal slopeSquare = decimalOperand(hd * hd) + dz * dz;
    b.slopeDistance = rounded(Num::ofDouble(std::abs(std::sqrt(doubleOfDecimal(slopeSquare)))), 3);

    Decimal vertical;
    if (dz.isZero()) {
        vertical = Decimal(0);
    } else if (hd == 0) {
        static const Decimal halfPi = Decimal::fromText(kHalfPi);
        const Decimal right = halfPi * degreesPerRadian();
        vertical = rounded(Num::ofDecimal(dz.isNegative() ? -right : right), 6).toDecimal();
    } else {
        const double q = doubleOfDecimal(dz / decimalOperand(hd));
        vertical = roundedDegrees(std::atan(q));
    }
    b.verticalAngle = shownPacked(packed(vertical), 0);
    return b;
}

// The defining semi-major axis (metres) and flattening of each datum's ellipsoid.
const GeographicLib::Geodesic& geodesicOf(Datum datum) {
    static const GeographicLib::Geodesic beijing(6378245.0, 1 / 298.3);
    static const GeographicLib::Geodesic xian(6378140.0, 1 / 298.257);
    static const GeographicLib::Geodesic wgs(6378137.0, 1 / 298.257223563);
    static const GeographicLib::Geodesic cgcs(6378137.0, 1 / 298.257222101);
    switch (datum) {
        case Datum::Xian1980:
            return xian;
        case Datum::Wgs84:
            return wgs;
        case Datum::Cgcs2000:
            return cgcs;
        case Datum::Beijing1954:
            break;
    }
    return beijing;
}

// A packed angle as decimal degrees in a double.
double degreesOfPacked(const Decimal& packedAngle) {
    return doubleOfDecimal(requireNumber(ZelDuZhuanTiDu(Num::ofDecimal(packedAngle))).toDecimal());
}

}  // namespace

PointBearing bearingFrom(const Decimal& x0, const Decimal& y0, const Decimal& z0, const Decimal& x,
                         const Decimal& y, const Decimal& z) {
    const Decimal dx = x - x0;
    const Decimal dy = y - y0;
    const double hd = std::abs(std::sqrt(doubleOfDecimal(dx * dx + dy * dy)));
    return finished(hd, azimuthDegrees(dx, dy), z - z0);
}

PointBearing geodesicBearingFrom(const Decimal& lat0, const Decimal& lon0, const Decimal& z0,
                                 const Decimal& lat, const Decimal& lon, const Decimal& z,
                                 Datum datum) {
    const double phi0 = degreesOfPacked(lat0);
    const double phi = degreesOfPacked(lat);
    if (!(std::fabs(phi0) <= 90) || !(std::fabs(phi) <= 90))
        throw DecimalError("latitude beyond the pole");
    const double lambda0 = degreesOfPacked(lon0);
    const double lambda = degreesOfPacked(lon);
    double s12 = 0, azi1 = 0, azi2 = 0;
    geodesicOf(datum).Inverse(phi0, lambda0, phi, lambda, s12, azi1, azi2);
    if (!std::isfinite(s12) || !std::isfinite(azi1)) throw DecimalError("no geodesic");
    Decimal azimuth;
    if (s12 > 0) {
        if (azi1 < 0) azi1 += 360;
        azimuth = rounded(Num::ofDecimal(decimalOperand(azi1)), 6).toDecimal();
    }
    return finished(std::fabs(s12), azimuth, z - z0);
}

QString bearingFailureMessage() { return QStringLiteral("坐标数据存在错误，请修改后计算。"); }

QString bearingHeading(PointListMode mode) {
    return mode == PointListMode::Grid
               ? QStringLiteral("序号  平距(米)   水平角(度)   斜距(米)   仰俯角(度)")
               : QStringLiteral("序号  椭球面距离(米)   方位角(度)   斜距(米)   仰俯角(度)");
}

namespace {

QString rowsFrom(const PointRowWalk& walk, const QString& origin, const BearingOptions& options,
                 const std::function<void(const BearingTexts&)>& each) {
    // The first walk only finds the origin, so that every row is read before a
    // value can fail.
    PointRow originRow;
    bool found = false;
    walk([&](const PointRow& row) {
        if (found || origin.isEmpty() || row.name != origin) return;
        found = true;
        originRow = row;
    });
    Decimal x0, y0, z0;
    if (found) {
        x0 = coordinateValue(originRow.x);
        y0 = coordinateValue(originRow.y);
        z0 = coordinateValue(originRow.h);
    }
    const bool geographic = options.mode == PointListMode::Geographic;
    walk([&](const PointRow& p) {
        const Decimal x = coordinateValue(p.x), y = coordinateValue(p.y), z = coordinateValue(p.h);
        const PointBearing b = geographic ? geodesicBearingFrom(x0, y0, z0, x, y, z, options.datum)
                                          : bearingFrom(x0, y0, z0, x, y, z);
        each({p.name, b.horizontalDistance.text(), b.azimuth.text(), b.slopeDistance.text(),
              b.verticalAngle.text()});
    });
    return found ? origin : QStringLiteral("0");
}

}  // namespace

QString bearingRows(const PointRowWalk& walk, const QString& origin, const BearingOptions& options,
                    const std::function<void(const BearingTexts&)>& each, Notices& notices) {
    EngineReport report;
    try {
        QString used = checkedCall([&] { return rowsFrom(walk, origin, options, each); }, report);
        notices.append(std::move(report.notices));
        return used;
    } catch (...) {
        notices.append(std::move(report.notices));
        throw;
    }
}

BearingRun runDistanceBearing(const QString& input, const QString& origin,
                              const BearingOptions& options) {
    BearingRun run;
    run.input = input;
    run.origin = origin;
    try {
        PointListReading reading = ZelZhengLiDianBiao(input, options.mode);
        run.input = reading.text;
        run.notices = std::move(reading.notices);
        const PointList& points = reading.points;
        AlignedColumns columns(points.rows.size());
        run.origin = bearingRows(
            [&](const PointRowVisitor& visit) {
                for (const PointRow& p : points.rows) visit(p);
            },
            origin, options,
            [&](const BearingTexts& texts) {
                for (const QString& t : texts) columns.add(t);
            },
            run.notices);
        run.output = columns.layOut({true, true, true, true, true});
    } catch (...) {
        run.notices.append(Notice{bearingFailureMessage(), NoticeButtons::Ok, QString()});
        run.output = QStringLiteral(" ");
        run.failed = true;
    }
    return run;
}

PointNameChoices pointNameChoices(const QString& input, PointListMode mode) {
    PointNameChoices c;
    PointListReading reading = ZelZhengLiDianBiao(input, mode);
    c.entries = pointNameEntries(reading.points);
    c.notices = std::move(reading.notices);
    return c;
}

}  // namespace hc
