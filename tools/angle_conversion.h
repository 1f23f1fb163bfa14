#pragma once
// The six conversions of the angle conversion window between radians, decimal
// degrees and packed degrees-minutes-seconds (d.mmss...), as an operation on texts.

#include <QString>

#include "engine/notice.h"

namespace hc {

// In the order of the window's buttons Command1 ... Command6.
enum class AngleConversion { RadToDms, RadToDeg, DegToDms, DegToRad, DmsToRad, DmsToDeg };

constexpr int kAngleConversions = 6;

// The conversion of button Command(i + 1), i = 0 ... 5.
AngleConversion angleConversion(int index);
// The button caption, for example "弧度 ==> 度分秒".
QString angleButtonCaption(AngleConversion op);
// The direction shown above the input after a conversion, for example "弧度==>度分秒".
QString angleDirection(AngleConversion op);

struct AngleConversionResult {
    QString input;       // the input as it was read (trimmed number text; "0" for no number)
    QString result;      // the converted angle with all its digits
    QString direction;   // angleDirection(op)
    Notices notices;     // the minutes and seconds checks of packed angles
    bool number = true;  // false when the input was no number and read as 0
};

// Reads `input` as a number and converts it. Products with 180/pi and pi/180 are
// Decimal products; one that leaves the Decimal range is taken on doubles. Never
// throws.
AngleConversionResult convertAngle(AngleConversion op, const QString& input);

// Reads a unit name of the command line: "rad", "deg" or "dms". False for others.
bool parseAngleUnitName(const QString& name, int& unit);
// The conversion from one unit to another (0 rad, 1 deg, 2 dms); false when both
// are the same.
bool angleConversionBetween(int from, int to, AngleConversion& op);

}  // namespace hc
