// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>

namespace veldorin {

// What the graph shows, in the order of the graph option list.
enum class PlotMode { F = 0, J = 1, Rates = 2, Ct = 3, Noe = 4 };

// The plot mode at an index of the graph option list; nothing for -1 (no entry
// selected) or an index outside the list.
constexpr std::optional<PlotMode> PlotModeAt(int listIndex) {
    if (listIndex < 0 || listIndex > static_cast<int>(PlotMode::Noe)) return std::nullopt;
    return static_cast<PlotMode>(listIndex);
}

}  // namespace veldorin
