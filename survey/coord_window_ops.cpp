#include "survey/coord_window_ops.h"

#include <QStringList>
#include <cmath>

#include "survey/coord_text.h"

namespace hc {
namespace {

bool isHeading(const QString& line) {
    return line.startsWith(QStringLiteral("﹌﹌﹌")) || line.startsWith(QStringLiteral("●●●"));
}

// A result row "north , east[ , height] remark" split into its values and remark.
SinglePointForm parseRow(const QString& row, std::optional<ZoneWidth> form) {
    SinglePointForm f;
    f.form = form;
    const QStringList parts = row.split(QStringLiteral(" , "));
    if (parts.size() < 2) return f;
    f.north = parts[0].trimmed();
    QString rest = parts.size() > 2 ? parts.mid(2).join(QStringLiteral(" , ")) : parts[1];
    rest = rest.trimmed();
    if (parts.size() == 2) {
        const qsizetype space = rest.indexOf(u' ');
        f.east = space < 0 ? rest : rest.left(space);
        f.remark = space < 0 ? QString() : rest.mid(space + 1).trimmed();
    } else {
        f.east = parts[1].trimmed();
        const qsizetype space = rest.indexOf(u' ');
        f.remark = space < 0 ? QString() : rest.mid(space + 1).trimmed();
    }
    return f;
}

}  // namespace

QString noResultRowsText() { return QStringLiteral("输出框中没有转换成果，原始数据保持不变。"); }

QString resultRowsOf(const QString& output, const QString& helpText) {
    QString text = output;
    if (!helpText.isEmpty()) text.remove(helpText);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    QString rows;
    for (const QString& line : text.split(u'\n')) {
        if (line.trimmed().isEmpty() || isHeading(line)) continue;
        rows += line;
        rows += QLatin1String("\r\n");
    }
    return rows;
}

namespace {

// One conversion of a single-row input; nothing when the row was not read.
std::optional<SinglePointForm> convertRow(GkConversion op, const QString& line,
                                          const GkControls& controls, GkResult& g) {
    g = ZelZuoBiaoZhuanHuan(op, line, QString(), controls);
    if (g.output.isEmpty()) return std::nullopt;
    // The header line, then the point's row.
    return parseRow(g.output.section(QStringLiteral("\r\n"), 1, 1), outputZone(op));
}

QString rowText(const QString& north, const QString& east, const QString& height) {
    QString line = north.trimmed() + QStringLiteral(" , ") + east.trimmed();
    if (!height.trimmed().isEmpty()) line += QStringLiteral(" , ") + height.trimmed();
    return line + QLatin1String("\r\n");
}

}  // namespace

SinglePointResult convertSinglePoint(const SinglePointInput& in) {
    SinglePointResult r;
    const QString line = rowText(in.north, in.east, in.height);
    GkControls controls;
    controls.withNames = false;
    controls.ellipsoid = in.ellipsoid;
    controls.meridian = in.meridian;

    const std::optional<ZoneWidth> forms[] = {std::nullopt, ZoneWidth::OneAndHalf, ZoneWidth::Three,
                                              ZoneWidth::Six};
    bool first = true;
    for (const std::optional<ZoneWidth>& to : forms) {
        if (to == in.from) {
            r.forms.append({to, in.north.trimmed(), in.east.trimmed(), QString()});
            continue;
        }
        GkResult g;
        std::optional<SinglePointForm> f;
        if (const std::optional<GkConversion> op = conversionBetween(in.from, to)) {
            f = convertRow(*op, line, controls, g);
        } else {
            // 1.5 and 6 degree grids have no direct conversion: through the 3 degree grid.
            f = convertRow(*conversionBetween(in.from, ZoneWidth::Three), line, controls, g);
            if (f) {
                GkResult second;
                const QString remark = f->remark;
                f = convertRow(*conversionBetween(ZoneWidth::Three, to),
                               rowText(f->north, f->east, in.height), controls, second);
                if (f) f->remark = (remark + u' ' + f->remark).trimmed();
            }
        }
        if (first) {
            r.notices = g.notices;
            r.meridian = g.settings.meridian;
            first = false;
        }
        if (!f) {
            r.forms.clear();
            r.error = noCoordinateDataText();
            return r;
        }
        r.forms.append(*f);
    }
    return r;
}

bool gridPointOf(QStringView line, CoordLineReader& reader, AxisOrder order, SketchPoint& point) {
    CoordRow row;
    if (!reader.readLine(line, row)) return false;
    if (!std::isfinite(row.first) || !std::isfinite(row.second)) return false;
    if (std::fabs(row.first) <= 360 && std::fabs(row.second) <= 360) return false;
    const bool northFirst = order == AxisOrder::XYZ;
    point.name = row.name.trimmed();
    point.north = northFirst ? row.first : row.second;
    point.east = northFirst ? row.second : row.first;
    return true;
}

PlanSketch gridRowsSketch(const QString& text, const QString& separator, AxisOrder order,
                          bool firstBlock, qint64 rowLimit) {
    PlanSketch sketch;
    CoordLineReader reader(separator);
    QString line;
    qint64 number = 0;
    qsizetype start = 0;
    while (start <= text.size() && static_cast<qint64>(sketch.points.size()) < rowLimit) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0) end = text.size();
        ++number;
        line = text.mid(start, end - start);
        if (line.endsWith(u'\r')) line.chop(1);
        halfWidthInPlace(line);
        start = end + 1;
        if (firstBlock && !sketch.points.empty() && line.trimmed().isEmpty()) break;
        SketchPoint point;
        if (!gridPointOf(line, reader, order, point)) continue;
        point.line = number;
        sketch.points.push_back(std::move(point));
    }
    return sketch;
}

}  // namespace hc
