// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "fit/protein_fit.h"
#include "structure/bond_vectors.h"

namespace veldorin {

// A structure file as a fit takes it: its text, to be written back, and its bonds.
struct StructureInput {
    std::string text;
    StructureBonds bonds;
};

// The structure's bonds; nothing, said on `errors`, when the file cannot be read or holds
// no bond of the data's residues. What the reader did (hydrogens placed) and the data's
// residues without a bond are said there too.
std::optional<StructureInput> ReadStructureInput(const std::string& path, const BondSelection& bond,
                                                 const ProteinData& data, std::ostream& errors);

}  // namespace veldorin
