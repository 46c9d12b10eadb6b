// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "fit/protein_fit.h"

namespace veldorin {

// A file to write and its bytes.
struct OutputFile {
    std::string path;
    std::string bytes;
};

struct StructureResults {
    std::vector<OutputFile> files;  // none when the structure cannot be written again
    std::string error;              // why not
};

// The structure (its text, `centre` the mean of its atoms in Å) with the quantity of each
// residue's fit in its B-factor column, at `path`, and beside it (the name's extension
// replaced) a script for each molecular viewer that colours it by that and draws the
// axes of the fit's tensor. The fit must have a diffusion result.
StructureResults StructureResultFiles(const std::string& path, std::string_view structure,
                                      const Vector3& centre, const ProteinFit& fit,
                                      ResultQuantity quantity);

}  // namespace veldorin
