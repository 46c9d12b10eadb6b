// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/structure_input.h"

#include <ostream>

#include "files/input_file.h"

namespace veldorin {

std::optional<StructureInput> ReadStructureInput(const std::string& path, const BondSelection& bond,
                                                 const ProteinData& data, std::ostream& errors) {
    const InputFileRead file = ReadInputFile(path);
    if (!file.bytes) {
        errors << "veldorin: " << path << ": " << file.reason << '\n';
        return std::nullopt;
    }
    StructureBondsRead read = ReadStructureBonds(*file.bytes, bond);
    if (!read.bonds) {
        errors << "veldorin: " << path << ": " << read.error << '\n';
        return std::nullopt;
    }
    if (!read.bonds->note.empty())
        errors << "veldorin: " << path << ": " << read.bonds->note << '\n';
    std::vector<std::string> residues;
    for (const ResidueData& residue : data.residues) residues.push_back(residue.residue);
    const std::vector<std::string> without = ResiduesWithoutBond(residues, *read.bonds);
    if (without.size() == residues.size()) {
        errors << "veldorin: " << path << ": no " << bond.from << "-" << bond.to
               << " bond of the data's residues (the structure's residues are named by their "
                  "numbers, with the chain as A:12 when there are several)\n";
        return std::nullopt;
    }
    if (!without.empty()) {
        std::string names;
        for (const std::string& name : without) names += (names.empty() ? "" : ", ") + name;
        errors << "veldorin: " << path << ": no " << bond.from << "-" << bond.to
               << " bond for residues " << names << '\n';
    }
    return StructureInput{*std::move(file.bytes), *std::move(read.bonds)};
}

}  // namespace veldorin
