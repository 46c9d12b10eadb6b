// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/structure_input.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <map>
#include <ostream>

#include "files/input_file.h"
#include "structure/viewer_script.h"

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

namespace {

std::string WithExtension(const std::string& path, const char* extension) {
    return std::filesystem::path(path).replace_extension(extension).string();
}

std::string Label(const std::string& name, double d) {
    std::array<char, 64> text{};
    std::snprintf(text.data(), text.size(), "%s = %.3g /s", name.c_str(), d);
    return text.data();
}

// A spheroid's unique axis, or an ellipsoid's three; a sphere has none.
std::vector<DrawnAxis> DrawnAxesOf(const DiffusionTensor& tensor) {
    switch (tensor.model) {
        case DiffusionModel::Sphere: return {};
        case DiffusionModel::Prolate:
        case DiffusionModel::Oblate:
            return {{AxesOf(tensor)[2], tensor.d[2], Label("D_par", tensor.d[2])}};
        case DiffusionModel::Ellipsoid: break;
    }
    std::vector<DrawnAxis> axes;
    int k = 0;
    for (const PrincipalAxis& axis : PrincipalAxesOf(tensor))
        axes.push_back({axis.axis, axis.d, Label("D" + std::to_string(++k), axis.d)});
    return axes;
}

}  // namespace

std::vector<OutputFile> StructureResultFiles(const std::string& path,
                                             const StructureInput& structure, const ProteinFit& fit,
                                             ResultQuantity quantity, std::ostream& errors) {
    std::map<std::string, double> values;
    for (const ResidueOutcome& outcome : fit.residues) {
        if (const auto result = ResultOf(fit, outcome, quantity))
            values[outcome.residue] = result->value;
    }
    const StructureWrite written = StructureWithBFactors(structure.text, values);
    if (!written.text) {
        errors << "veldorin: " << path << ": " << written.error << '\n';
        return {};
    }
    const std::vector<DrawnAxis> axes = DrawnAxesOf(fit.diffusion->Chosen().tensor);
    const std::string file = std::filesystem::path(path).filename().string();
    const std::string name(CsvNameOf(quantity));
    return {{path, *written.text},
            {WithExtension(path, ".pml"),
             ViewerScript(Viewer::Pymol, file, name, structure.bonds.centre, axes)},
            {WithExtension(path, ".cxc"),
             ViewerScript(Viewer::ChimeraX, file, name, structure.bonds.centre, axes)}};
}

}  // namespace veldorin
