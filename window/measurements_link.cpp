// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/measurements_link.h"

#include <QComboBox>
#include <QLineEdit>
#include <QScopedValueRollback>

#include "engine/constants.h"
#include "engine/format.h"
#include "engine/input_preparation.h"
#include "fit/relaxation_model.h"
#include "measurements/fit_panel.h"
#include "measurements/measurements_window.h"
#include "measurements/model_ranking_panel.h"
#include "measurements/monte_carlo_panel.h"
#include "measurements/monte_carlo_run.h"
#include "ui/tool_window.h"
#include "window/main_window_side.h"

namespace veldorin {
namespace {

// Why the Monte Carlo errors were stopped or cleared.
const QString kChanged =
    QStringLiteral("Cleared: the model, the measurements or the free parameters changed.");
const QString kClosed = QStringLiteral("Cleared when the window was closed.");

}  // namespace

MeasurementsLink::MeasurementsLink(MeasurementsWindow& window, const WindowControls& controls,
                                   WindowState& state, std::function<void()> recalculate,
                                   std::function<void()> motionChanged)
    : QObject(&window),
      window_(window),
      controls_(controls),
      state_(state),
      recalculate_(std::move(recalculate)),
      motionChanged_(std::move(motionChanged)),
      monteCarlo_(new MonteCarloRun(this)) {
    FitPanel& fit = *window_.fitPanel();
    connect(&fit, &FitPanel::choiceChanged, this, [this](const MotionFitChoice& choice, bool live) {
        state_.fitChoice = choice;
        state_.liveFit = live;
        DropOutdated();
        if (live) recalculate_();
    });
    connect(&fit, &FitPanel::fitRequested, this, [this] {
        StopMonteCarlo(QStringLiteral("Cleared: the motion was fitted again."));
        Fit();
        recalculate_();
    });
    ModelRankingPanel& ranking = *window_.rankingPanel();
    connect(&ranking, &ModelRankingPanel::rankRequested, this, &MeasurementsLink::Rank);
    connect(&ranking, &ModelRankingPanel::modelChosen, this, [this](int number) {
        ApplyModel(number);
        rankingSnapshot_.reset();
        recalculate_();
    });
    MonteCarloPanel& spread = *window_.monteCarloPanel();
    connect(&spread, &MonteCarloPanel::runRequested, this, &MeasurementsLink::StartMonteCarlo);
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
                recalculate_();
            });
    connect(&window_, &MeasurementsWindow::pairFrequenciesChosen, this,
            [this](PairFrequencySigns signs) {
                state_.pairFrequencies = signs;
                ShowRows();
                recalculate_();
            });
}

void MeasurementsLink::Open() {
    ShowRows();
    ShowToolWindow(window_, window_.parentWidget()->frameGeometry().bottomLeft() + QPoint(0, 8));
    Compare();
}

void MeasurementsLink::Show() {
    window_.ShowSwitchedToSigned(false);
    ShowRows();
}

void MeasurementsLink::ShowRows() {
    window_.ShowRows(state_.measurements, state_.pairFrequencies, HasOppositeSignPair());
    ShowFitChoice();
}

void MeasurementsLink::TakeRows(const std::vector<MeasurementTexts>& rows) {
    // Measured rates are fitted with signed frequencies, as the batch fit fits them: the
    // first rows of a model bring it to them, once, so that its fits answer as the batch's.
    const bool first = state_.measurements.empty() && !rows.empty();
    const bool switching = first && state_.pairFrequencies == PairFrequencySigns::Magnitudes;
    state_.measurements = rows;
    if (switching) state_.pairFrequencies = PairFrequencySigns::Signed;
    if (switching || rows.empty()) window_.ShowSwitchedToSigned(switching);
    ShowRows();
}

void MeasurementsLink::ShowFitChoice() {
    window_.fitPanel()->ShowChoice(
        state_.motion ? std::optional(state_.motion->kind) : std::nullopt, state_.fitChoice,
        state_.liveFit);
}

void MeasurementsLink::FitIfLive() {
    if (state_.liveFit && state_.motion) Fit();
}

std::optional<MeasurementsLink::FitInputs> MeasurementsLink::ReadFitInputs(
    std::string& reason) const {
    if (!state_.motion) {
        reason = "choose a motion in the Motion window (Ctrl+M) first";
        return std::nullopt;
    }
    const MotionReading motion = ReadMotion(*state_.motion);
    const std::optional<FitSpinSystem> system = FitSpinSystemOf(ModelTextsOf(controls_, state_));
    if (!motion.motion || !system) {
        reason = !motion.motion ? "the motion has a value it cannot take"
                                : "a text of the spin system, the CSA or Rex is no number";
        return std::nullopt;
    }
    return FitInputs{*motion.motion, *system, ReadMeasurements(state_.measurements)};
}

std::optional<MotionFitResult> MeasurementsLink::Fit() {
    MotionFitResult result;
    const std::optional<FitInputs> inputs = ReadFitInputs(result.reason);
    if (inputs) result = FitMotion(inputs->system, inputs->motion, state_.fitChoice, inputs->rows);
    window_.fitPanel()->ShowResult(result, state_.fitChoice);
    if (result.status == FitResult::Status::Failed) return std::nullopt;
    Apply(result.motion, state_.fitChoice.free,
          state_.fitChoice.rex ? std::optional(result.rex) : std::nullopt,
          state_.fitChoice.csa ? std::optional(result.csa) : std::nullopt);
    return result;
}

void MeasurementsLink::Apply(const Motion& motion, std::span<const MotionParameter> parameters,
                             std::optional<double> rex, std::optional<double> csa) {
    state_.motion->kind = motion.kind;
    for (MotionParameter parameter : parameters) {
        (*state_.motion)[parameter] = FormatDouble(motion[parameter]);
    }
    const LorentzianTexts texts = TextsOf(ToLorentzians(motion));
    for (int row = 0; row < kLorentzianCount; ++row) {
        controls_.weightBoxes[row]->setText(QString::fromStdString(texts.weights[row]));
        controls_.timeBoxes[row]->setText(QString::fromStdString(texts.times[row]));
    }
    if (rex) controls_.rexBox->setEditText(QString::fromStdString(FormatDouble(*rex)));
    if (csa) controls_.csaBox->setEditText(QString::fromStdString(FormatDouble(*csa)));
    motionChanged_();
}

void MeasurementsLink::Rank(Criterion criterion) {
    ModelRankingPanel& panel = *window_.rankingPanel();
    std::string reason;
    const std::optional<FitInputs> inputs = ReadFitInputs(reason);
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
    ranking_ = SelectModel(data, RankingSettings(inputs->system, inputs->motion, state_.fitChoice),
                           criterion);
    panel.ShowRanking(*ranking_, criterion);
    rankingSnapshot_.reset();
    if (ranking_->chosen >= 0) ApplyModel(ranking_->chosen);
    recalculate_();
}

void MeasurementsLink::ApplyModel(int number) {
    if (!ranking_ || !state_.motion) return;
    const ModelFit& fit = ranking_->fits[static_cast<std::size_t>(number)];
    if (!fit.eliminated.empty()) return;
    const ModelAsMotion model = MotionOfModel(fit);
    Apply(model.motion, ParametersOf(model.motion.kind), model.rex,
          model.choice.csa ? std::optional(model.csa) : std::nullopt);
    state_.fitChoice = model.choice;
    ShowFitChoice();
}

MeasurementsLink::FitSnapshot MeasurementsLink::CurrentSnapshot() const {
    return {ModelTextsOf(controls_, state_), state_.measurements, state_.fitChoice};
}

void MeasurementsLink::DropOutdated() {
    if (!ranking_ && !monteCarloSnapshot_) return;
    const FitSnapshot now = CurrentSnapshot();
    if (ranking_ && !rankingSnapshot_) {
        rankingSnapshot_ = now;
    } else if (ranking_ && now != *rankingSnapshot_) {
        ranking_.reset();
        window_.rankingPanel()->ShowOutdated();
    }
    if (monteCarloSnapshot_ && now != *monteCarloSnapshot_) {
        StopMonteCarlo(kChanged);
    }
}

void MeasurementsLink::StopMonteCarlo(const QString& why) {
    if (!monteCarloSnapshot_) return;
    monteCarloSnapshot_.reset();
    monteCarlo_->Cancel();
    window_.monteCarloPanel()->ShowStopped(why);
}

void MeasurementsLink::StartMonteCarlo(int sets, std::uint64_t seed) {
    if (startingMonteCarlo_) return;
    const QScopedValueRollback starting(startingMonteCarlo_, true);
    StopMonteCarlo({});
    const std::optional<MotionFitResult> fitted = Fit();
    recalculate_();
    if (window_.isHidden()) {  // closed while the recalculation processed events
        window_.monteCarloPanel()->ShowStopped(kClosed);
        return;
    }
    std::string reason;
    const std::optional<FitInputs> inputs = ReadFitInputs(reason);
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
    monteCarlo_->Start({inputs->system, *fitted, state_.fitChoice, inputs->rows, sets, seed});
}

void MeasurementsLink::Compare() {
    DropOutdated();
    if (state_.measurements.empty() && !window_.isVisible()) return;
    const std::vector<std::optional<Measurement>> readings = ReadMeasurements(state_.measurements);
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
