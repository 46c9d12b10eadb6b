// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <string>

#include "graph/plot_mode.h"

namespace veldorin {

// The pointer readout: the pointer's position over the panel (in its user scale, y
// from 0 at the top) in the units of the plot mode, cut towards minus infinity and
// written as shortest decimal text. Empty when the label should keep its caption:
// no plot mode selected, or a panel without size.

// The vertical value: "J ps", F, C, "R 1/s" or the NOE.
std::optional<std::string> VerticalReadout(std::optional<PlotMode> plotMode, float y, float height);
// The horizontal value: the time in ps for C(t), otherwise the frequency in MHz.
std::optional<std::string> HorizontalReadout(std::optional<PlotMode> plotMode, float x,
                                             float width);

}  // namespace veldorin
