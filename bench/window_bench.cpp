#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <memory>

#include "layout.h"
#include "modeling.h"
#include "results_list.h"
#include "spin_diagram.h"

namespace veldorin {
namespace {

// A started window whose program folder (and so "table.dat") is thrown away afterwards.
struct StartedWindow {
    StartedWindow() {
        window.Form_Load(folder.path());
        QCoreApplication::processEvents();
    }

    QTemporaryDir folder;
    Modeling window;
};

// One key released in the first weight box, through the cleaning of the column, the
// table, "table.dat" and the curves to the repainted window.
void ReleaseKeysInWeightBox(benchmark::State& state, Modeling& window) {
    QWidget* box = window.controls().Find(Element("Text7", 0));
    box->setFocus();
    for (auto _ : state) {
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_5, Qt::NoModifier, QStringLiteral("5"));
        QApplication::sendEvent(box, &release);
        QCoreApplication::processEvents();
    }
    const auto* list = qobject_cast<const ResultsList*>(window.controls().Find("List3"));
    if (list->Lines().size() != 7 || list->stale()) state.SkipWithError("no current table");
}

void BM_WeightKeyDefaultModel(benchmark::State& state) {
    StartedWindow started;
    ReleaseKeysInWeightBox(state, started.window);
}
BENCHMARK(BM_WeightKeyDefaultModel)->Unit(benchmark::kMillisecond);

// Eight neighbours, the rate curves, array mode on c1: eleven curve passes.
void BM_WeightKeyWorstCase(benchmark::State& state) {
    StartedWindow started;
    Modeling& window = started.window;
    SpinDiagram& spins = window.spinDiagram();
    const char* nuclei[] = {"1H", "1H", "13C", "15N", "Like", "1H", "13C", "1H"};
    for (int j = 0; j < kNeighbourCount; ++j) {
        spins.nucleusBox(j)->setText(nuclei[j]);
        spins.distanceLabel(j)->setText(QString::number(1.0 + 0.2 * j));
    }
    window.Command3_Click();
    ReleaseKeysInWeightBox(state, window);
}
BENCHMARK(BM_WeightKeyWorstCase)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veldorin

int main(int argc, char* argv[]) {
    // The window is measured without a desktop.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
