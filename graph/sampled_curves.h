// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <deque>
#include <string>
#include <vector>

#include "engine/constants.h"
#include "graph/plot_mode.h"
#include "graph/plotted_measurements.h"

namespace veldorin {

// One curve's values in the order it was drawn, one per sample of its run. A curve that
// ended early (J below 10 ps, or a run-time error) has fewer values than the run has samples.
struct SampledCurve {
    std::string quantity;   // e.g. "R2"
    std::string unit;       // e.g. "1/s"; empty for a pure number
    std::string parameter;  // in array mode the pass's value, e.g. "c1 = 0.125"; else empty
    Rgb colour;             // the colour the curve is drawn in
    std::vector<double> values;

    // The quantity, its unit and the parameter, e.g. "R2 (1/s), c1 = 0.125".
    std::string Heading() const;
};

// The values behind the curves of one run, as the calculation computed them rather than
// as the pixels they became: the horizontal value of every sample (the frequency w/2pi in
// MHz, or the time in ps for C(t)) and each curve's values at those samples.
struct SampledCurves {
    PlotMode mode = PlotMode::F;  // the plot the curves were drawn in
    std::string horizontalHeading;
    std::vector<double> horizontal;
    // A deque, so that the curves being filled stay in place while more are added.
    std::deque<SampledCurve> curves;
    // The measurements drawn as points beside the curves (rates and NOE plots only).
    std::vector<PlottedMeasurement> points;
};

// The curves as comma-separated text: a line of headings, then one line per sample with
// the horizontal value and each curve's value, empty where a curve has none. Values are
// the shortest text that reads back to the same double, with a full stop; a heading with
// a comma is quoted.
std::string CurvesCsv(const SampledCurves& curves);

}  // namespace veldorin
