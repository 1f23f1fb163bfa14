// Distance and bearing of 10,000 points and 10,000 plane attitudes; the items
// processed give the time per point and per attitude.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "survey/distance_bearing.h"
#include "survey/plane_attitude.h"

namespace hc {
namespace {

// Survey points around a grid origin, in millimetres turned into texts of 3 decimals.
std::vector<long long> randomMillimetres(int n, unsigned seed) {
    std::mt19937_64 rng(seed);
    std::uniform_int_distribution<long long> site(-5000000, 5000000);
    std::vector<long long> v(static_cast<size_t>(n));
    for (long long& x : v) x = site(rng);
    return v;
}

Num value(long long mm, long long base) {
    const long long v = mm + base;
    return Num::ofDecimal(Decimal::fromParts(v < 0 ? -v : v, 3, v < 0));
}

QString pointListText(int n) {
    const std::vector<long long> mm = randomMillimetres(3 * n, 11);
    QString text;
    for (int i = 0; i < n; ++i) {
        text += QStringLiteral("P%1,%2,%3,%4\r\n")
                    .arg(i)
                    .arg(value(mm[3 * i], 4395879562LL).text())
                    .arg(value(mm[3 * i + 1], 40400348322LL).text())
                    .arg(value(mm[3 * i + 2] / 100, 20000).text());
    }
    return text;
}

// The whole click: reading the list, every point from the first, the aligned rows.
void BM_DistanceBearingRun(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const QString text = pointListText(n);
    for (auto _ : state) {
        const BearingRun run = runDistanceBearing(text, QStringLiteral("P0"), PointListMode::Grid);
        benchmark::DoNotOptimize(run.output.size());
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_DistanceBearingRun)->Arg(10000)->Unit(benchmark::kMillisecond);

// The computation of one point alone.
void BM_BearingFrom(benchmark::State& state) {
    const std::vector<long long> mm = randomMillimetres(30000, 12);
    std::vector<Decimal> d;
    for (long long v : mm) d.push_back(value(v, 4395879562LL).toDecimal());
    const Decimal x0 = d[0], y0 = d[1], z0 = d[2];
    for (auto _ : state) {
        for (size_t i = 0; i + 2 < d.size(); i += 3) {
            const PointBearing b = bearingFrom(x0, y0, z0, d[i], d[i + 1], d[i + 2]);
            benchmark::DoNotOptimize(b.azimuth.kind());
        }
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_BearingFrom)->Unit(benchmark::kMillisecond);

// 10,000 planes through random triangles of a site.
void BM_PlaneAttitude(benchmark::State& state) {
    const std::vector<long long> mm = randomMillimetres(90000, 13);
    std::vector<Num> v;
    for (size_t i = 0; i < mm.size(); ++i) v.push_back(value(mm[i], i % 3 == 2 ? 0 : 4000000000LL));
    for (auto _ : state) {
        for (size_t i = 0; i + 8 < v.size(); i += 9) {
            PlaneAttitude p;
            const bool ok = ZelMianTiChanZhuang(v[i], v[i + 1], v[i + 2], v[i + 3], v[i + 4],
                                                v[i + 5], v[i + 6], v[i + 7], v[i + 8], p);
            benchmark::DoNotOptimize(ok);
        }
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_PlaneAttitude)->Unit(benchmark::kMillisecond);

// One click of the attitude window on the sample list, report included.
void BM_PlaneAttitudeRun(benchmark::State& state) {
    const QString text = QStringLiteral(
        "A001,4395879.562,40400348.322,23.441\r\n"
        " Z02,4394571.954,40397379.291,19.838\r\n"
        "  z3,4394926.422,40397410.355,19.851\r\n");
    for (auto _ : state) {
        const AttitudeRun run = runPlaneAttitude(text, QStringLiteral("A001"));
        benchmark::DoNotOptimize(run.output.size());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PlaneAttitudeRun)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace hc
