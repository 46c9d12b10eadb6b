// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "graph/curve_pass.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "engine/checked_arithmetic.h"
#include "engine/failure.h"
#include "engine/model.h"
#include "engine/relaxation_across_fields.h"
#include "graph/plot_mode.h"

namespace veldorin {

namespace {
std::uint8_t Component(int value) { return static_cast<std::uint8_t>(value); }
}  // namespace

Rgb DensityCurveColour(int pass) { return {Component(255 - 15 * pass), 0, 0}; }
Rgb R2CurveColour(int pass) { return {Component(265 - 15 * pass), 0, 0}; }
Rgb R1CurveColour(int pass) { return {Component(128 + 10 * pass), 128, 255}; }

float CurveSpectralDensity(const Lorentzians& lorentzians, float w) {
    float j = StoreSingle(1e-10);
    for (int i = 0; i < kLorentzianCount; ++i) {
        const double t = lorentzians.times[i];
        const double u = StoreSingle(t * w * 1e-6);
        j = StoreSingle(j + t * lorentzians.weights[i] / (u * u + 1.0));
    }
    return j;
}

float CorrelationAt(const Lorentzians& lorentzians, float t) {
    float c = 0.0f;
    for (int i = 0; i < kLorentzianCount; ++i) {
        const double decay = CheckFinite(std::exp(Divide(-t, lorentzians.times[i] + 1e-12)));
        c = StoreSingle(c + lorentzians.weights[i] * decay);
    }
    return c;
}

SampledCurves CurveSamples(PlotMode mode, const CurveGrids& grids) {
    SampledCurves samples;
    samples.mode = mode;
    if (mode == PlotMode::Ct) {
        samples.horizontalHeading = "t (ps)";
        for (const GridPoint& point : grids.time) samples.horizontal.push_back(point.value);
    } else {
        samples.horizontalHeading = "frequency (MHz)";
        for (const GridPoint& point : grids.frequency) {
            samples.horizontal.push_back(static_cast<double>(point.value) / 2.0 / kPi);
        }
    }
    return samples;
}

std::vector<double>& CurvePass::NewCurve(const std::string& quantity, const std::string& unit,
                                         Rgb colour) {
    std::vector<double>& values =
        samples_.curves.emplace_back(SampledCurve{quantity, unit, parameter_, colour, {}}).values;
    values.reserve(static_cast<std::size_t>(std::max(kFrequencyPoints, kTimePoints)));
    return values;
}

void CurvePass::Draw(PlotMode mode, const WorkingValues& values) {
    switch (mode) {
        case PlotMode::F: DensityCurve(true, values.lorentzians); break;
        case PlotMode::J: DensityCurve(false, values.lorentzians); break;
        case PlotMode::Ct: CorrelationCurve(values.lorentzians); break;
        case PlotMode::Rates: RateCurves(false, values); break;
        case PlotMode::Noe: RateCurves(true, values); break;
    }
}

namespace {

// A curve in one colour: each point after the first is joined to the one before. The
// value behind each point is kept beside it.
class Polyline {
public:
    Polyline(Rgb colour, DrawCommands& out, std::vector<double>& values)
        : colour_(colour), out_(out), values_(values) {}

    void To(float x, float y, double value) {
        if (started_)
            out_.emplace_back(std::in_place_type<draw::LineInColour>,
                              draw::LineInColour{x_, y_, x, y, colour_});
        values_.push_back(value);
        x_ = x;
        y_ = y;
        started_ = true;
    }

private:
    Rgb colour_;
    DrawCommands& out_;
    std::vector<double>& values_;
    float x_ = 0.0f;
    float y_ = 0.0f;
    bool started_ = false;
};

}  // namespace

void CurvePass::DensityCurve(bool distribution, const Lorentzians& lorentzians) {
    const Rgb colour = DensityCurveColour(pass_);
    Polyline curve(colour, out_,
                   distribution ? NewCurve("F", "", colour) : NewCurve("J", "ps", colour));
    for (const GridPoint& point : grids_.frequency) {
        const float j = CurveSpectralDensity(lorentzians, point.value);
        if (distribution) {
            const double f = 2e-6 * point.value * j;
            curve.To(point.x, scale_.CurveY(scale_.YOfF(f)), f);
        } else {
            // Below 10 ps the curve leaves the panel for good: it ends here.
            if (!(j > 10.0f)) return;
            curve.To(point.x, scale_.CurveY(scale_.YOfJ(j)), j);
        }
    }
}

void CurvePass::CorrelationCurve(const Lorentzians& lorentzians) {
    out_.emplace_back(draw::SetAxisCaption{"t , ps"});
    const Rgb colour = DensityCurveColour(pass_);
    Polyline curve(colour, out_, NewCurve("C", "", colour));
    for (const GridPoint& point : grids_.time) {
        const float c = CorrelationAt(lorentzians, point.value);
        curve.To(point.x, scale_.CurveY(scale_.YOfLogC(LogOf(c + 1e-15))), c);
    }
}

void CurvePass::RateCurves(bool noe, const WorkingValues& values) {
    // The curves of the other mode draw nothing and keep no values.
    std::vector<double> unshown;
    const Rgb r2Colour = R2CurveColour(pass_);
    const Rgb r1Colour = R1CurveColour(pass_);
    Polyline noeCurve(r2Colour, out_, noe ? NewCurve("NOE", "", r2Colour) : unshown);
    Polyline r2Curve(r2Colour, out_, noe ? unshown : NewCurve("R2", "1/s", r2Colour));
    Polyline r1Curve(r1Colour, out_, noe ? unshown : NewCurve("R1", "1/s", r1Colour));
    const std::array<GridPoint, kFrequencyPoints>& grid = grids_.frequency;
    std::array<float, kFrequencyPoints> fields;
    for (std::size_t k = 0; k < grid.size(); ++k) fields[k] = grid[k].value;
    // All fields at once when none of them fails; otherwise one by one, so the run
    // fails at the same point, for the same reason, with the same segments drawn.
    std::array<FieldResult, kFrequencyPoints> swept;
    const bool allSwept = RelaxationAcrossFields(values, fields, swept);
    for (std::size_t k = 0; k < grid.size(); ++k) {
        const GridPoint& point = grid[k];
        const FieldResult result = allSwept ? swept[k] : RelaxationAtField(values, point.value);
        // All three positions are computed in either mode, so a value that cannot
        // be mapped ends the run whichever curve is shown.
        const float yNoe = scale_.CurveY(scale_.YOfNoe(NoeValue(result)));
        const float yR2 = scale_.CurveY(scale_.YOfLogRate(LogOf(result.r2 + 1e-12)));
        const float yR1 = scale_.CurveY(scale_.YOfLogRate(LogOf(result.r1 + 1e-12)));
        if (noe) {
            noeCurve.To(point.x, yNoe, NoeValue(result));
        } else {
            // R2's segment before R1's at every step.
            r2Curve.To(point.x, yR2, result.r2);
            r1Curve.To(point.x, yR1, result.r1);
        }
    }
}

}  // namespace veldorin
