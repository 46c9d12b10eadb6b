// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fit/protein_data.h"
#include "fit/residue_fit.h"

namespace veldorin {

// How a whole protein is fitted. tm is one value for all residues fitted with them
// (globalTm), fixed at residue.tmPs (residue.fitTm false), or fitted per residue.
struct ProteinFitOptions {
    ResidueFitSettings residue;  // the spin system; tm fixed when fitTm is false
    std::optional<int> model;    // one model for every residue; otherwise each selects
    Criterion criterion = Criterion::Aic;
    bool globalTm = false;  // one tm for all residues, fitted with them
    int monteCarloSets = 500;
    std::uint64_t seed = 1;
    int jobs = 1;
};

// A model a residue cannot take, and why.
struct EliminatedModel {
    int model = 0;
    std::string reason;
};

struct ResidueOutcome {
    std::string residue;
    std::optional<ModelFit> fit;  // nothing when the residue could not be fitted
    std::optional<MonteCarloErrors> monteCarlo;
    std::string failure;                      // why not
    std::vector<EliminatedModel> eliminated;  // by model number
    int monteCarloFailed = 0;                 // the chosen model's synthetic fits that failed
    std::vector<double> calculated;           // the model's value for each measurement
};

// How the error of the global tm was found.
enum class TmErrorSource {
    None,        // not found: the total chi2 does not rise by 1 within reach
    Profile,     // where the total chi2, each residue refitted, rises by 1 on each side
    MonteCarlo,  // the spread of tm refitted to the whole protein in every synthetic set
};

struct ProteinFit {
    std::vector<ResidueOutcome> residues;  // in the order of the data
    std::optional<double> globalTmPs;      // with the options' globalTm
    double globalTmErrorPs = 0.0;          // NaN when not found
    TmErrorSource globalTmErrorSource = TmErrorSource::None;
    double globalTmLowPs = 0.0;   // the profile's interval (Profile) or the Monte Carlo
    double globalTmHighPs = 0.0;  // 2.5 and 97.5 percentiles (MonteCarlo)
    int rounds = 0;               // global rounds until the models stopped changing
};

// Fits every residue, on `jobs` threads; the result does not depend on their number. A
// residue takes the model the criterion prefers among those not eliminated: by
// EliminationReason, or by a Monte Carlo run in which more than a tenth of the synthetic
// fits failed. A residue with no model left is not fitted.
ProteinFit FitProtein(const ProteinData& data, const ProteinFitOptions& options);

// The results as CSV: residue, model, then each parameter and its error as NAME,
// NAME_error (tm_ps, S2, S2f, S2s, te_ps, tf_ps, ts_ps, Rex_800, CSA_ppm; empty where
// the model has none), chi2, aicc, flags. Errors are the Monte Carlo standard deviations
// when there were Monte Carlo sets, otherwise those of the covariance; the error of a
// parameter the data do not determine is empty, as is that of a parameter at a bound
// without Monte Carlo.
std::string ProteinFitCsv(const ProteinFit& fit);
// The measurements beside the values the fitted models give back.
std::string BackCalculatedCsv(const ProteinData& data, const ProteinFit& fit);

}  // namespace veldorin
