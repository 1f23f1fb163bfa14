#include "calculator/history.h"

#include "engine/text_trim.h"

namespace hc {

const QStringList& exampleFormulas() {
    static const QStringList examples{
        QStringLiteral(
            "示例  "
            "-1。115671/-5.0432123478加3。33123-4。444+(-5。53456*-2.0123456+8。8880123)\\-3.3456"),
        QStringLiteral("示例  -1。123^3-(4。4441-5。5554%)^-8。8881-3.7!/567.37143"),
        QStringLiteral("示例  -1-2.0034521除3.0023417+33-44"),
        QStringLiteral(
            "示例  -3+（1乘2-1）除4-sin-45.595999+(cos-45.595999-tan-45.595999)*5+cot-45.595999/3"),
        QStringLiteral(
            "示例  "
            "arcsin(-0.456789321)+arccos(-0.123456789)-arctan(-1.456789321)+arccot(-2.234567891)"),
        QStringLiteral(
            "示例  sh ( +2.0123 ) +sh ( -2 ) +ch ( -2.1 ) -th ( -2.34 ) -cth ( -1.234 ) "),
        QStringLiteral("示例   sec ( 23.45599 ) -csc ( 34.595987 ) -arcsec ( -2.0123 ) +arccsc ( "
                       "-3.016789 ) "),
        QStringLiteral(
            "示例   ( lg ( 6.234 )  / lg ( 0.24531231 )  ) -ln ( 1.3456317 ) +lg ( 6.345210 ) "),
        QStringLiteral("示例  sin(45.555555)+cos(145.555555)-tan(45.555555555)-cot(-45.555555555)"),
        QStringLiteral("示例  -0。11 加  [ 2.2 - 3。3 ]  乘以 -2 _  ( 5.5 - 6.6 + 7.7 )  除 -9 "),
        QStringLiteral(
            "示例  -23.123e25*5 + "
            "1.23456e12*1.2e1-1.111111111111111111122222222222222222222333333333e3/12345"),
        QStringLiteral("示例  12.234e12*45^3.00012+2.1234321e134/987654321^1.001"),
        QStringLiteral("示例  计算直角三角型的弦长  （r^2 + s^2) ^ 0.5"),
        QStringLiteral("示例  计算圆的面积  π* r^2 "),
        QStringLiteral("示例  计算球的体积  4/3 * π * r^3 "),
        QStringLiteral("示例  计算圆锥的体积  1/3 * π * r^2 * t "),
        QStringLiteral("示例采用弧度制 ( 0.000000005 + 0.00000006 - 123.0004567 )  * 0.00012345 / "
                       "167.234567 \\ 234.12 *  ( 1 / 0.00123 ) % + 12! - 0.234 ^ 1.01765 ^ 9 ^  ( "
                       "1 / 2 )  ^  ( 1 / 3 )  ^  ( 1 / 7 ) -sin ( 1.5959 )  * cos ( 0.5959 ) +tan "
                       "( 1.5969) -cot ( 3.5856543 ) + π - ε - 1e-28 "),
        QStringLiteral("示例   r * s * t * u * v * w * x * y * z ")};
    return examples;
}

FormulaHistory::FormulaHistory() : slots_(kMaxSlot + 2) {
    for (int i = 0; i < kExamples; ++i) slots_[i + 1] = exampleFormulas()[i];
}

bool FormulaHistory::storeOnClear(const QString& formula) {
    browseCount_ = 0;
    if (formula < QString(12, QLatin1Char(' '))) return false;
    if (++size_ > kMaxSlot) size_ = 1;
    current_ = size_;
    slots_[size_] = formula;
    return true;
}

int FormulaHistory::browseBack() {
    if (browseCount_ > 0) --current_;
    if (browseCount_ < 1000) ++browseCount_;
    if (current_ < 1) current_ = size_;
    return current_;
}

int FormulaHistory::browseForward() {
    if (browseCount_ > 0) ++current_;
    if (browseCount_ < 1000) ++browseCount_;
    if (current_ > size_) current_ = 1;
    return current_;
}

QString FormulaHistory::referenceText(int slot, bool forward) {
    switch (slot) {
        case 1:
            return QStringLiteral("2.4059120570021821219456683533");
        case 2:
            return QStringLiteral("-1.458550153546744806316377515");
        case 3:
            return QStringLiteral("-12.667296497264118870946634755");
        case 4:
            return QStringLiteral("6.29838657043613382880812183  角度用度分秒格式时计算");
        case 5:
            return QStringLiteral("281.33504626506799595771344781  用百分度格式时得到的正确值");
        case 6:
            return QStringLiteral("6.35768161559461");
        case 7:
            return QStringLiteral("-139.339136444862   用度分秒格式时得到的错误值--验证用");
        case 8:
            return QStringLiteral("-0.796714777859288");
        case 9:
            return forward ? QStringLiteral(
                                 "度分秒 -0.174953980558103538960814578     百分度 "
                                 "-0.149535228019532042793711622")
                           : QStringLiteral(
                                 "度分秒 -0.174953980558103538960814575     百分度 "
                                 "-0.1495352280195320427937116182");
        case 10:
            return QStringLiteral(" 2.8233333333333333333333333333");
        case 11:
            return QStringLiteral(" -1156149999999985185280000000.1");
        case 12:
            return QStringLiteral(" 2.10590514306334E+125");
        case 17:
            return QStringLiteral("约数        479001558.464642617773159716");
        case 18:
            return QStringLiteral(" 362880 ");
        default:
            return QStringLiteral(" ");
    }
}

QStringList decimalPlaceItems() {
    QStringList items;
    for (int k = 0; k <= 28; ++k)
        items << (k < 10 ? QString::number(k) + QStringLiteral(" 位小数")
                         : QString::number(k) + QStringLiteral("位小数"));
    return items;
}

int leadingInteger(const QString& text) {
    int value = 0;
    for (QChar c : trimSpaces(text)) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) break;
        value = value * 10 + (c.unicode() - '0');
        if (value > 1000000) break;
    }
    return value;
}

bool nextAngleStep(const QString& caption, AngleStep& next) {
    if (caption == QStringLiteral("弧度角")) {
        next = {QStringLiteral("百分度.9999"), kDecimalDegrees, QColor(255, 192, 255)};
    } else if (caption == QStringLiteral("百分度.9999")) {
        next = {QStringLiteral("度分秒.5959"), kPackedDms, QColor(192, 255, 255)};
    } else if (caption == QStringLiteral("度分秒.5959")) {
        next = {QStringLiteral("弧度角"), kRadians, QColor(255, 192, 192)};
    } else {
        return false;
    }
    return true;
}

QColor initialAngleColour() { return QColor(255, 192, 128); }

QString clearStatusText() {
    return QStringLiteral(
        "直角可表示为90度0分0秒(90.0000度)、90.0000百分度、π/"
        "2（=1.570796327）。45度59分59.99秒可表示为45.595999度(60进制)。");
}

QString browseBackStatusText() {
    return QStringLiteral("向前显示已经存储的算式，以便你重复利用算式进行计算。");
}

QString browseForwardStatusText() {
    return QStringLiteral("向后显示已经存储的算式，以便你重复利用算式进行计算。");
}

QString angleStatusText() {
    return QStringLiteral("循环改变角度的计量单位--度分秒.5959、弧度和百分度.9999。") +
           QStringLiteral("\r\n") +
           QStringLiteral("混合计算时要保持角度单位相同，角度相加减时不要使用度分秒.5959格式。");
}

QString angleToolTip() {
    return QStringLiteral(
        "角度的计量单位--度分秒.5959、弧度和百分度.9999。另外[梯度进制]参见[角度变换]模块。");
}

QString variablesStatusText() {
    return QStringLiteral(
        "一个直角可表示为90度0分0秒(90.0000度)、90.0000百分度、π/"
        "2（=1.570796327）。45度59分59.99秒可表示为45.595999度(60进制)。");
}

QString calculatingText() {
    return QStringLiteral("正在计算，因计算步骤复杂，可能需要一段时间，请稍等。。。。。。");
}

QString checkResultsText() {
    return QStringLiteral(
        "\u3000\u3000请在重要计算时仔细核对运算成果，多次运算后尾部采用近似值表示。如有计算错误，给"
        "您带来不便请谅解，向程序员报错可给予物质奖励。");
}

}  // namespace hc
