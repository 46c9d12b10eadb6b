// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <atomic>
#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fit/diffusion_estimate.h"
#include "fit/diffusion_tensor.h"
#include "fit/protein_data.h"
#include "fit/residue_fit.h"

namespace veldorin {

// How far a protein's fit has got, for another thread to show while it runs, and that
// thread's request to stop it. A stage's steps are residues, synthetic sets or, for tm,
// totals of the protein's chi2 (as many as a search usually takes).
struct ProteinFitProgress {
    enum class Stage { LocalTm, Selecting, Tm, MonteCarlo, TmError, Tensor };
    std::atomic<Stage> stage = Stage::LocalTm;
    std::atomic<int> round = 0;  // of the global tm's selections, from 1
    std::atomic<int> done = 0;
    std::atomic<int> steps = 0;
    std::atomic<bool> stop = false;
};

// Enough Monte Carlo sets for errors to two digits many times over; the whole protein's
// sets are held at once, so more would only fill the memory.
inline constexpr int kMaxMonteCarloSets = 10000;

// The overall tumbling fitted as a rotational diffusion tensor, from the directions of the
// residues' bonds in the structure; with several models, the criterion chooses among them.
struct DiffusionOptions {
    std::map<std::string, Vector3> bonds;  // by residue
    std::vector<DiffusionModel> models{DiffusionModel::Sphere};
};

// How a whole protein is fitted. tm is one value for all residues fitted with them
// (globalTm), fixed at residue.tmPs (residue.fitTm false), or fitted per residue.
struct ProteinFitOptions {
    ResidueFitSettings residue;               // the spin system; tm fixed when fitTm is false
    std::optional<int> model;                 // one model for every residue; otherwise each selects
    std::map<std::string, int> chosenModels;  // by residue: a model chosen by hand
    Criterion criterion = Criterion::Aic;
    bool globalTm = false;  // one tm for all residues, fitted with them
    int monteCarloSets = 500;
    std::uint64_t seed = 1;
    int jobs = 1;
    ProteinFitProgress* progress = nullptr;     // nothing: no one watches
    std::optional<DiffusionOptions> diffusion;  // instead of tm: a tensor
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

// One round of a diffusion model's fit: each residue's model (-1 where none) and, with
// them, the tensor fitted and the total chi2.
struct DiffusionRound {
    std::vector<int> models;
    DiffusionTensor tensor;
    double chi2 = 0.0;
};

// The errors of a tensor's principal values (ascending, as PrincipalAxesOf orders them), of
// tm, and of each principal axis's direction (the typical angle it turns by, in degrees);
// NaN where the data do not give one.
struct TensorErrors {
    double tmPs = 0.0;
    std::array<double, 3> d{};
    std::array<double, 3> axesDegrees{};
    double spheroidRatio = std::numeric_limits<double>::quiet_NaN();  // of D∥/D⊥
    bool monteCarlo = false;  // from the synthetic sets; otherwise from the covariance
};

// One diffusion model fitted with every residue's model selected under it.
struct DiffusionModelFit {
    DiffusionModel model = DiffusionModel::Sphere;
    DiffusionTensor tensor;
    TensorErrors errors;
    std::optional<TensorEstimate> estimate;  // the start from the R2/R1 ratios
    std::string failure;                     // why it was not fitted: no rounds then
    std::vector<DiffusionRound> rounds;
    double chi2 = 0.0;
    std::size_t parameters = 0;  // the residues' free parameters and the tensor's
    std::size_t measurements = 0;
    double score = 0.0;  // by the options' criterion
};

// Why a residue of the data is not fitted with a diffusion tensor.
inline constexpr std::string_view kNoBond = "no bond in the structure";

// The diffusion models fitted and the one the criterion chose, whose residues the fit holds.
struct DiffusionResult {
    std::vector<DiffusionModelFit> candidates;  // in the options' order
    std::size_t chosen = 0;
    std::vector<std::string> withoutBond;  // residues of the data with no bond: not fitted
    const DiffusionModelFit& Chosen() const { return candidates[chosen]; }
};

struct ProteinFit {
    std::vector<ResidueOutcome> residues;  // in the order of the data
    std::optional<double> globalTmPs;      // with the options' globalTm
    double globalTmErrorPs = 0.0;          // NaN when not found
    TmErrorSource globalTmErrorSource = TmErrorSource::None;
    double globalTmLowPs = 0.0;   // the profile's interval (Profile) or the Monte Carlo
    double globalTmHighPs = 0.0;  // 2.5 and 97.5 percentiles (MonteCarlo)
    int rounds = 0;               // global rounds until the models stopped changing
    bool stopped = false;         // asked to stop: the results are incomplete
    std::optional<DiffusionResult> diffusion;  // with the options' diffusion
};

// Fits every residue, on `jobs` threads; the result does not depend on their number. A
// residue takes its model chosen by hand, or the one model asked for, or the model the
// criterion prefers among those not eliminated: by
// EliminationReason, or by a Monte Carlo run in which more than a tenth of the synthetic
// fits failed. A residue with no model left is not fitted.
ProteinFit FitProtein(const ProteinData& data, const ProteinFitOptions& options);

// What the results give for each residue, in the order of their CSV.
enum class ResultQuantity { Tm, S2, S2f, S2s, Te, Tf, Ts, Rex, Csa };
inline constexpr int kResultQuantityCount = 9;
// "tm_ps", "S2", "S2f", "S2s", "te_ps", "tf_ps", "ts_ps", "Rex_800", "CSA_ppm".
std::string_view CsvNameOf(ResultQuantity quantity);

struct ResultValue {
    double value = 0.0;
    double error = 0.0;  // NaN where there is none
};
// A residue's value of the quantity with its error, as the CSV gives them; nothing where
// its model has no such value or it has no model.
std::optional<ResultValue> ResultOf(const ProteinFit& fit, const ResidueOutcome& outcome,
                                    ResultQuantity quantity);

// How the results write a value and its error.
enum class CsvRounding {
    Full,  // each the shortest text that reads back as the same double
    // The error to 2 significant digits, the value to the same decimal place: 0.851234 ±
    // 0.0123 as 0.851, 0.012; 4567.8 ± 123 as 4570, 120; an error of 0.0996 as 0.10. The
    // double's exact value is rounded, a tie to the even digit. A value without an error
    // (none, or 0) at full precision.
    ToError,
};
// A value and its error as the results write them; empty where not finite.
struct ResultCells {
    std::string value;
    std::string error;
};
ResultCells ResultCellsOf(const ResultValue& result, CsvRounding rounding);

// The results as CSV: residue, model, then each parameter and its error as NAME,
// NAME_error (tm_ps, S2, S2f, S2s, te_ps, tf_ps, ts_ps, Rex_800, CSA_ppm; empty where
// the model has none), chi2, aicc, flags. Errors are the Monte Carlo standard deviations
// when there were Monte Carlo sets, otherwise those of the covariance; the error of a
// parameter the data do not determine is empty, as is that of a parameter at a bound
// without Monte Carlo. The rounding is that of the parameters; chi2 and aicc are written in full.
std::string ProteinFitCsv(const ProteinFit& fit, CsvRounding rounding = CsvRounding::Full);
// The measurements beside the values the fitted models give back.
std::string BackCalculatedCsv(const ProteinData& data, const ProteinFit& fit);

}  // namespace veldorin
