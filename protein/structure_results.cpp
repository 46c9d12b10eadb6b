// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "protein/structure_results.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <map>

#include "structure/bond_vectors.h"
#include "structure/viewer_script.h"

namespace veldorin {

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

StructureResults StructureResultFiles(const std::string& path, std::string_view structure,
                                      const Vector3& centre, const ProteinFit& fit,
                                      ResultQuantity quantity) {
    std::map<std::string, double> values;
    for (const ResidueOutcome& outcome : fit.residues) {
        if (const auto result = ResultOf(fit, outcome, quantity))
            values[outcome.residue] = result->value;
    }
    const StructureWrite written = StructureWithBFactors(structure, values);
    if (!written.text) return {{}, written.error};
    const std::vector<DrawnAxis> axes = DrawnAxesOf(fit.diffusion->Chosen().tensor);
    const std::string file = std::filesystem::path(path).filename().string();
    const std::string name(CsvNameOf(quantity));
    return {
        {{path, *written.text},
         {WithExtension(path, ".pml"), ViewerScript(Viewer::Pymol, file, name, centre, axes)},
         {WithExtension(path, ".cxc"), ViewerScript(Viewer::ChimeraX, file, name, centre, axes)}},
        {}};
}

}  // namespace veldorin
