// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QTimer>
#include <cstdint>
#include <memory>

#include "fit/protein_fit.h"

namespace veldorin {

// Fits a protein on a worker thread and says how far it got, a few times a second, so that
// the window answers input throughout. A cancelled or destroyed run stops within the
// residue or synthetic set it is fitting; only the latest run started and not cancelled
// reports its result.
class ProteinFitRun : public QObject {
    Q_OBJECT

public:
    explicit ProteinFitRun(QObject* parent);
    ~ProteinFitRun() override;

    // The data and options are copied: the run owns what it reads. A run still going is
    // stopped first. `residue` is what the result is for: the protein (-1) or one residue.
    void Start(ProteinData data, ProteinFitOptions options, int residue = -1);
    void Cancel();
    bool IsRunning() const { return watcher_.isRunning(); }

Q_SIGNALS:
    // "Selecting models, round 2: 140 of 280 residues", and the share done (0 to 1).
    void progressed(const QString& stage, double share);
    void finished(const ProteinFit& fit, int residue);

private:
    struct Numbered {
        std::uint64_t run = 0;
        int residue = -1;
        ProteinFit fit;
    };

    void ShowProgress();

    // The fit's own thread, which runs below the window's priority (its fits' threads
    // inherit it), so that the window answers at once however busy the cores are.
    QThreadPool pool_;
    QFutureWatcher<Numbered> watcher_;
    QTimer poll_;
    std::shared_ptr<ProteinFitProgress> progress_;
    std::uint64_t latest_ = 0;
};

// What a progress says: the stage, the round and the steps done.
QString StageText(const ProteinFitProgress& progress);

}  // namespace veldorin
