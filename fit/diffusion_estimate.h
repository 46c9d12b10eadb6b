// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "fit/diffusion_tensor.h"
#include "fit/protein_data.h"

namespace veldorin {

// A residue left out of the first estimate, and why ("NOE 0.52 below 0.65 at 600 MHz").
struct LeftOutResidue {
    std::string residue;
    std::string reason;
};

// The tensor the R2/R1 ratios alone give, before the full fit: from each residue's local
// correlation time (the R2/R1 of a rigid bond tumbling isotropically), only residues
// without large internal motion (the NOE filter) and without exchange (the R2/R1 filter),
// with a bond vector.
struct TensorEstimate {
    DiffusionTensor tensor;         // of the model asked for
    std::vector<std::string> used;  // the residues whose ratios it rests on
    std::vector<LeftOutResidue> leftOut;
    std::string filters;  // the filters in words, as the report gives them
};

// Nothing when too few residues pass for the model's parameters.
std::optional<TensorEstimate> EstimateTensor(const ProteinData& data,
                                             const std::map<std::string, Vector3>& bonds,
                                             DiffusionModel model, const FitSpinSystem& system);

}  // namespace veldorin
