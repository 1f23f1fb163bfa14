// Parcel areas of one parcel of 1,000,000 vertices: the exact shoelace sum alone, the
// crossing-edge check, the whole calculation of the window from its text (grid input),
// and the geodesic polygon on the ellipsoid. The items processed give the time per
// vertex.
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "survey/parcel_area.h"

namespace hc {
namespace {

constexpr int kVertices = 1000000;

// A smooth ring of about 5 km radius around a grid point, in millimetres, its vertices
// 3 cm apart: no edges cross.
struct MmRing {
    std::vector<long long> x, y;
};

MmRing ringMm(int n) {
    MmRing r;
    for (int i = 0; i < n; ++i) {
        const double t = 2 * std::numbers::pi * i / n;
        const double radius = 5e6 * (1 + 0.05 * std::sin(7 * t));
        r.x.push_back(3527402118LL + std::llround(radius * std::cos(t)));
        r.y.push_back(39476233512LL + std::llround(radius * std::sin(t)));
    }
    return r;
}

std::vector<Decimal> decimalsOf(const std::vector<long long>& mm) {
    std::vector<Decimal> d;
    d.reserve(mm.size());
    for (long long v : mm)
        d.push_back(Decimal::fromParts(static_cast<unsigned long long>(v), 3, false));
    return d;
}

void BM_Shoelace(benchmark::State& state) {
    const MmRing r = ringMm(kVertices);
    const std::vector<Decimal> x = decimalsOf(r.x), y = decimalsOf(r.y);
    for (auto _ : state) benchmark::DoNotOptimize(shoelace(x, y));
    state.SetItemsProcessed(state.iterations() * kVertices);
}
BENCHMARK(BM_Shoelace)->Unit(benchmark::kMillisecond);

void BM_CrossingCheck(benchmark::State& state) {
    const MmRing r = ringMm(kVertices);
    const std::vector<Decimal> x = decimalsOf(r.x), y = decimalsOf(r.y);
    for (auto _ : state) {
        const std::optional<bool> crosses = ringCrosses(x, y);
        if (!crosses || *crosses) state.SkipWithError("the ring should be checked and simple");
    }
    state.SetItemsProcessed(state.iterations() * kVertices);
}
BENCHMARK(BM_CrossingCheck)->Unit(benchmark::kMillisecond);

void BM_GridParcelFromText(benchmark::State& state) {
    const MmRing r = ringMm(kVertices);
    QString text;
    for (int i = 0; i < kVertices; ++i)
        text += QStringLiteral("%1,%2.%3,%4.%5\r\n")
                    .arg(i)
                    .arg(r.x[i] / 1000)
                    .arg(r.x[i] % 1000, 3, 10, QChar(u'0'))
                    .arg(r.y[i] / 1000)
                    .arg(r.y[i] % 1000, 3, 10, QChar(u'0'));
    for (auto _ : state) {
        const AreaRun run = runParcelArea(text, AreaOptions{});
        if (run.failed || !run.notices.isEmpty()) state.SkipWithError("the parcel should compute");
    }
    state.SetItemsProcessed(state.iterations() * kVertices);
}
BENCHMARK(BM_GridParcelFromText)->Unit(benchmark::kMillisecond);

void BM_GeodesicPolygon(benchmark::State& state) {
    std::vector<double> lat, lon;
    for (int i = 0; i < kVertices; ++i) {
        const double t = 2 * std::numbers::pi * i / kVertices;
        lat.push_back(31.8 + 0.045 * std::sin(t));
        lon.push_back(117.3 + 0.053 * std::cos(t));
    }
    for (auto _ : state) benchmark::DoNotOptimize(geodesicPolygon(lat, lon, Datum::Cgcs2000));
    state.SetItemsProcessed(state.iterations() * kVertices);
}
BENCHMARK(BM_GeodesicPolygon)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace hc
