// The plan sketch of a million points: painting it whole (fit-all) into a window-sized
// image, painting it zoomed in and panned (as a drag repaints), and reading a point list
// of that size into a sketch. Runs offscreen unless a platform is set.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <random>

#include "survey/plan_sketch.h"
#include "survey/point_list.h"
#include "survey/windows/sketch_window.h"

namespace hc {
namespace {

QApplication& app() {
    static int argc = 1;
    static char name[] = "sketch_bench";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication* a = new QApplication(argc, argv);  // left to the end of the program
    return *a;
}

// `n` named points scattered over 20 km by 20 km, and a traverse line through the first
// thousand of them.
const PlanSketch& bigSketch(int n) {
    static PlanSketch s = [n] {
        PlanSketch out;
        std::mt19937_64 random(42);
        std::uniform_real_distribution<double> spread(0, 20000);
        out.points.reserve(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i)
            out.points.push_back({QStringLiteral("P%1").arg(i), 3500000 + spread(random),
                                  39500000 + spread(random), i + 1});
        SketchLine walk;
        for (int i = 0; i < 1000; ++i) walk.points.push_back(i);
        out.lines.push_back(std::move(walk));
        out.marked = 0;
        return out;
    }();
    return s;
}

void paintInto(QImage& image, const PlanSketch& sketch, const SketchView& view) {
    QPainter painter(&image);
    paintSketch(painter, sketch, view, -1);
}

void BM_PaintMillionPointsFitted(benchmark::State& state) {
    app();
    const PlanSketch& sketch = bigSketch(1000000);
    QImage image(720, 520, QImage::Format_ARGB32_Premultiplied);
    const SketchView view = fitAll(sketch, image.width(), image.height());
    for (auto _ : state) paintInto(image, sketch, view);
}
BENCHMARK(BM_PaintMillionPointsFitted)->Unit(benchmark::kMillisecond);

// A drag repaints with the view moved by a few pixels each time, zoomed in eight times.
void BM_PaintMillionPointsPanned(benchmark::State& state) {
    app();
    const PlanSketch& sketch = bigSketch(1000000);
    QImage image(720, 520, QImage::Format_ARGB32_Premultiplied);
    SketchView view = fitAll(sketch, image.width(), image.height());
    view.zoomAt(QPointF(360, 260), 8);
    for (auto _ : state) {
        view.pan(QPointF(3, 2));
        paintInto(image, sketch, view);
    }
}
BENCHMARK(BM_PaintMillionPointsPanned)->Unit(benchmark::kMillisecond);

void BM_ReadMillionPointList(benchmark::State& state) {
    QString text;
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> spread(0, 20000);
    for (int i = 0; i < 1000000; ++i)
        text += QStringLiteral("P%1,%2,%3,0\n")
                    .arg(i)
                    .arg(3500000 + spread(random), 0, 'f', 3)
                    .arg(39500000 + spread(random), 0, 'f', 3);
    for (auto _ : state) {
        const PointList list = ZelZhengLiDianBiao(text, PointListMode::Grid).points;
        const PlanSketch sketch = sketchOfRows(
            [&list](const PointRowVisitor& visit) {
                for (const PointRow& row : list.rows) visit(row);
            },
            SketchKind::Points);
        benchmark::DoNotOptimize(sketch.points.size());
    }
}
BENCHMARK(BM_ReadMillionPointList)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace hc
