// The statistics command against an exact model: rational sums, means and
// variances (GMP), square roots taken on integers scaled by 10^40.

#include <gmpxx.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "tools/statistics_command.h"

namespace hc {
namespace {

constexpr int kDecimals = 15;

mpz_class pow10(unsigned long n) {
    mpz_class r;
    mpz_ui_pow_ui(r.get_mpz_t(), 10, n);
    return r;
}

// A plain decimal text ("-12.5", "3") as an exact rational.
mpq_class parseDecimal(const std::string& text) {
    std::string digits;
    bool negative = false;
    long fraction = -1;
    for (char c : text) {
        if (c == '-')
            negative = true;
        else if (c == '.')
            fraction = 0;
        else {
            digits += c;
            if (fraction >= 0) ++fraction;
        }
    }
    mpq_class q(mpz_class(digits, 10),
                pow10(fraction < 0 ? 0 : static_cast<unsigned long>(fraction)));
    q.canonicalize();
    return negative ? mpq_class(-q) : q;
}

// x rounded half away from zero to `places` decimals, as canonical text.
std::string roundedText(const mpq_class& x, unsigned long places) {
    const mpq_class scaled = abs(x) * pow10(places) + mpq_class(1, 2);
    mpz_class r = scaled.get_num() / scaled.get_den();
    if (r == 0) return "0";
    std::string s = r.get_str();
    if (s.size() <= places) s.insert(0, places + 1 - s.size(), '0');
    s.insert(s.size() - places, ".");
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    return (x < 0 ? "-" : "") + s;
}

// sqrt(x) for x >= 0, good to about 1E-40.
mpq_class squareRoot(const mpq_class& x) {
    const mpz_class scaled = x.get_num() * pow10(80) / x.get_den();
    mpz_class root;
    mpz_sqrt(root.get_mpz_t(), scaled.get_mpz_t());
    return mpq_class(root, pow10(40));
}

struct Tally {
    int checked = 0;
    int differing = 0;      // shown value not the exact rounding, inside the error bound
    mpq_class largest = 0;  // largest such difference
    std::string example;
};

// The shown text equals the exact value rounded to 15 decimals, or differs from the
// exact value by no more than that rounding plus `bound`, the error of the 28-digit
// arithmetic.
void expectClose(const std::string& what, const std::string& shown, const mpq_class& exact,
                 const mpq_class& bound, Tally& tally) {
    ++tally.checked;
    const std::string want = roundedText(exact, kDecimals);
    if (shown == want) return;
    const bool plain =
        !shown.empty() && shown.find_first_not_of("-.0123456789") == std::string::npos;
    ASSERT_TRUE(plain) << what << ": shown \"" << shown << "\", exact rounds to " << want;
    const mpq_class diff = abs(parseDecimal(shown) - exact);
    EXPECT_LE(diff, mpq_class(1, 2) / pow10(kDecimals) + bound)
        << what << ": shown " << shown << ", exact rounds to " << want;
    ++tally.differing;
    if (diff > tally.largest) {
        tally.largest = diff;
        tally.example = what + ": " + shown + " for " + want;
    }
}

TEST(StatisticsModel, RandomTablesMatchExactArithmetic) {
    std::mt19937_64 rng(20260613);
    Tally tallies[5];
    const int tables = 2000;
    for (int t = 0; t < tables; ++t) {
        const int lines = 1 + static_cast<int>(rng() % 40);
        const int maxDigits = 1 + static_cast<int>(rng() % 7);  // integer digits
        std::vector<std::vector<std::string>> cols(kStatColumns);
        QString data;
        for (int i = 0; i < lines; ++i) {
            QString line;
            for (int c = 0; c < kStatColumns; ++c) {
                std::string v;
                if (rng() % 10 != 0) {
                    // Column 4 repeats one value often, so that some spreads are 0.
                    const long long ip =
                        (c == 3 && rng() % 2)
                            ? 7
                            : static_cast<long long>(rng() % pow10(maxDigits).get_ui());
                    const int places = static_cast<int>(rng() % 7);
                    v = std::to_string(ip);
                    if (places > 0) {
                        std::string f = std::to_string(rng() % pow10(places).get_ui());
                        f.insert(0, places - f.size(), '0');
                        v += "." + f;
                    }
                    if (rng() % 3 == 0 && parseDecimal(v) != 0) v = "-" + v;
                    cols[c].push_back(v);
                }
                if (c > 0) line += u'*';
                line += QString::fromStdString(v);
            }
            data += line + QStringLiteral("\r\n");
        }
        const StatsRun run = runStatistics(data, QStringLiteral("*"), QStringLiteral("0"));

        for (int c = 0; c < kStatColumns; ++c) {
            const auto& vs = cols[c];
            const std::string where =
                "table " + std::to_string(t) + " column " + std::to_string(c + 1);
            auto shown = [&](int row) { return run.cells[row][c].toStdString(); };
            if (vs.empty()) {
                for (int r = 0; r < kStatRows; ++r) EXPECT_EQ(shown(r), " ") << where;
                continue;
            }
            const long n = static_cast<long>(vs.size());
            mpq_class sum = 0, mn = parseDecimal(vs[0]), mx = mn;
            for (const auto& v : vs) {
                const mpq_class x = parseDecimal(v);
                sum += x;
                if (x < mn) mn = x;
                if (x > mx) mx = x;
            }
            const mpq_class mean = sum / n;
            mpq_class s = 0;
            for (const auto& v : vs) {
                const mpq_class d = parseDecimal(v) - mean;
                s += d * d;
            }
            ASSERT_EQ(shown(0), std::to_string(n)) << where;
            EXPECT_EQ(shown(1), roundedText(mn, kDecimals)) << where;
            EXPECT_EQ(shown(2), roundedText(mx, kDecimals)) << where;
            EXPECT_EQ(shown(3), roundedText(mean, kDecimals)) << where;
            EXPECT_EQ(shown(4), roundedText(sum, kDecimals)) << where;

            const mpq_class var = n > 1 ? mpq_class(s / (n - 1)) : mpq_class(0);
            const mpq_class varN = s / n;
            const mpq_class sd = squareRoot(var), sdn = squareRoot(varN);
            // Error of each result in 28-significant-digit steps: the deviations are
            // taken from a mean good to 28 digits, every product and quotient is rounded
            // to 28 digits; a generous factor of ten over one unit of the 28th digit.
            const mpq_class unit = mpq_class(1, pow10(26));
            const mpq_class eSd = (abs(sd) + abs(mean)) * unit;
            const mpq_class eSdn = (abs(sdn) + abs(mean)) * unit;
            expectClose(where + " SD", shown(5), sd, eSd, tallies[0]);
            expectClose(where + " variance", shown(6), var, 2 * abs(sd) * eSd + abs(var) * unit,
                        tallies[1]);
            expectClose(where + " variance n", shown(8), varN,
                        2 * abs(sdn) * eSdn + abs(varN) * unit, tallies[3]);
            if (mean == 0) {
                const char* limit = "10000000000000000000000000000";  // 1E+28
                EXPECT_EQ(shown(7), s == 0 ? "0" : limit) << where;
                EXPECT_EQ(shown(9), s == 0 ? "0" : limit) << where;
                continue;
            }
            const mpq_class cv = sd / mean, cvn = sdn / mean;
            expectClose(where + " coefficient", shown(7), cv, eSd / abs(mean) + abs(cv) * unit,
                        tallies[2]);
            expectClose(where + " coefficient n", shown(9), cvn, eSdn / abs(mean) + abs(cvn) * unit,
                        tallies[4]);
        }
    }
    const char* names[5] = {"SD", "variance", "coefficient", "variance n", "coefficient n"};
    for (int i = 0; i < 5; ++i) {
        const Tally& t = tallies[i];
        std::printf("%-13s %6d checked, %5d not the exact rounding, largest difference %.3g",
                    names[i], t.checked, t.differing, t.largest.get_d());
        if (!t.example.empty()) std::printf("  (%s)", t.example.c_str());
        std::printf("\n");
    }
}

}  // namespace
}  // namespace hc
