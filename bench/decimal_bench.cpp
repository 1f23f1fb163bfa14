#include <benchmark/benchmark.h>

#include <vector>

#include "engine/decimal.h"

namespace {

using hc::Decimal;

Decimal D(const char* s) { return Decimal::fromText(QString::fromLatin1(s)); }

struct Operands {
    std::vector<Decimal> a, b;
};

// Pairs of operands of one kind; the benchmarks walk through them in turn.
Operands operands(int kind) {
    switch (kind) {
        case 0:  // small integers
            return {{D("12"), D("345"), D("7"), D("-86")}, {D("3"), D("-17"), D("250"), D("9")}};
        case 1:  // 28-digit fractions
            return {{D("0.3333333333333333333333333333"), D("0.1415926535897932384626433833"),
                     D("-0.7071067811865475244008443621"), D("0.5772156649015328606065120901")},
                    {D("0.6666666666666666666666666667"), D("0.7182818284590452353602874714"),
                     D("0.4142135623730950488016887242"), D("-0.3010299956639811952137388947")}};
        default:  // mixed scales, as from typed formulas
            return {{D("123.45"), D("3.1415926535897932384626433833"), D("-0.0025"), D("86400")},
                    {D("0.001"), D("2.5"), D("180"), D("1.0000000001")}};
    }
}

const char* kindName(int kind) {
    return kind == 0 ? "small_integers" : (kind == 1 ? "fractions28" : "mixed_scales");
}

template <typename Op>
void runBinary(benchmark::State& state, Op op) {
    const Operands ops = operands(static_cast<int>(state.range(0)));
    state.SetLabel(kindName(static_cast<int>(state.range(0))));
    size_t i = 0;
    for (auto _ : state) {
        const Decimal& a = ops.a[i & 3];
        const Decimal& b = ops.b[i & 3];
        benchmark::DoNotOptimize(op(a, b));
        ++i;
    }
}

void BM_Add(benchmark::State& s) {
    runBinary(s, [](const Decimal& a, const Decimal& b) { return a + b; });
}
void BM_Sub(benchmark::State& s) {
    runBinary(s, [](const Decimal& a, const Decimal& b) { return a - b; });
}
void BM_Mul(benchmark::State& s) {
    runBinary(s, [](const Decimal& a, const Decimal& b) { return a * b; });
}
void BM_Div(benchmark::State& s) {
    runBinary(s, [](const Decimal& a, const Decimal& b) { return a / b; });
}
void BM_Compare(benchmark::State& s) {
    runBinary(s, [](const Decimal& a, const Decimal& b) { return a < b; });
}
BENCHMARK(BM_Add)->DenseRange(0, 2);
BENCHMARK(BM_Sub)->DenseRange(0, 2);
BENCHMARK(BM_Mul)->DenseRange(0, 2);
BENCHMARK(BM_Div)->DenseRange(0, 2);
BENCHMARK(BM_Compare)->DenseRange(0, 2);

const QString kTexts[] = {QStringLiteral("3.1415926535897932384626433833"),
                          QStringLiteral("-123.45"), QStringLiteral("86400"),
                          QStringLiteral("1.5E-20")};

void BM_FromText(benchmark::State& state) {
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(Decimal::fromText(kTexts[i & 3]));
        ++i;
    }
}
BENCHMARK(BM_FromText);

void BM_ToString(benchmark::State& state) {
    const Decimal values[] = {D("3.1415926535897932384626433833"), D("-123.45"), D("86400"),
                              D("1.5E-20")};
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(values[i & 3].toString());
        ++i;
    }
}
BENCHMARK(BM_ToString);

void BM_FromDouble(benchmark::State& state) {
    const double values[] = {3.141592653589793, -123.45, 86400.0, 1.5e-20};
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(Decimal::fromDouble(values[i & 3]));
        ++i;
    }
}
BENCHMARK(BM_FromDouble);

void BM_ToDouble(benchmark::State& state) {
    const Decimal values[] = {D("3.1415926535897932384626433833"), D("-123.45"), D("86400"),
                              D("1.5E-20")};
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(values[i & 3].toDouble());
        ++i;
    }
}
BENCHMARK(BM_ToDouble);

// Reading a 10,000-digit text.
void BM_FromLongText(benchmark::State& state) {
    const QString text = QStringLiteral("0.") + QString(10000, QLatin1Char('3'));
    for (auto _ : state) benchmark::DoNotOptimize(Decimal::fromText(text));
}
BENCHMARK(BM_FromLongText);

}  // namespace
