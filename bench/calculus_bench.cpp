// Integrals, derivatives and roots of formulas at the calculator's full precision.

#include <benchmark/benchmark.h>

#include "engine/calc_settings.h"
#include "tools/calculus.h"

namespace {

// Smooth integrands that converge to twenty digits and more.
void BM_IntegralSmooth(benchmark::State& state) {
    const char* const formulas[] = {"ε^x", "sin(x)^2", "1/(1+x*x)", "x^3*ε^x"};
    const QString f = QString::fromUtf8(formulas[state.range(0)]);
    const hc::CalcSettings settings;
    int evaluations = 0;
    for (auto _ : state) {
        const hc::CalculusResult r =
            hc::integrate(f, QStringLiteral("0"), QStringLiteral("1"), settings);
        evaluations = r.evaluations;
        benchmark::DoNotOptimize(r.value);
    }
    state.counters["samples"] = evaluations;
}
BENCHMARK(BM_IntegralSmooth)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

void BM_IntegralEndpointSingularity(benchmark::State& state) {
    const hc::CalcSettings settings;
    for (auto _ : state)
        benchmark::DoNotOptimize(hc::integrate(QStringLiteral("ln(x)"), QStringLiteral("0"),
                                               QStringLiteral("1"), settings)
                                     .value);
}
BENCHMARK(BM_IntegralEndpointSingularity)->Unit(benchmark::kMillisecond);

// Integrands infinite at a bound or with a power-law tail, whose piece beyond the last
// sample comes from a model of the end fitted to samples at whole decades.
void BM_IntegralEndModel(benchmark::State& state) {
    const char* const cases[][3] = {
        {"1/x^0.5", "0", "1"}, {"x^-0.3*ε^x", "0", "1"}, {"x^-1.5", "1", "inf"}};
    const auto& c = cases[state.range(0)];
    const hc::CalcSettings settings;
    int evaluations = 0;
    for (auto _ : state) {
        const hc::CalculusResult r = hc::integrate(QString::fromUtf8(c[0]), QString::fromUtf8(c[1]),
                                                   QString::fromUtf8(c[2]), settings);
        evaluations = r.evaluations;
        benchmark::DoNotOptimize(r.value);
    }
    state.counters["samples"] = evaluations;
}
BENCHMARK(BM_IntegralEndModel)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void BM_Derivative(benchmark::State& state) {
    const hc::CalcSettings settings;
    for (auto _ : state)
        benchmark::DoNotOptimize(hc::derive(QStringLiteral("sin(x)*ε^x"), QStringLiteral("0.7"),
                                            int(state.range(0)), settings)
                                     .value);
}
BENCHMARK(BM_Derivative)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void BM_Root(benchmark::State& state) {
    const hc::CalcSettings settings;
    for (auto _ : state)
        benchmark::DoNotOptimize(hc::findRoot(QStringLiteral("cos(x)-x"), QStringLiteral("0"),
                                              QStringLiteral("1"), settings)
                                     .value);
}
BENCHMARK(BM_Root)->Unit(benchmark::kMicrosecond);

}  // namespace
