// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "graph/plotted_measurements.h"

namespace veldorin {

std::vector<PlottedMeasurement> PlottedMeasurements(
    PlotMode mode, std::span<const std::optional<Measurement>> rows) {
    std::vector<PlottedMeasurement> plotted;
    if (mode != PlotMode::Rates && mode != PlotMode::Noe) return plotted;
    const bool noe = mode == PlotMode::Noe;
    for (const std::optional<Measurement>& row : rows) {
        if (!row) continue;
        const Quantity quantity = ComparedQuantity(row->quantity);
        if ((quantity == Quantity::Noe) != noe) continue;
        plotted.push_back({quantity, row->fieldMHz, row->ComparedValue() - (noe ? 1.0 : 0.0),
                           row->ComparedError()});
    }
    return plotted;
}

}  // namespace veldorin
