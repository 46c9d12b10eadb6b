// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "engine/measurement.h"
#include "fit/relaxation_model.h"

namespace veldorin {

// The parameters of the model-free family in one place: the overall correlation time,
// the order parameters of the fast and slow internal motions (S2 = S2f S2s), their
// effective times, the exchange rate and the anisotropy. Their values are in the units
// ParameterName gives: times in ps, Rex in 1/s at 800 MHz, the CSA in ppm.
enum class ModelFreeParameter { Tm, S2f, S2s, Te, Tf, Ts, Rex, Csa };
inline constexpr int kModelFreeParameterCount = 8;

struct ModelFreeValues {
    std::array<double, kModelFreeParameterCount> values{5000.0, 1.0, 1.0, 0.0,
                                                        0.0,    0.0, 0.0, -172.0};
    double& operator[](ModelFreeParameter p) { return values[static_cast<std::size_t>(p)]; }
    double operator[](ModelFreeParameter p) const { return values[static_cast<std::size_t>(p)]; }
};

// The models m0..m9 as the literature numbers them, each by its free parameters besides
// the overall time (and the anisotropy, when fitted):
// m0 {}, m1 {S2}, m2 {S2, te}, m3 {S2, Rex}, m4 {S2, te, Rex}, m5 {S2f, S2, ts},
// m6 {S2f, tf, S2, ts}, m7 {S2f, S2, ts, Rex}, m8 {S2f, tf, S2, ts, Rex}, m9 {Rex}.
// Models 5 to 8 are fitted in S2f and S2s, so that S2 = S2f S2s never exceeds S2f.
// m0 and m9 are rigid overall tumbling, S2 = 1 with no internal motion; m9 adds exchange.
struct ModelFreeModel {
    int number = 0;
    std::vector<ModelFreeParameter> free;
    bool extended = false;  // models 5 to 8: the fast and slow motions apart
    bool rigid = false;     // models 0 and 9: S2 = 1, the overall tumbling alone
};
inline constexpr int kModelFreeModelCount = 10;
// The extended models' surfaces hold many minima, some in corners where a motion has no
// weight or no time, that a grid's minima alone do not all reach: their fits try this
// many scattered starts too.
inline constexpr int kExtendedScatteredStarts = 16;
const ModelFreeModel& ModelFreeModelNumber(int number);

// The spectral density of the model at the values, straight from them in ps: S2 at tm, then
// the internal motions at their effective times (1/tm + 1/t)^-1; a time of 0 contributes
// nothing. Two or three terms, where a window's motion has six (MotionTerms).
// With a `tumbling` of several terms (anisotropic overall diffusion seen by one bond), each
// of its terms takes the place of tm, weighted by its weight, and tm is not used.
SpectralTerms ModelFreeTerms(const ModelFreeModel& model, const ModelFreeValues& values,
                             const SpectralTerms& tumbling = {});

// The weighted residuals of the compared data under the model at the values, the spin
// system taking its exchange and anisotropy from the values.
void ModelResiduals(const FitSpinSystem& system, const ModelFreeModel& model,
                    const ModelFreeValues& values, std::span<const Measurement> compared,
                    std::span<double> out, const SpectralTerms& tumbling = {});

// What the model gives back for each measurement at the values, likewise.
std::vector<double> CalculatedValues(const FitSpinSystem& system, const ModelFreeModel& model,
                                     const ModelFreeValues& values,
                                     std::span<const Measurement> measurements,
                                     const SpectralTerms& tumbling = {});

// The names of the parameters in the output ("tm_ps", "S2f", ...), and the derived S2.
std::string_view ParameterName(ModelFreeParameter parameter);
double OrderParameter(const ModelFreeModel& model, const ModelFreeValues& values);

}  // namespace veldorin
