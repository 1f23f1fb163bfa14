#include "survey/fast_conversion.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "engine/number.h"
#include "survey/decimal_text.h"
#include "survey/zones.h"

namespace hc::fast {
namespace {

using u128 = unsigned __int128;
using survey_detail::exactDigits15;
using survey_detail::kPow10;
constexpr double kPow10Double[18] = {1e0, 1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,
                                     1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17};
constexpr std::int64_t kExactIntegers = std::int64_t{1} << 53;

bool guarded(double v) { return !(std::fabs(v) <= kAngleGuard); }

// The error bounds below count on the 64-bit significand of x87 extended precision.
static_assert(std::numeric_limits<long double>::digits >= 64);

// The double nearest to a value known as `v` within `error`: false when a rounding
// boundary between two doubles lies within `error` of v (or v is not an ordinary
// double), because then the nearest double of the value itself is not decided.
bool nearestDouble(long double v, long double error, double& out) {
    const double h = static_cast<double>(v);
    std::uint64_t bits = 0;
    std::memcpy(&bits, &h, sizeof bits);
    const int e = static_cast<int>((bits >> 52) & 0x7ff);
    // Tiny, huge, and powers of two (a narrower spacing below) are left to the routine.
    if (e <= 60 || e >= 0x7fe || (bits & ((std::uint64_t{1} << 52) - 1)) == 0) return false;
    const std::uint64_t ulpBits = static_cast<std::uint64_t>(e - 52) << 52;
    double ulp = 0;
    std::memcpy(&ulp, &ulpBits, sizeof ulp);
    const long double diff = v - static_cast<long double>(h);  // exact
    const long double room = static_cast<long double>(ulp) / 2 - std::fabs(diff);
    if (!(room > error)) return false;
    out = h;
    return true;
}

// 0.0174532925199432957692369077, the calculator's degree in radians, times 10^-j.
struct RadianFactors {
    long double k[20];
    RadianFactors() {
        for (int j = 0; j < 20; ++j) {
            const std::string text = "174532925199432957692369077e-" + std::to_string(28 + j);
            k[j] = std::strtold(text.c_str(), nullptr);
        }
    }
};
const RadianFactors& radianFactors() {
    static const RadianFactors f;
    return f;
}

// The packed angle ±units / 1E+8 of decimal degrees, as ZelBaiFenDuZhuanDuFenMiao
// computes it. False when the routine has to decide (see degreesToPacked), and for
// whole degrees, which it returns as they are, unless `wholeDegrees` allows them.
bool packedUnits(double degrees, bool wholeDegrees, std::int64_t& units, bool& negative) {
    std::uint64_t coef = 0;
    int p = 0;
    if (!exactDigits15(degrees, coef, p)) return false;
    const int w = 14 - p;  // fraction digits, 0 ... 19
    if (w <= 0) return false;
    const std::uint64_t scale = kPow10[w];
    const std::uint64_t whole = coef / scale;
    const std::uint64_t fraction = coef % scale;
    if (whole >= 10000000 || (fraction == 0 && !wholeDegrees)) return false;
    // fraction * 3600 / 10^w = minutes * 60 + seconds, exactly as the Decimal steps do.
    const u128 f3600 = static_cast<u128>(fraction) * 3600;
    const u128 minuteUnit = static_cast<u128>(scale) * 60;
    const auto minutes = static_cast<std::uint64_t>(f3600 / minuteUnit);
    const u128 rest = f3600 - minutes * minuteUnit;  // seconds * 10^w
    const u128 t = rest * 10000;
    const auto q = static_cast<std::uint64_t>(t / scale);
    const auto r = static_cast<std::uint64_t>(t % scale);
    // The routine rounds the seconds' double through its 15-digit text: both roundings
    // agree unless the seconds lie within 1E-13 of a half of the fourth place. Exactly
    // on the half they have 7 digits, which the 15 keep, and both round up.
    const u128 twice = static_cast<u128>(r) * 2;
    const u128 off = twice > scale ? twice - scale : scale - twice;
    if (off != 0 && off * 1000000000 <= static_cast<u128>(scale) * 2) return false;
    std::uint64_t seconds = q + (twice >= scale ? 1 : 0);  // in 1E-4 seconds
    std::uint64_t m = minutes;
    std::uint64_t d = whole;
    if (seconds == 600000) {
        // Seconds whose 15 digits are 60 are written as 60 by the routine, not carried.
        const u128 shortOf60 = minuteUnit - rest;
        if (shortOf60 * 10000000000000ULL <= scale) return false;
        seconds = 0;
        if (++m == 60) {
            m = 0;
            ++d;
        }
    }
    units = static_cast<std::int64_t>(d * 100000000 + m * 1000000 + seconds);
    negative = degrees < 0;
    return true;
}

// The fused inverse core: ZelTouYingFanSuan and inverseEastingLimit share the
// footpoint latitude and its radius. The expressions are theirs, operation for
// operation, so the results are the same doubles. Sets with Krüger's series take the
// routines themselves.
struct InverseCore {
    LatDiff r;
    double limit;
};
InverseCore inverseCore(double x, double yReduced, const Ellipsoid& p, const GridParameters& g) {
    constexpr double kPi = 3.14159265358979323846;
    InverseCore c{};
    if (p.kruger) {
        c.limit = inverseEastingLimit(x, p, g);
        if (std::fabs(yReduced) <= c.limit) c.r = ZelTouYingFanSuan(x, yReduced, p, g);
        return c;
    }
    const double bf = footpointLatitude(x, p, g);
    const double sf = std::sin(bf);
    const double cf = std::cos(bf);
    const double w = 1 - p.e2 * sf * sf;
    const double nf = p.a / std::sqrt(w);
    c.limit = g.k0 * nf * std::fabs(cf) * (kInverseSeriesGuard * kPi / 180);
    if (std::fabs(yReduced) > c.limit) return c;
    const double mf = p.a1e2 / std::pow(w, 1.5);
    const double etaf2 = p.ep2 * cf * cf;
    const double tf = std::tan(bf);
    const double tf2 = tf * tf;
    const double d = (yReduced / g.k0) / nf;
    const double d2 = d * d;
    const double d4 = d2 * d2;
    c.r.b = bf - (tf * nf / mf) * (d2 / 2 - d4 * (5 + 3 * tf2 + etaf2 - 9 * etaf2 * tf2) / 24 +
                                   d4 * d2 * (61 + 90 * tf2 + 45 * tf2 * tf2) / 720);
    c.r.l = (d - d2 * d * (1 + 2 * tf2 + etaf2) / 6 +
             d4 * d * (5 + 28 * tf2 + 24 * tf2 * tf2 + 6 * etaf2 + 8 * etaf2 * tf2) / 120) /
            cf;
    return c;
}

// packedResult of zones.cpp on the fast routines: the rounding to 8 places, the 15
// digits and the carry leave the packed angle of packedUnits as it is.
// Whole degrees come back from the routine as they are, and its 15 digits make them
// whole.
bool packedResult(double degrees, bool negate, double& out, std::int64_t& units, bool& negative) {
    if (!packedUnits(degrees, true, units, negative)) return false;
    double v = static_cast<double>(units) / 1e8;
    if (negative) v = -v;
    if (negate) {
        v = -v;
        negative = !negative && units != 0;
    }
    out = v;
    return true;
}

}  // namespace

namespace {

enum class Rounding { Units, Unchanged, Undecided };

// ZelSheRuXiaoShu as a count of 10^-places units; Unchanged when the routine returns
// the value as it is (its 15-digit text has no decimals).
Rounding roundToUnits(double value, int places, std::int64_t& units, bool& negative) {
    if (places < 0 || places > 17) return Rounding::Undecided;
    if (guarded(value) || value == 0) return Rounding::Unchanged;
    std::uint64_t coef = 0;
    int p = 0;
    if (!exactDigits15(value, coef, p)) return Rounding::Undecided;
    const int w = 14 - p;  // fraction digits of the 15-digit text, trailing zeros included
    if (w <= 0 || coef % kPow10[w] == 0) return Rounding::Unchanged;
    std::uint64_t q = 0;
    if (w <= places) {
        if (places - w > 15) return Rounding::Undecided;
        const u128 wide = static_cast<u128>(coef) * kPow10[places - w];
        if (wide >= static_cast<u128>(kExactIntegers)) return Rounding::Undecided;
        q = static_cast<std::uint64_t>(wide);
    } else {
        const int drop = w - places;
        q = coef / kPow10[drop];
        if (coef % kPow10[drop] >= 5 * kPow10[drop - 1]) ++q;
    }
    units = static_cast<std::int64_t>(q);
    negative = value < 0 && q != 0;
    return Rounding::Units;
}

}  // namespace

bool roundedUnits(double value, int places, std::int64_t& units, bool& negative) {
    return roundToUnits(value, places, units, negative) == Rounding::Units;
}

double roundPlaces(double value, int places) {
    std::int64_t units = 0;
    bool negative = false;
    switch (roundToUnits(value, places, units, negative)) {
        case Rounding::Unchanged:
            return value;
        case Rounding::Undecided:
            return ZelSheRuXiaoShu(value, places);
        case Rounding::Units:
            break;
    }
    if (units == 0) return 0.0;
    const double v = static_cast<double>(units) / kPow10Double[places];
    return negative ? -v : v;
}

double packedToDegrees(double packed) {
    if (guarded(packed)) return packed;
    std::uint64_t coef = 0;
    int p = 0;
    if (!exactDigits15(packed, coef, p) || p > 10) return ZelDuFenMiaoZhuanBaiFenDu(packed);
    const int w = 14 - p;  // 4 ... 19 fraction digits
    const std::uint64_t whole = coef / kPow10[w];
    const std::uint64_t fraction = coef % kPow10[w];
    if (fraction == 0) return packed;  // no decimals: the value stays
    const std::uint64_t minutes = fraction / kPow10[w - 2];
    const std::uint64_t seconds = fraction % kPow10[w - 2];  // in 10^-(w-4) seconds
    // Minutes or seconds of 60 and more are capped by the routine.
    if (minutes >= 60 || seconds > 60 * kPow10[w - 4]) return ZelDuFenMiaoZhuanBaiFenDu(packed);
    const std::uint64_t den = 3600 * kPow10[w - 4];
    const std::uint64_t num = whole * den + minutes * 60 * kPow10[w - 4] + seconds;
    // Both below 2^64, so exact in long double; one rounding in the division.
    const long double e = static_cast<long double>(num) / static_cast<long double>(den);
    // The routine's Decimal steps keep 28 places (26 from 100 degrees on).
    const long double error = e * 0x1p-61L + 1e-25L;
    double out = 0;
    if (!nearestDouble(e, error, out)) return ZelDuFenMiaoZhuanBaiFenDu(packed);
    return packed < 0 ? -out : out;
}

double degreesToRadians(double degrees) {
    if (guarded(degrees)) return 0;
    if (degrees == 0) return 0.0;
    std::uint64_t coef = 0;
    int p = 0;
    if (std::fabs(degrees) > 400 || !exactDigits15(degrees, coef, p)) {
        return ZelBaiFenDuZhuanHuDu(degrees);
    }
    // The 15 digits times the 28-place factor, which the Decimal product rounds to 28
    // places (the radians stay below 7.9).
    const long double v = static_cast<long double>(coef) * radianFactors().k[14 - p];
    const long double error = v * 0x1p-61L + 1e-28L;
    double out = 0;
    if (!nearestDouble(v, error, out)) return ZelBaiFenDuZhuanHuDu(degrees);
    return degrees < 0 ? -out : out;
}

double degreesToPacked(double degrees) {
    if (guarded(degrees)) return degrees;
    std::int64_t units = 0;
    bool negative = false;
    if (!packedUnits(degrees, false, units, negative)) return ZelBaiFenDuZhuanDuFenMiao(degrees);
    const double v = static_cast<double>(units) / 1e8;
    return negative ? -v : v;
}

namespace {

// A grid value as ZelSheRuXiaoShu(v, 3) leaves it, and in whole millimetres as its
// output format writes it: a value without decimals in its 15 digits stays as it is
// and is written as those digits.
bool gridValue(double v, double& out, std::int64_t& mm, bool& negative) {
    switch (roundToUnits(v, 3, mm, negative)) {
        case Rounding::Units:
            out = mm == 0 ? 0.0 : static_cast<double>(mm) / 1000;
            if (negative) out = -out;
            return true;
        case Rounding::Undecided:
            return false;
        case Rounding::Unchanged:
            break;
    }
    out = v;
    negative = false;
    mm = 0;
    if (v == 0) return true;
    std::uint64_t coef = 0;
    int p = 0;
    if (!exactDigits15(v, coef, p) || p > 12) return false;
    mm = static_cast<std::int64_t>(coef / kPow10[14 - p] * 1000);
    negative = v < 0;
    return true;
}

}  // namespace

bool toGridFast(ZoneWidth zone, double lat, double lon, double setting, const Ellipsoid& p,
                const GridParameters& grid, FastGrid& out, ZoneMemo* memo) {
    if (!(lat >= -90 && lat <= 90 && lon >= -180 && lon <= 180)) return false;
    const double choice = zone == ZoneWidth::Six ? 4 : zone == ZoneWidth::Three ? 3 : 2;
    const double cross = zone == ZoneWidth::Six ? 3 : zone == ZoneWidth::Three ? 1.5 : 0.75;

    const double lonDeg = packedToDegrees(lon);
    out.lonDegrees = lonDeg;
    const double c = std::fabs(lonDeg - setting) > choice ? lonDeg : setting;
    ZoneMemo local;
    ZoneMemo& m = memo ? *memo : local;
    if (!m.valid || m.choice != c) {
        double l0 = 0;
        double z = 0;
        switch (zone) {
            case ZoneWidth::Six:
                l0 = c >= 0 ? 6 * roundPlaces((c + 3) / 6, 0) - 3
                            : 6 * roundPlaces((c - 3) / 6, 0) + 3;
                z = l0 >= 0 ? roundPlaces((l0 + 3) / 6, 0) : roundPlaces((l0 - 3) / 6, 0);
                break;
            case ZoneWidth::Three:
                l0 = 3 * roundPlaces(c / 3, 0);
                z = roundPlaces(l0 / 3, 0);
                break;
            case ZoneWidth::OneAndHalf:
                l0 = 1.5 * roundPlaces(c / 1.5, 0);
                z = roundPlaces(l0 / 1.5 - 1, 0);
                break;
        }
        const double prefix = z * 1000000;
        m.valid = true;
        m.choice = c;
        m.l0 = l0;
        m.offset = prefix >= 0 ? prefix + grid.falseEasting : prefix - grid.falseEasting;
        m.l0Radians = std::isfinite(l0) ? degreesToRadians(l0) : 0;
    }
    const double l0 = m.l0;
    const double offset = m.offset;
    if (!std::isfinite(l0) || !(std::fabs(lonDeg - l0) <= kMeridianReach)) return false;

    const double b = degreesToRadians(packedToDegrees(lat));
    const double l = degreesToRadians(lonDeg) - m.l0Radians;
    const GridXY g = ZelTouYingZhengSuan(b, l, p, grid);
    if (!gridValue(g.x, out.x, out.xMm, out.xNegative) ||
        !gridValue(g.y + offset, out.y, out.yMm, out.yNegative) ||
        !gridReadsBack(zone, out.x - grid.falseNorthing, out.y, l0, g.y, grid.falseEasting)) {
        return false;
    }
    out.meridian = l0;
    out.remark = std::fabs(lonDeg - l0) > cross ? GridRemark::CrossZone
                 : l0 != setting                ? GridRemark::OtherMeridian
                                                : GridRemark::None;
    return true;
}

QString gridRemarkText(GridRemark remark, double meridian) {
    switch (remark) {
        case GridRemark::CrossZone:
            return QStringLiteral("……跨带 ") + doubleToText(meridian) + QStringLiteral("度");
        case GridRemark::OtherMeridian:
            return QStringLiteral("⊕⊕中央 ") + doubleToText(meridian) + QStringLiteral("度");
        case GridRemark::None:
            break;
    }
    return {};
}

bool toGeographicFast(ZoneWidth zone, double x, double y, const Ellipsoid& p,
                      const GridParameters& grid, FastGeo& out) {
    // Every case that the routine rejects or remarks on is left to it.
    if (!std::isfinite(x) || !std::isfinite(y)) return false;
    if (gridRangeFault(zone, x, y) != GridRangeFault::None) return false;

    const bool southern = x < 0;
    const double ax = std::fabs(x);
    const auto [l0, reduced, western] = zoneEasting(zone, y, grid.falseEasting);
    if (l0 < -180 || l0 > 180 || ax > meridianQuadrant(p, grid)) return false;
    const InverseCore core = inverseCore(ax, reduced, p, grid);
    if (std::fabs(reduced) > core.limit) return false;
    const LatDiff& r = core.r;
    if (!std::isfinite(r.b) || !std::isfinite(r.l)) return false;
    if (!inverseWithinReach(r.b, r.l, p, grid.k0)) return false;
    out.lat = 0;
    out.latUnits = 0;
    out.latNegative = false;
    if (r.b != 0 &&
        !packedResult(radiansToDegrees(r.b), southern, out.lat, out.latUnits, out.latNegative)) {
        return false;
    }
    return packedResult(l0 + radiansToDegrees(r.l), western, out.lon, out.lonUnits,
                        out.lonNegative);
}

}  // namespace hc::fast
