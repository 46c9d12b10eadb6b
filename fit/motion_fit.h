// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/measurement.h"
#include "engine/motion.h"
#include "fit/least_squares.h"
#include "fit/monte_carlo.h"
#include "fit/relaxation_model.h"

namespace veldorin {

struct MotionFitResult {
    FitResult::Status status = FitResult::Status::Failed;
    std::string reason;
    Motion motion;  // fitted (the start where not freed)
    Motion errors;  // the standard errors of the freed parameters (NaN if flagged), else 0
    // How each freed parameter ended: the motion's in the choice's order, then Rex, then
    // the CSA; a flagged parameter's error means nothing.
    std::vector<ParameterFlag> flags;
    double rex = 0.0;  // 1/s at 800 MHz
    double rexError = 0.0;
    double csa = 0.0;  // ppm
    double csaError = 0.0;
    double chi2 = 0.0;
    int measurements = 0;
    int freeCount = 0;
    int DegreesOfFreedom() const { return measurements - freeCount; }
};

// Fits the freed parameters of the motion (and Rex and the CSA) to the readable rows, the
// spin system evaluated in double by the table's formulas, from the current values: the
// point fit of the window, quick enough for every key release. Too few rows for the freed
// parameters, or none freed, is a failure that says so.
MotionFitResult FitMotion(const FitSpinSystem& system, const Motion& start,
                          const MotionFitChoice& choice,
                          const std::vector<std::optional<Measurement>>& rows);

// Monte Carlo errors of a fit: synthetic sets from the fitted motion, Rex and CSA plus
// Gaussian noise of each row's uncertainty, each fitted again from the fitted values; the
// same sets for the same seed. `carryOn` hears after each set how many are done, and
// stops the run by answering false.
struct MotionMonteCarlo {
    std::vector<ParameterSpread> spread;  // the freed parameters in order, then Rex, then CSA
    int drawn = 0;                        // the sets made
    int fitted = 0;                       // those whose fit converged
    bool stopped = false;
};
MotionMonteCarlo MonteCarloOfMotion(const FitSpinSystem& system, const MotionFitResult& fitted,
                                    const MotionFitChoice& choice,
                                    const std::vector<std::optional<Measurement>>& rows, int sets,
                                    std::uint64_t seed,
                                    const std::function<bool(int done)>& carryOn);

// The six Lorentzians the engine gives a motion, as spectral terms. The model-free family's
// own terms (ModelFreeTerms) come from its values directly, in ps, as the batch fit has them.
SpectralTerms MotionTerms(const Motion& motion);

}  // namespace veldorin
