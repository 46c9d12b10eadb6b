// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "document/model_document.h"

#include <algorithm>
#include <utility>

#include "engine/constants.h"
#include "engine/format.h"

namespace veldorin {

namespace {

// Equal kinds with equal texts of the kind's parameters: all a file keeps of a motion.
bool SameMotion(const std::optional<MotionTexts>& a, const std::optional<MotionTexts>& b) {
    if (!a || !b) return !a && !b;
    if (a->kind != b->kind) return false;
    return std::ranges::all_of(ParametersOf(a->kind), [&](MotionParameter parameter) {
        return (*a)[parameter] == (*b)[parameter];
    });
}

// The motion's Lorentzians as the weight and time boxes would hold them; nothing when the
// motion cannot be used.
std::optional<LorentzianTexts> LorentzianTextsOf(const MotionTexts& motion) {
    const MotionReading reading = ReadMotion(motion);
    if (!reading.motion) return std::nullopt;
    return TextsOf(ToLorentzians(*reading.motion));
}

void WriteLorentzians(const LorentzianTexts& lorentzians, ModelTexts& texts) {
    for (int row = 0; row < kLorentzianCount; ++row) {
        texts.weights[row] = lorentzians.weights[row];
        texts.times[row] = lorentzians.times[row];
    }
}

}  // namespace

bool ModelDocument::SetMotion(const MotionTexts& edited) {
    motion = edited;
    // The fit frees only what the motion has: another kind's parameter moves nothing.
    const auto own = ParametersOf(edited.kind);
    std::erase_if(fit.choice.free, [&own](MotionParameter parameter) {
        return std::ranges::find(own, parameter) == own.end();
    });
    const std::optional<LorentzianTexts> lorentzians = LorentzianTextsOf(edited);
    if (!lorentzians) return false;
    WriteLorentzians(*lorentzians, texts);
    return true;
}

bool ModelDocument::LorentziansHoldMotion() const {
    if (!motion) return false;
    const std::optional<LorentzianTexts> lorentzians = LorentzianTextsOf(*motion);
    if (!lorentzians) return false;
    for (int row = 0; row < kLorentzianCount; ++row) {
        if (texts.weights[row] != lorentzians->weights[row] ||
            texts.times[row] != lorentzians->times[row]) {
            return false;
        }
    }
    return true;
}

void ModelDocument::ApplyFit(const Motion& fitted, std::span<const MotionParameter> parameters,
                             std::optional<double> rex, std::optional<double> csa) {
    if (!motion) motion.emplace();
    motion->kind = fitted.kind;
    // Each read back as a double, as the motion, Rex and CSA are read, gives the fitted value.
    for (MotionParameter parameter : parameters)
        (*motion)[parameter] = FormatShortestDouble(fitted[parameter]);
    WriteLorentzians(TextsOf(ToLorentzians(fitted)), texts);
    if (rex) texts.rex = FormatShortestDouble(*rex);
    if (csa) texts.csa = FormatShortestDouble(*csa);
}

bool ModelDocument::SetMeasurements(std::vector<MeasurementTexts> rows) {
    const bool switching = measurements.empty() && !rows.empty() &&
                           texts.pairFrequencies == PairFrequencySigns::Magnitudes;
    measurements = std::move(rows);
    if (switching) texts.pairFrequencies = PairFrequencySigns::Signed;
    return switching;
}

bool ModelDocument::HasOppositeSignPair() const {
    const auto central = GammaOf(texts.slots[kCentralSlot].nucleus);
    if (!central) return false;
    for (int slot = 0; slot < kNeighbourCount; ++slot) {
        const auto gamma = GammaOf(texts.slots[slot].nucleus);
        if (gamma && *gamma * *central < 0.0f) return true;
    }
    return false;
}

bool SameModel(const ModelDocument& a, const ModelDocument& b) {
    ModelTexts aTexts = a.texts;
    aTexts.workingDirectory = b.texts.workingDirectory;
    return aTexts == b.texts && a.plotMode == b.plotMode && a.arrayOn == b.arrayOn &&
           a.arrayParameter == b.arrayParameter && SameMotion(a.motion, b.motion) &&
           a.measurements == b.measurements && a.fit == b.fit;
}

ModelDocument DefaultModelDocument() {
    ModelDocument document;
    document.texts = DefaultModel();
    return document;
}

}  // namespace veldorin
