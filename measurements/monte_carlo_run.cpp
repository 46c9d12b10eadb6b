// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "measurements/monte_carlo_run.h"

#include <QPromise>
#include <QtConcurrent/QtConcurrentRun>

namespace veldorin {

MonteCarloRun::MonteCarloRun(QObject* parent) : QObject(parent) {
    connect(&watcher_, &QFutureWatcher<Numbered>::progressValueChanged, this,
            &MonteCarloRun::progressed);
    connect(&watcher_, &QFutureWatcher<Numbered>::finished, this, [this] {
        if (watcher_.isCanceled() || watcher_.future().resultCount() == 0) return;
        const Numbered numbered = watcher_.result();
        if (numbered.run == latest_) Q_EMIT finished(numbered.result);
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
    const std::uint64_t run = ++latest_;
    watcher_.setFuture(
        QtConcurrent::run([run, inputs = std::move(inputs)](QPromise<Numbered>& promise) {
            promise.setProgressRange(0, inputs.sets);
            MotionMonteCarlo result =
                MonteCarloOfMotion(inputs.system, inputs.fitted, inputs.choice, inputs.rows,
                                   inputs.sets, inputs.seed, [&promise](int done) {
                                       promise.setProgressValue(done);
                                       return !promise.isCanceled();
                                   });
            promise.addResult(Numbered{run, std::move(result)});
        }));
}

void MonteCarloRun::Cancel() {
    ++latest_;
    watcher_.cancel();
}

}  // namespace veldorin
