#include "engine/decimal.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace hc {

namespace {

using u64 = std::uint64_t;
using u128 = unsigned __int128;

constexpr u128 kLimit = static_cast<u128>(1) << 96;

constexpr std::array<u64, 20> kPow10 = [] {
    std::array<u64, 20> p{};
    p[0] = 1;
    for (int i = 1; i < 20; ++i) p[i] = p[i - 1] * 10;
    return p;
}();

constexpr std::array<u128, 39> kPow10Wide = [] {
    std::array<u128, 39> p{};
    p[0] = 1;
    for (int i = 1; i < 39; ++i) p[i] = p[i - 1] * 10;
    return p;
}();

// What a result just below 2^96 that rounds up to 2^96 becomes one digit further left.
constexpr u128 kLimitTenthRounded = kLimit / 10 + 1;

[[noreturn]] void throwOverflow() { throw DecimalError("Decimal overflow"); }

// 128-by-64-bit division step; hi must be below d.
inline u64 divStep(u64 hi, u64 lo, u64 d, u64& rem) {
#if defined(__x86_64__)
    u64 q;
    asm("divq %4" : "=a"(q), "=d"(rem) : "a"(lo), "d"(hi), "rm"(d) : "cc");
    return q;
#else
    const u128 n = (static_cast<u128>(hi) << 64) | lo;
    rem = static_cast<u64>(n % d);
    return static_cast<u64>(n / d);
#endif
}

// n / d with the remainder in r, for d below 2^96 and n below 2^127.
inline u128 divMod(u128 n, u128 d, u128& r) {
    const u64 dhi = static_cast<u64>(d >> 64);
    if (dhi == 0) {
        const u64 dlo = static_cast<u64>(d);
        const u64 hi = static_cast<u64>(n >> 64);
        u64 rem;
        const u64 qlo = divStep(hi % dlo, static_cast<u64>(n), dlo, rem);
        r = rem;
        return (static_cast<u128>(hi / dlo) << 64) | qlo;
    }
    // The quotient is below 2^63: estimate it from the top 64 bits of d, then correct.
    const int sh = 64 - __builtin_clzll(dhi);
    const u64 top = static_cast<u64>(d >> sh);
    const u128 ns = n >> sh;
    u64 rem;
    u64 q = divStep(static_cast<u64>(ns >> 64), static_cast<u64>(ns), top, rem);
    u128 p = static_cast<u128>(q) * d;
    while (p > n) {
        --q;
        p -= d;
    }
    u128 rest = n - p;
    while (rest >= d) {
        ++q;
        rest -= d;
    }
    r = rest;
    return q;
}

// Unsigned 192-bit integer, least significant word first.
struct U192 {
    u64 w[3] = {0, 0, 0};

    static U192 from(u128 v) { return U192{{static_cast<u64>(v), static_cast<u64>(v >> 64), 0}}; }
    bool isZero() const { return (w[0] | w[1] | w[2]) == 0; }
    bool fits96() const { return w[2] == 0 && (w[1] >> 32) == 0; }
    u128 low128() const { return (static_cast<u128>(w[1]) << 64) | w[0]; }
    int bitLength() const {
        for (int i = 2; i >= 0; --i)
            if (w[i] != 0) return 64 * i + 64 - __builtin_clzll(w[i]);
        return 0;
    }
    // Divides in place; returns the remainder.
    u64 divSmall(u64 d) {
        u64 r = 0;
        int top = 2;
        while (top > 0 && w[top] == 0) --top;
        for (int i = top; i >= 0; --i) w[i] = divStep(r, w[i], d, r);
        return r;
    }
    // Multiplies in place; the product must fit in 192 bits.
    void mulSmall(u64 m) {
        u128 carry = 0;
        for (u64& x : w) {
            const u128 p = static_cast<u128>(x) * m + carry;
            x = static_cast<u64>(p);
            carry = p >> 64;
        }
    }
    void addSmall(u64 v) {
        for (u64& x : w) {
            x += v;
            if (x >= v) return;
            v = 1;
        }
    }
    void add(const U192& o) {
        u128 carry = 0;
        for (int i = 0; i < 3; ++i) {
            const u128 s = static_cast<u128>(w[i]) + o.w[i] + carry;
            w[i] = static_cast<u64>(s);
            carry = s >> 64;
        }
    }
    void sub(const U192& o) {  // *this >= o
        u64 borrow = 0;
        for (int i = 0; i < 3; ++i) {
            const u64 a = w[i];
            const u64 d = a - o.w[i] - borrow;
            borrow = (a < o.w[i]) || (a - o.w[i] < borrow);
            w[i] = d;
        }
    }
    friend int compare(const U192& a, const U192& b) {
        for (int i = 2; i >= 0; --i)
            if (a.w[i] != b.w[i]) return a.w[i] < b.w[i] ? -1 : 1;
        return 0;
    }
};

// Full product of two coefficients below 2^96.
U192 mulWide(u128 a, u128 b) {
    const u64 a0 = static_cast<u64>(a), a1 = static_cast<u64>(a >> 64);
    const u64 b0 = static_cast<u64>(b), b1 = static_cast<u64>(b >> 64);
    const u128 p00 = static_cast<u128>(a0) * b0;
    const u128 mid = static_cast<u128>(a0) * b1 + static_cast<u128>(a1) * b0 + (p00 >> 64);
    const u128 p11 = static_cast<u128>(a1) * b1;  // below 2^64
    U192 r;
    r.w[0] = static_cast<u64>(p00);
    r.w[1] = static_cast<u64>(mid);
    r.w[2] = static_cast<u64>(mid >> 64) + static_cast<u64>(p11);
    return r;
}

// v * 10^k for v below 2^96 and k up to 28 (result below 2^190).
U192 scaleUp(u128 v, int k) {
    U192 r = U192::from(v);
    if (k > 19) {
        r.mulSmall(kPow10[19]);
        k -= 19;
    }
    if (k > 0) r.mulSmall(kPow10[k]);
    return r;
}

}  // namespace

struct DecimalOps {
    static Decimal make(u128 c, long long scale, bool neg) {
        return Decimal(Decimal::Raw{}, c, static_cast<int>(scale), neg && c != 0);
    }

    // Rounds (n + f) / 10^scale, where 0 <= f < 1 and sticky tells f > 0, to the
    // largest scale <= 28 whose coefficient fits, ties to even.
    static Decimal reduce(const U192& n, long long scale, bool sticky, bool neg) {
        if (!sticky && scale <= Decimal::kMaxScale && n.fits96()) {
            return make(n.low128(), scale, neg);
        }
        long long kmin = scale > Decimal::kMaxScale ? scale - Decimal::kMaxScale : 0;
        if (sticky && kmin < 1) kmin = 1;
        const int bits = n.bitLength();
        // n >= 2^(bits-1) needs more than (bits-97) * log10(2) digits dropped; with
        // 30102/100000 < log10(2) the guess is never more than needed, and rarely less.
        long long k = bits > 96 ? (static_cast<long long>(bits - 97) * 30102) / 100000 + 1 : 0;
        if (k < kmin) k = kmin;
        for (;; ++k) {
            if (k > scale) throwOverflow();
            U192 q = n;
            bool st = sticky;
            long long kk = k;
            while (kk > 19) {
                st |= q.divSmall(kPow10[19]) != 0;
                kk -= 19;
                if (q.isZero()) return make(0, Decimal::kMaxScale, false);
            }
            int cmp = 0;  // dropped part against one half
            if (kk > 0) {
                const u64 rem = q.divSmall(kPow10[kk]);
                const u64 half = 5 * kPow10[kk - 1];
                cmp = rem < half ? -1 : (rem > half ? 1 : (st ? 1 : 0));
            }
            if (!q.fits96()) continue;
            u128 c = q.low128();
            if (cmp > 0 || (cmp == 0 && kk > 0 && (c & 1))) ++c;
            const long long s = scale - k;
            if (c == kLimit) {
                if (s == 0) throwOverflow();
                return make(kLimitTenthRounded, s - 1, neg);
            }
            return make(c, s, neg);
        }
    }

    // a + b, with b's sign flipped when negateB.
    static Decimal add(const Decimal& a, const Decimal& b, bool negateB) {
        const bool an = a.neg_;
        const bool bn = b.neg_ != negateB;
        u128 ca = a.coef_, cb = b.coef_;
        int sa = a.scale_, sb = b.scale_;
        bool neg = an;
        if (sa == sb) {
            if (an == bn) {
                const u128 c = ca + cb;
                if (c < kLimit) return make(c, sa, an);
                return reduce(U192::from(c), sa, false, an);
            }
            if (ca >= cb) return make(ca - cb, sa, an);
            return make(cb - ca, sa, bn);
        }
        // Make a the operand with the larger scale.
        bool bneg = bn;
        if (sa < sb) {
            std::swap(ca, cb);
            std::swap(sa, sb);
            neg = bn;
            bneg = an;
        }
        const int diff = sa - sb;
        if (diff <= 9) {
            const u128 cbs = cb * kPow10[diff];  // below 2^126
            if (neg == bneg) {
                const u128 c = ca + cbs;
                if (c < kLimit) return make(c, sa, neg);
                return reduce(U192::from(c), sa, false, neg);
            }
            if (ca >= cbs) return make(ca - cbs, sa, neg);
            const u128 c = cbs - ca;
            if (c < kLimit) return make(c, sa, bneg);
            return reduce(U192::from(c), sa, false, bneg);
        }
        U192 wa = U192::from(ca);
        U192 wb = scaleUp(cb, diff);
        if (neg == bneg) {
            wa.add(wb);
            return reduce(wa, sa, false, neg);
        }
        if (compare(wa, wb) >= 0) {
            wa.sub(wb);
            return reduce(wa, sa, false, neg);
        }
        wb.sub(wa);
        return reduce(wb, sa, false, bneg);
    }

    static Decimal mul(const Decimal& a, const Decimal& b) {
        const bool neg = a.neg_ != b.neg_;
        const int scale = a.scale_ + b.scale_;
        if (a.coef_ == 0 || b.coef_ == 0) return make(0, 0, false);
        if ((a.coef_ >> 64) == 0 && (b.coef_ >> 64) == 0) {
            const u128 p = static_cast<u128>(static_cast<u64>(a.coef_)) * static_cast<u64>(b.coef_);
            if (p < kLimit && scale <= Decimal::kMaxScale) return make(p, scale, neg);
            return reduce(U192::from(p), scale, false, neg);
        }
        return reduce(mulWide(a.coef_, b.coef_), scale, false, neg);
    }

    static Decimal div(const Decimal& a, const Decimal& b) {
        if (b.coef_ == 0) throw DecimalError("Decimal division by zero");
        if (a.coef_ == 0) return make(0, 0, false);
        const bool neg = a.neg_ != b.neg_;
        const u128 cb = b.coef_;
        const bool narrow = (cb >> 64) == 0;
        // a / b = (ca / cb) * 10^d; t digits of ca / cb after the point give scale t - d.
        const int d = b.scale_ - a.scale_;
        const int tmax = Decimal::kMaxScale + d;
        u128 r;
        u128 q = divMod(a.coef_, cb, r);
        int t = 0;
        while (t < tmax && (r != 0 || t < d)) {
            // r * 10^k and q * 10^k must stay within 128 bits.
            int k = narrow && (q >> 64) == 0 ? 19 : 9;
            if (tmax - t < k) k = tmax - t;
            if (r == 0 && d - t < k) k = d - t;
            bool full = false;
            while (k > 0 && q * kPow10[k] >= kLimit) {
                --k;
                full = true;
            }
            u128 rk, qk;
            while (k > 0) {
                rk = r * kPow10[k];
                qk = q * kPow10[k] + divMod(rk, cb, rk);
                if (qk < kLimit) break;
                --k;
                full = true;
            }
            if (full && t + k < d) throwOverflow();
            if (k > 0) {
                q = qk;
                r = rk;
                t += k;
            }
            if (full) break;
        }
        const int s = t - d;
        if (r != 0) {
            const u128 twice = r << 1;
            if (twice > cb || (twice == cb && (q & 1))) ++q;
            if (q == kLimit) {
                if (s == 0) throwOverflow();
                return make(kLimitTenthRounded, s - 1, neg);
            }
        }
        return make(q, s, neg);
    }

    static std::strong_ordering compareMagnitude(const Decimal& a, const Decimal& b) {
        if (a.scale_ == b.scale_) return a.coef_ <=> b.coef_;
        if (a.scale_ < b.scale_) {
            const int diff = b.scale_ - a.scale_;
            if (diff <= 9) return a.coef_ * kPow10[diff] <=> b.coef_;
            const int c = compare(scaleUp(a.coef_, diff), U192::from(b.coef_));
            return c <=> 0;
        }
        const int diff = a.scale_ - b.scale_;
        if (diff <= 9) return a.coef_ <=> b.coef_ * kPow10[diff];
        const int c = compare(U192::from(a.coef_), scaleUp(b.coef_, diff));
        return c <=> 0;
    }

    // Number text over any character type; returns false when the text is not a number.
    template <typename Ch>
    static bool parse(const Ch* p, const Ch* end, Decimal& out) {
        while (p != end && *p == ' ') ++p;
        while (end != p && end[-1] == ' ') --end;
        bool neg = false;
        if (p != end && (*p == '+' || *p == '-')) {
            neg = *p == '-';
            ++p;
        }
        constexpr int kKeep = 57;  // 10^57 < 2^192
        char digits[kKeep];
        long long nSig = 0;
        long long fracCount = 0;
        bool anyDigit = false;
        bool point = false;
        bool sticky = false;
        for (; p != end; ++p) {
            const Ch c = *p;
            if (c >= '0' && c <= '9') {
                anyDigit = true;
                if (point) ++fracCount;
                if (nSig == 0 && c == '0') continue;
                if (nSig < kKeep) {
                    digits[nSig] = static_cast<char>(c - '0');
                } else if (c != '0') {
                    sticky = true;
                }
                ++nSig;
            } else if (c == '.' && !point) {
                point = true;
            } else {
                break;
            }
        }
        if (!anyDigit) return false;
        long long exp = 0;
        if (p != end) {
            if (*p != 'e' && *p != 'E') return false;
            ++p;
            bool expNeg = false;
            if (p != end && (*p == '+' || *p == '-')) {
                expNeg = *p == '-';
                ++p;
            }
            if (p == end) return false;
            for (; p != end; ++p) {
                if (*p < '0' || *p > '9') return false;
                // Anything beyond this decides overflow or zero the same way.
                if (exp < 1000000000000LL) exp = exp * 10 + (*p - '0');
            }
            if (expNeg) exp = -exp;
        }
        if (nSig == 0) {
            out = make(0, 0, false);
            return true;
        }
        const long long e = exp - fracCount;
        if (nSig + e > 29) throwOverflow();
        const int kept = nSig < kKeep ? static_cast<int>(nSig) : kKeep;
        U192 n;
        int i = 0;
        while (i < kept) {
            const int chunk = kept - i < 19 ? kept - i : 19;
            u64 v = 0;
            for (int j = 0; j < chunk; ++j) v = v * 10 + static_cast<u64>(digits[i + j]);
            n.mulSmall(kPow10[chunk]);
            n.addSmall(v);
            i += chunk;
        }
        const long long e2 = e + (nSig - kept);
        if (e2 >= 0) {
            // Here kept == nSig and kept + e2 <= 29 digits.
            for (long long j = 0; j < e2; ++j) n.mulSmall(10);
            out = reduce(n, 0, false, neg);
        } else {
            out = reduce(n, -e2, sticky, neg);
        }
        return true;
    }

    // Writes the canonical text of the value; returns its length.
    static int format(const Decimal& v, char* buf) {
        char digits[40];
        int nd = 0;
        u128 c = v.coef_;
        while (c != 0) {
            u64 chunk;
            if ((c >> 64) == 0) {
                chunk = static_cast<u64>(c);
                c = 0;
            } else {
                u64 rem;
                const u64 hi = static_cast<u64>(c >> 64);
                const u64 qhi = hi / kPow10[19];
                const u64 qlo = divStep(hi % kPow10[19], static_cast<u64>(c), kPow10[19], rem);
                c = (static_cast<u128>(qhi) << 64) | qlo;
                for (int j = 0; j < 19; ++j) {
                    digits[nd++] = static_cast<char>('0' + rem % 10);
                    rem /= 10;
                }
                continue;
            }
            while (chunk != 0) {
                digits[nd++] = static_cast<char>('0' + chunk % 10);
                chunk /= 10;
            }
        }
        // digits holds the coefficient least significant first, without leading zeros.
        const int scale = v.scale_ < Decimal::kMaxScale ? v.scale_ : Decimal::kMaxScale;
        int lowest = 0;  // trailing fraction zeros to drop
        while (lowest < scale && lowest < nd && digits[lowest] == '0') ++lowest;
        if (nd == 0) lowest = scale;
        int len = 0;
        if (v.isNegative()) buf[len++] = '-';
        if (nd <= scale) {
            buf[len++] = '0';
        } else {
            for (int j = nd - 1; j >= scale; --j) buf[len++] = digits[j];
        }
        if (lowest < scale) {
            buf[len++] = '.';
            for (int j = scale - 1; j >= lowest; --j) buf[len++] = j < nd ? digits[j] : '0';
        }
        return len;
    }
};

Decimal Decimal::fromParts(u128 coefficient, int scale, bool negative) {
    if (coefficient >= kLimit || scale < 0 || scale > kMaxScale) {
        throw DecimalError("Decimal parts out of range");
    }
    return DecimalOps::make(coefficient, scale, negative);
}

Decimal Decimal::fromText(QStringView text) {
    Decimal d;
    const char16_t* p = text.utf16();
    if (!DecimalOps::parse(p, p + text.size(), d)) throw DecimalError("Not a number");
    return d;
}

bool Decimal::tryFromText(QStringView text, Decimal& out) noexcept {
    try {
        Decimal d;
        const char16_t* p = text.utf16();
        if (!DecimalOps::parse(p, p + text.size(), d)) return false;
        out = d;
        return true;
    } catch (const DecimalError&) {
        return false;
    }
}

Decimal Decimal::fromDouble(double d) {
    if (!std::isfinite(d)) throw DecimalError("Not a finite number");
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::scientific, 14);
    Decimal out;
    if (res.ec != std::errc() || !DecimalOps::parse(buf, res.ptr, out)) {
        throw DecimalError("Not a number");
    }
    return out;
}

double Decimal::toDouble() const {
    static constexpr double kExact[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    double v;
    if (coef_ < (static_cast<u128>(1) << 53) && scale_ <= 22) {
        // Both operands are exact doubles, so the one division rounds correctly.
        v = static_cast<double>(static_cast<u64>(coef_)) / kExact[scale_];
    } else {
        char buf[48];
        const int len = DecimalOps::format(abs(), buf);
        std::from_chars(buf, buf + len, v);
    }
    return isNegative() ? -v : v;
}

QString Decimal::toString() const {
    char buf[48];
    const int len = DecimalOps::format(*this, buf);
    return QString::fromLatin1(buf, len);
}

Decimal Decimal::operator-() const { return DecimalOps::make(coef_, scale_, !neg_); }

Decimal Decimal::abs() const { return DecimalOps::make(coef_, scale_, false); }

Decimal Decimal::truncated() const {
    if (scale_ == 0) return *this;
    return DecimalOps::make(coef_ / kPow10Wide[scale_], 0, neg_);
}

Decimal operator+(const Decimal& a, const Decimal& b) { return DecimalOps::add(a, b, false); }

Decimal operator-(const Decimal& a, const Decimal& b) { return DecimalOps::add(a, b, true); }

Decimal operator*(const Decimal& a, const Decimal& b) { return DecimalOps::mul(a, b); }

Decimal operator/(const Decimal& a, const Decimal& b) { return DecimalOps::div(a, b); }

std::strong_ordering operator<=>(const Decimal& a, const Decimal& b) {
    const bool an = a.isNegative(), bn = b.isNegative();
    if (an != bn) return an ? std::strong_ordering::less : std::strong_ordering::greater;
    const std::strong_ordering m = DecimalOps::compareMagnitude(a, b);
    return an ? 0 <=> m : m;
}

}  // namespace hc
