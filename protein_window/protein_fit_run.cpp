// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "protein_window/protein_fit_run.h"

#include <sys/resource.h>
#include <unistd.h>

#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>

namespace veldorin {

namespace {

// Often enough to look alive, seldom enough to cost nothing.
constexpr int kPollMilliseconds = 100;

// The nice value of the fit's threads: the window comes first.
constexpr int kFitNiceness = 10;

// Lowers the calling thread's priority, and so that of the threads it starts; a thread of
// the fit's own pool, so that nothing else runs lowered.
void RunBelowTheWindow() { setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kFitNiceness); }

}  // namespace

QString StageText(const ProteinFitProgress& progress) {
    const int done = progress.done;
    const int steps = progress.steps;
    const QString of = QStringLiteral("%1 of %2").arg(std::min(done, steps)).arg(steps);
    switch (progress.stage.load()) {
        case ProteinFitProgress::Stage::LocalTm:
            return QStringLiteral("Each residue's own τm, for a start: %1 residues").arg(of);
        case ProteinFitProgress::Stage::Selecting:
            return progress.round > 0
                       ? QStringLiteral("Selecting models, round %1: %2 residues")
                             .arg(progress.round.load())
                             .arg(of)
                       : QStringLiteral("Fitting and selecting models: %1 residues").arg(of);
        case ProteinFitProgress::Stage::Tm:
            return QStringLiteral("Fitting the protein's τm, round %1").arg(progress.round.load());
        case ProteinFitProgress::Stage::MonteCarlo:
            return QStringLiteral("Monte Carlo errors: %1 sets").arg(of);
        case ProteinFitProgress::Stage::TmError: return QStringLiteral("The error of τm");
        case ProteinFitProgress::Stage::Tensor:
            return QStringLiteral("Fitting the diffusion tensor, round %1")
                .arg(progress.round.load());
    }
    return {};
}

ProteinFitRun::ProteinFitRun(QObject* parent) : QObject(parent) {
    pool_.setMaxThreadCount(1);
    poll_.setInterval(kPollMilliseconds);
    connect(&poll_, &QTimer::timeout, this, &ProteinFitRun::ShowProgress);
    connect(&watcher_, &QFutureWatcher<Numbered>::finished, this, [this] {
        poll_.stop();
        if (watcher_.isCanceled() || watcher_.future().resultCount() == 0) return;
        const Numbered numbered = watcher_.result();
        if (numbered.run == latest_ && !numbered.fit.stopped) {
            Q_EMIT finished(numbered.fit, numbered.residue);
        }
    });
}

ProteinFitRun::~ProteinFitRun() {
    Cancel();
    watcher_.waitForFinished();
}

void ProteinFitRun::Start(ProteinData data, ProteinFitOptions options, int residue) {
    Cancel();
    watcher_.waitForFinished();
    const std::uint64_t run = ++latest_;
    progress_ = std::make_shared<ProteinFitProgress>();
    options.progress = progress_.get();
    watcher_.setFuture(QtConcurrent::run(
        &pool_,
        [run, residue, progress = progress_, data = std::move(data), options = std::move(options)] {
            RunBelowTheWindow();
            return Numbered{run, residue, FitProtein(data, options)};
        }));
    poll_.start();
}

void ProteinFitRun::Cancel() {
    ++latest_;
    poll_.stop();
    if (progress_) progress_->stop = true;
}

void ProteinFitRun::ShowProgress() {
    if (!progress_) return;
    const int steps = progress_->steps;
    const double share =
        steps > 0 ? std::clamp(static_cast<double>(progress_->done) / steps, 0.0, 1.0) : 0.0;
    Q_EMIT progressed(StageText(*progress_), share);
}

}  // namespace veldorin
