// The ellipsoid parameter sets of the Gauss-Krueger conversions.

#include "survey/ellipsoid.h"

#include "engine/text_trim.h"
#include "survey/ellipsoid_series.h"

namespace hc {

// Krasovsky ellipsoid with a = 6378245.116.
const Ellipsoid& beijing1954() {
    static const Ellipsoid s{6378245.116,       0.00669345774472,   0.0067385620248935,
                             0.998324529595332, 0.0025142600555184, 2.6383176967516E-06,
                             3.41663363E-09,    6367558.55507442,   0.0025184784143561,
                             3.6999259641E-06,  7.44472571E-09,     6335552.60183059};
    return s;
}

// IAG 1975 ellipsoid.
const Ellipsoid& xian1980() {
    static const Ellipsoid s{6378140,           0.0066943849863148, 0.00673950180602026,
                             0.998324297200603, 0.002514608940384,  2.639050543E-06,
                             3.41805E-09,       6367452.13294706,   0.002518828470568,
                             3.700954578E-06,   7.447831E-09,       6335442.27534339};
    return s;
}

const Ellipsoid& wgs84() {
    static const Ellipsoid s{6378137,           0.0066943800042608, 0.00673949675658688,
                             0.998324298449256, 0.002514607065831,  2.639046605E-06,
                             3.41805E-09,       6367449.14593825,   0.0025188265897211,
                             3.7009490513E-06,  7.4478139E-09,      6335439.32720276};
    return s;
}

const Ellipsoid& ellipsoidOf(Datum datum) {
    switch (datum) {
        case Datum::Xian1980:
            return xian1980();
        case Datum::Wgs84:
            return wgs84();
        case Datum::Cgcs2000:
            return cgcs2000();
        case Datum::Beijing1954:
            break;
    }
    return beijing1954();
}

const Ellipsoid& ZelTuoQiuCanShu(const QString& code) {
    return ellipsoidOf(datumOfCode(trimSpaces(code)).value_or(Datum::Beijing1954));
}

}  // namespace hc
