// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The steps a protein's fit is made of, shared by its fit with one tm and its fit with a
// diffusion tensor: running residues in parallel, selecting their models, their synthetic
// sets, the values they give back.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "fit/protein_fit.h"

namespace veldorin {

bool Stopped(const ProteinFitOptions& options);
void BeginStage(const ProteinFitOptions& options, ProteinFitProgress::Stage stage,
                std::size_t steps);
void Step(const ProteinFitOptions& options);

// Whether each index done is a step of the stage shown.
enum class Counted { No, Yes };

// Runs `work` for 0..count-1 on up to `jobs` threads, no more than the cores: more would
// only wait for them. When the system starts fewer, the ones it started share the work.
// After a request to stop, no further index starts.
void ForEachIndex(std::size_t count, const ProteinFitOptions& options,
                  const std::function<void(std::size_t)>& work, Counted counted = Counted::No);

// A model whose synthetic fits fail this often has a minimum the data do not reach
// reliably: more than a tenth.
inline bool TooManyFailed(int failed, int sets) { return 10 * failed > sets; }
std::string MonteCarloFailures(int failed, int sets);

// The settings each residue is fitted at: the same for all, or each its own (the tumbling
// its bond sees).
class ResidueSettings {
public:
    explicit ResidueSettings(ResidueFitSettings all) : all_(std::move(all)) {}
    explicit ResidueSettings(std::vector<ResidueFitSettings> each) : each_(std::move(each)) {}
    const ResidueFitSettings& operator[](std::size_t residue) const {
        return each_.empty() ? all_ : each_[residue];
    }

private:
    ResidueFitSettings all_;
    std::vector<ResidueFitSettings> each_;
};

// The models a residue may take at the settings, best first, and those eliminated, the
// ones already `banned` among them.
struct Candidates {
    std::vector<ModelFit> ranked;
    std::vector<EliminatedModel> eliminated;  // by model number
};

// Every model the residue may take fitted at the settings, each with why it is eliminated
// if it is: all of them when it selects, else its one model (none when that is banned).
std::vector<ModelFit> ModelFitsOf(const ResidueData& residue, const ResidueFitSettings& settings,
                                  const ProteinFitOptions& options,
                                  const std::vector<EliminatedModel>& banned);

Candidates CandidatesAmong(std::vector<ModelFit> fits, const ProteinFitOptions& options,
                           const std::vector<EliminatedModel>& banned);

// Each residue's fits of the models it may take at one overall tumbling, and its best
// candidate.
struct Selection {
    std::vector<std::vector<ModelFit>> fits;  // by residue
    std::vector<ResidueOutcome> outcomes;
    bool fromGrid = true;  // every fit from the grid, not from an earlier selection's
};

// Each residue's best candidate at the settings, without Monte Carlo: every model fitted
// from the grid, or, given an earlier selection, refitted from its fits there.
Selection SelectionAt(const ProteinData& data, const ResidueSettings& settings,
                      const ProteinFitOptions& options,
                      const std::vector<std::vector<EliminatedModel>>& banned,
                      const Selection* earlier = nullptr);

// Each residue's model, -1 where it has none.
std::vector<int> ChosenModels(const std::vector<ResidueOutcome>& outcomes);

// Solves the symmetric normal equations a x = b (a is q by q) by Cholesky on the
// equilibrated matrix, leaving out (x = 0) each direction in which a is singular: what
// the data do not fix does not move.
std::vector<double> SolveNormal(std::vector<double> a, std::vector<double> b, std::size_t q);

// One residue in the Monte Carlo of the whole protein: its fit and its synthetic sets.
struct SyntheticResidue {
    const ModelFit* fit = nullptr;  // nothing when the residue has no model
    std::vector<Measurement> compared;
    std::vector<std::vector<double>> sets;  // each set's value of every measurement
};
std::vector<SyntheticResidue> SyntheticResidues(const ProteinData& data,
                                                const std::vector<ResidueOutcome>& outcomes,
                                                const ResidueSettings& settings,
                                                const ProteinFitOptions& options);
// The measurements of one synthetic set of the residue.
std::vector<Measurement> SyntheticData(const SyntheticResidue& residue, std::size_t set);

// A start from the residues' own tm; then rounds of selection at a fixed tm and a fit of
// the one tm. The Monte Carlo of the whole protein follows; a residue whose model failed too
// many synthetic fits loses that model, and tm is fitted again.
ProteinFit FitWithGlobalTm(const ProteinData& data, const ProteinFitOptions& options);

// The model's value for each measurement, beside it in the output.
void BackCalculate(const ProteinData& data, const ResidueSettings& settings,
                   const ProteinFitOptions& options, std::vector<ResidueOutcome>& outcomes);

}  // namespace veldorin
