// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <cstdint>
#include <optional>
#include <vector>

#include "fit/motion_fit.h"

namespace veldorin {

// What a Monte Carlo run refits: copies, so that the run owns everything it reads.
struct MonteCarloInputs {
    FitSpinSystem system;
    MotionFitResult fitted;
    MotionFitChoice choice;
    std::vector<std::optional<Measurement>> rows;
    int sets = 500;
    std::uint64_t seed = 1;
};

// Runs the Monte Carlo errors of a fit on a worker thread, reporting how far it got;
// a cancelled or destroyed run stops after the set it is fitting. Only the latest run
// started and not cancelled reports its result.
class MonteCarloRun : public QObject {
    Q_OBJECT

public:
    explicit MonteCarloRun(QObject* parent);
    ~MonteCarloRun() override;

    // Stops a run that is still going first.
    void Start(MonteCarloInputs inputs);
    // Also drops the result of a run that finished but has not reported yet.
    void Cancel();
    bool IsRunning() const { return watcher_.isRunning(); }

Q_SIGNALS:
    void progressed(int done);
    // Not after a cancel.
    void finished(const MotionMonteCarlo& result);

private:
    // A result with the number of the run that made it: the watcher reports a finished
    // run later, through the event loop, when a newer run or a cancel may have come.
    struct Numbered {
        std::uint64_t run = 0;
        MotionMonteCarlo result;
    };

    QFutureWatcher<Numbered> watcher_;
    std::uint64_t latest_ = 0;  // the run whose result is wanted
};

}  // namespace veldorin
