// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "graph/decay_plot.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

#include "engine/format.h"
#include "graph/figure_frame.h"

namespace veldorin {

namespace {

// Enough segments that the exponential looks smooth at a page's width.
constexpr int kCurveSegments = 150;
// Room beyond the longest delay and the span of the intensities, as a share of them.
constexpr double kPadding = 0.05;

bool HasBar(const DecayMeasurement& point) {
    return point.error > 0.0 && std::isfinite(point.error);
}

double CurveAt(const DecayCurve& curve, double delayS) {
    return curve.i0 * std::exp(-curve.rate * delayS) + curve.offset;
}

FigureAxis DelayAxis(const DecayPlot& plot) {
    double longest = 0.0;
    for (const DecayCurve& curve : plot.curves) {
        for (const DecayMeasurement& point : curve.points) {
            if (std::isfinite(point.delayS)) longest = std::max(longest, point.delayS);
        }
    }
    return {0.0, longest > 0.0 ? (1.0 + kPadding) * longest : 1.0, false};
}

std::vector<double> SampleDelays(const FigureAxis& delays) {
    std::vector<double> at;
    for (int i = 0; i <= kCurveSegments; ++i) {
        at.push_back(delays.low + (delays.high - delays.low) * i / kCurveSegments);
    }
    return at;
}

// From 0, so that how far each series decays shows, over every intensity, bar and curve.
FigureAxis IntensityAxis(const DecayPlot& plot, const std::vector<double>& delays) {
    double low = 0.0;
    double high = 0.0;
    const auto include = [&](double v) {
        if (!std::isfinite(v)) return;
        low = std::min(low, v);
        high = std::max(high, v);
    };
    for (const DecayCurve& curve : plot.curves) {
        for (const DecayMeasurement& point : curve.points) {
            include(point.intensity);
            if (!HasBar(point)) continue;
            include(point.intensity - point.error);
            include(point.intensity + point.error);
        }
        for (const double delay : delays) include(CurveAt(curve, delay));
    }
    if (low == high) return {0.0, 1.0, false};
    const double pad = kPadding * (high - low);
    return {low < 0.0 ? low - pad : 0.0, high > 0.0 ? high + pad : 0.0, false};
}

// The curve as runs of points; a value that is not finite breaks it.
std::vector<FigurePolyline> CurveLines(const DecayCurve& curve, const FigureLayout& figure,
                                       const std::vector<double>& delays) {
    std::vector<FigurePolyline> lines;
    FigurePolyline line{curve.colour, {}};
    const auto flush = [&] {
        if (line.points.size() >= 2) lines.push_back(line);
        line.points.clear();
    };
    const FigureRect& frame = figure.plot;
    for (const double delay : delays) {
        const double value = CurveAt(curve, delay);
        if (!std::isfinite(value)) {
            flush();
            continue;
        }
        line.points.push_back({frame.left + *figure.xAxis.Fraction(delay) * frame.width,
                               frame.bottom() - *figure.yAxis.Fraction(value) * frame.height});
    }
    flush();
    return lines;
}

std::string RateText(const DecayCurve& curve) {
    if (const std::optional<RoundedToError> rounded = RoundToError(curve.rate, curve.rateError)) {
        return rounded->value + " ± " + rounded->error + " 1/s";
    }
    std::array<char, 32> digits{};
    const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), curve.rate,
                                   std::chars_format::general, 4)
                         .ptr;
    return std::string(digits.data(), end) + " 1/s";
}

}  // namespace

FigureLayout LayOutDecayPlot(const DecayPlot& plot, double width, double height,
                             const TextWidth& textWidth) {
    FigureLayout figure;
    figure.width = width;
    figure.height = height;
    figure.xAxis = DelayAxis(plot);
    const std::vector<double> delays = SampleDelays(figure.xAxis);
    figure.yAxis = IntensityAxis(plot, delays);
    figure.xTitle = "Delay, s";
    figure.yTitle = plot.yTitle;
    std::vector<LegendText> entries;
    for (const DecayCurve& curve : plot.curves) {
        entries.push_back({{curve.colour}, LegendMark::Curve, curve.name + ": " + RateText(curve)});
    }
    const LegendGrid grid = GridOf(entries, width, textWidth);
    PlaceAxes(figure, grid.Height(), textWidth);
    const FigureRect& frame = figure.plot;
    for (const DecayCurve& curve : plot.curves) {
        for (FigurePolyline& line : CurveLines(curve, figure, delays)) {
            figure.curves.push_back(std::move(line));
        }
        for (const DecayMeasurement& point : curve.points) {
            const auto along = figure.xAxis.Fraction(point.delayS);
            if (!along || !std::isfinite(*along)) continue;
            const double error =
                HasBar(point) ? point.error : std::numeric_limits<double>::quiet_NaN();
            if (const auto mark = PointMark(figure, frame.left + *along * frame.width,
                                            point.intensity, error, curve.colour)) {
                figure.points.push_back(*mark);
            }
        }
    }
    PlaceLegend(figure, entries, grid);
    return figure;
}

}  // namespace veldorin
