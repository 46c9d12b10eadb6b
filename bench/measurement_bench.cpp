// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What a recalculation adds for measurements: 30 rows (and 100,000) read, compared with the
// model at their fields, and drawn as points, on the heaviest spin system and a motion's
// Lorentzians.

#include <benchmark/benchmark.h>

#include <optional>
#include <string>
#include <vector>

#include "bench/bench_models.h"
#include "engine/input_preparation.h"
#include "engine/measurement.h"
#include "engine/motion.h"
#include "graph/measurement_points.h"

namespace veldorin {
namespace {

constexpr int kRows = 30;
constexpr int kManyRows = 100'000;

ModelTexts HeavyModelWithMotion() {
    ModelTexts model = bench::EightNeighbourModel();
    MotionTexts motion;
    motion.kind = MotionKind::AxialDiffusionByTime;
    motion.texts = {"8", "0.8", "40", "", "", "", "", "", "", "1.6", "35"};
    const LorentzianTexts texts = TextsOf(ToLorentzians(*ReadMotion(motion).motion));
    model.weights = texts.weights;
    model.times = texts.times;
    return model;
}

std::vector<MeasurementTexts> Rows(int count = kRows) {
    std::vector<MeasurementTexts> rows;
    for (int k = 0; k < count; ++k) {
        const char* quantity = k % 3 == 0 ? "R1" : k % 3 == 1 ? "T2" : "NOE";
        rows.push_back({{std::to_string(400 + 17 * k % 9000), quantity, "0.9", "0.05"}});
    }
    return rows;
}

void BM_ThirtyMeasurementsCompared(benchmark::State& state) {
    InputPreparation calculation;
    const WorkingValues values = calculation.Prepare(HeavyModelWithMotion()).values;
    const std::vector<MeasurementTexts> rows = Rows();
    for (auto _ : state) {
        std::vector<std::optional<Measurement>> measurements;
        for (int k = 0; k < kRows; ++k)
            measurements.push_back(ReadMeasurement(rows[k], k + 1).measurement);
        benchmark::DoNotOptimize(Compare(values, measurements));
    }
}
BENCHMARK(BM_ThirtyMeasurementsCompared);

// What a recalculation adds for 100,000 rows, each at its own field: read, and compared.
void BM_ManyMeasurementsReadAndCompared(benchmark::State& state) {
    InputPreparation calculation;
    const WorkingValues values = calculation.Prepare(HeavyModelWithMotion()).values;
    const std::vector<MeasurementTexts> rows = Rows(kManyRows);
    for (auto _ : state) {
        const std::vector<std::optional<Measurement>> measurements = ReadMeasurements(rows);
        benchmark::DoNotOptimize(Compare(values, measurements));
    }
}
BENCHMARK(BM_ManyMeasurementsReadAndCompared)->Unit(benchmark::kMillisecond);

void BM_ThirtyMeasurementPoints(benchmark::State& state) {
    std::vector<std::optional<Measurement>> measurements;
    for (int k = 0; k < kRows; ++k)
        measurements.push_back(ReadMeasurement(Rows()[k], k + 1).measurement);
    const GraphScale scale(3855.0f, 3015.0f);
    for (auto _ : state) {
        DrawCommands out;
        DrawMeasurementPoints(PlotMode::Rates, scale, measurements, out);
        DrawMeasurementPoints(PlotMode::Noe, scale, measurements, out);
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_ThirtyMeasurementPoints);

}  // namespace
}  // namespace veldorin
