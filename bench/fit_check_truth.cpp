// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench/fit_check_truth.h"

#include <algorithm>
#include <cmath>

#include "engine/constants.h"

namespace veldorin::fit_check {

using enum ModelFreeParameter;

std::mt19937_64 CaseRandom(std::uint64_t seed, std::uint64_t stream, std::uint64_t index) {
    std::seed_seq sequence{static_cast<std::uint32_t>(seed), static_cast<std::uint32_t>(seed >> 32),
                           static_cast<std::uint32_t>(stream), static_cast<std::uint32_t>(index)};
    return std::mt19937_64(sequence);
}

double Uniform(std::mt19937_64& random, double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(random);
}

double LogUniform(std::mt19937_64& random, double low, double high) {
    return std::exp(Uniform(random, std::log(low), std::log(high)));
}

FitSpinSystem CarbonProtonPair() {
    FitSpinSystem system;
    system.centralGamma = *GammaOf("13C");
    system.neighbours = {{*GammaOf("1H"), static_cast<double>(1.09f), 1.0, SlotKind::Unlike}};
    system.csaPpm = 25.0;
    return system;
}

bool HasParameter(const ModelFreeModel& model, ModelFreeParameter parameter) {
    return std::ranges::find(model.free, parameter) != model.free.end();
}

ModelFreeValues DrawTruth(const ModelFreeModel& model, double tm, double csaPpm,
                          std::mt19937_64& random) {
    ModelFreeValues truth;
    truth[Tm] = tm;
    truth[Csa] = csaPpm;
    truth[Rex] = HasParameter(model, Rex) ? Uniform(random, 0.0, 20.0) : 0.0;
    if (model.rigid) {
        truth[S2s] = 1.0;
    } else if (!model.extended) {
        truth[S2s] = Uniform(random, 0.2, 0.98);
        if (HasParameter(model, Te)) truth[Te] = LogUniform(random, 10.0, 2000.0);
    } else {
        truth[S2f] = Uniform(random, 0.6, 0.95);
        truth[S2s] = Uniform(random, 0.2, truth[S2f]) / truth[S2f];
        truth[Ts] = LogUniform(random, 20.0, 2000.0);
        if (HasParameter(model, Tf)) truth[Tf] = LogUniform(random, 10.0, 2000.0);
    }
    return truth;
}

std::vector<Measurement> ExactData(const FitSpinSystem& system, const ModelFreeModel& model,
                                   const ModelFreeValues& values, std::span<const double> fields,
                                   const SpectralTerms& tumbling) {
    FitSpinSystem withExchange = system;
    withExchange.rexAt800 = values[Rex];
    const SpectralTerms terms = ModelFreeTerms(model, values, tumbling);
    std::vector<Measurement> data;
    for (double field : fields) {
        for (Quantity quantity : {Quantity::R1, Quantity::R2, Quantity::Noe}) {
            Measurement row{field, quantity, 0.0, 1.0};
            row.value = CalculatedValue(withExchange, terms, row);
            const double magnitude = std::abs(row.value);
            row.error = 0.02 * (quantity == Quantity::Noe ? std::max(magnitude, 0.5) : magnitude);
            data.push_back(row);
        }
    }
    return data;
}

void AddNoise(std::vector<Measurement>& data, std::mt19937_64& random) {
    std::normal_distribution<double> noise(0.0, 1.0);
    for (Measurement& row : data) row.value += noise(random) * row.error;
}

ResidueFitSettings SettingsFor(const FitSpinSystem& system, bool fitTm, double tm) {
    ResidueFitSettings settings;
    settings.system = system;
    settings.system.rexAt800 = 0.0;
    settings.fitTm = fitTm;
    settings.tmPs = tm;
    return settings;
}

}  // namespace veldorin::fit_check
