// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "recalculation/recalculation.h"

namespace veldorin {

// The window's side of a run: what the run reads from the window and shows in it.
class WindowSide {
public:
    virtual ~WindowSide() = default;

    // While the window is hidden a run only updates the spin diagram.
    virtual bool Shown() const = 0;
    virtual void ShowNeighbours() = 0;
    // The model being edited, as it stands now.
    virtual const ModelDocument& Document() const = 0;
    virtual GraphFrame ReadFrame() const = 0;
    // Where the table's lines go: the results list and "table.dat".
    virtual std::unique_ptr<TableSink> OpenTable() = 0;
    // The fit that runs at every change found this: its document becomes the model and
    // the fit's result is shown.
    virtual void ApplyLiveFit(const TableStep::LiveFit& fit) = 0;
    virtual void ShowNormalisedWeights(const WeightTexts& texts) = 0;
    virtual void ShowArrayRange(const std::pair<std::string, std::string>& range) = 0;
    virtual void Draw(const DrawCommands& commands) = 0;
    // The values behind the curves just drawn, for saving them.
    virtual void KeepCurves(const SampledCurves& curves) = 0;
    virtual void ReportTable(const RunOutcome& outcome) = 0;
    // What makes up each row of a completed table, as the rows' tooltips.
    virtual void ShowRowContributions(const RowContributionTexts& texts) = 0;
    virtual void ReportCurvesFailed(FailureReason reason) = 0;
    // The measurements beside the model's values, after every table phase.
    virtual void ShowComparisons(const Comparisons& comparisons) = 0;
    // Lets the window show the table and handle what the user did meanwhile; a handler
    // may recalculate in here.
    virtual void ProcessPendingEvents() = 0;
    // A run holds the graph's picture on the screen while it draws (holds nest) and
    // shows it once at the end: the table phase's picture would stand for well under a
    // millisecond before the curves are drawn over it.
    virtual void HoldPicture() = 0;
    virtual void ShowPicture() = 0;
};

// The course of one run in the window: compute and show the table step of the document,
// let pending events run, then compute and draw the curves of the document as it is
// then. A run that was overtaken while events ran (a handler recalculated inside it)
// ends there: the newer run has drawn the current picture from the current inputs.
class RunCourse : public QObject {
    Q_OBJECT

public:
    explicit RunCourse(WindowSide& side);

    void Run();

Q_SIGNALS:
    // A run got past the hidden-window check.
    void runStarted();
    // A run went on to draw the curves.
    void curvesStarted();
    // The curves are computed; their drawing into the graph follows.
    void curvesComputed();

private:
    WindowSide& side_;
    Recalculation recalculation_;
    std::uint64_t runs_ = 0;  // runs that got past the hidden-window check
};

}  // namespace veldorin
