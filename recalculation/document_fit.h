// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <string>
#include <vector>

#include "document/model_document.h"
#include "fit/motion_fit.h"
#include "fit/relaxation_model.h"

namespace veldorin {

// What every fit of the document reads: its motion, its spin system and its rows, each
// read or nothing where a row does not read.
struct DocumentFitInputs {
    Motion motion;
    FitSpinSystem system;
    std::vector<std::optional<Measurement>> rows;
};

// The inputs, or nothing with `reason` saying why there are none.
std::optional<DocumentFitInputs> ReadFitInputs(const ModelDocument& document, std::string& reason);

// Fits the document's motion to its measurements, freeing what its fit setup frees. A
// failed fit carries its reason.
MotionFitResult FitDocumentMotion(const ModelDocument& document);

// What a fit found goes into the document: the freed parameters into the motion, the
// motion's Lorentzians into the weights and times, and a freed Rex or CSA into its text.
// A failed fit changes nothing.
void ApplyFitResult(const MotionFitResult& result, ModelDocument& document);

}  // namespace veldorin
