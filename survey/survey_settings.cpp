#include "survey/survey_settings.h"

namespace hc {

Datum datumOfControlText(const QString& text) {
    if (text == QStringLiteral("西安")) return Datum::Xian1980;
    if (text == QLatin1String("WGS")) return Datum::Wgs84;
    if (text == QLatin1String("2000")) return Datum::Cgcs2000;
    return Datum::Beijing1954;
}

AxisOrder axisOrderOfCaption(const QString& caption) {
    return caption == QStringLiteral("X Y Z模式") ? AxisOrder::XYZ : AxisOrder::YXZ;
}

QString datumControlText(Datum datum) {
    switch (datum) {
        case Datum::Xian1980:
            return QStringLiteral("西安");
        case Datum::Wgs84:
            return QStringLiteral("WGS");
        case Datum::Cgcs2000:
            return QStringLiteral("2000");
        case Datum::Beijing1954:
            break;
    }
    return QStringLiteral("北京");
}

std::optional<Datum> datumOfCode(const QString& code) {
    const QString c = code.toUpper();
    if (c == QLatin1String("BJ")) return Datum::Beijing1954;
    if (c == QLatin1String("XA")) return Datum::Xian1980;
    if (c == QLatin1String("WGS")) return Datum::Wgs84;
    if (c == QLatin1String("2000")) return Datum::Cgcs2000;
    return std::nullopt;
}

std::optional<AxisOrder> axisOrderOfCode(const QString& code) {
    if (code.compare(QLatin1String("xyz"), Qt::CaseInsensitive) == 0) return AxisOrder::XYZ;
    if (code.compare(QLatin1String("yxz"), Qt::CaseInsensitive) == 0) return AxisOrder::YXZ;
    return std::nullopt;
}

std::optional<ZoneWidth> zoneWidthOfCode(const QString& code) {
    if (code == QLatin1String("6")) return ZoneWidth::Six;
    if (code == QLatin1String("3")) return ZoneWidth::Three;
    if (code == QLatin1String("1.5")) return ZoneWidth::OneAndHalf;
    return std::nullopt;
}

}  // namespace hc
