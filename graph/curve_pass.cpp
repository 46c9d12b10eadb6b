#include "curve_pass.h"

#include <cmath>
#include <cstdint>

#include "failure.h"
#include "model.h"
#include "plot_mode.h"

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

void CurvePass::Draw(int plotMode, const WorkingValues& values) {
    const auto mode = static_cast<PlotMode>(plotMode);
    if (mode == PlotMode::F || mode == PlotMode::J) {
        DensityCurve(mode == PlotMode::F, values.lorentzians);
    } else if (mode == PlotMode::Ct) {
        CorrelationCurve(values.lorentzians);
    } else if (mode == PlotMode::Rates || mode == PlotMode::Noe) {
        RateCurves(mode == PlotMode::Noe, values);
    }
}

void CurvePass::DensityCurve(bool distribution, const Lorentzians& lorentzians) {
    const Rgb colour = DensityCurveColour(pass_);
    float previousX = 0.0f;
    float previousY = 0.0f;
    bool first = true;
    for (const GridPoint& point : FrequencyGrid(scale_.width())) {
        const float j = CurveSpectralDensity(lorentzians, point.value);
        double y = 0.0;
        if (distribution) {
            y = scale_.YOfF(2e-6 * point.value * j);
        } else {
            // Below 10 ps the curve leaves the panel for good: it ends here.
            if (!(j > 10.0f)) return;
            y = scale_.YOfJ(j);
        }
        const float clamped = scale_.CurveY(y);
        if (!first) Segment(previousX, previousY, point.x, clamped, colour);
        previousX = point.x;
        previousY = clamped;
        first = false;
    }
}

void CurvePass::CorrelationCurve(const Lorentzians& lorentzians) {
    out_.emplace_back(draw::SetAxisCaption{"t , ps"});
    const Rgb colour = DensityCurveColour(pass_);
    float previousX = 0.0f;
    float previousY = 0.0f;
    bool first = true;
    for (const GridPoint& point : TimeGrid(scale_.width())) {
        const float c = CorrelationAt(lorentzians, point.value);
        const float y = scale_.CurveY(scale_.YOfLogC(LogOf(c + 1e-15)));
        if (!first) Segment(previousX, previousY, point.x, y, colour);
        previousX = point.x;
        previousY = y;
        first = false;
    }
}

void CurvePass::RateCurves(bool noe, const WorkingValues& values) {
    const Rgb r2Colour = R2CurveColour(pass_);
    const Rgb r1Colour = R1CurveColour(pass_);
    float previousX = 0.0f;
    float previousNoe = 0.0f;
    float previousR2 = 0.0f;
    float previousR1 = 0.0f;
    bool first = true;
    for (const GridPoint& point : FrequencyGrid(scale_.width())) {
        const FieldResult result = RelaxationAtField(values, point.value);
        // All three positions are computed in either mode, so a value that cannot
        // be mapped ends the run whichever curve is shown.
        const float yNoe = scale_.CurveY(scale_.YOfNoe(NoeValue(result)));
        const float yR2 = scale_.CurveY(scale_.YOfLogRate(LogOf(result.r2 + 1e-12)));
        const float yR1 = scale_.CurveY(scale_.YOfLogRate(LogOf(result.r1 + 1e-12)));
        if (!first) {
            if (noe) {
                Segment(previousX, previousNoe, point.x, yNoe, r2Colour);
            } else {
                Segment(previousX, previousR2, point.x, yR2, r2Colour);
                Segment(previousX, previousR1, point.x, yR1, r1Colour);
            }
        }
        previousX = point.x;
        previousNoe = yNoe;
        previousR2 = yR2;
        previousR1 = yR1;
        first = false;
    }
}

void CurvePass::Segment(float x1, float y1, float x2, float y2, Rgb colour) {
    out_.emplace_back(draw::LineInColour{x1, y1, x2, y2, colour});
}

}  // namespace veldorin
