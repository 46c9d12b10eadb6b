// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "protein/protein_structure.h"

namespace veldorin {

namespace {

std::vector<std::string> ResidueNames(const ProteinData& data) {
    std::vector<std::string> names;
    for (const ResidueData& residue : data.residues) names.push_back(residue.residue);
    return names;
}

// The data's residues the structure has no bond for, in words; empty when there are none.
std::string WithoutBondNote(const ProteinStructure& structure, const BondSelection& bond,
                            const ProteinData& data) {
    const std::vector<std::string> without =
        ResiduesWithoutBond(ResidueNames(data), structure.bonds);
    if (without.empty()) return {};
    std::string names;
    for (const std::string& name : without) names += (names.empty() ? "" : ", ") + name;
    return "no " + BondText(bond) + " bond for residues " + names +
           ": they are not fitted with the tensor";
}

BondSelection FirstModel(BondSelection bond) {
    bond.averageModels = false;
    bond.model = 1;
    return bond;
}

}  // namespace

std::vector<DiffusionModel> ModelsOf(DiffusionChoice choice) {
    if (choice == DiffusionChoice::Auto) {
        return {DiffusionModel::Sphere, DiffusionModel::Prolate, DiffusionModel::Oblate,
                DiffusionModel::Ellipsoid};
    }
    return {static_cast<DiffusionModel>(choice)};
}

std::string BondText(const BondSelection& bond) { return bond.from + "-" + bond.to; }

std::optional<BondSelection> BondNamed(std::string_view text) {
    const std::size_t dash = text.find('-');
    const bool twoNames = dash != 0 && dash != std::string_view::npos && dash + 1 < text.size() &&
                          text.find('-', dash + 1) == std::string_view::npos &&
                          text.find_first_of(" \t") == std::string_view::npos;
    if (!twoNames) return std::nullopt;
    BondSelection bond;
    bond.from = text.substr(0, dash);
    bond.to = text.substr(dash + 1);
    return bond;
}

ProteinStructureRead ReadProteinStructure(std::string fileName, std::string text,
                                          const BondSelection& bond, const ProteinData& data) {
    StructureBondsRead read = ReadStructureBonds(text, bond);
    if (!read.bonds) return {std::nullopt, read.error, {}};
    const std::vector<std::string> residues = ResidueNames(data);
    const bool none = data.residues.empty()
                          ? read.bonds->unitVectors.empty()
                          : ResiduesWithoutBond(residues, *read.bonds).size() == residues.size();
    if (none) {
        return {
            std::nullopt,
            "no " + BondText(bond) +
                " bond of the data's residues (the structure's residues are named by "
                "their numbers, the first chain's also as A:12 and the others' as B:12 when there "
                "are several)",
            {}};
    }
    ProteinStructure structure{std::move(fileName), std::move(text), *std::move(read.bonds)};
    std::string note = structure.bonds.note;
    if (const std::string without = WithoutBondNote(structure, bond, data); !without.empty())
        note += (note.empty() ? "" : "; ") + without;
    return {std::move(structure), {}, std::move(note)};
}

ProteinStructureTaken TakeProteinStructure(std::string fileName, std::string text,
                                           const BondSelection& bond, const ProteinData& data) {
    ProteinStructureRead read = ReadProteinStructure(fileName, text, bond, data);
    if (read.structure) {
        const BondSelection taken = read.structure->bonds.models > 1 ? bond : FirstModel(bond);
        return {std::move(read), taken, {}};
    }
    if (bond.averageModels || bond.model == 1) return {std::move(read), bond, {}};
    ProteinStructureRead first =
        ReadProteinStructure(std::move(fileName), std::move(text), FirstModel(bond), data);
    // Model 1 read, but the model asked for is there: what failed was something else.
    if (!first.structure || (bond.model >= 1 && bond.model <= first.structure->bonds.models))
        return {std::move(read), bond, {}};
    std::string modelNote = "the structure has no model " + std::to_string(bond.model) + ", only " +
                            std::to_string(first.structure->bonds.models) +
                            ": model 1's bonds are taken";
    first.note = modelNote + (first.note.empty() ? "" : "; " + first.note);
    return {std::move(first), FirstModel(bond), std::move(modelNote)};
}

}  // namespace veldorin
