// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fit/model_free_motion.h"

#include <algorithm>

namespace veldorin {
namespace {

using enum ModelFreeParameter;

// The model-free family keeps its times in ps; the motions keep the overall and slow
// times in ns.
constexpr double kPsPerNs = 1000.0;
// The motions keep diffusion constants in 1e7 1/s.
constexpr double kDiffusionUnit = 1e7;

bool Frees(const MotionFitChoice& choice, MotionParameter parameter) {
    return std::ranges::find(choice.free, parameter) != choice.free.end();
}

double OverallTimeNs(const Motion& motion) {
    if (motion.kind == MotionKind::AxialDiffusion) {
        return TauMNsOf(
            {motion[MotionParameter::DParallel], motion[MotionParameter::DPerpendicular]});
    }
    return motion[MotionParameter::TauM];
}

// Where a fitted parameter of the family goes in a motion of the kind.
std::optional<MotionParameter> MotionParameterOf(ModelFreeParameter parameter, bool extended) {
    switch (parameter) {
        case Tm: return MotionParameter::TauM;
        case S2f: return MotionParameter::S2Fast;
        case S2s: return extended ? MotionParameter::S2Slow : MotionParameter::S2;
        case Te: return MotionParameter::TauE;
        case Tf: return MotionParameter::TauF;
        case Ts: return MotionParameter::TauS;
        case Rex:
        case Csa: break;
    }
    return std::nullopt;
}

bool IsSpheroid(const DiffusionTensor& tensor) {
    return tensor.model == DiffusionModel::Prolate || tensor.model == DiffusionModel::Oblate;
}

int InternalMotionsOf(const ModelFreeModel& model) {
    if (model.rigid) return 0;
    return model.extended ? 2 : 1;
}

// The model's motion under the spheroid's tumbling: the same S2 and tau_e.
void MakeAxial(const AnisotropicTumbling& tumbling, Motion& motion) {
    const std::array<double, 3>& d = tumbling.tensor.d;
    motion.kind = MotionKind::AxialDiffusion;
    motion[MotionParameter::DParallel] = d[2] / kDiffusionUnit;
    motion[MotionParameter::DPerpendicular] = (d[0] + d[1]) / 2.0 / kDiffusionUnit;
    motion[MotionParameter::Theta] = AngleToUniqueAxisDegrees(tumbling.tensor, tumbling.bond);
}

}  // namespace

int LorentzianCountOf(const ModelFreeModel& model,
                      const std::optional<AnisotropicTumbling>& tumbling) {
    const std::size_t overall =
        tumbling ? TumblingTerms(tumbling->tensor, tumbling->bond).size() : 1;
    return static_cast<int>(overall) * (1 + InternalMotionsOf(model));
}

ResidueFitSettings RankingSettings(const FitSpinSystem& system, const Motion& motion,
                                   const MotionFitChoice& choice) {
    ResidueFitSettings settings;
    settings.system = system;
    settings.system.rexAt800 = 0.0;
    settings.fitTm = Frees(choice, MotionParameter::TauM);
    settings.tmPs = OverallTimeNs(motion) * kPsPerNs;
    settings.fitCsa = choice.csa;
    return settings;
}

ModelAsMotion MotionOfModel(const ModelFit& fit,
                            const std::optional<AnisotropicTumbling>& tumbling) {
    const ModelFreeModel& model = ModelFreeModelNumber(fit.model);
    const ModelFreeValues& values = fit.values;
    ModelAsMotion result;
    Motion& motion = result.motion;
    motion.kind = model.rigid      ? MotionKind::Rigid
                  : model.extended ? MotionKind::ExtendedModelFree
                                   : MotionKind::ModelFree;
    motion[MotionParameter::TauM] = values[Tm] / kPsPerNs;
    motion[MotionParameter::S2] = OrderParameter(model, values);
    motion[MotionParameter::TauE] = values[Te];
    motion[MotionParameter::S2Fast] = values[S2f];
    motion[MotionParameter::S2Slow] = values[S2s];
    motion[MotionParameter::TauS] = values[Ts] / kPsPerNs;
    motion[MotionParameter::TauF] = values[Tf];
    if (tumbling && tumbling->tensor.model != DiffusionModel::Sphere) {
        result.exact = IsSpheroid(tumbling->tensor) && !model.extended;
        if (result.exact) MakeAxial(*tumbling, motion);
    }
    for (ModelFreeParameter parameter : fit.free) {
        if (const auto freed = MotionParameterOf(parameter, model.extended)) {
            result.choice.free.push_back(*freed);
        }
    }
    result.choice.rex = std::ranges::find(fit.free, Rex) != fit.free.end();
    result.choice.csa = std::ranges::find(fit.free, Csa) != fit.free.end();
    result.rex = values[Rex];
    result.csa = values[Csa];
    return result;
}

}  // namespace veldorin
