// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <cstdint>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "engine/measurement.h"
#include "fit/least_squares.h"
#include "fit/model_free.h"

namespace veldorin {

// The measurement as it is compared: a time as its rate (R1 for T1), anything else as it is.
Measurement Compared(const Measurement& measurement);

// What the model gives for the measurement's compared quantity at its field: R1 or R2 in
// 1/s, or the NOE ratio 1 + eta.
double CalculatedValue(const FitSpinSystem& system, const SpectralTerms& terms,
                       const Measurement& measurement);

// The weighted residuals (measured - calculated) / uncertainty of compared measurements.
// The rates at a field are worked out once for each run of rows at that field, as rows
// usually come grouped by field.
void WeightedResiduals(const FitSpinSystem& system, const SpectralTerms& terms,
                       std::span<const Measurement> compared, std::span<double> out);

// The weighted residuals of the compared data under the model at the values, the spin
// system taking its exchange and anisotropy from the values.
void ModelResiduals(const FitSpinSystem& system, const ModelFreeModel& model,
                    const ModelFreeValues& values, std::span<const Measurement> compared,
                    std::span<double> out);

// What the model gives back for each measurement at the values, likewise.
std::vector<double> CalculatedValues(const FitSpinSystem& system, const ModelFreeModel& model,
                                     const ModelFreeValues& values,
                                     std::span<const Measurement> measurements);

// What is fitted besides the model's own parameters.
struct ResidueFitSettings {
    FitSpinSystem system;  // its Rex and CSA are the fixed values
    bool fitTm = true;     // otherwise tm is the fixed value below
    double tm = 5000.0;    // ps
    bool fitCsa = false;
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

// Monte Carlo errors: synthetic data sets from the fitted values plus Gaussian noise of
// each measurement's uncertainty, each fitted again from the fitted values; per free
// parameter the standard deviation and the 2.5 and 97.5 percentiles. Reproducible for a
// seed.
struct ParameterSpread {
    double standardDeviation = 0.0;
    double low = 0.0;   // 2.5 percentile
    double high = 0.0;  // 97.5 percentile
};
// The spread of a parameter's samples; NaN with fewer than two.
ParameterSpread SpreadOf(std::vector<double> samples);
// Synthetic data sets, one after another: each compared measurement's calculated value
// plus Gaussian noise of its uncertainty; the same sets for the same seed.
class SyntheticSets {
public:
    SyntheticSets(std::vector<Measurement> compared, std::vector<double> calculated,
                  std::uint64_t seed);
    const std::vector<Measurement>& Next();

private:
    std::vector<Measurement> set_;
    std::vector<double> calculated_;
    std::mt19937_64 random_;
    std::normal_distribution<double> noise_{0.0, 1.0};
};
struct MonteCarloErrors {
    std::array<ParameterSpread, kModelFreeParameterCount> spread{};
    ParameterSpread s2;  // of the derived S2
    int fitted = 0;      // the synthetic sets whose fit converged
};
MonteCarloErrors MonteCarlo(const std::vector<Measurement>& data,
                            const ResidueFitSettings& settings, const ModelFit& fit, int sets,
                            std::uint64_t seed);

}  // namespace veldorin
