// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/input_preparation.h"

#include <cmath>

#include "engine/checked_arithmetic.h"
#include "engine/constants.h"
#include "engine/format.h"
#include "engine/numeric_text.h"

namespace veldorin {

float InputPreparation::CsaFactorOf(double csa, double factor) {
    return StoreSingle(std::pow(csa * 1e-6, 2) * factor);
}

float InputPreparation::RexScaleOf(double rex, double factor) {
    return StoreSingle(rex / std::pow(kRexReferenceOmega, 2) * factor);
}

std::array<float, kLorentzianCount> InputPreparation::Normalise(
    const std::array<float, kLorentzianCount>& typed, float sum) {
    std::array<float, kLorentzianCount> normalised{};
    for (int i = 0; i < kLorentzianCount; ++i) normalised[i] = StoreSingle(Divide(typed[i], sum));
    return normalised;
}

WeightTexts InputPreparation::WeightTextsOf(const std::array<float, kLorentzianCount>& normalised) {
    WeightTexts texts;
    for (int i = 0; i < kLorentzianCount; ++i) {
        const double cut = std::floor(static_cast<double>(normalised[i]) * 1000.0) / 1000.0;
        texts[i] = FormatSingle(StoreSingle(cut));
    }
    return texts;
}

PreparedRun InputPreparation::Prepare(const ModelTexts& model) {
    PreparedRun run;
    std::array<float, kLorentzianCount> typed{};
    try {
        run.values.csaFactor = CsaFactorOf(ReadDouble(model.csa));
        run.values.rexScale = RexScaleOf(ReadDouble(model.rex));
        float sum = 0.0f;
        for (int i = 0; i < kLorentzianCount; ++i) {
            typed[i] = ReadSingle(model.weights[i]);
            run.values.lorentzians.times[i] = ReadSingle(model.times[i]);
            sum = StoreSingle(static_cast<double>(sum) + typed[i]);
        }
        if (!(sum > 0.0f)) {
            run.stage = PreparedRun::Stage::WeightsNotPositive;
            return run;
        }
        run.values.lorentzians.weights = Normalise(typed, sum);
    } catch (const CalculationError& error) {
        run.failure = error.reason;
        return run;
    }
    run.weightTexts = WeightTextsOf(run.values.lorentzians.weights);

    const auto& central = model.slots[kCentralSlot];
    if (const auto gamma = GammaOf(central.nucleus)) centralGamma_ = *gamma;
    run.values.centralGamma = centralGamma_;
    run.values.pairFrequencies = model.pairFrequencies;
    run.values.centralAbundance = PendingSingle::Of(central.abundance);

    try {
        for (int j = 0; j < kNeighbourCount; ++j) {
            const SpinSlot& slot = model.slots[j];
            NeighbourValues& neighbour = run.values.neighbours[j];
            neighbour.kind = KindOfNucleus(slot.nucleus);
            if (neighbour.kind == SlotKind::Empty) continue;
            if (neighbour.kind == SlotKind::Like) {
                neighbour.gamma = centralGamma_;
            } else {
                neighbour.gamma = GammaOf(slot.nucleus).value_or(0.0f);
            }
            const double r = ReadSingle(slot.distance);
            const double coupling = neighbour.gamma * (centralGamma_ * kDipolarFactor);
            neighbour.dipolar = StoreSingle(Divide(std::pow(coupling, 2), std::pow(r, 6)) * 1e-12);
            neighbour.abundance = PendingSingle::Of(slot.abundance);
        }
    } catch (const CalculationError& error) {
        run.stage = PreparedRun::Stage::SpinSystemFailed;
        run.failure = error.reason;
        return run;
    }
    run.stage = PreparedRun::Stage::Ready;
    return run;
}

}  // namespace veldorin
