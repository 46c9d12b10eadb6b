// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <gemmi/cifdoc.hpp>
#include <gemmi/model.hpp>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veldorin {

// A structure read from a file's text. An mmCIF file keeps its document, so that writing
// the structure back replaces only its atoms and keeps every other category.
struct StructureText {
    gemmi::Structure structure;
    std::optional<gemmi::cif::Document> document;
};

struct StructureTextRead {
    std::optional<StructureText> read;
    std::string error;
};

// PDB or mmCIF, told apart by content; a text without atoms is an error.
StructureTextRead ReadStructureText(std::string_view text);

// The structure in the format it was read from. Throws std::runtime_error where the
// writer cannot write it.
std::string WrittenStructureText(StructureText& text);

// The residues of the chains' polymers, as each model's chains hold them (the first of
// alternative conformations).
bool IsPolymerResidue(const gemmi::Residue& residue);

// How a protein's data names a residue: its author sequence number with any insertion
// code ("12", "12A"), after its author chain ("A:12") when more than one chain holds a
// polymer. Then the first such chain's residues are also named by their number alone: a
// crystal's copies of the protein, or its partners, were not what was measured.
class ResidueKeys {
public:
    explicit ResidueKeys(const gemmi::Structure& structure);
    std::string Key(const gemmi::Chain& chain, const gemmi::Residue& residue) const;
    // The number alone a key of the first chain is also found by; nothing for any other.
    std::optional<std::string> Plain(const std::string& key) const;
    // Which chain the numbers alone name, for the user; empty for a single chain.
    std::string Note() const;

private:
    std::vector<std::string> chains_;  // holding a polymer, in the file's order
};

}  // namespace veldorin
