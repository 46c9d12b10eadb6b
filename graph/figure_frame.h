// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "graph/figure_layout.h"

namespace veldorin {

// What every figure lays out the same way around its contents: the ticks of its axes,
// the plot's frame between the tick numbers and the titles, the legend beneath, and a
// measurement's mark.

// Where an axis lies: from `start` (its low end) over `length` (signed: the vertical
// axis runs upwards).
struct AxisPlacement {
    double start = 0.0;
    double length = 0.0;
    double At(const FigureAxis& axis, double value) const;
};

// The length a set of tick labels needs between neighbouring ticks.
using TickRoom = std::function<double(const std::vector<FigureTick>&)>;
// The ticks of an axis along its placement, their labels kept apart by the room they need.
using TickRule = std::function<std::vector<FigureTick>(const FigureAxis&, const AxisPlacement&,
                                                       const TickRoom&)>;
// The label of the tick at a multiple of a step.
using StepLabel = std::function<std::string(long multiple, double step)>;

// A multiple of a step as text with the step's decimals and a typographic minus.
std::string StepText(long multiple, double step);

// Ticks at the finest step of 1, 2 or 5 times a power of ten, not finer than `finest`,
// whose labels do not crowd each other.
std::vector<FigureTick> RoundTicks(const FigureAxis& axis, const AxisPlacement& placement,
                                   const TickRoom& room, double finest = 0.0,
                                   const StepLabel& label = StepText);

// A linear axis at round steps. A logarithmic one with a major tick at every decade and
// minor ticks at its 2..9 multiples; where that labels fewer than two ticks, the 2 and 5
// multiples are labelled too, and where even that is too few, round steps are.
std::vector<FigureTick> AxisTicks(const FigureAxis& axis, const AxisPlacement& placement,
                                  const TickRoom& room);

// Whether a value lies on the axis, give or take rounding.
bool Within(const FigureAxis& axis, double value);

// A legend entry before it is placed.
struct LegendText {
    std::vector<Rgb> swatches;
    LegendMark mark = LegendMark::Curve;
    std::string text;
};

// The legend: each colour scale on a row of its own, then the other entries in columns,
// as many of the widest entry as the figure's width holds.
struct LegendGrid {
    std::size_t scaleRows = 0;
    double scaleWidth = 0.0;  // of the widest colour scale with its text
    double columnWidth = 0.0;
    std::size_t rows = 0;  // of the columns
    double Height() const;
};

LegendGrid GridOf(const std::vector<LegendText>& entries, double width, const TextWidth& textWidth);

// The plot's frame between the tick numbers and titles, above a legend of the given
// height, with the ticks of both axes and the titles' places; the figure's size and
// axes are set.
void PlaceAxes(FigureLayout& figure, double legendHeight, const TextWidth& textWidth,
               const TickRule& xTicks = AxisTicks);

// The colour scales, which must come first, each on its row, then the others column by
// column; each block centred under the figure.
void PlaceLegend(FigureLayout& figure, const std::vector<LegendText>& entries,
                 const LegendGrid& grid);

// A measurement's mark at `x` (mm) where the placed plot puts its value, its bar from
// value − error to value + error; a bar's end the axis cannot show stops at the frame.
// No bar for a NaN error; no mark for a value the axis cannot show.
std::optional<FigurePointMark> PointMark(const FigureLayout& figure, double x, double value,
                                         double error, Rgb colour);

}  // namespace veldorin
