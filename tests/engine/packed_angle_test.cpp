// The conversion of decimal degrees to packed degrees-minutes-seconds against its
// text-route reference: the same value, coefficient, scale and sign, the same kind
// of result and the same log, on random values of every shape the routine meets.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <string>

#include "engine/angle.h"
#include "engine/calc_log.h"
#include "engine/number_routines.h"
#include "tests/engine/reference_angle.h"

namespace hc {
namespace {

using u128 = Decimal::u128;

u128 pow10(int n) {
    u128 p = 1;
    while (n-- > 0) p *= 10;
    return p;
}

// What one call leaves behind: the result and the log it wrote.
struct Outcome {
    Num value;
    int errors = 0;
    QString errorLog;
    int precision = 29;
    int notices = 0;
};

Outcome run(const std::function<Num(const Num&)>& f, const Num& x) {
    ScopedCalcLog scope;
    Outcome o;
    o.value = f(x);
    o.errors = scope.log().errorCount;
    o.errorLog = scope.log().errorLog;
    o.precision = scope.log().precisionLimit;
    o.notices = static_cast<int>(scope.log().notices.size());
    return o;
}

std::string describe(const Num& v) {
    std::string s = v.text().toStdString();
    if (v.isDecimal()) {
        s += " (scale " + std::to_string(v.decimal().scale()) +
             (v.decimal().isNegative() ? ", negative)" : ")");
    } else {
        s += v.isFailure() ? " (failure)" : v.isDouble() ? " (double)" : " (text)";
    }
    return s;
}

class PackedAngleTest : public ::testing::Test {
protected:
    std::mt19937_64 rng{20261210};

    u128 below(u128 n) {
        const u128 r = (u128(rng()) << 64) | rng();
        return r % n;
    }
    int uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
    bool coin() { return rng() & 1; }

    // Compares one input; true when the results agree in every respect.
    bool same(const Num& x) {
        const Outcome fast = run(ZelTiDuZhuanDu, x);
        const Outcome literal = run(reference::ZelTiDuZhuanDu, x);
        const Num& a = fast.value;
        const Num& b = literal.value;
        bool ok = a.kind() == b.kind() && a.isFailure() == b.isFailure() && a.text() == b.text() &&
                  fast.errors == literal.errors && fast.errorLog == literal.errorLog &&
                  fast.precision == literal.precision && fast.notices == literal.notices;
        if (ok && a.isDecimal()) {
            ok = a.decimal().coefficient() == b.decimal().coefficient() &&
                 a.decimal().scale() == b.decimal().scale() &&
                 a.decimal().isNegative() == b.decimal().isNegative();
        }
        EXPECT_TRUE(ok) << "input " << describe(x) << ": gave " << describe(a) << ", text route "
                        << describe(b);
        return ok;
    }

    // Runs `count` inputs from `make`; stops early after a few differences.
    void compare(int count, const std::function<Num()>& make) {
        int differences = 0;
        for (int i = 0; i < count && differences < 5; ++i)
            if (!same(make())) ++differences;
    }

    Num decimal(u128 coefficient, int scale, bool negative) {
        return Num::ofDecimal(Decimal::fromParts(coefficient, scale, negative));
    }
};

TEST_F(PackedAngleTest, AnyCoefficientAndScale) {
    const u128 limit = u128(1) << 96;
    compare(100000, [&] {
        // Coefficients of every length, from one digit to the full 96 bits.
        const u128 c = below(uniform(0, 1) ? limit : std::min(pow10(uniform(1, 29)), limit));
        return decimal(c, uniform(0, 28), coin());
    });
}

TEST_F(PackedAngleTest, AnglesOfASurveyWithSixDecimals) {
    compare(50000, [&] {
        const u128 c = below(u128(360) * 1000000);
        return decimal(c, 6, coin());
    });
}

// Seconds a hair below or above a whole second, minute or degree: the rounding to 24
// places and the carries into the minutes and degrees.
TEST_F(PackedAngleTest, CarriesOfSecondsMinutesAndDegrees) {
    int carried = 0;
    compare(100000, [&] {
        const int degrees = uniform(0, 2) == 0 ? 0 : uniform(0, 400);
        const int minutes = uniform(0, 59);
        // A whole second count from 1 to 3600 seconds, so 60 seconds and 60 minutes too.
        const int seconds = uniform(0, 3) == 0 ? 3600 : minutes * 60 + uniform(1, 60);
        // 28 places leave room for 7 degrees only.
        const int scale = uniform(20, degrees < 7 ? 28 : 26);
        const u128 unit = pow10(scale);
        // degrees + seconds / 3600, cut at `scale` places, then nudged by a few units.
        u128 c = u128(degrees) * unit + u128(seconds) * unit / 3600;
        const int nudge = uniform(-3, 3) * (uniform(0, 1) ? 1 : int(pow10(uniform(0, 4))));
        c = nudge < 0 && u128(-nudge) > c ? 0 : c + nudge;
        const Num x = decimal(c, scale, coin());
        const Num p = reference::ZelTiDuZhuanDu(x);
        if (p.isDecimal() && p.decimal().abs() - x.decimal().abs().truncated() == Decimal(1))
            ++carried;
        return x;
    });
    // The family does reach the carry into the degrees.
    EXPECT_GT(carried, 0);
}

TEST_F(PackedAngleTest, TinyAndHugeValues) {
    const u128 limit = u128(1) << 96;
    compare(50000, [&] {
        switch (uniform(0, 3)) {
            case 0:  // a few units of 1E-28
                return decimal(below(1000) + 1, 28, coin());
            case 1:  // whole-number parts with as many digits as fit
                return decimal(limit - 1 - below(pow10(uniform(1, 28))), uniform(0, 4), coin());
            case 2:  // twenty-odd digits before the point and some after it
                return decimal(below(limit), uniform(1, 8), coin());
            default:  // doubles, which the reader turns into Decimals or keeps
                return Num::ofDouble(std::ldexp(double(rng() >> 11), uniform(-160, 60)) *
                                     (coin() ? 1 : -1));
        }
    });
}

TEST_F(PackedAngleTest, TextsIncludingNoNumbers) {
    const char* const fixed[] = {"",       " ",     "abc",     "12.5.5", "1E+30", "-1E-30",
                                 "  7.25", "-0.5 ", "+12.75",  ".5",     "-.5",   "5.",
                                 "1e5",    "1e-5",  "0.00000", "-0",     "NaN",   "１２"};
    for (const char* t : fixed) same(Num::ofText(QString::fromUtf8(t)));
    compare(20000, [&] {
        std::string s = coin() ? "-" : "";
        const int whole = uniform(0, 12), fraction = uniform(0, 30);
        for (int i = 0; i < whole; ++i) s += char('0' + uniform(0, 9));
        if (fraction > 0) s += '.';
        for (int i = 0; i < fraction; ++i) s += char('0' + uniform(0, 9));
        if (uniform(0, 9) == 0) s += "E" + std::to_string(uniform(-40, 40));
        return Num::ofText(QString::fromStdString(s));
    });
    same(Num::ofInt(-17));
    same(Num::failure(QStringLiteral("error")));
}

}  // namespace
}  // namespace hc
