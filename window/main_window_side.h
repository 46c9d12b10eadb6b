// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>
#include <functional>

#include "results/run_report.h"
#include "window/layout.h"
#include "window/run_course.h"

namespace veldorin {

// The main window's side of a run: the model is the document the window holds, and what
// a run produces goes back into its controls (the normalised weights, the results list
// and "table.dat" in the working directory, the graph panel, the array range, the failure
// line) and, through `tools`, into the tool windows.
class MainWindowSide final : public WindowSide {
public:
    // What the tool windows show of a run.
    struct Tools {
        // The live fit changed the document: the controls and the tool windows show it.
        std::function<void(const MotionFitResult&)> showLiveFit;
        std::function<void(const Comparisons&)> showComparisons;
    };

    MainWindowSide(const QWidget& window, const WindowControls& controls, ModelDocument& document,
                   Tools tools);

    bool Shown() const override;
    void ShowNeighbours() override;
    const ModelDocument& Document() const override { return document_; }
    GraphFrame ReadFrame() const override;
    std::unique_ptr<TableSink> OpenTable() override;
    void ApplyLiveFit(const TableStep::LiveFit& fit) override;
    void ShowNormalisedWeights(const WeightTexts& texts) override;
    void ShowArrayRange(const std::pair<std::string, std::string>& range) override;
    void Draw(const DrawCommands& commands) override;
    void KeepCurves(const SampledCurves& curves) override;
    void ReportTable(const RunOutcome& outcome) override;
    void ShowRowContributions(const RowContributionTexts& texts) override;
    void ReportCurvesFailed(FailureReason reason) override;
    void ShowComparisons(const Comparisons& comparisons) override;
    void ProcessPendingEvents() override;
    void HoldPicture() override;
    void ShowPicture() override;

private:
    const QWidget& window_;
    const WindowControls& controls_;
    ModelDocument& document_;
    Tools tools_;
    RunReport report_;
};

}  // namespace veldorin
