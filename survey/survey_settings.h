#pragma once
// The settings of the coordinate conversions as values: the datum (which ellipsoid),
// the axis order of the data columns and the zone width. Each comes from the window's
// control texts through one conversion and from the command-line codes through another.

#include <QString>
#include <optional>

namespace hc {

// Cgcs2000 is the China Geodetic Coordinate System 2000 ellipsoid.
enum class Datum { Beijing1954, Xian1980, Wgs84, Cgcs2000 };

// XYZ: northing (or latitude) in the first column; YXZ: easting (or longitude) first.
enum class AxisOrder { XYZ, YXZ };

enum class ZoneWidth { Six, Three, OneAndHalf };

// Window controls. The ellipsoid box text: "西安" is Xi'an 1980, "WGS" WGS-84, "2000"
// CGCS2000, any other text Beijing 1954. The order button caption: "X Y Z模式" is XYZ, any other
// caption YXZ.
Datum datumOfControlText(const QString& ellipsoidBoxText);
AxisOrder axisOrderOfCaption(const QString& orderCaption);
// The ellipsoid box entry of a datum ("北京", "西安", "WGS", "2000"), as the grid headers
// name it.
QString datumControlText(Datum datum);

// Command-line codes, compared without regard to letter case: "BJ", "XA", "WGS", "2000";
// "xyz", "yxz"; "6", "3", "1.5". Nothing for any other text.
std::optional<Datum> datumOfCode(const QString& code);
std::optional<AxisOrder> axisOrderOfCode(const QString& code);
std::optional<ZoneWidth> zoneWidthOfCode(const QString& code);

}  // namespace hc
