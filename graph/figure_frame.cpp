// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "graph/figure_frame.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace veldorin {

namespace {

constexpr double kMargin = 1.0;  // around the whole figure
constexpr double kGap = FigureStyle::kLabelGap;
constexpr double kColumnGap = 3.0;  // between legend columns
constexpr double kSwatchLength = FigureStyle::kSwatchLength;
constexpr double kSwatchGap = FigureStyle::kSwatchGap;
constexpr double kLineSpacing = 1.4;  // a legend line's height over its type size

double Millimetres(double points) { return points * kMillimetresPerPoint; }
double TickHeight() { return Millimetres(FigureStyle::kTickPoints); }
double TitleHeight() { return Millimetres(FigureStyle::kTitlePoints); }
double LegendLine() { return Millimetres(FigureStyle::kLegendPoints) * kLineSpacing; }

// A decade as decimal text: "0.01", "1", "1000".
std::string DecadeText(int exponent) {
    if (exponent >= 0) return "1" + std::string(static_cast<std::size_t>(exponent), '0');
    return "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + "1";
}

// A tick at every multiple 1..9 of each decade, labelled for the `labelled` multiples.
std::vector<FigureTick> LogTicks(const FigureAxis& axis, const AxisPlacement& placement,
                                 const std::vector<int>& labelled) {
    std::vector<FigureTick> ticks;
    const int first = static_cast<int>(std::floor(std::log10(axis.low)));
    const int last = static_cast<int>(std::ceil(std::log10(axis.high)));
    for (int exponent = first; exponent <= last; ++exponent) {
        const double decade = std::pow(10.0, exponent);
        for (int multiple = 1; multiple <= 9; ++multiple) {
            const double value = multiple * decade;
            if (!Within(axis, value)) continue;
            const bool major =
                std::find(labelled.begin(), labelled.end(), multiple) != labelled.end();
            std::string label;
            if (major) label = multiple == 1 ? DecadeText(exponent) : StepText(multiple, decade);
            ticks.push_back({placement.At(axis, value), major, label});
        }
    }
    return ticks;
}

std::size_t Labelled(const std::vector<FigureTick>& ticks) {
    return static_cast<std::size_t>(
        std::count_if(ticks.begin(), ticks.end(), [](const FigureTick& t) { return t.major; }));
}

// The closest two neighbouring ticks come: on a logarithmic axis round steps crowd
// towards its high end.
double ClosestSpacing(const std::vector<FigureTick>& ticks) {
    double closest = std::numeric_limits<double>::infinity();
    for (std::size_t i = 1; i < ticks.size(); ++i) {
        closest = std::min(closest, std::abs(ticks[i].at - ticks[i - 1].at));
    }
    return closest;
}

double WidestLabel(const std::vector<FigureTick>& ticks, const TextWidth& textWidth) {
    double widest = 0.0;
    for (const FigureTick& tick : ticks) {
        widest = std::max(widest, textWidth(tick.label, FigureStyle::kTickPoints));
    }
    return widest;
}

double SwatchesWidth(const std::vector<Rgb>& swatches, LegendMark mark) {
    const auto count = static_cast<double>(swatches.size());
    if (mark == LegendMark::Scale) return count * FigureStyle::kScaleStep;
    return count * kSwatchLength + std::max(0.0, count - 1.0) * kSwatchGap;
}

double EntryWidth(const LegendText& entry, const TextWidth& textWidth) {
    return SwatchesWidth(entry.swatches, entry.mark) + kGap +
           textWidth(entry.text, FigureStyle::kLegendPoints);
}

}  // namespace

double AxisPlacement::At(const FigureAxis& axis, double value) const {
    return start + length * axis.Fraction(value).value_or(0.0);
}

bool Within(const FigureAxis& axis, double value) {
    const double slack = 1e-9 * std::max(std::abs(axis.low), std::abs(axis.high));
    return value >= axis.low - slack && value <= axis.high + slack;
}

std::string StepText(long multiple, double step) {
    if (multiple == 0) return "0";
    const int decimals = step >= 1.0 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
    // Not printf: the numbers must not follow the locale's decimal separator.
    std::array<char, 32> digits{};
    const auto end = std::to_chars(digits.data(), digits.data() + digits.size(),
                                   std::abs(multiple * step), std::chars_format::fixed, decimals)
                         .ptr;
    return (multiple < 0 ? "−" : "") + std::string(digits.data(), end);
}

std::vector<FigureTick> RoundTicks(const FigureAxis& axis, const AxisPlacement& placement,
                                   const TickRoom& room, double finest, const StepLabel& label) {
    const double range = axis.high - axis.low;
    std::vector<FigureTick> ticks;
    for (int power = static_cast<int>(std::floor(std::log10(range))) - 2;; ++power) {
        for (const double mantissa : {1.0, 2.0, 5.0}) {
            const double step = mantissa * std::pow(10.0, power);
            if (step < finest * (1.0 - 1e-9)) continue;
            ticks.clear();
            for (auto k = static_cast<long>(std::ceil(axis.low / step - 1e-9));
                 k * step <= axis.high + 1e-9 * range; ++k) {
                ticks.push_back({placement.At(axis, k * step), true, label(k, step)});
            }
            const double spacing = axis.logarithmic ? ClosestSpacing(ticks)
                                                    : std::abs(step / range * placement.length);
            if (ticks.size() <= 2 || spacing >= room(ticks)) return ticks;
        }
    }
}

std::vector<FigureTick> AxisTicks(const FigureAxis& axis, const AxisPlacement& placement,
                                  const TickRoom& room) {
    if (!axis.logarithmic) return RoundTicks(axis, placement, room);
    for (const std::vector<int>& labelled : {std::vector<int>{1}, std::vector<int>{1, 2, 5}}) {
        std::vector<FigureTick> ticks = LogTicks(axis, placement, labelled);
        if (Labelled(ticks) >= 2) return ticks;
    }
    return RoundTicks(axis, placement, room);
}

double LegendGrid::Height() const { return static_cast<double>(scaleRows + rows) * LegendLine(); }

LegendGrid GridOf(const std::vector<LegendText>& entries, double width,
                  const TextWidth& textWidth) {
    LegendGrid grid;
    double entryWidth = 0.0;
    std::size_t gridded = 0;
    for (const LegendText& entry : entries) {
        const double entryOwn = EntryWidth(entry, textWidth);
        if (entry.mark == LegendMark::Scale) {
            ++grid.scaleRows;
            grid.scaleWidth = std::max(grid.scaleWidth, entryOwn);
        } else {
            ++gridded;
            entryWidth = std::max(entryWidth, entryOwn);
        }
    }
    grid.columnWidth = entryWidth + kColumnGap;
    const auto columns = std::clamp<std::size_t>(
        static_cast<std::size_t>((width - 2.0 * kMargin + kColumnGap) / grid.columnWidth), 1,
        std::max<std::size_t>(gridded, 1));
    grid.rows = (gridded + columns - 1) / columns;
    return grid;
}

void PlaceAxes(FigureLayout& figure, double legendHeight, const TextWidth& textWidth,
               const TickRule& xTicks) {
    const double tickHeight = TickHeight();
    const double titleHeight = TitleHeight();
    FigureRect& plot = figure.plot;
    plot.top = kMargin + tickHeight / 2.0;
    const double below =
        kGap + tickHeight + kGap + titleHeight + 2.0 * kGap + legendHeight + kMargin;
    plot.height = std::max(0.0, figure.height - plot.top - below);

    const auto verticalRoom = [&](const std::vector<FigureTick>&) { return 1.8 * tickHeight; };
    figure.yTicks = AxisTicks(figure.yAxis, {plot.bottom(), -plot.height}, verticalRoom);
    plot.left = kMargin + titleHeight + 1.5 * kGap + WidestLabel(figure.yTicks, textWidth) + kGap;
    plot.width = std::max(0.0, figure.width - plot.left - kMargin);

    const auto horizontalRoom = [&](const std::vector<FigureTick>& ticks) {
        return WidestLabel(ticks, textWidth) + 2.0 * kGap;
    };
    figure.xTicks = xTicks(figure.xAxis, {plot.left, plot.width}, horizontalRoom);
    // The last number may not run over the right edge.
    for (const FigureTick& tick : figure.xTicks) {
        const double overhang = tick.at + textWidth(tick.label, FigureStyle::kTickPoints) / 2.0 -
                                (figure.width - kMargin);
        if (tick.major && overhang > 0.0) plot.width = std::max(0.0, plot.width - overhang);
    }
    figure.xTicks = xTicks(figure.xAxis, {plot.left, plot.width}, horizontalRoom);

    figure.xTitleCentre = {plot.left + plot.width / 2.0,
                           plot.bottom() + kGap + tickHeight + kGap + titleHeight / 2.0};
    figure.yTitleCentre = {kMargin + titleHeight / 2.0, plot.top + plot.height / 2.0};
}

void PlaceLegend(FigureLayout& figure, const std::vector<LegendText>& entries,
                 const LegendGrid& grid) {
    const double legendTop = figure.xTitleCentre.y + TitleHeight() / 2.0 + 2.0 * kGap;
    const auto place = [&](const LegendText& entry, FigurePoint at) {
        figure.legend.push_back({entry.swatches, entry.mark, entry.text, at,
                                 at.x + SwatchesWidth(entry.swatches, entry.mark) + kGap});
    };
    const double scaleLeft = (figure.width - grid.scaleWidth) / 2.0;
    for (std::size_t i = 0; i < grid.scaleRows; ++i) {
        place(entries[i], {scaleLeft, legendTop + (static_cast<double>(i) + 0.5) * LegendLine()});
    }
    const std::size_t rows = grid.rows;
    const std::size_t gridded = entries.size() - grid.scaleRows;
    const std::size_t usedColumns = rows == 0 ? 0 : (gridded + rows - 1) / rows;
    const double gridLeft =
        (figure.width - static_cast<double>(usedColumns) * grid.columnWidth + kColumnGap) / 2.0;
    const double gridTop = legendTop + static_cast<double>(grid.scaleRows) * LegendLine();
    for (std::size_t i = 0; i < gridded; ++i) {
        place(entries[grid.scaleRows + i],
              {gridLeft + static_cast<double>(i / rows) * grid.columnWidth,
               gridTop + (static_cast<double>(i % rows) + 0.5) * LegendLine()});
    }
}

std::optional<FigurePointMark> PointMark(const FigureLayout& figure, double x, double value,
                                         double error, Rgb colour) {
    const FigureRect& plot = figure.plot;
    const auto yOf = [&](double v) -> std::optional<double> {
        const auto fraction = figure.yAxis.Fraction(v);
        if (!fraction || !std::isfinite(*fraction)) return std::nullopt;
        return plot.bottom() - *fraction * plot.height;
    };
    const auto y = yOf(value);
    if (!y) return std::nullopt;
    if (std::isnan(error)) return FigurePointMark{colour, {x, *y}, error, error};
    return FigurePointMark{colour,
                           {x, *y},
                           yOf(value - error).value_or(plot.bottom()),
                           yOf(value + error).value_or(plot.top)};
}

}  // namespace veldorin
