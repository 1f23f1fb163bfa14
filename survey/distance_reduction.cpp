#include "survey/distance_reduction.h"

#include <cmath>
#include <numbers>

#include "survey/gk_options.h"
#include "survey/grid_extras.h"
#include "survey/projection.h"
#include "survey/text_table.h"

namespace hc {
namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

QString lineText(int n) { return QStringLiteral("第 %1 行").arg(n); }

}  // namespace

ReducedObservation reduceObservation(const Observation& o, const ReductionOptions& opt) {
    const double s = o.slope * (1 + opt.ppm * 1e-6);
    const double alpha = (opt.zenith ? 90 - o.angle : o.angle) * kDeg;
    const double d = s * std::cos(alpha);
    const double h = s * std::sin(alpha) + o.instrument - o.target +
                     (1 - opt.refraction) * d * d / (2 * opt.earthRadius);
    return {s, d, h};
}

std::optional<GridScale> gridScaleAt(const GridPosition& p) {
    GkGridOptions o;
    o.extra = true;
    // The zone number in front of the easting decides the central meridian.
    const ConvertedPoint c =
        convertWithOptions(p.zone, std::nullopt, p.x, p.y, 117, ellipsoidOf(p.datum), o);
    if (c.rejected || !(c.k > 0)) return std::nullopt;
    return GridScale{c.k, ZelDuFenMiaoZhuanHuDu(c.u)};
}

std::vector<ReductionLine> readReductionLines(const QString& input) {
    std::vector<ReductionLine> out;
    const QStringList lines = dataLines(input);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QStringList f = splitFields(lines[i]);
        if (f.isEmpty()) continue;
        ReductionLine l;
        l.lineNumber = int(i + 1);
        l.name = f[0];
        const QString where = lineText(l.lineNumber) + QStringLiteral("（%1）").arg(l.name);
        if (f.size() != 3 && f.size() != 4 && f.size() != 5 && f.size() != 7 && f.size() != 8 &&
            f.size() != 9)
            throw FieldError{where + QStringLiteral("应有：名称，斜距，竖直角，仪器高，觇标高"
                                                    "，以及可选的返测斜距，返测竖直角，返测仪器"
                                                    "高，返测觇标高")};
        auto read = [&](qsizetype at, const QString& caption) {
            Observation o;
            if (at + 1 >= f.size() || f[at].isEmpty() || f[at + 1].isEmpty())
                throw FieldError{where + QStringLiteral("缺少%1斜距或竖直角").arg(caption)};
            o.slope = readNumberField(f[at], where + QStringLiteral("的%1斜距").arg(caption));
            if (!(o.slope > 0))
                throw FieldError{where +
                                 QStringLiteral("的%1斜距“%2”不是正数").arg(caption, f[at])};
            o.angle = readPackedField(f[at + 1], where + QStringLiteral("的%1竖直角").arg(caption));
            if (at + 2 < f.size() && !f[at + 2].isEmpty())
                o.instrument =
                    readNumberField(f[at + 2], where + QStringLiteral("的%1仪器高").arg(caption));
            if (at + 3 < f.size() && !f[at + 3].isEmpty())
                o.target =
                    readNumberField(f[at + 3], where + QStringLiteral("的%1觇标高").arg(caption));
            return o;
        };
        l.forward = read(1, QString());
        if (f.size() > 5) l.reverse = read(5, QStringLiteral("返测"));
        out.push_back(l);
    }
    if (out.empty()) throw FieldError{QStringLiteral("没有观测数据")};
    return out;
}

ReductionResult computeReductions(const std::vector<ReductionLine>& lines,
                                  const ReductionOptions& opt) {
    ReductionResult r;
    double radius = opt.earthRadius;
    const Ellipsoid* set = nullptr;
    if (opt.position) {
        r.scale = gridScaleAt(*opt.position);
        if (!r.scale)
            throw FieldError{QStringLiteral("位置 X、Y 不在所选分带的范围内，算不出长度比")};
        set = &ellipsoidOf(opt.position->datum);
        radius = meanRadius(r.scale->latitude, *set);
    }
    if (opt.meanHeight) r.radius = radius;
    for (const ReductionLine& l : lines) {
        ReductionRow row;
        row.name = l.name;
        row.forward = reduceObservation(l.forward, opt);
        row.distance = row.forward.horizontal;
        row.height = row.forward.height;
        if (l.reverse) {
            row.reverse = reduceObservation(*l.reverse, opt);
            row.distance = (row.forward.horizontal + row.reverse->horizontal) / 2;
            row.height = (row.forward.height - row.reverse->height) / 2;
        }
        double d = row.distance;
        if (opt.meanHeight) {
            d = set ? d / heightScale(r.scale->latitude, *opt.meanHeight, *set)
                    : d * radius / (radius + *opt.meanHeight);
            row.ellipsoid = d;
        }
        if (r.scale) row.grid = d * r.scale->k;
        r.rows.push_back(row);
    }
    return r;
}

QString reductionReport(const ReductionResult& r, const ReductionOptions& opt) {
    bool reciprocal = false;
    for (const ReductionRow& row : r.rows) reciprocal = reciprocal || row.reverse;
    const bool ellipsoid = r.rows.front().ellipsoid.has_value();
    const bool grid = r.rows.front().grid.has_value();
    TextTable t;
    QStringList head{QStringLiteral("名称"), QStringLiteral("斜距(米)"), QStringLiteral("平距(米)"),
                     QStringLiteral("高差(米)")};
    if (reciprocal)
        head << QStringLiteral("返测平距") << QStringLiteral("返测高差")
             << QStringLiteral("平距较差") << QStringLiteral("高差较差")
             << QStringLiteral("平均平距") << QStringLiteral("平均高差");
    if (ellipsoid) head << QStringLiteral("椭球面距离");
    if (grid) head << QStringLiteral("高斯平面距离");
    t.addRow(head);
    for (const ReductionRow& row : r.rows) {
        QStringList cells{row.name, fixedText(row.forward.slope, 4),
                          fixedText(row.forward.horizontal, 4), fixedText(row.forward.height, 4)};
        if (reciprocal) {
            if (row.reverse)
                cells << fixedText(row.reverse->horizontal, 4) << fixedText(row.reverse->height, 4)
                      << fixedText(row.forward.horizontal - row.reverse->horizontal, 4)
                      << fixedText(row.forward.height + row.reverse->height, 4);
            else
                cells << QString() << QString() << QString() << QString();
            cells << fixedText(row.distance, 4) << fixedText(row.height, 4);
        }
        if (ellipsoid) cells << fixedText(*row.ellipsoid, 4);
        if (grid) cells << fixedText(*row.grid, 4);
        t.addRow(cells);
    }
    QString out = t.layOut();
    out += QStringLiteral("%1，大气改正 %2 ppm，折光系数 k = %3，地球半径 R = %4 米\r\n")
               .arg(opt.zenith ? QStringLiteral("天顶距") : QStringLiteral("竖直角"),
                    QString::number(opt.ppm), QString::number(opt.refraction),
                    QString::number(opt.earthRadius, 'f', 0));
    if (ellipsoid)
        out += QStringLiteral("平均高程 Hm = %1 米，曲率半径 %2 米\r\n")
                   .arg(fixedText(*opt.meanHeight), fixedText(*r.radius, 0));
    if (r.scale)
        out += QStringLiteral("纬度 %1，长度比 k = %2\r\n")
                   .arg(packedText(r.scale->latitude / kDeg, false),
                        QString::number(r.scale->k, 'f', 10));
    if (grid && !ellipsoid) out += QStringLiteral("没有平均高程：平距直接乘长度比\r\n");
    return out;
}

ReductionRun runReductions(const QString& input, const ReductionOptions& options) {
    ReductionRun run;
    try {
        const ReductionResult r = computeReductions(readReductionLines(input), options);
        run.output = reductionReport(r, options);
    } catch (const FieldError& e) {
        run.output = e.message + QStringLiteral("\r\n");
        run.notices.push_back(Notice{e.message});
        run.failed = true;
    }
    return run;
}

ReductionRun runReductionTexts(const ReductionTexts& t) {
    ReductionOptions o;
    o.zenith = t.angleKind == 1;
    try {
        if (!t.refraction.trimmed().isEmpty())
            o.refraction = readNumberField(t.refraction.trimmed(), QStringLiteral("折光系数"));
        if (!t.ppm.trimmed().isEmpty())
            o.ppm = readNumberField(t.ppm.trimmed(), QStringLiteral("大气改正"));
        if (!t.height.trimmed().isEmpty())
            o.meanHeight = readNumberField(t.height.trimmed(), QStringLiteral("平均高程"));
        const bool hasX = !t.x.trimmed().isEmpty(), hasY = !t.y.trimmed().isEmpty();
        if (hasX != hasY) throw FieldError{QStringLiteral("位置要同时写 X 和 Y")};
        if (hasX) {
            GridPosition p;
            p.x = readNumberField(t.x.trimmed(), QStringLiteral("位置 X"));
            p.y = readNumberField(t.y.trimmed(), QStringLiteral("位置 Y"));
            p.zone = t.zone == 0   ? ZoneWidth::Six
                     : t.zone == 2 ? ZoneWidth::OneAndHalf
                                   : ZoneWidth::Three;
            static const Datum datums[] = {Datum::Beijing1954, Datum::Xian1980, Datum::Wgs84,
                                           Datum::Cgcs2000};
            p.datum = datums[std::clamp(t.datum, 0, 3)];
            o.position = p;
        }
    } catch (const FieldError& e) {
        ReductionRun run;
        run.output = e.message + QStringLiteral("\r\n");
        run.notices.push_back(Notice{e.message});
        run.failed = true;
        return run;
    }
    return runReductions(t.input, o);
}

QString reductionSample() {
    return QStringLiteral(
        "# 名称，斜距，竖直角，仪器高，觇标高[，返测斜距，返测竖直角，返测仪器高，返测觇标高]\r\n"
        "A-B,1234.5678,3.1215,1.520,1.800,1234.5551,-3.1134,1.480,1.650\r\n"
        "B-C,865.4321,-1.0530,1.480,2.000\r\n");
}

}  // namespace hc
