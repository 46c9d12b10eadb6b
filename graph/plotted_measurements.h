// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <span>
#include <vector>

#include "engine/measurement.h"
#include "graph/plot_mode.h"

namespace veldorin {

// A measurement in the units of the plot that shows it: a rate in 1/s (a time as its
// rate), a NOE as the enhancement η = I_sat/I_ref - 1 that the NOE curve shows.
struct PlottedMeasurement {
    Quantity quantity = Quantity::R1;  // as compared: R1, R2 or the NOE
    double fieldMHz = 0.0;
    double value = 0.0;
    double error = 0.0;
};

// The measurements a plot shows, in the rows' order: R1, R2, T1 and T2 in the rates plot,
// the NOE in the NOE plot, none in the others. Rows that do not read are left out. The
// panel and a saved figure both draw these, so that they show the same points.
std::vector<PlottedMeasurement> PlottedMeasurements(
    PlotMode mode, std::span<const std::optional<Measurement>> rows);

}  // namespace veldorin
