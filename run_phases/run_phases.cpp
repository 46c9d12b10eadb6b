// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "run_phases/run_phases.h"

#include <cstddef>
#include <string>

#include "engine/vector_state.h"
#include "graph/curve_pass.h"
#include "graph/decorations.h"
#include "graph/graph_scale.h"
#include "graph/measurement_points.h"
#include "run_phases/array_mode.h"

namespace veldorin {

namespace {

// The parameter array mode scales; none selected ends the run as its first pass begins.
ArrayParameter ArrayedParameter(const GraphSettings& settings) {
    if (!settings.arrayParameter) throw CalculationError{FailureReason::NoArrayParameter};
    return *settings.arrayParameter;
}

// The tooltips of a completed table's rows; none when a share does not fit single
// precision, which its total, a sum of shares of both signs, still may.
std::optional<RowContributionTexts> RowContributions(const WorkingValues& values,
                                                     const ModelTexts& model) {
    RowContributionTexts texts;
    try {
        for (int k = 0; k < kFieldCount; ++k) {
            const Field& field = kFieldTable[static_cast<std::size_t>(k)];
            texts[static_cast<std::size_t>(k)] = ContributionsTooltip(
                field, ContributionsAtField(values, ProtonOmega(field.frequencyMHz)), model);
        }
    } catch (const CalculationError&) {
        return std::nullopt;
    }
    return texts;
}

}  // namespace

TablePhase RunPhases::RunTable(const ModelTexts& model, const GraphSettings& settings,
                               TableSink& sink) {
    ClearUpperVectorState();
    TablePhase phase;
    phase.commands.emplace_back(draw::SetAxisCaption{"Log(w/2pi)"});

    PreparedRun prepared = preparation_.Prepare(model);
    phase.weightTexts = prepared.weightTexts;
    switch (prepared.stage) {
        case PreparedRun::Stage::InputsFailed:
            phase.outcome = {RunOutcome::Status::Failed, prepared.failure};
            return phase;
        case PreparedRun::Stage::WeightsNotPositive:
            phase.commands.emplace_back(draw::Refresh{});
            phase.outcome = {RunOutcome::Status::Stopped, std::nullopt};
            return phase;
        case PreparedRun::Stage::SpinSystemFailed:
        case PreparedRun::Stage::Ready: break;
    }

    phase.commands.emplace_back(draw::RetainOn{});
    phase.commands.emplace_back(draw::Clear{});
    phase.commands.emplace_back(draw::SetLineWidth{1});
    phase.commands.emplace_back(draw::SetScale{settings.width, settings.height});
    if (prepared.stage == PreparedRun::Stage::SpinSystemFailed) {
        phase.outcome = {RunOutcome::Status::Failed, prepared.failure};
        return phase;
    }

    working_ = prepared.values;
    // Without a plot mode the markers and reference line are those of F(w), the first
    // entry of the list; no curve follows them.
    Decorations decorations(settings.plotMode.value_or(PlotMode::F),
                            GraphScale(settings.width, settings.height), working_.lorentzians.times,
                            phase.commands);
    if (const auto failure = WriteResultsTable(working_, model.tableMode, sink, &decorations)) {
        phase.outcome = {RunOutcome::Status::Failed, failure};
    } else {
        phase.rowContributions = RowContributions(working_, model);
    }
    phase.comparisons = Compare(working_, settings.measurements);
    return phase;
}

CurvePhase RunPhases::RunCurves(const ModelTexts& model, const GraphSettings& settings) {
    // The window's events ran just before.
    ClearUpperVectorState();
    CurvePhase phase;
    const GraphScale scale(settings.width, settings.height);
    // Array mode changes one value per pass; the table's values stay as they were.
    WorkingValues values = working_;
    try {
        if (settings.arrayOn && settings.arrayParameter) {
            phase.rangeTexts = ArrayRangeTexts(model, *settings.arrayParameter);
        }
        const CurveGrids grids(settings.width);
        if (settings.plotMode) phase.samples = CurveSamples(*settings.plotMode, grids);
        const int passes = settings.arrayOn ? kArrayPassCount : 1;
        // Room for every pass's segments, two curves at most, so none is moved.
        phase.commands.reserve(static_cast<std::size_t>(passes) * (2 * kTimePoints + 3) + 1);
        phase.commands.emplace_back(draw::SetLineWidth{kCurveLineWidth});
        for (int pass = 1; pass <= passes; ++pass) {
            phase.commands.emplace_back(draw::RetainOn{});
            const PassSetting setting =
                settings.arrayOn
                    ? ApplyArraySetting(model, ArrayedParameter(settings), pass, values)
                    : PassSetting::Set;
            if (setting == PassSetting::EndsRun) {
                phase.commands.pop_back();  // the pass draws nothing
                break;
            }
            // A pass made the last one takes the last pass's number, and its colours; its
            // curve is still that of its own value.
            const std::string parameter =
                settings.arrayOn ? ArrayPassLabel(model, ArrayedParameter(settings), pass)
                                 : std::string();
            if (setting == PassSetting::LastPass) pass = passes;
            if (settings.plotMode) {
                CurvePass(scale, grids, pass, phase.commands, phase.samples, parameter)
                    .Draw(*settings.plotMode, values);
            }
            phase.commands.emplace_back(draw::RetainOff{});
        }
        if (settings.plotMode && !settings.measurements.empty()) {
            phase.commands.emplace_back(draw::RetainOn{});
            DrawMeasurementPoints(*settings.plotMode, scale, settings.measurements, phase.commands);
            phase.samples.points = PlottedMeasurements(*settings.plotMode, settings.measurements);
            phase.commands.emplace_back(draw::RetainOff{});
        }
    } catch (const CalculationError& error) {
        phase.outcome = {RunOutcome::Status::Failed, error.reason};
    }
    return phase;
}

}  // namespace veldorin
