#include "tools/angle_conversion.h"

#include <cmath>

#include "engine/angle.h"
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

Num constant(const char* digits) {
    return Num::ofDecimal(Decimal::fromText(QString::fromLatin1(digits)));
}

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

}  // namespace

AngleConversion angleConversion(int index) { return static_cast<AngleConversion>(index); }

QString angleButtonCaption(AngleConversion op) { return QString::fromUtf16(info(op).caption); }
QString angleDirection(AngleConversion op) { return QString::fromUtf16(info(op).direction); }

AngleConversionResult convertAngle(AngleConversion op, const QString& input) {
    AngleConversionResult r;
    r.direction = angleDirection(op);
    try {
        ScopedCalcLog log;
        ZelChongZhi();
        const Num v = ZelShuZhuanShu(Num::ofText(input));
        r.input = trimmedText(v);
        r.number = log.log().errorCount == 0;
        const Num degreesPerRadian = constant("57.295779513082320876798154814");
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
                out = product(constant("0.0174532925199432957692369077"), v);
                break;
            case AngleConversion::DmsToRad:
                out = ZelDuZhuanHuDu(v);
                break;
            case AngleConversion::DmsToDeg:
                out = ZelDuZhuanTiDu(v);
                break;
        }
        r.result = trimmedText(out);
        r.notices = log.log().notices;
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
