#pragma once
// The angle constants, in one place: as the 29-digit texts the calculator reads into
// number values (ZelShuZhuanShu, Decimal::fromText), and as doubles for the
// coordinate conversions. The doubles are the nearest doubles to the same values.

#include <QString>

namespace hc {

// Texts of number values.
inline const QString kPi = QStringLiteral("3.1415926535897932384626433833");
inline const QString kTwoPi = QStringLiteral("6.2831853071795864769252867666");
inline const QString kHalfPi = QStringLiteral("1.5707963267948966192313216916");
inline const QString kThreeHalfPi = QStringLiteral("4.7123889803846898576939650749");
inline const QString k180OverPi =
    QStringLiteral("57.295779513082320876798154814");  // degrees per radian
inline const QString kPiOver180 =
    QStringLiteral("0.0174532925199432957692369077");  // radians per degree

// Doubles.
inline constexpr double kPiDouble = 3.14159265358979323846;
inline constexpr double kDegreesPerRadian = 57.295779513082320876798154814;

}  // namespace hc
