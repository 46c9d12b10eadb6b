// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <cstddef>
#include <optional>

namespace veldorin {

// What the graph shows.
enum class PlotMode { F, J, Rates, Ct, Noe };

// The graph option list, a row per plot mode in the list's order: the text the list
// shows, the name a model file gives the mode, and what the graph shows in words, for a
// screen reader.
struct PlotModeRow {
    PlotMode mode;
    const char* listText;
    const char* fileName;
    const char* spoken;
};

inline constexpr std::array<PlotModeRow, 5> kPlotModeTable{{
    {PlotMode::F, "log[2wJ(w)]", "F", "Distribution function log[2wJ(w)] against log(w/2pi)"},
    {PlotMode::J, "log[J(w), ps]", "J", "Spectral density log[J(w)], ps, against log(w/2pi)"},
    {PlotMode::Rates, "log[R1,R2 1/s]", "rates",
     "Rates log[R1] and log[R2], 1/s, against log(w/2pi) of the 1H frequency"},
    {PlotMode::Ct, "log[C(t)]", "Ct", "Correlation function log[C(t)] against t, ps"},
    {PlotMode::Noe, "NOE", "NOE", "NOE against log(w/2pi) of the 1H frequency"},
}};

// A mode's value is its place in the list, so that the list's index is the mode.
static_assert([] {
    for (std::size_t index = 0; index < kPlotModeTable.size(); ++index) {
        if (kPlotModeTable[index].mode != static_cast<PlotMode>(index)) return false;
    }
    return true;
}());

constexpr const PlotModeRow& RowOf(PlotMode mode) {
    return kPlotModeTable[static_cast<std::size_t>(mode)];
}

// The plot mode at an index of the graph option list; nothing for -1 (no entry
// selected) or an index outside the list.
constexpr std::optional<PlotMode> PlotModeAt(int listIndex) {
    if (listIndex < 0 || listIndex >= static_cast<int>(kPlotModeTable.size())) return std::nullopt;
    return kPlotModeTable[static_cast<std::size_t>(listIndex)].mode;
}

}  // namespace veldorin
