// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <vector>

#include "engine/rgb.h"
#include "graph/figure_layout.h"

namespace veldorin {

// A residue's peak intensities against the delay as a figure: each series of one rate at
// one field in its colour, its measured intensities with their error bars and its fitted
// decay I0 exp(−R t) + offset, with the fitted rate in the legend.

struct DecayMeasurement {
    double delayS = 0.0;
    double intensity = 0.0;
    double error = 0.0;  // not above 0, or NaN: no bar
};

struct DecayCurve {
    std::string name;  // "R1, 600 MHz"
    Rgb colour;
    std::vector<DecayMeasurement> points;
    double i0 = 0.0;
    double rate = 0.0;  // 1/s
    double rateError = 0.0;
    double offset = 0.0;
};

struct DecayPlot {
    std::string yTitle;
    std::vector<DecayCurve> curves;
};

// The plot at a size in millimetres. x runs from the delay 0, where each curve starts at
// I0 + offset, past the longest delay; y spans 0, the intensities with their bars and the
// curves. A legend entry per curve: "R1, 600 MHz: 1.52 ± 0.03 1/s".
FigureLayout LayOutDecayPlot(const DecayPlot& plot, double width, double height,
                             const TextWidth& textWidth);

}  // namespace veldorin
