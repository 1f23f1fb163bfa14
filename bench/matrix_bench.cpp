#include <benchmark/benchmark.h>

#include <QString>
#include <random>

#include "tools/linear_system.h"
#include "tools/matrix_ops.h"

namespace hc {
namespace {

// An n x (n + 1) augmented matrix of 10-digit decimals (five places), as typed text.
QString tenDigitSystem(int n) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<long long> digits(1000000000LL, 9999999999LL);
    std::bernoulli_distribution negative(0.5);
    QString text;
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j <= n; ++j) {
            const long long d = digits(rng);
            text += QStringLiteral("%1%2.%3 ")
                        .arg(negative(rng) ? QStringLiteral("-") : QString())
                        .arg(d / 100000)
                        .arg(d % 100000, 5, 10, QChar(u'0'));
        }
        text += u'\n';
    }
    return text;
}

// The whole solve command: reading the cells, exact elimination, the answer's text.
void BM_SolveCommand(benchmark::State& state) {
    const QString text = tenDigitSystem(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        SolveRun run = runSolve(text, {}, CalcSettings{}, ValueStyle{});
        if (run.failed || !run.output.startsWith(QStringLiteral("唯一解")))
            state.SkipWithError("the system was not solved");
        benchmark::DoNotOptimize(run);
    }
}
BENCHMARK(BM_SolveCommand)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);

// The exact elimination alone.
void BM_SolveExact(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const SystemReading r = readLinearSystem(tenDigitSystem(n), {}, CalcSettings{});
    for (auto _ : state) {
        Solution s = solveLinearSystem(r.system.a, r.system.b);
        benchmark::DoNotOptimize(s);
    }
}
BENCHMARK(BM_SolveExact)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);

// Inverse of a 50 x 50 of the same kind of numbers.
void BM_Inverse(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const SystemReading r = readLinearSystem(tenDigitSystem(n), {}, CalcSettings{});
    for (auto _ : state) {
        auto inv = inverse(r.system.a);
        benchmark::DoNotOptimize(inv);
    }
}
BENCHMARK(BM_Inverse)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace hc
