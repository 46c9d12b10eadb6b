// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The fit of measured rates: one residue's point fit, one residue's model selection with
// Monte Carlo errors, and the synthetic protein of bench/protein_76.csv with one tm.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <string>

#include "fit/protein_fit.h"

namespace veldorin {
namespace {

ProteinData Protein() {
    std::ifstream file(VELDORIN_PROTEIN_FILE);
    const std::string text((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    return *ReadProteinData(text).data;
}

ResidueFitSettings Amide() {
    ResidueFitSettings settings;
    settings.system = BackboneAmide();
    settings.fitTm = false;
    settings.tmPs = 4800.0;
    return settings;
}

// Model m4 (S2, te, Rex) and tm free: four parameters from nine measurements.
void BM_PointFitOfOneResidue(benchmark::State& state) {
    const ProteinData protein = Protein();
    ResidueFitSettings settings = Amide();
    settings.fitTm = true;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            FitModel(protein.residues[3].measurements, settings, ModelFreeModelNumber(4)));
    }
}
BENCHMARK(BM_PointFitOfOneResidue)->Unit(benchmark::kMillisecond);

void BM_SelectionAndMonteCarloOfOneResidue(benchmark::State& state) {
    const ProteinData protein = Protein();
    const ResidueFitSettings settings = Amide();
    const auto& data = protein.residues[3].measurements;
    for (auto _ : state) {
        const ModelSelection selection = SelectModel(data, settings, Criterion::Aic);
        benchmark::DoNotOptimize(MonteCarlo(
            data, settings, selection.fits[static_cast<std::size_t>(selection.chosen)], 500, 1));
    }
}
BENCHMARK(BM_SelectionAndMonteCarloOfOneResidue)->Unit(benchmark::kMillisecond);

void BM_ProteinWithGlobalTm(benchmark::State& state) {
    const ProteinData protein = Protein();
    ProteinFitOptions options;
    options.residue = Amide();
    options.globalTm = true;
    options.monteCarloSets = 500;
    options.jobs = static_cast<int>(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(FitProtein(protein, options));
}
BENCHMARK(BM_ProteinWithGlobalTm)->Arg(1)->Arg(2)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
}  // namespace veldorin
