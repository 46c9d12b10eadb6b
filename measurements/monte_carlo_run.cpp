// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "measurements/monte_carlo_run.h"

#include <QPromise>
#include <QtConcurrent/QtConcurrentRun>

namespace veldorin {

MonteCarloRun::MonteCarloRun(QObject* parent) : QObject(parent) {
    connect(&watcher_, &QFutureWatcher<MotionMonteCarlo>::progressValueChanged, this,
            &MonteCarloRun::progressed);
    connect(&watcher_, &QFutureWatcher<MotionMonteCarlo>::finished, this, [this] {
        if (!watcher_.isCanceled() && watcher_.future().resultCount() > 0) {
            Q_EMIT finished(watcher_.result());
        }
    });
}

MonteCarloRun::~MonteCarloRun() {
    watcher_.cancel();
    watcher_.waitForFinished();
}

void MonteCarloRun::Start(MonteCarloInputs inputs) {
    // A run just cancelled may still be fitting its last set.
    watcher_.cancel();
    watcher_.waitForFinished();
    watcher_.setFuture(
        QtConcurrent::run([inputs = std::move(inputs)](QPromise<MotionMonteCarlo>& promise) {
            promise.setProgressRange(0, inputs.sets);
            MotionMonteCarlo result =
                MonteCarloOfMotion(inputs.system, inputs.fitted, inputs.choice, inputs.rows,
                                   inputs.sets, inputs.seed, [&promise](int done) {
                                       promise.setProgressValue(done);
                                       return !promise.isCanceled();
                                   });
            promise.addResult(std::move(result));
        }));
}

void MonteCarloRun::Cancel() { watcher_.cancel(); }

}  // namespace veldorin
