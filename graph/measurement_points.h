// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <span>

#include "engine/constants.h"
#include "engine/measurement.h"
#include "graph/draw_command.h"
#include "graph/graph_scale.h"
#include "graph/plot_mode.h"

namespace veldorin {

// The colour of a quantity's points: the colour of its curve in a plain run (R2 and the
// NOE in the R2 curve's, R1 in the R1 curve's; a time in its rate's).
Rgb PointColour(Quantity quantity);

// The measurements the plot shows (PlottedMeasurements) as points with error bars,
// appended to the commands as segments in their quantities' colours and the current line
// width. A point is a small cross at its field's x and its value's y, its bar a vertical
// line from value - error to value + error with short caps, each end clamped to the panel
// (a rate bar reaching 0 or below ends at the bottom). Nothing for a field off the
// frequency axis or for a rate not above 0, which the logarithmic axis cannot place.
void DrawMeasurementPoints(PlotMode mode, const GraphScale& scale,
                           std::span<const std::optional<Measurement>> measurements,
                           DrawCommands& out);

}  // namespace veldorin
