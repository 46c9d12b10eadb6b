#include "graph/readout.h"

#include <cmath>

#include "engine/constants.h"
#include "engine/failure.h"
#include "engine/format.h"
#include "graph/plot_mode.h"

namespace veldorin {

namespace {

// Int(v): the greatest integer not above v.
double Cut(double value) { return std::floor(CheckFinite(value)); }

std::optional<std::string> Vertical(PlotMode mode, double y, double h) {
    switch (mode) {
        case PlotMode::J: {
            const double e = std::exp(std::log(1000.0) * (h - y) / h);
            return FormatDouble(Cut(e * 10.0 * 10.0) / 10.0) + " ps";
        }
        case PlotMode::F: {
            const double f = std::exp(-(y / h) * 2.0 * std::log(10.0));
            return FormatDouble(Cut(f * 1000.0) / 1000.0);
        }
        case PlotMode::Ct: {
            const double c = std::exp((y / h) * (std::log(1.0) - 3.0));
            return FormatDouble(Cut(c * 1000.0) / 1000.0);
        }
        case PlotMode::Rates: {
            const double r = std::exp(-std::log(80.0) * (y / 0.7 - h) / h);
            return FormatDouble(Cut(r * 10.0) / 10.0) + " 1/s";
        }
        case PlotMode::Noe: {
            // The cut value goes through text and back before the division; for an
            // integer of this size that round trip changes nothing.
            const double v = -5.5 - (y - h) * 8.0 / h;
            return FormatDouble(Cut(v * 100.0) / 100.0);
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> VerticalReadout(std::optional<PlotMode> plotMode, float y,
                                           float height) {
    if (!plotMode || !(height > 0.0f)) return std::nullopt;
    try {
        return Vertical(*plotMode, y, height);
    } catch (const CalculationError&) {
        return std::nullopt;
    }
}

std::optional<std::string> HorizontalReadout(std::optional<PlotMode> plotMode, float x,
                                             float width) {
    if (!(width > 0.0f)) return std::nullopt;
    try {
        if (plotMode == PlotMode::Ct) {
            // Computed in single precision, step by step; the axis spans 10200 ps.
            const float scaled = StoreSingle(StoreSingle(static_cast<double>(x) * 10200.0) / width);
            const float t = StoreSingle(std::floor(StoreSingle(scaled * 10.0)) / 10.0);
            return FormatSingle(t) + " ps";
        }
        const double w = std::pow(1000.0, static_cast<double>(x) / width) * 9.0;
        return FormatDouble(Cut(w * 10.0 / 2.0 / kPi) / 10.0) + " MHz";
    } catch (const CalculationError&) {
        return std::nullopt;
    }
}

}  // namespace veldorin
