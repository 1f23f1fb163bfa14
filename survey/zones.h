#pragma once
// Module ZelZuoBiao2: 6, 3 and 1.5 degree zones, the six zone conversions and the
// central-meridian setting of the coordinate conversion.

#include <QString>

#include "survey/projection.h"

namespace hc {

// Forward conversions. The slots hold the packed latitude and longitude on entry
// and receive the northing and the easting (metres, 3 decimals). `setting` is the
// chosen central meridian in decimal degrees. Returns the remark ("" when none).
QString ZelZhengSuan6(double& lat, double& lon, double setting, const Ellipsoid& set);
QString ZelZhengSuan3(double& lat, double& lon, double setting, const Ellipsoid& set);
QString ZelZhengSuan15(double& lat, double& lon, double setting, const Ellipsoid& set);
QString ZelZhengSuan6(double& lat, double& lon, double setting, const QString& code);
QString ZelZhengSuan3(double& lat, double& lon, double setting, const QString& code);
QString ZelZhengSuan15(double& lat, double& lon, double setting, const QString& code);

// Inverse conversions. The slots hold the northing and the easting (with zone
// prefix and false easting) on entry and receive the packed latitude and longitude
// (8 decimals). Returns the remark ("" when none).
QString ZelFanSuan15(double& x, double& y, const Ellipsoid& set);
QString ZelFanSuan3(double& x, double& y, const Ellipsoid& set);
QString ZelFanSuan6(double& x, double& y, const Ellipsoid& set);
QString ZelFanSuan15(double& x, double& y, const QString& code);
QString ZelFanSuan3(double& x, double& y, const QString& code);
QString ZelFanSuan6(double& x, double& y, const QString& code);

inline constexpr double kDefaultMeridian = 117;
// The label of the default setting (no space after the colon).
QString defaultZoneLabel();
// The message box shown for an invalid central-meridian setting.
QString invalidMeridianMessage();

struct MeridianSetting {
    double value;  // 117 when the text did not hold a valid setting
    bool valid;
};

// The number at the start of a setting text ("117度-6" -> 117, "度" -> 0): optional
// sign, digits, at most one decimal point.
double leadingNumber(const QString& text);
// Reads and validates a setting text: within -180 ... 180 and a multiple of 1.5.
MeridianSetting ZelZhongYangJingDu(const QString& text);
// "对应带号:" with the 6, 3 and 1.5 degree zone numbers of a central meridian.
QString ZelDuiYingDaiHao(double meridian);

}  // namespace hc
