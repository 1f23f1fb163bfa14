#include "engine/decimal.h"

#include <gmpxx.h>
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace hc {
namespace {

using u128 = Decimal::u128;
using u64 = std::uint64_t;

Decimal D(const std::string& s) { return Decimal::fromText(QString::fromStdString(s)); }
std::string S(const Decimal& d) { return d.toString().toStdString(); }

// ---------------------------------------------------------------------------
// Reference model: exact rationals in GMP, rounded by its own half-even rule.

mpz_class toMpz(u128 v) {
    mpz_class r = static_cast<unsigned long>(static_cast<u64>(v >> 64));
    r <<= 64;
    r += static_cast<unsigned long>(static_cast<u64>(v));
    return r;
}

mpz_class pow10(unsigned long k) {
    mpz_class r;
    mpz_ui_pow_ui(r.get_mpz_t(), 10, k);
    return r;
}

mpq_class valueOf(const Decimal& d) {
    mpq_class q(toMpz(d.coefficient()), pow10(static_cast<unsigned long>(d.scale())));
    q.canonicalize();
    return d.isNegative() ? mpq_class(-q) : q;
}

const mpz_class& limit96() {
    static const mpz_class l = mpz_class(1) << 96;
    return l;
}

// |x| * 10^s rounded to an integer, ties to even.
mpz_class roundHalfEven(const mpq_class& absx, unsigned long s) {
    const mpz_class num = absx.get_num() * pow10(s);
    const mpz_class& den = absx.get_den();
    mpz_class q, r;
    mpz_fdiv_qr(q.get_mpz_t(), r.get_mpz_t(), num.get_mpz_t(), den.get_mpz_t());
    const int c = cmp(mpz_class(2 * r), den);
    if (c > 0 || (c == 0 && mpz_odd_p(q.get_mpz_t()))) ++q;
    return q;
}

// Canonical text of coefficient / 10^scale written from its digits.
std::string modelText(bool negative, const mpz_class& coef, int scale) {
    if (coef == 0) return "0";
    std::string digits = coef.get_str();
    if (static_cast<int>(digits.size()) <= scale) {
        digits.insert(0, static_cast<size_t>(scale) + 1 - digits.size(), '0');
    }
    std::string intPart = digits.substr(0, digits.size() - static_cast<size_t>(scale));
    std::string frac = digits.substr(digits.size() - static_cast<size_t>(scale));
    while (!frac.empty() && frac.back() == '0') frac.pop_back();
    std::string out = negative ? "-" : "";
    out += intPart;
    if (!frac.empty()) out += "." + frac;
    return out;
}

// The expected canonical text of x as a Decimal, or nothing when it overflows.
std::optional<std::string> expected(const mpq_class& x) {
    if (x == 0) return "0";
    const mpq_class absx = abs(x);
    // Integer digits bound the scales worth trying.
    const mpz_class ip = absx.get_num() / absx.get_den();
    const int intDigits = ip == 0 ? 0 : static_cast<int>(ip.get_str().size());
    if (intDigits > 29) return std::nullopt;
    for (int s = std::min(28, 29 - intDigits); s >= 0; --s) {
        const mpz_class c = roundHalfEven(absx, static_cast<unsigned long>(s));
        if (c < limit96()) return modelText(x < 0, c, s);
    }
    return std::nullopt;
}

// ---------------------------------------------------------------------------
// Random operands over all scales and coefficient sizes.

class Gen {
public:
    explicit Gen(u64 seed) : rng_(seed) {}

    u64 next() { return rng_(); }
    int uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

    u128 coefficient() {
        const int kind = uniform(0, 19);
        if (kind < 13) {  // random bit length 1..96
            const int bits = uniform(1, 96);
            u128 v = (static_cast<u128>(rng_()) << 64) | rng_();
            v &= (static_cast<u128>(1) << bits) - 1;
            return v | (static_cast<u128>(1) << (bits - 1));
        }
        if (kind < 15) return (static_cast<u128>(1) << 96) - 1 - uniform(0, 1000);  // near the top
        if (kind < 17) return static_cast<u128>(uniform(0, 1000));                  // small
        u128 p = 1;  // powers of ten and their neighbours
        for (int i = uniform(0, 28); i > 0; --i) p *= 10;
        return p + static_cast<u128>(uniform(-1, 1));
    }

    int scale() {
        const int kind = uniform(0, 9);
        if (kind == 0) return 0;
        if (kind == 1) return 28;
        return uniform(0, 28);
    }

    Decimal decimal() { return Decimal::fromParts(coefficient(), scale(), uniform(0, 1) == 1); }

private:
    std::mt19937_64 rng_;
};

enum class Op { Add, Sub, Mul, Div };

void checkOperation(Op op, u64 seed, int cases) {
    Gen g(seed);
    int overflows = 0, inexact = 0;
    for (int i = 0; i < cases; ++i) {
        const Decimal a = g.decimal();
        const Decimal b = g.decimal();
        const mpq_class qa = valueOf(a), qb = valueOf(b);
        mpq_class exact;
        const char* sign = "";
        switch (op) {
            case Op::Add:
                exact = qa + qb, sign = " + ";
                break;
            case Op::Sub:
                exact = qa - qb, sign = " - ";
                break;
            case Op::Mul:
                exact = qa * qb, sign = " * ";
                break;
            case Op::Div:
                sign = " / ";
                if (qb == 0) {
                    EXPECT_THROW(a / b, DecimalError) << S(a) << sign << S(b);
                    continue;
                }
                exact = qa / qb;
                break;
        }
        const std::optional<std::string> want = expected(exact);
        const std::string what = S(a) + sign + S(b);
        try {
            Decimal r;
            switch (op) {
                case Op::Add:
                    r = a + b;
                    break;
                case Op::Sub:
                    r = a - b;
                    break;
                case Op::Mul:
                    r = a * b;
                    break;
                case Op::Div:
                    r = a / b;
                    break;
            }
            ASSERT_TRUE(want.has_value()) << what << " should overflow, gave " << S(r);
            ASSERT_EQ(S(r), *want) << what;
            ASSERT_LT(r.coefficient(), static_cast<u128>(1) << 96) << what;
            ASSERT_LE(r.scale(), 28) << what;
            if (valueOf(r) != exact) ++inexact;
        } catch (const DecimalError&) {
            ASSERT_FALSE(want.has_value()) << what << " threw, expected " << *want;
            ++overflows;
        }
    }
    // The generator must reach both the rounding and the overflow paths.
    EXPECT_GT(inexact, cases / 100);
    if (op == Op::Mul || op == Op::Div) {
        EXPECT_GT(overflows, cases / 100);
    }
}

TEST(DecimalModel, AdditionMatchesExactRounding) { checkOperation(Op::Add, 101, 80000); }
TEST(DecimalModel, SubtractionMatchesExactRounding) { checkOperation(Op::Sub, 202, 80000); }
TEST(DecimalModel, MultiplicationMatchesExactRounding) { checkOperation(Op::Mul, 303, 80000); }
TEST(DecimalModel, DivisionMatchesExactRounding) { checkOperation(Op::Div, 404, 80000); }

TEST(DecimalModel, AdditionReachesOverflow) {
    Gen g(505);
    int overflows = 0;
    for (int i = 0; i < 20000; ++i) {
        const Decimal a = Decimal::fromParts((static_cast<u128>(1) << 96) - 1 - g.uniform(0, 3),
                                             g.uniform(0, 1), false);
        const Decimal b =
            Decimal::fromParts(static_cast<u128>(g.uniform(0, 20)), g.uniform(0, 2), false);
        const std::optional<std::string> want = expected(valueOf(a) + valueOf(b));
        try {
            ASSERT_EQ(std::optional<std::string>(S(a + b)), want) << S(a) << " + " << S(b);
        } catch (const DecimalError&) {
            ASSERT_FALSE(want.has_value()) << S(a) << " + " << S(b);
            ++overflows;
        }
    }
    EXPECT_GT(overflows, 1000);
}

// ---------------------------------------------------------------------------
// Number text.

TEST(DecimalText, RandomTextsMatchModel) {
    Gen g(606);
    for (int i = 0; i < 40000; ++i) {
        std::string text(static_cast<size_t>(g.uniform(0, 2)), ' ');
        const int sign = g.uniform(0, 2);
        if (sign == 1) text += '-';
        if (sign == 2) text += '+';
        const int intDigits = g.uniform(0, 40);
        const int fracDigits = g.uniform(intDigits == 0 ? 1 : 0, 60);
        const int leadingZeros = g.uniform(0, 3) == 0 ? g.uniform(1, 30) : 0;
        std::string mantissa(static_cast<size_t>(leadingZeros), '0');
        for (int j = 0; j < intDigits + fracDigits; ++j) {
            // Runs of 0, 5 and 9 make ties and carries frequent.
            const int kind = g.uniform(0, 5);
            mantissa += static_cast<char>(kind == 0   ? '0'
                                          : kind == 1 ? '5'
                                          : kind == 2 ? '9'
                                                      : '0' + g.uniform(0, 9));
        }
        const size_t pointAt = static_cast<size_t>(leadingZeros + intDigits);
        std::string digitsOnly = mantissa;
        text += mantissa.substr(0, pointAt);
        if (fracDigits > 0 || g.uniform(0, 3) == 0) text += '.';
        text += mantissa.substr(pointAt);
        long exponent = 0;
        if (g.uniform(0, 2) == 0) {
            exponent = g.uniform(-90, 60);
            text += g.uniform(0, 1) ? 'e' : 'E';
            if (exponent < 0 || g.uniform(0, 1)) text += exponent < 0 ? '-' : '+';
            if (g.uniform(0, 3) == 0) text += "00";
            text += std::to_string(std::labs(exponent));
        }
        text += std::string(static_cast<size_t>(g.uniform(0, 2)), ' ');

        mpq_class exact(mpz_class(digitsOnly, 10));
        const long e = exponent - fracDigits;
        if (e >= 0) {
            exact *= pow10(static_cast<unsigned long>(e));
        } else {
            exact /= pow10(static_cast<unsigned long>(-e));
        }
        exact.canonicalize();
        if (sign == 1) exact = -exact;
        const std::optional<std::string> want = expected(exact);
        Decimal got;
        const bool ok = Decimal::tryFromText(QString::fromStdString(text), got);
        ASSERT_EQ(ok, want.has_value()) << "[" << text << "]";
        if (ok) {
            ASSERT_EQ(S(got), *want) << "[" << text << "]";
        }
    }
}

TEST(DecimalText, LongTexts) {
    // 10,000 digits: one third, rounded at scale 28 with a long tail deciding nothing.
    std::string third = "0." + std::string(10000, '3');
    EXPECT_EQ(S(D(third)), "0.3333333333333333333333333333");
    // A tie decided by a single non-zero digit far in the tail.
    std::string tie = "0.00000000000000000000000000025" + std::string(10000, '0');
    EXPECT_EQ(S(D(tie)), "0.0000000000000000000000000002");
    EXPECT_EQ(S(D(tie + "1")), "0.0000000000000000000000000003");
    // Digits before the point with a large negative exponent.
    std::string big = std::string(20000, '7') + "E-19990";
    EXPECT_EQ(S(D(big)), "7777777777.7777777777777777778");
    std::string tooBig = "1" + std::string(29, '0');
    EXPECT_THROW(D(tooBig), DecimalError);
    EXPECT_THROW(D(std::string(10000, '9')), DecimalError);
    EXPECT_EQ(S(D(std::string(5000, '0') + "12." + std::string(5000, '0'))), "12");
}

TEST(DecimalText, GrammarAndExponents) {
    struct Case {
        const char* text;
        const char* canonical;  // nullptr: not a number or out of range
    };
    const Case cases[] = {
        {"12", "12"},
        {"-0.5", "-0.5"},
        {".5", "0.5"},
        {"3.", "3"},
        {"+7", "7"},
        {"1.23E+20", "123000000000000000000"},
        {"-2e-5", "-0.00002"},
        {"  7  ", "7"},
        {"-0", "0"},
        {"-0.000", "0"},
        {"0e999999999999999999999999", "0"},
        {"1e-999999999999999999999999", "0"},
        {"1e999999999999999999999999", nullptr},
        {"1.5E-20", "0.000000000000000000015"},
        {"1E+28", "10000000000000000000000000000"},
        {"1E+29", nullptr},
        {"1E-28", "0.0000000000000000000000000001"},
        {"1E-29", "0"},
        {"5E-29", "0"},
        {"5.0000000000000000000000000001E-29", "0.0000000000000000000000000001"},
        {"6E-29", "0.0000000000000000000000000001"},
        {"1.5E-28", "0.0000000000000000000000000002"},
        {"2.5E-28", "0.0000000000000000000000000002"},
        {"3.14159265358979323846264338327950", "3.1415926535897932384626433833"},
        {"79228162514264337593543950335", "79228162514264337593543950335"},
        {"79228162514264337593543950335.4999", "79228162514264337593543950335"},
        {"79228162514264337593543950334.5", "79228162514264337593543950334"},
        {"79228162514264337593543950335.5", nullptr},
        {"79228162514264337593543950336", nullptr},
        {"7922816251426433759354395033.55", "7922816251426433759354395034"},
        {"7922816251426433759354395033.549", "7922816251426433759354395033.5"},
        {"0.12345678901234567890123456785", "0.1234567890123456789012345678"},
        {"0.12345678901234567890123456775", "0.1234567890123456789012345678"},
        {"", nullptr},
        {"   ", nullptr},
        {"+", nullptr},
        {"-", nullptr},
        {".", nullptr},
        {"-.", nullptr},
        {"1..2", nullptr},
        {"1.2.3", nullptr},
        {"e5", nullptr},
        {".e1", nullptr},
        {"1e", nullptr},
        {"1e+", nullptr},
        {"1e5.5", nullptr},
        {"1 2", nullptr},
        {"--1", nullptr},
        {"+-1", nullptr},
        {"1,234", nullptr},
        {"0x10", nullptr},
        {"\t1", nullptr},
        {"abc", nullptr},
    };
    for (const Case& c : cases) {
        Decimal d = Decimal(42);
        const bool ok = Decimal::tryFromText(QString::fromUtf8(c.text), d);
        if (c.canonical) {
            EXPECT_TRUE(ok) << "[" << c.text << "]";
            EXPECT_EQ(S(d), c.canonical) << "[" << c.text << "]";
        } else {
            EXPECT_FALSE(ok) << "[" << c.text << "]";
            EXPECT_EQ(d, Decimal(42)) << "failed read must leave the value alone: " << c.text;
            EXPECT_THROW(Decimal::fromText(QString::fromUtf8(c.text)), DecimalError) << c.text;
        }
    }
    // Full-width digits are not number text here; the normalisers map them first.
    EXPECT_THROW(Decimal::fromText(QStringLiteral("１")), DecimalError);
}

TEST(DecimalText, CanonicalWritingRoundTrips) {
    Gen g(707);
    for (int i = 0; i < 40000; ++i) {
        const Decimal d = g.decimal();
        const std::string text = S(d);
        ASSERT_EQ(text, modelText(d.isNegative(), toMpz(d.coefficient()), d.scale()));
        const Decimal back = D(text);
        ASSERT_EQ(back, d) << text;
        ASSERT_EQ(S(back), text);
    }
    EXPECT_EQ(S(Decimal::fromParts(150, 2, false)), "1.5");
    EXPECT_EQ(S(Decimal::fromParts(10000, 2, false)), "100");
    EXPECT_EQ(S(Decimal::fromParts(25, 2, true)), "-0.25");
    EXPECT_EQ(S(Decimal::fromParts(0, 5, true)), "0");
    EXPECT_EQ(S(Decimal::fromParts(1, 28, false)), "0.0000000000000000000000000001");
    EXPECT_EQ(S(Decimal::max()), "79228162514264337593543950335");
    EXPECT_EQ(S(-Decimal::max()), "-79228162514264337593543950335");
    EXPECT_EQ(S(Decimal::fromParts((static_cast<u128>(1) << 96) - 1, 28, false)),
              "7.9228162514264337593543950335");
    EXPECT_EQ(S(Decimal(std::numeric_limits<long long>::min())), "-9223372036854775808");
}

TEST(DecimalText, FromPartsRejectsOutOfRange) {
    EXPECT_THROW(Decimal::fromParts(static_cast<u128>(1) << 96, 0, false), DecimalError);
    EXPECT_THROW(Decimal::fromParts(1, 29, false), DecimalError);
    EXPECT_THROW(Decimal::fromParts(1, -1, false), DecimalError);
}

// ---------------------------------------------------------------------------
// Doubles.

TEST(DecimalDouble, FromDoubleKeepsFifteenDigits) {
    struct Case {
        double value;
        const char* canonical;
    };
    const Case cases[] = {
        {0.1, "0.1"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3.0, "0.333333333333333"},
        {2.0 / 3.0, "0.666666666666667"},
        {-123.456, "-123.456"},
        {1.23456789012345678, "1.23456789012346"},
        {1e28, "10000000000000000000000000000"},
        {7.92281625142642e28, "79228162514264200000000000000"},
        {-1.5e-20, "-0.000000000000000000015"},
        {1e-28, "0.0000000000000000000000000001"},
        {1e-29, "0"},
        {5e-324, "0"},
        {0.0, "0"},
        {-0.0, "0"},
        // Exact binary ties at the 16th digit go to even.
        {100000000000000.5, "100000000000000"},
        {100000000000001.5, "100000000000002"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(S(Decimal::fromDouble(c.value)), c.canonical) << c.value;
    }
    EXPECT_EQ(S(Decimal::fromDouble(7.92281625142643e28)), "79228162514264300000000000000");
    EXPECT_THROW(Decimal::fromDouble(7.92281625142644e28), DecimalError);
    EXPECT_THROW(Decimal::fromDouble(-1e29), DecimalError);
    EXPECT_THROW(Decimal::fromDouble(std::numeric_limits<double>::quiet_NaN()), DecimalError);
    EXPECT_THROW(Decimal::fromDouble(std::numeric_limits<double>::infinity()), DecimalError);
    EXPECT_THROW(Decimal::fromDouble(-std::numeric_limits<double>::infinity()), DecimalError);
}

TEST(DecimalDouble, FromDoubleMatchesPrintfDigits) {
    std::mt19937_64 rng(1111);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_int_distribution<int> exponent(-32, 30);
    for (int i = 0; i < 20000; ++i) {
        double v = mantissa(rng) * std::pow(10.0, exponent(rng));
        if (i % 2) v = -v;
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.14e", v);  // the tests run in the C locale
        const std::string text = buf;
        const size_t e = text.find('e');
        std::string digits = text.substr(0, e);
        const bool negative = digits[0] == '-';
        if (negative) digits.erase(0, 1);
        digits.erase(1, 1);  // the point after the first digit
        const long exp10 = std::stol(text.substr(e + 1)) - 14;
        mpq_class exact(mpz_class(digits, 10));
        if (exp10 >= 0) {
            exact *= pow10(static_cast<unsigned long>(exp10));
        } else {
            exact /= pow10(static_cast<unsigned long>(-exp10));
        }
        exact.canonicalize();
        if (negative) exact = -exact;
        const std::optional<std::string> want = expected(exact);
        try {
            const Decimal got = Decimal::fromDouble(v);
            ASSERT_TRUE(want.has_value()) << text;
            ASSERT_EQ(S(got), *want) << text;
        } catch (const DecimalError&) {
            ASSERT_FALSE(want.has_value()) << text;
        }
    }
}

TEST(DecimalDouble, ToDoubleIsNearest) {
    Gen g(808);
    for (int i = 0; i < 40000; ++i) {
        const Decimal d = g.decimal();
        const std::string text = modelText(d.isNegative(), toMpz(d.coefficient()), d.scale());
        double want = 0;
        std::from_chars(text.data(), text.data() + text.size(), want);
        ASSERT_EQ(d.toDouble(), want) << text;
    }
    EXPECT_EQ(D("0.1").toDouble(), 0.1);
    EXPECT_EQ(D("-2.5").toDouble(), -2.5);
    EXPECT_EQ(Decimal::max().toDouble(), 79228162514264337593543950335.0);
    EXPECT_EQ(D("0.0000000000000000000000000001").toDouble(), 1e-28);
}

// ---------------------------------------------------------------------------
// Comparison and the one-operand operations.

TEST(DecimalOrder, ComparesNumerically) {
    Gen g(909);
    for (int i = 0; i < 60000; ++i) {
        const Decimal a = g.decimal();
        Decimal b = g.decimal();
        if (i % 4 == 0) {
            // The same value at another scale, where it fits.
            const int up = g.uniform(0, 28 - a.scale());
            const mpz_class c = toMpz(a.coefficient()) * pow10(static_cast<unsigned long>(up));
            if (c < limit96()) {
                u128 cc = a.coefficient();
                for (int j = 0; j < up; ++j) cc *= 10;
                b = Decimal::fromParts(cc, a.scale() + up, g.uniform(0, 1) == 1);
            }
        }
        const int want = cmp(valueOf(a), valueOf(b));
        const std::strong_ordering got = a <=> b;
        ASSERT_EQ(got < 0, want < 0) << S(a) << " <=> " << S(b);
        ASSERT_EQ(got == 0, want == 0) << S(a) << " <=> " << S(b);
        ASSERT_EQ(a == b, want == 0);
    }
    EXPECT_EQ(D("1.50"), D("1.5"));
    EXPECT_EQ(D("-0"), D("0"));
    EXPECT_EQ(Decimal::fromParts(0, 3, true) <=> Decimal(0), std::strong_ordering::equal);
    EXPECT_LT(D("-0.0000000000000000000000000001"), Decimal(0));
    EXPECT_LT(D("-2"), D("-1.5"));
    EXPECT_GT(Decimal::max(), D("79228162514264337593543950334"));
    EXPECT_EQ(Decimal::max(), D("79228162514264337593543950334.9"));  // rounded to scale 0
}

TEST(DecimalOrder, TruncateAbsNegate) {
    Gen g(1010);
    for (int i = 0; i < 40000; ++i) {
        const Decimal d = g.decimal();
        const mpq_class q = valueOf(d);
        mpz_class t;
        mpz_tdiv_q(t.get_mpz_t(), q.get_num_mpz_t(), q.get_den_mpz_t());
        ASSERT_EQ(S(d.truncated()), t.get_str()) << S(d);
        ASSERT_EQ(valueOf(d.abs()), abs(q));
        ASSERT_EQ(valueOf(-d), -q);
        ASSERT_EQ(S(-(-d)), S(d));
    }
    EXPECT_EQ(S(D("-2.7").truncated()), "-2");
    EXPECT_EQ(S(D("-0.7").truncated()), "0");
    EXPECT_EQ(S(-Decimal(0)), "0");
}

// ---------------------------------------------------------------------------
// Named examples.

TEST(DecimalArithmetic, Examples) {
    EXPECT_EQ(S(Decimal(1) / Decimal(3)), "0.3333333333333333333333333333");
    EXPECT_EQ(S(Decimal(2) / Decimal(3)), "0.6666666666666666666666666667");
    EXPECT_EQ(S(D("0.1") + D("0.2")), "0.3");
    EXPECT_EQ(S(Decimal(10) / Decimal(4)), "2.5");
    EXPECT_EQ(S(D("1E-28") / Decimal(2)), "0");
    EXPECT_EQ(S(D("3E-28") / Decimal(2)), "0.0000000000000000000000000002");
    EXPECT_EQ(S(D("1E-14") * D("1E-14")), "0.0000000000000000000000000001");
    EXPECT_EQ(S(D("1E-14") * D("1E-15")), "0");
    EXPECT_EQ(S(D("-7") / D("0.5")), "-14");
    EXPECT_EQ(S(Decimal(1) / D("1E-28")), "10000000000000000000000000000");
    EXPECT_EQ(S(Decimal::max() / Decimal::max()), "1");
    EXPECT_EQ(S(Decimal::max() - D("0.5")), "79228162514264337593543950334");
    EXPECT_THROW(Decimal::max() + D("0.5"), DecimalError);
    EXPECT_THROW(Decimal::max() / D("0.5"), DecimalError);
    EXPECT_THROW(Decimal::max() / D("0.9999999999999999999999999999"), DecimalError);
    EXPECT_THROW(Decimal::max() * D("1.0000000000000000000000000001"), DecimalError);
    // Rounds up to 2^96 at scale 1, so one digit less is kept; at scale 0 it overflows.
    EXPECT_EQ(S(D("55459713759985036315480765235") / Decimal(7)), "7922816251426433759354395034");
    EXPECT_THROW(D("-55459713759985036315480765235") / D("0.7"), DecimalError);
    EXPECT_THROW(Decimal(1) / Decimal(0), DecimalError);
    EXPECT_THROW(Decimal(0) / Decimal::fromParts(0, 5, true), DecimalError);
}

}  // namespace
}  // namespace hc
