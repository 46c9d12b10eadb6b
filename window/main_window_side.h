// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>

#include "results/run_report.h"
#include "window/layout.h"
#include "window/run_course.h"
#include "window/window_state.h"

namespace veldorin {

// The model as the window shows it: the texts of its controls exactly as typed and the
// table mode it holds. The working directory, the user's setting, is left empty.
ModelTexts ModelTextsOf(const WindowControls& controls, const WindowState& state);

// The main window's side of a run: the model is the texts of its controls plus the
// state the window holds, and what a run produces goes back into its controls: the
// normalised weights, the results list and "table.dat", the graph panel, the array range
// and the failure line.
class MainWindowSide final : public WindowSide {
public:
    MainWindowSide(const QWidget& window, const WindowControls& controls, const WindowState& state);

    bool Shown() const override;
    void ShowNeighbours() override;
    ModelTexts ReadModel() const override;
    GraphSettings ReadGraphSettings() const override;
    std::unique_ptr<TableSink> OpenTable(const std::string& path) override;
    void ShowNormalisedWeights(const WeightTexts& texts) override;
    void ShowArrayRange(const std::pair<std::string, std::string>& range) override;
    void Draw(const DrawCommands& commands) override;
    void KeepCurves(const SampledCurves& curves) override;
    void ReportTable(const RunOutcome& outcome) override;
    void ShowRowContributions(const RowContributionTexts& texts) override;
    void ReportCurvesFailed(FailureReason reason) override;
    void ProcessPendingEvents() override;
    void HoldPicture() override;
    void ShowPicture() override;

private:
    const QWidget& window_;
    const WindowControls& controls_;
    const WindowState& state_;
    RunReport report_;
};

}  // namespace veldorin
