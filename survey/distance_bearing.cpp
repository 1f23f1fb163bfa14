#include "survey/distance_bearing.h"

#include <cmath>

#include "engine/angle.h"
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

}  // namespace

PointBearing bearingFrom(const Decimal& x0, const Decimal& y0, const Decimal& z0, const Decimal& x,
                         const Decimal& y, const Decimal& z) {
    const Decimal dx = x - x0;
    const Decimal dy = y - y0;
    const Decimal dz = z - z0;
    const double hd = std::abs(std::sqrt(doubleOfDecimal(dx * dx + dy * dy)));

    PointBearing b;
    b.horizontalDistance = rounded(Num::ofDouble(hd), 3);
    b.azimuth = packed(azimuthDegrees(dx, dy));
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
    b.verticalAngle = packed(vertical);
    return b;
}

QString bearingFailureMessage() { return QStringLiteral("坐标数据存在错误，请修改后计算。"); }

BearingRun runDistanceBearing(const QString& input, const QString& origin, PointListMode mode) {
    ScopedCalcLog scope;
    BearingRun run;
    run.input = input;
    run.origin = origin;
    try {
        PointListReading reading = ZelZhengLiDianBiao(input, mode);
        run.input = reading.text;
        const PointList& points = reading.points;

        Decimal x0, y0, z0;
        const int k = points.findName(origin);
        if (k > 0) {
            const PointRow& o = points.rows[k - 1];
            x0 = coordinateValue(o.x);
            y0 = coordinateValue(o.y);
            z0 = coordinateValue(o.h);
        } else {
            run.origin = QStringLiteral("0");
        }

        AlignedColumns columns(points.rows.size());
        for (const PointRow& p : points.rows) {
            const PointBearing b = bearingFrom(x0, y0, z0, coordinateValue(p.x),
                                               coordinateValue(p.y), coordinateValue(p.h));
            columns.add(p.name);
            columns.add(b.horizontalDistance.text());
            columns.add(b.azimuth.text());
            columns.add(b.slopeDistance.text());
            columns.add(b.verticalAngle.text());
        }
        run.output = columns.layOut({true, true, true, true, true});
    } catch (...) {
        calcLog().notify(Notice{bearingFailureMessage(), NoticeButtons::Ok, QString()});
        run.output = QStringLiteral(" ");
        run.failed = true;
    }
    run.notices = scope.log().notices;
    return run;
}

PointNameChoices pointNameChoices(const QString& input, PointListMode mode) {
    ScopedCalcLog scope;
    PointNameChoices c;
    c.entries = pointNameEntries(ZelZhengLiDianBiao(input, mode).points);
    c.notices = scope.log().notices;
    return c;
}

}  // namespace hc
