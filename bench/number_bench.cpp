#include <benchmark/benchmark.h>

#include "engine/arithmetic.h"
#include "engine/number.h"

namespace hc {
namespace {

const char* const kTexts[] = {"3.14", "-12345.678", "0.3333333333333333333333333333", "1.5E+30"};

void BM_ShuZhuanShu(benchmark::State& state) {
    const Num x = Num::ofText(QString::fromLatin1(kTexts[state.range(0)]));
    state.SetLabel(kTexts[state.range(0)]);
    for (auto _ : state) {
        Num r = ZelShuZhuanShu(x);
        benchmark::DoNotOptimize(r);
    }
    ZelChongZhi();
}
BENCHMARK(BM_ShuZhuanShu)->DenseRange(0, 3);

void BM_TextOfDecimal(benchmark::State& state) {
    const Num x = ZelShuZhuanShu(Num::ofText(QStringLiteral("-12345.678")));
    for (auto _ : state) {
        QString t = x.text();
        benchmark::DoNotOptimize(t);
    }
}
BENCHMARK(BM_TextOfDecimal);

void BM_TextOfLongDecimal(benchmark::State& state) {
    const Num x = ZelShuZhuanShu(Num::ofText(QStringLiteral("0.3333333333333333333333333333")));
    for (auto _ : state) {
        QString t = x.text();
        benchmark::DoNotOptimize(t);
    }
}
BENCHMARK(BM_TextOfLongDecimal);

void BM_TextOfDouble(benchmark::State& state) {
    const Num x = Num::ofDouble(1.5e30 / 7);
    for (auto _ : state) {
        QString t = x.text();
        benchmark::DoNotOptimize(t);
    }
}
BENCHMARK(BM_TextOfDouble);

using Routine = Num (*)(const Num&, const Num&);

template <Routine F>
void BM_TwoTexts(benchmark::State& state) {
    const Num a = Num::ofText(QStringLiteral("3.14"));
    const Num b = Num::ofText(QStringLiteral("-12345.678"));
    for (auto _ : state) {
        Num r = F(a, b);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_TwoTexts<ZelLiangShuHe>)->Name("BM_LiangShuHe");
BENCHMARK(BM_TwoTexts<ZelLiangShuJi>)->Name("BM_LiangShuJi");
BENCHMARK(BM_TwoTexts<ZelLiangShuShang>)->Name("BM_LiangShuShang");

// A sum as the evaluator does it: two texts in, one text out.
void BM_SumTextToText(benchmark::State& state) {
    const Num a = Num::ofText(QStringLiteral("0.3333333333333333333333333333"));
    const Num b = Num::ofText(QStringLiteral("2.5"));
    for (auto _ : state) {
        QString t = ZelLiangShuHe(a, b).text();
        benchmark::DoNotOptimize(t);
    }
}
BENCHMARK(BM_SumTextToText);

}  // namespace
}  // namespace hc
