#include <benchmark/benchmark.h>

#include <QString>

#include "tools/statistics.h"
#include "tools/statistics_command.h"

namespace hc {
namespace {

// 10,000 lines: a label and five numbers with up to four decimals, some negative.
QString table(int lines) {
    QString text;
    for (int i = 0; i < lines; ++i) {
        text += QStringLiteral("点%1").arg(i);
        for (int c = 0; c < 5; ++c) {
            const int v = (i * 7919 + c * 104729) % 2000003 - 1000000;
            text +=
                QStringLiteral("*%1.%2").arg(v / 100).arg(std::abs(v % 10000), 4, 10, QChar(u'0'));
        }
        text += QStringLiteral("\r\n");
    }
    return text;
}

// The whole statistics command: normalise, split, rewrite, ten statistics of five columns.
void BM_StatisticsCommand(benchmark::State& state) {
    const QString data = table(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        StatsRun run = runStatistics(data, QStringLiteral("*"), QStringLiteral("1"));
        benchmark::DoNotOptimize(run);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_StatisticsCommand)->Arg(10000)->Unit(benchmark::kMillisecond);

// Splitting and rewriting alone.
void BM_SplitAndCollect(benchmark::State& state) {
    const QString data = table(static_cast<int>(state.range(0)));
    const QString map = statColumnMap(1);
    for (auto _ : state) {
        StatTable t;
        ZelFenJieShuJu(data, QStringLiteral("*"), map, t);
        QString text = ZelZhengLiShuJu(t, QStringLiteral("*"), map, true);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_SplitAndCollect)->Arg(10000)->Unit(benchmark::kMillisecond);

// The statistics of one 10,000-value column as the command computes them.
void BM_ColumnStatistics(benchmark::State& state) {
    StatTable t;
    const QString map = statColumnMap(1);
    ZelFenJieShuJu(table(static_cast<int>(state.range(0))), QStringLiteral("*"), map, t);
    ZelZhengLiShuJu(t, QStringLiteral("*"), map, true);
    for (auto _ : state) {
        const StatValues v(t.count(2), t.list(2));
        const Num mean = v.mean();
        benchmark::DoNotOptimize(v.deviation(mean, true));
        benchmark::DoNotOptimize(v.deviation(mean, false));
        benchmark::DoNotOptimize(v.minimum());
        benchmark::DoNotOptimize(v.maximum());
    }
}
BENCHMARK(BM_ColumnStatistics)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace hc
