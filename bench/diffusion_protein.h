// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "fit/protein_fit.h"

// Synthetic proteins tumbling anisotropically, with known tensor and models, for the
// diffusion check and benchmark.
namespace veldorin::diffusion_check {

struct SyntheticProtein {
    ProteinData data;
    std::map<std::string, Vector3> bonds;  // random directions
    DiffusionTensor tensor;
    std::vector<int> models;  // each residue's true model
};

// A tensor of the model with tm near 8 ns, D_par/D_perp 1.6 (prolate) or 0.6 (oblate),
// principal values 1 : 1.35 : 1.8 (ellipsoid), in a random orientation.
DiffusionTensor TrueTensor(DiffusionModel model, std::uint64_t seed);

// Residues mostly of models 1 and 2, some with exchange (3, 4) or a slow motion (5); R1,
// R2 and NOE at 600 and 800 MHz with errors of 2 %, and Gaussian noise of them when asked.
SyntheticProtein MakeProtein(const DiffusionTensor& tensor, int residues, bool noise,
                             std::uint64_t seed);

// The protein as a structure: each residue's N on a line 3.8 Å apart, its H along the bond.
std::string PdbOf(const SyntheticProtein& protein);

}  // namespace veldorin::diffusion_check
