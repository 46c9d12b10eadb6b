// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/main_window_side.h"

#include <QCoreApplication>
#include <QLineEdit>

#include "graph_panel/graph_canvas.h"
#include "options/options_panel.h"
#include "results/results_list.h"
#include "results/table_writer.h"
#include "spins/spin_diagram.h"
#include "ui/program_text.h"

namespace veldorin {

namespace {

QString FromStd(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

MainWindowSide::MainWindowSide(const QWidget& window, const WindowControls& controls,
                               ModelDocument& document, Tools tools)
    : window_(window),
      controls_(controls),
      document_(document),
      tools_(std::move(tools)),
      report_(*controls.resultsList, *controls.failureLine) {}

bool MainWindowSide::Shown() const { return window_.isVisible(); }

void MainWindowSide::ShowNeighbours() { controls_.spinDiagram->ShowNeighbours(); }

// The user scale is the panel's size in twips, read afresh for every run.
GraphFrame MainWindowSide::ReadFrame() const {
    const QSizeF size = controls_.graphCanvas->sizeInTwips();
    return {static_cast<float>(size.width()), static_cast<float>(size.height())};
}

std::unique_ptr<TableSink> MainWindowSide::OpenTable() {
    const std::string directory = controls_.optionsPanel->WorkingDirectory().toStdString();
    return std::make_unique<TableWriter>(*controls_.resultsList, FromStd(TableFilePath(directory)));
}

void MainWindowSide::ApplyLiveFit(const TableStep::LiveFit& fit) {
    document_ = fit.document;
    tools_.showLiveFit(fit.result);
}

void MainWindowSide::ShowNormalisedWeights(const WeightTexts& texts) {
    for (int row = 0; row < kLorentzianCount; ++row) {
        ShowProgramText(*controls_.normalisedWeightBoxes[row], FromStd(texts[row]));
    }
}

void MainWindowSide::ShowArrayRange(const std::pair<std::string, std::string>& range) {
    ShowProgramText(*controls_.arrayFromBox, FromStd(range.first));
    ShowProgramText(*controls_.arrayStepBox, FromStd(range.second));
}

void MainWindowSide::Draw(const DrawCommands& commands) { controls_.graphCanvas->Replay(commands); }

void MainWindowSide::KeepCurves(const SampledCurves& curves) {
    controls_.graphCanvas->KeepCurves(curves);
}

void MainWindowSide::ReportTable(const RunOutcome& outcome) {
    switch (outcome.status) {
        case RunOutcome::Status::Failed: report_.TableFailed(*outcome.failure); break;
        case RunOutcome::Status::Completed: report_.TableCompleted(); break;
        // Weights that do not sum above zero only refresh the diagram and the weights.
        case RunOutcome::Status::Stopped: break;
    }
}

void MainWindowSide::ShowRowContributions(const RowContributionTexts& texts) {
    controls_.resultsList->SetRowTooltips(texts);
}

void MainWindowSide::ReportCurvesFailed(FailureReason reason) { report_.CurvesFailed(reason); }

void MainWindowSide::ShowComparisons(const Comparisons& comparisons) {
    tools_.showComparisons(comparisons);
}

void MainWindowSide::ProcessPendingEvents() { QCoreApplication::processEvents(); }

void MainWindowSide::HoldPicture() { controls_.graphCanvas->HoldPresentation(); }

void MainWindowSide::ShowPicture() { controls_.graphCanvas->ReleasePresentation(); }

}  // namespace veldorin
