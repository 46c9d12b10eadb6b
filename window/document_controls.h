// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <string>

#include "document/model_document.h"
#include "window/layout.h"

namespace veldorin {

// The document's texts and choices in the main window's controls: the spin system, the
// weights and times, the Rex and CSA, the plot and array parameter lists. A control that
// already shows its text is left alone, so that its cursor stays where the user left it;
// a box given a new text shows its beginning (ShowProgramText).
void ShowDocument(const ModelDocument& document, const WindowControls& controls);

// The texts of a column of Lorentzian boxes, top to bottom, as shown.
std::array<std::string, kLorentzianCount> ColumnTexts(
    const std::array<QLineEdit*, kLorentzianCount>& column);

}  // namespace veldorin
