// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A protein's diffusion tensor from its structure: 135 residues at 600 and 800 MHz (a
// synthetic prolate protein with 2 % noise), the whole protocol with the four diffusion
// models and every residue's model selection, then the same with 500 Monte Carlo sets of
// the model chosen, the tensor fitted again in each. Two threads, as on a two-core machine.
#include <benchmark/benchmark.h>

#include "bench/diffusion_protein.h"
#include "fit/protein_fit.h"

namespace veldorin {
namespace {

void FitWithTensor(benchmark::State& state, int sets) {
    const auto protein = diffusion_check::MakeProtein(
        diffusion_check::TrueTensor(DiffusionModel::Prolate, 1), 135, true, 1);
    ProteinFitOptions options;
    options.residue.system = BackboneAmide();
    options.globalTm = true;
    options.monteCarloSets = sets;
    options.jobs = 2;
    options.diffusion = DiffusionOptions{protein.bonds,
                                         {DiffusionModel::Sphere, DiffusionModel::Prolate,
                                          DiffusionModel::Oblate, DiffusionModel::Ellipsoid}};
    for (auto _ : state) benchmark::DoNotOptimize(FitProtein(protein.data, options));
}

void BM_DiffusionProtocolOf135Residues(benchmark::State& state) { FitWithTensor(state, 0); }
BENCHMARK(BM_DiffusionProtocolOf135Residues)->Unit(benchmark::kSecond)->Iterations(1);

void BM_DiffusionProtocolWith500MonteCarloSets(benchmark::State& state) {
    FitWithTensor(state, 500);
}
BENCHMARK(BM_DiffusionProtocolWith500MonteCarloSets)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
}  // namespace veldorin
