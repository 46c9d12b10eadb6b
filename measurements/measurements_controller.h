// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "document/model_document.h"
#include "fit/model_free_motion.h"
#include "fit/motion_fit.h"

namespace veldorin {

class MeasurementsWindow;
class MonteCarloRun;

// Shows the document's measurements in the Measurements window and puts the window's
// edits into the document: the rows, the pair-frequency setting and the fit's setup.
// After every recalculation it shows the rows beside the model's values. The fit, the
// ranking of the model-free family and the Monte Carlo errors read the document and put
// what they find into it.
class MeasurementsController : public QObject {
    Q_OBJECT

public:
    // `changed` runs after every change to the document: the main window shows it and
    // recalculates.
    MeasurementsController(MeasurementsWindow& window, ModelDocument& document,
                           std::function<void()> changed);

    void Open();
    // Shows the document's rows and setting; after a model is opened or the motion changed.
    void Show();
    // The rows beside the model's values; after every recalculation. Nothing to do, and no
    // cost, without rows and with the window closed.
    void ShowComparisons(const Comparisons& comparisons);
    // What the fit that runs at every change found.
    void ShowFitResult(const MotionFitResult& result);

private:
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
    // Fits the document's motion, shows the result and puts what the fit found into the
    // document; no recalculation. The result, or nothing when the fit failed.
    std::optional<MotionFitResult> Fit();
    void Rank(Criterion criterion);
    void ApplyModel(int number);
    void StartMonteCarlo(int sets, std::uint64_t seed);
    FitSnapshot CurrentSnapshot() const;
    // Clears a ranking and stops a run, or clears its errors, whose snapshot is no longer
    // the document's.
    void DropOutdated();
    // Stops the run, or clears the errors it gave, when its snapshot is no longer the
    // document's.
    void StopOutdatedMonteCarlo();
    // Stops the run, or clears the errors it gave, saying why; nothing without either.
    void StopMonteCarlo(const QString& why);
    void ShowFitChoice();

    MeasurementsWindow& window_;
    ModelDocument& document_;
    std::function<void()> changed_;
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
