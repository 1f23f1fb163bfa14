#include "survey/intersection.h"

#include <cmath>
#include <numbers>

#include "survey/text_table.h"

namespace hc {
namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

double bearingOf(const PlanePoint& from, const PlanePoint& to) {
    double a = std::atan2(to.y - from.y, to.x - from.x) / kDeg;
    return a < 0 ? a + 360 : a;
}

// The centre of the circle of points P from which the chord AB is seen under the
// clockwise angle `angle` (degrees) from PA to PB, in a frame of east u, north v where
// the angle counterclockwise is -angle.
struct Centre {
    double u, v;
};
Centre centreOf(const PlanePoint& a, const PlanePoint& b, double angle) {
    const double du = b.y - a.y, dv = b.x - a.x;
    const double t = std::sin(-angle * kDeg);
    if (std::fabs(t) < 1e-12) throw FieldError{QStringLiteral("观测角为 0 或 180 度，无法交会")};
    const double cot = std::cos(-angle * kDeg) / t;
    // Half the chord times the cotangent along the chord's left normal (-dv, du).
    return {(a.y + b.y) / 2 - dv * cot / 2, (a.x + b.x) / 2 + du * cot / 2};
}

}  // namespace

PlanePoint forwardIntersection(const PlanePoint& a, const PlanePoint& b, double alpha,
                               double beta) {
    const double gamma = 180 - alpha - beta;
    if (!(alpha > 0) || !(beta > 0) || !(gamma > 0))
        throw FieldError{QStringLiteral("两个角之和要小于 180 度，且都大于 0")};
    const double ab = std::hypot(b.x - a.x, b.y - a.y);
    if (ab == 0) throw FieldError{QStringLiteral("两个已知点重合")};
    const double ap = ab * std::sin(beta * kDeg) / std::sin(gamma * kDeg);
    const double t = (bearingOf(a, b) - alpha) * kDeg;
    return {a.x + ap * std::cos(t), a.y + ap * std::sin(t)};
}

PlanePoint resection(const PlanePoint& a, const PlanePoint& b, const PlanePoint& c, double alpha,
                     double beta) {
    const Centre o1 = centreOf(a, b, alpha);
    const Centre o2 = centreOf(b, c, beta);
    const double eu = o2.u - o1.u, ev = o2.v - o1.v;
    const double len2 = eu * eu + ev * ev;
    const double scale = std::max(
        {std::fabs(a.x - b.x), std::fabs(a.y - b.y), std::fabs(c.x - b.x), std::fabs(c.y - b.y)});
    if (!(len2 > 1e-18 * scale * scale))
        throw FieldError{QStringLiteral("待定点在已知三点的外接圆（危险圆）上，无法后方交会")};
    // P is B reflected in the line joining the two centres.
    const double k = ((b.y - o1.u) * eu + (b.x - o1.v) * ev) / len2;
    const double fu = o1.u + k * eu, fv = o1.v + k * ev;
    return {2 * fv - b.x, 2 * fu - b.y};
}

double dangerCircleRatio(const PlanePoint& a, const PlanePoint& b, const PlanePoint& c,
                         const PlanePoint& p) {
    // Circumcentre of A, B, C.
    const double ax = a.x - c.x, ay = a.y - c.y, bx = b.x - c.x, by = b.y - c.y;
    const double d = 2 * (ax * by - ay * bx);
    if (d == 0) return 1;  // collinear known points: no circle to fear
    const double a2 = ax * ax + ay * ay, b2 = bx * bx + by * by;
    const double ox = (by * a2 - ay * b2) / d, oy = (ax * b2 - bx * a2) / d;
    const double r = std::hypot(ox, oy);
    return std::fabs(std::hypot(p.x - c.x - ox, p.y - c.y - oy) - r) / r;
}

IntersectionRun runIntersection(const QString& input, IntersectionKind kind) {
    IntersectionRun run;
    try {
        const QStringList lines = dataLines(input);
        const int knownCount = kind == IntersectionKind::Resection ? 3 : 2;
        std::vector<PlanePoint> known;
        QStringList knownNames;
        TextTable t;
        t.addRow({QStringLiteral("点号"), QStringLiteral("X(米)"), QStringLiteral("Y(米)"),
                  kind == IntersectionKind::Resection ? QStringLiteral("离危险圆")
                                                      : QStringLiteral("交会角"),
                  QStringLiteral("说明")});
        int computed = 0;
        int weakCount = 0;
        constexpr int kWeakNotices = 5;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QStringList f = splitFields(lines[i]);
            if (f.isEmpty()) continue;
            const QString where = QStringLiteral("第 %1 行（点 %2）").arg(i + 1).arg(f[0]);
            if (f.size() != 3 || f[0].isEmpty())
                throw FieldError{where + QStringLiteral("应有三项：点号和两个数")};
            if (int(known.size()) < knownCount) {
                known.push_back({readNumberField(f[1], where + QStringLiteral("的 X 坐标")),
                                 readNumberField(f[2], where + QStringLiteral("的 Y 坐标"))});
                knownNames << f[0];
                run.sketch.known.push_back(static_cast<int>(run.sketch.points.size()));
                run.sketch.points.push_back({f[0], known.back().x, known.back().y, i + 1});
                t.addRow({f[0], fixedText(known.back().x), fixedText(known.back().y), QString(),
                          QStringLiteral("已知点")});
                continue;
            }
            const double a1 = readPackedField(f[1], where + QStringLiteral("的第一个角"));
            const double a2 = readPackedField(f[2], where + QStringLiteral("的第二个角"));
            PlanePoint p;
            QString measure, note;
            bool weak = false;
            if (kind == IntersectionKind::Resection) {
                p = resection(known[0], known[1], known[2], a1, a2);
                const double ratio = dangerCircleRatio(known[0], known[1], known[2], p);
                measure = fixedText(ratio, 3) + QStringLiteral("R");
                weak = ratio < kDangerRatio;
                if (weak)
                    note =
                        QStringLiteral("点 %1 靠近危险圆（已知三点的外接圆），图形弱，结果不可靠")
                            .arg(f[0]);
            } else {
                const double beta = kind == IntersectionKind::Forward ? a2 : 180 - a1 - a2;
                p = forwardIntersection(known[0], known[1], a1, beta);
                const double gamma = 180 - a1 - beta;
                measure = packedText(gamma, false);
                weak = gamma < kWeakAngle || gamma > 180 - kWeakAngle;
                if (weak)
                    note = QStringLiteral("点 %1 的交会角 %2 不在 30 至 150 度之间，图形弱")
                               .arg(f[0], packedText(gamma, false));
            }
            const int fixed = static_cast<int>(run.sketch.points.size());
            run.sketch.points.push_back({f[0], p.x, p.y, i + 1});
            for (int k = 0; k < knownCount; ++k) run.sketch.lines.push_back({{k, fixed}, false});
            t.addRow({f[0], fixedText(p.x), fixedText(p.y), measure,
                      weak ? QStringLiteral("图形弱") : QString()});
            // A message box each for the first few weak points, then one for the rest.
            if (weak && ++weakCount <= kWeakNotices) run.notices.push_back(Notice{note});
            ++computed;
        }
        if (int(known.size()) < knownCount)
            throw FieldError{QStringLiteral("要先写 %1 个已知点（点号，X，Y）").arg(knownCount)};
        if (weakCount > kWeakNotices)
            run.notices.push_back(Notice{
                QStringLiteral("另有 %1 个点图形弱，见成果表").arg(weakCount - kWeakNotices)});
        if (computed == 0) throw FieldError{QStringLiteral("已知点后面没有待定点的观测角")};
        run.output = t.layOut();
        for (const Notice& n : run.notices) run.output += n.text + QStringLiteral("\r\n");
    } catch (const FieldError& e) {
        run.output = e.message + QStringLiteral("\r\n");
        run.notices = {Notice{e.message}};
        run.failed = true;
        run.sketch = {};
    }
    if (!run.sketch.known.empty()) run.sketch.marked = run.sketch.known.front();
    return run;
}

QString intersectionSample(IntersectionKind kind) {
    switch (kind) {
        case IntersectionKind::Forward:
            return QStringLiteral(
                "A,3646.350,1054.540\r\n"
                "B,3873.960,1772.680\r\n"
                "P,64.0310,59.4628\r\n");
        case IntersectionKind::Side:
            return QStringLiteral(
                "A,3646.350,1054.540\r\n"
                "B,3873.960,1772.680\r\n"
                "P,64.0310,56.1022\r\n");
        case IntersectionKind::Resection:
            return QStringLiteral(
                "A,4374.870,6564.140\r\n"
                "B,5144.470,7312.160\r\n"
                "C,4711.370,8011.030\r\n"
                "P,99.0538,75.5628\r\n");
    }
    return {};
}

}  // namespace hc
