// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/structure_input.h"

#include <ostream>

#include "files/input_file.h"

namespace veldorin {

std::optional<ProteinStructure> ReadStructureInput(const std::string& path,
                                                   const BondSelection& bond,
                                                   const ProteinData& data, std::ostream& errors) {
    InputFileRead file = ReadInputFile(path);
    if (!file.bytes) {
        errors << "veldorin: " << path << ": " << file.reason << '\n';
        return std::nullopt;
    }
    ProteinStructureRead read = ReadProteinStructure(path, *std::move(file.bytes), bond, data);
    const std::string& said = read.structure ? read.note : read.error;
    if (!said.empty()) errors << "veldorin: " << path << ": " << said << '\n';
    return std::move(read.structure);
}

}  // namespace veldorin
