#pragma once
// The ellipsoid parameter sets of the Gauss-Krueger conversions (Beijing 1954,
// Xi'an 1980, WGS-84; CGCS2000 in ellipsoid_series.h).

#include <QString>

#include "survey/survey_settings.h"

namespace hc {

struct KrugerSeries;

// One ellipsoid parameter set. The constants are used as listed, never derived
// from one another.
struct Ellipsoid {
    double a;       // semi-major axis, metres
    double e2;      // first eccentricity squared
    double ep2;     // second eccentricity squared
    double alpha0;  // meridian-arc coefficients of the forward core
    double alpha2;
    double alpha4;
    double alpha6;
    double arcA;   // meridian-arc radius of the inverse core (a * alpha0)
    double beta1;  // footpoint-latitude coefficients of the inverse core
    double beta2;
    double beta3;
    double a1e2;  // a * (1 - e2)
    // When set, the cores project with these series (ellipsoid_series.h) instead of the
    // textbook series on the constants above.
    const KrugerSeries* kruger = nullptr;
};

const Ellipsoid& beijing1954();
const Ellipsoid& xian1980();
const Ellipsoid& wgs84();
const Ellipsoid& ellipsoidOf(Datum datum);

// "XA" Xi'an 1980, "WGS" WGS-84, anything else Beijing 1954; the code is compared
// trimmed of spaces and upper-cased.
const Ellipsoid& ZelTuoQiuCanShu(const QString& code);

}  // namespace hc
