// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <span>
#include <vector>

#include "engine/measurement.h"
#include "engine/model.h"
#include "engine/motion.h"
#include "graph/plot_mode.h"
#include "run_phases/array_parameter.h"

namespace veldorin {

// What the fit of the motion to the measurements frees, and whether it runs before every
// recalculation; empty when nothing is ticked.
struct FitSetup {
    MotionFitChoice choice;  // the motion's parameters in the enum's order, Rex, CSA
    bool live = false;
    bool Empty() const { return choice.free.empty() && !choice.rex && !choice.csa && !live; }
    friend bool operator==(const FitSetup&, const FitSetup&) = default;
};

// The model being edited: the texts of the spin system, the Lorentzians, the CSA and the
// Rex, the table mode and the pair frequencies, the graph's plot mode, array mode and its
// parameter, the motion the Lorentzians were made from, the measurements and the fit's
// setup, each text as typed. The windows show it and send their edits to it; a model
// file keeps it. The working directory is the user's setting, not the model's:
// texts.workingDirectory stays empty.
struct ModelDocument {
    ModelTexts texts;
    PlotMode plotMode = PlotMode::Rates;
    bool arrayOn = false;
    ArrayParameter arrayParameter = ArrayParameter::C1;
    std::optional<MotionTexts> motion;           // nothing when none was chosen
    std::vector<MeasurementTexts> measurements;  // every row, good or bad
    FitSetup fit;

    // Keeps the motion and frees only the parameters it has; when its values can be used,
    // its Lorentzians become the weights and times (their shortest texts). True when they
    // did.
    bool SetMotion(const MotionTexts& edited);
    // Whether the weights and times are still those of the motion, or were typed since.
    bool LorentziansHoldMotion() const;
    // The fitted values of `parameters` go into the motion and the motion's Lorentzians
    // into the weights and times; the Rex and CSA given replace theirs. Each value as the
    // shortest text that reads back as the same double.
    void ApplyFit(const Motion& fitted, std::span<const MotionParameter> parameters,
                  std::optional<double> rex, std::optional<double> csa);
    // Keeps the rows. Measured rates are fitted with signed pair frequencies, as the batch
    // fit fits them: the first rows of a model bring it to them, once. True when they did.
    bool SetMeasurements(std::vector<MeasurementTexts> rows);
    // Whether a neighbour's nucleus has a magnetogyric ratio of the other sign than the
    // central one's: only then do signed pair frequencies change a rate.
    bool HasOppositeSignPair() const;
};

// Whether the two hold the same model: equal in everything a model file keeps.
bool SameModel(const ModelDocument& a, const ModelDocument& b);

// What a fresh start shows: the default model, rates, the rate curves, array mode off
// with c1 selected.
ModelDocument DefaultModelDocument();

}  // namespace veldorin
