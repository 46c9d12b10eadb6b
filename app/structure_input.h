// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "protein/protein_structure.h"

namespace veldorin {

// The structure file's bonds for the data, as the Protein window reads them; nothing, said
// on `errors`, when the file cannot be read or holds no bond of the data's residues. What
// the reader did (hydrogens placed) and the data's residues without a bond are said there
// too.
std::optional<ProteinStructure> ReadStructureInput(const std::string& path,
                                                   const BondSelection& bond,
                                                   const ProteinData& data, std::ostream& errors);

}  // namespace veldorin
