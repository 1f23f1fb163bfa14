#include <benchmark/benchmark.h>

#include <QFile>
#include <QString>
#include <QStringList>

#include "tools/regression.h"

namespace hc {
namespace {

// `lines` rows of y and five x columns, numbers with up to four decimals, some negative.
QString table(int lines) {
    QString text;
    text.reserve(qsizetype(lines) * 60);
    for (int i = 0; i < lines; ++i) {
        for (int c = 0; c < 6; ++c) {
            const long v =
                (long(i) * 7919 + c * 104729 + long(i % 97) * (c + 3) * 31) % 2000003 - 1000000;
            if (c) text += u'*';
            text += QString::number(v / 100) + u'.' +
                    QString::number(std::abs(v % 10000)).rightJustified(4, u'0');
        }
        text += QStringLiteral("\r\n");
    }
    return text;
}

// Multiple regression of y on five x columns with the constant term.
void BM_RegressionFiveColumns(benchmark::State& state) {
    const QString data = table(static_cast<int>(state.range(0)));
    RegressionOptions o;
    o.xColumns = {2, 3, 4, 5, 6};
    for (auto _ : state) {
        RegressionResult r = runRegression(data, o);
        if (!r.ok) state.SkipWithError(r.failure.toStdString().c_str());
        benchmark::DoNotOptimize(r);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RegressionFiveColumns)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The degree-10 polynomial of the Filip reference data set (82 rows).
void BM_RegressionFilip(benchmark::State& state) {
    QFile f(QStringLiteral(HC_STRD_DIR "/Filip.dat"));
    if (!f.open(QIODevice::ReadOnly)) {
        state.SkipWithError("Filip.dat not found");
        return;
    }
    const QStringList lines = QString::fromLatin1(f.readAll()).split(u'\n');
    const QString data = lines.mid(60, 82).join(u'\n');  // lines 61-142
    RegressionOptions o;
    o.degree = 10;
    o.separator = QStringLiteral(" ");
    for (auto _ : state) {
        RegressionResult r = runRegression(data, o);
        if (!r.ok) state.SkipWithError(r.failure.toStdString().c_str());
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_RegressionFilip)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace hc
