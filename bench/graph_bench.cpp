#include <benchmark/benchmark.h>

#include <string>

#include "engine/model.h"
#include "engine/results_table.h"
#include "recalculation/recalculation.h"
#include "tests/support/recording_sink.h"

namespace veldorin {
namespace {

// The heaviest recalculation: eight neighbours, six Lorentzians, the rate curves in
// array mode on c1 (eleven passes of 50 evaluations each over eight neighbours).
void BM_WorstCaseRecalculation(benchmark::State& state) {
    ModelTexts model = DefaultModel();
    const char* nuclei[] = {"1H", "1H", "13C", "15N", "Like", "1H", "13C", "1H"};
    for (int j = 0; j < kNeighbourCount; ++j) {
        model.slots[j] = {nuclei[j], std::to_string(1.0 + 0.2 * j), "1"};
    }
    model.weights = {"0.3", "0.2", "0.15", "0.15", "0.1", "0.1"};
    GraphSettings settings;
    settings.plotMode = PlotMode::Rates;
    settings.arrayOn = true;
    settings.arrayParameter = ArrayParameter::C1;
    Recalculation recalculation;
    test::RecordingSink sink;
    for (auto _ : state) {
        TablePhase table = recalculation.RunTable(model, settings, sink);
        CurvePhase curves = recalculation.RunCurves(model, settings);
        benchmark::DoNotOptimize(table.commands.data());
        benchmark::DoNotOptimize(curves.commands.data());
    }
}
BENCHMARK(BM_WorstCaseRecalculation)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veldorin
