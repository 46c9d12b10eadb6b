// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/measurements_link.h"

#include <QComboBox>
#include <QLineEdit>

#include "engine/constants.h"
#include "engine/format.h"
#include "engine/input_preparation.h"
#include "fit/relaxation_model.h"
#include "measurements/fit_panel.h"
#include "measurements/measurements_window.h"
#include "ui/tool_window.h"
#include "window/main_window_side.h"

namespace veldorin {

MeasurementsLink::MeasurementsLink(MeasurementsWindow& window, const WindowControls& controls,
                                   WindowState& state, std::function<void()> recalculate,
                                   std::function<void()> motionChanged)
    : QObject(&window),
      window_(window),
      controls_(controls),
      state_(state),
      recalculate_(std::move(recalculate)),
      motionChanged_(std::move(motionChanged)) {
    FitPanel& fit = *window_.fitPanel();
    connect(&fit, &FitPanel::choiceChanged, this, [this](const MotionFitChoice& choice, bool live) {
        state_.fitChoice = choice;
        state_.liveFit = live;
        if (live) recalculate_();
    });
    connect(&fit, &FitPanel::fitRequested, this, [this] {
        Fit();
        recalculate_();
    });
    connect(&window_, &MeasurementsWindow::rowsEdited, this,
            [this](const std::vector<MeasurementTexts>& rows) {
                state_.measurements = rows;
                Show();
                recalculate_();
            });
    connect(&window_, &MeasurementsWindow::pairFrequenciesChosen, this,
            [this](PairFrequencySigns signs) {
                state_.pairFrequencies = signs;
                Show();
                recalculate_();
            });
}

void MeasurementsLink::Open() {
    Show();
    ShowToolWindow(window_, window_.parentWidget()->frameGeometry().bottomLeft() + QPoint(0, 8));
    Compare();
}

void MeasurementsLink::Show() {
    window_.ShowRows(state_.measurements, state_.pairFrequencies, HasOppositeSignPair());
    ShowFitChoice();
}

void MeasurementsLink::ShowFitChoice() {
    window_.fitPanel()->ShowChoice(
        state_.motion ? std::optional(state_.motion->kind) : std::nullopt, state_.fitChoice,
        state_.liveFit);
}

void MeasurementsLink::FitIfLive() {
    if (state_.liveFit && state_.motion) Fit();
}

void MeasurementsLink::Fit() {
    if (!state_.motion) return;
    const MotionReading motion = ReadMotion(*state_.motion);
    const ModelTexts model = ModelTextsOf(controls_, state_);
    const std::optional<FitSpinSystem> system = FitSpinSystemOf(model);
    MotionFitResult result;
    if (!motion.motion || !system) {
        result.reason = !motion.motion ? "the motion has a value it cannot take"
                                       : "a text of the spin system, the CSA or Rex is no number";
        window_.fitPanel()->ShowResult(result);
        return;
    }
    std::vector<std::optional<Measurement>> rows;
    for (std::size_t row = 0; row < state_.measurements.size(); ++row) {
        rows.push_back(
            ReadMeasurement(state_.measurements[row], static_cast<int>(row) + 1).measurement);
    }
    result = FitMotion(*system, *motion.motion, state_.fitChoice, rows);
    window_.fitPanel()->ShowResult(result);
    if (result.status == FitResult::Status::Failed) return;
    for (MotionParameter parameter : state_.fitChoice.free) {
        (*state_.motion)[parameter] = FormatDouble(result.motion[parameter]);
    }
    const LorentzianTexts texts = TextsOf(ToLorentzians(result.motion));
    for (int row = 0; row < kLorentzianCount; ++row) {
        controls_.weightBoxes[row]->setText(QString::fromStdString(texts.weights[row]));
        controls_.timeBoxes[row]->setText(QString::fromStdString(texts.times[row]));
    }
    if (state_.fitChoice.rex)
        controls_.rexBox->setEditText(QString::fromStdString(FormatDouble(result.rex)));
    if (state_.fitChoice.csa)
        controls_.csaBox->setEditText(QString::fromStdString(FormatDouble(result.csa)));
    motionChanged_();
}

void MeasurementsLink::Compare() {
    if (state_.measurements.empty() && !window_.isVisible()) return;
    std::vector<std::optional<Measurement>> readings;
    for (std::size_t row = 0; row < state_.measurements.size(); ++row) {
        readings.push_back(
            ReadMeasurement(state_.measurements[row], static_cast<int>(row) + 1).measurement);
    }
    Comparisons comparisons;
    const PreparedRun run = InputPreparation().Prepare(ModelTextsOf(controls_, state_));
    if (run.stage == PreparedRun::Stage::Ready) {
        try {
            comparisons = veldorin::Compare(run.values, readings);
        } catch (const CalculationError&) {
            comparisons = {};  // the table says why; the rows show no value
        }
    }
    window_.ShowComparisons(comparisons);
}

bool MeasurementsLink::HasOppositeSignPair() const {
    const ModelTexts model = ModelTextsOf(controls_, state_);
    const auto central = GammaOf(model.slots[kCentralSlot].nucleus);
    if (!central) return false;
    for (int slot = 0; slot < kNeighbourCount; ++slot) {
        const auto gamma = GammaOf(model.slots[slot].nucleus);
        if (gamma && *gamma * *central < 0.0f) return true;
    }
    return false;
}

}  // namespace veldorin
