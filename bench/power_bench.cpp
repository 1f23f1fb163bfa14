#include <benchmark/benchmark.h>

#include <string>

#include "engine/functions.h"
#include "engine/number.h"
#include "engine/power.h"

namespace {

using hc::Num;

// x^n for n = 10^m with x = 1 + 10^-m, so that the result stays near e.
void BM_PowerNearOne(benchmark::State& state) {
    const int m = static_cast<int>(state.range(0));
    const Num base = Num::ofText(QStringLiteral("1.") + QString(m - 1, u'0') + u'1');
    const Num exponent = Num::ofText(QStringLiteral("1") + QString(m, u'0'));
    hc::ZelChongZhi();
    for (auto _ : state) benchmark::DoNotOptimize(hc::ZelChengFang(base, exponent));
    if (hc::calcLog().errorCount != 0) state.SkipWithError("power failed");
}
BENCHMARK(BM_PowerNearOne)->DenseRange(1, 27, 1)->Unit(benchmark::kMicrosecond);

// The step-by-step loop: few passes for most exponents, about half the exponent
// for some (2^m - 2 ...); beyond a million passes repeated squaring takes over.
void BM_PowerLoop(benchmark::State& state) {
    const Num base = Num::ofText(QStringLiteral("1.0000001"));
    const Num exponent = Num::ofInt(static_cast<int>(state.range(0)));
    hc::ZelChongZhi();
    for (auto _ : state) benchmark::DoNotOptimize(hc::ZelChengFang(base, exponent));
    if (hc::calcLog().errorCount != 0) state.SkipWithError("power failed");
}
BENCHMARK(BM_PowerLoop)
    ->Arg(1000000)  // 68 passes
    ->Arg(524286)   // 262 155 passes
    ->Arg(4194297)  // 524 324 passes, the most below the limit
    ->Arg(2097150)  // 1 048 595 passes: squaring
    ->Unit(benchmark::kMillisecond);

void BM_PowerTypical(benchmark::State& state) {
    static const char* const cases[][2] = {{"2", "0.5"},   {"8", "0.3333333333333333333333333333"},
                                           {"2", "10"},    {"1.05", "30"},
                                           {"10", "0.75"}, {"3.7", "-2.5"},
                                           {"10", "40"}};
    const auto& c = cases[state.range(0)];
    const Num a = Num::ofText(c[0]), b = Num::ofText(c[1]);
    state.SetLabel(std::string(c[0]) + "^" + c[1]);
    for (auto _ : state) benchmark::DoNotOptimize(hc::ZelChengFang(a, b));
}
BENCHMARK(BM_PowerTypical)->DenseRange(0, 6, 1)->Unit(benchmark::kMicrosecond);

void BM_Functions(benchmark::State& state) {
    using F = Num (*)(const Num&);
    static const F functions[] = {hc::ZelSin, hc::ZelCos, hc::ZelTan, hc::ZelSh,
                                  hc::ZelKaiPingFang};
    static const char* const names[] = {"sin", "cos", "tan", "sh", "sqrt"};
    const int i = static_cast<int>(state.range(0));
    const Num x = Num::ofInt(1);
    state.SetLabel(names[i] + std::string("(1)"));
    for (auto _ : state) benchmark::DoNotOptimize(functions[i](x));
}
BENCHMARK(BM_Functions)->DenseRange(0, 4, 1)->Unit(benchmark::kMicrosecond);

}  // namespace
