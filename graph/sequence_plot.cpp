// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "graph/sequence_plot.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <map>
#include <string_view>

#include "engine/format.h"
#include "graph/figure_frame.h"

namespace veldorin {

namespace {

// The mark of a dense sequence shrinks with the space a residue has, down to this width (mm).
constexpr double kNarrowestPoint = 0.8;

// The number a residue's name begins with after its chain's "B:".
std::optional<long> ResidueNumber(std::string_view name) {
    if (const auto colon = name.find(':'); colon != std::string_view::npos) {
        name.remove_prefix(colon + 1);
    }
    long number = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), number);
    if (error != std::errc()) return std::nullopt;
    return number;
}

// Each point's place along the residue axis; when the residues are counted rather than
// numbered, their names in order.
struct ResiduePlaces {
    std::vector<double> x;
    std::vector<std::string> counted;
};

std::optional<std::vector<double>> Numbered(const std::vector<SequencePoint>& points) {
    std::vector<double> x;
    std::map<long, std::string_view> nameOf;
    for (const SequencePoint& point : points) {
        const auto number = ResidueNumber(point.residue);
        if (!number) return std::nullopt;
        const auto [known, added] = nameOf.try_emplace(*number, point.residue);
        if (!added && known->second != point.residue) return std::nullopt;
        x.push_back(static_cast<double>(*number));
    }
    return x;
}

ResiduePlaces PlacesOf(const std::vector<SequencePoint>& points) {
    if (auto numbered = Numbered(points)) return {std::move(*numbered), {}};
    ResiduePlaces places;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (i == 0 || points[i].residue != points[i - 1].residue) {
            places.counted.push_back(points[i].residue);
        }
        places.x.push_back(static_cast<double>(places.counted.size()));
    }
    return places;
}

bool HasBar(const SequencePoint& point) { return point.error > 0.0 && std::isfinite(point.error); }

bool Shown(const SequencePlot& plot, const SequencePoint& point) {
    return std::isfinite(point.value) && (!plot.logarithmic || point.value > 0.0);
}

// The values and their bars' ends, with a twentieth of their span to spare at each end
// (of their decades on a logarithmic axis).
FigureAxis ValueAxis(const SequencePlot& plot) {
    const bool log = plot.logarithmic;
    const auto along = [&](double v) { return log ? std::log10(v) : v; };
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    const auto include = [&](double v) {
        if (log && !(v > 0.0)) return;
        low = std::min(low, along(v));
        high = std::max(high, along(v));
    };
    for (const SequencePoint& point : plot.points) {
        if (!Shown(plot, point)) continue;
        include(point.value);
        if (!HasBar(point)) continue;
        include(point.value - point.error);
        include(point.value + point.error);
    }
    if (low > high) return log ? FigureAxis{1.0, 10.0, true} : FigureAxis{0.0, 1.0, false};
    const double span = high - low;
    const double pad = span > 0.0 ? 0.05 * span : (log || low == 0.0 ? 0.5 : 0.1 * std::abs(low));
    low -= pad;
    high += pad;
    if (log) return {std::pow(10.0, low), std::pow(10.0, high), true};
    return {low, high, false};
}

// The residues' span, or nothing without residues.
std::optional<FigureAxis> ResidueSpan(const std::vector<double>& x) {
    if (x.empty()) return std::nullopt;
    const auto [first, last] = std::minmax_element(x.begin(), x.end());
    return FigureAxis{*first, *last, false};
}

// The span with room for the marks at its ends.
FigureAxis ResidueAxis(const std::optional<FigureAxis>& span) {
    if (!span) return {0.0, 1.0, false};
    const double pad = std::max(0.5, 0.015 * (span->high - span->low));
    return {span->low - pad, span->high + pad, false};
}

// Residue numbers, or the counted residues' names, at whole steps within the residues'
// span: no tick names a residue before the first or after the last.
TickRule ResidueTicks(const std::optional<FigureAxis>& span,
                      const std::vector<std::string>& counted) {
    const StepLabel label = [&counted](long multiple, double step) {
        if (counted.empty()) return StepText(multiple, step);
        const long count = std::lround(static_cast<double>(multiple) * step);
        const bool named = count >= 1 && count <= static_cast<long>(counted.size());
        return named ? counted[static_cast<std::size_t>(count - 1)] : std::string();
    };
    return [span, label](const FigureAxis& axis, const AxisPlacement& placement,
                         const TickRoom& room) -> std::vector<FigureTick> {
        if (!span) return {};
        const double start = placement.At(axis, span->low);
        if (span->low == span->high) {
            return {{start, true, label(std::lround(span->low), 1.0)}};
        }
        const AxisPlacement within{start, placement.At(axis, span->high) - start};
        return RoundTicks(*span, within, room, 1.0, label);
    };
}

// Marks as wide as the default where residues have room, narrower where they crowd.
double PointWidth(const FigureLayout& figure) {
    const double perResidue = figure.plot.width / (figure.xAxis.high - figure.xAxis.low);
    return std::clamp(0.8 * perResidue, kNarrowestPoint, FigureStyle::kPointWidth);
}

std::string Fixed(double value, int decimals) {
    std::array<char, 64> digits{};
    const auto [end, error] = std::to_chars(digits.data(), digits.data() + digits.size(),
                                            std::abs(value), std::chars_format::fixed, decimals);
    if (error != std::errc()) return "—";
    return (value < 0.0 ? "−" : "") + std::string(digits.data(), end);
}

// The value to the error's second significant digit, or to three without one.
std::string ValueText(const SequencePoint& point) {
    if (const std::optional<RoundedToError> rounded = RoundToError(point.value, point.error)) {
        return rounded->value + " ± " + rounded->error;
    }
    const double magnitude =
        point.value == 0.0 ? 0.0 : std::floor(std::log10(std::abs(point.value)));
    return Fixed(point.value, std::max(0, 2 - static_cast<int>(magnitude)));
}

}  // namespace

SequenceLayout LayOutSequencePlot(const SequencePlot& plot, double width, double height,
                                  const TextWidth& textWidth) {
    SequenceLayout layout;
    FigureLayout& figure = layout.figure;
    figure.width = width;
    figure.height = height;
    const ResiduePlaces places = PlacesOf(plot.points);
    const std::optional<FigureAxis> span = ResidueSpan(places.x);
    figure.xAxis = ResidueAxis(span);
    figure.yAxis = ValueAxis(plot);
    figure.xTitle = "Residue";
    figure.yTitle = plot.yTitle;
    std::vector<LegendText> entries;
    for (const SequenceSeries& series : plot.legend) {
        entries.push_back({{series.colour}, LegendMark::Curve, series.name});
    }
    const LegendGrid grid = GridOf(entries, width, textWidth);
    PlaceAxes(figure, grid.Height(), textWidth, ResidueTicks(span, places.counted));
    figure.pointWidth = PointWidth(figure);
    const FigureRect& frame = figure.plot;
    for (std::size_t i = 0; i < plot.points.size(); ++i) {
        const SequencePoint& point = plot.points[i];
        if (!Shown(plot, point)) continue;
        const double x = frame.left + *figure.xAxis.Fraction(places.x[i]) * frame.width;
        const double error = HasBar(point) ? point.error : std::numeric_limits<double>::quiet_NaN();
        if (const auto mark = PointMark(figure, x, point.value, error, point.colour)) {
            figure.points.push_back(*mark);
            layout.pointOfMark.push_back(i);
        }
    }
    PlaceLegend(figure, entries, grid);
    return layout;
}

std::optional<std::size_t> NearestPoint(const SequenceLayout& layout, FigurePoint at,
                                        double reach) {
    std::optional<std::size_t> nearest;
    double closest = reach * reach;
    const auto& marks = layout.figure.points;
    for (std::size_t i = 0; i < marks.size(); ++i) {
        const double dx = marks[i].at.x - at.x;
        const double dy = marks[i].at.y - at.y;
        const double distance = dx * dx + dy * dy;
        if (distance > closest) continue;
        closest = distance;
        nearest = layout.pointOfMark[i];
    }
    return nearest;
}

std::string PointReadout(const SequencePlot& plot, std::size_t index) {
    const SequencePoint& point = plot.points.at(index);
    std::string text = "residue " + point.residue;
    const auto series =
        std::find_if(plot.legend.begin(), plot.legend.end(),
                     [&](const SequenceSeries& s) { return s.colour == point.colour; });
    if (series != plot.legend.end()) text += ", " + series->name;
    text += ": ";
    if (!plot.yTitle.empty()) text += plot.yTitle + " ";
    return text + ValueText(point);
}

}  // namespace veldorin
