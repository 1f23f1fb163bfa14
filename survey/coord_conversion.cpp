#include "survey/coord_conversion.h"

#include "engine/number.h"
#include "expr/normalize.h"
#include "survey/zones.h"
#include "ui/services.h"

namespace hc {
namespace {

enum class Kind { Inverse15, Inverse3, Inverse6, None };

Kind inverseOf(GkConversion op) {
    switch (op) {
        case GkConversion::Zone15To3:
        case GkConversion::Zone15ToGeo:
            return Kind::Inverse15;
        case GkConversion::Zone3To6:
        case GkConversion::Zone3To15:
        case GkConversion::Zone3ToGeo:
            return Kind::Inverse3;
        case GkConversion::Zone6To3:
        case GkConversion::Zone6ToGeo:
            return Kind::Inverse6;
        default:
            return Kind::None;
    }
}

// Output zone width (6, 3 or 15 for 1.5), 0 for geographic output.
int outputZone(GkConversion op) {
    switch (op) {
        case GkConversion::Zone15To3:
        case GkConversion::Zone6To3:
        case GkConversion::GeoToZone3:
            return 3;
        case GkConversion::Zone3To6:
        case GkConversion::GeoToZone6:
            return 6;
        case GkConversion::Zone3To15:
        case GkConversion::GeoToZone15:
            return 15;
        default:
            return 0;
    }
}

QString codeOf(const QString& ellipsoidText) {
    if (ellipsoidText == QStringLiteral("西安")) return QStringLiteral("XA");
    if (ellipsoidText == QLatin1String("WGS")) return QStringLiteral("WGS");
    return QStringLiteral("BJ");
}

}  // namespace

GkSettings ZelDuQuSheZhi(const GkControls& c, QString& input) {
    GkSettings s;
    s.withNames = c.withNames;
    s.separator = ZelFenGeFuSheZhi(c.separator, input);
    s.mode = c.xyzMode ? QStringLiteral("XYZ") : QStringLiteral("YXZ");
    s.ellipsoidText = c.ellipsoid;
    s.ellipsoidCode = codeOf(c.ellipsoid);
    const MeridianSetting m = ZelZhongYangJingDu(c.meridian);
    if (!m.valid) ui::messageBox(invalidMeridianMessage());
    s.meridian = m.value;
    s.meridianReset = !m.valid;
    s.meridianText = doubleToText(m.value) + QStringLiteral("度");
    return s;
}

GkRowConverter::GkRowConverter(GkConversion op, const GkSettings& s)
    : op_(op),
      set_(&ZelTuoQiuCanShu(s.ellipsoidCode)),
      meridian_(s.meridian),
      xyz_(s.mode == QLatin1String("XYZ")),
      ellipsoidText_(s.ellipsoidText) {}

bool GkRowConverter::geographicInput() const { return inverseOf(op_) == Kind::None; }
bool GkRowConverter::geographicOutput() const { return outputZone(op_) == 0; }

QString GkRowConverter::header() const {
    const int zone = outputZone(op_);
    return zone == 0 ? geographicHeader() : gridHeader(zone, ellipsoidText_);
}

void GkRowConverter::appendRow(const CoordRow& row, const QString& names, bool latitudeFirst,
                               QString& out) const {
    const bool firstIsNorth = geographicInput() ? latitudeFirst : xyz_;
    double u = firstIsNorth ? row.first : row.second;  // northing or latitude
    double v = firstIsNorth ? row.second : row.first;  // easting or longitude

    QString remark;
    switch (inverseOf(op_)) {
        case Kind::Inverse15:
            remark = ZelFanSuan15(u, v, *set_);
            break;
        case Kind::Inverse3:
            remark = ZelFanSuan3(u, v, *set_);
            break;
        case Kind::Inverse6:
            remark = ZelFanSuan6(u, v, *set_);
            break;
        case Kind::None:
            break;
    }
    QString second;
    switch (outputZone(op_)) {
        case 6:
            second = ZelZhengSuan6(u, v, meridian_, *set_);
            break;
        case 3:
            second = ZelZhengSuan3(u, v, meridian_, *set_);
            break;
        case 15:
            second = ZelZhengSuan15(u, v, meridian_, *set_);
            break;
        default:
            break;
    }
    if (inverseOf(op_) != Kind::None && outputZone(op_) != 0) {
        remark += u' ';
        remark += second;
    } else if (outputZone(op_) != 0) {
        remark = second;
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
}

GkResult ZelZuoBiaoZhuanHuan(GkConversion op, const QString& input, const QString& previousOutput,
                             const GkControls& controls, int rowLimit) {
    GkResult r;
    QString text = input;
    r.settings = ZelDuQuSheZhi(controls, text);

    int n = rowLimit;
    QList<CoordRow> rows;
    r.input = ZelJieXiZuoBiao(text, n, rows, r.settings.separator);
    if (n < 1) return r;  // output emptied

    const GkRowConverter converter(op, r.settings);
    bool latitudeFirst = r.settings.mode == QLatin1String("XYZ");
    if (converter.geographicInput()) {
        const CoordOrder order = ZelJingWeiShunXu(rows, n, r.settings.mode);
        latitudeFirst = order.order == QLatin1String("XYZ");
        r.input += order.remark;
    }

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

QString ZelGuiFanShuRu(const QString& input) { return ZelGuiFanZiFu(input); }

MeridianBox meridianBoxClick(const QString& boxText) {
    const double v = leadingNumber(boxText);
    return {v, boxText, ZelDuiYingDaiHao(v), false};
}

MeridianBox meridianBoxLostFocus(const QString& boxText) {
    // An empty box takes the default entry "117度-6" first.
    const QString text = trimSpaces(boxText).isEmpty() ? QStringLiteral("117度-6") : boxText;
    const MeridianSetting m = ZelZhongYangJingDu(text);
    if (!m.valid) ui::messageBox(invalidMeridianMessage());
    return {m.value, doubleToText(m.value) + QStringLiteral("度"), ZelDuiYingDaiHao(m.value),
            !m.valid};
}

}  // namespace hc
