// The calculate command on long formulas: a sum of ones, deeply nested brackets (around
// sums and around a lone number) and a mix of functions, full-width characters, "!", "%"
// and "\", at 10 kB to 10 MB (the largest size is set by HC_LONG_FORMULA_MAX, 1 MB by
// default); and a malformed formula that fails once per operator, at 1 kB to 30 kB.

#include <benchmark/benchmark.h>

#include <QString>

#include "engine/calc_settings.h"
#include "expr/calculate.h"

namespace {

// 1+1+...+1 of about n characters.
QString sumOfOnes(qsizetype n) {
    QString s;
    s.reserve(n + 2);
    s.append(u'1');
    while (s.size() + 2 <= n) s.append(QStringLiteral("+1"));
    return s;
}

// (1+(1+(...(1)...))) of about n characters.
QString nestedBrackets(qsizetype n) {
    const qsizetype levels = n / 4;
    QString s;
    s.reserve(4 * levels + 1);
    for (qsizetype i = 0; i < levels; ++i) s.append(QStringLiteral("(1+"));
    s.append(u'1');
    s.append(QString(levels, u')'));
    return s;
}

// ((...(1)...)) of about n characters.
QString bracketedOne(qsizetype n) {
    const qsizetype levels = (n - 1) / 2;
    return QString(levels, u'(') + u'1' + QString(levels, u')');
}

// A formula as a user pastes it: functions, full-width digits and brackets, Chinese
// operator words, "!", "%" and "\", repeated to about n characters.
QString realisticMix(qsizetype n) {
    const QString piece = QStringLiteral(
        "sin(30)+２×3!-50%\\7+（1.5-0.25）÷2+lg(100)*cos(0.5)-4!/24+ln(2.5)^2-12.5%+");
    QString s;
    s.reserve(n + piece.size());
    while (s.size() + piece.size() < n) s.append(piece);
    s.append(u'1');
    return s;
}

// "1.2.3%+1.2.3%+...": every "%" fails on its operand, and each failure quotes the whole
// working text in the status text, which therefore grows with the square of the length.
QString manyFailures(qsizetype n) {
    QString s;
    s.reserve(n + 8);
    while (s.size() + 7 < n) s.append(QStringLiteral("1.2.3%+"));
    s.append(u'1');
    return s;
}

template <QString (*Make)(qsizetype), bool kFails = false>
void BM_Long(benchmark::State& state) {
    const QString formula = Make(state.range(0));
    hc::CalcSettings settings;
    for (auto _ : state) {
        const hc::CalcResult r = hc::ZelJiSuanSuanShi(formula, settings);
        benchmark::DoNotOptimize(r.result);
        if (r.failed != kFails) state.SkipWithError("the formula failed or passed unexpectedly");
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void sizes(benchmark::internal::Benchmark* b) {
    const char* big = std::getenv("HC_LONG_FORMULA_MAX");
    const long max = big ? std::atol(big) : 1 << 20;
    for (long n : {10'000L, 100'000L, 1'000'000L, 10'000'000L})
        if (n <= max) b->Arg(n);
    b->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime()->Iterations(1);
}

BENCHMARK(BM_Long<sumOfOnes>)->Name("SumOfOnes")->Apply(sizes);
BENCHMARK(BM_Long<nestedBrackets>)->Name("NestedBrackets")->Apply(sizes);
BENCHMARK(BM_Long<bracketedOne>)->Name("BracketedOne")->Apply(sizes);
BENCHMARK(BM_Long<realisticMix>)->Name("RealisticMix")->Apply(sizes);
BENCHMARK(BM_Long<manyFailures, true>)
    ->Name("ManyFailures")
    ->Arg(1'000)
    ->Arg(10'000)
    ->Arg(30'000)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Iterations(1);

}  // namespace
