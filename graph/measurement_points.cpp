// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "graph/measurement_points.h"

#include <cmath>

#include "graph/curve_pass.h"

namespace veldorin {
namespace {

// Half the width of a point's cross and of a bar's caps, as a share of the panel's width.
constexpr double kPointHalfWidth = 1.0 / 120.0;

// The y of a value in the plot, clamped to the panel; nothing for a rate not above 0.
std::optional<double> YOf(const GraphScale& scale, bool noe, double value) {
    if (noe) return scale.YOfNoe(value);
    if (!(value > 0.0)) return std::nullopt;
    return scale.YOfLogRate(std::log(value));
}

void DrawPoint(const GraphScale& scale, bool noe, double x, double value, double error, Rgb colour,
               DrawCommands& out) {
    const std::optional<double> y = YOf(scale, noe, value);
    if (!y) return;
    const float centre = scale.CurveY(*y);
    const float top = scale.CurveY(YOf(scale, noe, value + error).value_or(scale.height()));
    const float bottom = scale.CurveY(YOf(scale, noe, value - error).value_or(scale.height()));
    const double half = scale.width() * kPointHalfWidth;
    const float left = GraphScale::Coordinate(x - half);
    const float right = GraphScale::Coordinate(x + half);
    const float middle = GraphScale::Coordinate(x);
    const auto line = [&](float x1, float y1, float x2, float y2) {
        out.emplace_back(draw::LineInColour{x1, y1, x2, y2, colour});
    };
    line(middle, top, middle, bottom);
    line(left, top, right, top);
    line(left, bottom, right, bottom);
    const float arm = GraphScale::Coordinate(half);
    line(left, centre - arm, right, centre + arm);
    line(left, centre + arm, right, centre - arm);
}

}  // namespace

Rgb PointColour(Quantity quantity) {
    return ComparedQuantity(quantity) == Quantity::R1 ? R1CurveColour(1) : R2CurveColour(1);
}

void DrawMeasurementPoints(PlotMode mode, const GraphScale& scale,
                           std::span<const std::optional<Measurement>> measurements,
                           DrawCommands& out) {
    if (mode != PlotMode::Rates && mode != PlotMode::Noe) return;
    const bool noe = mode == PlotMode::Noe;
    for (const std::optional<Measurement>& measurement : measurements) {
        if (!measurement) continue;
        if ((ComparedQuantity(measurement->quantity) == Quantity::Noe) != noe) continue;
        const double x = scale.XOfFrequency(2.0 * kPi * measurement->fieldMHz);
        if (!(x >= 0.0 && x <= scale.width())) continue;
        const double value = measurement->ComparedValue() - (noe ? 1.0 : 0.0);
        DrawPoint(scale, noe, x, value, measurement->ComparedError(),
                  PointColour(measurement->quantity), out);
    }
}

}  // namespace veldorin
