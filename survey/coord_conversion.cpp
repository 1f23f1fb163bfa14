#include "survey/coord_conversion.h"

#include "engine/number.h"
#include "expr/normalize.h"
#include "survey/zones.h"

namespace hc {
namespace {

Notice meridianNotice() { return Notice{invalidMeridianMessage(), NoticeButtons::Ok, QString()}; }

}  // namespace

std::optional<ZoneWidth> inputZone(GkConversion op) {
    switch (op) {
        case GkConversion::Zone15To3:
        case GkConversion::Zone15ToGeo:
            return ZoneWidth::OneAndHalf;
        case GkConversion::Zone3To6:
        case GkConversion::Zone3To15:
        case GkConversion::Zone3ToGeo:
            return ZoneWidth::Three;
        case GkConversion::Zone6To3:
        case GkConversion::Zone6ToGeo:
            return ZoneWidth::Six;
        default:
            return std::nullopt;
    }
}

std::optional<ZoneWidth> outputZone(GkConversion op) {
    switch (op) {
        case GkConversion::Zone15To3:
        case GkConversion::Zone6To3:
        case GkConversion::GeoToZone3:
            return ZoneWidth::Three;
        case GkConversion::Zone3To6:
        case GkConversion::GeoToZone6:
            return ZoneWidth::Six;
        case GkConversion::Zone3To15:
        case GkConversion::GeoToZone15:
            return ZoneWidth::OneAndHalf;
        default:
            return std::nullopt;
    }
}

std::optional<GkConversion> conversionBetween(std::optional<ZoneWidth> from,
                                              std::optional<ZoneWidth> to) {
    for (int i = 0; i <= static_cast<int>(GkConversion::GeoToZone6); ++i) {
        const auto op = static_cast<GkConversion>(i);
        if (inputZone(op) == from && outputZone(op) == to) return op;
    }
    return std::nullopt;
}

GkSettingsReading ZelDuQuSheZhi(const GkControls& c, QString& input) {
    GkSettingsReading s;
    s.withNames = c.withNames;
    s.separator = ZelFenGeFuSheZhi(c.separator, input);
    s.order = axisOrderOfCaption(c.order);
    s.datumText = c.ellipsoid;
    s.datum = datumOfControlText(c.ellipsoid);
    const MeridianSetting m = ZelZhongYangJingDu(c.meridian);
    if (!m.valid) s.notices << meridianNotice();
    s.meridian = m.value;
    s.meridianReset = !m.valid;
    s.meridianText = doubleToText(m.value) + QStringLiteral("度");
    return s;
}

GkRowConverter::GkRowConverter(GkConversion op, const GkSettings& s)
    : in_(inputZone(op)),
      out_(outputZone(op)),
      set_(&ellipsoidOf(s.datum)),
      meridian_(s.meridian),
      xyz_(s.order == AxisOrder::XYZ),
      datumText_(s.datumText),
      options_(s.options) {}

bool GkRowConverter::geographicInput() const { return !in_; }
bool GkRowConverter::geographicOutput() const { return !out_; }

QString GkRowConverter::header() const {
    return out_ ? gridHeader(*out_, datumText_) : geographicHeader();
}

bool GkRowConverter::appendRow(const CoordRow& row, const QString& names, bool latitudeFirst,
                               QString& out) const {
    const bool firstIsNorth = geographicInput() ? latitudeFirst : xyz_;
    double u = firstIsNorth ? row.first : row.second;  // northing or latitude
    double v = firstIsNorth ? row.second : row.first;  // easting or longitude
    if (!options_.isDefault()) {
        return appendRowWithOptions(in_, out_, u, v, row.height, names, xyz_, meridian_, *set_,
                                    options_, out);
    }

    QString remark;
    bool converted = true;
    if (in_) {
        const GeoPoint g = toGeographic(*in_, u, v, *set_);
        u = g.lat;
        v = g.lon;
        remark = g.remark;
        converted = !isRejection(g.remark);
    }
    if (out_) {
        const GridPoint g = toGrid(*out_, u, v, meridian_, *set_);
        u = g.x;
        v = g.y;
        remark = in_ ? remark + u' ' + g.remark : g.remark;
        converted = converted && !isRejection(g.remark);
    }

    QString a;
    QString b;
    if (geographicOutput()) {
        a = formatLatitude(u);
        b = formatLongitude(v);
    } else {
        a = formatNorthing(u);
        b = formatEasting(v);
    }
    out += xyz_ ? ZelShuChuHang(names, a, b, row.height, remark)
                : ZelShuChuHang(names, b, a, row.height, remark);
    return converted;
}

GkResult ZelZuoBiaoZhuanHuan(GkConversion op, const QString& input, const QString& previousOutput,
                             const GkControls& controls, int rowLimit) {
    GkResult r;
    QString text = input;
    r.settings = ZelDuQuSheZhi(controls, text);
    r.notices = r.settings.notices;

    int n = rowLimit;
    QList<CoordRow> rows;
    r.input = ZelJieXiZuoBiao(text, n, rows, r.settings.separator);
    if (n < 1) return r;  // output emptied

    const GkRowConverter converter(op, r.settings);
    bool latitudeFirst = r.settings.order == AxisOrder::XYZ;
    if (converter.geographicInput()) {
        const CoordOrder order = ZelJingWeiShunXu(rows, n, r.settings.order);
        latitudeFirst = order.order == AxisOrder::XYZ;
        r.input += order.remark;
    }

    QStringList found;
    for (int i = 0; i < n; ++i) found << coordRowNotices(rows[i], converter.geographicInput());
    if (!found.isEmpty()) r.notices << Notice{rowNoticesText(found), NoticeButtons::Ok, QString()};

    const int width = r.settings.withNames ? nameColumnWidth(rows, n) : 0;
    QString out = converter.header();
    for (int i = 0; i < n; ++i) {
        const QString names = r.settings.withNames ? nameColumn(rows[i].name, width) : QString();
        converter.appendRow(rows[i], names, latitudeFirst, out);
    }
    out += QLatin1String("\r\n");
    out += previousOutput;
    r.output = out;
    return r;
}

QString rowNoticesText(const QStringList& notices) {
    constexpr int kShown = 10;
    QStringList lines = notices.mid(0, kShown);
    if (notices.size() > kShown) {
        lines << QStringLiteral("……共 ") + QString::number(notices.size()) +
                     QStringLiteral(" 处，以上为前 ") + QString::number(kShown) +
                     QStringLiteral(" 处");
    }
    return lines.join(u'\n');
}

QString ZelGuiFanShuRu(const QString& input) { return ZelGuiFanZiFu(input); }

MeridianBox meridianBoxClick(const QString& boxText) {
    const double v = leadingNumber(boxText);
    return {v, boxText, ZelDuiYingDaiHao(v), false, {}};
}

MeridianBox meridianBoxLostFocus(const QString& boxText) {
    // An empty box takes the default entry "117度-6" first.
    const QString text = trimSpaces(boxText).isEmpty() ? QStringLiteral("117度-6") : boxText;
    const MeridianSetting m = ZelZhongYangJingDu(text);
    MeridianBox box{m.value,
                    doubleToText(m.value) + QStringLiteral("度"),
                    ZelDuiYingDaiHao(m.value),
                    !m.valid,
                    {}};
    if (!m.valid) box.notices << meridianNotice();
    return box;
}

}  // namespace hc
