// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>
#include <cstdint>

#include "fit/motion_fit.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;

namespace veldorin {

// Monte Carlo errors of the fit on request: the number of synthetic sets and the seed,
// a progress bar and Cancel while it runs, then per freed parameter the standard
// deviation and the 2.5 and 97.5 percentiles.
class MonteCarloPanel : public QWidget {
    Q_OBJECT

public:
    explicit MonteCarloPanel(QWidget* parent);

    void ShowRunning(int sets);
    void ShowProgress(int done);
    void ShowResult(const MotionFitResult& fitted, const MotionFitChoice& choice,
                    const MotionMonteCarlo& spread);
    // The run did not finish, or could not start, and why.
    void ShowStopped(const QString& why);

    QSpinBox* setsBox() const { return sets_; }
    QSpinBox* seedBox() const { return seed_; }
    QPushButton* runButton() const { return run_; }
    QPushButton* cancelButton() const { return cancel_; }
    QProgressBar* progressBar() const { return progress_; }
    QLabel* resultLabel() const { return result_; }

Q_SIGNALS:
    void runRequested(int sets, std::uint64_t seed);
    void cancelRequested();

private:
    void ShowIdle();

    QSpinBox* sets_;
    QSpinBox* seed_;
    QPushButton* run_;
    QPushButton* cancel_;
    QProgressBar* progress_;
    QLabel* result_;
};

}  // namespace veldorin
