// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "fit/model_free_motion.h"
#include "window/layout.h"
#include "window/window_state.h"

namespace veldorin {

class MeasurementsWindow;
class MonteCarloRun;

// Joins the Measurements window to the model: its rows and the pair-frequency setting
// are kept in the state, each edit recalculates, and after every recalculation the
// rows are compared with the model the window shows. The fit, the ranking of the
// model-free family and the Monte Carlo errors read the state and apply what they find.
class MeasurementsLink : public QObject {
    Q_OBJECT

public:
    // `motionChanged` shows a motion the fit changed in the Motion window.
    MeasurementsLink(MeasurementsWindow& window, const WindowControls& controls, WindowState& state,
                     std::function<void()> recalculate, std::function<void()> motionChanged);

    void Open();
    // Shows the state's rows and setting; after a model is opened or the motion changed.
    void Show();
    // Compares the rows with the model; after every recalculation. Nothing to do, and no
    // cost, without rows and with the window closed.
    void Compare();
    // The fit at every change, when it is asked for: before every recalculation, so that
    // the run shows the fitted motion.
    void FitIfLive();

private:
    // What every fit reads: the motion, the spin system and the readable rows.
    struct FitInputs {
        Motion motion;
        FitSpinSystem system;
        std::vector<std::optional<Measurement>> rows;
    };
    // What a ranking or a Monte Carlo run was made from: when it changes, the ranking is
    // cleared and the run stopped, as their answers would belong to another fit.
    struct FitSnapshot {
        ModelTexts model;
        std::vector<MeasurementTexts> rows;
        MotionFitChoice choice;
        friend bool operator==(const FitSnapshot&, const FitSnapshot&) = default;
    };

    void ShowRows();
    // Keeps edited rows; the first rows of a model switch it to signed pair frequencies.
    void TakeRows(const std::vector<MeasurementTexts>& rows);
    bool HasOppositeSignPair() const;
    // The inputs, or why there are none.
    std::optional<FitInputs> ReadFitInputs(std::string& reason) const;
    // Fits the state's motion and applies what the fit found to the motion, the
    // Lorentzian boxes and the Rex and CSA boxes; no recalculation. The result, or
    // nothing when the fit failed.
    std::optional<MotionFitResult> Fit();
    // Puts the motion's values of the parameters into the state, the Lorentzians into
    // their boxes and the Rex and CSA given into theirs.
    void Apply(const Motion& motion, std::span<const MotionParameter> parameters,
               std::optional<double> rex, std::optional<double> csa);
    void Rank(Criterion criterion);
    void ApplyModel(int number);
    void StartMonteCarlo(int sets, std::uint64_t seed);
    FitSnapshot CurrentSnapshot() const;
    // Clears a ranking and stops a run, or clears its errors, whose snapshot is no longer
    // the state's.
    void DropOutdated();
    // Stops the run, or clears the errors it gave, saying why; nothing without either.
    void StopMonteCarlo(const QString& why);
    void ShowFitChoice();

    MeasurementsWindow& window_;
    const WindowControls& controls_;
    WindowState& state_;
    std::function<void()> recalculate_;
    std::function<void()> motionChanged_;
    std::optional<ModelSelection> ranking_;  // the one shown
    // Taken after the recalculation that follows a ranking or an applied model.
    std::optional<FitSnapshot> rankingSnapshot_;
    MonteCarloRun* monteCarlo_;
    // What the run going, or the errors shown, were made from.
    std::optional<FitSnapshot> monteCarloSnapshot_;
    MotionFitResult monteCarloFit_;    // the fit the run spreads around
    bool startingMonteCarlo_ = false;  // its fit's recalculation processes events
};

}  // namespace veldorin
