// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace veldorin {

// The molecular viewers a script is written for.
enum class Viewer { Pymol, ChimeraX };

// One axis of the diffusion tensor as the script draws it: a line through the structure's
// centre along the unit vector, longer for the faster diffusion, with its label.
struct DrawnAxis {
    std::array<double, 3> unitVector{};
    double d = 0.0;  // 1/s
    std::string label;
};

// A script that opens the structure written with values in its B-factor column, colours
// the residues by them (blue low, red high, grey where there is none) and draws the axes
// from the centre (Å). `structureFile` is the file name as the script will find it beside
// itself.
std::string ViewerScript(Viewer viewer, std::string_view structureFile, std::string_view quantity,
                         const std::array<double, 3>& centre, const std::vector<DrawnAxis>& axes);

}  // namespace veldorin
