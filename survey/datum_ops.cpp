#include "survey/datum_ops.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "engine/number_reader.h"
#include "survey/datum_fit.h"
#include "survey/point_list.h"
#include "survey/projection.h"
#include "survey/text_table.h"

namespace hc {
namespace {

constexpr int kProblemsShown = 10;

QString lineProblem(long long line, const QString& what) {
    return QStringLiteral("第 %1 行：").arg(line) + what;
}

// The first problems, one a line, and how many there are in all when there are more.
QString problemsText(const QString& heading, const QStringList& problems, long long count = -1) {
    if (count < 0) count = problems.size();
    QString t = heading;
    for (qsizetype i = 0; i < problems.size() && i < kProblemsShown; ++i)
        t += QStringLiteral("\n") + problems[i];
    if (count > kProblemsShown) t += QStringLiteral("\n……共 %1 处。").arg(count);
    return t;
}

void addNotice(Notices& notices, const QString& text) {
    notices.append(Notice{text, NoticeButtons::Ok, QString()});
}

// Columns as a monospaced CJK face shows them: Chinese characters take two.
int displayWidth(const QString& text) {
    int w = 0;
    for (QChar c : text) w += c.unicode() >= 0x2E80 ? 2 : 1;
    return w;
}
QString padded(const QString& text, int width) {
    const int w = displayWidth(text);
    return w >= width ? text + u' ' : text + QString(width - w, u' ');
}
QString rightAligned(const QString& text, int width) {
    const int w = displayWidth(text);
    return w >= width ? text : QString(width - w, u' ') + text;
}

}  // namespace

DatumPointsReading readDatumPoints(const QString& text, bool geographic, long long rowLimit,
                                   long long firstLine) {
    DatumPointsReading r;
    static const QRegularExpression breaks(QStringLiteral("\r\n|\n|\r"));
    const QStringList lines = text.split(breaks);
    PointRowReader cleaner(PointListMode::Grid);
    long long skipped = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const long long lineNo = firstLine + i;
        QString cleaned;
        cleaner.clean(lines[i], cleaned);
        if (cleaned.trimmed().isEmpty()) continue;
        if (static_cast<long long>(r.points.size()) >= rowLimit) {
            ++skipped;
            continue;
        }
        const QStringList fields = cleaned.split(u',');
        if (fields.size() < 3) {
            r.problems << lineProblem(lineNo, QStringLiteral("应写 点号，X，Y，H，用逗号分隔。"));
            continue;
        }
        NamedPoint p;
        p.name = fields[0].trimmed();
        p.line = lineNo;
        double v[3] = {0, 0, 0};
        bool ok = true;
        for (int k = 0; k < 3 && ok; ++k) {
            const QString f = k < fields.size() - 1 ? fields[k + 1].trimmed() : QString();
            if (k == 2 && f.isEmpty()) break;  // no height: 0
            ok = textToDouble(f, v[k]) && std::isfinite(v[k]);
        }
        if (!ok) {
            r.problems << lineProblem(lineNo, QStringLiteral("X、Y 或 H 不是数，此行没有读入。"));
            continue;
        }
        if (geographic) {
            if (packedBeyondSixty(v[0]) || packedBeyondSixty(v[1])) {
                r.problems << lineProblem(
                    lineNo, QStringLiteral("度分秒的分或秒不小于 60，此行没有读入。"));
                continue;
            }
            v[0] = ZelDuFenMiaoZhuanBaiFenDu(v[0]);
            v[1] = ZelDuFenMiaoZhuanBaiFenDu(v[1]);
        }
        p.point = {v[0], v[1], v[2]};
        r.points.append(p);
    }
    if (skipped)
        r.problems
            << QStringLiteral("只读入前 %1 个点，其余 %2 行没有读入。").arg(rowLimit).arg(skipped);
    return r;
}

QString unreadLinesText(const QStringList& problems, long long count) {
    return problemsText(QStringLiteral("以下数据没有用于计算："), problems, count);
}

bool splitCommonPoints(const QString& text, QString& source, QString& target) {
    static const QRegularExpression separator(QStringLiteral("^[ \\t]*[=＝]+[ \\t]*$"),
                                              QRegularExpression::MultilineOption);
    const QRegularExpressionMatch m = separator.match(text);
    if (!m.hasMatch()) return false;
    source = text.left(m.capturedStart());
    target = text.mid(m.capturedEnd());
    return true;
}

namespace {

struct SidePoint {
    QString name;
    double lat = 0, lon = 0;  // degrees
    DatumPoint input;         // as read
    long long line = 0;       // of its text, from 1
};

// Latitude and longitude of a point as read on `side`; the fault when it has none.
PointFault geographicOf(const CoordSystem& side, const DatumPoint& p, double& lat, double& lon) {
    if (!side.zone) {
        lat = p.x;
        lon = p.y;
        if (!(lat >= -90 && lat <= 90 && lon >= -180 && lon <= 180)) return PointFault::Range;
        return PointFault::None;
    }
    return gridToGeographic(side.datum, *side.zone, p.x, p.y, lat, lon);
}

QString sideName(const CoordSystem& side) {
    QString t = datumControlText(side.datum) + u' ';
    if (!side.zone) return t + QStringLiteral("经纬度");
    switch (*side.zone) {
        case ZoneWidth::OneAndHalf:
            return t + QStringLiteral("1.5度带");
        case ZoneWidth::Three:
            return t + QStringLiteral("3度带");
        case ZoneWidth::Six:
            break;
    }
    return t + QStringLiteral("6度带");
}

// The common points at their target positions with their plane residuals.
PlanSketch residualSketch(const CoordSystem& target, const QList<SidePoint>& from,
                          const QList<SidePoint>& to, const std::vector<Xyz>& residuals) {
    PlanSketch sketch;
    double lat0 = 0, lon0 = 0;
    for (const SidePoint& p : to) {
        lat0 += p.lat / static_cast<double>(to.size());
        lon0 += p.lon / static_cast<double>(to.size());
    }
    // Metres per degree on a sphere of the mean earth radius: enough for a sketch.
    constexpr double kMetresPerDegree = 6371000.0 * std::numbers::pi / 180;
    for (qsizetype i = 0; i < to.size(); ++i) {
        SketchPoint p;
        p.name = from[i].name;
        p.line = from[i].line;
        if (target.zone) {
            p.north = to[i].input.x;
            p.east = to[i].input.y;
        } else {
            p.north = (to[i].lat - lat0) * kMetresPerDegree;
            p.east =
                (to[i].lon - lon0) * kMetresPerDegree * std::cos(lat0 * std::numbers::pi / 180);
        }
        const Xyz& r = residuals[static_cast<std::size_t>(i)];
        sketch.vectors.push_back({static_cast<int>(i), r.x, r.y});
        sketch.points.push_back(std::move(p));
    }
    exaggerateVectors(sketch);
    return sketch;
}

}  // namespace

DatumFitRun runDatumFit(const QString& sourceText, const QString& targetText,
                        const DatumFitSettings& settings) {
    DatumFitRun run;
    const DatumModel model = settings.model;
    const HeightSurface height = model == DatumModel::Four ? settings.height : HeightSurface::None;
    if (model == DatumModel::Four && (!settings.from.zone || !settings.to.zone)) {
        addNotice(run.notices, QStringLiteral("四参数是公里网坐标之间的平面变换，两边都应选公里网"
                                              "（1.5、3 或 6 度带）坐标。"));
        return run;
    }
    const DatumPointsReading src = readDatumPoints(sourceText, !settings.from.zone);
    const DatumPointsReading dst = readDatumPoints(targetText, !settings.to.zone);
    QStringList problems;
    for (const QString& p : src.problems) problems << QStringLiteral("原坐标系 ") + p;
    for (const QString& p : dst.problems) problems << QStringLiteral("目标坐标系 ") + p;

    QHash<QString, qsizetype> targetIndex;
    for (qsizetype i = 0; i < dst.points.size(); ++i)
        if (!targetIndex.contains(dst.points[i].name)) targetIndex.insert(dst.points[i].name, i);

    QList<SidePoint> from, to;
    QHash<QString, bool> seen;
    for (const NamedPoint& s : src.points) {
        if (seen.contains(s.name)) {
            problems << QStringLiteral("原坐标系 ") +
                            lineProblem(s.line,
                                        QStringLiteral("点号 %1 重复，只用第一个。").arg(s.name));
            continue;
        }
        seen.insert(s.name, true);
        const auto it = targetIndex.constFind(s.name);
        if (it == targetIndex.constEnd()) {
            problems << QStringLiteral("点 %1 只在原坐标系中，不是公共点。").arg(s.name);
            continue;
        }
        const NamedPoint& t = dst.points[*it];
        SidePoint a{s.name, 0, 0, s.point, s.line}, b{t.name, 0, 0, t.point, t.line};
        const PointFault fa = geographicOf(settings.from, s.point, a.lat, a.lon);
        const PointFault fb = geographicOf(settings.to, t.point, b.lat, b.lon);
        if (fa != PointFault::None || fb != PointFault::None) {
            problems << QStringLiteral("点 %1：").arg(s.name) +
                            pointFaultText(fa != PointFault::None ? fa : fb);
            continue;
        }
        from.append(a);
        to.append(b);
    }
    if (!problems.isEmpty())
        addNotice(run.notices, problemsText(QStringLiteral("以下数据没有用于计算："), problems));

    std::vector<Xyz> residuals;  // north, east, up
    FitStatistics stats, heightStats;
    FitFault fault = FitFault::None;
    bool heightFault = false;
    DatumParameters& params = run.parameters;
    params.model = model;
    if (model == DatumModel::Four) {
        std::vector<Xyz> a, b;
        QStringList otherZone;
        for (qsizetype i = 0; i < from.size(); ++i) {
            const double prefix = zonePrefix(from[i].input.y);
            if (zonePrefix(to[i].input.y) != prefix) otherZone << from[i].name;
            a.push_back({from[i].input.x, from[i].input.y - prefix, from[i].input.h});
            b.push_back({to[i].input.x, to[i].input.y - zonePrefix(to[i].input.y), to[i].input.h});
        }
        if (!otherZone.isEmpty())
            addNotice(
                run.notices,
                QStringLiteral("这些公共点两边的带号不同，四参数按带内坐标计算，转换后的点沿用"
                               "原坐标的带号：") +
                    otherZone.mid(0, kProblemsShown).join(QStringLiteral("、")));
        const PlaneFit fit = fitPlane(a, b, height);
        fault = fit.fault;
        heightFault = fit.heightFault;
        params.plane = fit.parameters;
        residuals = fit.residuals;
        stats = fit.statistics;
        heightStats = fit.heightStatistics;
    } else {
        std::vector<Xyz> a, b;
        for (qsizetype i = 0; i < from.size(); ++i) {
            a.push_back(
                geocentricOf(settings.from.datum, from[i].lat, from[i].lon, from[i].input.h));
            b.push_back(geocentricOf(settings.to.datum, to[i].lat, to[i].lon, to[i].input.h));
        }
        const HelmertFit fit = fitHelmert(
            a, b,
            model == DatumModel::SevenCF ? Rotation::CoordinateFrame : Rotation::PositionVector,
            model == DatumModel::Three);
        fault = fit.fault;
        params.helmert = fit.parameters;
        stats = fit.statistics;
        for (std::size_t i = 0; i < fit.residuals.size(); ++i) {
            const qsizetype k = static_cast<qsizetype>(i);
            residuals.push_back(northEastUp(fit.residuals[i], to[k].lat, to[k].lon));
        }
    }
    if (fault != FitFault::None) {
        addNotice(run.notices,
                  fitFaultText(fault, model, heightFault ? height : HeightSurface::None));
        return run;
    }
    run.ok = true;
    run.parameterLine = parametersText(params);
    run.sketch = residualSketch(settings.to, from, to, residuals);

    QString& t = run.output;
    t += QStringLiteral("原坐标系：") + sideName(settings.from) +
         QStringLiteral("    目标坐标系：") + sideName(settings.to) + QStringLiteral("\r\n");
    t += parametersDescription(params);
    t += QStringLiteral("参数行：") + run.parameterLine + QStringLiteral("\r\n");
    const bool withHeight = model != DatumModel::Four || height != HeightSurface::None;
    auto rmsText = [](const FitStatistics& s) {
        return s.rms ? fixedText(*s.rms, 4) + QStringLiteral(" 米")
                     : QStringLiteral("—（没有多余观测）");
    };
    t += QStringLiteral("公共点 %1 个，单位权中误差 %2，多余观测 %3\r\n")
             .arg(from.size())
             .arg(rmsText(stats))
             .arg(stats.redundancy);
    if (height != HeightSurface::None)
        t += QStringLiteral("高程拟合中误差 %1，多余观测 %2\r\n")
                 .arg(rmsText(heightStats))
                 .arg(heightStats.redundancy);
    t += QStringLiteral("残差 = 变换值 - 目标值（米），* 表示超过三倍中误差\r\n");
    t += padded(QStringLiteral("点号"), 12) + rightAligned(QStringLiteral("北"), 12) +
         rightAligned(QStringLiteral("东"), 12) + rightAligned(QStringLiteral("高"), 12) +
         QStringLiteral("\r\n");
    for (qsizetype i = 0; i < from.size(); ++i) {
        const Xyz& r = residuals[static_cast<std::size_t>(i)];
        bool marked = false;
        if (stats.rms) {
            const double limit = 3 * *stats.rms;
            marked = std::fabs(r.x) > limit || std::fabs(r.y) > limit ||
                     (model != DatumModel::Four && std::fabs(r.z) > limit);
        }
        if (heightStats.rms && std::fabs(r.z) > 3 * *heightStats.rms) marked = true;
        t += padded(from[i].name, 12) + rightAligned(fixedText(r.x, 4), 12) +
             rightAligned(fixedText(r.y, 4), 12) +
             rightAligned(withHeight ? fixedText(r.z, 4) : QStringLiteral("—"), 12) +
             (marked ? QStringLiteral("  *") : QString()) + QStringLiteral("\r\n");
    }
    return run;
}

QString datumPointLine(const QString& name, const DatumPoint& p, PointFault fault,
                       const CoordSystem& to) {
    if (fault != PointFault::None) return name + u',' + pointFaultText(fault);
    if (to.zone)
        return name + u',' + fixedText(p.x, 4) + u',' + fixedText(p.y, 4) + u',' +
               fixedText(p.h, 4);
    return name + u',' + packedDegreesText(p.x, 6) + u',' + packedDegreesText(p.y, 6) + u',' +
           fixedText(p.h, 4);
}

DatumApplyRun runDatumApply(const QString& pointsText, const QString& parameterLine,
                            const DatumApplySettings& settings, long long rowLimit) {
    DatumApplyRun run;
    QString error;
    const std::optional<DatumParameters> params = parseParameters(parameterLine, &error);
    if (!params) {
        addNotice(run.notices, QStringLiteral("参数行有错误：") + error);
        return run;
    }
    if (params->model == DatumModel::Four && (!settings.from.zone || !settings.to.zone)) {
        addNotice(run.notices, QStringLiteral("四参数是公里网坐标之间的平面变换，两边都应选公里网"
                                              "（1.5、3 或 6 度带）坐标。"));
        return run;
    }
    const DatumPointsReading reading = readDatumPoints(pointsText, !settings.from.zone, rowLimit);
    if (!reading.problems.isEmpty())
        addNotice(run.notices,
                  problemsText(QStringLiteral("以下数据没有用于计算："), reading.problems));
    if (reading.points.isEmpty()) {
        addNotice(run.notices, QStringLiteral("没有发现坐标数据！"));
        return run;
    }
    const DatumChain chain(settings.from, settings.to, *params, settings.inverse);
    const std::size_t n = static_cast<std::size_t>(reading.points.size());
    std::vector<DatumPoint> in(n), out(n);
    std::vector<PointFault> faults(n);
    for (std::size_t i = 0; i < n; ++i) in[i] = reading.points[static_cast<qsizetype>(i)].point;
    chain.applyMany(in.data(), out.data(), faults.data(), n, settings.jobs);
    for (std::size_t i = 0; i < n; ++i) {
        run.output += datumPointLine(reading.points[static_cast<qsizetype>(i)].name, out[i],
                                     faults[i], settings.to) +
                      QStringLiteral("\r\n");
    }
    run.ok = true;
    return run;
}

QString saveParametersFile(const QString& path, const QString& parameterLine) {
    QString error;
    const std::optional<DatumParameters> p = parseParameters(parameterLine, &error);
    if (!p) return QStringLiteral("参数行有错误：") + error;
    QFile f(path);
    const QByteArray bytes = QByteArrayLiteral("# hechuan datum parameters: ") +
                             modelName(p->model).toUtf8() + '\n' + parametersText(*p).toUtf8() +
                             '\n';
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size() ||
        !f.flush())
        return QStringLiteral("无法写入参数文件：") + path;
    return {};
}

std::optional<QString> loadParametersFile(const QString& path, QString* error) {
    auto fail = [error](const QString& why) {
        if (error) *error = why;
        return std::nullopt;
    };
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return fail(QStringLiteral("无法读取参数文件：") + path);
    constexpr qint64 kMaxBytes = 64 * 1024;
    if (f.size() > kMaxBytes) return fail(QStringLiteral("这不是参数文件（超过 64 KB）：") + path);
    const QString text = QString::fromUtf8(f.read(kMaxBytes));
    static const QRegularExpression breaks(QStringLiteral("\r\n|\n|\r"));
    for (const QString& raw : text.split(breaks)) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(u'#')) continue;
        QString why;
        if (!parseParameters(line, &why)) return fail(QStringLiteral("参数文件有错误：") + why);
        return line;
    }
    return fail(QStringLiteral("参数文件中没有参数行：") + path);
}

QStringList coordFormChoices() {
    return {QStringLiteral("经纬度"), QStringLiteral("1.5度带"), QStringLiteral("3度带"),
            QStringLiteral("6度带")};
}

std::optional<ZoneWidth> zoneOfFormChoice(const QString& text) {
    if (text.startsWith(QStringLiteral("1.5"))) return ZoneWidth::OneAndHalf;
    if (text.startsWith(u'3')) return ZoneWidth::Three;
    if (text.startsWith(u'6')) return ZoneWidth::Six;
    return std::nullopt;
}

std::optional<CoordSystem> coordSystemOfCode(const QString& code) {
    const qsizetype colon = code.indexOf(u':');
    if (colon <= 0) return std::nullopt;
    const std::optional<Datum> datum = datumOfCode(code.left(colon));
    if (!datum) return std::nullopt;
    CoordSystem s;
    s.datum = *datum;
    const QString form = code.mid(colon + 1).trimmed().toLower();
    if (form == u"jw") return s;
    s.zone = zoneWidthOfCode(form);
    if (!s.zone) return std::nullopt;
    return s;
}

}  // namespace hc
