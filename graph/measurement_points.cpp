// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "graph/measurement_points.h"

#include <cmath>

#include "graph/curve_pass.h"
#include "graph/plotted_measurements.h"

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
    const bool noe = mode == PlotMode::Noe;
    for (const PlottedMeasurement& point : PlottedMeasurements(mode, measurements)) {
        const double x = scale.XOfFrequency(2.0 * kPi * point.fieldMHz);
        if (!(x >= 0.0 && x <= scale.width())) continue;
        DrawPoint(scale, noe, x, point.value, point.error, PointColour(point.quantity), out);
    }
}

}  // namespace veldorin
