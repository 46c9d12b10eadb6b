// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/motion.h"

#include <cmath>
#include <utility>

#include "engine/constants.h"
#include "engine/failure.h"
#include "engine/format.h"
#include "engine/numeric_text.h"

namespace veldorin {
namespace {

using P = MotionParameter;

constexpr std::array<MotionParameter, 1> kRigid = {P::TauM};
constexpr std::array<MotionParameter, 3> kModelFree = {P::S2, P::TauM, P::TauE};
constexpr std::array<MotionParameter, 5> kExtended = {P::S2Fast, P::S2Slow, P::TauM, P::TauS,
                                                      P::TauF};
constexpr std::array<MotionParameter, 5> kAxial = {P::DParallel, P::DPerpendicular, P::Theta, P::S2,
                                                   P::TauE};
constexpr std::array<MotionParameter, 5> kAxialByTime = {P::TauM, P::DiffusionRatio, P::Theta,
                                                         P::S2, P::TauE};

constexpr std::array<MotionParameterInfo, kMotionParameterCount> kInfo = {{
    {"τm", "ns", "tauM"},
    {"S²", "", "S2"},
    {"τe", "ps", "tauE"},
    {"S²f", "", "S2f"},
    {"S²s", "", "S2s"},
    {"τs", "ns", "tauS"},
    {"τf", "ps", "tauF"},
    {"D∥", "1e7 1/s", "Dpar"},
    {"D⊥", "1e7 1/s", "Dperp"},
    {"D∥/D⊥", "", "Dratio"},
    {"θ", "°", "theta"},
}};

constexpr std::array<std::pair<std::string_view, std::string_view>, kMotionKindCount> kKindNames = {
    {
        {"Rigid, isotropic", "rigid"},
        {"Model-free", "model-free"},
        {"Extended model-free", "extended-model-free"},
        {"Axially symmetric diffusion (D∥, D⊥)", "axial"},
        {"Axially symmetric diffusion (τm, D∥/D⊥)", "axial-tauM"},
    }};

// A time of 1 s in ps: far within single precision, far beyond any tumbling.
constexpr double kLongestTime = 1e12;
// 1e7 1/s in 1/ps.
constexpr double kDiffusionUnit = 1e-5;

// (1/a + 1/b)^-1 for times of 0 or above, written so that a fast limit of 0 gives 0.
double Combined(double a, double b) { return a + b > 0.0 ? a * b / (a + b) : 0.0; }

// The overall tumbling of an axially symmetric diffuser: weights and times (ps) of its
// three terms.
struct AxialTerms {
    std::array<double, 3> weights;
    std::array<double, 3> timesPs;
};

DiffusionConstants ConstantsOf(const Motion& motion) {
    if (motion.kind == MotionKind::AxialDiffusionByTime) {
        return DiffusionOf(motion[P::TauM], motion[P::DiffusionRatio]);
    }
    return {motion[P::DParallel], motion[P::DPerpendicular]};
}

AxialTerms AxialTermsOf(const Motion& motion) {
    const DiffusionConstants d = ConstantsOf(motion);
    const double parallel = d.parallel * kDiffusionUnit;
    const double perpendicular = d.perpendicular * kDiffusionUnit;
    const double angle = motion[P::Theta] * kPi / 180.0;
    const double c2 = std::pow(std::cos(angle), 2);
    const double s2 = std::pow(std::sin(angle), 2);
    return {{std::pow(3.0 * c2 - 1.0, 2) / 4.0, 3.0 * s2 * c2, 0.75 * s2 * s2},
            {1.0 / (6.0 * perpendicular), 1.0 / (5.0 * perpendicular + parallel),
             1.0 / (2.0 * perpendicular + 4.0 * parallel)}};
}

void CheckRange(const Motion& motion, MotionParameter parameter, std::vector<MotionProblem>& out) {
    const double value = motion[parameter];
    switch (parameter) {
        case P::S2:
        case P::S2Fast:
        case P::S2Slow:
            if (!(value >= 0.0 && value <= 1.0)) {
                out.push_back({parameter, "an order parameter lies between 0 and 1"});
            }
            return;
        case P::TauE:
        case P::TauS:
        case P::TauF:
            if (!(value >= 0.0)) out.push_back({parameter, "a time is 0 (the fast limit) or more"});
            return;
        case P::TauM:
        case P::DParallel:
        case P::DPerpendicular:
        case P::DiffusionRatio:
            if (!(value > 0.0)) out.push_back({parameter, "must be above 0"});
            return;
        case P::Theta:
            if (!(value >= 0.0 && value <= 180.0)) {
                out.push_back({parameter, "an angle lies between 0 and 180 degrees"});
            }
            return;
    }
}

// The parameter whose value makes a motion's times long: the internal times combine with
// the tumbling and are never longer than its slowest term. Axial diffusion's terms are
// all at most 1/(2 D_perp); given by tau_m and the ratio, the time is tau_m's own unless
// tau_m alone is short enough, when only the ratio stretches it.
MotionParameter SlowingParameter(const Motion& motion) {
    switch (motion.kind) {
        case MotionKind::AxialDiffusion: return P::DPerpendicular;
        case MotionKind::AxialDiffusionByTime:
            return motion[P::TauM] * 1000.0 > kLongestTime ? P::TauM : P::DiffusionRatio;
        case MotionKind::Rigid:
        case MotionKind::ModelFree:
        case MotionKind::ExtendedModelFree: break;
    }
    return P::TauM;
}

}  // namespace

MotionParameterInfo InfoOf(MotionParameter parameter) {
    return kInfo[static_cast<std::size_t>(parameter)];
}

std::string_view NameOf(MotionKind kind) {
    return kKindNames[static_cast<std::size_t>(kind)].first;
}

std::string_view KeyOf(MotionKind kind) {
    return kKindNames[static_cast<std::size_t>(kind)].second;
}

std::optional<MotionKind> MotionKindOfKey(std::string_view key) {
    for (int kind = 0; kind < kMotionKindCount; ++kind) {
        if (kKindNames[static_cast<std::size_t>(kind)].second == key) {
            return static_cast<MotionKind>(kind);
        }
    }
    return std::nullopt;
}

std::span<const MotionParameter> ParametersOf(MotionKind kind) {
    switch (kind) {
        case MotionKind::Rigid: return kRigid;
        case MotionKind::ModelFree: return kModelFree;
        case MotionKind::ExtendedModelFree: return kExtended;
        case MotionKind::AxialDiffusion: return kAxial;
        case MotionKind::AxialDiffusionByTime: return kAxialByTime;
    }
    return {};
}

std::vector<MotionProblem> Validate(const Motion& motion) {
    std::vector<MotionProblem> problems;
    for (const MotionParameter parameter : ParametersOf(motion.kind)) {
        CheckRange(motion, parameter, problems);
    }
    if (!problems.empty()) return problems;
    for (const double time : ToLorentzians(motion).timesPs) {
        if (!(time <= kLongestTime)) {
            problems.push_back({SlowingParameter(motion), "gives a correlation time beyond 1 s"});
            break;
        }
    }
    return problems;
}

MotionReading ReadMotion(const MotionTexts& texts) {
    Motion motion;
    motion.kind = texts.kind;
    MotionReading reading;
    for (const MotionParameter parameter : ParametersOf(texts.kind)) {
        const NumberRead read = DoubleIn(texts[parameter]);
        if (read.value) {
            motion[parameter] = *read.value;
        } else {
            reading.problems.push_back({parameter, std::string(Describe(read.failure))});
        }
    }
    if (!reading.problems.empty()) return reading;
    reading.problems = Validate(motion);
    if (reading.problems.empty()) reading.motion = motion;
    return reading;
}

DiffusionConstants DiffusionOf(double tauMNanoseconds, double ratio) {
    // 2 D_par + 4 D_perp = 1/tau_m with D_par = ratio D_perp; 1/ns is 100 times 1e7 1/s.
    const double perpendicular = 100.0 / (tauMNanoseconds * (2.0 * ratio + 4.0));
    return {ratio * perpendicular, perpendicular};
}

double TauMNsOf(const DiffusionConstants& constants) {
    return 100.0 / (2.0 * constants.parallel + 4.0 * constants.perpendicular);
}

MotionLorentzians ToLorentzians(const Motion& motion) {
    MotionLorentzians out;
    const double tauMPs = motion[P::TauM] * 1000.0;
    std::size_t used = 0;  // rows the kind fills; the others keep weight 0
    switch (motion.kind) {
        case MotionKind::Rigid:
            out.weights[0] = 1.0;
            out.timesPs[0] = tauMPs;
            used = 1;
            break;
        case MotionKind::ModelFree: {
            const double s2 = motion[P::S2];
            out.weights = {s2, 1.0 - s2};
            out.timesPs = {tauMPs, Combined(tauMPs, motion[P::TauE])};
            used = 2;
            break;
        }
        case MotionKind::ExtendedModelFree: {
            const double fast = motion[P::S2Fast];
            const double slow = motion[P::S2Slow];
            out.weights = {fast * slow, fast * (1.0 - slow), 1.0 - fast};
            out.timesPs = {tauMPs, Combined(tauMPs, motion[P::TauS] * 1000.0),
                           Combined(tauMPs, motion[P::TauF])};
            used = 3;
            break;
        }
        case MotionKind::AxialDiffusion:
        case MotionKind::AxialDiffusionByTime: {
            const AxialTerms terms = AxialTermsOf(motion);
            const double s2 = motion[P::S2];
            for (std::size_t k = 0; k < 3; ++k) {
                out.weights[k] = s2 * terms.weights[k];
                out.timesPs[k] = terms.timesPs[k];
                out.weights[k + 3] = (1.0 - s2) * terms.weights[k];
                out.timesPs[k + 3] = Combined(terms.timesPs[k], motion[P::TauE]);
            }
            return out;
        }
    }
    for (std::size_t row = used; row < out.timesPs.size(); ++row) out.timesPs[row] = out.timesPs[0];
    return out;
}

LorentzianTexts TextsOf(const MotionLorentzians& lorentzians) {
    LorentzianTexts texts;
    for (int row = 0; row < kLorentzianCount; ++row) {
        texts.weights[row] = FormatShortestSingle(static_cast<float>(lorentzians.weights[row]));
        texts.times[row] = FormatShortestSingle(static_cast<float>(lorentzians.timesPs[row]));
    }
    return texts;
}

double MotionSpectralDensity(const Motion& motion, double w) {
    // C(t) = sum of a exp(-R t): a term of rate R contributes R / (R^2 + w^2), with w in
    // 1/ps; an internal motion multiplies C by S2 + (1 - S2) exp(-t/tau_e), which adds
    // its rate to the overall one.
    const double omega = w * 1e-6;
    const auto term = [&](double rate) { return rate / (rate * rate + omega * omega); };
    const auto internalRate = [](double time) { return 1.0 / time; };  // infinite for 0
    const auto withInternal = [&](double overallRate, double order, double time) {
        const double fast = time > 0.0 ? term(overallRate + internalRate(time)) : 0.0;
        return order * term(overallRate) + (1.0 - order) * fast;
    };
    const double overall = 1.0 / (motion[P::TauM] * 1000.0);
    switch (motion.kind) {
        case MotionKind::Rigid: return term(overall);
        case MotionKind::ModelFree: return withInternal(overall, motion[P::S2], motion[P::TauE]);
        case MotionKind::ExtendedModelFree: {
            // C = C_O [S2f S2s + S2f (1 - S2s) e^(-t/tau_s) + (1 - S2f) e^(-t/tau_f)].
            const double fast = motion[P::S2Fast];
            const double tauFPs = motion[P::TauF];
            const double slow = withInternal(overall, motion[P::S2Slow], motion[P::TauS] * 1000.0);
            return fast * slow + (1.0 - fast) * (tauFPs > 0.0 ? term(overall + 1.0 / tauFPs) : 0.0);
        }
        case MotionKind::AxialDiffusion:
        case MotionKind::AxialDiffusionByTime: {
            // Reduced Wigner elements d(2; m, 0) of theta, each squared for m and -m, with
            // the rates 6 D_perp + m^2 (D_par - D_perp).
            const DiffusionConstants d = ConstantsOf(motion);
            const double parallel = d.parallel * kDiffusionUnit;
            const double perpendicular = d.perpendicular * kDiffusionUnit;
            const double angle = motion[P::Theta] * kPi / 180.0;
            const double c = std::cos(angle);
            const double s = std::sin(angle);
            const std::array<double, 3> squared = {std::pow((3.0 * c * c - 1.0) / 2.0, 2),
                                                   2.0 * 1.5 * std::pow(s * c, 2),
                                                   2.0 * 0.375 * std::pow(s, 4)};
            double j = 0.0;
            for (int m = 0; m < 3; ++m) {
                const double rate = 6.0 * perpendicular + m * m * (parallel - perpendicular);
                j += squared[static_cast<std::size_t>(m)] *
                     withInternal(rate, motion[P::S2], motion[P::TauE]);
            }
            return j;
        }
    }
    return 0.0;
}

}  // namespace veldorin
