#include "tools/calculus.h"

#include <QStringList>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "engine/calc_log.h"
#include "engine/num.h"
#include "engine/rounding.h"
#include "engine/text_trim.h"
#include "expr/prepared_formula.h"

namespace hc {

namespace {

const Decimal& halfPi() {
    static const Decimal d = Decimal::fromText(u"1.5707963267948966192313216916");
    return d;
}

const Decimal& eulerE() {
    static const Decimal d = Decimal::fromText(u"2.7182818284590452353602874714");
    return d;
}

constexpr int kVariableX = 6;  // x among the memory variables r ... z
constexpr double kDecimalUnit = 1e-28;

// e^y in Decimal; throws DecimalError beyond the range.
Decimal decimalExp(const Decimal& y) {
    if (y.isNegative()) return Decimal(1) / decimalExp(-y);
    const Decimal whole = y.truncated();
    const Decimal r = y - whole;
    Decimal term = 1;
    Decimal sum = 1;
    for (int k = 1; k < 80; ++k) {
        term = term * r / Decimal(k);
        if (term.isZero()) break;
        sum += term;
    }
    long long m = static_cast<long long>(whole.toDouble());
    if (m > 70) throw DecimalError("exp out of range");
    Decimal power = 1;
    Decimal base = eulerE();
    while (m > 0) {
        if (m & 1) power *= base;
        m >>= 1;
        if (m > 0) base *= base;
    }
    return power * sum;
}

Decimal decimalSqrt(const Decimal& v) {
    if (!(v > Decimal(0))) return Decimal(0);
    Decimal g = Decimal::fromDouble(std::sqrt(v.toDouble()));
    for (int i = 0; i < 4; ++i) g = (g + v / g) / Decimal(2);
    return g;
}

double mag(const Decimal& d) { return std::fabs(d.toDouble()); }

Decimal fromEstimate(double e) {
    if (!(e > kDecimalUnit)) return Decimal::fromText(u"1E-28");
    if (e > 1e28) return Decimal::max();
    return Decimal::fromDouble(e);
}

// Relative error of a sample the calculator trusts to `digits` significant digits.
double relativeError(int digits) { return std::pow(10.0, 1 - std::min(digits, 28)); }

QString roundedText(const Decimal& v, int decimals) {
    ScopedCalcLog scope;
    QString t = trimSpaces(ZelSiSheWuRu(Num::ofDecimal(v), decimals).text());
    if (t.startsWith(u'.')) t.prepend(u'0');
    if (t.startsWith(QStringLiteral("-."))) t.insert(1, u'0');
    if (t == u"-0") t = QStringLiteral("0");
    return t;
}

QString errorText(double e) {
    return QString::number(e, 'e', 1).replace(QStringLiteral("e"), QStringLiteral("E"));
}

// Decimals worth showing for a value with absolute error `error`, at most `decimals`,
// and no more significant digits than `digits`.
int shownDecimals(const Decimal& value, double error, int decimals, int digits) {
    int d = decimals;
    if (error > 0) d = std::min(d, std::max(0, static_cast<int>(std::floor(-std::log10(error)))));
    const double m = mag(value);
    if (m > 0) {
        const int lead = static_cast<int>(std::floor(std::log10(m)));
        d = std::min(d, std::max(0, digits - 1 - lead));
    }
    return std::max(0, d);
}

// Significant digits the error leaves to the value.
int correctDigits(const Decimal& value, double error, int digits) {
    const double m = mag(value);
    if (m == 0) return 0;
    if (!(error > 0)) return digits;
    return std::clamp(static_cast<int>(std::floor(std::log10(m / error))), 0, digits);
}

QString limitedPrecisionNote() {
    return QStringLiteral(
        "注：算式用到只算到 15 位有效数字的函数（对数、反三角函数等），结果最多 15 位有效数字。");
}

QString valueLine(const QString& label, const Decimal& value, double error, int decimals,
                  int digits) {
    return label + roundedText(value, shownDecimals(value, error, decimals, digits));
}

// The lines under the heading that every value shares: the value to the digits its
// error allows, the error, the significant digits and samples taken, and the note on
// functions computed to 15 digits.
QStringList valueLines(const QString& head, const QString& label, const CalculusResult& r,
                       double error, int decimals) {
    QStringList lines{head};
    lines << valueLine(label, r.value, error, decimals, r.digits);
    lines << QStringLiteral("误差估计 = ±") + errorText(error);
    lines << QStringLiteral("有效数字约 ") +
                 QString::number(correctDigits(r.value, error, r.digits)) +
                 QStringLiteral(" 位，取样 ") + QString::number(r.evaluations) +
                 QStringLiteral(" 次");
    if (r.digits <= 15) lines << limitedPrecisionNote();
    return lines;
}

// A warning goes both under the value and to the notices.
void warn(CalculusResult& r, QStringList& lines, const QString& text) {
    lines << text;
    r.notices.append(Notice{text, NoticeButtons::Ok, QString()});
}

CalculusResult cancelledResult() {
    CalculusResult r;
    r.cancelled = true;
    r.output = QStringLiteral("计算已取消。");
    return r;
}

// The samples of one formula in one variable.
class Sampler {
public:
    Sampler(const QString& formula, const CalcSettings& settings, int variable,
            const CancelFlag* cancel)
        : formula_(formula), settings_(settings), variable_(variable), cancel_(cancel) {}

    bool ok() const { return formula_.ok(); }
    const QString& formulaMessage() const { return formula_.message(); }

    // f(x); false with failure() and failedAt() set when f cannot be computed there.
    bool at(const Decimal& x, Decimal& fx) {
        throwIfCancelled(cancel_);
        settings_.memory[std::size_t(variable_)] = Num::ofDecimal(x);
        const FormulaValue v = formula_.evaluate(settings_, cancel_);
        ++evaluations_;
        if (!v.ok) {
            failure_ = v.message;
            failedAt_ = x;
            return false;
        }
        fx = v.value;
        lastDigits_ = std::min(v.digits, 28);
        minDigits_ = std::min(minDigits_, lastDigits_);
        return true;
    }

    int evaluations() const { return evaluations_; }
    int lastDigits() const { return lastDigits_; }
    int minDigits() const { return minDigits_; }
    const QString& failure() const { return failure_; }
    const Decimal& failedAt() const { return failedAt_; }
    const CalcSettings& settings() const { return settings_; }

private:
    PreparedFormula formula_;
    CalcSettings settings_;
    int variable_;
    const CancelFlag* cancel_;
    int evaluations_ = 0;
    int lastDigits_ = 28;
    int minDigits_ = 28;
    QString failure_;
    Decimal failedAt_;
};

QString variableName(int variable) { return QString(QChar(u'r' + variable)); }

QString failedAtText(const Sampler& s, int variable) {
    return QStringLiteral("在 ") + variableName(variable) + QStringLiteral(" = ") +
           s.failedAt().toString() + QStringLiteral(" 处算式无法计算：") + s.failure();
}

CalculusResult failure(const QString& text) {
    CalculusResult r;
    r.failed = true;
    r.output = text;
    r.notices.append(Notice{text, NoticeButtons::Ok, QString()});
    return r;
}

// A number given as a formula of the calculator (no variable set).
std::optional<Decimal> numberOf(const QString& text, const CalcSettings& settings,
                                const CancelFlag* cancel, QString& why) {
    const PreparedFormula f(text);
    const FormulaValue v = f.evaluate(settings, cancel);
    if (!v.ok) {
        why = v.message;
        return std::nullopt;
    }
    return v.value;
}

// --- integrals ---------------------------------------------------------------

enum class End { Finite, Infinite };

// An integration range after its bounds were read: a < b where both are finite.
struct Range {
    End lower = End::Finite;
    End upper = End::Finite;
    Decimal a, b;       // the finite bounds
    Decimal mid, half;  // centre and half-width of a finite range
};

// Where a node lies and what it weighs (the Jacobian of the substitution included).
struct Node {
    Decimal x;
    Decimal w;
    double edge = 0;  // distance from the finite bound it approaches, or |x| towards infinity
};

// The node at t of the substitution fitting `r`: tanh-sinh on a finite range, exp-sinh
// on a half-infinite one, sinh-sinh on the whole line. False when the node is no longer
// distinct from its bound or leaves the Decimal range.
bool nodeAt(const Range& r, const Decimal& t, Node& n) {
    try {
        const Decimal et = decimalExp(t);
        const Decimal sinhT = (et - Decimal(1) / et) / Decimal(2);
        const Decimal coshT = (et + Decimal(1) / et) / Decimal(2);
        const Decimal u = halfPi() * sinhT;
        if (r.lower == End::Finite && r.upper == End::Finite) {
            // 1 - tanh|u| = 2q / (1 + q), q = e^(-2|u|), kept apart from 1 for precision.
            const Decimal au = u.abs();
            const Decimal q = Decimal(1) / decimalExp(au + au);
            if (q.isZero()) return false;
            const Decimal d = Decimal(2) * q / (Decimal(1) + q);
            const Decimal off = r.half * d;
            n.x = t.isNegative() ? r.a + off : r.b - off;
            if (n.x == r.a || n.x == r.b) return false;
            n.w =
                halfPi() * coshT * Decimal(4) * q / ((Decimal(1) + q) * (Decimal(1) + q)) * r.half;
            n.edge = mag(off);
            return true;
        }
        if (r.lower == End::Finite || r.upper == End::Finite) {
            const Decimal eu = decimalExp(r.lower == End::Finite ? u : -u);
            n.x = r.lower == End::Finite ? r.a + eu : r.b - eu;
            if (n.x == r.a || n.x == r.b) return false;
            n.w = halfPi() * coshT * eu;
            const bool towardsInfinity = (r.lower == End::Finite) != t.isNegative();
            n.edge = towardsInfinity ? mag(n.x) : mag(eu);
            return true;
        }
        const Decimal eu = decimalExp(u);
        n.x = (eu - Decimal(1) / eu) / Decimal(2);
        n.w = halfPi() * coshT * (eu + Decimal(1) / eu) / Decimal(2);
        n.edge = mag(n.x);
        return true;
    } catch (const DecimalError&) {
        return false;
    }
}

// One node of the quadrature, sampled.
struct NodeSample {
    Decimal wf;               // weight × f
    double magnitude = 0;     // |w f|
    double noise = 0;         // the error of w f from the sample and its rounding
    double limitedNoise = 0;  // the part of `noise` from a sample good to 15 digits only
    double rounding = 0;      // the rounding of f to 28 decimals, times the weight
    // What lies beyond this node if the integrand went on like a power of the distance:
    // ten times distance × |f| covers exponents down to -0.9.
    double edgeTail = 0;
    Decimal x;
};

// The running sums of one quadrature.
struct Sums {
    Decimal sum;              // Σ w f
    double absSum = 0;        // Σ |w f|
    double noise = 0;         // Σ of the sample errors times their weights
    double limitedNoise = 0;  // the part of `noise` from samples good to 15 digits only

    void add(const NodeSample& n) {
        sum += n.wf;
        absSum += n.magnitude;
        noise += n.noise;
        limitedNoise += n.limitedNoise;
    }
    void remove(const NodeSample& n) {
        sum -= n.wf;
        absSum -= n.magnitude;
        noise -= n.noise;
        limitedNoise -= n.limitedNoise;
    }
};

enum class Sample { Ok, OutOfRange, Failed };

Sample sampleNode(const Range& r, const Decimal& t, Sampler& s, NodeSample& out) {
    Node n;
    if (!nodeAt(r, t, n)) return Sample::OutOfRange;
    Decimal fx;
    if (!s.at(n.x, fx)) return Sample::Failed;
    out.wf = n.w * fx;
    out.magnitude = mag(out.wf);
    const double sampleError = out.magnitude * relativeError(s.lastDigits());
    out.rounding = mag(n.w) * kDecimalUnit / 2;
    out.noise = sampleError + out.rounding + kDecimalUnit;
    out.limitedNoise = s.lastDigits() <= 15 ? sampleError : 0;
    out.edgeTail = 10 * n.edge * mag(fx);
    out.x = n.x;
    return Sample::Ok;
}

Sample addNode(const Range& r, const Decimal& t, Sampler& s, Sums& sums) {
    NodeSample n;
    const Sample got = sampleNode(r, t, s, n);
    if (got == Sample::Ok) sums.add(n);
    return got;
}

// --- the ends the samples cannot reach ---------------------------------------
//
// x keeps 28 decimals and f(x) is rounded to 28 decimals, so no sample lies closer than
// about 1E-28 to a finite bound, and towards infinity f drowns in its rounding. Where f
// grows towards a bound (or decays like a power towards infinity) the piece beyond the
// last sample matters: 2√ε = 2E-14 for 1/√x. There the quadrature stops at a cut and the
// nodes beyond it take the values of a model f ≈ C·v^p, C·v^p·ln v, C·v^p + D·v^(p±1|2) or
// C·v^p + D·v^(p±1) + E·v^(p±2), with v the distance from the bound (|x| towards infinity), fitted
// to samples at whole decades of v. Fits from successive decades must agree better as they near the
// end; what they still disagree by, the noise of the samples and the rounding of the nodes beside
// the cut make up the error of the piece.

long double wide(const Decimal& d) {
    const long double v = static_cast<long double>(d.coefficient()) /
                          std::pow(10.0L, static_cast<long double>(d.scale()));
    return d.isNegative() ? -v : v;
}

// 10^k for -28 <= k <= 28.
Decimal powerOfTen(int k) {
    Decimal::u128 c = 1;
    for (int i = 0; i < k; ++i) c *= 10;
    return Decimal::fromParts(c, k < 0 ? -k : 0, false);
}

// Throws DecimalError beyond the Decimal range.
Decimal decimalOf(long double v) {
    char text[64];
    const auto end = std::to_chars(text, text + sizeof text, v, std::chars_format::scientific, 21);
    return Decimal::fromText(QString::fromLatin1(text, end.ptr - text));
}

struct EndModel {
    bool withLog = false;
    long double c = 0;
    long double p = 0;
    // Corrections d·v^(p+k) where f has them in whole powers of v (d = 0: none).
    std::array<long double, 2> d{};
    std::array<long double, 2> k{};

    long double at(long double v) const {
        long double sum = c * std::pow(v, p) * (withLog ? std::log(v) : 1.0L);
        for (std::size_t i = 0; i < d.size(); ++i)
            if (d[i] != 0) sum += d[i] * std::pow(v, p + k[i]);
        return sum;
    }
    // An antiderivative of at() (p ≠ -1, p + k ≠ -1).
    long double primitive(long double v) const {
        const long double q = p + 1;
        const long double cv = c * std::pow(v, q);
        long double sum = withLog ? cv * (std::log(v) / q - 1 / (q * q)) : cv / q;
        for (std::size_t i = 0; i < d.size(); ++i)
            if (d[i] != 0) sum += d[i] * std::pow(v, q + k[i]) / (q + k[i]);
        return sum;
    }
};

using Samples = std::vector<std::array<long double, 2>>;  // (v, f) pairs

// C·v^p + D·v^(p+k) through three samples (`corrections` 1), or C·v^p + D·v^(p+k) +
// E·v^(p+2k) through four (`corrections` 2), p found by the secant method from `start`
// so that the model through all samples but the last passes through the last; nullopt
// where it does not settle.
std::optional<EndModel> fitSeries(long double k, int corrections, long double start,
                                  const Samples& vf) {
    EndModel m;
    m.k = {k, 2 * k};
    // The mismatch at the last sample of the model through the others, for p.
    const auto mismatch = [&](long double p) {
        std::array<long double, 4> g{}, h{}, h2{};
        for (std::size_t j = 0; j < vf.size(); ++j) {
            g[j] = vf[j][1] * std::pow(vf[j][0], -p);
            h[j] = std::pow(vf[j][0], k);
            h2[j] = h[j] * h[j];
        }
        if (corrections == 1) {
            m.d[0] = (g[0] - g[1]) / (h[0] - h[1]);
        } else {
            // g0 - g1 = D (h0 - h1) + E (h0² - h1²), the same for samples 1 and 2.
            const long double a11 = h[0] - h[1], a12 = h2[0] - h2[1], b1 = g[0] - g[1];
            const long double a21 = h[1] - h[2], a22 = h2[1] - h2[2], b2 = g[1] - g[2];
            const long double det = a11 * a22 - a12 * a21;
            m.d[0] = (b1 * a22 - a12 * b2) / det;
            m.d[1] = (a11 * b2 - b1 * a21) / det;
        }
        m.c = g[0] - m.d[0] * h[0] - m.d[1] * h2[0];
        m.p = p;
        const std::size_t last = vf.size() - 1;
        return (m.c + m.d[0] * h[last] + m.d[1] * h2[last] - g[last]) / g[last];
    };
    long double p0 = start, p1 = start + 1e-3L;
    long double r0 = mismatch(p0), r1 = mismatch(p1);
    for (int i = 0; i < 60 && r1 != 0; ++i) {
        if (r1 == r0) return std::nullopt;
        const long double p2 = p1 - r1 * (p1 - p0) / (r1 - r0);
        p0 = p1;
        r0 = r1;
        p1 = p2;
        r1 = mismatch(p1);
        if (std::fabs(p1 - p0) <= 1e-18L * std::fabs(p1)) break;
    }
    if (!std::isfinite(r1) || std::fabs(r1) > 1e-15L || std::fabs(p1 - start) > 0.1L)
        return std::nullopt;
    mismatch(p1);
    if (!std::isfinite(m.c) || !std::isfinite(m.d[0]) || !std::isfinite(m.d[1]) || m.c == 0)
        return std::nullopt;
    return m;
}

// The model through two samples; nullopt where it cannot pass through both.
std::optional<EndModel> fitPair(bool withLog, long double v0, long double f0, long double v1,
                                long double f1) {
    if (withLog) {
        const long double l0 = std::log(v0), l1 = std::log(v1);
        if (l0 == 0 || l1 == 0 || (l0 < 0) != (l1 < 0)) return std::nullopt;
        f0 /= l0;
        f1 /= l1;
    }
    if (f0 == 0 || f1 == 0 || (f0 < 0) != (f1 < 0)) return std::nullopt;
    EndModel m;
    m.withLog = withLog;
    m.p = std::log(f1 / f0) / std::log(v1 / v0);
    m.c = f0 / std::pow(v0, m.p);
    if (!std::isfinite(m.p) || !std::isfinite(m.c)) return std::nullopt;
    return m;
}

struct EndPiece {
    EndModel model;
    long double cut = 0;  // v at the cut: the nodes beyond it take the model's values
    double error = 0;     // bound on the error of the part the model stands for
};

// Where node t lies (v, as EndModel measures it) and what it weighs, in long double,
// for a node beyond the cut on `side` (0 upper, 1 lower). False once v or w leave the
// range of long double.
bool wideNode(const Range& r, std::size_t side, long double t, long double& v, long double& w) {
    constexpr long double kHalfPi = 1.570796326794896619231321691639751442L;
    const long double u = kHalfPi * std::sinh(t);
    const long double dudt = kHalfPi * std::cosh(t);
    if (r.lower == End::Finite && r.upper == End::Finite) {
        const long double half = wide(r.half);
        const long double q = std::exp(-2 * u);
        v = half * 2 * q / (1 + q);
        w = half * dudt * 4 * q / ((1 + q) * (1 + q));
    } else if (r.lower == End::Finite || r.upper == End::Finite) {
        const bool infiniteSide = (side == 0) == (r.upper == End::Infinite);
        if (infiniteSide) {
            const long double e = std::exp(u);
            v = r.lower == End::Finite ? wide(r.a) + e : e - wide(r.b);
            w = dudt * e;
        } else {
            v = std::exp(-u);
            w = dudt * v;
        }
    } else {
        v = std::fabs(std::sinh(u));
        w = dudt * std::cosh(u);
    }
    return std::isfinite(v) && std::isfinite(w) && v > 0 && w > 0;
}

// Σ w·model over the nodes beyond `reach` (in finest steps) on a grid of `stride`.
long double modelSum(const Range& r, std::size_t side, const EndPiece& e, long long reach,
                     long long stride, long double fineStep) {
    long double sum = 0;
    for (long long m = reach / stride + 1, n = 0; n < 100000; ++m, ++n) {
        long double v = 0, w = 0;
        if (!wideNode(r, side, static_cast<long double>(m * stride) * fineStep, v, w)) break;
        const long double term = w * e.model.at(v);
        if (!std::isfinite(term)) break;
        sum += term;
        if (n > 2 && std::fabs(term) <= 1e-34L * std::fabs(sum)) break;
    }
    return sum;
}

// The model for the end of `side` (0 upper, 1 lower) with the smallest error, fitted to
// samples at whole decades; nullopt where no fit holds. `f` must grow towards a finite
// bound and decay faster than 1/x towards infinity: anything else either needs no
// model or diverges. `divergentPower` is set to p where f settles to C·v^p with p
// about -1 at a finite bound and no model holds: the integral diverges, or converges
// too slowly for any sample to show where to.
std::optional<EndPiece> fitEnd(const Range& r, std::size_t side, Sampler& s,
                               std::optional<double>& divergentPower) {
    const bool infinite = (side == 0 ? r.upper : r.lower) == End::Infinite;
    const Decimal bound = side == 0 ? r.b : r.a;
    struct Point {
        bool ok = false;
        long double v = 0, f = 0;
        double precision = 0;  // relative error of f
    };
    std::array<Point, 57> points;  // by decade k, at index k + 28
    const auto point = [&](int k) -> const Point& {
        Point& p = points[std::size_t(k + 28)];
        if (p.ok || p.v != 0) return p;
        const Decimal step = powerOfTen(k);
        p.v = wide(step);
        Decimal x, fx;
        try {
            x = infinite ? (side == 0 ? step : -step) : (side == 0 ? bound - step : bound + step);
        } catch (const DecimalError&) {
            return p;
        }
        if (!s.at(x, fx) || fx.isZero()) return p;
        p.f = wide(fx);
        p.precision = relativeError(s.lastDigits()) + kDecimalUnit / 2 / mag(fx);
        p.ok = true;
        return p;
    };
    // The decades of v that can be sampled, nearest the end first (inward = the
    // direction towards the middle of the range).
    int nearest = 0, farthest = 0, inward = 0;
    double unit = 0;  // how far a node near the bound may lie from its place
    if (infinite) {
        const Decimal other = side == 0 ? (r.lower == End::Finite ? r.a : Decimal(0))
                                        : (r.upper == End::Finite ? r.b : Decimal(0));
        nearest = 28;
        farthest = std::max(1, static_cast<int>(std::ceil(std::log10(mag(other) + 1))) + 1);
        inward = -1;
    } else {
        nearest = -28;
        while (nearest < 0 && (bound + powerOfTen(nearest)) - bound != powerOfTen(nearest))
            ++nearest;
        const bool finiteRange = r.lower == End::Finite && r.upper == End::Finite;
        // A node's distance from the bound is half-width × 2q / (1 + q) or e^-u, each
        // rounded to 28 decimals, and x = bound ± distance is rounded once more.
        unit = std::pow(10.0, nearest) / 2 +
               (finiteRange ? 1.5 * mag(r.half) + 0.5 : 0.5) * kDecimalUnit;
        const double room = finiteRange ? mag(r.half) : 1.0;
        farthest = static_cast<int>(std::floor(std::log10(room))) - 2;
        nearest += 4;  // the nodes beside the cut keep four digits of their distance at least
        inward = 1;
    }
    std::optional<EndPiece> best;
    for (int c = nearest; (farthest - c) * inward >= 3; c += inward) {
        const Point& p0 = point(c);
        if (!p0.ok) continue;
        const Point& p1 = point(c + inward);
        const Point& p2 = point(c + 2 * inward);
        const Point& p3 = point(c + 3 * inward);
        if (!p1.ok || !p2.ok || !p3.ok) continue;
        const double precision = std::max({p0.precision, p1.precision, p2.precision, p3.precision});
        for (const bool withLog : {false, true}) {
            const auto m01 = fitPair(withLog, p0.v, p0.f, p1.v, p1.f);
            const auto m12 = fitPair(withLog, p1.v, p1.f, p2.v, p2.f);
            const auto m23 = fitPair(withLog, p2.v, p2.f, p3.v, p3.f);
            if (!m01 || !m12 || !m23) continue;
            const long double p = m01->p;
            if (!infinite && p <= -0.99L && std::fabs(p - m12->p) < 1e-3L &&
                std::fabs(m12->p - m23->p) < 1e-3L)
                divergentPower = static_cast<double>(p);
            if (infinite ? !(p < -1.0001L) : !(p > -0.9999L && p < -1e-3L)) continue;
            const auto piece = [&](const EndModel& m) {
                return infinite ? -m.primitive(p0.v) : m.primitive(p0.v);
            };
            const long double e0 = piece(*m01);
            const double size = static_cast<double>(std::fabs(e0));
            const double drift = static_cast<double>(std::fabs(e0 - piece(*m12)));
            const double previousDrift = static_cast<double>(std::fabs(piece(*m12) - piece(*m23)));
            const double q = static_cast<double>(std::fabs(p + 1));
            // The piece is f0·v0/(p + 1) and p comes from two samples: their errors and
            // those of long double.
            const double noise = size * (precision * (2 + 2 / q) + 1e-19 * (4 + 2 / q));
            // Fits must settle as they near the end, each decade at least halving the
            // drift: then what the nearest fit still misses is below its own drift.
            if (!std::isfinite(drift) || drift > previousDrift / 2 + 2 * noise) continue;
            // The nodes beside a finite cut are off by up to `unit`, which f' amplifies.
            const double nodes = infinite ? 0 : 2 * unit * static_cast<double>(std::fabs(p0.f));
            // The nodes beyond the cut stop where long double does (near 1E±4900); what
            // lies beyond them is missing, which only matters for p next to -1.
            const long double last = infinite ? 1e4900L : 1e-4900L;
            const double missing = 2 * static_cast<double>(std::fabs(m01->primitive(last)));
            const double error = drift + 2 * noise + nodes + missing;
            if (!best || error < best->error) best = EndPiece{*m01, p0.v, error};
            if (withLog) continue;
            // f with a correction in v (or 1/v towards infinity) or its square, or with
            // both v and v²: the same test of settling on fits through three samples
            // (four with two corrections).
            struct Series {
                long double power;
                int corrections;
            };
            for (const Series series : {Series{1, 1}, Series{2, 1}, Series{1, 2}}) {
                const long double k = infinite ? -series.power : series.power;
                const int samples = series.corrections + 2;
                std::array<Samples, 3> windows;
                std::vector<double> precisions;  // of the samples of window 0
                std::array<std::optional<EndModel>, 3> fits;
                bool sampled = true;
                for (std::size_t i = 0; i < 3 && sampled; ++i) {
                    for (int j = 0; j < samples && sampled; ++j) {
                        const Point& pj = point(c + (int(i) + j) * inward);
                        sampled = pj.ok;
                        windows[i].push_back({pj.v, pj.f});
                        if (i == 0) precisions.push_back(pj.precision);
                    }
                    if (sampled) fits[i] = fitSeries(k, series.corrections, p, windows[i]);
                }
                if (!sampled || !fits[0] || !fits[1] || !fits[2]) continue;
                const long double t0 = piece(*fits[0]);
                const double drift2 = static_cast<double>(std::fabs(t0 - piece(*fits[1])));
                const double previous2 =
                    static_cast<double>(std::fabs(piece(*fits[1]) - piece(*fits[2])));
                const double missing2 =
                    2 * static_cast<double>(std::fabs(fits[0]->primitive(last)));
                if (!std::isfinite(drift2) || drift2 + 2 * noise + nodes + missing2 >= best->error)
                    continue;
                // What the piece moves when each sample moves by its own error, p found
                // again each time: the noise this fit passes on, at least that of a pair.
                double noise2 = noise;
                for (std::size_t j = 0; j < precisions.size(); ++j) {
                    Samples moved = windows[0];
                    moved[j][1] *= 1 + static_cast<long double>(precisions[j]);
                    const std::optional<EndModel> m = fitSeries(k, series.corrections, p, moved);
                    noise2 += m ? static_cast<double>(std::fabs(piece(*m) - t0))
                                : std::numeric_limits<double>::infinity();
                }
                if (!std::isfinite(noise2) || drift2 > previous2 / 2 + 2 * noise2) continue;
                const double error2 = drift2 + 2 * noise2 + nodes + missing2;
                if (std::isfinite(error2) && error2 < best->error)
                    best = EndPiece{*fits[0], p0.v, error2};
            }
        }
    }
    if (best) divergentPower.reset();
    return best;
}

struct Bounds {
    std::optional<Range> range;
    bool reversed = false;
    bool empty = false;
    QString why;
};

int infinityOf(const QString& text) {
    QString t = text.trimmed().toLower();
    int sign = 1;
    if (t.startsWith(u'+'))
        t = t.mid(1).trimmed();
    else if (t.startsWith(u'-')) {
        sign = -1;
        t = t.mid(1).trimmed();
    }
    if (t == u"∞" || t == u"inf" || t == u"infinity") return sign;
    return 0;
}

Bounds readBounds(const QString& lower, const QString& upper, const CalcSettings& settings,
                  const CancelFlag* cancel) {
    Bounds out;
    const int li = infinityOf(lower);
    const int ui = infinityOf(upper);
    Range r;
    std::optional<Decimal> a, b;
    if (li == 0) {
        a = numberOf(lower, settings, cancel, out.why);
        if (!a) {
            out.why = QStringLiteral("积分下限无法计算：") + out.why;
            return out;
        }
    }
    if (ui == 0) {
        b = numberOf(upper, settings, cancel, out.why);
        if (!b) {
            out.why = QStringLiteral("积分上限无法计算：") + out.why;
            return out;
        }
    }
    if (li != 0 && li == ui) {
        out.empty = true;
        return out;
    }
    // Order the ends so that the lower one is the smaller.
    const bool swap = (li > 0) || (ui < 0) || (a && b && *a > *b);
    out.reversed = swap;
    const int lowInf = swap ? ui : li;
    const int upInf = swap ? li : ui;
    const std::optional<Decimal> lo = swap ? b : a;
    const std::optional<Decimal> up = swap ? a : b;
    r.lower = lowInf != 0 ? End::Infinite : End::Finite;
    r.upper = upInf != 0 ? End::Infinite : End::Finite;
    if (lo) r.a = *lo;
    if (up) r.b = *up;
    if (lo && up) {
        if (*lo == *up) {
            out.empty = true;
            return out;
        }
        try {
            r.mid = (*lo + *up) / Decimal(2);
            r.half = (*up - *lo) / Decimal(2);
        } catch (const DecimalError&) {
            out.why = QStringLiteral("积分区间超出计算范围。");
            return out;
        }
    }
    out.range = r;
    return out;
}

QString boundText(const QString& t) { return trimSpaces(t); }

}  // namespace

CalculusResult integrate(const QString& f, const QString& lower, const QString& upper,
                         const CalcSettings& settings, const CancelFlag* cancel) {
    try {
        Sampler s(f, settings, kVariableX, cancel);
        if (!s.ok()) return failure(QStringLiteral("被积函数有误：") + s.formulaMessage());
        const Bounds bounds = readBounds(lower, upper, settings, cancel);
        const QString head = QStringLiteral("∫ ") + trimSpaces(f) + QStringLiteral(" dx，x 从 ") +
                             boundText(lower) + QStringLiteral(" 到 ") + boundText(upper);
        if (bounds.empty) {
            CalculusResult r;
            r.output = head + QStringLiteral("\n积分值 = 0");
            return r;
        }
        if (!bounds.range) return failure(bounds.why);
        const Range& range = *bounds.range;

        // Level 0: step 1/4, walking out from t = 0 on each side until the terms vanish,
        // the nodes reach their bound, or the substitution leaves the Decimal range.
        const Decimal step0 = Decimal(1) / Decimal(4);
        Sums sums;
        if (addNode(range, Decimal(0), s, sums) == Sample::Failed)
            return failure(failedAtText(s, kVariableX));
        constexpr int kMaxSteps = 28;
        constexpr int kMaxLevels = 7;
        constexpr int kFine = 1 << kMaxLevels;  // finest steps per level-0 step
        const Decimal fineStep = step0 / Decimal(kFine);
        const std::array<bool, 2> towardsInfinity{range.upper == End::Infinite,
                                                  range.lower == End::Infinite};
        const auto tAt = [&](std::size_t side, long long fine) {
            return Decimal(side == 0 ? fine : -fine) * fineStep;
        };
        double tail = 0;
        // Per side, the outermost node of the finest grid that the levels sample, and the
        // model standing for f beyond it where the samples cannot reach far enough.
        std::array<long long, 2> reach{0, 0};
        std::array<std::optional<EndPiece>, 2> ends;
        QString divergence;
        for (std::size_t side = 0; side < 2; ++side) {
            int small = 0;
            double edgeTail = 0;
            Decimal edgeX;
            bool outOfRange = false;
            std::vector<NodeSample> walked;  // at k * kFine, k = 1, 2 ...
            for (int k = 1; k <= kMaxSteps; ++k) {
                NodeSample n;
                const Sample got = sampleNode(range, tAt(side, k * kFine), s, n);
                if (got == Sample::Failed) return failure(failedAtText(s, kVariableX));
                if (got == Sample::OutOfRange) {
                    outOfRange = true;
                    break;
                }
                sums.add(n);
                walked.push_back(n);
                edgeX = n.x;
                reach[side] = k * kFine;
                edgeTail = n.edgeTail;
                const double scale = std::max(mag(sums.sum), 1e-20);
                small = n.magnitude <= 1e-31 * scale ? small + 1 : 0;
                if (small >= 2) break;
                // Towards infinity the samples keep 28 decimals only: once what lies
                // beyond is smaller than the rounding a node adds, sampling further
                // would add more error than it removes.
                if (towardsInfinity[side] && n.edgeTail < 10 * n.rounding) {
                    small = 2;
                    break;
                }
            }
            if (outOfRange) {
                // The last node of the finest grid still apart from the bound: the levels
                // sample up to it, and only what lies beyond it is left to the tail.
                long long lo = reach[side], hi = reach[side] + kFine;
                Node n;
                while (hi - lo > 1) {
                    const long long m = (lo + hi) / 2;
                    (nodeAt(range, tAt(side, m), n) ? lo : hi) = m;
                }
                if (lo > reach[side] && nodeAt(range, tAt(side, lo), n)) {
                    Decimal fx;
                    if (!s.at(n.x, fx)) return failure(failedAtText(s, kVariableX));
                    reach[side] = lo;
                    edgeTail = 10 * n.edge * mag(fx);
                    edgeX = n.x;
                }
            }
            // Only an end whose tail, or whose rounding towards infinity, could cost
            // digits is worth the samples of a model.
            double walkedNoise = 0;
            for (const NodeSample& n : walked) walkedNoise += n.noise;
            const double negligible = 1e-26 * std::max(mag(sums.sum), 1.0);
            if (edgeTail > negligible ||
                (towardsInfinity[side] && walkedNoise * step0.toDouble() > negligible)) {
                std::optional<double> divergentPower;
                const std::optional<EndPiece> end = fitEnd(range, side, s, divergentPower);
                if (divergentPower)
                    return failure(QStringLiteral("被积函数在 x = ") +
                                   (side == 0 ? range.b : range.a).toString() +
                                   QStringLiteral(" 附近趋于无穷，约与到该点距离的 ") +
                                   QString::number(*divergentPower, 'g', 4) +
                                   QStringLiteral(" 次方成正比，积分可能发散。"));
                if (end) {
                    // The last node of the finest grid on the near side of the cut.
                    const bool infinite = towardsInfinity[side];
                    const auto inside = [&](long long k) {
                        Node n;
                        return k == 0 || (nodeAt(range, tAt(side, k), n) &&
                                          (infinite ? n.edge <= static_cast<double>(end->cut)
                                                    : n.edge >= static_cast<double>(end->cut)));
                    };
                    long long lo = 0, hi = reach[side] + 1;
                    while (hi - lo > 1) {
                        const long long m = (lo + hi) / 2;
                        (inside(m) ? lo : hi) = m;
                    }
                    // Without the model, the tail and the rounding of the samples beyond
                    // the cut (which the finer levels sample as densely) stay in the error.
                    double beyond = edgeTail;
                    for (std::size_t k = 0; k < walked.size(); ++k)
                        if (static_cast<long long>(k + 1) * kFine > lo)
                            beyond += walked[k].noise * step0.toDouble();
                    if (end->error < beyond) {
                        reach[side] = lo;
                        for (std::size_t k = 0; k < walked.size(); ++k)
                            if (static_cast<long long>(k + 1) * kFine > lo) sums.remove(walked[k]);
                        edgeTail = end->error;
                        ends[side] = end;
                    } else if (!infinite && end->model.p < -0.9L) {
                        // The tail bound of the last node holds for exponents down to
                        // -0.9 only; below, the model's own piece beyond it is the bound.
                        Node n;
                        if (nodeAt(range, tAt(side, reach[side]), n))
                            edgeTail = std::max(
                                edgeTail, 2 * static_cast<double>(std::fabs(end->model.primitive(
                                                  static_cast<long double>(n.edge)))));
                    }
                }
            }
            tail += edgeTail;
            if (towardsInfinity[side] && !ends[side] && small < 2 && edgeTail > 1e-20 &&
                edgeTail > 1e-6 * mag(sums.sum) * 0.5)
                divergence = QStringLiteral("被积函数在无穷远处衰减太慢，积分可能发散：在 x = ") +
                             edgeX.toString() + QStringLiteral(" 处 |x·f(x)| ≈ ") +
                             errorText(edgeTail / 10) + QStringLiteral("。");
        }
        if (!divergence.isEmpty()) return failure(divergence);

        // The sum of a level: the samples, and the models' values beyond the cuts.
        const long double wideFineStep = 0.25L / kFine;
        const auto levelValue = [&](const Decimal& step, long long stride) {
            long double beyond = 0;
            for (std::size_t side = 0; side < 2; ++side)
                if (ends[side])
                    beyond += modelSum(range, side, *ends[side], reach[side], stride, wideFineStep);
            Decimal value = sums.sum * step;
            if (beyond != 0) value += decimalOf(beyond * wide(step));
            return value;
        };

        // Level 0 counted only its own grid; the nodes between it and the reach of each
        // side come in with the levels that contain them.
        Decimal step = step0;
        Decimal previous = levelValue(step, kFine);
        double change = 0;
        bool converged = false;
        for (int level = 1; level <= kMaxLevels; ++level) {
            step = step / Decimal(2);
            const long long stride = kFine >> level;  // finest steps per step of this level
            for (std::size_t side = 0; side < 2; ++side) {
                for (long long j = 1; j * stride <= reach[side]; j += 2) {
                    const Sample got = addNode(range, tAt(side, j * stride), s, sums);
                    if (got == Sample::Failed) return failure(failedAtText(s, kVariableX));
                }
            }
            const Decimal current = levelValue(step, stride);
            change = mag(current - previous);
            previous = current;
            const double noise = sums.noise * step.toDouble();
            // Below the error of the models the levels only shuffle the rounding of the
            // nodes beside the cuts.
            const double modelled = (ends[0] ? ends[0]->error : 0) + (ends[1] ? ends[1]->error : 0);
            if (level >= 2 && change <= std::max({1e-27 * mag(current), 10 * noise, modelled})) {
                converged = true;
                break;
            }
        }

        CalculusResult r;
        r.value = bounds.reversed ? -previous : previous;
        const double noise = sums.noise * step.toDouble();
        const double error = change + noise + tail + kDecimalUnit;
        r.error = fromEstimate(error);
        // Samples good to 15 digits limit the result only where they weigh in.
        r.digits = sums.limitedNoise * step.toDouble() > 1e-17 * mag(r.value) ? 15 : 28;
        r.evaluations = s.evaluations();
        QStringList lines =
            valueLines(head, QStringLiteral("积分值 = "), r, error, settings.displayDecimals);
        if (!converged)
            warn(r, lines,
                 QStringLiteral(
                     "积分在最大步数内未收敛到预定精度，请参考误差估计，或把区间分段计算。"));
        r.output = lines.join(u'\n');
        return r;
    } catch (const Cancelled&) {
        return cancelledResult();
    } catch (const DecimalError&) {
        return failure(QStringLiteral("积分计算中数值超出计算范围，请缩小区间或把区间分段计算。"));
    }
}

namespace {

// --- derivatives -------------------------------------------------------------

struct Derivative {
    Decimal value;
    double error = 0;
    bool ok = false;
};

// The first step of the difference table: a tenth of |x0| up to 0.1.
Decimal firstStep(const Decimal& x0) {
    const Decimal tenth = Decimal(1) / Decimal(10);
    if (x0.isZero()) return tenth;
    const Decimal h = x0.abs() / Decimal(10);
    return h < tenth ? h : tenth;
}

// Ridders' table of central differences with steps h, h/2, h/4 ..., extrapolated in h².
// A step at which f fails is halved up to 30 times before the failure is reported.
Derivative richardson(Sampler& s, const Decimal& x0, int order, Decimal h) {
    Derivative out;
    Decimal f0;
    if (order == 2 && !s.at(x0, f0)) return out;
    double fmax = mag(f0);
    const auto difference = [&](const Decimal& step, Decimal& d) {
        Decimal fp, fm;
        if (!s.at(x0 + step, fp) || !s.at(x0 - step, fm)) return false;
        fmax = std::max({fmax, mag(fp), mag(fm)});
        d = order == 1 ? (fp - fm) / (step + step) : (fp - f0 - f0 + fm) / (step * step);
        return true;
    };
    Decimal first;
    int tries = 0;
    while (!difference(h, first)) {
        if (++tries > 30) return out;
        h = h / Decimal(2);
    }
    constexpr int kRows = 10;
    std::vector<std::vector<Decimal>> a(kRows, std::vector<Decimal>(kRows));
    a[0][0] = first;
    out.value = first;
    out.error = 1e300;
    double bestStep = h.toDouble();
    Decimal step = h;
    for (int i = 1; i < kRows; ++i) {
        step = step / Decimal(2);
        if (!difference(step, a[0][std::size_t(i)])) break;
        Decimal fac = 4;
        for (int j = 1; j <= i; ++j) {
            const auto J = std::size_t(j), I = std::size_t(i);
            a[J][I] = (a[J - 1][I] * fac - a[J - 1][I - 1]) / (fac - Decimal(1));
            fac *= Decimal(4);
            const double e = std::max(mag(a[J][I] - a[J - 1][I]), mag(a[J][I] - a[J - 1][I - 1]));
            if (e <= out.error) {
                out.error = e;
                out.value = a[J][I];
                bestStep = step.toDouble();
            }
        }
        const auto I = std::size_t(i);
        if (mag(a[I][I] - a[I - 1][I - 1]) >= 2 * out.error) break;
    }
    // The rounding of the samples, amplified by the differences at the step used.
    const double eps = relativeError(s.minDigits()) * fmax + kDecimalUnit;
    out.error += order == 1 ? eps / bestStep : 4 * eps / (bestStep * bestStep);
    out.ok = true;
    return out;
}

}  // namespace

CalculusResult derive(const QString& f, const QString& x0Text, int order,
                      const CalcSettings& settings, const CancelFlag* cancel) {
    try {
        if (order != 1 && order != 2) return failure(QStringLiteral("导数阶数只能是 1 或 2。"));
        Sampler s(f, settings, kVariableX, cancel);
        if (!s.ok()) return failure(QStringLiteral("函数有误：") + s.formulaMessage());
        QString why;
        const std::optional<Decimal> x0 = numberOf(x0Text, settings, cancel, why);
        if (!x0) return failure(QStringLiteral("求导点无法计算：") + why);
        Derivative d;
        try {
            d = richardson(s, *x0, order, firstStep(*x0));
        } catch (const DecimalError&) {
            return failure(QStringLiteral("差商超出计算范围，无法求导。"));
        }
        if (!d.ok) return failure(failedAtText(s, kVariableX));
        CalculusResult r;
        r.value = d.value;
        r.error = fromEstimate(d.error);
        r.digits = s.minDigits() <= 15 ? 15 : 28;
        r.evaluations = s.evaluations();
        const QString name = order == 1 ? QStringLiteral("f′(x)") : QStringLiteral("f″(x)");
        r.output = valueLines(QStringLiteral("f(x) = ") + trimSpaces(f) + QStringLiteral("，x = ") +
                                  trimSpaces(x0Text),
                              name + QStringLiteral(" = "), r, d.error, settings.displayDecimals)
                       .join(u'\n');
        return r;
    } catch (const Cancelled&) {
        return cancelledResult();
    } catch (const DecimalError&) {
        return failure(QStringLiteral("求导过程中数值超出计算范围。"));
    }
}

CalculusResult findRoot(const QString& f, const QString& aText, const QString& bText,
                        const CalcSettings& settings, const CancelFlag* cancel) {
    try {
        Sampler s(f, settings, kVariableX, cancel);
        if (!s.ok()) return failure(QStringLiteral("函数有误：") + s.formulaMessage());
        QString why;
        const std::optional<Decimal> a0 = numberOf(aText, settings, cancel, why);
        if (!a0) return failure(QStringLiteral("区间端点 a 无法计算：") + why);
        const std::optional<Decimal> b0 = numberOf(bText, settings, cancel, why);
        if (!b0) return failure(QStringLiteral("区间端点 b 无法计算：") + why);
        Decimal a = *a0, b = *b0, fa, fb;
        if (!s.at(a, fa) || !s.at(b, fb)) return failure(failedAtText(s, kVariableX));
        const QString head = QStringLiteral("f(x) = ") + trimSpaces(f) +
                             QStringLiteral("，在区间 [") + trimSpaces(aText) +
                             QStringLiteral(", ") + trimSpaces(bText) + QStringLiteral("] 内求根");
        if ((fa.isNegative() && fb.isNegative()) ||
            (!fa.isNegative() && !fa.isZero() && !fb.isNegative() && !fb.isZero()))
            return failure(
                QStringLiteral("f(a) = ") + roundedText(fa, 15) + QStringLiteral(" 与 f(b) = ") +
                roundedText(fb, 15) +
                QStringLiteral(" 同号，区间内找不到变号点，请换一个两端函数值异号的区间。"));
        const double scale = std::max(mag(fa), mag(fb));
        Decimal c = b, fc = fb, d = b - a, e = d;
        const Decimal tol = Decimal::fromText(u"1E-28");
        double width = mag(b - a);
        bool converged = false;
        for (int iter = 0; iter < 400; ++iter) {
            if ((fb.isNegative() && fc.isNegative()) ||
                (!fb.isNegative() && !fb.isZero() && !fc.isNegative() && !fc.isZero())) {
                c = a;
                fc = fa;
                e = d = b - a;
            }
            if (fc.abs() < fb.abs()) {
                a = b;
                b = c;
                c = a;
                fa = fb;
                fb = fc;
                fc = fa;
            }
            const Decimal tol1 = tol * Decimal(2) * b.abs() + tol;
            const Decimal xm = (c - b) / Decimal(2);
            width = mag(c - b);
            if (xm.abs() <= tol1 || fb.isZero()) {
                converged = true;
                if (fb.isZero()) width = 0;
                break;
            }
            bool interpolated = false;
            if (e.abs() >= tol1 && fa.abs() > fb.abs()) {
                try {
                    const Decimal sr = fb / fa;
                    Decimal p, q;
                    if (a == c) {
                        p = Decimal(2) * xm * sr;
                        q = Decimal(1) - sr;
                    } else {
                        const Decimal qq = fa / fc;
                        const Decimal rr = fb / fc;
                        p = sr * (Decimal(2) * xm * qq * (qq - rr) - (b - a) * (rr - Decimal(1)));
                        q = (qq - Decimal(1)) * (rr - Decimal(1)) * (sr - Decimal(1));
                    }
                    if (p > Decimal(0)) q = -q;
                    p = p.abs();
                    const Decimal min1 = Decimal(3) * xm * q - (tol1 * q).abs();
                    const Decimal min2 = (e * q).abs();
                    if (Decimal(2) * p < std::min(min1, min2) && !q.isZero()) {
                        e = d;
                        d = p / q;
                        interpolated = true;
                    }
                } catch (const DecimalError&) {
                }
            }
            if (!interpolated) {
                d = xm;
                e = d;
            }
            a = b;
            fa = fb;
            if (d.abs() > tol1)
                b += d;
            else
                b += xm.isNegative() ? -tol1 : tol1;
            if (!s.at(b, fb)) return failure(failedAtText(s, kVariableX));
        }
        CalculusResult r;
        r.value = b;
        r.digits = s.minDigits() <= 15 ? 15 : 28;
        // The bracket left, and where f is computed to fewer digits, how far its rounding
        // (measured on the larger end value) moves the crossing at the slope found.
        double error = width + kDecimalUnit * std::max(1.0, mag(b));
        if (r.digits <= 15) {
            const Derivative slope = richardson(s, b, 1, firstStep(b));
            if (slope.ok && mag(slope.value) > 0)
                error += relativeError(15) * scale / mag(slope.value);
        }
        r.error = fromEstimate(error);
        r.evaluations = s.evaluations();
        QStringList lines =
            valueLines(head, QStringLiteral("根 x = "), r, error, settings.displayDecimals);
        if (!converged) warn(r, lines, QStringLiteral("迭代次数已用完，根未收敛到预定精度。"));
        r.output = lines.join(u'\n');
        return r;
    } catch (const Cancelled&) {
        return cancelledResult();
    } catch (const DecimalError&) {
        return failure(QStringLiteral("求根过程中数值超出计算范围。"));
    }
}

bool parsePropagationInput(const QString& text, PropagationInput& out) {
    const qsizetype eq = text.indexOf(u'=');
    if (eq < 1) return false;
    const QString name = text.left(eq).trimmed().toLower();
    if (name.size() != 1 || name[0] < u'r' || name[0] > u'z') return false;
    QString rest = text.mid(eq + 1);
    qsizetype pm = rest.indexOf(u'±');
    qsizetype len = 1;
    if (pm < 0) {
        pm = rest.indexOf(QStringLiteral("+-"));
        len = 2;
    }
    if (pm < 0) return false;
    out.variable = name[0];
    out.value = rest.left(pm).trimmed();
    out.standardError = rest.mid(pm + len).trimmed();
    return !out.value.isEmpty() && !out.standardError.isEmpty();
}

bool parseCorrelation(const QString& text, Correlation& out) {
    const qsizetype eq = text.indexOf(u'=');
    if (eq < 0) return false;
    const QStringList names = text.left(eq).split(u',');
    if (names.size() != 2) return false;
    const QString p = names[0].trimmed().toLower();
    const QString q = names[1].trimmed().toLower();
    if (p.size() != 1 || q.size() != 1 || p == q) return false;
    for (const QString& n : {p, q})
        if (n[0] < u'r' || n[0] > u'z') return false;
    out.first = p[0];
    out.second = q[0];
    out.coefficient = text.mid(eq + 1).trimmed();
    return !out.coefficient.isEmpty();
}

CalculusResult propagate(const QString& f, const QList<PropagationInput>& inputs,
                         const QList<Correlation>& correlations, const CalcSettings& settings,
                         const CancelFlag* cancel) {
    try {
        if (inputs.isEmpty()) return failure(QStringLiteral("请至少给出一个变量的值和中误差。"));
        CalcSettings at = settings;
        std::vector<int> index;
        std::vector<Decimal> values, errors;
        for (const PropagationInput& in : inputs) {
            const int k = in.variable.toLower().unicode() - u'r';
            if (k < 0 || k > 8) return failure(QStringLiteral("变量只能是 r ... z。"));
            if (std::find(index.begin(), index.end(), k) != index.end())
                return failure(QStringLiteral("变量 ") + variableName(k) +
                               QStringLiteral(" 给了两次。"));
            QString why;
            const std::optional<Decimal> v = numberOf(in.value, settings, cancel, why);
            if (!v)
                return failure(QStringLiteral("变量 ") + variableName(k) +
                               QStringLiteral(" 的值无法计算：") + why);
            const std::optional<Decimal> m = numberOf(in.standardError, settings, cancel, why);
            if (!m)
                return failure(QStringLiteral("变量 ") + variableName(k) +
                               QStringLiteral(" 的中误差无法计算：") + why);
            if (m->isNegative())
                return failure(QStringLiteral("变量 ") + variableName(k) +
                               QStringLiteral(" 的中误差不能为负数。"));
            index.push_back(k);
            values.push_back(*v);
            errors.push_back(*m);
            at.memory[std::size_t(k)] = Num::ofDecimal(*v);
        }
        const std::size_t n = index.size();
        std::vector<std::vector<Decimal>> rho(n, std::vector<Decimal>(n));
        for (const Correlation& c : correlations) {
            const auto find = [&](QChar v) {
                const int k = v.toLower().unicode() - u'r';
                const auto it = std::find(index.begin(), index.end(), k);
                return it == index.end() ? -1 : int(it - index.begin());
            };
            const int i = find(c.first), j = find(c.second);
            if (i < 0 || j < 0)
                return failure(QStringLiteral("相关系数只能给已给出中误差的变量。"));
            QString why;
            const std::optional<Decimal> v = numberOf(c.coefficient, settings, cancel, why);
            if (!v || *v > Decimal(1) || *v < Decimal(-1))
                return failure(QStringLiteral("相关系数应在 -1 到 1 之间：") + c.coefficient);
            rho[std::size_t(i)][std::size_t(j)] = rho[std::size_t(j)][std::size_t(i)] = *v;
        }

        const PreparedFormula formula(f);
        if (!formula.ok()) return failure(QStringLiteral("算式有误：") + formula.message());
        const FormulaValue centre = formula.evaluate(at, cancel);
        if (!centre.ok) return failure(QStringLiteral("算式在给定值处无法计算：") + centre.message);

        int evaluations = 1;
        int digits = std::min(centre.digits, 28);
        std::vector<Decimal> parts(n);  // ∂f/∂v · m
        std::vector<Decimal> partials(n);
        double partialError = 0;
        for (std::size_t i = 0; i < n; ++i) {
            Sampler s(f, at, index[i], cancel);
            Derivative d;
            try {
                d = errors[i].isZero() ? Derivative{Decimal(0), 0, true}
                                       : richardson(s, values[i], 1, firstStep(values[i]));
            } catch (const DecimalError&) {
                return failure(QStringLiteral("偏导数超出计算范围。"));
            }
            evaluations += s.evaluations();
            if (!d.ok) return failure(failedAtText(s, index[i]));
            digits = std::min(digits, s.minDigits());
            partials[i] = d.value;
            parts[i] = d.value * errors[i];
            partialError += d.error * mag(errors[i]);
        }
        Decimal variance;
        for (std::size_t i = 0; i < n; ++i) {
            variance += parts[i] * parts[i];
            for (std::size_t j = i + 1; j < n; ++j)
                if (!rho[i][j].isZero()) variance += Decimal(2) * rho[i][j] * parts[i] * parts[j];
        }
        if (variance.isNegative())
            return failure(QStringLiteral("相关系数不相容：方差为负，请检查相关系数。"));
        CalculusResult r;
        r.value = centre.value;
        r.error = decimalSqrt(variance);
        r.digits = digits <= 15 ? 15 : 28;
        r.evaluations = evaluations;
        QStringList lines{QStringLiteral("f = ") + trimSpaces(f)};
        lines << valueLine(QStringLiteral("f 的值 = "), r.value, 0, settings.displayDecimals,
                           r.digits);
        const int errDecimals = std::min(settings.displayDecimals, 28);
        lines << QStringLiteral("中误差 m = ±") +
                     roundedText(r.error, shownDecimals(r.error, partialError, errDecimals,
                                                        std::min(r.digits, 15)));
        lines << QStringLiteral("变量\t值\t中误差\t偏导数\t影响 ∂f/∂v·m\t占 m² 的比例");
        for (std::size_t i = 0; i < n; ++i) {
            const double share =
                variance.isZero() ? 0 : (parts[i] * parts[i]).toDouble() / variance.toDouble();
            lines << variableName(index[i]) + u'\t' + values[i].toString() + u'\t' +
                         errors[i].toString() + u'\t' +
                         roundedText(partials[i], shownDecimals(partials[i], 0, 15, 15)) + u'\t' +
                         roundedText(parts[i], shownDecimals(parts[i], 0, 15, 15)) + u'\t' +
                         QString::number(100 * share, 'f', 1) + u'%';
        }
        if (!correlations.isEmpty())
            lines << QStringLiteral("注：有相关系数时，各变量的比例之和不等于 100%。");
        if (r.digits <= 15) lines << limitedPrecisionNote();
        r.output = lines.join(u'\n');
        return r;
    } catch (const Cancelled&) {
        return cancelledResult();
    } catch (const DecimalError&) {
        return failure(QStringLiteral("误差计算中数值超出计算范围。"));
    }
}

CalculusResult propagateLines(const QString& f, const QString& lines, const CalcSettings& settings,
                              const CancelFlag* cancel) {
    QList<PropagationInput> inputs;
    QList<Correlation> correlations;
    const QStringList all = QString(lines).replace(u'\r', u'\n').split(u'\n');
    for (qsizetype i = 0; i < all.size(); ++i) {
        const QString line = all[i].trimmed();
        if (line.isEmpty()) continue;
        PropagationInput in;
        Correlation c;
        if (parsePropagationInput(line, in))
            inputs.append(in);
        else if (parseCorrelation(line, c))
            correlations.append(c);
        else
            return failure(QStringLiteral("第 ") + QString::number(i + 1) +
                           QStringLiteral(" 行应写作 r=值±中误差 或 r,s=相关系数：") + line);
    }
    return propagate(f, inputs, correlations, settings, cancel);
}

}  // namespace hc
