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
    MeasurementsLink(MeasurementsWindow& window, const WindowControls& controls, WindowState& state,
                     std::function<void()> recalculate);

    void Open();
    // Shows the state's rows and setting; after a model is opened.
    void Show();
    // Compares the rows with the model; after every recalculation. Nothing to do, and no
    // cost, without rows and with the window closed.
    void Compare();

private:
    bool HasOppositeSignPair() const;

    MeasurementsWindow& window_;
    const WindowControls& controls_;
    WindowState& state_;
    std::function<void()> recalculate_;
};

}  // namespace veldorin
