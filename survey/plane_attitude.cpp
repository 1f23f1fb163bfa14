#include "survey/plane_attitude.h"

#include <algorithm>
#include <cmath>

#include "engine/angle.h"
#include "engine/calc_log.h"
#include "engine/functions.h"
#include "engine/power.h"
#include "engine/rounding.h"
#include "survey/packed_angle.h"
#include "survey/point_steps.h"

namespace hc {
namespace {

// R(v, n): v rounded to n decimal places, half away from zero.
Decimal R(const Num& v, int n) { return requireNumber(ZelSiSheWuRu(v, n)).toDecimal(); }
Decimal R(const Decimal& v, int n) { return R(Num::ofDecimal(v), n); }

Decimal squareRoot(const Decimal& v) {
    static const Decimal half = Decimal::fromParts(5, 1, false);
    return requireNumber(ZelChengFang(Num::ofDecimal(v), Num::ofDecimal(half))).toDecimal();
}

// Degrees of an arctangent: the angle in radians rounded to 9 places, then its
// degrees to 6.
Decimal degreesOf(double radians) {
    return R(R(Num::ofDouble(radians), 9) * degreesPerRadian(), 6);
}

Decimal arctanDegrees(const Decimal& q) { return degreesOf(std::atan(q.toDouble())); }

Num packed(const Decimal& degrees) {
    return Num::ofDecimal(R(requireNumber(ZelTiDuZhuanDu(Num::ofDecimal(degrees))), 6));
}

struct Point {
    Decimal x, y, z;
    bool operator==(const Point&) const = default;
};

Decimal length(const Point& p, const Point& q) {
    const Decimal dx = p.x - q.x;
    const Decimal dy = p.y - q.y;
    const Decimal dz = p.z - q.z;
    return R(squareRoot(dx * dx + dy * dy + dz * dz), 5);
}

bool collinear(const Point& p1, const Point& p2, const Point& p3) {
    const Point u{p1.x - p2.x, p1.y - p2.y, p1.z - p2.z};
    const Point v{p3.x - p2.x, p3.y - p2.y, p3.z - p2.z};
    return u.y * v.x == v.y * u.x && u.z * v.x == v.z * u.x && u.z * v.y == v.z * u.y;
}

bool fail(const QString& message, PlaneAttitude& out) {
    out.notices.append(Notice{message, NoticeButtons::Ok, QString()});
    const Num zero = Num::ofDecimal(Decimal(0));
    out.a = out.b = out.c = out.d = zero;
    return false;
}

}  // namespace

QString identicalPointsMessage() {
    return QStringLiteral("三点坐标数据完全相同 =====> 数据有误----无法计算面体参数？");
}
QString twoIdenticalPointsMessage() {
    return QStringLiteral("三点坐标有两点数据相同 =====> 数据有误----无法计算面体参数？");
}
QString collinearPointsMessage() {
    return QStringLiteral("三点坐标在一条直线上 =====> 数据有误----无法计算面体参数？");
}
QString imprecisePlaneMessage() {
    return QStringLiteral(
        "根据三点坐标推导出来面体方程式---其常数 d 参数精度误差大于1/10毫米---"
        "计算结果有少量误差，请参考使用。");
}
QString attitudeFailureText() {
    return QStringLiteral("提供的坐标数据存在错误，请仔细修改后再计算。");
}
QString tooFewPointsMessage() { return QStringLiteral("点数少于3个，无法完成计算。"); }

bool ZelMianTiChanZhuang(const Num& x1, const Num& y1, const Num& z1, const Num& x2, const Num& y2,
                         const Num& z2, const Num& x3, const Num& y3, const Num& z3,
                         PlaneAttitude& out) {
    out = PlaneAttitude();
    const Point p1{R(x1, 5), R(y1, 5), R(z1, 5)};
    const Point p2{R(x2, 5), R(y2, 5), R(z2, 5)};
    const Point p3{R(x3, 5), R(y3, 5), R(z3, 5)};

    if (p1 == p2 && p1 == p3) return fail(identicalPointsMessage(), out);
    if (p1 == p2 || p1 == p3 || p2 == p3) return fail(twoIdenticalPointsMessage(), out);
    if (collinear(p1, p2, p3)) return fail(collinearPointsMessage(), out);

    const Decimal &X1 = p1.x, &Y1 = p1.y, &Z1 = p1.z;
    const Decimal &X2 = p2.x, &Y2 = p2.y, &Z2 = p2.z;
    const Decimal &X3 = p3.x, &Y3 = p3.y, &Z3 = p3.z;
    const Decimal zero;

    // The Z component of the normal.
    const Decimal c0 = R(Y1 * (X3 - X2) + Y2 * (X1 - X3) + Y3 * (X2 - X1), 15);
    Decimal a, b, c, d;
    if (c0.isZero()) {
        c = 0;
        const Decimal a0 = R(Y1 * (Z3 - Z2) + Y2 * (Z1 - Z3) + Y3 * (Z2 - Z1), 15);
        if (a0.isZero()) {
            a = 0;
            b = 1;
            d = -Y1;
        } else {
            a = 1;
            const Decimal b0 = R(X1 * (Z3 - Z2) + X2 * (Z1 - Z3) + X3 * (Z2 - Z1), 15);
            if (b0.isZero()) {
                b = 0;
                d = -X1;
            } else {
                // The slope of the plane's trace on the horizontal.
                if (Y2 != Y1) b = (X1 - X2) / (Y2 - Y1);
                if (Y3 != Y1) b = (X1 - X3) / (Y3 - Y1);
                if (Y2 != Y3) b = (X3 - X2) / (Y2 - Y3);
                b = R(b, 14);
                d = R(-X1 - b * Y1, 14);
            }
        }
    } else {
        const Decimal c1 = R(X1 * (Y3 - Y2) + X2 * (Y1 - Y3) + X3 * (Y2 - Y1), 15);
        a = R((Y1 * (Z2 - Z3) + Y2 * (Z3 - Z1) + Y3 * (Z1 - Z2)) / c0, 14);
        b = R((X1 * (Z2 - Z3) + X2 * (Z3 - Z1) + X3 * (Z1 - Z2)) / c1, 14);
        c = 1;
        const Decimal d1 = R(-a * X1 - b * Y1 - Z1, 5);
        const Decimal d2 = R(-a * X2 - b * Y2 - Z2, 5);
        const Decimal d3 = R(-a * X3 - b * Y3 - Z3, 5);
        d = R(-a * X1 - b * Y1 - Z1, 14);
        if (d2 != d1 || d3 != d1)
            out.notices.append(Notice{imprecisePlaneMessage(), NoticeButtons::Ok, QString()});
    }

    Decimal lengths[3] = {length(p1, p2), length(p2, p3), length(p1, p3)};
    out.l12 = Num::ofDecimal(lengths[0]);
    out.l23 = Num::ofDecimal(lengths[1]);
    out.l13 = Num::ofDecimal(lengths[2]);
    std::sort(std::begin(lengths), std::end(lengths));
    const Decimal &shortest = lengths[0], &middle = lengths[1], &longest = lengths[2];
    out.reliability = Num::ofDecimal(R(Decimal(100) * (middle + shortest - longest) / longest, 6));

    const Decimal k8000 = 8000;
    Decimal strike, dipDirection, dip;
    if (a.isZero() && b.isZero()) {
        strike = dipDirection = dip = 0;
    } else if (a.isZero() && c.isZero()) {
        strike = 0;
        dipDirection = dip = 90;
    } else if (b.isZero() && c.isZero()) {
        strike = dip = 90;
        dipDirection = 0;
    } else if (c.isZero()) {
        Decimal s =
            X2 != X1 ? arctanDegrees((Y2 - Y1) / (X2 - X1)) : arctanDegrees((Y3 - Y1) / (X3 - X1));
        if (s < zero) s += Decimal(180);
        strike = s;
        dipDirection = s > Decimal(90) ? s - Decimal(90) : s + Decimal(90);
        dip = 90;
    } else if (a.isZero()) {
        strike = 0;
        dipDirection = b > zero ? 90 : 270;
        const Decimal t = R(k8000 / b, 15);
        dip = arctanDegrees(k8000 / t.abs());
    } else if (b.isZero()) {
        strike = 90;
        dipDirection = a > zero ? 0 : 180;
        const Decimal t = R(k8000 / a, 15);
        dip = arctanDegrees(k8000 / t.abs());
    } else {
        // Where the contour line 8000 below the plane's height over the origin
        // crosses the X and Y axes.
        const Decimal ta = R(k8000 / a, 15);
        const Decimal tb = R(k8000 / b, 15);
        const Decimal s = arctanDegrees(tb.abs() / ta.abs());
        const Decimal d90 = 90, d180 = 180, d270 = 270;
        if (ta > zero && tb > zero) {
            strike = d180 - s;
            dipDirection = strike - d90;
        } else if (ta > zero) {
            strike = s;
            dipDirection = s + d270;
        } else if (tb > zero) {
            strike = s;
            dipDirection = s + d90;
        } else {
            strike = d180 - s;
            dipDirection = strike + d90;
        }
        // Horizontal distance from the origin to that contour line.
        const Decimal h = R(ta.abs() * tb.abs() / squareRoot(ta * ta + tb * tb), 15);
        dip = arctanDegrees(k8000 / h);
    }

    out.a = Num::ofDecimal(a);
    out.b = Num::ofDecimal(b);
    out.c = Num::ofDecimal(c);
    out.d = Num::ofDecimal(d);
    out.strike = shownPacked(packed(strike), 180);
    out.dipDirection = shownPacked(packed(dipDirection), 360);
    out.dip = shownPacked(packed(dip), 0);
    return true;
}

QString attitudeHeader(const QString& name1, const QString& name2, const QString& name3) {
    return QStringLiteral("    用序号为  ") + name1 + QStringLiteral("  ") + name2 +
           QStringLiteral("  ") + name3 +
           QStringLiteral(
               "  的三点确定面体 。\r\n\r\n"
               "面体方程式为 a*X + b*Y + c*Z + d = 0 。\r\n"
               "    四个参数分别为: \r\n");
}

QString attitudeReport(const QString& header, const PlaneAttitude& p) {
    QString r = header;
    r += QStringLiteral("    a = ") + p.a.text() + QStringLiteral("\r\n    b = ") + p.b.text() +
         QStringLiteral("\r\n    c = ") + p.c.text() + QStringLiteral("\r\n    d = ") + p.d.text() +
         QStringLiteral("\r\n\r\n");
    const QString angles = QStringLiteral("\r\n    走向为 ") + p.strike.text() +
                           QStringLiteral(" 度\r\n    倾向为 ") + p.dipDirection.text() +
                           QStringLiteral(" 度\r\n    倾角为 ") + p.dip.text() +
                           QStringLiteral(" 度。");
    if (isZeroValue(p.a) && isZeroValue(p.b)) {
        r += QStringLiteral("面体产状为水平 --- 走向0度、倾向0度、倾角0度。");
    } else if (p.dip.toDecimal() == Decimal(90)) {
        r += QStringLiteral("面体产状为垂直 --- 倾角为90度。") + angles;
    } else if (isZeroValue(p.dip)) {
        r += QStringLiteral("面体产状:") + angles;
    } else {
        r += QStringLiteral("面体产状为倾斜状态 --- ////////。") + angles;
    }
    r += QStringLiteral("\r\n\r\n三点间距离顺次分别为：\r\n    ") + p.l12.text() +
         QStringLiteral("  ") + p.l23.text() + QStringLiteral("  ") + p.l13.text() +
         QStringLiteral("  \r\n");
    r += QStringLiteral("    成果的可信度为： ") + p.reliability.text() +
         QStringLiteral("  ( 区间 0 - 100 )。\r\n\r\n");
    r += QStringLiteral(
        "备注：角度为 90.59 59 99格式，走向取 0-180 。\r\n"
        "    可信度接近 0 表示---三点近似为一条直线。\r\n"
        "    可信度接近 100 表示---三点近似成正三角形。");
    return r;
}

namespace {

std::optional<StrikeSymbol> attitudeSymbol(const PlaneAttitude& plane,
                                           std::initializer_list<const PointRow*> rows) {
    try {
        StrikeSymbol s;
        for (const PointRow* row : rows) {
            s.north += coordinateValue(row->x).toDouble() / 3;
            s.east += coordinateValue(row->y).toDouble() / 3;
        }
        s.strike = ZelDuFenMiaoZhuanBaiFenDu(coordinateValue(plane.strike).toDouble());
        s.dipDirection = ZelDuFenMiaoZhuanBaiFenDu(coordinateValue(plane.dipDirection).toDouble());
        s.dip = ZelDuFenMiaoZhuanBaiFenDu(coordinateValue(plane.dip).toDouble());
        if (!std::isfinite(s.north) || !std::isfinite(s.east) || !(s.dip > 0)) return std::nullopt;
        return s;
    } catch (const DecimalError&) {
        return std::nullopt;
    }
}

}  // namespace

void planeAttitudeOfRows(const PointRowWalk& walk, const QString& start, AttitudeRun& run) {
    // Rows 1 and 2, the first row named `start` and the two rows after it: all the
    // list taken as circular can ask for.
    qint64 n = 0, k = 0;
    PointRow row1, row2, named, next1, next2;
    walk([&](const PointRow& row) {
        ++n;
        if (n == 1) row1 = row;
        if (n == 2) row2 = row;
        if (k == 0 && !start.isEmpty() && row.name == start) {
            k = n;
            named = row;
        } else if (k > 0 && n == k + 1) {
            next1 = row;
        } else if (k > 0 && n == k + 2) {
            next2 = row;
        }
    });
    run.start = start;
    QString header;
    PlaneAttitude plane;
    EngineReport report;
    bool told = false;
    try {
        if (n < 3) {
            run.notices.append(Notice{tooFewPointsMessage(), NoticeButtons::Ok, QString()});
            run.output = attitudeFailureText();
            run.failed = true;
            return;
        }
        PointRow first;
        const PointRow* p2 = &row1;
        const PointRow* p3 = &row2;
        if (k == 0) {
            first.name = QStringLiteral("0");
            run.start = QStringLiteral("0");
        } else {
            first = named;
            p2 = k == n ? &row1 : &next1;
            p3 = k == n - 1 ? &row1 : k == n ? &row2 : &next2;
        }
        header = attitudeHeader(first.name, p2->name, p3->name);
        const bool ok = checkedCall(
            [&] {
                return ZelMianTiChanZhuang(first.x, first.y, first.h, p2->x, p2->y, p2->h, p3->x,
                                           p3->y, p3->h, plane);
            },
            report);
        run.notices.append(plane.notices);
        run.notices.append(report.notices);
        told = true;
        if (ok) {
            run.output = attitudeReport(header, plane);
            run.symbol = attitudeSymbol(plane, {&first, p2, p3});
        } else {
            run.output = header + attitudeFailureText();
            run.failed = true;
        }
    } catch (...) {
        if (!told) {  // the calculation itself threw
            run.notices.append(plane.notices);
            run.notices.append(report.notices);
        }
        run.output = header + attitudeFailureText();
        run.failed = true;
    }
}

AttitudeRun runPlaneAttitude(const QString& input, const QString& start) {
    AttitudeRun run;
    run.input = input;
    run.start = start;
    try {
        PointListReading reading = ZelZhengLiDianBiao(input, PointListMode::Grid);
        run.input = reading.text;
        run.notices = std::move(reading.notices);
        const PointList& points = reading.points;
        planeAttitudeOfRows(
            [&](const PointRowVisitor& visit) {
                for (const PointRow& p : points.rows) visit(p);
            },
            start, run);
    } catch (...) {
        run.output = attitudeFailureText();
        run.failed = true;
    }
    return run;
}

}  // namespace hc
