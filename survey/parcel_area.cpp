#include "survey/parcel_area.h"

#include <GeographicLib/Geodesic.hpp>
#include <GeographicLib/PolygonArea.hpp>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "engine/calc_log.h"
#include "engine/rounding.h"
#include "survey/decimal_text.h"
#include "survey/ellipsoid_series.h"
#include "survey/gk_options.h"
#include "survey/point_list.h"
#include "survey/zones.h"

namespace hc {
namespace {

using i128 = __int128;
using u128 = unsigned __int128;

mpz_class mpzOf(u128 v) {
    mpz_class r(static_cast<unsigned long>(static_cast<std::uint64_t>(v >> 64)));
    r <<= 64;
    r += static_cast<unsigned long>(static_cast<std::uint64_t>(v));
    return r;
}

mpz_class mpzOf(i128 v) {
    const bool negative = v < 0;
    const u128 m = negative ? u128(0) - static_cast<u128>(v) : static_cast<u128>(v);
    mpz_class r = mpzOf(m);
    if (negative) r = -r;
    return r;
}

mpz_class pow10(int n) {
    mpz_class r;
    mpz_ui_pow_ui(r.get_mpz_t(), 10, static_cast<unsigned long>(n));
    return r;
}

// The vertices of a ring as integers in units of 10^-scale m, taken relative to the
// first vertex (which changes no area, and keeps the products small). `small` rings
// have every value below 2^62 in magnitude and keep them in `su`, `sv`; others in
// `bu`, `bv`.
struct IntRing {
    int scale = 0;
    bool small = true;
    std::vector<std::int64_t> su, sv;
    std::vector<mpz_class> bu, bv;

    std::size_t size() const { return small ? su.size() : bu.size(); }
    double du(std::size_t i) const { return small ? double(su[i]) : bu[i].get_d(); }
    double dv(std::size_t i) const { return small ? double(sv[i]) : bv[i].get_d(); }
};

constexpr std::uint64_t kSmallLimit = std::uint64_t(1) << 61;

IntRing intRing(const std::vector<Decimal>& x, const std::vector<Decimal>& y) {
    IntRing r;
    for (std::size_t i = 0; i < x.size(); ++i)
        r.scale = std::max({r.scale, x[i].scale(), y[i].scale()});
    static const auto pow10u = [] {
        std::array<u128, 29> p{};
        p[0] = 1;
        for (std::size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * 10;
        return p;
    }();
    // A coefficient below 2^96 times at most 10^28 may not fit 128 bits: decide on the
    // magnitude first.
    auto smallValue = [&](const Decimal& d, std::int64_t& out) {
        const int shift = r.scale - d.scale();
        const u128 c = d.coefficient();
        if (c != 0 && shift > 0 &&
            c > (u128(kSmallLimit) / pow10u[static_cast<std::size_t>(shift)]))
            return false;
        const u128 v = c * pow10u[static_cast<std::size_t>(shift)];
        if (v >= kSmallLimit) return false;
        out = d.isNegative() ? -static_cast<std::int64_t>(v) : static_cast<std::int64_t>(v);
        return true;
    };
    const std::size_t n = x.size();
    r.su.resize(n);
    r.sv.resize(n);
    for (std::size_t i = 0; i < n && r.small; ++i)
        r.small = smallValue(x[i], r.su[i]) && smallValue(y[i], r.sv[i]);
    if (r.small) {
        if (n == 0) return r;
        const std::int64_t u0 = r.su[0], v0 = r.sv[0];
        for (std::size_t i = 0; i < n; ++i) {
            r.su[i] -= u0;
            r.sv[i] -= v0;
        }
        return r;
    }
    r.su.clear();
    r.sv.clear();
    auto big = [&](const Decimal& d) {
        mpz_class v = mpzOf(d.coefficient()) * pow10(r.scale - d.scale());
        if (d.isNegative()) v = -v;
        return v;
    };
    r.bu.reserve(n);
    r.bv.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        r.bu.push_back(big(x[i]));
        r.bv.push_back(big(y[i]));
    }
    const mpz_class u0 = r.bu[0], v0 = r.bv[0];
    for (std::size_t i = 0; i < n; ++i) {
        r.bu[i] -= u0;
        r.bv[i] -= v0;
    }
    return r;
}

ShoelaceSum shoelaceOf(const IntRing& r) {
    ShoelaceSum s;
    s.scale = r.scale;
    const std::size_t n = r.size();
    if (n < 2) return s;
    if (r.small) {
        // Each term is below 2^125; the running sum goes to GMP when it would overflow.
        i128 acc = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const std::size_t j = i + 1 == n ? 0 : i + 1;
            const i128 term = i128(r.su[i]) * r.sv[j] - i128(r.su[j]) * r.sv[i];
            if (__builtin_add_overflow(acc, term, &acc)) {
                s.twice += mpzOf(acc - term);
                acc = term;
            }
        }
        s.twice += mpzOf(acc);
        return s;
    }
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t j = i + 1 == n ? 0 : i + 1;
        s.twice += r.bu[i] * r.bv[j] - r.bu[j] * r.bv[i];
    }
    return s;
}

double planePerimeter(const IntRing& r) {
    const std::size_t n = r.size();
    if (n < 2) return 0;
    const double unit = std::pow(10.0, -r.scale);
    double sum = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t j = i + 1 == n ? 0 : i + 1;
        double du, dv;
        if (r.small) {
            du = double(r.su[j] - r.su[i]);
            dv = double(r.sv[j] - r.sv[i]);
        } else {
            du = mpz_class(r.bu[j] - r.bu[i]).get_d();
            dv = mpz_class(r.bv[j] - r.bv[i]).get_d();
        }
        // Differences are below 2^63 units: their squares cannot overflow, so
        // std::hypot's slower care for that is not needed.
        sum += std::sqrt(du * du + dv * dv);
    }
    return sum * unit;
}

// ---- Crossing edges --------------------------------------------------------

int signOf(i128 v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); }
int signOf(const mpz_class& v) { return sgn(v); }

// Exact tests on the ring's points p[k] = (u, v) at the indices `idx`.
template <typename T, typename W>
struct RingGeometry {
    const std::vector<T>& u;
    const std::vector<T>& v;

    int orient(std::size_t a, std::size_t b, std::size_t c) const {
        const W abu = W(u[b]) - W(u[a]), abv = W(v[b]) - W(v[a]);
        const W acu = W(u[c]) - W(u[a]), acv = W(v[c]) - W(v[a]);
        return signOf(W(abu * acv - abv * acu));
    }
    // c, collinear with a and b, lies within the box of a and b.
    bool within(std::size_t a, std::size_t b, std::size_t c) const {
        return std::min(u[a], u[b]) <= u[c] && u[c] <= std::max(u[a], u[b]) &&
               std::min(v[a], v[b]) <= v[c] && v[c] <= std::max(v[a], v[b]);
    }
    bool meet(std::size_t p1, std::size_t p2, std::size_t q1, std::size_t q2) const {
        const int o1 = orient(p1, p2, q1), o2 = orient(p1, p2, q2);
        const int o3 = orient(q1, q2, p1), o4 = orient(q1, q2, p2);
        if (o1 * o2 < 0 && o3 * o4 < 0) return true;
        return (o1 == 0 && within(p1, p2, q1)) || (o2 == 0 && within(p1, p2, q2)) ||
               (o3 == 0 && within(q1, q2, p1)) || (o4 == 0 && within(q1, q2, p2));
    }
    // Edges a-b and b-c: c turns back along a-b.
    bool foldsBack(std::size_t a, std::size_t b, std::size_t c) const {
        if (orient(a, b, c) != 0) return false;
        const W d =
            (W(u[c]) - W(u[b])) * (W(u[a]) - W(u[b])) + (W(v[c]) - W(v[b])) * (W(v[a]) - W(v[b]));
        return signOf(d) > 0;
    }
};

// Index into `idx` of an edge that meets another, -1 when none, -2 when the check
// would take more than its bounded work.
template <typename T, typename W>
long long firstCrossing(const IntRing& ring, const std::vector<T>& u, const std::vector<T>& v,
                        const std::vector<std::size_t>& idx) {
    const RingGeometry<T, W> g{u, v};
    const std::size_t m = idx.size();
    auto edgeStart = [&](std::size_t k) { return idx[k]; };
    auto edgeEnd = [&](std::size_t k) { return idx[k + 1 == m ? 0 : k + 1]; };
    for (std::size_t k = 0; k < m; ++k) {
        const std::size_t next = k + 1 == m ? 0 : k + 1;
        if (g.foldsBack(edgeStart(k), edgeEnd(k), edgeEnd(next))) return static_cast<long long>(k);
    }
    if (m < 4) return -1;

    // Edges go into the cells they pass through of a grid of square cells twice the
    // mean edge long, taken column by column with the edge's extent in each column
    // widened a little, so that the doubles' rounding loses no contact; only edges
    // sharing a cell are compared. Cells are keyed by their numbers, not allocated.
    double minU = ring.du(idx[0]), maxU = minU, minV = ring.dv(idx[0]), maxV = minV;
    double length = 0;
    for (std::size_t k = 0; k < m; ++k) {
        const std::size_t a = edgeStart(k), b = edgeEnd(k);
        minU = std::min(minU, ring.du(a));
        maxU = std::max(maxU, ring.du(a));
        minV = std::min(minV, ring.dv(a));
        maxV = std::max(maxV, ring.dv(a));
        const double eu = ring.du(b) - ring.du(a), ev = ring.dv(b) - ring.dv(a);
        length += std::sqrt(eu * eu + ev * ev);
    }
    constexpr double kMaxCells = 1 << 30;  // per axis: cell numbers fit 31 bits
    const double extent = std::max(maxU - minU, maxV - minV);
    double w = std::max(2 * length / double(m), extent / kMaxCells);
    if (!(w > 0) || !std::isfinite(w)) return -2;
    const double slack = w * 1e-4;
    auto cellOf = [&](double value, double low) {
        return static_cast<std::uint64_t>(
            std::clamp(std::floor((value - low) / w), 0.0, kMaxCells));
    };
    const std::size_t budget = 64 * m + 4000000;
    std::vector<std::pair<std::uint64_t, std::uint32_t>> entries;  // (cell, edge)
    for (std::size_t k = 0; k < m; ++k) {
        double ua = ring.du(edgeStart(k)), va = ring.dv(edgeStart(k));
        double ub = ring.du(edgeEnd(k)), vb = ring.dv(edgeEnd(k));
        if (ua > ub) {
            std::swap(ua, ub);
            std::swap(va, vb);
        }
        const std::uint64_t c0 = cellOf(ua - slack, minU), c1 = cellOf(ub + slack, minU);
        for (std::uint64_t cu = c0; cu <= c1; ++cu) {
            const double lo = std::max(ua, minU + double(cu) * w - slack);
            const double hi = std::min(ub, minU + double(cu + 1) * w + slack);
            double vlo = va, vhi = vb;
            if (ub > ua) {
                vlo = va + (vb - va) * ((lo - ua) / (ub - ua));
                vhi = va + (vb - va) * ((hi - ua) / (ub - ua));
            }
            if (vlo > vhi) std::swap(vlo, vhi);
            const std::uint64_t r0 = cellOf(vlo - slack, minV), r1 = cellOf(vhi + slack, minV);
            if (r1 - r0 + 1 > budget - std::min(budget, entries.size())) return -2;
            for (std::uint64_t cv = r0; cv <= r1; ++cv)
                entries.emplace_back((cu << 32) | cv, std::uint32_t(k));
        }
    }
    std::sort(entries.begin(), entries.end());
    std::size_t pairs = 0;
    long long found = -1;
    for (std::size_t s = 0; s < entries.size();) {
        std::size_t e = s;
        while (e < entries.size() && entries[e].first == entries[s].first) ++e;
        for (std::size_t i = s; i < e; ++i) {
            for (std::size_t j = i + 1; j < e; ++j) {
                if (++pairs > budget) return -2;
                const std::size_t a = entries[i].second, b = entries[j].second;
                if (b == a + 1 || (a == 0 && b == m - 1)) continue;  // adjacent, tested above
                if (g.meet(edgeStart(a), edgeEnd(a), edgeStart(b), edgeEnd(b))) {
                    if (found < 0 || static_cast<long long>(a) < found)
                        found = static_cast<long long>(a);
                    break;
                }
            }
        }
        s = e;
    }
    return found;
}

// The ring's vertices without a vertex equal to the one before it (the first counts
// as coming after the last).
std::vector<std::size_t> distinctRing(const IntRing& r) {
    std::vector<std::size_t> idx;
    const std::size_t n = r.size();
    auto same = [&](std::size_t a, std::size_t b) {
        return r.small ? r.su[a] == r.su[b] && r.sv[a] == r.sv[b]
                       : r.bu[a] == r.bu[b] && r.bv[a] == r.bv[b];
    };
    for (std::size_t i = 0; i < n; ++i)
        if (idx.empty() || !same(idx.back(), i)) idx.push_back(i);
    while (idx.size() > 1 && same(idx.back(), idx.front())) idx.pop_back();
    return idx;
}

long long crossingEdge(const IntRing& r, const std::vector<std::size_t>& idx) {
    if (r.small) return firstCrossing<std::int64_t, i128>(r, r.su, r.sv, idx);
    if (idx.size() > 20000) return -2;  // the exact test on big integers is slow
    return firstCrossing<mpz_class, mpz_class>(r, r.bu, r.bv, idx);
}

// ---- Ellipsoid -------------------------------------------------------------

struct Shape {
    double a;  // semi-major axis, metres
    double f;  // flattening
};

// The defining axis and flattening of each datum's ellipsoid.
Shape shapeOf(Datum datum) {
    switch (datum) {
        case Datum::Xian1980:
            return {6378140.0, 1 / 298.257};
        case Datum::Wgs84:
            return {6378137.0, 1 / 298.257223563};
        case Datum::Cgcs2000:
            return {6378137.0, 1 / 298.257222101};
        case Datum::Beijing1954:
            break;
    }
    return {6378245.0, 1 / 298.3};
}

constexpr Datum kDatums[] = {Datum::Beijing1954, Datum::Xian1980, Datum::Wgs84, Datum::Cgcs2000};

const GeographicLib::Geodesic& geodesicOf(Datum datum) {
    static const std::vector<GeographicLib::Geodesic> geodesics = [] {
        std::vector<GeographicLib::Geodesic> g;
        for (Datum d : kDatums) g.emplace_back(shapeOf(d).a, shapeOf(d).f);
        return g;
    }();
    return geodesics[static_cast<std::size_t>(datum)];
}

// The datum's parameter set projecting with Krueger's series in the third flattening.
// An area asks for the local scale to a few parts in 10^9, which the textbook series of
// the listed Beijing 1954 constants miss by some parts in 10^8.
const Ellipsoid& inverseEllipsoid(Datum datum) {
    static const std::vector<KrugerSeries> series = [] {
        std::vector<KrugerSeries> s;
        for (Datum d : kDatums) s.push_back(krugerSeries(shapeOf(d).a, shapeOf(d).f));
        return s;
    }();
    static const std::vector<Ellipsoid> sets = [] {
        std::vector<Ellipsoid> e;
        for (Datum d : kDatums) {
            Ellipsoid set = ellipsoidFromFlattening(shapeOf(d).a, shapeOf(d).f);
            set.kruger = &series[static_cast<std::size_t>(d)];
            e.push_back(set);
        }
        return e;
    }();
    return sets[static_cast<std::size_t>(datum)];
}

// ---- Reading parcels ---------------------------------------------------------

// A parcel as read: its vertices without the rows that repeat the vertex before them,
// which change neither area nor perimeter and are only counted.
struct Parcel {
    QString name;
    qint64 firstLine = 0;
    std::vector<Decimal> x, y;
    std::vector<qint64> lines;
    qint64 rows = 0;  // vertex rows, repeated ones included
    qint64 repeats = 0;
    qint64 firstRepeatLine = 0;
    bool tooMany = false;  // more than kMaxParcelVertices vertices; the rest were not kept
};

QString quoted(const QString& name) { return QStringLiteral("“%1”").arg(name); }

// A packed angle d.mmss... as decimal degrees; false when its minutes or seconds are
// 60 or more.
bool degreesOfPacked(const Decimal& packed, double& out) {
    const Decimal a = packed.abs();
    const Decimal d = a.truncated();
    const Decimal minutesAndSeconds = (a - d) * Decimal(100);
    const Decimal m = minutesAndSeconds.truncated();
    const Decimal s = (minutesAndSeconds - m) * Decimal(100);
    if (m >= Decimal(60) || s >= Decimal(60)) return false;
    const double deg = d.toDouble() + m.toDouble() / 60 + s.toDouble() / 3600;
    out = packed.isNegative() ? -deg : deg;
    return true;
}

// A packed angle d.mmss... in seconds of arc, exactly.
Decimal secondsOfPacked(const Decimal& packed) {
    const Decimal a = packed.abs();
    const Decimal d = a.truncated();
    const Decimal minutesAndSeconds = (a - d) * Decimal(100);
    const Decimal m = minutesAndSeconds.truncated();
    const Decimal total =
        d * Decimal(3600) + m * Decimal(60) + (minutesAndSeconds - m) * Decimal(100);
    return packed.isNegative() ? -total : total;
}

struct LatLon {
    std::vector<double> lat, lon;
};

class AreaCalculator {
public:
    AreaCalculator(const AreaOptions& options, Notices& notices)
        : options_(options), notices_(notices) {}

    void row(const PointRow& p, qint64 line);
    void finish();
    bool anyComputed() const { return computed_ > 0; }
    QString text() const;

private:
    void endParcel();
    void compute(Parcel& parcel);
    void note(const QString& text) { notices_.append(Notice{text, NoticeButtons::Ok, QString()}); }
    void failedRow(const Parcel& parcel, const QString& why);
    // Grid vertices to latitude and longitude; false with a notice when one fails.
    bool toGeographic(const Parcel& parcel, LatLon& out);
    bool geographicDegrees(const Parcel& parcel, LatLon& out);

    const AreaOptions& options_;
    Notices& notices_;
    Parcel current_;
    bool named_ = false;
    int unnamedCount_ = 0;
    std::vector<std::vector<QString>> rows_;
    qint64 totalVertices_ = 0;
    double totalPerimeter_ = 0;
    mpq_class totalPlane_;
    double totalEllipsoid_ = 0;
    int computed_ = 0;
};

void AreaCalculator::row(const PointRow& p, qint64 line) {
    const bool noX = isBlankText(p.x), noY = isBlankText(p.y);
    if (noX && noY && isBlankText(p.h) && isBlankText(p.extra)) {
        endParcel();
        if (!p.name.isEmpty()) {
            current_.name = p.name;
            current_.firstLine = line;
            named_ = true;
        }
        return;
    }
    if (current_.x.empty() && current_.firstLine == 0) current_.firstLine = line;
    Decimal x, y;
    try {
        x = coordinateValue(p.x);
        y = coordinateValue(p.y);
    } catch (const DecimalError&) {
        const QString name = named_ ? current_.name : QString::number(unnamedCount_ + 1);
        note(QStringLiteral("地块%1第 %2 行的坐标超出计算范围，该点按 0 计算。")
                 .arg(quoted(name))
                 .arg(line));
    }
    ++current_.rows;
    if (!current_.x.empty() && x == current_.x.back() && y == current_.y.back()) {
        if (current_.repeats++ == 0) current_.firstRepeatLine = line;
        return;
    }
    if (current_.x.size() >= kMaxParcelVertices) {
        current_.tooMany = true;
        return;
    }
    current_.x.push_back(x);
    current_.y.push_back(y);
    current_.lines.push_back(line);
}

void AreaCalculator::finish() { endParcel(); }

void AreaCalculator::endParcel() {
    if (!current_.x.empty()) {
        if (!named_) current_.name = QString::number(++unnamedCount_);
        compute(current_);
    } else if (named_) {
        note(QStringLiteral("地块%1（第 %2 行）没有顶点。")
                 .arg(quoted(current_.name))
                 .arg(current_.firstLine));
    }
    current_ = Parcel{};
    named_ = false;
}

void AreaCalculator::failedRow(const Parcel& parcel, const QString& why) {
    rows_.push_back({parcel.name, QString::number(parcel.rows), why});
    totalVertices_ += parcel.rows;
}

bool AreaCalculator::geographicDegrees(const Parcel& parcel, LatLon& out) {
    for (std::size_t i = 0; i < parcel.x.size(); ++i) {
        double lat = 0, lon = 0;
        // Told first: a grid value read as an angle would mostly break the minutes rule.
        const bool angles = parcel.x[i].abs() <= Decimal(90) && parcel.y[i].abs() <= Decimal(360);
        if (!angles || !degreesOfPacked(parcel.x[i], lat) || !degreesOfPacked(parcel.y[i], lon) ||
            !(std::fabs(lat) <= 90)) {
            note((angles ? QStringLiteral("地块%1第 %2 行的经纬度有 60 或更多的分或秒。")
                         : QStringLiteral("地块%1第 %2 行不是经纬度（纬度超过 90 度或经度超过 360 "
                                          "度），像是公里网坐标；公里网坐标和经纬度不能混在一起。"))
                     .arg(quoted(parcel.name))
                     .arg(parcel.lines[i]));
            return false;
        }
        out.lat.push_back(lat);
        out.lon.push_back(lon);
    }
    return true;
}

bool AreaCalculator::toGeographic(const Parcel& parcel, LatLon& out) {
    const std::size_t n = parcel.x.size();
    out.lat.reserve(n);
    out.lon.reserve(n);
    std::optional<ZoneWidth> width = options_.zone;
    double firstPrefix = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double x = parcel.x[i].toDouble(), y = parcel.y[i].toDouble();
        const qint64 line = parcel.lines[i];
        if (std::fabs(y) < 1000 && std::fabs(x) <= 90) {
            note(QStringLiteral("地块%1第 %2 行像是经纬度，不是公里网坐标；公里网坐标和经纬度"
                                "不能混在一起。")
                     .arg(quoted(parcel.name))
                     .arg(line));
            return false;
        }
        double meridian = 0, reduced = 0;
        bool western = false;
        if (options_.meridian) {
            meridian = *options_.meridian;
            reduced = y - kZoneGrid.falseEasting;
        } else {
            const double prefix = std::trunc(std::fabs(y) / 1000000);
            if (i == 0) {
                firstPrefix = prefix;
            } else if (prefix != firstPrefix) {
                note(QStringLiteral(
                         "地块%1第 %2 行的点与第 %3 行的点不在同一投影带（带号 %4 和 %5）。")
                         .arg(quoted(parcel.name))
                         .arg(line)
                         .arg(parcel.lines[0])
                         .arg(prefix)
                         .arg(firstPrefix));
                return false;
            }
            if (!width) {
                if (prefix >= 13 && prefix <= 23) {
                    width = ZoneWidth::Six;
                } else if (prefix >= 24 && prefix <= 45) {
                    width = ZoneWidth::Three;
                } else {
                    note(QStringLiteral("地块%1第 %2 行的带号 %3 看不出是 6 度带还是 3 度带，"
                                        "请选择分带或中央子午线。")
                             .arg(quoted(parcel.name))
                             .arg(line)
                             .arg(prefix));
                    return false;
                }
            }
            if (gridRangeFault(*width, x, y) != GridRangeFault::None) {
                note(QStringLiteral("地块%1第 %2 行的东坐标不在投影带的范围内。")
                         .arg(quoted(parcel.name))
                         .arg(line));
                return false;
            }
            const ZoneEasting ze = zoneEasting(*width, y, kZoneGrid.falseEasting);
            meridian = ze.meridian;
            reduced = ze.reduced;
            western = ze.western;
        }
        LatDiff r{};
        if (checkedInverse(std::fabs(x), reduced, inverseEllipsoid(options_.datum), kZoneGrid, r) !=
            InverseFault::None) {
            note(QStringLiteral("地块%1第 %2 行的坐标离中央子午线太远或超出范围，无法反算经纬度。")
                     .arg(quoted(parcel.name))
                     .arg(line));
            return false;
        }
        const double lat = radiansToDegrees(r.b);
        const double lon = meridian + radiansToDegrees(r.l);
        out.lat.push_back(x < 0 ? -lat : lat);
        out.lon.push_back(western ? -lon : lon);
    }
    return true;
}

QString fixed(double value, int places) {
    char buf[420];
    const int n = survey_detail::formatFixed(value, 1, places, places, buf);
    return QString::fromLatin1(buf, n);
}

QString ppmText(double diff, double area) {
    if (area == 0) return QStringLiteral("-");
    return fixed(diff / area * 1e6, 1);
}

const mpq_class& squareMetresPerMu() {
    static const mpq_class m(10000, 15);
    return m;
}

void AreaCalculator::compute(Parcel& parcel) {
    const int d = options_.decimals;
    if (parcel.tooMany) {
        note(QStringLiteral("地块%1（第 %2 行起）的顶点超过 %3 个，无法计算。")
                 .arg(quoted(parcel.name))
                 .arg(parcel.firstLine)
                 .arg(kMaxParcelVertices));
        failedRow(parcel, QStringLiteral("顶点太多"));
        return;
    }
    LatLon geo;
    std::vector<Decimal> secondsX, secondsY;
    if (options_.geographic) {
        if (!geographicDegrees(parcel, geo)) {
            failedRow(parcel, QStringLiteral("无法计算"));
            return;
        }
        // Packed angles jump at every whole minute and degree: edges are compared in
        // seconds of arc.
        for (std::size_t i = 0; i < parcel.x.size(); ++i) {
            secondsX.push_back(secondsOfPacked(parcel.x[i]));
            secondsY.push_back(secondsOfPacked(parcel.y[i]));
        }
    }
    const IntRing ring =
        options_.geographic ? intRing(secondsX, secondsY) : intRing(parcel.x, parcel.y);
    const std::vector<std::size_t> idx = distinctRing(ring);
    // Rows repeating the vertex before them, the first vertex repeated at the end too.
    const qint64 repeats = parcel.repeats + static_cast<qint64>(ring.size() - idx.size());
    if (repeats > 0) {
        const qint64 line = parcel.repeats > 0 ? parcel.firstRepeatLine : parcel.lines[idx.size()];
        note(QStringLiteral("地块%1第 %2 行的点与前一点重合（首尾相同也算），"
                            "已按一个顶点计算，共 %3 处。")
                 .arg(quoted(parcel.name))
                 .arg(line)
                 .arg(repeats));
    }
    if (idx.size() < 3) {
        note(QStringLiteral("地块%1（第 %2 行起）不同的顶点少于三个，无法计算面积。")
                 .arg(quoted(parcel.name))
                 .arg(parcel.firstLine));
        failedRow(parcel, QStringLiteral("顶点不足"));
        return;
    }

    if (!options_.geographic && !toGeographic(parcel, geo)) {
        failedRow(parcel, QStringLiteral("无法计算"));
        return;
    }

    // The typed values are no longer needed; a large parcel gives their memory back.
    std::vector<Decimal>().swap(parcel.x);
    std::vector<Decimal>().swap(parcel.y);
    std::vector<Decimal>().swap(secondsX);
    std::vector<Decimal>().swap(secondsY);
    const long long crossing = crossingEdge(ring, idx);
    if (crossing >= 0) {
        note(QStringLiteral("地块%1第 %2 行起的边与其它边相交，面积是各部分带符号（顺时针为正）"
                            "的代数和，请检查点的顺序。")
                 .arg(quoted(parcel.name))
                 .arg(parcel.lines[idx[static_cast<std::size_t>(crossing)]]));
    } else if (crossing == -2) {
        note(QStringLiteral("地块%1的顶点太多，没有检查边是否相交。").arg(quoted(parcel.name)));
    }

    const GeodesicPolygon ellipsoid = geodesicPolygon(geo.lat, geo.lon, options_.datum);
    const mpq_class plane = shoelaceOf(ring).area();
    const bool signedShown = crossing >= 0;
    const int turn = sgn(plane);
    const QString direction = crossing >= 0 ? QStringLiteral("交叉")
                              : turn > 0    ? QStringLiteral("顺时针")
                              : turn < 0    ? QStringLiteral("逆时针")
                                            : QStringLiteral("无");
    const mpq_class shownPlane = signedShown ? plane : mpq_class(abs(plane));
    const double shownEllipsoid = signedShown ? ellipsoid.area : std::fabs(ellipsoid.area);
    std::vector<QString> cells{parcel.name, QString::number(parcel.rows)};
    ++computed_;
    totalVertices_ += parcel.rows;
    totalEllipsoid_ += std::fabs(ellipsoid.area);
    if (options_.geographic) {
        const mpq_class area =
            signedShown ? mpq_class(ellipsoid.area) : mpq_class(std::fabs(ellipsoid.area));
        totalPerimeter_ += ellipsoid.perimeter;
        cells.insert(cells.end(), {fixed(ellipsoid.perimeter, 3), roundedText(area, d),
                                   roundedText(area / 10000, d + 4),
                                   roundedText(area / squareMetresPerMu(), d + 4), direction});
    } else {
        const double perimeter = planePerimeter(ring);
        totalPerimeter_ += perimeter;
        totalPlane_ += abs(plane);
        const double diff = shownEllipsoid - shownPlane.get_d();
        cells.insert(cells.end(),
                     {fixed(perimeter, 3), roundedText(shownPlane, d),
                      roundedText(shownPlane / 10000, d + 4),
                      roundedText(shownPlane / squareMetresPerMu(), d + 4), direction,
                      fixed(shownEllipsoid, d), fixed(diff, d), ppmText(diff, shownPlane.get_d())});
    }
    rows_.push_back(std::move(cells));
}

QString AreaCalculator::text() const {
    std::vector<std::vector<QString>> table;
    const QStringList heading = areaHeading(options_.geographic).split(u'|');
    table.emplace_back(heading.begin(), heading.end());
    table.insert(table.end(), rows_.begin(), rows_.end());
    const int d = options_.decimals;
    if (options_.geographic) {
        const mpq_class area(totalEllipsoid_);
        table.push_back({QStringLiteral("合计"), QString::number(totalVertices_),
                         fixed(totalPerimeter_, 3), roundedText(area, d),
                         roundedText(area / 10000, d + 4),
                         roundedText(area / squareMetresPerMu(), d + 4)});
    } else {
        const double diff = totalEllipsoid_ - totalPlane_.get_d();
        table.push_back(
            {QStringLiteral("合计"), QString::number(totalVertices_), fixed(totalPerimeter_, 3),
             roundedText(totalPlane_, d), roundedText(totalPlane_ / 10000, d + 4),
             roundedText(totalPlane_ / squareMetresPerMu(), d + 4), QString(),
             fixed(totalEllipsoid_, d), fixed(diff, d), ppmText(diff, totalPlane_.get_d())});
    }
    std::vector<int> widths;
    for (const auto& r : table) {
        if (widths.size() < r.size()) widths.resize(r.size());
        for (std::size_t c = 0; c < r.size(); ++c)
            widths[c] = std::max(widths[c], ZelXianShiKuanDu(r[c]));
    }
    QString out;
    for (const auto& r : table) {
        QString line;
        for (std::size_t c = 0; c < r.size(); ++c) {
            const QString pad(widths[c] - ZelXianShiKuanDu(r[c]), u' ');
            if (c > 0) line += QStringLiteral("  ");
            line += c == 0 ? r[c] + pad : pad + r[c];
        }
        while (line.endsWith(u' ')) line.chop(1);
        out += line + QStringLiteral("\r\n");
    }
    return out;
}

}  // namespace

mpq_class ShoelaceSum::area() const {
    mpq_class a(twice, 2 * pow10(2 * scale));
    a.canonicalize();
    return a;
}

ShoelaceSum shoelace(const std::vector<Decimal>& x, const std::vector<Decimal>& y) {
    return shoelaceOf(intRing(x, y));
}

QString roundedText(const mpq_class& value, int places) {
    const mpz_class scaled = abs(value.get_num()) * pow10(places);
    const mpz_class& den = value.get_den();
    // Half away from zero: floor((2n + d) / 2d) on the magnitude.
    const mpz_class q = (2 * scaled + den) / (2 * den);
    std::string digits = q.get_str();
    if (digits.size() <= static_cast<std::size_t>(places))
        digits.insert(0, static_cast<std::size_t>(places) + 1 - digits.size(), '0');
    if (places > 0) digits.insert(digits.size() - static_cast<std::size_t>(places), 1, '.');
    if (sgn(value) < 0 && q != 0) digits.insert(0, 1, '-');
    return QString::fromLatin1(digits.data(), static_cast<qsizetype>(digits.size()));
}

GeodesicPolygon geodesicPolygon(const std::vector<double>& lat, const std::vector<double>& lon,
                                Datum datum) {
    GeographicLib::PolygonArea polygon(geodesicOf(datum));
    for (std::size_t i = 0; i < lat.size(); ++i) polygon.AddPoint(lat[i], lon[i]);
    double perimeter = 0, area = 0;
    polygon.Compute(true, true, perimeter, area);
    return {area, perimeter};
}

std::optional<bool> ringCrosses(const std::vector<Decimal>& x, const std::vector<Decimal>& y) {
    const IntRing ring = intRing(x, y);
    const std::vector<std::size_t> idx = distinctRing(ring);
    if (idx.size() < 3) return false;
    const long long e = crossingEdge(ring, idx);
    if (e == -2) return std::nullopt;
    return e >= 0;
}

QString areaHeading(bool geographic) {
    return geographic ? QStringLiteral("地块|点数|周长(米)|椭球面积(平方米)|公顷|亩|方向")
                      : QStringLiteral(
                            "地块|点数|周长(米)|平面面积(平方米)|公顷|亩|方向|椭球面积(平方米)|"
                            "椭球减平面(平方米)|差(ppm)");
}

bool parcelAreaRows(const PointRowWalk& walk, const AreaOptions& options, QString& out,
                    Notices& notices) {
    AreaCalculator calc(options, notices);
    qint64 line = 0;
    walk([&](const PointRow& row) { calc.row(row, ++line); });
    calc.finish();
    if (!calc.anyComputed())
        notices.append(
            Notice{QStringLiteral("没有可以计算面积的地块。"), NoticeButtons::Ok, QString()});
    out += calc.text();
    return calc.anyComputed();
}

AreaRun runParcelArea(const QString& input, const AreaOptions& options) {
    AreaRun run;
    run.input = input;
    PointListReading reading;
    {
        ScopedCalcLog scope;
        reading = ZelZhengLiDianBiao(input, PointListMode::Grid);
        run.notices = scope.log().notices;
    }
    run.input = reading.text;
    const bool ok = parcelAreaRows(
        [&](const PointRowVisitor& visit) {
            for (const PointRow& p : reading.points.rows) visit(p);
        },
        options, run.output, run.notices);
    run.failed = !ok;
    return run;
}

}  // namespace hc

namespace hc {

QStringList areaZoneChoices() {
    return {QStringLiteral("自动"), QStringLiteral("6度带"), QStringLiteral("3度带"),
            QStringLiteral("1.5度带")};
}

AreaRun areaWindowCalculate(const AreaControls& controls) {
    AreaOptions options;
    options.geographic = controls.geographic;
    options.datum = datumOfControlText(controls.ellipsoid);
    AreaRun refused;
    refused.input = controls.input;
    refused.failed = true;
    auto refuse = [&](const QString& text) {
        refused.notices.append(Notice{text, NoticeButtons::Ok, QString()});
        return refused;
    };
    if (!controls.geographic) {
        const QString zone = controls.zone.trimmed();
        if (zone.startsWith(QStringLiteral("1.5")))
            options.zone = ZoneWidth::OneAndHalf;
        else if (zone.startsWith(u'6'))
            options.zone = ZoneWidth::Six;
        else if (zone.startsWith(u'3'))
            options.zone = ZoneWidth::Three;
        if (!controls.meridian.trimmed().isEmpty()) {
            const std::optional<MeridianOption> m = meridianOption(controls.meridian.trimmed());
            if (!m)
                return refuse(
                    QStringLiteral("中央子午线经度有错误：应为正负 180 度之间的经度，"
                                   "如 117、117°15′ 或 117.15（度.分秒）。"));
            options.meridian = m->degrees;
            options.zone.reset();
        }
    }
    if (controls.input.count(u'\n') >= kWindowAreaLines)
        return refuse(QStringLiteral("点表超过 %1 行，窗口中不能计算；请分成几次计算，"
                                     "或用 hechuan-cli area 计算。")
                          .arg(kWindowAreaLines));
    bool ok = false;
    const int d = controls.decimals.trimmed().toInt(&ok);
    if (!ok || d < 0 || d > kMaxAreaDecimals)
        return refuse(QStringLiteral("小数位数应为 0 到 8 的整数。"));
    options.decimals = d;
    return runParcelArea(controls.input, options);
}

}  // namespace hc
