// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <string>
#include <vector>

#include "document/model_document.h"
#include "fit/model_free_motion.h"
#include "protein/protein_project.h"

namespace veldorin {

// One residue of a protein as the model being edited: the spin system of the settings
// (the nucleus with its partner, nothing else), the residue's rows, and its fitted model
// as the motion, with the Lorentzians, Rex, CSA and the fit's choice that go with it. The
// view of `base` (plot, array mode, table mode) is kept. Before a fit, the motion is the
// base's. A residue fitted under a spheroid's `tumbling` shows it as an axial diffusion;
// one whose Lorentzians no motion gives shows them without a motion when they fit in the
// rows, and otherwise the isotropic tumbling of its tm, with a note that says so.
struct ResidueModel {
    ModelDocument document;
    std::string note;  // what the document cannot show; empty when it shows the fit
};
ResidueModel ResidueDocument(const ProteinProject& project, std::size_t residue,
                             const ModelDocument& base,
                             const std::optional<AnisotropicTumbling>& tumbling = std::nullopt);

// What an edit of a residue's document changes for the residue: rows that are no longer
// those shown, a model of the family applied by hand (by the choice of parameters the
// document now frees).
struct ResidueEdit {
    std::optional<std::vector<Measurement>> rows;  // the readable rows
    std::optional<int> model;
    bool Any() const { return rows || model; }
};
ResidueEdit EditOf(const ModelDocument& shown, const ModelDocument& edited,
                   const ProteinSettings& settings,
                   const std::optional<AnisotropicTumbling>& tumbling = std::nullopt);

}  // namespace veldorin
