// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "measurements/measurements_controller.h"

#include <QScopedValueRollback>

#include "measurements/fit_panel.h"
#include "measurements/measurements_window.h"
#include "measurements/model_ranking_panel.h"
#include "measurements/monte_carlo_panel.h"
#include "measurements/monte_carlo_run.h"
#include "recalculation/document_fit.h"
#include "recalculation/recalculation.h"
#include "ui/tool_window.h"

namespace veldorin {
namespace {

// Why the Monte Carlo errors were stopped or cleared.
const QString kChanged =
    QStringLiteral("Cleared: the model, the measurements or the free parameters changed.");
const QString kClosed = QStringLiteral("Cleared when the window was closed.");

}  // namespace

MeasurementsController::MeasurementsController(MeasurementsWindow& window, ModelDocument& document,
                                               std::function<void()> changed)
    : QObject(&window),
      window_(window),
      document_(document),
      changed_(std::move(changed)),
      monteCarlo_(new MonteCarloRun(this)) {
    FitPanel& fit = *window_.fitPanel();
    connect(&fit, &FitPanel::choiceChanged, this, [this](const MotionFitChoice& choice, bool live) {
        document_.fit = {choice, live};
        DropOutdated();
        if (live) changed_();
    });
    connect(&fit, &FitPanel::fitRequested, this, [this] {
        StopMonteCarlo(QStringLiteral("Cleared: the motion was fitted again."));
        Fit();
        changed_();
    });
    ModelRankingPanel& ranking = *window_.rankingPanel();
    connect(&ranking, &ModelRankingPanel::rankRequested, this, &MeasurementsController::Rank);
    connect(&ranking, &ModelRankingPanel::criterionChanged, this, [this] {
        ranking_.reset();
        rankingSnapshot_.reset();
    });
    connect(&ranking, &ModelRankingPanel::modelChosen, this, [this](int number) {
        ApplyModel(number);
        rankingSnapshot_.reset();
        changed_();
    });
    MonteCarloPanel& spread = *window_.monteCarloPanel();
    connect(&spread, &MonteCarloPanel::runRequested, this,
            &MeasurementsController::StartMonteCarlo);
    connect(&spread, &MonteCarloPanel::cancelRequested, this,
            [this] { StopMonteCarlo(QStringLiteral("Cancelled.")); });
    connect(monteCarlo_, &MonteCarloRun::progressed, &spread, &MonteCarloPanel::ShowProgress);
    connect(monteCarlo_, &MonteCarloRun::finished, this, [this](const MotionMonteCarlo& result) {
        // It may arrive while a recalculation processes events, before the change is seen.
        if (!monteCarloSnapshot_) return;
        if (*monteCarloSnapshot_ != CurrentSnapshot()) {
            StopMonteCarlo(kChanged);
            return;
        }
        window_.monteCarloPanel()->ShowResult(monteCarloFit_, monteCarloSnapshot_->choice, result);
    });
    connect(&window_, &MeasurementsWindow::closed, this, [this] { StopMonteCarlo(kClosed); });
    connect(&window_, &MeasurementsWindow::rowsEdited, this,
            [this](const std::vector<MeasurementTexts>& rows) {
                TakeRows(rows);
                changed_();
            });
    connect(&window_, &MeasurementsWindow::pairFrequenciesChosen, this,
            [this](PairFrequencySigns signs) {
                document_.texts.pairFrequencies = signs;
                StopOutdatedMonteCarlo();
                ShowRows();
                changed_();
            });
}

void MeasurementsController::Open() {
    ShowRows();
    ShowToolWindow(window_, window_.parentWidget()->frameGeometry().bottomLeft() + QPoint(0, 8));
    ShowComparisons(CompareMeasurements(document_));
}

void MeasurementsController::Show() {
    window_.ShowSwitchedToSigned(false);
    ShowRows();
}

void MeasurementsController::ShowRows() {
    window_.ShowRows(document_.measurements, document_.texts.pairFrequencies,
                     document_.HasOppositeSignPair());
    ShowFitChoice();
}

void MeasurementsController::TakeRows(const std::vector<MeasurementTexts>& rows) {
    const bool switching = document_.SetMeasurements(rows);
    // At once: no run follows while the main window is hidden.
    StopOutdatedMonteCarlo();
    if (switching || rows.empty()) window_.ShowSwitchedToSigned(switching);
    ShowRows();
}

void MeasurementsController::ShowFitChoice() {
    window_.fitPanel()->ShowChoice(
        document_.motion ? std::optional(document_.motion->kind) : std::nullopt,
        document_.fit.choice, document_.fit.live);
}

void MeasurementsController::ShowFitResult(const MotionFitResult& result) {
    window_.fitPanel()->ShowResult(result, document_.fit.choice);
}

std::optional<MotionFitResult> MeasurementsController::Fit() {
    const MotionFitResult result = FitDocumentMotion(document_);
    ShowFitResult(result);
    if (result.status == FitResult::Status::Failed) return std::nullopt;
    ApplyFitResult(result, document_);
    return result;
}

void MeasurementsController::Rank(Criterion criterion) {
    ModelRankingPanel& panel = *window_.rankingPanel();
    std::string reason;
    const std::optional<DocumentFitInputs> inputs = ReadFitInputs(document_, reason);
    if (!inputs) {
        panel.ShowStatus(QStringLiteral("No ranking: ") + QString::fromStdString(reason));
        return;
    }
    std::vector<Measurement> data;
    for (const auto& row : inputs->rows) {
        if (row) data.push_back(*row);
    }
    // Without data every model fits nothing, and m0 would win by default.
    if (data.empty()) {
        panel.ShowStatus(QStringLiteral("No ranking: no row can be read."));
        return;
    }
    ranking_ = SelectModel(
        data, RankingSettings(inputs->system, inputs->motion, document_.fit.choice), criterion);
    panel.ShowRanking(*ranking_, criterion);
    rankingSnapshot_.reset();
    if (ranking_->chosen >= 0) ApplyModel(ranking_->chosen);
    changed_();
}

void MeasurementsController::ApplyModel(int number) {
    if (!ranking_ || !document_.motion) return;
    const ModelFit& fit = ranking_->fits[static_cast<std::size_t>(number)];
    if (!fit.eliminated.empty()) return;
    const ModelAsMotion model = MotionOfModel(fit);
    document_.ApplyFit(model.motion, ParametersOf(model.motion.kind), model.rex,
                       model.choice.csa ? std::optional(model.csa) : std::nullopt);
    document_.fit.choice = model.choice;
    ShowFitChoice();
}

MeasurementsController::FitSnapshot MeasurementsController::CurrentSnapshot() const {
    return {document_.texts, document_.measurements, document_.fit.choice};
}

void MeasurementsController::DropOutdated() {
    if (!ranking_ && !monteCarloSnapshot_) return;
    const FitSnapshot now = CurrentSnapshot();
    if (ranking_ && !rankingSnapshot_) {
        rankingSnapshot_ = now;
    } else if (ranking_ && now != *rankingSnapshot_) {
        ranking_.reset();
        window_.rankingPanel()->ShowOutdated();
    }
    StopOutdatedMonteCarlo();
}

void MeasurementsController::StopOutdatedMonteCarlo() {
    if (monteCarloSnapshot_ && CurrentSnapshot() != *monteCarloSnapshot_) {
        StopMonteCarlo(kChanged);
    }
}

void MeasurementsController::StopMonteCarlo(const QString& why) {
    if (!monteCarloSnapshot_) return;
    monteCarloSnapshot_.reset();
    monteCarlo_->Cancel();
    window_.monteCarloPanel()->ShowStopped(why);
}

void MeasurementsController::StartMonteCarlo(int sets, std::uint64_t seed) {
    if (startingMonteCarlo_) return;
    const QScopedValueRollback starting(startingMonteCarlo_, true);
    StopMonteCarlo({});
    const std::optional<MotionFitResult> fitted = Fit();
    changed_();
    if (window_.isHidden()) {  // closed while the recalculation processed events
        window_.monteCarloPanel()->ShowStopped(kClosed);
        return;
    }
    std::string reason;
    const std::optional<DocumentFitInputs> inputs = ReadFitInputs(document_, reason);
    // Errors around a point the fit did not settle on would mean nothing.
    if (!fitted || !inputs || fitted->status != FitResult::Status::Converged) {
        window_.monteCarloPanel()->ShowStopped(
            QStringLiteral("No Monte Carlo errors without a converged fit: see the Fit tab."));
        return;
    }
    if (fitted->DegreesOfFreedom() < 1) {
        window_.monteCarloPanel()->ShowStopped(QStringLiteral(
            "No Monte Carlo errors: the fit has no degrees of freedom, so every synthetic set "
            "would be fitted exactly."));
        return;
    }
    monteCarloFit_ = *fitted;
    monteCarloSnapshot_ = CurrentSnapshot();
    window_.monteCarloPanel()->ShowRunning(sets);
    monteCarlo_->Start({inputs->system, *fitted, document_.fit.choice, inputs->rows, sets, seed});
}

void MeasurementsController::ShowComparisons(const Comparisons& comparisons) {
    DropOutdated();
    if (document_.measurements.empty() && !window_.isVisible()) return;
    window_.ShowComparisons(comparisons);
}

}  // namespace veldorin
