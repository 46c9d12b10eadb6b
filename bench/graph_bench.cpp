// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "engine/input_preparation.h"
#include "engine/model.h"
#include "engine/results_table.h"
#include "graph/graph_scale.h"
#include "run_phases/array_mode.h"
#include "run_phases/run_phases.h"
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
    RunPhases phases;
    test::RecordingSink sink;
    for (auto _ : state) {
        TablePhase table = phases.RunTable(model, settings, sink);
        CurvePhase curves = phases.RunCurves(model, settings);
        benchmark::DoNotOptimize(table.commands.data());
        benchmark::DoNotOptimize(curves.commands.data());
    }
}
BENCHMARK(BM_WorstCaseRecalculation)->Unit(benchmark::kMillisecond);

// The angular frequencies at which the worst case's curves need J, pass after pass: at
// every grid point each occupied neighbour's six (0, wI, wS - wI, wS, wI + wS, 2 wI), all
// of them as a plain evaluation asks for them, or each distinct one once.
std::vector<float> CurveDensityFrequencies(const WorkingValues& values, float width,
                                           bool distinctOnly) {
    std::vector<float> all;
    for (int pass = 1; pass <= kArrayPassCount; ++pass) {
        for (const GridPoint& point : FrequencyGrid(width)) {
            const float wI = LarmorOmega(point.value, values.centralGamma);
            std::vector<float> needed;
            for (const NeighbourValues& neighbour : values.neighbours) {
                if (neighbour.kind == SlotKind::Empty) continue;
                for (const float w :
                     PairFrequencies(wI, LarmorOmega(point.value, neighbour.gamma))) {
                    if (!distinctOnly ||
                        std::find(needed.begin(), needed.end(), w) == needed.end()) {
                        needed.push_back(w);
                    }
                }
            }
            all.insert(all.end(), needed.begin(), needed.end());
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

// The worst case's curve phase against two scalar floors, timed in turn in each
// iteration: every Lorentzian term a plain evaluation computes (each neighbour's six
// densities at each grid point, 158,400 terms) and only the distinct densities. The
// medians in microseconds and the ratios of the curves to each.
void BM_WorstCaseCurvesAgainstFloor(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    const ModelTexts model = WorstCaseModel();
    const GraphSettings settings = WorstCaseSettings();
    RunPhases phases;
    test::RecordingSink sink;
    phases.RunTable(model, settings, sink);
    InputPreparation preparation;
    const WorkingValues values = preparation.Prepare(model).values;
    const std::vector<float> allTerms = CurveDensityFrequencies(values, settings.width, false);
    const std::vector<float> distinct = CurveDensityFrequencies(values, settings.width, true);
    std::vector<double> curveTimes;
    std::vector<double> allTermsTimes;
    std::vector<double> distinctTimes;
    const auto microseconds = [](Clock::duration d) {
        return std::chrono::duration<double, std::micro>(d).count();
    };
    for (auto _ : state) {
        const auto start = Clock::now();
        CurvePhase curves = phases.RunCurves(model, settings);
        benchmark::DoNotOptimize(curves.commands.data());
        const auto curvesEnd = Clock::now();
        benchmark::DoNotOptimize(ScalarFloor(values.lorentzians, allTerms));
        const auto allTermsEnd = Clock::now();
        benchmark::DoNotOptimize(ScalarFloor(values.lorentzians, distinct));
        const auto distinctEnd = Clock::now();
        curveTimes.push_back(microseconds(curvesEnd - start));
        allTermsTimes.push_back(microseconds(allTermsEnd - curvesEnd));
        distinctTimes.push_back(microseconds(distinctEnd - allTermsEnd));
    }
    const double curves = Median(curveTimes);
    state.counters["curves_us"] = curves;
    state.counters["floor_all_terms_us"] = Median(allTermsTimes);
    state.counters["ratio_all_terms"] = curves / Median(allTermsTimes);
    state.counters["floor_distinct_us"] = Median(distinctTimes);
    state.counters["ratio_distinct"] = curves / Median(distinctTimes);
    state.counters["terms_all"] = static_cast<double>(allTerms.size() * kLorentzianCount);
    state.counters["terms_distinct"] = static_cast<double>(distinct.size() * kLorentzianCount);
}
BENCHMARK(BM_WorstCaseCurvesAgainstFloor)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veldorin
