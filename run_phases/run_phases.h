// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <string>
#include <utility>

#include "engine/failure.h"
#include "engine/input_preparation.h"
#include "engine/measurement.h"
#include "engine/model.h"
#include "engine/results_table.h"
#include "graph/draw_command.h"
#include "graph/graph_scale.h"
#include "graph/plot_mode.h"
#include "graph/sampled_curves.h"
#include "run_phases/array_mode.h"

namespace veldorin {

// What the graph side of a run reads from the window besides the model's texts.
struct GraphSettings {
    std::optional<PlotMode> plotMode = PlotMode::Rates;  // nothing when none is selected
    bool arrayOn = false;  // array mode: a curve for each value of the array parameter
    std::optional<ArrayParameter> arrayParameter = ArrayParameter::C1;  // nothing when none
    float width = kGraphWidthTwips;  // panel size in twips, read afresh for every run
    float height = kGraphHeightTwips;
    // Measured rates drawn as points after the curves in the rates and NOE plots; a row
    // that does not read is nothing.
    std::vector<std::optional<Measurement>> measurements;
};

// How a run (or one of its phases) ended.
struct RunOutcome {
    enum class Status {
        Completed,  // everything was computed
        Stopped,    // the typed weights do not sum above 0: nothing recomputed
        Failed,     // a run-time error ended the run; what was produced before stays
    };
    Status status = Status::Completed;
    std::optional<FailureReason> failure;  // set when Failed
};

// The first phase of a recalculation: the inputs read, the normalised weights, the
// panel cleared and the results table computed, with its marker and reference lines.
struct TablePhase {
    RunOutcome outcome;
    std::optional<WeightTexts> weightTexts;  // the ci/{ci} boxes, when they were written
    DrawCommands commands;                   // axis caption, clear, decorations
    // What makes up each row's numbers, set only when the table completed.
    std::optional<RowContributionTexts> rowContributions;
    // The measurements against the model; values only when the inputs reached the table
    // and no run-time error stopped the comparison.
    Comparisons comparisons;
};

// The second phase: the curves, one pass or eleven in array mode.
struct CurvePhase {
    RunOutcome outcome;
    // The array range boxes ("From" value, "step" value), set in array mode.
    std::optional<std::pair<std::string, std::string>> rangeTexts;
    DrawCommands commands;
    // The values behind the curves drawn; no samples without a plot mode. In array mode
    // each curve is named by its pass's value of the parameter.
    SampledCurves samples;
};

// The two phases of one run, without the window. The window's RunCourse calls RunTable,
// lets pending events run, then (if no other run happened meanwhile and the table phase
// completed) RunCurves with the then current texts.
// Keeps what outlives a run: the central nucleus's constant and the working values
// of the last table phase, which the curves start from.
class RunPhases {
public:
    TablePhase RunTable(const ModelTexts& model, const GraphSettings& settings, TableSink& sink);
    // Reads the texts again only for array mode, which rereads the arrayed value at
    // every pass; everything else comes from the last table phase.
    CurvePhase RunCurves(const ModelTexts& model, const GraphSettings& settings);

private:
    InputPreparation preparation_;
    WorkingValues working_;
};

}  // namespace veldorin
