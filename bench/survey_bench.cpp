#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "survey/coord_conversion.h"
#include "survey/fast_conversion.h"
#include "survey/gk_batch.h"
#include "survey/zones.h"

namespace hc {
namespace {

struct Point {
    double lat;
    double lon;
};

// Packed angles spread over a 3-degree zone around 117.
std::vector<Point> geographicPoints(int n) {
    std::vector<Point> p;
    p.reserve(n);
    for (int i = 0; i < n; ++i) {
        const double lat = ZelSheRuXiaoShu(ZelBaiFenDuZhuanDuFenMiao(20 + (i % 997) * 0.0301), 8);
        const double lon =
            ZelSheRuXiaoShu(ZelBaiFenDuZhuanDuFenMiao(115.6 + (i % 991) * 0.00281), 8);
        p.push_back({lat, lon});
    }
    return p;
}

template <GridPoint (*Forward)(double, double, double, const Ellipsoid&)>
void BM_Forward(benchmark::State& state) {
    const std::vector<Point> pts = geographicPoints(4096);
    const Ellipsoid& e = beijing1954();
    std::size_t i = 0;
    for (auto _ : state) {
        const GridPoint g = Forward(pts[i].lat, pts[i].lon, 117, e);
        benchmark::DoNotOptimize(g.x + g.y);
        benchmark::DoNotOptimize(g.remark.size());
        i = (i + 1) & 4095;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Forward<ZelZhengSuan3>)->Name("Forward3");
BENCHMARK(BM_Forward<ZelZhengSuan6>)->Name("Forward6");
BENCHMARK(BM_Forward<ZelZhengSuan15>)->Name("Forward1.5");

template <GridPoint (*Forward)(double, double, double, const Ellipsoid&),
          GeoPoint (*Inverse)(double, double, const Ellipsoid&)>
void BM_Inverse(benchmark::State& state) {
    std::vector<Point> grid = geographicPoints(4096);
    for (Point& p : grid) {
        const GridPoint g = Forward(p.lat, p.lon, 117, beijing1954());
        p = {g.x, g.y};
    }
    const Ellipsoid& e = beijing1954();
    std::size_t i = 0;
    for (auto _ : state) {
        const GeoPoint g = Inverse(grid[i].lat, grid[i].lon, e);
        benchmark::DoNotOptimize(g.lat + g.lon);
        benchmark::DoNotOptimize(g.remark.size());
        i = (i + 1) & 4095;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Inverse<ZelZhengSuan3, ZelFanSuan3>)->Name("Inverse3");
BENCHMARK(BM_Inverse<ZelZhengSuan6, ZelFanSuan6>)->Name("Inverse6");
BENCHMARK(BM_Inverse<ZelZhengSuan15, ZelFanSuan15>)->Name("Inverse1.5");

// The quick forms of the same routines, as the batch runs them.
template <ZoneWidth Width>
void BM_ForwardFast(benchmark::State& state) {
    const std::vector<Point> pts = geographicPoints(4096);
    const Ellipsoid& e = beijing1954();
    std::size_t i = 0;
    long long quick = 0;
    for (auto _ : state) {
        fast::FastGrid g{};
        quick += fast::toGridFast(Width, pts[i].lat, pts[i].lon, 117, e, kZoneGrid, g) ? 1 : 0;
        benchmark::DoNotOptimize(g.x + g.y);
        i = (i + 1) & 4095;
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["quick"] = static_cast<double>(quick) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ForwardFast<ZoneWidth::Three>)->Name("ForwardFast3");
BENCHMARK(BM_ForwardFast<ZoneWidth::Six>)->Name("ForwardFast6");
BENCHMARK(BM_ForwardFast<ZoneWidth::OneAndHalf>)->Name("ForwardFast1.5");

template <ZoneWidth Width>
void BM_InverseFast(benchmark::State& state) {
    std::vector<Point> grid = geographicPoints(4096);
    for (Point& p : grid) {
        const GridPoint g = toGrid(Width, p.lat, p.lon, 117, beijing1954());
        p = {g.x, g.y};
    }
    const Ellipsoid& e = beijing1954();
    std::size_t i = 0;
    long long quick = 0;
    for (auto _ : state) {
        fast::FastGeo g{};
        quick += fast::toGeographicFast(Width, grid[i].lat, grid[i].lon, e, kZoneGrid, g) ? 1 : 0;
        benchmark::DoNotOptimize(g.lat + g.lon);
        i = (i + 1) & 4095;
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["quick"] = static_cast<double>(quick) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_InverseFast<ZoneWidth::Three>)->Name("InverseFast3");
BENCHMARK(BM_InverseFast<ZoneWidth::Six>)->Name("InverseFast6");
BENCHMARK(BM_InverseFast<ZoneWidth::OneAndHalf>)->Name("InverseFast1.5");

QString windowInput(bool grid) {
    QString text;
    const std::vector<Point> pts = geographicPoints(200);
    for (int i = 0; i < 200; ++i) {
        double a = pts[i].lat;
        double b = pts[i].lon;
        if (grid) {
            const GridPoint g = ZelZhengSuan3(a, b, 117, beijing1954());
            a = g.x;
            b = g.y;
        }
        text += QStringLiteral("P%1 , %2 , %3 , %4\r\n")
                    .arg(i)
                    .arg(a, 0, 'f', grid ? 3 : 8)
                    .arg(b, 0, 'f', grid ? 3 : 8)
                    .arg(20 + i * 0.01, 0, 'f', 3);
    }
    return text;
}

// The window's conversion of its full 200 rows: reading, converting, writing.
void BM_Window200(benchmark::State& state) {
    const auto op = static_cast<GkConversion>(state.range(0));
    const bool gridInput = op != GkConversion::GeoToZone3;
    const QString input = windowInput(gridInput);
    const QString previous = QStringLiteral("earlier block\r\n");
    for (auto _ : state) {
        GkResult r = ZelZuoBiaoZhuanHuan(op, input, previous, {});
        benchmark::DoNotOptimize(r.output.data());
    }
    state.SetItemsProcessed(state.iterations() * 200);
}
BENCHMARK(BM_Window200)
    ->Arg(static_cast<int>(GkConversion::GeoToZone3))
    ->Arg(static_cast<int>(GkConversion::Zone3ToGeo))
    ->Arg(static_cast<int>(GkConversion::Zone3To6))
    ->Unit(benchmark::kMillisecond);

// The command's line-by-line path over an in-memory text of a million points, on
// range(0) threads; real time, with the CPU time of the whole process beside it.
void BM_Batch(benchmark::State& state) {
    std::string input;
    const std::vector<Point> pts = geographicPoints(1000000);
    char line[96];
    for (std::size_t i = 0; i < pts.size(); ++i) {
        const int n = std::snprintf(line, sizeof line, "P%zu,%.8f,%.8f,%.3f\n", i, pts[i].lat,
                                    pts[i].lon, 10 + static_cast<double>(i % 100) * 0.5);
        input.append(line, static_cast<std::size_t>(n));
    }
    const GkSettings s;
    const int jobs = static_cast<int>(state.range(0));
    for (auto _ : state) {
        std::FILE* in = fmemopen(input.data(), input.size(), "r");
        std::FILE* out = std::fopen("/dev/null", "w");
        benchmark::DoNotOptimize(
            convertBatch(GkConversion::GeoToZone3, s, in, out, 4096, nullptr, jobs).rows);
        std::fclose(in);
        std::fclose(out);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(pts.size()));
}
BENCHMARK(BM_Batch)->Arg(1)->Arg(2)->UseRealTime()->MeasureProcessCPUTime()->Unit(
    benchmark::kMillisecond);

}  // namespace
}  // namespace hc
