// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/measurements_link.h"

#include "engine/calculation.h"
#include "engine/constants.h"
#include "measurements/measurements_window.h"
#include "window/window_recalculation_view.h"

namespace veldorin {

MeasurementsLink::MeasurementsLink(MeasurementsWindow& window, const WindowControls& controls,
                                   WindowState& state, std::function<void()> recalculate)
    : QObject(&window),
      window_(window),
      controls_(controls),
      state_(state),
      recalculate_(std::move(recalculate)) {
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
    // The first time beside the main window, not over it; later where the user left it.
    if (!window_.isVisible() && window_.pos().isNull()) {
        const QWidget& main = *window_.parentWidget();
        window_.move(main.frameGeometry().bottomLeft() + QPoint(0, 8));
    }
    window_.show();
    window_.raise();
    window_.activateWindow();
    Compare();
}

void MeasurementsLink::Show() {
    window_.ShowRows(state_.measurements, state_.pairFrequencies, HasOppositeSignPair());
}

void MeasurementsLink::Compare() {
    if (state_.measurements.empty() && !window_.isVisible()) return;
    std::vector<std::optional<Measurement>> readings;
    for (std::size_t row = 0; row < state_.measurements.size(); ++row) {
        readings.push_back(
            ReadMeasurement(state_.measurements[row], static_cast<int>(row) + 1).measurement);
    }
    Comparisons comparisons;
    const PreparedRun run = Calculation().Prepare(ModelTextsOf(controls_, state_));
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
