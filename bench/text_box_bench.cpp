// The formula box with a line of a megabyte: pasting it, and typing one key into it,
// each with the repaint that shows it. Runs offscreen unless a platform is set.
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

QString megabyteFormula() {
    QString s = QStringLiteral("1");
    while (s.size() + 2 <= 1'000'000) s += QStringLiteral("+1");
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

void BM_PasteMegabyteLine(benchmark::State& state) {
    ShownBox shown;
    QApplication::clipboard()->setText(megabyteFormula());
    for (auto _ : state) {
        state.PauseTiming();
        shown.box.setText(QString());
        shown.paint();
        state.ResumeTiming();
        shown.box.paste();
        shown.paint();
    }
}
BENCHMARK(BM_PasteMegabyteLine)->Unit(benchmark::kMillisecond);

void BM_TypeIntoMegabyteLine(benchmark::State& state) {
    ShownBox shown;
    shown.box.setText(megabyteFormula());
    shown.box.setSelection(500'000, 0);
    shown.paint();
    for (auto _ : state) {
        QTest::keyClick(&shown.box, Qt::Key_1);
        shown.paint();
    }
}
BENCHMARK(BM_TypeIntoMegabyteLine)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace hc
