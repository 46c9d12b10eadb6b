// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fit/diffusion_tensor.h"
#include "fit/protein_data.h"
#include "structure/bond_vectors.h"

namespace veldorin {

// Which diffusion tensor a protein with a structure is fitted with: one model, or each
// of them with the criterion choosing.
enum class DiffusionChoice { Sphere, Prolate, Oblate, Ellipsoid, Auto };
inline constexpr int kDiffusionChoiceCount = 5;

std::vector<DiffusionModel> ModelsOf(DiffusionChoice choice);

// "N-H": the bond's two atoms, as --bond names them; nothing for a text without two names.
std::string BondText(const BondSelection& bond);
std::optional<BondSelection> BondNamed(std::string_view text);

// The structure a protein's tensor is fitted from: the file as named when opened, its
// text, to be written back, and the bonds read from it.
struct ProteinStructure {
    std::string fileName;
    std::string text;
    StructureBonds bonds;
};

struct ProteinStructureRead {
    std::optional<ProteinStructure> structure;
    std::string error;  // why there is none
    // What the user should know: the hydrogens placed, the data's residues without a bond.
    std::string note;
};

// The structure's bonds for the data; none when the text holds no such bond of the data's
// residues (any bond at all before there are data).
ProteinStructureRead ReadProteinStructure(std::string fileName, std::string text,
                                          const BondSelection& bond, const ProteinData& data);

// A structure read with a bond chosen before it was there (for another structure, or kept
// in a project file): a model it does not have is model 1 instead, said in `modelNote` and
// first in the read's note. One model is model 1 however asked, as the window shows it.
struct ProteinStructureTaken {
    ProteinStructureRead read;
    BondSelection bond;     // the bond read
    std::string modelNote;  // empty when the model asked for was read
};
ProteinStructureTaken TakeProteinStructure(std::string fileName, std::string text,
                                           const BondSelection& bond, const ProteinData& data);

}  // namespace veldorin
