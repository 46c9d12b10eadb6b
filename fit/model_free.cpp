// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fit/model_free.h"

#include "fit/compared_values.h"

namespace veldorin {
namespace {

using enum ModelFreeParameter;

const std::array<ModelFreeModel, kModelFreeModelCount> kModels{{
    {0, {}, false, true},
    {1, {S2s}, false, false},
    {2, {S2s, Te}, false, false},
    {3, {S2s, Rex}, false, false},
    {4, {S2s, Te, Rex}, false, false},
    {5, {S2f, S2s, Ts}, true, false},
    {6, {S2f, Tf, S2s, Ts}, true, false},
    {7, {S2f, S2s, Ts, Rex}, true, false},
    {8, {S2f, Tf, S2s, Ts, Rex}, true, false},
    {9, {Rex}, false, true},
}};

// The effective time of an internal motion of time t under tumbling of time tm.
double Effective(double tmPs, double timePs) {
    return timePs > 0.0 ? 1.0 / (1.0 / tmPs + 1.0 / timePs) : 0.0;
}

// The spin system with the exchange and anisotropy of the values.
FitSpinSystem SystemAt(FitSpinSystem system, const ModelFreeValues& values) {
    system.rexAt800 = values[Rex];
    system.csaPpm = values[Csa];
    return system;
}

// The model's terms under tumbling of several terms: each overall term's share of every
// motion, at the effective times of its own time.
SpectralTerms AnisotropicTerms(const ModelFreeModel& model, const ModelFreeValues& values,
                               const SpectralTerms& tumbling) {
    const double s2 = OrderParameter(model, values);
    // Models 0 to 4 have one internal motion, of order S2: as if S2f were S2.
    const double s2f = model.extended ? values[S2f] : s2;
    const double fast = model.extended ? values[Tf] : values[Te];
    SpectralTerms terms;
    terms.reserve(3 * tumbling.size());
    for (const LorentzianTerm& overall : tumbling) {
        terms.push_back({s2 * overall.weight, overall.timePs});
        if (model.extended)
            terms.push_back({(s2f - s2) * overall.weight, Effective(overall.timePs, values[Ts])});
        terms.push_back({(1.0 - s2f) * overall.weight, Effective(overall.timePs, fast)});
    }
    return terms;
}

}  // namespace

const ModelFreeModel& ModelFreeModelNumber(int number) {
    return kModels.at(static_cast<std::size_t>(number));
}

double OrderParameter(const ModelFreeModel& model, const ModelFreeValues& values) {
    if (model.rigid) return 1.0;
    return model.extended ? values[S2f] * values[S2s] : values[S2s];
}

SpectralTerms ModelFreeTerms(const ModelFreeModel& model, const ModelFreeValues& values,
                             const SpectralTerms& tumbling) {
    if (!tumbling.empty()) return AnisotropicTerms(model, values, tumbling);
    const double tmPs = values[Tm];
    const double s2 = OrderParameter(model, values);
    if (!model.extended) {
        // In models 0 to 4 S2s holds S2 and te the one internal time.
        return {{s2, tmPs}, {1.0 - s2, Effective(tmPs, values[Te])}};
    }
    const double s2f = values[S2f];
    return {{s2, tmPs},
            {s2f - s2, Effective(tmPs, values[Ts])},
            {1.0 - s2f, Effective(tmPs, values[Tf])}};
}

void ModelResiduals(const FitSpinSystem& system, const ModelFreeModel& model,
                    const ModelFreeValues& values, std::span<const Measurement> compared,
                    std::span<double> out, const SpectralTerms& tumbling) {
    WeightedResiduals(SystemAt(system, values), ModelFreeTerms(model, values, tumbling), compared,
                      out);
}

std::vector<double> CalculatedValues(const FitSpinSystem& system, const ModelFreeModel& model,
                                     const ModelFreeValues& values,
                                     std::span<const Measurement> measurements,
                                     const SpectralTerms& tumbling) {
    const FitSpinSystem at = SystemAt(system, values);
    const SpectralTerms terms = ModelFreeTerms(model, values, tumbling);
    std::vector<double> calculated;
    for (const Measurement& measurement : measurements)
        calculated.push_back(CalculatedValue(at, terms, measurement));
    return calculated;
}

std::string_view ParameterName(ModelFreeParameter parameter) {
    switch (parameter) {
        case Tm: return "tm_ps";
        case S2f: return "S2f";
        case S2s: return "S2s";
        case Te: return "te_ps";
        case Tf: return "tf_ps";
        case Ts: return "ts_ps";
        case Rex: return "Rex_800";
        case Csa: return "CSA_ppm";
    }
    return "";
}

}  // namespace veldorin
