// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>
#include <optional>
#include <vector>

#include "fit/motion_fit.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace veldorin {

// The fit of the motion to the measurements: a check box per parameter of the motion
// (free or fixed), Rex and the CSA, a fit on request or at every change, and the result
// with its errors, chi2, reduced chi2, degrees of freedom and AICc.
class FitPanel : public QWidget {
    Q_OBJECT

public:
    explicit FitPanel(QWidget* parent);

    // The motion's kind (nothing without a motion), what is freed and whether the fit
    // follows every change.
    void ShowChoice(std::optional<MotionKind> kind, const MotionFitChoice& choice, bool live);
    // The result of a fit that freed `choice`: a parameter at its bound or one the data
    // do not determine is named so, and a fit without degrees of freedom says it.
    void ShowResult(const MotionFitResult& result, const MotionFitChoice& choice);

    QCheckBox* freeBox(MotionParameter parameter) const;
    QCheckBox* rexBox() const { return rex_; }
    QCheckBox* liveBox() const { return live_; }
    QPushButton* fitButton() const { return fit_; }
    QLabel* resultLabel() const { return result_; }

Q_SIGNALS:
    void choiceChanged(const MotionFitChoice& choice, bool live);
    void fitRequested();

private:
    MotionFitChoice Choice() const;

    std::optional<MotionKind> kind_;
    std::vector<QCheckBox*> parameters_;  // by MotionParameter
    QCheckBox* rex_;
    QCheckBox* csa_;
    QCheckBox* live_;
    QPushButton* fit_;
    QLabel* result_;
    bool fitted_ = false;  // a result is shown
};

}  // namespace veldorin
