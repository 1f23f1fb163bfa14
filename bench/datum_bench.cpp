// Throughput of the datum chain: seven parameters from a Beijing 1954 3-degree grid to a
// CGCS2000 3-degree grid (grid -> latitude/longitude -> geocentric -> similarity ->
// geocentric -> latitude/longitude -> grid), one thread and all of the machine's threads.

#include <benchmark/benchmark.h>

#include <random>
#include <thread>
#include <vector>

#include "survey/datum_transform.h"

namespace hc {
namespace {

std::vector<DatumPoint> gridPoints(std::size_t n) {
    std::mt19937_64 rng(1);
    std::uniform_real_distribution<double> lat(25, 45), lon(115.6, 118.4), h(0, 2000);
    std::vector<DatumPoint> p(n);
    for (DatumPoint& q : p) {
        geographicToGrid(Datum::Beijing1954, ZoneWidth::Three, lat(rng), lon(rng), 117.0, q.x, q.y);
        q.h = h(rng);
    }
    return p;
}

DatumChain chain(DatumModel model) {
    DatumParameters p;
    p.model = model;
    p.helmert = {-15.53, 142.61, 82.37, 1.05, -2.33, 3.51, -4.27, Rotation::CoordinateFrame};
    return DatumChain({Datum::Beijing1954, ZoneWidth::Three, std::nullopt},
                      {Datum::Cgcs2000, ZoneWidth::Three, std::nullopt}, p, false);
}

void BM_SevenGridToGrid(benchmark::State& state) {
    const std::size_t n = 1 << 18;
    const std::vector<DatumPoint> in = gridPoints(n);
    std::vector<DatumPoint> out(n);
    const DatumChain c = chain(DatumModel::SevenCF);
    const int jobs = static_cast<int>(state.range(0));
    for (auto _ : state) {
        c.applyMany(in.data(), out.data(), nullptr, n, jobs);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(n));
}
BENCHMARK(BM_SevenGridToGrid)
    ->Arg(1)
    ->Arg(static_cast<int>(std::max(1u, std::thread::hardware_concurrency())))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_SevenGeographicToGeographic(benchmark::State& state) {
    const std::size_t n = 1 << 18;
    std::mt19937_64 rng(2);
    std::uniform_real_distribution<double> lat(18, 53), lon(73.6, 134.9);
    std::vector<DatumPoint> in(n), out(n);
    for (DatumPoint& q : in) q = {lat(rng), lon(rng), 100};
    DatumParameters p;
    p.model = DatumModel::Seven;
    p.helmert = {-15.53, 142.61, 82.37, 1.05, -2.33, 3.51, -4.27, Rotation::PositionVector};
    const DatumChain c({Datum::Wgs84, std::nullopt, std::nullopt},
                       {Datum::Beijing1954, std::nullopt, std::nullopt}, p, false);
    for (auto _ : state) {
        c.applyMany(in.data(), out.data(), nullptr, n, 1);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(n));
}
BENCHMARK(BM_SevenGeographicToGeographic)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace hc
