// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>

#include "engine/motion.h"
#include "fit/diffusion_tensor.h"
#include "fit/motion_fit.h"
#include "fit/residue_fit.h"

namespace veldorin {

// The ranking of the model-free family in the window, from the window's fit: the spin
// system with no exchange (the models that have Rex fit it), tm fitted when the motion's
// tau_m is freed and otherwise the motion's own (the diffusion's for an axial one), the CSA
// fitted when it is freed.
ResidueFitSettings RankingSettings(const FitSpinSystem& system, const Motion& motion,
                                   const MotionFitChoice& choice);

// The overall tumbling of a residue fitted under a diffusion tensor: the tensor and the
// residue's bond (the structure's frame).
struct AnisotropicTumbling {
    DiffusionTensor tensor;
    Vector3 bond{};
};

// How many Lorentzians the model's spectral density has under the tumbling: one for each
// term of the tumbling (one without a tumbling), times one more than the model's internal
// motions.
int LorentzianCountOf(const ModelFreeModel& model,
                      const std::optional<AnisotropicTumbling>& tumbling);

// A fitted model as the window's motion, with the choice that frees the same parameters
// and the Rex and CSA it found: m0 and m9 rigid (m9 with its exchange); m1 to m4
// model-free (tau_e 0 where the model has none); m5 to m8 extended model-free (tau_f 0
// where it has none). Under a spheroid's tumbling, m0 to m4 and m9 are the axial diffusion
// of its D_par and D_perp, at the bond's angle to the unique axis. No motion gives the
// other models under a spheroid or any under an ellipsoid: they take the isotropic tumbling
// of the fit's tm, and `exact` is false.
struct ModelAsMotion {
    Motion motion;
    MotionFitChoice choice;
    double rex = 0.0;   // 1/s at 800 MHz
    double csa = 0.0;   // ppm
    bool exact = true;  // the motion's Lorentzians are the fitted model's
};
ModelAsMotion MotionOfModel(const ModelFit& fit,
                            const std::optional<AnisotropicTumbling>& tumbling = std::nullopt);

}  // namespace veldorin
