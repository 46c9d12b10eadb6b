// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/recalculation_flow.h"

namespace veldorin {

RecalculationFlow::RecalculationFlow(RecalculationView& view) : view_(view) {}

namespace {

// Holds the graph's picture for the rest of a run, whichever way it ends.
class PictureHold {
public:
    explicit PictureHold(RecalculationView& view) : view_(view) { view_.HoldPicture(); }
    ~PictureHold() { view_.ShowPicture(); }
    PictureHold(const PictureHold&) = delete;
    PictureHold& operator=(const PictureHold&) = delete;

private:
    RecalculationView& view_;
};

}  // namespace

void RecalculationFlow::Run() {
    view_.ShowNeighbours();
    if (!view_.Shown()) return;
    const std::uint64_t run = ++runs_;
    const PictureHold hold(view_);
    Q_EMIT runStarted();

    const ModelTexts model = view_.ReadModel();
    const TablePhase table = [&] {
        const std::unique_ptr<TableSink> sink =
            view_.OpenTable(TableFilePath(model.workingDirectory));
        return recalculation_.RunTable(model, view_.ReadGraphSettings(), *sink);
    }();
    if (table.weightTexts) view_.ShowNormalisedWeights(*table.weightTexts);
    view_.Draw(table.commands);
    view_.ReportTable(table.outcome);
    if (table.rowContributions) view_.ShowRowContributions(*table.rowContributions);
    if (table.outcome.status != RunOutcome::Status::Completed) return;

    view_.ProcessPendingEvents();
    if (run != runs_) return;

    Q_EMIT curvesStarted();
    const CurvePhase curves =
        recalculation_.RunCurves(view_.ReadModel(), view_.ReadGraphSettings());
    Q_EMIT curvesComputed();
    if (curves.rangeTexts) view_.ShowArrayRange(*curves.rangeTexts);
    view_.Draw(curves.commands);
    view_.KeepCurves(curves.samples);
    if (curves.outcome.status == RunOutcome::Status::Failed) {
        view_.ReportCurvesFailed(*curves.outcome.failure);
    }
}

}  // namespace veldorin
