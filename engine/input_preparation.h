// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <optional>
#include <string>

#include "engine/failure.h"
#include "engine/model.h"
#include "engine/relaxation.h"

namespace veldorin {

// The texts of the normalised-weight boxes, ci/{ci} cut to three decimals.
using WeightTexts = std::array<std::string, kLorentzianCount>;

// Where the preparation of a run (inputs, weights, spin system) ended.
struct PreparedRun {
    enum class Stage {
        InputsFailed,        // CSA, Rex, a weight or a time did not read: nothing changes
        WeightsNotPositive,  // the typed weights do not sum above 0: the run stops normally
        SpinSystemFailed,    // a distance did not read or gave no finite constant
        Ready,               // go on to the table
    };
    Stage stage = Stage::InputsFailed;
    std::optional<FailureReason> failure;
    std::optional<WeightTexts> weightTexts;  // set once the weights are normalised
    WorkingValues values;
};

// Reads the model's texts and derives the working values of one run. Holds the one
// value that outlives a run: the central nucleus's constant, which an unknown
// central text leaves as the previous run set it (0 before the first).
class InputPreparation {
public:
    PreparedRun Prepare(const ModelTexts& model);

    // CsaFactor (CSA 1e-6)^2 and RexScale Rex / (2 pi 800)^2, times the factor by
    // which array mode scales them in each pass, as single. The factor 1 of a plain
    // run changes no bit.
    static float CsaFactorOf(double csa, double factor = 1.0);
    static float RexScaleOf(double rex, double factor = 1.0);
    // ci / S for each weight, with S the single-precision sum of the typed weights.
    static std::array<float, kLorentzianCount> Normalise(
        const std::array<float, kLorentzianCount>& typed, float sum);
    static WeightTexts WeightTextsOf(const std::array<float, kLorentzianCount>& normalised);

    float centralGamma() const { return centralGamma_; }

private:
    float centralGamma_ = 0.0f;
};

}  // namespace veldorin
