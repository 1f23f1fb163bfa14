#pragma once
// Exact signed decimal: a 96-bit unsigned coefficient, a scale 0..28 and a sign.
// Value = (-1)^negative * coefficient / 10^scale. At most 29 significant digits,
// largest magnitude 79228162514264337593543950335, smallest non-zero 1E-28.
//
// Results are exact when they fit; otherwise they keep the largest scale that
// fits and are rounded to nearest, ties to even (a result below 1E-28 becomes 0).
// Overflow, division by zero and text that is not a number throw DecimalError;
// the routines of the engine catch it and follow their own failure rules.

#include <QString>
#include <QStringView>
#include <compare>
#include <cstdint>
#include <stdexcept>

namespace hc {

class DecimalError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Decimal {
public:
    using u128 = unsigned __int128;

    static constexpr int kMaxScale = 28;

    constexpr Decimal() = default;
    // NOLINTNEXTLINE(google-explicit-constructor): small integers are values.
    constexpr Decimal(int v) : Decimal(static_cast<long long>(v)) {}
    constexpr Decimal(long long v)
        : coef_(v < 0 ? static_cast<u128>(-(v + 1)) + 1 : static_cast<u128>(v)),
          scale_(0),
          neg_(v < 0) {}

    // coefficient must be below 2^96 and scale within 0..28 (else DecimalError).
    static Decimal fromParts(u128 coefficient, int scale, bool negative);
    // Number text: optional sign, digits with at most one ".", optional exponent
    // (e/E, optional sign, digits); spaces around are ignored. Digits beyond what
    // fits are rounded half to even. Throws DecimalError on bad text or overflow.
    static Decimal fromText(QStringView text);
    // Non-throwing variant; returns false and leaves out untouched on failure.
    static bool tryFromText(QStringView text, Decimal& out) noexcept;
    // The double rounded to 15 significant digits, then converted exactly.
    // Throws DecimalError for NaN, infinities and magnitudes outside the range.
    static Decimal fromDouble(double d);

    static Decimal max() { return fromParts((static_cast<u128>(1) << 96) - 1, 0, false); }

    u128 coefficient() const { return coef_; }
    int scale() const { return scale_; }
    bool isNegative() const { return neg_ && coef_ != 0; }
    bool isZero() const { return coef_ == 0; }

    // Nearest double.
    double toDouble() const;
    // Canonical text: optional "-", integer digits, and "." with the fraction
    // digits only when the fraction is not zero (trailing zeros removed).
    QString toString() const;

    Decimal operator-() const;
    Decimal abs() const;
    // Truncation toward zero.
    Decimal truncated() const;

    friend Decimal operator+(const Decimal& a, const Decimal& b);
    friend Decimal operator-(const Decimal& a, const Decimal& b);
    friend Decimal operator*(const Decimal& a, const Decimal& b);
    friend Decimal operator/(const Decimal& a, const Decimal& b);
    Decimal& operator+=(const Decimal& b) { return *this = *this + b; }
    Decimal& operator-=(const Decimal& b) { return *this = *this - b; }
    Decimal& operator*=(const Decimal& b) { return *this = *this * b; }
    Decimal& operator/=(const Decimal& b) { return *this = *this / b; }

    // Numeric comparison: 1.50 == 1.5, -0 == 0.
    friend std::strong_ordering operator<=>(const Decimal& a, const Decimal& b);
    friend bool operator==(const Decimal& a, const Decimal& b) {
        return (a <=> b) == std::strong_ordering::equal;
    }

private:
    struct Raw {};
    constexpr Decimal(Raw, u128 coefficient, int scale, bool negative)
        : coef_(coefficient), scale_(static_cast<std::uint8_t>(scale)), neg_(negative) {}
    friend struct DecimalOps;

    u128 coef_ = 0;  // below 2^96
    std::uint8_t scale_ = 0;
    bool neg_ = false;
};

}  // namespace hc
