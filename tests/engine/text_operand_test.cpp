// Reading operand texts: ZelShuZhuanShu on a text (as a value and as a view) against
// the reading that always asks for the text's double first. Same kind, value,
// coefficient and scale, and the same log, for random texts of every size.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "engine/calc_log.h"
#include "engine/number_reader.h"
#include "engine/number_routines.h"
#include "engine/rounding.h"
#include "engine/text_trim.h"

namespace hc {
namespace {

// The reading with the double first, as the reader was first written.
Num doubleFirstReading(const QString& text) {
    try {
        const QStringView t = trimSpaces(QStringView(text));
        if (t.isEmpty()) return Num::ofDecimal(Decimal());
        const NumberTextReader reader(t);
        double d = 0;
        if (!reader.toDouble(d)) throw DecimalError("not a number");
        const double m = std::fabs(d);
        if (!(d == 0 || (m >= 1E-28 && m < 7.92281625142642E+28))) {
            calcLog().limitTo(15);
            return Num::ofDouble(d);
        }
        Decimal v;
        if (!reader.toDecimal(v)) throw DecimalError("not a number");
        if (d != 0 && m < 1E-13 && ZelYouXiao109ChangDu(Num::ofDouble(d)) > significantDigits(v)) {
            calcLog().limitTo(15);
            return Num::ofDouble(d);
        }
        return Num::ofDecimal(v);
    } catch (...) {
    }
    calcLog().report(QStringLiteral("  进行[Zel数转数]运算时， ") + trimSpaces(text) +
                     QStringLiteral(" 数值超出计算范围，我无法计算！返回数值用[空值]表示。"));
    return Num::failure(QStringLiteral("0"));
}

struct Outcome {
    Num value;
    int errors = 0;
    QString errorLog;
    int precision = 29;
};

template <typename Read>
Outcome run(Read read) {
    ScopedCalcLog scope;
    Outcome o;
    o.value = read();
    o.errors = scope.log().errorCount;
    o.errorLog = scope.log().errorLog;
    o.precision = scope.log().precisionLimit;
    return o;
}

bool same(const Outcome& a, const Outcome& b) {
    if (a.value.kind() != b.value.kind() || a.value.isFailure() != b.value.isFailure() ||
        a.value.text() != b.value.text() || a.errors != b.errors || a.errorLog != b.errorLog ||
        a.precision != b.precision)
        return false;
    if (a.value.isDouble()) return std::signbit(a.value.dbl()) == std::signbit(b.value.dbl());
    if (!a.value.isDecimal()) return true;
    const Decimal &x = a.value.decimal(), &y = b.value.decimal();
    return x.coefficient() == y.coefficient() && x.scale() == y.scale() &&
           x.isNegative() == y.isNegative();
}

class TextOperandTest : public ::testing::Test {
protected:
    std::mt19937_64 rng{1213};
    int differences = 0;

    int uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

    void check(const QString& text) {
        if (differences >= 5) return;
        const Outcome expected = run([&] { return doubleFirstReading(text); });
        const Outcome asValue = run([&] { return ZelShuZhuanShu(Num::ofText(text)); });
        const Outcome asView = run([&] { return ZelShuZhuanShu(QStringView(text)); });
        if (!same(asValue, expected) || !same(asView, expected)) {
            ++differences;
            ADD_FAILURE() << "\"" << text.toStdString() << "\" gave "
                          << asValue.value.text().toStdString() << " and "
                          << asView.value.text().toStdString() << " (precision "
                          << asValue.precision << "), double first "
                          << expected.value.text().toStdString() << " (precision "
                          << expected.precision << ")";
        }
    }

    std::string digits(int n) {
        std::string s;
        for (int i = 0; i < n; ++i) s += char('0' + uniform(0, 9));
        return s;
    }
};

TEST_F(TextOperandTest, NumbersOfEverySize) {
    for (int i = 0; i < 200000; ++i) {
        std::string s = uniform(0, 3) == 0 ? "-" : uniform(0, 5) == 0 ? "+" : "";
        s += digits(uniform(0, 32));
        if (uniform(0, 1)) s += "." + digits(uniform(0, 34));
        if (s.find_first_of("0123456789") == std::string::npos) s += "7";
        if (uniform(0, 5) == 0) s += (uniform(0, 1) ? "E" : "e") + std::to_string(uniform(-45, 45));
        if (uniform(0, 9) == 0) s = "  " + s + " ";
        check(QString::fromStdString(s));
    }
}

// Around the edges where the text needs its double: 1E-13 ... 1E-11 and 7E+28 ... 8E+28.
TEST_F(TextOperandTest, EdgesOfThePlainDecimals) {
    for (int i = 0; i < 100000; ++i) {
        std::string s = uniform(0, 1) ? "-" : "";
        switch (uniform(0, 2)) {
            case 0:
                s += "0." + std::string(static_cast<std::size_t>(uniform(10, 13)), '0') +
                     digits(uniform(1, 25));
                break;
            case 1:
                s += std::to_string(uniform(69, 80)) + digits(27) +
                     (uniform(0, 1) ? "." + digits(uniform(1, 3)) : "");
                break;
            default:
                s += digits(1) + "." + digits(uniform(0, 30)) + "E" +
                     std::to_string(uniform(0, 1) ? uniform(-30, -10) : uniform(26, 30));
                break;
        }
        check(QString::fromStdString(s));
    }
}

TEST_F(TextOperandTest, BlankAndNoNumbers) {
    for (const char* t : {"",       " ",        "   ",
                          "abc",    "1.2.3",    "--5",
                          "1e",     "e5",       ".",
                          "-",      "1E+99999", "1E-99999",
                          "0",      "-0",       "0.000",
                          "  12  ", "１２",     "12,5",
                          "0x10",   "7E+28",    "7.9228162514264337593543950335E+28",
                          "1E-12",  "1E-13"})
        check(QString::fromUtf8(t));
}

}  // namespace
}  // namespace hc
