#include "survey/traverse.h"

#include <QHash>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "survey/text_table.h"

namespace hc {
namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

// Bearing of the increment (dx north, dy east), decimal degrees in [0, 360).
double bearingOf(double dx, double dy) {
    double a = std::atan2(dy, dx) / kDeg;
    if (a < 0) a += 360;
    if (a >= 360) a -= 360;
    return a;
}

// An angle difference in decimal degrees brought into (-180, 180].
double wrap180(double a) {
    a = std::fmod(a, 360.0);
    if (a > 180) a -= 360;
    if (a <= -180) a += 360;
    return a;
}

double wrap360(double a) {
    a = std::fmod(a, 360.0);
    if (a < 0) a += 360;
    return a;
}

// The bearing of the side leaving a point from the bearing of the side arriving there
// and the angle observed at the point.
double turn(double in, double angle, AngleSide side) {
    return wrap360(side == AngleSide::Left ? in + angle - 180 : in - angle + 180);
}
// The same backwards: the arriving bearing from the leaving one.
double unturn(double out, double angle, AngleSide side) {
    return wrap360(side == AngleSide::Left ? out - angle + 180 : out + angle - 180);
}

QString pointText(const TraverseLine& l) {
    return QStringLiteral("第 %1 行（点 %2）").arg(l.lineNumber).arg(l.name);
}

bool isOrientation(const TraverseLine& l) { return !l.angle && !l.distance && l.x && l.y; }

}  // namespace

const std::vector<TraverseGrade>& traverseGrades() {
    static const std::vector<TraverseGrade> grades = {
        {QStringLiteral("三等"), 3.6, 55000},       {QStringLiteral("四等"), 5, 35000},
        {QStringLiteral("一级"), 10, 15000},        {QStringLiteral("二级"), 16, 10000},
        {QStringLiteral("三级"), 24, 5000},         {QStringLiteral("图根"), 40, 2000},
        {QStringLiteral("图根（一般）"), 60, 2000},
    };
    return grades;
}

std::vector<TraverseLine> readTraverseLines(const QString& input) {
    std::vector<TraverseLine> out;
    const QStringList lines = dataLines(input);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QStringList f = splitFields(lines[i]);
        if (f.isEmpty()) continue;
        TraverseLine l;
        l.lineNumber = int(i + 1);
        l.name = f[0];
        if (l.name.isEmpty())
            throw FieldError{QStringLiteral("第 %1 行缺少点号").arg(l.lineNumber)};
        if (f.size() > 5)
            throw FieldError{pointText(l) +
                             QStringLiteral("的数据多于 5 项（点号，观测角，边长，X，Y）")};
        const QString where = pointText(l);
        if (f.size() > 1 && !f[1].isEmpty())
            l.angle = readPackedField(f[1], where + QStringLiteral("的观测角"));
        if (f.size() > 2 && !f[2].isEmpty()) {
            l.distance = readNumberField(f[2], where + QStringLiteral("的边长"));
            if (*l.distance <= 0)
                throw FieldError{where + QStringLiteral("的边长“%1”不是正数").arg(f[2])};
        }
        const bool hasX = f.size() > 3 && !f[3].isEmpty();
        const bool hasY = f.size() > 4 && !f[4].isEmpty();
        if (hasX != hasY) throw FieldError{where + QStringLiteral("的已知坐标要同时写 X 和 Y")};
        if (hasX) {
            l.x = readNumberField(f[3], where + QStringLiteral("的 X 坐标"));
            l.y = readNumberField(f[4], where + QStringLiteral("的 Y 坐标"));
        }
        out.push_back(l);
    }
    return out;
}

TraverseResult computeTraverse(const std::vector<TraverseLine>& lines, const TraverseOptions& o) {
    TraverseResult r;
    if (lines.size() < 2) throw FieldError{QStringLiteral("导线至少要有两个点")};
    size_t first = 0;
    size_t last = lines.size() - 1;
    if (lines.size() >= 3 && isOrientation(lines[0]) && lines[1].x) {
        r.backsight = lines[0];
        first = 1;
    }
    if (o.type == TraverseType::Connecting && last >= first + 2 && isOrientation(lines[last]) &&
        lines[last - 1].x) {
        r.foresight = lines[last];
        --last;
    }
    const std::vector<TraverseLine> w(lines.begin() + std::ptrdiff_t(first),
                                      lines.begin() + std::ptrdiff_t(last) + 1);
    const size_t m = w.size() - 1;  // sides
    if (m < 1) throw FieldError{QStringLiteral("导线至少要有一条边")};
    if (!w[0].x) throw FieldError{QStringLiteral("起点 %1 缺少已知坐标").arg(w[0].name)};
    for (size_t i = 0; i < m; ++i)
        if (!w[i].distance)
            throw FieldError{pointText(w[i]) + QStringLiteral("缺少到下一点的边长")};

    const bool startOriented = r.backsight || o.startBearing;
    bool endOriented = false;
    std::vector<size_t> needAngle;
    std::vector<bool> adjustedAngle(m + 1, false);
    if (r.backsight) needAngle.push_back(0);
    switch (o.type) {
        case TraverseType::Loop:
            if (m < 3) throw FieldError{QStringLiteral("闭合导线至少要有三条边")};
            if (w[m].name != w[0].name)
                throw FieldError{
                    QStringLiteral("闭合导线的最后一行应是起点 %1（带它的观测角）").arg(w[0].name)};
            if (!startOriented)
                throw FieldError{
                    QStringLiteral("缺少起始方位：第一行写后视点的坐标，或给出起始边方位角")};
            for (size_t i = 1; i <= m; ++i) {
                needAngle.push_back(i);
                adjustedAngle[i] = true;
            }
            endOriented = true;
            break;
        case TraverseType::Connecting:
            if (!w[m].x) throw FieldError{QStringLiteral("终点 %1 缺少已知坐标").arg(w[m].name)};
            endOriented = r.foresight.has_value();
            if (endOriented && !startOriented)
                throw FieldError{
                    QStringLiteral("缺少起始方位：第一行写后视点的坐标，或给出起始边方位角")};
            if (!startOriented && m < 2)
                throw FieldError{QStringLiteral("无定向附合导线至少要有两条边")};
            for (size_t i = 1; i < m; ++i) needAngle.push_back(i);
            if (endOriented) {
                needAngle.push_back(m);
                for (size_t i : needAngle) adjustedAngle[i] = true;
            }
            break;
        case TraverseType::Open:
            if (!startOriented)
                throw FieldError{
                    QStringLiteral("缺少起始方位：第一行写后视点的坐标，或给出起始边方位角")};
            for (size_t i = 1; i < m; ++i) needAngle.push_back(i);
            for (size_t i = 1; i <= m; ++i)
                if (w[i].x)
                    throw FieldError{
                        pointText(w[i]) +
                        QStringLiteral("有已知坐标：支导线只有起点已知，两端已知请选附合导线")};
            break;
    }
    for (size_t i : needAngle)
        if (!w[i].angle) throw FieldError{pointText(w[i]) + QStringLiteral("缺少观测角")};
    r.noOrientation = !startOriented;

    for (size_t i = 0; i <= m; ++i) {
        TraverseStation s;
        s.name = w[i].name;
        if (std::find(needAngle.begin(), needAngle.end(), i) != needAngle.end())
            s.observed = w[i].angle;
        s.checked = adjustedAngle[i];
        s.distance = i < m ? *w[i].distance : 0;
        r.stations.push_back(s);
        if (i < m) r.totalLength += s.distance;
    }
    if (r.backsight)
        r.backsightBearing = bearingOf(*w[0].x - *r.backsight->x, *w[0].y - *r.backsight->y);

    // Bearings of every side with the current corrections; bearing[m] leaves the end.
    auto bearings = [&](double startBearing) {
        std::vector<double> b(m + 1, 0.0);
        auto angle = [&](size_t i) {
            return *r.stations[i].observed + r.stations[i].correction / 3600.0;
        };
        b[0] = r.backsight ? turn(r.backsightBearing, angle(0), o.angles) : startBearing;
        for (size_t i = 1; i <= m; ++i)
            b[i] = r.stations[i].observed ? turn(b[i - 1], angle(i), o.angles) : 0.0;
        return b;
    };
    auto walk = [&](const std::vector<double>& b) {
        r.stations[0].x = *w[0].x;
        r.stations[0].y = *w[0].y;
        for (size_t i = 0; i < m; ++i) {
            TraverseStation& s = r.stations[i];
            s.bearing = b[i];
            s.dx = s.distance * std::cos(b[i] * kDeg);
            s.dy = s.distance * std::sin(b[i] * kDeg);
            r.stations[i + 1].x = s.x + s.dx;
            r.stations[i + 1].y = s.y + s.dy;
        }
        r.stations[m].bearing = b[m];
    };
    const double given = o.startBearing.value_or(0.0);

    // Angular check.
    double knownEnd = 0;
    if (endOriented) {
        knownEnd = o.type == TraverseType::Loop
                       ? bearings(given)[0]
                       : bearingOf(*r.foresight->x - *w[m].x, *r.foresight->y - *w[m].y);
        r.adjustedAngles = int(std::count(adjustedAngle.begin(), adjustedAngle.end(), true));
        r.fBeta = wrap180(bearings(given)[m] - knownEnd) * 3600.0;
        r.fBetaAllowed = o.allowanceSeconds * std::sqrt(double(r.adjustedAngles));
        r.angleOver = std::fabs(*r.fBeta) > r.fBetaAllowed;
    }
    const bool correctAngles = r.fBeta && !r.angleOver;
    if (correctAngles) {
        const double v = (o.angles == AngleSide::Left ? -1 : 1) * *r.fBeta / r.adjustedAngles;
        for (size_t i = 0; i <= m; ++i)
            if (adjustedAngle[i]) r.stations[i].correction = v;
    }

    double start = given;
    if (r.noOrientation) {
        walk(bearings(0));
        const double dxc = r.stations[m].x - *w[0].x;
        const double dyc = r.stations[m].y - *w[0].y;
        const double dxk = *w[m].x - *w[0].x;
        const double dyk = *w[m].y - *w[0].y;
        if (std::hypot(dxc, dyc) == 0 || std::hypot(dxk, dyk) == 0)
            throw FieldError{QStringLiteral("无定向附合导线的起点和终点重合，无法定向")};
        start = wrap360(bearingOf(dxk, dyk) - bearingOf(dxc, dyc));
    }
    walk(bearings(start));

    // Linear check and the proportional adjustment.
    if (o.type != TraverseType::Open) {
        const double ex = o.type == TraverseType::Loop ? *w[0].x : *w[m].x;
        const double ey = o.type == TraverseType::Loop ? *w[0].y : *w[m].y;
        r.fx = r.stations[m].x - ex;
        r.fy = r.stations[m].y - ey;
        const double fs = std::hypot(*r.fx, *r.fy);
        r.closureOver = fs * o.relativeAllowance > r.totalLength;
        if (!r.angleOver && !r.closureOver) {
            double x = *w[0].x, y = *w[0].y;
            for (size_t i = 0; i < m; ++i) {
                TraverseStation& s = r.stations[i];
                s.vx = -*r.fx * s.distance / r.totalLength;
                s.vy = -*r.fy * s.distance / r.totalLength;
                x += s.dx + s.vx;
                y += s.dy + s.vy;
                r.stations[i + 1].x = x;
                r.stations[i + 1].y = y;
            }
            // The known end stays exactly where it is.
            r.stations[m].x = ex;
            r.stations[m].y = ey;
            r.adjusted = true;
        }
    } else {
        r.adjusted = false;
    }

    if (r.angleOver) {
        r.warnings << QStringLiteral("角度闭合差 %1″ 超过容许值 ±%2″，未作平差")
                          .arg(fixedText(*r.fBeta, 1), fixedText(r.fBetaAllowed, 1));
        // The point whose angle is wrong is where the walk from the start and the walk
        // back from the oriented end meet.
        std::vector<double> gx(m + 1), gy(m + 1);
        double px = o.type == TraverseType::Loop ? *w[0].x : *w[m].x;
        double py = o.type == TraverseType::Loop ? *w[0].y : *w[m].y;
        double out = knownEnd;
        gx[m] = px;
        gy[m] = py;
        for (size_t k = m; k >= 1; --k) {
            const double in = unturn(out, *r.stations[k].observed, o.angles);
            px -= r.stations[k - 1].distance * std::cos(in * kDeg);
            py -= r.stations[k - 1].distance * std::sin(in * kDeg);
            gx[k - 1] = px;
            gy[k - 1] = py;
            out = in;
        }
        size_t best = m + 1;
        double bestGap = 0, worstGap = 0;
        for (size_t k = 0; k <= m; ++k) {
            if (!adjustedAngle[k]) continue;
            const double gap = std::hypot(gx[k] - r.stations[k].x, gy[k] - r.stations[k].y);
            worstGap = std::max(worstGap, gap);
            if (best > m || gap < bestGap) {
                best = k;
                bestGap = gap;
            }
        }
        if (best <= m && bestGap < 0.1 * worstGap)
            r.warnings << QStringLiteral("点 %1 的观测角可能有错（从两端推算，该点坐标相差 %2 米）")
                              .arg(r.stations[best].name, fixedText(bestGap));
    } else if (r.closureOver) {
        const double fs = std::hypot(*r.fx, *r.fy);
        r.warnings << QStringLiteral("导线全长相对闭合差 1/%1 超过容许值 1/%2，未作平差")
                          .arg(QString::number(std::floor(r.totalLength / fs), 'f', 0),
                               QString::number(o.relativeAllowance, 'f', 0));
        // A wrong distance shifts the end along its own side.
        const double theta = bearingOf(*r.fx, *r.fy);
        size_t best = m;
        double bestOff = 0;
        for (size_t i = 0; i < m; ++i) {
            double d = std::fabs(wrap180(r.stations[i].bearing - theta));
            d = std::min(d, 180 - d);
            if (best == m || d < bestOff) {
                best = i;
                bestOff = d;
            }
        }
        if (best < m && bestOff < 3 && !r.noOrientation)
            r.warnings << QStringLiteral("边 %1—%2 的边长可能有错（约差 %3 米）")
                              .arg(r.stations[best].name, r.stations[best + 1].name, fixedText(fs));
    }
    return r;
}

QString traverseReport(const TraverseResult& r, const TraverseOptions& o) {
    QString out;
    const QString side =
        o.angles == AngleSide::Left ? QStringLiteral("左角") : QStringLiteral("右角");
    QString kind;
    switch (o.type) {
        case TraverseType::Loop:
            kind = QStringLiteral("闭合导线");
            break;
        case TraverseType::Connecting:
            kind = r.noOrientation ? QStringLiteral("无定向附合导线") : QStringLiteral("附合导线");
            break;
        case TraverseType::Open:
            kind = QStringLiteral("支导线");
            break;
    }
    out += QStringLiteral("%1，观测%2，%3 条边\r\n").arg(kind, side).arg(r.stations.size() - 1);

    TextTable t;
    t.addRow({QStringLiteral("点号"), QStringLiteral("观测角"), QStringLiteral("改正(″)"),
              QStringLiteral("改正后角"), QStringLiteral("方位角"), QStringLiteral("边长(米)"),
              QStringLiteral("ΔX(米)"), QStringLiteral("ΔY(米)"), QStringLiteral("改正ΔX"),
              QStringLiteral("改正ΔY"),
              r.adjusted ? QStringLiteral("X(米)") : QStringLiteral("X(未平差)"),
              r.adjusted ? QStringLiteral("Y(米)") : QStringLiteral("Y(未平差)")});
    if (r.backsight)
        t.addRow({r.backsight->name,
                  {},
                  {},
                  {},
                  packedText(r.backsightBearing, true),
                  {},
                  {},
                  {},
                  {},
                  {},
                  fixedText(*r.backsight->x),
                  fixedText(*r.backsight->y)});
    double sumObs = 0, sumCorr = 0, sumDx = 0, sumDy = 0, sumVx = 0, sumVy = 0;
    const size_t m = r.stations.size() - 1;
    const bool hasEndBearing = r.stations[m].observed.has_value();
    for (size_t i = 0; i <= m; ++i) {
        const TraverseStation& s = r.stations[i];
        QStringList row{s.name};
        if (s.observed) {
            // With a check the sums are those of the checked angles (not a loop's
            // connecting angle).
            if (s.checked || !r.fBeta) {
                sumObs += *s.observed;
                sumCorr += s.correction;
            }
            row << packedText(*s.observed, false)
                << (s.correction != 0 ? secondsText(s.correction) : QString())
                << packedText(*s.observed + s.correction / 3600.0, false);
        } else {
            row << QString() << QString() << QString();
        }
        const bool hasSide = i < m;
        row << (hasSide || hasEndBearing ? packedText(s.bearing, true) : QString());
        if (hasSide) {
            sumDx += s.dx;
            sumDy += s.dy;
            sumVx += s.vx;
            sumVy += s.vy;
            row << fixedText(s.distance) << fixedText(s.dx) << fixedText(s.dy)
                << (r.adjusted ? fixedText(s.vx) : QString())
                << (r.adjusted ? fixedText(s.vy) : QString());
        } else {
            row << QString() << QString() << QString() << QString() << QString();
        }
        row << fixedText(s.x) << fixedText(s.y);
        t.addRow(row);
    }
    if (r.foresight)
        t.addRow({r.foresight->name,
                  {},
                  {},
                  {},
                  {},
                  {},
                  {},
                  {},
                  {},
                  {},
                  fixedText(*r.foresight->x),
                  fixedText(*r.foresight->y)});
    t.addRow({QStringLiteral("Σ"), packedText(sumObs, false),
              sumCorr != 0 ? secondsText(sumCorr) : QString(),
              packedText(sumObs + sumCorr / 3600.0, false), QString(), fixedText(r.totalLength),
              fixedText(sumDx), fixedText(sumDy), r.adjusted ? fixedText(sumVx) : QString(),
              r.adjusted ? fixedText(sumVy) : QString()});
    out += t.layOut();

    if (r.fBeta) {
        out += QStringLiteral("角度闭合差 fβ = %1″，容许 ±%2″√n = ±%3″（n = %4）%5\r\n")
                   .arg(secondsText(*r.fBeta), fixedText(o.allowanceSeconds, 1),
                        fixedText(r.fBetaAllowed, 1))
                   .arg(r.adjustedAngles)
                   .arg(r.angleOver ? QStringLiteral("，超限") : QString());
    } else if (r.noOrientation) {
        out += QStringLiteral("两端无定向：起始边方位角由两端已知点推算，角度无检核\r\n");
    } else if (o.type == TraverseType::Connecting) {
        out += QStringLiteral("终点无定向：角度无检核\r\n");
    }
    if (r.fx) {
        const double fs = std::hypot(*r.fx, *r.fy);
        const QString k =
            fs > 0 ? QStringLiteral("1/") + QString::number(std::floor(r.totalLength / fs), 'f', 0)
                   : QStringLiteral("0");
        out +=
            QStringLiteral("坐标闭合差 fx = %1 米，fy = %2 米，fs = %3 米，全长 %4 米\r\n")
                .arg(fixedText(*r.fx), fixedText(*r.fy), fixedText(fs), fixedText(r.totalLength));
        out += QStringLiteral("相对闭合差 K = %1，容许 1/%2%3\r\n")
                   .arg(k, QString::number(o.relativeAllowance, 'f', 0),
                        r.closureOver ? QStringLiteral("，超限") : QString());
    } else {
        out += QStringLiteral("支导线无检核条件，坐标未经平差\r\n");
    }
    if (!r.adjusted && o.type != TraverseType::Open) out += QStringLiteral("坐标为未平差值\r\n");
    for (const QString& w : r.warnings) out += w + QStringLiteral("\r\n");
    return out;
}

PlanSketch traverseSketch(const TraverseResult& result, const std::vector<TraverseLine>& lines) {
    PlanSketch sketch;
    SketchLine walk;
    QHash<QString, int> indexOf;  // a loop comes back to its first point: one point only
    const auto lineOf = [&](const QString& name) -> const TraverseLine* {
        for (const TraverseLine& l : lines)
            if (l.name == name) return &l;
        return nullptr;
    };
    const auto add = [&](const QString& name, double x, double y) {
        const auto it = indexOf.constFind(name);
        if (it != indexOf.constEnd()) {
            walk.points.push_back(*it);
            return;
        }
        const TraverseLine* from = lineOf(name);
        const int index = static_cast<int>(sketch.points.size());
        sketch.points.push_back({name, x, y, from ? from->lineNumber : 0});
        indexOf.insert(name, index);
        if (from && from->x && from->y) sketch.known.push_back(index);
        walk.points.push_back(index);
    };
    if (result.backsight && result.backsight->x && result.backsight->y)
        add(result.backsight->name, *result.backsight->x, *result.backsight->y);
    for (const TraverseStation& s : result.stations) add(s.name, s.x, s.y);
    if (result.foresight && result.foresight->x && result.foresight->y)
        add(result.foresight->name, *result.foresight->x, *result.foresight->y);
    if (!result.stations.empty()) sketch.marked = indexOf.value(result.stations.front().name, -1);
    if (walk.points.size() >= 2) sketch.lines.push_back(std::move(walk));
    return sketch;
}

TraverseRun runTraverse(const QString& input, const TraverseOptions& options) {
    TraverseRun run;
    try {
        const std::vector<TraverseLine> lines = readTraverseLines(input);
        const TraverseResult r = computeTraverse(lines, options);
        run.output = traverseReport(r, options);
        run.sketch = traverseSketch(r, lines);
        for (const QString& w : r.warnings) run.notices.push_back(Notice{w});
    } catch (const FieldError& e) {
        run.output = e.message + QStringLiteral("\r\n");
        run.notices.push_back(Notice{e.message});
        run.failed = true;
    }
    return run;
}

}  // namespace hc

namespace hc {

QString traverseSample(TraverseType type) {
    switch (type) {
        case TraverseType::Loop:
            return QStringLiteral(
                "Q,,,5180.250,4890.460\r\n"
                "1,157.3559,218.842,5000.000,5000.000\r\n"
                "2,114.1304,245.563\r\n"
                "3,102.1240,227.813\r\n"
                "4,102.5245,218.497\r\n"
                "5,122.5746,218.775\r\n"
                "1,97.4326\r\n");
        case TraverseType::Connecting:
            return QStringLiteral(
                "A,,,3825.112,2652.337\r\n"
                "B,173.1820,221.155,3536.270,2795.480\r\n"
                "1,159.1311,232.724\r\n"
                "2,150.2656,228.281\r\n"
                "3,220.4815,193.757\r\n"
                "C,175.2006,,3044.650,3461.902\r\n"
                "D,,,2870.505,3650.311\r\n");
        case TraverseType::Open:
            return QStringLiteral(
                "A,,,3825.112,2652.337\r\n"
                "B,173.1820,221.155,3536.270,2795.480\r\n"
                "1,159.1311,232.724\r\n"
                "2\r\n");
    }
    return {};
}

QStringList traverseKindNames() {
    return {QStringLiteral("闭合导线"), QStringLiteral("附合导线"), QStringLiteral("支导线")};
}

TraverseRun runTraverseTexts(const TraverseTexts& t) {
    TraverseOptions o;
    o.type = static_cast<TraverseType>(std::clamp(t.type, 0, 2));
    o.angles = t.angles == 1 ? AngleSide::Right : AngleSide::Left;
    try {
        if (!t.allowance.trimmed().isEmpty())
            o.allowanceSeconds =
                readNumberField(t.allowance.trimmed(), QStringLiteral("角度容许值"));
        if (!t.relative.trimmed().isEmpty())
            o.relativeAllowance =
                readNumberField(t.relative.trimmed(), QStringLiteral("相对闭合差容许值"));
        if (!(o.allowanceSeconds > 0) || !(o.relativeAllowance > 0))
            throw FieldError{QStringLiteral("角度容许值和相对闭合差容许值要是正数")};
        if (!t.startBearing.trimmed().isEmpty())
            o.startBearing =
                readPackedField(t.startBearing.trimmed(), QStringLiteral("起始方位角"));
    } catch (const FieldError& e) {
        TraverseRun run;
        run.output = e.message + QStringLiteral("\r\n");
        run.notices.push_back(Notice{e.message});
        run.failed = true;
        return run;
    }
    return runTraverse(t.input, o);
}

}  // namespace hc
