// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "graph/readout.h"

#include <cmath>

#include "engine/checked_arithmetic.h"
#include "engine/constants.h"
#include "engine/failure.h"
#include "engine/format.h"
#include "graph/graph_scale.h"

namespace veldorin {

namespace {

// The greatest integer not above the value: every readout is cut towards minus infinity.
double Cut(double value) { return std::floor(CheckFinite(value)); }

std::optional<std::string> Vertical(PlotMode mode, const GraphScale& panel, double y) {
    switch (mode) {
        case PlotMode::J: return FormatDouble(Cut(panel.JAtY(y) * 10.0) / 10.0) + " ps";
        case PlotMode::F: return FormatDouble(Cut(panel.FAtY(y) * 1000.0) / 1000.0);
        case PlotMode::Ct: return FormatDouble(Cut(panel.CAtY(y) * 1000.0) / 1000.0);
        case PlotMode::Rates: return FormatDouble(Cut(panel.RateAtY(y) * 10.0) / 10.0) + " 1/s";
        case PlotMode::Noe: return FormatDouble(Cut(panel.NoeAtY(y) * 100.0) / 100.0);
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> VerticalReadout(std::optional<PlotMode> plotMode, float y,
                                           float height) {
    if (!plotMode || !(height > 0.0f)) return std::nullopt;
    try {
        // Only the height matters for a vertical value.
        return Vertical(*plotMode, GraphScale(0.0f, height), y);
    } catch (const CalculationError&) {
        return std::nullopt;
    }
}

std::optional<std::string> HorizontalReadout(std::optional<PlotMode> plotMode, float x,
                                             float width) {
    if (!(width > 0.0f)) return std::nullopt;
    // Only the width matters for a horizontal value.
    const GraphScale panel(width, 0.0f);
    try {
        if (plotMode == PlotMode::Ct) {
            // Cut to a tenth of a ps in single precision, as the time was computed.
            const float t = StoreSingle(std::floor(StoreSingle(panel.TimeAtX(x) * 10.0)) / 10.0);
            return FormatSingle(t) + " ps";
        }
        return FormatDouble(Cut(panel.FrequencyAtX(x) * 10.0 / 2.0 / kPi) / 10.0) + " MHz";
    } catch (const CalculationError&) {
        return std::nullopt;
    }
}

}  // namespace veldorin
