// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "engine/constants.h"
#include "engine/relaxation.h"
#include "graph/draw_command.h"
#include "graph/graph_scale.h"
#include "graph/plot_mode.h"
#include "graph/sampled_curves.h"

namespace veldorin {

// Every curve is drawn 2 pixels wide: 1.5 converted to an integer, half to even.
inline constexpr int kCurveLineWidth = 2;

// Colours of pass k (1 with array mode off, 1..11 in array mode).
Rgb DensityCurveColour(int pass);  // F(w), J(w), C(t): (255 - 15k, 0, 0)
Rgb R2CurveColour(int pass);       // R2 and the NOE: (265 - 15k, 0, 0)
Rgb R1CurveColour(int pass);       // (128 + 10k, 128, 255)

// J(w) in ps as the J(w) and F(w) curves sum it: 1e-10 plus all six terms,
// whatever the sign of the weight (the table's SpectralDensity skips weights not
// above 0), in single precision.
float CurveSpectralDensity(const Lorentzians& lorentzians, float w);
// C(t) at t in ps: the sum of ci exp(-t/(ti + 1e-12)) over all six terms, single.
float CorrelationAt(const Lorentzians& lorentzians, float t);

// The points at which a run samples its curves, the same for all its passes.
struct CurveGrids {
    explicit CurveGrids(float width) : frequency(FrequencyGrid(width)), time(TimeGrid(width)) {}

    std::array<GridPoint, kFrequencyPoints> frequency;
    std::array<GridPoint, kTimePoints> time;
};

// The samples of a run's curves in the plot mode, with no curve yet: the frequency
// w/2pi in MHz at each step of the frequency grid, or the time in ps for C(t).
SampledCurves CurveSamples(PlotMode mode, const CurveGrids& grids);

// One drawing pass: the curve or curves of the plot mode, from the working values
// of the pass, appended to the commands as segments in the pass's colours, and their
// values to the samples, each curve named by its quantity, its unit, its colour and the
// pass's parameter (in array mode the arrayed value, else empty). Throws CalculationError at a
// run-time error; the segments drawn and the values computed before it stay.
class CurvePass {
public:
    CurvePass(const GraphScale& scale, const CurveGrids& grids, int pass, DrawCommands& out,
              SampledCurves& samples, std::string parameter)
        : scale_(scale),
          grids_(grids),
          pass_(pass),
          out_(out),
          samples_(samples),
          parameter_(std::move(parameter)) {}

    void Draw(PlotMode mode, const WorkingValues& values);

private:
    // J(w), or F(w) = 2wJ(w) when distribution is set.
    void DensityCurve(bool distribution, const Lorentzians& lorentzians);
    void CorrelationCurve(const Lorentzians& lorentzians);
    // R2 then R1 at each step, or the NOE alone.
    void RateCurves(bool noe, const WorkingValues& values);
    // A new curve's values, in the samples, named by its quantity and the parameter.
    std::vector<double>& NewCurve(const std::string& quantity, const std::string& unit, Rgb colour);

    GraphScale scale_;
    const CurveGrids& grids_;
    int pass_;
    DrawCommands& out_;
    SampledCurves& samples_;
    std::string parameter_;
};

}  // namespace veldorin
