// The conversions between doubles and Decimals done with integer arithmetic, against
// the text routes: decimalOfDouble must equal Decimal::fromDouble (value, coefficient,
// scale, sign) and writeDoubleText the text built from std::to_chars, for random
// doubles of every magnitude, short decimals, ties and neighbours of powers of ten;
// doubleOfDecimal must give the very double of Decimal::toDouble.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <string>

#include "engine/double_text.h"

namespace hc {
namespace {

// The text of d as std::to_chars gives its fifteen digits (the writer's first form).
std::string referenceText(double d) {
    if (std::isnan(d)) return "NaN";
    if (std::isinf(d)) return d < 0 ? "-Infinity" : "Infinity";
    if (d == 0) return "0";
    char sci[32];
    const auto r =
        std::to_chars(sci, sci + sizeof sci, std::fabs(d), std::chars_format::scientific, 14);
    char digits[15];
    digits[0] = sci[0];
    std::memcpy(digits + 1, sci + 2, 14);
    int nd = 15;
    while (nd > 1 && digits[nd - 1] == '0') --nd;
    int exp = 0;
    for (const char* p = sci + 18; p < r.ptr; ++p) exp = exp * 10 + (*p - '0');
    if (sci[17] == '-') exp = -exp;
    std::string out = d < 0 ? "-" : "";
    if (exp < -4 || exp >= 15) {
        out += digits[0];
        if (nd > 1) out += '.' + std::string(digits + 1, digits + nd);
        out += exp < 0 ? "E-" : "E+";
        const int a = std::abs(exp);
        if (a >= 100) out += char('0' + a / 100);
        out += char('0' + a / 10 % 10);
        out += char('0' + a % 10);
    } else if (exp >= 0) {
        for (int i = 0; i <= exp; ++i) out += i < nd ? digits[i] : '0';
        if (nd > exp + 1) out += '.' + std::string(digits + exp + 1, digits + nd);
    } else {
        out += "0." + std::string(-exp - 1, '0') + std::string(digits, digits + nd);
    }
    return out;
}

std::string describe(const Decimal& v) {
    return v.toString().toStdString() + " (scale " + std::to_string(v.scale()) +
           (v.isNegative() ? ", negative)" : ")");
}

class DoubleDigitsTest : public ::testing::Test {
protected:
    std::mt19937_64 rng{1210};
    int differences = 0;

    int uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

    void check(double d) {
        if (differences >= 5) return;
        bool ok = true;
        char buf[kDoubleTextCapacity];
        const std::string text(buf, static_cast<std::size_t>(writeDoubleText(d, buf)));
        const std::string expectedText = referenceText(d);
        if (text != expectedText) {
            ok = false;
            ADD_FAILURE() << "text of " << expectedText << " gave " << text;
        }
        std::string fromDouble, fast;
        try {
            fromDouble = describe(Decimal::fromDouble(d));
        } catch (const DecimalError&) {
            fromDouble = "DecimalError";
        }
        try {
            fast = describe(decimalOfDouble(d));
        } catch (const DecimalError&) {
            fast = "DecimalError";
        }
        if (fast != fromDouble) {
            ok = false;
            ADD_FAILURE() << "Decimal of " << expectedText << " gave " << fast
                          << ", Decimal::fromDouble " << fromDouble;
        }
        // The exact comparison of coefficients, beyond their texts.
        if (ok && fromDouble != "DecimalError") {
            const Decimal a = decimalOfDouble(d), b = Decimal::fromDouble(d);
            ok = a.coefficient() == b.coefficient() && a.scale() == b.scale() &&
                 a.isNegative() == b.isNegative();
            EXPECT_TRUE(ok) << "coefficient of " << expectedText;
        }
        if (!ok) ++differences;
    }

    void both(double d) {
        check(d);
        check(-d);
    }
};

TEST_F(DoubleDigitsTest, RandomBitPatternsOfEveryMagnitude) {
    // Exponents from 1E-12 to 1E+22 cover the integer route and both sides of it.
    for (int i = 0; i < 400000; ++i) {
        const std::uint64_t exponent = static_cast<std::uint64_t>(uniform(1023 - 40, 1023 + 73));
        const std::uint64_t bits = (exponent << 52) | (rng() & ((std::uint64_t(1) << 52) - 1));
        double d;
        std::memcpy(&d, &bits, sizeof d);
        both(d);
    }
}

TEST_F(DoubleDigitsTest, ShortDecimalsAsTheyAreTyped) {
    for (int i = 0; i < 300000; ++i) {
        const long long n = std::uniform_int_distribution<long long>(1, 99999999999999999)(rng);
        const int digits = uniform(1, 17);
        long long m = n;
        for (int k = digits; k < 17; ++k) m /= 10;
        both(double(m ? m : 1) / std::pow(10.0, uniform(0, 22)));
    }
}

// Values exactly halfway between two fifteen-digit numbers go to the even one.
TEST_F(DoubleDigitsTest, TiesGoToTheEvenDigit) {
    for (int i = 0; i < 50000; ++i) {
        // A sixteen-digit whole number ending in 5, and k + 0.5 for fourteen-digit k.
        const long long k =
            std::uniform_int_distribution<long long>(100000000000000, 900719925474099)(rng);
        both(double(k * 10 + 5));
        both(double(k / 10) + 0.5);
        // The same ties scaled by powers of two stay exact.
        both(std::ldexp(double(k * 10 + 5), uniform(-30, 10)));
    }
}

// Neighbours of powers of ten and of the points where rounding reaches the next power.
TEST_F(DoubleDigitsTest, NeighboursOfPowersOfTen) {
    for (int e = -12; e <= 22; ++e) {
        const double p = std::pow(10.0, e);
        const double below = p * (1 - 5E-16);  // rounds up to the power at 15 digits
        for (double start : {p, below, p * (1 + 5E-15)}) {
            double up = start, down = start;
            for (int i = 0; i < 200; ++i) {
                both(up);
                both(down);
                up = std::nextafter(up, std::numeric_limits<double>::infinity());
                down = std::nextafter(down, 0.0);
            }
        }
    }
}

TEST_F(DoubleDigitsTest, ValuesOutsideTheIntegerRoute) {
    for (double d :
         {0.0, -0.0, 1E-300, 4.9E-324, 1E-28, 9.99999999999999E-11, 1E+20, 1E+28,
          7.92281625142642E+28, 7.9228162514264338E+28, 1E+29, 1.7976931348623157E+308,
          std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
          std::numeric_limits<double>::quiet_NaN()})
        both(d);
}

// The nearest double of a Decimal against Decimal::toDouble, which reads its text.
class DecimalToDoubleTest : public ::testing::Test {
protected:
    std::mt19937_64 rng{1212};
    int differences = 0;

    int uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
    Decimal::u128 below(Decimal::u128 n) { return ((Decimal::u128(rng()) << 64) | rng()) % n; }

    void check(const Decimal& v) {
        if (differences >= 5) return;
        const double a = doubleOfDecimal(v), b = v.toDouble();
        if (std::memcmp(&a, &b, sizeof a) != 0) {
            ++differences;
            ADD_FAILURE() << v.toString().toStdString() << " (scale " << v.scale() << ") gave " << a
                          << ", Decimal::toDouble " << b;
        }
    }
};

TEST_F(DecimalToDoubleTest, AnyCoefficientAndScale) {
    const Decimal::u128 limit = Decimal::u128(1) << 96;
    for (int i = 0; i < 400000; ++i) {
        Decimal::u128 range = 1;
        for (int k = uniform(1, 29); k > 0; --k) range *= 10;
        const Decimal::u128 c = below(std::min(range, limit));
        check(Decimal::fromParts(c, uniform(0, 28), uniform(0, 1) == 1));
    }
}

// Values exactly halfway between two doubles go to the even one: an odd 54-bit
// number over a power of two, written as a Decimal.
TEST_F(DecimalToDoubleTest, TiesGoToTheEvenDouble) {
    for (int i = 0; i < 100000; ++i) {
        const Decimal::u128 odd = (Decimal::u128(rng() >> 11 | (std::uint64_t(1) << 52)) << 1) | 1;
        const int scale = uniform(0, 18);
        Decimal::u128 c = odd;
        for (int k = 0; k < scale; ++k) c *= 5;
        // odd * 5^s / 10^s = odd / 2^s; shifted left it stays a tie with scale 0.
        check(Decimal::fromParts(c, scale, false));
        if (scale == 0) check(Decimal::fromParts(odd << uniform(0, 41), 0, true));
        // One unit more or less is no tie.
        check(Decimal::fromParts(c + 1, scale, false));
        check(Decimal::fromParts(c - 1, scale, false));
    }
}

}  // namespace
}  // namespace hc
