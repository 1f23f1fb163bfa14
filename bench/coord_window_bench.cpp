// One press of a conversion button of the coordinate window on a full input box:
// 200 rows read, echoed, converted and laid out with the window's formatting, on top
// of the previous output.
#include <benchmark/benchmark.h>

#include "survey/coord_conversion.h"

namespace hc {
namespace {

QString geographicRows(int n) {
    QString text;
    for (int i = 0; i < n; ++i) {
        text += QStringLiteral("P%1 , 39.%2 , 117.%3 , %4\r\n")
                    .arg(i)
                    .arg(1000000 + i * 2711 % 5959999, 7, 10, QChar(u'0'))
                    .arg(1000000 + i * 4093 % 5959999, 7, 10, QChar(u'0'))
                    .arg(20 + i % 100 * 0.137, 0, 'f', 3);
    }
    return text;
}

void BM_WindowConversion(benchmark::State& state) {
    const auto op = static_cast<GkConversion>(state.range(0));
    GkControls controls;
    QString input = geographicRows(200);
    if (op != GkConversion::GeoToZone3) {
        // Grid input: the 3-degree rows of the same points.
        input = ZelZuoBiaoZhuanHuan(GkConversion::GeoToZone3, input, QString(), controls)
                    .output.section(QStringLiteral("\r\n"), 1);
    }
    const QString previous = QString(4000, u'x');
    for (auto _ : state) {
        const GkResult r = ZelZuoBiaoZhuanHuan(op, input, previous, controls);
        benchmark::DoNotOptimize(r.output.size());
    }
    state.SetItemsProcessed(state.iterations() * 200);
}
BENCHMARK(BM_WindowConversion)
    ->Arg(static_cast<int>(GkConversion::GeoToZone3))
    ->Arg(static_cast<int>(GkConversion::Zone3ToGeo))
    ->Arg(static_cast<int>(GkConversion::Zone3To6))
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace hc
