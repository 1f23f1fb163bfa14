#include "engine/angle.h"

#include <exception>

#include "engine/calc_log.h"
#include "engine/functions.h"
#include "engine/number_routines.h"
#include "engine/rounding.h"
#include "engine/text_trim.h"

namespace hc {
namespace {

const Decimal& piOver180() {
    static const Decimal v = Decimal::fromText(kPiOver180);
    return v;
}

Decimal::u128 pow10(int n) {
    Decimal::u128 p = 1;
    while (n-- > 0) p *= 10;
    return p;
}

Num errorValue() { return Num::failure(QStringLiteral("error")); }

Num failure(const QString& label, const Num& x) {
    calcLog().report(QStringLiteral("  进行[") + label + QStringLiteral("]运算时， ") +
                     trimmedText(x) +
                     QStringLiteral(" 数值超出计算范围，我无法计算！返回数值用 [空值] 表示。"));
    return Num::failure(QString());
}

Decimal packedToDegrees(const Num& x) {
    const Num v = ZelShuZhuanShu(x);
    if (ZelDuoShaoE(v) > 0) return Decimal(0);
    const QString t = v.text();
    const qsizetype point = t.indexOf(u'.');
    if (point < 0) return v.toDecimal();

    QString deg = t.left(point);
    if (deg.isEmpty() || deg == u"-") deg = QStringLiteral("0");
    QString f = t.mid(point);
    if (f.size() < 6) f += QStringLiteral("0000000");
    const QString mm = f.mid(1, 2);
    QString ss = f.mid(3);
    if (ss.size() > 2) ss.insert(2, u'.');

    const Decimal sixty = 60;
    Decimal seconds = Decimal::fromText(ss);
    if (seconds > sixty) {
        calcLog().notify(v.text() + QStringLiteral(" 度分秒格式的角度数据--[秒] "
                                                   "数据不能大于60！超出后按60计算。"
                                                   "请检查是否角度类型选择错误。"));
        seconds = sixty;
    }
    Decimal minutes = Decimal::fromText(mm) + seconds / sixty;
    if (minutes > sixty) {
        calcLog().notify(v.text() + QStringLiteral(" 度分秒格式的角度数据--[分秒] "
                                                   "数据不能大于59599999....！超出后按60计算。"
                                                   "请检查是否角度类型选择错误。"));
        minutes = sixty;
    }
    const Decimal fraction = minutes / sixty;
    const Decimal degrees = Decimal::fromText(deg);
    if (ZelSiSheWuRu(x, 28).toDecimal() >= Decimal(0)) return degrees + fraction;
    return degrees - fraction;
}

// Decimal degrees to packed degrees-minutes-seconds on the coefficient: the
// minutes are the whole part of 60 times the fraction, the seconds 60 times what is
// left, rounded to 24 places; 60 seconds carry into the minutes and 60 minutes into
// the degrees. The packed value is read as the digits degrees "." mm ss would be,
// so its scale is 4 plus the fraction digits of the seconds (a zero value has
// scale 0).
Num degreesToPacked(const Num& x) {
    const Num v = ZelShuZhuanShu(x);
    if (ZelDuoShaoE(v) > 0) return Num::ofDecimal(Decimal(0));
    // Besides Decimals the reader hands on only exponent-form doubles and the
    // failure "0", which has no fraction.
    if (!v.isDecimal()) return v;
    const Decimal& d = v.decimal();
    const Decimal::u128 unit = pow10(d.scale());
    Decimal::u128 degrees = d.coefficient() / unit;
    Decimal::u128 fraction = d.coefficient() % unit;
    if (fraction == 0) return v;
    int fractionScale = d.scale();
    while (fraction % 10 == 0) {
        fraction /= 10;
        --fractionScale;
    }
    const bool negative = d.isNegative();

    const Decimal sixty = 60;
    const Decimal minutesWithFraction = sixty * Decimal::fromParts(fraction, fractionScale, false);
    int minutes = static_cast<int>(minutesWithFraction.truncated().coefficient());
    const Decimal rest = minutesWithFraction - Decimal(minutes);
    const Decimal seconds = ZelSiSheWuRu(Num::ofDecimal(sixty * rest), 24).toDecimal();

    // The seconds' digits without the point, the whole seconds as two digits.
    Decimal::u128 secondDigits = 0;
    int secondDecimals = 0;
    if (seconds == sixty) {
        ++minutes;
    } else {
        secondDigits = seconds.coefficient();
        secondDecimals = seconds.scale();
        while (secondDecimals > 0 && secondDigits % 10 == 0) {
            secondDigits /= 10;
            --secondDecimals;
        }
    }
    if (minutes == 60) {
        minutes = 0;
        ++degrees;
    }

    const int scale = 4 + secondDecimals;
    const Decimal::u128 head = degrees * 100 + static_cast<unsigned>(minutes);
    const Decimal::u128 step = pow10(2 + secondDecimals);
    const Decimal::u128 limit = Decimal::u128(1) << 96;
    if (head <= (limit - 1 - secondDigits) / step) {
        const Decimal::u128 coefficient = head * step + secondDigits;
        if (coefficient == 0) return Num::ofDecimal(Decimal());
        return Num::ofDecimal(Decimal::fromParts(coefficient, scale, negative));
    }
    // Too many digits for the coefficient: the reader rounds them off.
    QString text = negative ? QStringLiteral("-") : QString();
    text += Decimal::fromParts(degrees, 0, false).toString();
    text += u'.';
    const QString fractionDigits =
        Decimal::fromParts(head % 100 * step + secondDigits, 0, false).toString();
    text += QString(scale - fractionDigits.size(), u'0');
    text += fractionDigits;
    return Num::ofDecimal(Decimal::fromText(text));
}

// d with whole turns of 360 removed, exactly; the sign of d stays, and an angle
// within one turn comes back unchanged.
Decimal withoutWholeTurns(const Decimal& d) {
    const Decimal::u128 turn = Decimal::u128(360) * pow10(d.scale());
    if (d.coefficient() < turn) return d;
    return Decimal::fromParts(d.coefficient() % turn, d.scale(), d.isNegative());
}

// Degrees to radians after removing whole turns. A multiple of 90 degrees gives the
// quarter-turn constant itself (0, pi/2, pi, 3pi/2, counted anticlockwise from 0),
// which the circular functions take as an exact point; the product with the
// 28-digit pi/180 would miss it in the last digits.
Decimal degreesToRadians(const Decimal& degrees) {
    const Decimal d = withoutWholeTurns(degrees);
    const Decimal::u128 quarter = Decimal::u128(90) * pow10(d.scale());
    if (d.coefficient() % quarter != 0) return d * piOver180();
    int k = int(d.coefficient() / quarter);
    if (d.isNegative() && k != 0) k = 4 - k;
    static const Decimal quarters[] = {Decimal(0), Decimal::fromText(kHalfPi),
                                       Decimal::fromText(kPi), Decimal::fromText(kThreeHalfPi)};
    return quarters[k];
}

}  // namespace

Num ZelDanWeiZhuanHuDu(const Num& x, AngleUnit unit) {
    try {
        const Num v = ZelShuZhuanShu(x);
        if (ZelDuoShaoE(v) > 0) return Num::ofDecimal(Decimal(0));
        switch (unit) {
            case kDecimalDegrees:
                return Num::ofDecimal(degreesToRadians(v.toDecimal()));
            case kPackedDms:
                return Num::ofDecimal(degreesToRadians(ZelDuZhuanTiDu(v).toDecimal()));
            default:
                return Num::ofDecimal(v.toDecimal());
        }
    } catch (const std::exception&) {
        return errorValue();
    }
}

Num ZelDuZhuanTiDu(const Num& x) {
    try {
        return Num::ofDecimal(packedToDegrees(x));
    } catch (const std::exception&) {
        return failure(QStringLiteral("度转梯度"), x);
    }
}

Num ZelDuZhuanHuDu(const Num& x) {
    try {
        const Num v = ZelShuZhuanShu(x);
        if (ZelDuoShaoE(v) > 0) return Num::ofDecimal(Decimal(0));
        return Num::ofDecimal(ZelDuZhuanTiDu(v).toDecimal() * piOver180());
    } catch (const std::exception&) {
        return failure(QStringLiteral("度转弧度"), x);
    }
}

Num ZelTiDuZhuanDu(const Num& x) {
    try {
        return degreesToPacked(x);
    } catch (const std::exception&) {
        return errorValue();
    }
}

}  // namespace hc
