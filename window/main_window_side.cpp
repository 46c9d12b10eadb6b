// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/main_window_side.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>

#include "graph_panel/graph_canvas.h"
#include "options/options_panel.h"
#include "results/results_list.h"
#include "results/table_writer.h"
#include "spins/spin_diagram.h"

namespace veldorin {

namespace {

std::string TextOf(const QLineEdit* box) { return box->text().toStdString(); }

QString FromStd(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

ModelTexts ModelTextsOf(const WindowControls& controls, const WindowState& state) {
    ModelTexts model;
    for (int slot = 0; slot < kSlotCount; ++slot)
        model.slots[slot] = controls.spinDiagram->Slot(slot);
    for (int row = 0; row < kLorentzianCount; ++row) {
        model.weights[row] = TextOf(controls.weightBoxes[row]);
        model.times[row] = TextOf(controls.timeBoxes[row]);
    }
    model.csa = controls.csaBox->currentText().toStdString();
    model.rex = controls.rexBox->currentText().toStdString();
    model.tableMode = state.tableMode;
    model.pairFrequencies = state.pairFrequencies;
    return model;
}

MainWindowSide::MainWindowSide(const QWidget& window, const WindowControls& controls,
                               const WindowState& state)
    : window_(window),
      controls_(controls),
      state_(state),
      report_(*controls.resultsList, *controls.failureLine) {}

bool MainWindowSide::Shown() const { return window_.isVisible(); }

void MainWindowSide::ShowNeighbours() { controls_.spinDiagram->ShowNeighbours(); }

ModelTexts MainWindowSide::ReadModel() const {
    ModelTexts model = ModelTextsOf(controls_, state_);
    model.workingDirectory = controls_.optionsPanel->WorkingDirectory().toStdString();
    return model;
}

GraphSettings MainWindowSide::ReadGraphSettings() const {
    GraphSettings settings;
    settings.plotMode = PlotModeAt(controls_.plotList->currentIndex());
    settings.arrayOn = state_.arrayOn;
    settings.arrayParameter = ArrayParameterAt(controls_.arrayParameterList->currentIndex());
    settings.measurements = ReadMeasurements(state_.measurements);
    // The user scale is the panel's size in twips, read afresh for every run.
    const QSizeF size = controls_.graphCanvas->sizeInTwips();
    settings.width = static_cast<float>(size.width());
    settings.height = static_cast<float>(size.height());
    return settings;
}

std::unique_ptr<TableSink> MainWindowSide::OpenTable(const std::string& path) {
    return std::make_unique<TableWriter>(*controls_.resultsList, FromStd(path));
}

void MainWindowSide::ShowNormalisedWeights(const WeightTexts& texts) {
    for (int row = 0; row < kLorentzianCount; ++row) {
        controls_.normalisedWeightBoxes[row]->setText(FromStd(texts[row]));
    }
}

void MainWindowSide::ShowArrayRange(const std::pair<std::string, std::string>& range) {
    controls_.arrayFromBox->setText(FromStd(range.first));
    controls_.arrayStepBox->setText(FromStd(range.second));
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

void MainWindowSide::ProcessPendingEvents() { QCoreApplication::processEvents(); }

void MainWindowSide::HoldPicture() { controls_.graphCanvas->HoldPresentation(); }

void MainWindowSide::ShowPicture() { controls_.graphCanvas->ReleasePresentation(); }

}  // namespace veldorin
