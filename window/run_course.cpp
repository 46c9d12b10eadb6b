// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/run_course.h"

namespace veldorin {

RunCourse::RunCourse(WindowSide& side) : side_(side) {}

namespace {

// Holds the graph's picture for the rest of a run, whichever way it ends.
class PictureHold {
public:
    explicit PictureHold(WindowSide& side) : side_(side) { side_.HoldPicture(); }
    ~PictureHold() { side_.ShowPicture(); }
    PictureHold(const PictureHold&) = delete;
    PictureHold& operator=(const PictureHold&) = delete;

private:
    WindowSide& side_;
};

}  // namespace

void RunCourse::Run() {
    side_.ShowNeighbours();
    if (!side_.Shown()) return;
    const std::uint64_t run = ++runs_;
    const PictureHold hold(side_);
    Q_EMIT runStarted();

    const TableStep step = [&] {
        const std::unique_ptr<TableSink> sink = side_.OpenTable();
        return recalculation_.Table(side_.Document(), side_.ReadFrame(), *sink);
    }();
    if (step.liveFit) side_.ApplyLiveFit(*step.liveFit);
    const TablePhase& table = step.table;
    if (table.weightTexts) side_.ShowNormalisedWeights(*table.weightTexts);
    side_.Draw(table.commands);
    side_.ReportTable(table.outcome);
    if (table.rowContributions) side_.ShowRowContributions(*table.rowContributions);
    side_.ShowComparisons(table.comparisons);
    if (table.outcome.status != RunOutcome::Status::Completed) return;

    side_.ProcessPendingEvents();
    if (run != runs_) return;

    Q_EMIT curvesStarted();
    const CurvePhase curves = recalculation_.Curves(side_.Document(), side_.ReadFrame());
    Q_EMIT curvesComputed();
    if (curves.rangeTexts) side_.ShowArrayRange(*curves.rangeTexts);
    side_.Draw(curves.commands);
    side_.KeepCurves(curves.samples);
    if (curves.outcome.status == RunOutcome::Status::Failed) {
        side_.ReportCurvesFailed(*curves.outcome.failure);
    }
}

}  // namespace veldorin
