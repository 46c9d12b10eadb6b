// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/measurement.h"
#include "fit/compared_values.h"
#include "fit/least_squares.h"
#include "fit/model_free.h"
#include "fit/monte_carlo.h"

namespace veldorin {

// What is fitted besides the model's own parameters.
struct ResidueFitSettings {
    FitSpinSystem system;  // its Rex and CSA are the fixed values
    bool fitTm = true;     // otherwise tm is the fixed value below
    double tmPs = 5000.0;
    bool fitCsa = false;
    // Anisotropic overall tumbling as the residue's bond sees it; when given it takes tm's
    // place in the spectral density, and tmPs (not fitted) is the tensor's 1/(6 Diso).
    SpectralTerms tumbling;
};

enum class Criterion { Aic, Aicc, Bic };

// One model fitted to one residue's measurements.
struct ModelFit {
    int model = 0;
    FitResult::Status status = FitResult::Status::Failed;
    std::string reason;
    ModelFreeValues values;
    ModelFreeValues errors;                // NaN for a parameter that was not fitted
    std::vector<ModelFreeParameter> free;  // in the fit's order, tm and CSA included when fitted
    std::vector<ParameterFlag> flags;      // one per free parameter, in the same order
    double chi2 = 0.0;
    std::size_t measurements = 0;
    std::string eliminated;  // why a selection leaves the model out; empty when it stays
    double Score(Criterion criterion) const;
    bool NoDegreesOfFreedom() const { return measurements <= free.size() && !free.empty(); }
    // The flags as the output writes them: "at_bound:Rex_800;undetermined:te_ps;no_dof".
    std::string FlagsText() const;
};

// The parameters a model fits under the settings, tm and the CSA included when fitted.
std::vector<ModelFreeParameter> FreeParameters(const ModelFreeModel& model,
                                               const ResidueFitSettings& settings);

// Fits the model: weighted least squares from the best point of a coarse grid. Too few
// measurements for the free parameters is a failure that says so.
ModelFit FitModel(const std::vector<Measurement>& data, const ResidueFitSettings& settings,
                  const ModelFreeModel& model);

// Why a model is left out of a selection, as the literature eliminates models: a fit
// that did not converge, no degrees of freedom, an internal time (te, tf, ts) the data
// determine of at least twice tm, a fitted local tm of 50 ns or more. Empty when the model
// stays.
std::string EliminationReason(const ModelFit& fit, const ResidueFitSettings& settings);

// The fit's model fitted again to other data (a synthetic set, or the same at another
// fixed tm), starting from the fit's values alone, as Monte Carlo does.
ModelFit RefitModel(const std::vector<Measurement>& data, const ResidueFitSettings& settings,
                    const ModelFit& from);

// Every model m0..m9 fitted, each with the reason it is eliminated if it is, and the
// index of the one the criterion prefers among those left (-1 when none is left).
struct ModelSelection {
    std::vector<ModelFit> fits;
    int chosen = -1;
};
ModelSelection SelectModel(const std::vector<Measurement>& data, const ResidueFitSettings& settings,
                           Criterion criterion);

struct MonteCarloErrors {
    std::array<ParameterSpread, kModelFreeParameterCount> spread{};
    ParameterSpread s2;  // of the derived S2
    int fitted = 0;      // the synthetic sets whose fit converged
};
// Monte Carlo errors: synthetic data sets from the fitted values plus Gaussian noise of
// each measurement's uncertainty, each fitted again from the fitted values; per free
// parameter the standard deviation and the 2.5 and 97.5 percentiles. Reproducible for a
// seed.
MonteCarloErrors MonteCarlo(const std::vector<Measurement>& data,
                            const ResidueFitSettings& settings, const ModelFit& fit, int sets,
                            std::uint64_t seed);
// What a Monte Carlo samples of a synthetic fit at the values: each of the fit's free
// parameters in order, then S2.
std::vector<double> SampleOf(const ModelFit& fit, const ModelFreeValues& values);
// The errors from the spreads of those samples; NaN for a parameter that is not free.
MonteCarloErrors ErrorsOf(const ModelFit& fit, const std::vector<ParameterSpread>& spreads,
                          int fitted);

}  // namespace veldorin
