// The Gauss-Krueger projection as the Chinese surveying textbooks give it
// (高斯投影正反算公式), in two series (a set with Krüger's series, CGCS2000, projects
// with those instead, ellipsoid_series.h):
//  - forward: the classical meridian arc X = a(α0·B − α2·sin 2B + α4·sin 4B − α6·sin 6B),
//    then northing and easting as power series in m = l·cos B (to m^6 and m^5);
//  - inverse: the footpoint latitude Bf = μ + β1·sin 2μ + β2·sin 4μ + β3·sin 6μ with
//    μ = x / A, then latitude and longitude difference as power series in D = y / Nf
//    (to D^6 and D^5).
// The constants of each ellipsoid (a, e², e′², α0 … α6, A, β1 … β3, a(1 − e²)) are used
// exactly as listed below, never derived from one another or recomputed.

#include "survey/projection.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "engine/decimal.h"
#include "engine/number.h"
#include "survey/decimal_text.h"
#include "survey/ellipsoid_series.h"

namespace hc {

using survey_detail::DecText;
using survey_detail::toDecText;

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

namespace {

constexpr double kPi = 3.14159265358979323846;

bool guarded(double v) { return !(std::fabs(v) <= kAngleGuard); }

// Unsigned integer of up to 19 decimal digits.
unsigned long long digitsValue(std::string_view d) {
    unsigned long long v = 0;
    for (char c : d) v = v * 10 + static_cast<unsigned>(c - '0');
    return v;
}

// Exact Decimal of a digit string with `scale` of them after the point.
Decimal decimalOfDigits(std::string_view d, int scale, bool negative) {
    Decimal::u128 coef = 0;
    for (char c : d) coef = coef * 10 + static_cast<unsigned>(c - '0');
    return Decimal::fromParts(coef, scale, negative);
}

const Decimal& degreeInRadians() {
    static const Decimal k = Decimal::fromText(u"0.0174532925199432957692369077");
    return k;
}

double parseDouble(std::string_view s) {
    double v = 0;
    std::from_chars(s.data(), s.data() + s.size(), v);
    return v;
}

}  // namespace

QString decimalText(double value) {
    // Beyond the Decimal range there is no decimal text; the number text stands in.
    if (!(std::fabs(value) < 7.92281625142642E+28)) return doubleToText(value);
    DecText t;
    toDecText(value, t);
    return QString::fromLatin1(t.s, t.len);
}

double ZelSheRuXiaoShu(double value, int places) {
    if (places > 17 || places < 0 || guarded(value)) return value;
    DecText t;
    toDecText(value, t);
    if (t.dot < 0) return value;
    const std::string_view i = t.intDigits();
    const std::string_view f = t.fracDigits();
    const int keep = std::min<int>(places, static_cast<int>(f.size()));
    bool up = static_cast<int>(f.size()) > places && f[places] > '4';

    // Magnitude |i| . f[0..keep) plus one unit of the last kept place.
    char digits[64];
    int n = 0;
    digits[n++] = '0';  // room for a carry
    std::memcpy(digits + n, i.data(), i.size());
    n += static_cast<int>(i.size());
    std::memcpy(digits + n, f.data(), keep);
    n += keep;
    for (int k = n - 1; up && k >= 0; --k) {
        if (digits[k] == '9') {
            digits[k] = '0';
        } else {
            ++digits[k];
            up = false;
        }
    }
    bool zero = true;
    for (int k = 0; k < n; ++k) zero = zero && digits[k] == '0';
    if (zero) return 0.0;

    char text[72];
    int m = 0;
    if (t.negative()) text[m++] = '-';
    const int intEnd = 1 + static_cast<int>(i.size());
    std::memcpy(text + m, digits, intEnd);
    m += intEnd;
    if (keep > 0) {
        text[m++] = '.';
        std::memcpy(text + m, digits + intEnd, keep);
        m += keep;
    }
    return parseDouble(std::string_view(text, m));
}

double ZelDuFenMiaoZhuanBaiFenDu(double packed) {
    if (guarded(packed)) return packed;
    DecText t;
    toDecText(packed, t);
    if (t.dot < 0) return packed;

    char f[48];
    const std::string_view fd = t.fracDigits();
    int fl = static_cast<int>(fd.size());
    std::memcpy(f, fd.data(), fl);
    if (fl < 5) {
        std::memset(f + fl, '0', 7);
        fl += 7;
    }
    const int minutes = (f[0] - '0') * 10 + (f[1] - '0');
    Decimal s = decimalOfDigits(std::string_view(f + 2, fl - 2), fl > 4 ? fl - 4 : 0, false);
    const Decimal sixty(60);
    if (s > sixty) s = sixty;
    Decimal m = Decimal(minutes) + s / sixty;
    if (m > sixty) m = sixty;
    const Decimal whole = decimalOfDigits(t.intDigits(), 0, t.negative());
    const Decimal r = packed >= 0 ? whole + m / sixty : whole - m / sixty;
    return r.toDouble();
}

double ZelBaiFenDuZhuanDuFenMiao(double degrees) {
    if (guarded(degrees)) return degrees;
    DecText t;
    toDecText(degrees, t);
    if (t.dot < 0) return degrees;

    const std::string_view fd = t.fracDigits();
    const Decimal frac = decimalOfDigits(fd, static_cast<int>(fd.size()), false);
    long long d = static_cast<long long>(digitsValue(t.intDigits()));
    if (t.negative()) d = -d;

    const Decimal f60 = frac * Decimal(60);
    const Decimal mWhole = f60.truncated();
    int minutes = static_cast<int>(mWhole.toDouble());
    const Decimal rest = f60 - mWhole;
    const double restSeconds = (rest * Decimal(60)).toDouble();

    char sec[64];
    int sl = 0;
    // The seconds are kept to the 4 places that the packed angle's 8 places show, and
    // the carry is decided on them: seconds just below 60 are neither carried early nor
    // written as 60 by a later rounding.
    if (ZelSheRuXiaoShu(restSeconds, 4) == 60) {
        sec[sl++] = '0';
        sec[sl++] = '0';
        ++minutes;
    } else {
        DecText s;
        toDecText(ZelSheRuXiaoShu(restSeconds, 4), s);
        // Below 10 seconds the text gets a leading zero; the point is dropped.
        const std::string_view si = s.intDigits();
        if (si.size() < 2) sec[sl++] = '0';
        std::memcpy(sec + sl, si.data(), si.size());
        sl += static_cast<int>(si.size());
        const std::string_view sf = s.fracDigits();
        std::memcpy(sec + sl, sf.data(), sf.size());
        sl += static_cast<int>(sf.size());
    }
    if (minutes == 60) {
        minutes = 0;
        d += degrees >= 0 ? 1 : -1;
    }

    char text[128];
    int n = 0;
    if (degrees < 0 && d >= 0) text[n++] = '-';
    n += static_cast<int>(std::to_chars(text + n, text + 40, d).ptr - (text + n));
    text[n++] = '.';
    text[n++] = static_cast<char>('0' + minutes / 10);
    text[n++] = static_cast<char>('0' + minutes % 10);
    std::memcpy(text + n, sec, sl);
    n += sl;

    int significant = 0;
    for (int k = 0; k < n; ++k) significant += (text[k] >= '0' && text[k] <= '9') ? 1 : 0;
    if (significant > 29) {
        // More digits than a Decimal holds: it rounds them first.
        return Decimal::fromText(QString::fromLatin1(text, n)).toDouble();
    }
    return parseDouble(std::string_view(text, n));
}

double ZelDuFenMiaoGuiZheng(double packed) {
    if (guarded(packed)) return packed;
    DecText t;
    toDecText(packed, t);
    if (t.dot < 0) return packed;

    DecText whole;
    toDecText(std::trunc(packed), whole);
    long long d = static_cast<long long>(digitsValue(whole.intDigits()));
    if (whole.negative()) d = -d;

    char f[48];
    const std::string_view fd = t.fracDigits();
    int fl = static_cast<int>(fd.size());
    std::memcpy(f, fd.data(), fl);
    if (fl < 5) {
        std::memset(f + fl, '0', 6);
        fl += 6;
    }
    int minutes = (f[0] - '0') * 10 + (f[1] - '0');
    int seconds = (f[2] - '0') * 10 + (f[3] - '0');
    const int restLen = std::min(fl - 4, 12);
    if (seconds >= 60) {
        seconds -= 60;
        ++minutes;
    }
    if (minutes >= 60) {
        minutes -= 60;
        d += packed >= 0 ? 1 : -1;
    }

    char text[96];
    int n = 0;
    if (packed < 0 && d >= 0) text[n++] = '-';
    n += static_cast<int>(std::to_chars(text + n, text + 40, d).ptr - (text + n));
    text[n++] = '.';
    text[n++] = static_cast<char>('0' + minutes / 10);
    text[n++] = static_cast<char>('0' + minutes % 10);
    text[n++] = static_cast<char>('0' + seconds / 10);
    text[n++] = static_cast<char>('0' + seconds % 10);
    std::memcpy(text + n, f + 4, restLen);
    n += restLen;
    return parseDouble(std::string_view(text, n));
}

bool packedBeyondSixty(double packed) {
    std::uint64_t coef = 0;
    int exp = 0;
    // Below 1E-5 the minutes and seconds are zeros; from 1E+15 on there is no fraction.
    if (guarded(packed) || !survey_detail::exactDigits15(packed, coef, exp)) return false;
    const int w = 14 - exp;  // fraction digits, trailing zeros included
    if (w <= 0) return false;
    const std::uint64_t fraction = coef % survey_detail::kPow10[w];
    // The first four fraction digits, zeros following a shorter fraction.
    const std::uint64_t mmss =
        w >= 4 ? fraction / survey_detail::kPow10[w - 4] : fraction * survey_detail::kPow10[4 - w];
    return mmss / 100 >= 60 || mmss % 100 >= 60;
}

double ZelDuFenMiaoZhuanHuDu(double packed) {
    if (guarded(packed)) return 0;
    return (Decimal::fromDouble(ZelDuFenMiaoZhuanBaiFenDu(packed)) * degreeInRadians()).toDouble();
}

double ZelBaiFenDuZhuanHuDu(double degrees) {
    if (guarded(degrees)) return 0;
    return (Decimal::fromDouble(degrees) * degreeInRadians()).toDouble();
}

double radiansToDegrees(double radians) { return radians * 57.295779513082320876798154814; }

GridXY ZelTouYingZhengSuan(double b, double l, const Ellipsoid& p, const GridParameters& g) {
    if (p.kruger) return krugerForward(b, l, *p.kruger, g);
    const double s = std::sin(b);
    const double c = std::cos(b);
    const double t = std::tan(b);
    const double t2 = t * t;
    const double eta2 = p.ep2 * c * c;
    const double m = c * l;
    const double m2 = m * m;
    const double m4 = m2 * m2;

    const double arc = p.a * (p.alpha0 * b - p.alpha2 * std::sin(2 * b) +
                              p.alpha4 * std::sin(4 * b) - p.alpha6 * std::sin(6 * b));
    const double n = p.a / std::sqrt(1 - p.e2 * s * s);

    const double x =
        g.k0 *
            (arc + n * t *
                       (m2 / 2 + m4 * (5 - t2 + 9 * eta2 + 4 * eta2 * eta2) / 24 +
                        m4 * m2 * (61 - 58 * t2 + t2 * t2 + 270 * eta2 - 330 * eta2 * t2) / 720)) +
        g.falseNorthing;
    const double y = g.k0 * n *
                     (m + m2 * m * (1 - t2 + eta2) / 6 +
                      m4 * m * (5 - 18 * t2 + t2 * t2 + 14 * eta2 - 58 * eta2 * t2) / 120);
    return {x, y};
}

double footpointLatitude(double x, const Ellipsoid& p, const GridParameters& g) {
    if (p.kruger) return krugerInverse(x, 0, *p.kruger, g).b;
    const double mu = ((x - g.falseNorthing) / g.k0) / p.arcA;
    return mu + p.beta1 * std::sin(2 * mu) + p.beta2 * std::sin(4 * mu) +
           p.beta3 * std::sin(6 * mu);
}

double meridianQuadrant(const Ellipsoid& p, const GridParameters& g) {
    const double radius = p.kruger ? p.kruger->rectifying : p.arcA;
    return g.falseNorthing + g.k0 * radius * (kPi / 2);
}

double inverseEastingLimit(double x, const Ellipsoid& p, const GridParameters& g) {
    const double bf = footpointLatitude(x, p, g);
    const double sf = std::sin(bf);
    const double nf = p.a / std::sqrt(1 - p.e2 * sf * sf);
    return g.k0 * nf * std::fabs(std::cos(bf)) * (kInverseSeriesGuard * kPi / 180);
}

bool inverseWithinReach(double b, double l, const Ellipsoid& p, double k0) {
    const double excess = std::fabs(l) - kMeridianReach * kPi / 180;
    if (excess <= 0) return true;
    const double s = std::sin(b);
    const double n = p.a / std::sqrt(1 - p.e2 * s * s);
    return k0 * n * std::fabs(std::cos(b)) * excess <= 0.002 + 0.1 * k0;
}

LatDiff ZelTouYingFanSuan(double x, double yReduced, const Ellipsoid& p, const GridParameters& g) {
    if (p.kruger) return krugerInverse(x, yReduced, *p.kruger, g);
    const double bf = footpointLatitude(x, p, g);
    const double sf = std::sin(bf);
    const double cf = std::cos(bf);
    const double w = 1 - p.e2 * sf * sf;
    const double mf = p.a1e2 / std::pow(w, 1.5);
    const double nf = p.a / std::sqrt(w);
    const double etaf2 = p.ep2 * cf * cf;
    const double tf = std::tan(bf);
    const double tf2 = tf * tf;
    const double d = (yReduced / g.k0) / nf;
    const double d2 = d * d;
    const double d4 = d2 * d2;

    const double b =
        bf - (tf * nf / mf) * (d2 / 2 - d4 * (5 + 3 * tf2 + etaf2 - 9 * etaf2 * tf2) / 24 +
                               d4 * d2 * (61 + 90 * tf2 + 45 * tf2 * tf2) / 720);
    const double l =
        (d - d2 * d * (1 + 2 * tf2 + etaf2) / 6 +
         d4 * d * (5 + 28 * tf2 + 24 * tf2 * tf2 + 6 * etaf2 + 8 * etaf2 * tf2) / 120) /
        cf;
    return {b, l};
}

}  // namespace hc
