// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "fit/protein_fit.h"

namespace veldorin {

// A protein fitted with a rotational diffusion tensor for each of the options' diffusion
// models, as the established protocol fits one: from the tensor the R2/R1 ratios give,
// rounds of every residue's model selection under the tensor and a fit of the tensor with
// all residues' parameters, until the models and the tensor stop changing; then the model
// the criterion prefers, its errors from Monte Carlo sets in which the tensor is fitted
// again. A sphere is fitted as the one tm. Residues without a bond are not fitted.
ProteinFit FitWithDiffusion(const ProteinData& data, const ProteinFitOptions& options);

}  // namespace veldorin
