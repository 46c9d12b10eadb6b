#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "engine/calculation.h"
#include "engine/model.h"
#include "engine/results_table.h"
#include "graph/graph_scale.h"
#include "recalculation/array_mode.h"
#include "recalculation/recalculation.h"
#include "tests/support/recording_sink.h"

namespace veldorin {
namespace {

// Eight neighbours, six Lorentzians, the rate curves in array mode on c1.
ModelTexts WorstCaseModel() {
    ModelTexts model = DefaultModel();
    const char* nuclei[] = {"1H", "1H", "13C", "15N", "Like", "1H", "13C", "1H"};
    for (int j = 0; j < kNeighbourCount; ++j) {
        model.slots[j] = {nuclei[j], std::to_string(1.0 + 0.2 * j), "1"};
    }
    model.weights = {"0.3", "0.2", "0.15", "0.15", "0.1", "0.1"};
    return model;
}

GraphSettings WorstCaseSettings() {
    GraphSettings settings;
    settings.plotMode = PlotMode::Rates;
    settings.arrayOn = true;
    settings.arrayParameter = ArrayParameter::C1;
    return settings;
}

// The heaviest recalculation: eleven passes of 50 evaluations each over eight neighbours.
void BM_WorstCaseRecalculation(benchmark::State& state) {
    const ModelTexts model = WorstCaseModel();
    const GraphSettings settings = WorstCaseSettings();
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

// The angular frequencies at which the worst case's curves evaluate J, pass after pass:
// at every grid point 0, wI and each occupied neighbour's four, each distinct one once.
std::vector<float> CurveDensityFrequencies(const WorkingValues& values, float width) {
    std::vector<float> all;
    for (int pass = 1; pass <= kArrayPassCount; ++pass) {
        for (const GridPoint& point : FrequencyGrid(width)) {
            const float wI = LarmorOmega(point.value, values.centralGamma);
            std::vector<float> distinct = {0.0f, wI};
            for (const NeighbourValues& neighbour : values.neighbours) {
                if (neighbour.kind == SlotKind::Empty) continue;
                const JFrequencies pair =
                    PairFrequencies(wI, LarmorOmega(point.value, neighbour.gamma));
                for (int m = 2; m < 6; ++m) {
                    if (std::find(distinct.begin(), distinct.end(), pair[m]) == distinct.end()) {
                        distinct.push_back(pair[m]);
                    }
                }
            }
            all.insert(all.end(), distinct.begin(), distinct.end());
        }
    }
    return all;
}

// The floor of the curve computation: the same Lorentzian terms at the same frequencies
// with the same roundings to single, as a plain loop without anything else.
float ScalarFloor(const Lorentzians& lorentzians, const std::vector<float>& frequencies) {
    float total = 0.0f;
    for (const float w : frequencies) {
        float j = 0.0f;
        for (int i = 0; i < kLorentzianCount; ++i) {
            const double t = lorentzians.times[i];
            const double u = static_cast<float>(t * w * 1e-6);
            j = static_cast<float>(t * lorentzians.weights[i] / (u * u + 1.0) + j);
        }
        total += j;
    }
    return total;
}

double Median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

// The worst case's curve phase against its scalar floor, timed in turn in each iteration:
// the medians in microseconds and their ratio.
void BM_WorstCaseCurvesAgainstFloor(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    const ModelTexts model = WorstCaseModel();
    const GraphSettings settings = WorstCaseSettings();
    Recalculation recalculation;
    test::RecordingSink sink;
    recalculation.RunTable(model, settings, sink);
    Calculation calculation;
    const WorkingValues values = calculation.Prepare(model).values;
    const std::vector<float> frequencies = CurveDensityFrequencies(values, settings.width);
    std::vector<double> curveTimes;
    std::vector<double> floorTimes;
    for (auto _ : state) {
        const auto start = Clock::now();
        CurvePhase curves = recalculation.RunCurves(model, settings);
        benchmark::DoNotOptimize(curves.commands.data());
        const auto between = Clock::now();
        benchmark::DoNotOptimize(ScalarFloor(values.lorentzians, frequencies));
        const auto end = Clock::now();
        curveTimes.push_back(std::chrono::duration<double, std::micro>(between - start).count());
        floorTimes.push_back(std::chrono::duration<double, std::micro>(end - between).count());
    }
    state.counters["curves_us"] = Median(curveTimes);
    state.counters["floor_us"] = Median(floorTimes);
    state.counters["ratio"] = Median(curveTimes) / Median(floorTimes);
    state.counters["densities"] = static_cast<double>(frequencies.size());
}
BENCHMARK(BM_WorstCaseCurvesAgainstFloor)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veldorin
