// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fit/intensity_decay.h"
#include "fit/model_free_motion.h"
#include "fit/protein_data.h"
#include "fit/protein_fit.h"
#include "protein/protein_structure.h"

namespace veldorin {

// --fit's options when none is given: one tm for the protein, models selected by AIC,
// 500 Monte Carlo sets, on every core.
ProteinFitOptions DefaultProteinFitOptions();

// What a protein's fit takes besides the data, as `--fit` takes it: the spin system with
// its nuclei named as on the command line, and how models and tm are fitted.
struct ProteinSettings {
    std::string nucleus = "15N";
    std::string partner = "1H";
    ProteinFitOptions fit = DefaultProteinFitOptions();
    double rexFieldMHz = 800.0;  // where the results show Rex
    // With a structure: the bond read from it and the tensor fitted instead of tm.
    BondSelection bond;
    DiffusionChoice diffusion = DiffusionChoice::Auto;
};

// What was changed by hand for one residue, kept across fits and in the project file.
struct ResidueChoice {
    std::optional<int> model;  // the model it takes; nothing: as the settings select
    bool rowsEdited = false;   // its measurements are no longer those of the data files
    friend bool operator==(const ResidueChoice&, const ResidueChoice&) = default;
};

// A protein being analysed: its data in sequence order, the settings, the last fit, the
// residues' choices made by hand, the decays of the intensity files and the structure whose
// bonds the tensor is fitted from. The fit's residues are the data's, in their order.
struct ProteinProject {
    std::vector<std::string> sources;  // the data files it was read from, as named
    ProteinData data;
    ProteinSettings settings;
    std::optional<ProteinFit> fit;
    std::map<std::string, ResidueChoice> choices;  // by residue name
    // The series of peak intensities its rates were fitted from, kept to plot the decays.
    std::vector<DecayFit> decays;
    std::optional<ProteinStructure> structure;  // none: tm as the settings fit it

    // The fit's options with the models chosen by hand and, with a structure, the tensor.
    ProteinFitOptions FitOptions() const;
    // The index of the residue of that name in the data.
    std::optional<std::size_t> ResidueNamed(std::string_view name) const;
    // The residue's outcome in the last fit; nothing before one.
    const ResidueOutcome* OutcomeOf(std::size_t residue) const;
    // A residue's rows replaced, as edited in the Measurements window.
    void SetRows(std::size_t residue, std::vector<Measurement> rows);
    // A residue's model chosen by hand; nothing gives it back to the selection.
    void ChooseModel(std::size_t residue, std::optional<int> model);
    // A residue refitted alone at the protein's tm: its outcome replaces the one in the fit.
    void TakeResidueFit(std::size_t residue, ResidueOutcome outcome);
};

// Residues in sequence order: by the number in the name (after a chain's "A:" prefix, by
// chain first), then by the rest of the name; names without a number after those with one.
void SortBySequence(ProteinData& data);

// The options that refit one residue of a fitted protein alone: tm fixed at the protein's
// when it was fitted for all, or the tumbling its bond sees of the protein's tensor, the
// residue's model when chosen by hand, the same Monte Carlo.
ProteinFitOptions ResidueRefitOptions(const ProteinProject& project, std::size_t residue);

// The fitted tensor as the residue's bond sees it; nothing without a tensor or a bond.
std::optional<AnisotropicTumbling> TumblingOf(const ProteinProject& project, std::size_t residue);

}  // namespace veldorin
