// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <vector>

#include "document/model_document.h"
#include "protein/protein_project.h"

namespace veldorin {

// One residue of a protein as the model being edited: the spin system of the settings
// (the nucleus with its partner, nothing else), the residue's rows, and its fitted model
// as the motion, with the Lorentzians, Rex, CSA and the fit's choice that go with it. The
// view of `base` (plot, array mode, table mode) is kept. Before a fit, the motion is the
// base's.
ModelDocument ResidueDocument(const ProteinProject& project, std::size_t residue,
                              const ModelDocument& base);

// What an edit of a residue's document changes for the residue: rows that are no longer
// those shown, a model of the family applied by hand (by the choice of parameters the
// document now frees).
struct ResidueEdit {
    std::optional<std::vector<Measurement>> rows;  // the readable rows
    std::optional<int> model;
    bool Any() const { return rows || model; }
};
ResidueEdit EditOf(const ModelDocument& shown, const ModelDocument& edited,
                   const ProteinSettings& settings);

}  // namespace veldorin
