// The formula box with a line of a megabyte and of ten: pasting it, and typing one
// key into its middle, each with the repaint that shows it. Runs offscreen unless a platform is
// set.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QClipboard>
#include <QTest>

#include "ui/text_box.h"

namespace hc {
namespace {

QApplication& app() {
    static int argc = 1;
    static char name[] = "text_box_bench";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication* a = new QApplication(argc, argv);  // left to the end of the program
    return *a;
}

// 1+1+...+1 of `n` characters or one less.
QString sumOfOnes(qsizetype n) {
    QString s = QStringLiteral("1");
    while (s.size() + 2 <= n) s += QStringLiteral("+1");
    return s;
}

// A box as the main window sets it up: larger font, broken anywhere.
struct ShownBox {
    ShownBox() {
        QFont f = box.font();
        f.setPointSize(f.pointSize() + 2);
        box.setFont(f);
        box.setWordWrapMode(QTextOption::WrapAnywhere);
        box.resize(600, 90);
        box.show();
        QCoreApplication::processEvents();
        box.setFocus();
    }
    void paint() {
        box.repaint();
        QCoreApplication::processEvents();
    }
    QApplication& application = app();  // made before the box
    ui::TextBox box;
};

void BM_PasteLongLine(benchmark::State& state) {
    ShownBox shown;
    QApplication::clipboard()->setText(sumOfOnes(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        shown.box.setText(QString());
        shown.paint();
        state.ResumeTiming();
        shown.box.paste();
        shown.paint();
    }
}
BENCHMARK(BM_PasteLongLine)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond);

void BM_TypeIntoLongLine(benchmark::State& state) {
    ShownBox shown;
    shown.box.setText(sumOfOnes(state.range(0)));
    shown.box.setSelection(static_cast<int>(state.range(0) / 2), 0);
    shown.paint();
    for (auto _ : state) {
        QTest::keyClick(&shown.box, Qt::Key_1);
        shown.paint();
    }
}
BENCHMARK(BM_TypeIntoLongLine)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace hc
