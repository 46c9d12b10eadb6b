// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "graph/figure_layout.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <deque>

#include "engine/format.h"
#include "graph/figure_frame.h"
#include "graph/graph_scale.h"
#include "graph/measurement_points.h"

namespace veldorin {

namespace {

// The value at a coordinate of a mapping that is linear in the value, or in its
// logarithm, found from the mapping at two values: the axis ends of the curves' own
// mapping, whatever its constants.
double ValueAt(const std::function<double(double)>& mapping, bool logarithmic, double a, double b,
               double coordinate) {
    const auto along = [&](double v) { return logarithmic ? std::log(v) : v; };
    const double ca = mapping(a);
    const double cb = mapping(b);
    const double u = along(a) + (coordinate - ca) * (along(b) - along(a)) / (cb - ca);
    return logarithmic ? std::exp(u) : u;
}

// The axes of the panel's unit square: x 0..1 from the left, y 0..1 from the top.
FigureAxis Horizontal(const std::function<double(double)>& mapping, bool logarithmic, double a,
                      double b) {
    return {ValueAt(mapping, logarithmic, a, b, 0.0), ValueAt(mapping, logarithmic, a, b, 1.0),
            logarithmic};
}

FigureAxis Vertical(const std::function<double(double)>& mapping, bool logarithmic, double a,
                    double b) {
    return {ValueAt(mapping, logarithmic, a, b, 1.0), ValueAt(mapping, logarithmic, a, b, 0.0),
            logarithmic};
}

struct PlotAxes {
    FigureAxis x;
    FigureAxis y;
    std::string xTitle;
    std::string yTitle;
};

PlotAxes AxesOf(PlotMode mode) {
    const GraphScale unit(1.0f, 1.0f);
    const auto megahertz = [&](double f) { return unit.XOfFrequency(2.0 * kPi * f); };
    const FigureAxis frequency = Horizontal(megahertz, true, 10.0, 1000.0);
    const std::string omega = "ω/2π (MHz)";
    const std::string proton = "¹H frequency (MHz)";
    switch (mode) {
        case PlotMode::F:
            return {frequency, Vertical([&](double f) { return unit.YOfF(f); }, true, 0.1, 1.0),
                    omega, "2ωJ(ω)"};
        case PlotMode::J:
            return {frequency,
                    Vertical([&](double j) { return unit.YOfJ(j); }, true, 100.0, 1000.0), omega,
                    "J(ω) (ps)"};
        case PlotMode::Rates:
            return {
                frequency,
                Vertical([&](double r) { return unit.YOfLogRate(std::log(r)); }, true, 1.0, 10.0),
                proton, "R1, R2 (1/s)"};
        case PlotMode::Noe:
            return {frequency, Vertical([&](double n) { return unit.YOfNoe(n); }, false, 0.0, 1.0),
                    proton, "NOE enhancement η"};
        case PlotMode::Ct: break;
    }
    // The curve's time axis runs from its first sample at the left edge to its last at
    // the right edge.
    const std::array<GridPoint, kTimePoints> times = TimeGrid(1.0f);
    return {{times.front().value, times.back().value, false},
            Vertical([&](double c) { return unit.YOfLogC(std::log(c)); }, true, 0.1, 1.0),
            "t (ps)",
            "C(t)"};
}

// What is added to a curve's or a measurement's value to give the value the figure shows:
// 1 for the NOE as the intensity ratio 1 + η.
double ShownOffset(PlotMode mode, const FigureOptions& options) {
    return mode == PlotMode::Noe && options.noeAsRatio ? 1.0 : 0.0;
}

PlotAxes FigureAxes(PlotMode mode, const FigureOptions& options) {
    PlotAxes axes = AxesOf(mode);
    const double offset = ShownOffset(mode, options);
    if (offset == 0.0) return axes;
    axes.y.low += offset;
    axes.y.high += offset;
    axes.yTitle = "NOE ratio 1 + η";
    return axes;
}

// Array mode's passes in the figure: a step of a colour map per pass, dark for the
// parameter's full value and light towards zero, so that neighbouring passes are told
// apart (the panel's passes differ by a few shades of one colour). The rates take two
// maps far apart in hue, R1 the blue-green one, so each curve stays recognisable.
using ColourMap = std::array<Rgb, 5>;
constexpr ColourMap kPurpleToGreen{
    {{68, 1, 84}, {59, 82, 139}, {33, 145, 140}, {94, 201, 98}, {189, 223, 38}}};
constexpr ColourMap kNavyToTeal{
    {{8, 29, 88}, {34, 94, 168}, {29, 145, 192}, {65, 182, 196}, {161, 218, 180}}};
constexpr ColourMap kRedToOrange{
    {{103, 0, 13}, {203, 24, 29}, {241, 105, 19}, {253, 141, 60}, {254, 217, 118}}};

Rgb MapColour(const ColourMap& map, double fraction) {
    const double at = std::clamp(fraction, 0.0, 1.0) * static_cast<double>(map.size() - 1);
    const auto low = std::min(static_cast<std::size_t>(at), map.size() - 2);
    const double t = at - static_cast<double>(low);
    const auto mix = [&](std::uint8_t a, std::uint8_t b) {
        return static_cast<std::uint8_t>(std::lround((1.0 - t) * a + t * b));
    };
    const Rgb& a = map[low];
    const Rgb& b = map[low + 1];
    return {mix(a.red, b.red), mix(a.green, b.green), mix(a.blue, b.blue)};
}

// How many curves each pass draws: the quantities until the first comes again.
std::size_t CurvesPerPass(const std::deque<SampledCurve>& curves) {
    std::size_t perPass = 1;
    while (perPass < curves.size() && curves[perPass].quantity != curves.front().quantity)
        ++perPass;
    return perPass;
}

bool ArrayMode(const SampledCurves& samples) {
    return !samples.curves.empty() && !samples.curves.front().parameter.empty();
}

// Each curve's colour in the figure: the panel's, or in array mode its pass's step.
std::vector<Rgb> FigureColours(const SampledCurves& samples) {
    const auto& curves = samples.curves;
    std::vector<Rgb> colours;
    const std::size_t perPass = CurvesPerPass(curves);
    const double lastPass = std::max(1.0, static_cast<double>(curves.size() / perPass) - 1.0);
    for (std::size_t i = 0; i < curves.size(); ++i) {
        if (!ArrayMode(samples)) {
            colours.push_back(curves[i].colour);
            continue;
        }
        const ColourMap& map = perPass == 1                 ? kPurpleToGreen
                               : curves[i].quantity == "R1" ? kNavyToTeal
                                                            : kRedToOrange;
        colours.push_back(MapColour(map, static_cast<double>(i / perPass) / lastPass));
    }
    return colours;
}

// The curves as runs of points; a value the axes cannot show breaks its curve.
std::vector<FigurePolyline> Curves(const SampledCurves& samples, const FigureLayout& figure,
                                   double offset) {
    std::vector<FigurePolyline> lines;
    const std::vector<Rgb> colours = FigureColours(samples);
    for (std::size_t c = 0; c < samples.curves.size(); ++c) {
        const SampledCurve& curve = samples.curves[c];
        FigurePolyline line{colours[c], {}};
        const auto flush = [&] {
            if (line.points.size() >= 2) lines.push_back(line);
            line.points.clear();
        };
        const std::size_t count = std::min(curve.values.size(), samples.horizontal.size());
        for (std::size_t i = 0; i < count; ++i) {
            // The panel shows the magnitude of F, as the figure does.
            const double value =
                (samples.mode == PlotMode::F ? std::abs(curve.values[i]) : curve.values[i]) +
                offset;
            const auto x = figure.xAxis.Fraction(samples.horizontal[i]);
            const auto y = figure.yAxis.Fraction(value);
            if (!x || !y || !std::isfinite(*x) || !std::isfinite(*y)) {
                flush();
                continue;
            }
            line.points.push_back({figure.plot.left + *x * figure.plot.width,
                                   figure.plot.bottom() - *y * figure.plot.height});
        }
        flush();
    }
    return lines;
}

// The panel's marker lines, placed by the frequency or time they mark (the panel's
// time markers use a longer axis than its curve), each once, in the order drawn.
std::vector<FigureMarker> Markers(PlotMode mode, const DrawCommands& commands,
                                  const FigureAxis& axis, const FigureRect& plot) {
    std::vector<FigureMarker> markers;
    GraphScale scale(0.0f, 0.0f);
    Rgb colour;
    for (const DrawCommand& command : commands) {
        if (const auto* set = std::get_if<draw::SetScale>(&command))
            scale = {set->width, set->height};
        if (const auto* set = std::get_if<draw::SetColour>(&command)) colour = set->colour;
        const auto* line = std::get_if<draw::Line>(&command);
        if (!line || line->x1 != line->x2 || !(scale.width() > 0.0f)) continue;
        const double value = mode == PlotMode::Ct ? scale.TimeAtX(line->x1)
                                                  : scale.FrequencyAtX(line->x1) / 2.0 / kPi;
        // A time of 0 is no correlation time: its marker would only hide under the frame.
        if (!Within(axis, value) || (mode == PlotMode::Ct && !(value > 0.0))) continue;
        // Full height, also where the panel gives each field a band of its own: the
        // figure's legend names the fields by colour.
        const FigureMarker marker{colour, plot.left + *axis.Fraction(value) * plot.width, plot.top,
                                  plot.bottom()};
        const bool known = std::any_of(markers.begin(), markers.end(), [&](const FigureMarker& m) {
            return m.colour == marker.colour && m.x == marker.x;
        });
        if (!known) markers.push_back(marker);
    }
    return markers;
}

// The colours of the fields at which the plot has measurements: the fields of the table
// whose 1H frequency a measurement's field is, as single precision holds both.
std::vector<Rgb> MeasuredFieldColours(const std::vector<PlottedMeasurement>& points) {
    std::vector<Rgb> colours;
    for (const Field& field : kFieldTable) {
        const bool measured =
            std::any_of(points.begin(), points.end(), [&](const PlottedMeasurement& point) {
                return static_cast<float>(point.fieldMHz) == field.frequencyMHz;
            });
        if (measured) colours.push_back(field.colour);
    }
    return colours;
}

// The panel's markers that the figure shows: with measurements in the plot, unless all
// fields are asked for, only those of the fields measured.
std::vector<FigureMarker> ShownMarkers(const SampledCurves& curves, const DrawCommands& commands,
                                       const FigureAxis& axis, const FigureRect& plot,
                                       const FigureOptions& options) {
    std::vector<FigureMarker> markers = Markers(curves.mode, commands, axis, plot);
    if (options.allFields || curves.points.empty()) return markers;
    const std::vector<Rgb> measured = MeasuredFieldColours(curves.points);
    std::erase_if(markers, [&](const FigureMarker& marker) {
        return std::find(measured.begin(), measured.end(), marker.colour) == measured.end();
    });
    return markers;
}

// The measurements where the axes put their values, each as the plot shows it.
std::vector<FigurePointMark> PointMarks(const SampledCurves& curves, const FigureLayout& figure,
                                        double offset) {
    std::vector<FigurePointMark> marks;
    for (const PlottedMeasurement& point : curves.points) {
        const auto x = figure.xAxis.Fraction(point.fieldMHz);
        if (!x || !std::isfinite(*x)) continue;
        const auto mark = PointMark(figure, figure.plot.left + *x * figure.plot.width,
                                    point.value + offset, point.error, PointColour(point.quantity));
        if (mark) marks.push_back(*mark);
    }
    return marks;
}

// Without array mode each curve by its quantity. In array mode each quantity as a colour
// scale from the first pass to the last, named by the parameter's values at its ends.
void CurveEntries(const SampledCurves& samples, std::vector<LegendText>& entries) {
    const auto& curves = samples.curves;
    const std::vector<Rgb> colours = FigureColours(samples);
    if (!ArrayMode(samples)) {
        for (std::size_t i = 0; i < curves.size(); ++i)
            entries.push_back({{colours[i]}, LegendMark::Curve, curves[i].quantity});
        return;
    }
    const std::size_t perPass = CurvesPerPass(curves);
    // "t1 = 1000 ps … 0 ps": the last pass's value without the name again.
    const std::string& last = curves.back().parameter;
    const std::size_t equals = last.find(" = ");
    const std::string range = curves.front().parameter + " … " +
                              (equals == std::string::npos ? last : last.substr(equals + 3));
    for (std::size_t q = 0; q < perPass; ++q) {
        LegendText scale{
            {}, LegendMark::Scale, perPass > 1 ? curves[q].quantity + ", " + range : range};
        for (std::size_t i = q; i < curves.size(); i += perPass)
            scale.swatches.push_back(colours[i]);
        entries.push_back(scale);
    }
}

// The fields whose colours mark frequencies, by their 1H frequency; the correlation
// times, whose first marker is black and the others in the colours of fields 1..5.
void MarkerEntries(PlotMode mode, const std::vector<FigureMarker>& markers,
                   std::vector<LegendText>& entries) {
    const auto drawn = [&](Rgb colour) {
        return std::any_of(markers.begin(), markers.end(),
                           [&](const FigureMarker& m) { return m.colour == colour; });
    };
    for (int index = 0; index < kFieldCount; ++index) {
        const Field& field = kFieldTable[static_cast<std::size_t>(index)];
        if (mode == PlotMode::Ct) {
            const Rgb colour =
                index == 0 ? Rgb{} : kFieldTable[static_cast<std::size_t>(index - 1)].colour;
            if (drawn(colour))
                entries.push_back({{colour}, LegendMark::Marker, "t" + std::to_string(index + 1)});
        } else if (drawn(field.colour)) {
            entries.push_back(
                {{field.colour}, LegendMark::Marker, FormatSingle(field.frequencyMHz) + " MHz"});
        }
    }
}

FigureLayout FigureWithAxes(PlotMode mode, double width, double height,
                            const FigureOptions& options) {
    FigureLayout figure;
    figure.width = width;
    figure.height = height;
    PlotAxes axes = FigureAxes(mode, options);
    figure.xAxis = axes.x;
    figure.yAxis = axes.y;
    figure.xTitle = axes.xTitle;
    figure.yTitle = axes.yTitle;
    return figure;
}

std::vector<LegendText> LegendTexts(const SampledCurves& curves, const DrawCommands& panelCommands,
                                    const FigureAxis& xAxis, const FigureOptions& options) {
    std::vector<LegendText> entries;
    CurveEntries(curves, entries);
    MarkerEntries(curves.mode,
                  ShownMarkers(curves, panelCommands, xAxis, {0.0, 0.0, 1.0, 1.0}, options),
                  entries);
    return entries;
}

// The curves, marker lines and measurements in the placed plot.
void PlaceContents(FigureLayout& figure, const SampledCurves& curves,
                   const DrawCommands& panelCommands, const FigureOptions& options) {
    const double offset = ShownOffset(curves.mode, options);
    figure.curves = Curves(curves, figure, offset);
    figure.markers = ShownMarkers(curves, panelCommands, figure.xAxis, figure.plot, options);
    figure.points = PointMarks(curves, figure, offset);
}

}  // namespace

std::optional<double> FigureAxis::Fraction(double value) const {
    if (!logarithmic) return (value - low) / (high - low);
    if (!(value > 0.0)) return std::nullopt;
    return std::log(value / low) / std::log(high / low);
}

FigureLayout LayOutFigure(const SampledCurves& curves, const DrawCommands& panelCommands,
                          double width, double height, const TextWidth& textWidth,
                          const FigureOptions& options) {
    FigureLayout figure = FigureWithAxes(curves.mode, width, height, options);
    // Which markers there are does not depend on where the plot lies.
    const std::vector<LegendText> entries =
        LegendTexts(curves, panelCommands, figure.xAxis, options);
    const LegendGrid grid = GridOf(entries, width, textWidth);
    PlaceAxes(figure, grid.Height(), textWidth);
    PlaceContents(figure, curves, panelCommands, options);
    PlaceLegend(figure, entries, grid);
    return figure;
}

}  // namespace veldorin
