// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veldorin {

// Which bond of each residue: the backbone amide's N-H by default, any two atom names of
// one residue otherwise (CA-HA for 13C alpha).
struct BondSelection {
    std::string from = "N";
    std::string to = "H";
    bool averageModels = false;  // the mean of an ensemble's unit vectors, normalised
    int model = 1;               // otherwise this model of an ensemble, from 1
    friend bool operator==(const BondSelection&, const BondSelection&) = default;
};

// The bonds of a structure, keyed as a protein's data names its residues: the residue's
// sequence number ("12"), with its chain before it ("A:12") when the structure has more
// than one chain of residues.
struct StructureBonds {
    std::map<std::string, std::array<double, 3>> unitVectors;
    std::vector<std::string> placedHydrogens;  // residues whose amide H was placed
    int models = 1;                            // the structure's models (an NMR ensemble)
    std::array<double, 3> centre{};            // the mean position of the chosen model's atoms, Å
    std::string note;  // what the reader did the user should know, e.g. hydrogens placed
};

struct StructureBondsRead {
    std::optional<StructureBonds> bonds;
    std::string error;
};

// The bonds of a PDB or mmCIF file's text (told apart by content). Where the structure has
// no hydrogen named as `to` for the amide N-H, it is placed from the backbone: on the
// bisector of C(i-1)-N-CA opposite both, 1.02 A from N (not for a residue after a chain
// break or the first of a chain).
StructureBondsRead ReadStructureBonds(std::string_view text, const BondSelection& selection);

// That placed amide H, from the previous residue's C and the residue's N and CA (Å).
std::array<double, 3> PlacedAmideHydrogen(const std::array<double, 3>& previousC,
                                          const std::array<double, 3>& n,
                                          const std::array<double, 3>& ca);

// The residues of the data without a bond, in the data's order, for the message that names
// them.
std::vector<std::string> ResiduesWithoutBond(const std::vector<std::string>& residues,
                                             const StructureBonds& bonds);

// A value per residue written into the B-factor column of every atom of that residue (0
// elsewhere), the structure written back in its own format (PDB or mmCIF). The residues
// are keyed as above.
struct StructureWrite {
    std::optional<std::string> text;
    std::string error;
};
StructureWrite StructureWithBFactors(std::string_view text,
                                     const std::map<std::string, double>& values);

}  // namespace veldorin
