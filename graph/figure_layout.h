// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/constants.h"
#include "graph/draw_command.h"
#include "graph/sampled_curves.h"

namespace veldorin {

// A figure of the graph for a paper: the plot's axes with tick marks and numbers in the
// plot's units, axis titles, the curves and marker lines, and a legend beneath. Every
// length is in millimetres from the figure's top-left corner; a painter only has to draw
// what is laid out here.

inline constexpr double kMillimetresPerPoint = 25.4 / 72.0;

// Type sizes (points) and line widths (millimetres) of a figure at its printed size.
struct FigureStyle {
    static constexpr double kTickPoints = 7.0;
    static constexpr double kTitlePoints = 8.0;
    static constexpr double kLegendPoints = 7.0;
    static constexpr double kCurveWidth = 0.35;
    static constexpr double kMarkerWidth = 0.18;
    static constexpr double kFrameWidth = 0.18;
    static constexpr double kMajorTickLength = 1.5;
    static constexpr double kMinorTickLength = 0.8;
    static constexpr double kLabelGap = 1.0;  // between a number or title and what it labels
    static constexpr double kSwatchLength = 4.0;
    static constexpr double kSwatchGap = 0.6;  // between the swatches of one legend entry
    static constexpr double kScaleStep = 2.5;  // one colour of a colour scale, wide
    static constexpr double kScaleHeight = 1.6;
    // A measurement's cross and its bar's caps: wide enough to read at a column's width.
    static constexpr double kPointWidth = 1.8;
    static constexpr double kPointLineWidth = 0.25;
};

// What the figure dialog lets a figure show differently from the panel.
struct FigureOptions {
    // The NOE plot shows the intensity ratio I_sat/I_ref = 1 + η, curve and points, rather
    // than the enhancement η.
    bool noeAsRatio = false;
    // Every field's marker line and legend entry, also where the plot has no measurement.
    bool allFields = false;
};

// One axis: the values at its two ends (left or bottom first) on a linear or
// logarithmic scale.
struct FigureAxis {
    double low = 0.0;
    double high = 1.0;
    bool logarithmic = false;

    // Where the value lies along the axis, 0 at `low` and 1 at `high`; nothing for a
    // value a logarithmic axis cannot show (not above 0).
    std::optional<double> Fraction(double value) const;
};

struct FigurePoint {
    double x = 0.0;
    double y = 0.0;
};

struct FigureRect {
    double left = 0.0;
    double top = 0.0;
    double width = 0.0;
    double height = 0.0;
    double right() const { return left + width; }
    double bottom() const { return top + height; }
};

// A tick mark: its place along the axis (x for the horizontal axis, y for the vertical)
// and, for a major tick, its number.
struct FigureTick {
    double at = 0.0;
    bool major = false;
    std::string label;  // UTF-8; empty for a minor tick
};

// A run of curve points joined by straight segments.
struct FigurePolyline {
    Rgb colour;
    std::vector<FigurePoint> points;
};

// A vertical marker line.
struct FigureMarker {
    Rgb colour;
    double x = 0.0;
    double top = 0.0;
    double bottom = 0.0;
};

// How a legend entry shows its colours: short thick lines for curves, thin ones for
// marker lines, or a colour scale of touching blocks for a family of curves.
enum class LegendMark { Curve, Marker, Scale };

// One line of the legend: its colours from `at`, then its text.
struct FigureLegendEntry {
    std::vector<Rgb> swatches;
    LegendMark mark = LegendMark::Curve;
    std::string text;
    FigurePoint at;         // the left end of the swatches, at the text's vertical middle
    double textLeft = 0.0;  // where the text begins
};

// A measurement: a cross at its value with an error bar from low to high.
struct FigurePointMark {
    Rgb colour;
    FigurePoint at;
    double low = 0.0;  // y of the bar's ends; NaN for a measurement without a bar
    double high = 0.0;
};

struct FigureLayout {
    double width = 0.0;
    double height = 0.0;
    FigureRect plot;  // the frame of the axes; curves are clipped to it
    FigureAxis xAxis;
    FigureAxis yAxis;
    std::vector<FigureTick> xTicks;
    std::vector<FigureTick> yTicks;
    std::string xTitle;
    FigurePoint xTitleCentre;
    std::string yTitle;  // drawn upwards, turned a quarter left
    FigurePoint yTitleCentre;
    std::vector<FigurePolyline> curves;
    std::vector<FigureMarker> markers;
    std::vector<FigurePointMark> points;
    double pointWidth = FigureStyle::kPointWidth;  // of the crosses and the bars' caps
    std::vector<FigureLegendEntry> legend;
};

// The width (mm) of a text set in a size (points).
using TextWidth = std::function<double(const std::string& text, double points)>;

// The figure of the curves of a run at a size in millimetres. `panelCommands` are the
// commands that drew the panel's current picture: its marker lines are taken from them,
// placed by the values they mark. When the plot has measurements, only the fields
// measured keep their marker lines and legend entries, unless all fields are asked for.
FigureLayout LayOutFigure(const SampledCurves& curves, const DrawCommands& panelCommands,
                          double width, double height, const TextWidth& textWidth,
                          const FigureOptions& options = {});

}  // namespace veldorin
