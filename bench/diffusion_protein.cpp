// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench/diffusion_protein.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "bench/fit_check_truth.h"

namespace veldorin::diffusion_check {

using enum ModelFreeParameter;
using fit_check::CaseRandom;
using fit_check::LogUniform;
using fit_check::Uniform;

namespace {

Vector3 RandomDirection(std::mt19937_64& random) {
    const double z = Uniform(random, -1.0, 1.0);
    const double phi = Uniform(random, 0.0, 2.0 * std::numbers::pi);
    const double r = std::sqrt(1.0 - z * z);
    return {r * std::cos(phi), r * std::sin(phi), z};
}

ModelFreeValues TruthOf(int model, std::mt19937_64& random) {
    ModelFreeValues values;
    values[S2s] = Uniform(random, 0.75, 0.92);
    if (model == 2 || model == 4) values[Te] = LogUniform(random, 20.0, 200.0);
    if (model == 3 || model == 4) values[Rex] = Uniform(random, 1.5, 5.0);
    if (model == 5) {
        values[S2f] = Uniform(random, 0.8, 0.92);
        values[S2s] = Uniform(random, 0.7, 0.85);
        values[Ts] = LogUniform(random, 800.0, 2500.0);
    }
    return values;
}

}  // namespace

DiffusionTensor TrueTensor(DiffusionModel model, std::uint64_t seed) {
    std::mt19937_64 random = CaseRandom(seed, 1, static_cast<std::uint64_t>(model));
    const double diso = 1e12 / (6.0 * Uniform(random, 7000.0, 9000.0));
    std::array<double, 3> ratios{1.0, 1.0, 1.0};
    if (model == DiffusionModel::Prolate) ratios = {1.0, 1.0, 1.6};
    if (model == DiffusionModel::Oblate) ratios = {1.0, 1.0, 0.6};
    if (model == DiffusionModel::Ellipsoid) ratios = {1.0, 1.35, 1.8};
    const double scale = 3.0 * diso / (ratios[0] + ratios[1] + ratios[2]);
    DiffusionTensor tensor;
    tensor.model = model;
    for (std::size_t k = 0; k < 3; ++k) tensor.d[k] = scale * ratios[k];
    tensor.eulerAngles = {Uniform(random, 0.0, 2.0 * std::numbers::pi),
                          std::acos(Uniform(random, -1.0, 1.0)),
                          Uniform(random, 0.0, 2.0 * std::numbers::pi)};
    return tensor;
}

SyntheticProtein MakeProtein(const DiffusionTensor& tensor, int residues, bool noise,
                             std::uint64_t seed) {
    SyntheticProtein protein;
    protein.tensor = tensor;
    std::mt19937_64 random = CaseRandom(seed, 2, static_cast<std::uint64_t>(tensor.model));
    constexpr std::array<int, 20> kModels{1, 1, 1, 1, 1, 1, 1, 1, 2, 2,
                                          2, 2, 2, 2, 3, 3, 4, 5, 5, 5};
    constexpr std::array<double, 2> kFields{600.0, 800.0};
    const FitSpinSystem system = BackboneAmide();
    for (int r = 0; r < residues; ++r) {
        const std::string name = std::to_string(r + 1);
        const int model = kModels[static_cast<std::size_t>(r) % kModels.size()];
        const Vector3 bond = RandomDirection(random);
        const ModelFreeValues values = TruthOf(model, random);
        std::vector<Measurement> data = fit_check::ExactData(
            system, ModelFreeModelNumber(model), values, kFields, TumblingTerms(tensor, bond));
        if (noise) fit_check::AddNoise(data, random);
        protein.data.residues.push_back({name, std::move(data), {}});
        protein.bonds[name] = bond;
        protein.models.push_back(model);
    }
    return protein;
}

std::string PdbOf(const SyntheticProtein& protein) {
    std::string pdb;
    int serial = 0;
    for (std::size_t r = 0; r < protein.data.residues.size(); ++r) {
        const std::string& name = protein.data.residues[r].residue;
        const Vector3& bond = protein.bonds.at(name);
        const Vector3 n{3.8 * double(r), 0.0, 0.0};
        for (const auto& [atom, at] :
             {std::pair{" N  ", n},
              std::pair{" H  ", Vector3{n[0] + 1.02 * bond[0], n[1] + 1.02 * bond[1],
                                        n[2] + 1.02 * bond[2]}}}) {
            char line[100];
            std::snprintf(line, sizeof line,
                          "ATOM  %5d %4s ALA A%4d    %8.3f%8.3f%8.3f  1.00  0.00           %c\n",
                          ++serial, atom, std::stoi(name), at[0], at[1], at[2], atom[1]);
            pdb += line;
        }
    }
    return pdb + "END\n";
}

}  // namespace veldorin::diffusion_check
