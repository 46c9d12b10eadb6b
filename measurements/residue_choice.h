// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/measurement.h"

class QWidget;

namespace veldorin {

// Asks which residue of a file to import, listing each with its number of rows: the
// window holds one residue, and rows of several pooled would fit none of them. Nothing
// when the question is cancelled.
std::optional<std::string> ChooseResidue(QWidget* parent, const std::vector<ResidueRows>& residues);

}  // namespace veldorin
