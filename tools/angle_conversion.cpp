#include "tools/angle_conversion.h"

#include <cmath>

#include "engine/angle.h"
#include "engine/angle_constants.h"
#include "engine/calc_log.h"
#include "engine/number.h"

namespace hc {
namespace {

struct Info {
    const char16_t* caption;
    const char16_t* direction;
};

constexpr Info kInfo[kAngleConversions] = {
    {u"弧度 ==> 度分秒", u"弧度==>度分秒"},     {u"弧度 ==> 百分度", u"弧度==>百分度"},
    {u"百分度 ==> 度分秒", u"百分度==>度分秒"}, {u"百分度 ==> 弧  度", u"百分度==>弧度"},
    {u"度分秒 ==> 弧  度", u"度分秒==>弧度"},   {u"度分秒 ==> 百分度", u"度分秒==>百分度"},
};

const Info& info(AngleConversion op) { return kInfo[static_cast<int>(op)]; }

Num constant(const QString& digits) { return Num::ofDecimal(Decimal::fromText(digits)); }

// k * v as a Decimal product; beyond the Decimal range on doubles, "error" when
// that overflows too.
Num product(const Num& k, const Num& v) {
    try {
        return mixedMul(k, v);
    } catch (...) {
    }
    try {
        const double d = k.toDouble() * v.toDouble();
        if (std::isfinite(d)) return Num::ofDouble(d);
    } catch (...) {
    }
    return Num::failure(QStringLiteral("error"));
}

Num convertedAngle(AngleConversion op, const Num& v) {
    const Num degreesPerRadian = constant(k180OverPi);
    Num out;
    switch (op) {
        case AngleConversion::RadToDms:
            out = ZelTiDuZhuanDu(product(degreesPerRadian, v));
            break;
        case AngleConversion::RadToDeg:
            out = product(degreesPerRadian, v);
            break;
        case AngleConversion::DegToDms:
            out = ZelTiDuZhuanDu(v);
            break;
        case AngleConversion::DegToRad:
            out = product(constant(kPiOver180), v);
            break;
        case AngleConversion::DmsToRad:
            out = ZelDuZhuanHuDu(v);
            break;
        case AngleConversion::DmsToDeg:
            out = ZelDuZhuanTiDu(v);
            break;
    }
    return out;
}

}  // namespace

AngleConversion angleConversion(int index) { return static_cast<AngleConversion>(index); }

QString angleButtonCaption(AngleConversion op) { return QString::fromUtf16(info(op).caption); }
QString angleDirection(AngleConversion op) { return QString::fromUtf16(info(op).direction); }

AngleConversionResult convertAngle(AngleConversion op, const QString& input) {
    AngleConversionResult r;
    r.direction = angleDirection(op);
    try {
        EngineReport read, converted;
        const Num v = checkedCall([&] { return ZelShuZhuanShu(Num::ofText(input)); }, read);
        r.input = trimmedText(v);
        r.number = read.ok();
        const Num out = checkedCall([&] { return convertedAngle(op, v); }, converted);
        r.result = trimmedText(out);
        r.notices = read.notices + converted.notices;
    } catch (...) {
        r.result = QStringLiteral("error");
        r.number = false;
    }
    return r;
}

bool parseAngleUnitName(const QString& name, int& unit) {
    const QString n = name.toLower();
    if (n == QLatin1String("rad"))
        unit = 0;
    else if (n == QLatin1String("deg"))
        unit = 1;
    else if (n == QLatin1String("dms"))
        unit = 2;
    else
        return false;
    return true;
}

bool angleConversionBetween(int from, int to, AngleConversion& op) {
    static const int table[3][3] = {{-1, 1, 0}, {3, -1, 2}, {4, 5, -1}};
    if (from < 0 || from > 2 || to < 0 || to > 2 || table[from][to] < 0) return false;
    op = angleConversion(table[from][to]);
    return true;
}

}  // namespace hc
