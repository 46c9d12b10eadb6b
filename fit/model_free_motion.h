// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "engine/motion.h"
#include "fit/motion_fit.h"
#include "fit/residue_fit.h"

namespace veldorin {

// The ranking of the model-free family in the window, from the window's fit: the spin
// system with no exchange (the models that have Rex fit it), tm fitted when the motion's
// tau_m is freed and otherwise the motion's own (the diffusion's for an axial one), the CSA
// fitted when it is freed.
ResidueFitSettings RankingSettings(const FitSpinSystem& system, const Motion& motion,
                                   const MotionFitChoice& choice);

// A fitted model as the window's motion, with the choice that frees the same parameters
// and the Rex and CSA it found: m0 and m9 rigid (m9 with its exchange); m1 to m4
// model-free (tau_e 0 where the model has none); m5 to m8 extended model-free (tau_f 0
// where it has none).
struct ModelAsMotion {
    Motion motion;
    MotionFitChoice choice;
    double rex = 0.0;  // 1/s at 800 MHz
    double csa = 0.0;  // ppm
};
ModelAsMotion MotionOfModel(const ModelFit& fit);

}  // namespace veldorin
