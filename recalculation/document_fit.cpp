// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "recalculation/document_fit.h"

namespace veldorin {

std::optional<DocumentFitInputs> ReadFitInputs(const ModelDocument& document, std::string& reason) {
    if (!document.motion) {
        reason = "choose a motion in the Motion window (Ctrl+M) first";
        return std::nullopt;
    }
    const MotionReading motion = ReadMotion(*document.motion);
    const std::optional<FitSpinSystem> system = FitSpinSystemOf(document.texts);
    if (!motion.motion || !system) {
        reason = !motion.motion ? "the motion has a value it cannot take"
                                : "a text of the spin system, the CSA or Rex is no number";
        return std::nullopt;
    }
    return DocumentFitInputs{*motion.motion, *system, ReadMeasurements(document.measurements)};
}

MotionFitResult FitDocumentMotion(const ModelDocument& document) {
    MotionFitResult result;
    if (const std::optional<DocumentFitInputs> inputs = ReadFitInputs(document, result.reason)) {
        result = FitMotion(inputs->system, inputs->motion, document.fit.choice, inputs->rows);
    }
    return result;
}

void ApplyFitResult(const MotionFitResult& result, ModelDocument& document) {
    if (result.status == FitResult::Status::Failed) return;
    const MotionFitChoice& choice = document.fit.choice;
    document.ApplyFit(result.motion, choice.free,
                      choice.rex ? std::optional(result.rex) : std::nullopt,
                      choice.csa ? std::optional(result.csa) : std::nullopt);
}

}  // namespace veldorin
