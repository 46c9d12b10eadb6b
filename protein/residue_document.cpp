// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "protein/residue_document.h"

#include <string>

#include "engine/format.h"

namespace veldorin {

namespace {

// The pair the settings fit, in the slots: the central nucleus and its partner in the first.
void SetSpinSystem(const ProteinSettings& settings, ModelTexts& texts) {
    for (int slot = 0; slot < kNeighbourCount; ++slot) texts.slots[slot].nucleus.clear();
    const FitSpinSystem& system = settings.fit.residue.system;
    texts.slots[0] =
        SpinSlot{settings.partner,
                 FormatShortestSingle(static_cast<float>(system.neighbours.front().distance)), "1"};
    texts.slots[kCentralSlot].nucleus = settings.nucleus;
    texts.csa = FormatShortestDouble(system.csaPpm);
    texts.rex = FormatShortestDouble(system.rexAt800);
    texts.pairFrequencies = system.pairFrequencies;
}

MeasurementTexts TextsOf(const Measurement& measurement) {
    MeasurementTexts texts;
    texts[MeasurementColumn::Field] = FormatShortestDouble(measurement.fieldMHz);
    texts[MeasurementColumn::Quantity] = std::string(NameOf(measurement.quantity));
    texts[MeasurementColumn::Value] = FormatShortestDouble(measurement.value);
    texts[MeasurementColumn::Error] = FormatShortestDouble(measurement.error);
    return texts;
}

// The motion and choice a model of the family has under the settings, its values aside.
ModelAsMotion ShapeOfModel(int model, const ResidueFitSettings& settings,
                           const std::optional<AnisotropicTumbling>& tumbling) {
    ModelFit fit;
    fit.model = model;
    fit.free = FreeParameters(ModelFreeModelNumber(model), settings);
    return MotionOfModel(fit, tumbling);
}

// The tumbling's own terms in the Lorentzian rows, without a motion: unused rows at weight
// 0 and the first row's time, as a motion leaves them.
void WriteTumbling(const SpectralTerms& terms, ModelTexts& texts) {
    MotionLorentzians lorentzians;
    lorentzians.timesPs.fill(terms.front().timePs);
    for (std::size_t row = 0; row < terms.size(); ++row) {
        lorentzians.weights[row] = terms[row].weight;
        lorentzians.timesPs[row] = terms[row].timePs;
    }
    const LorentzianTexts written = TextsOf(lorentzians);
    texts.weights = written.weights;
    texts.times = written.times;
}

std::string TooManyLorentzians(int count) {
    return "This residue's motion needs " + std::to_string(count) +
           " Lorentzians; the window holds six. Those shown are of isotropic tumbling at its tm.";
}

}  // namespace

ResidueModel ResidueDocument(const ProteinProject& project, std::size_t residue,
                             const ModelDocument& base,
                             const std::optional<AnisotropicTumbling>& tumbling) {
    ResidueModel shown{base, {}};
    ModelDocument& document = shown.document;
    SetSpinSystem(project.settings, document.texts);
    std::vector<MeasurementTexts> rows;
    for (const Measurement& measurement : project.data.residues.at(residue).measurements)
        rows.push_back(TextsOf(measurement));
    document.measurements = std::move(rows);
    const ResidueOutcome* outcome = project.OutcomeOf(residue);
    if (!outcome || !outcome->fit) return shown;
    const ModelAsMotion model = MotionOfModel(*outcome->fit, tumbling);
    document.motion.reset();
    document.ApplyFit(model.motion, ParametersOf(model.motion.kind), model.rex,
                      model.choice.csa ? std::optional(model.csa) : std::nullopt);
    document.fit.choice = model.choice;
    if (model.exact) return shown;
    const int count = LorentzianCountOf(ModelFreeModelNumber(outcome->fit->model), tumbling);
    if (count > kLorentzianCount) {
        shown.note = TooManyLorentzians(count);
    } else {
        // Only a rigid model under an ellipsoid: its five terms are the tumbling's own.
        document.motion.reset();
        WriteTumbling(TumblingTerms(tumbling->tensor, tumbling->bond), document.texts);
    }
    return shown;
}

ResidueEdit EditOf(const ModelDocument& shown, const ModelDocument& edited,
                   const ProteinSettings& settings,
                   const std::optional<AnisotropicTumbling>& tumbling) {
    ResidueEdit edit;
    if (edited.measurements != shown.measurements) {
        std::vector<Measurement>& rows = edit.rows.emplace();
        for (const std::optional<Measurement>& row : ReadMeasurements(edited.measurements)) {
            if (row) rows.push_back(*row);
        }
    }
    const bool sameShape = edited.fit.choice == shown.fit.choice &&
                           edited.motion.has_value() == shown.motion.has_value() &&
                           (!edited.motion || edited.motion->kind == shown.motion->kind);
    if (sameShape || !edited.motion) return edit;
    for (int model = 0; model < kModelFreeModelCount; ++model) {
        const ModelAsMotion shape = ShapeOfModel(model, settings.fit.residue, tumbling);
        if (shape.choice == edited.fit.choice && shape.motion.kind == edited.motion->kind) {
            edit.model = model;
            break;
        }
    }
    return edit;
}

}  // namespace veldorin
