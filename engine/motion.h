// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/model.h"

namespace veldorin {

// The motions a model can be described by, each turned into the six Lorentzians. The
// axially symmetric diffusion is given either by its two diffusion constants or by the
// overall time and their ratio; both forms give the same Lorentzians.
enum class MotionKind : std::uint8_t {
    Rigid = 0,                 // isotropic tumbling: tau_m
    ModelFree = 1,             // S2, tau_m, tau_e
    ExtendedModelFree = 2,     // S2f, S2s, tau_m, tau_s, tau_f (0: the fast limit)
    AxialDiffusion = 3,        // D_par, D_perp, theta, S2, tau_e
    AxialDiffusionByTime = 4,  // tau_m = 1/(2 D_par + 4 D_perp), D_par/D_perp, theta, S2, tau_e
};
inline constexpr int kMotionKindCount = 5;

// Every parameter of any motion. A Motion keeps a value for each, so that a change of
// kind keeps the values the kinds share.
enum class MotionParameter : std::uint8_t {
    TauM = 0,  // overall correlation time, ns
    S2 = 1,    // order parameter of the internal motion
    TauE = 2,  // internal correlation time, ps (0: the fast limit)
    S2Fast = 3,
    S2Slow = 4,
    TauS = 5,            // slow internal time, ns
    TauF = 6,            // fast internal time, ps (0: the fast limit)
    DParallel = 7,       // 1e7 1/s
    DPerpendicular = 8,  // 1e7 1/s
    DiffusionRatio = 9,  // D_par / D_perp
    Theta = 10,          // angle of the bond to the symmetry axis, degrees
};
inline constexpr int kMotionParameterCount = 11;

// How a parameter is shown and stored: its label ("S²", "τm"), its unit ("ns"; empty for
// a pure number) and its key in a model file ("tauM").
struct MotionParameterInfo {
    std::string_view label;
    std::string_view unit;
    std::string_view key;
};
MotionParameterInfo InfoOf(MotionParameter parameter);

// The name of a kind as a list shows it, and its key in a model file.
std::string_view NameOf(MotionKind kind);
std::string_view KeyOf(MotionKind kind);
std::optional<MotionKind> MotionKindOfKey(std::string_view key);

// The parameters a kind is edited by, in the order they are listed.
std::span<const MotionParameter> ParametersOf(MotionKind kind);

// A motion in its parameters' units; only the kind's parameters matter.
struct Motion {
    MotionKind kind = MotionKind::Rigid;
    std::array<double, kMotionParameterCount> values{};

    double operator[](MotionParameter parameter) const {
        return values[static_cast<std::size_t>(parameter)];
    }
    double& operator[](MotionParameter parameter) {
        return values[static_cast<std::size_t>(parameter)];
    }
};

// A motion as typed: the kind and the texts of its parameters, as a model file keeps them.
struct MotionTexts {
    MotionKind kind = MotionKind::Rigid;
    std::array<std::string, kMotionParameterCount> texts;

    const std::string& operator[](MotionParameter parameter) const {
        return texts[static_cast<std::size_t>(parameter)];
    }
    std::string& operator[](MotionParameter parameter) {
        return texts[static_cast<std::size_t>(parameter)];
    }
    friend bool operator==(const MotionTexts&, const MotionTexts&) = default;
};

// What a fit of the motion frees: any of the motion's parameters, the exchange rate and the
// anisotropy; everything else keeps its value.
struct MotionFitChoice {
    std::vector<MotionParameter> free;
    bool rex = false;
    bool csa = false;
    friend bool operator==(const MotionFitChoice&, const MotionFitChoice&) = default;
};

// A parameter value the motion cannot take, and why ("an order parameter lies between 0
// and 1"), for the window to show beside the parameter's box.
struct MotionProblem {
    MotionParameter parameter;
    std::string reason;
};

// The problems of the kind's parameters, in their listed order; empty when the motion
// gives valid Lorentzians. Order parameters lie in [0, 1]; tau_m, the diffusion constants
// and their ratio are above 0; the internal times are 0 or above; theta lies in [0, 180]
// degrees; and no Lorentzian time may exceed 1 s, a problem of the parameter that makes
// the time long (tau_m, D_perp, or the ratio that stretches a short tau_m).
std::vector<MotionProblem> Validate(const Motion& motion);

// The texts read (each must be numeric) and validated; the motion only when all is well.
struct MotionReading {
    std::optional<Motion> motion;
    std::vector<MotionProblem> problems;
};
MotionReading ReadMotion(const MotionTexts& texts);

// The two forms of an axially symmetric diffusion: tau_m = 1/(2 D_par + 4 D_perp) in ns
// with ratio D_par / D_perp, and the constants in 1e7 1/s.
struct DiffusionConstants {
    double parallel = 0.0;
    double perpendicular = 0.0;
};
DiffusionConstants DiffusionOf(double tauMNanoseconds, double ratio);
double TauMNsOf(const DiffusionConstants& constants);

// Six Lorentzians in double precision: weights summing to 1 and times in ps. The rows a
// kind does not use have weight 0 and the first row's time.
struct MotionLorentzians {
    std::array<double, kLorentzianCount> weights{};
    std::array<double, kLorentzianCount> timesPs{};
};

// The Lorentzians of a valid motion, in this order of rows:
// - rigid: 1 at tau_m;
// - model-free: S2 at tau_m, 1 - S2 at (1/tau_m + 1/tau_e)^-1;
// - extended: S2f S2s at tau_m, S2f (1 - S2s) at (1/tau_m + 1/tau_s)^-1,
//   1 - S2f at (1/tau_m + 1/tau_f)^-1;
// - axial: S2 A_k at tau_k for k = 1..3, then (1 - S2) A_k at (1/tau_k + 1/tau_e)^-1, with
//   A1 = (3 cos^2 - 1)^2 / 4, A2 = 3 sin^2 cos^2, A3 = 3/4 sin^4 of theta and
//   1/tau1 = 6 D_perp, 1/tau2 = 5 D_perp + D_par, 1/tau3 = 2 D_perp + 4 D_par.
// A time of 0 (the fast limit) gives a time of 0.
MotionLorentzians ToLorentzians(const Motion& motion);

// The texts the window writes into the weight and time boxes: each value as the shortest
// decimal text that reads back as the same single.
struct LorentzianTexts {
    std::array<std::string, kLorentzianCount> weights;
    std::array<std::string, kLorentzianCount> times;
};
LorentzianTexts TextsOf(const MotionLorentzians& lorentzians);

// J(w) in ps of a valid motion at w in 1e6 rad/s, written from the correlation function
// (overall tumbling times internal motion) in terms of rates rather than from the rows of
// ToLorentzians: the reference the Lorentzians are checked against.
double MotionSpectralDensity(const Motion& motion, double w);

}  // namespace veldorin
