// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <functional>

#include "window/layout.h"
#include "window/window_state.h"

namespace veldorin {

class MeasurementsWindow;

// Joins the Measurements window to the model: its rows and the pair-frequency setting
// are kept in the state, each edit recalculates, and after every recalculation the
// rows are compared with the model the window shows.
class MeasurementsLink : public QObject {
    Q_OBJECT

public:
    // `motionChanged` shows a motion the fit changed in the Motion window.
    MeasurementsLink(MeasurementsWindow& window, const WindowControls& controls, WindowState& state,
                     std::function<void()> recalculate, std::function<void()> motionChanged);

    void Open();
    // Shows the state's rows and setting; after a model is opened.
    void Show();
    // Compares the rows with the model; after every recalculation. Nothing to do, and no
    // cost, without rows and with the window closed.
    void Compare();
    // The fit at every change, when it is asked for: before every recalculation, so that
    // the run shows the fitted motion.
    void FitIfLive();

private:
    bool HasOppositeSignPair() const;
    // Fits the state's motion and applies what the fit found to the motion, the
    // Lorentzian boxes and the Rex and CSA boxes; no recalculation.
    void Fit();
    void ShowFitChoice();

    MeasurementsWindow& window_;
    const WindowControls& controls_;
    WindowState& state_;
    std::function<void()> recalculate_;
    std::function<void()> motionChanged_;
};

}  // namespace veldorin
