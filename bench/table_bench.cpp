// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <benchmark/benchmark.h>

#include "bench/bench_models.h"
#include "engine/input_preparation.h"
#include "engine/results_table.h"
#include "tests/support/recording_sink.h"

namespace veldorin {
namespace {

// Prepares the model and writes its table once per iteration, as one
// recalculation does.
void RunTable(benchmark::State& state, const ModelTexts& model) {
    InputPreparation preparation;
    test::RecordingSink sink;
    for (auto _ : state) {
        const PreparedRun run = preparation.Prepare(model);
        benchmark::DoNotOptimize(WriteResultsTable(run.values, TableMode::Rates, sink, nullptr));
    }
}

void BM_DefaultTable(benchmark::State& state) { RunTable(state, DefaultModel()); }
BENCHMARK(BM_DefaultTable);

// Every slot occupied, all kinds of neighbour: the most work one table can take.
void BM_EightNeighbourTable(benchmark::State& state) {
    ModelTexts model = bench::EightNeighbourModel();
    model.weights = {"0.3", "0.2", "0.1", "0.4", "0", "0.05"};
    model.times = {"5000", "800", "120", "40", "10", "3"};
    RunTable(state, model);
}
BENCHMARK(BM_EightNeighbourTable);

}  // namespace
}  // namespace veldorin
