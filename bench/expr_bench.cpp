// The calculate command on the eighteen history examples, one by one and as a set.

#include <benchmark/benchmark.h>

#include <array>

#include "engine/calc_settings.h"
#include "expr/calculate.h"

namespace {

struct Example {
    const char* formula;
    hc::AngleUnit unit;
};

const std::array<Example, 18> kExamples{{
    {"示例  -1。115671/-5.0432123478加3。33123-4。444+(-5。53456*-2.0123456+8。8880123)\\-3.3456",
     hc::kRadians},
    {"示例  -1。123^3-(4。4441-5。5554%)^-8。8881-3.7!/567.37143", hc::kRadians},
    {"示例  -1-2.0034521除3.0023417+33-44", hc::kRadians},
    {"示例  -3+（1乘2-1）除4-sin-45.595999+(cos-45.595999-tan-45.595999)*5+cot-45.595999/3",
     hc::kPackedDms},
    {"示例  arcsin(-0.456789321)+arccos(-0.123456789)-arctan(-1.456789321)+arccot(-2.234567891)",
     hc::kDecimalDegrees},
    {"示例  sh ( +2.0123 ) +sh ( -2 ) +ch ( -2.1 ) -th ( -2.34 ) -cth ( -1.234 ) ", hc::kRadians},
    {"示例   sec ( 23.45599 ) -csc ( 34.595987 ) -arcsec ( -2.0123 ) +arccsc ( -3.016789 ) ",
     hc::kPackedDms},
    {"示例   ( lg ( 6.234 )  / lg ( 0.24531231 )  ) -ln ( 1.3456317 ) +lg ( 6.345210 ) ",
     hc::kRadians},
    {"示例  sin(45.555555)+cos(145.555555)-tan(45.555555555)-cot(-45.555555555)", hc::kPackedDms},
    {"示例  -0。11 加  [ 2.2 - 3。3 ]  乘以 -2 _  ( 5.5 - 6.6 + 7.7 )  除 -9 ", hc::kRadians},
    {"示例  -23.123e25*5 + "
     "1.23456e12*1.2e1-1.111111111111111111122222222222222222222333333333e3/12345",
     hc::kRadians},
    {"示例  12.234e12*45^3.00012+2.1234321e134/987654321^1.001", hc::kRadians},
    {"示例  计算直角三角型的弦长  （r^2 + s^2) ^ 0.5", hc::kRadians},
    {"示例  计算圆的面积  π* r^2 ", hc::kRadians},
    {"示例  计算球的体积  4/3 * π * r^3 ", hc::kRadians},
    {"示例  计算圆锥的体积  1/3 * π * r^2 * t ", hc::kRadians},
    {"示例采用弧度制 ( 0.000000005 + 0.00000006 - 123.0004567 )  * 0.00012345 / 167.234567 \\ "
     "234.12 *  ( 1 / "
     "0.00123 ) % + 12! - 0.234 ^ 1.01765 ^ 9 ^  ( 1 / 2 )  ^  ( 1 / 3 )  ^  ( 1 / 7 ) -sin ( "
     "1.5959 )  * cos ( "
     "0.5959 ) +tan ( 1.5969) -cot ( 3.5856543 ) + π - ε - 1e-28 ",
     hc::kRadians},
    {"示例   r * s * t * u * v * w * x * y * z ", hc::kRadians},
}};

hc::CalcSettings wideSettings() {
    hc::CalcSettings s;
    s.displayDecimals = 28;
    return s;
}

void BM_HistoryExample(benchmark::State& state) {
    hc::CalcSettings settings = wideSettings();
    const Example& e = kExamples[std::size_t(state.range(0)) - 1];
    const QString formula = QString::fromUtf8(e.formula);
    settings.angleUnit = e.unit;
    for (auto _ : state) benchmark::DoNotOptimize(hc::ZelJiSuanSuanShi(formula, settings));
}
BENCHMARK(BM_HistoryExample)->DenseRange(1, 18)->Unit(benchmark::kMicrosecond);

void BM_HistorySet(benchmark::State& state) {
    hc::CalcSettings settings = wideSettings();
    std::array<QString, 18> formulas;
    for (std::size_t i = 0; i < kExamples.size(); ++i)
        formulas[i] = QString::fromUtf8(kExamples[i].formula);
    for (auto _ : state) {
        for (std::size_t i = 0; i < kExamples.size(); ++i) {
            settings.angleUnit = kExamples[i].unit;
            benchmark::DoNotOptimize(hc::ZelJiSuanSuanShi(formulas[i], settings));
        }
    }
}
BENCHMARK(BM_HistorySet)->Unit(benchmark::kMillisecond);

// A formula of 10,000 characters, to keep the text rewriting linear enough.
void BM_LongSum(benchmark::State& state) {
    const hc::CalcSettings settings = wideSettings();
    const QString formula = QStringLiteral("1+").repeated(5000) + u'1';
    for (auto _ : state) benchmark::DoNotOptimize(hc::ZelJiSuanSuanShi(formula, settings));
}
BENCHMARK(BM_LongSum)->Unit(benchmark::kMillisecond);

}  // namespace
