// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <functional>

#include "window/layout.h"
#include "window/window_state.h"

namespace veldorin {

class MotionWindow;

// Joins the Motion window to the Lorentzian boxes: an edited motion is kept in the state
// and, when it can be used, written into the boxes as the shortest texts of its
// Lorentzians, then the window recalculates once. Whether the boxes still follow the
// motion is derived from their texts, never kept: a box edited by hand shows at once.
class MotionLink : public QObject {
    Q_OBJECT

public:
    MotionLink(MotionWindow& window, const WindowControls& controls, WindowState& state,
               std::function<void()> recalculate);

    // Shows the state's motion and whether the boxes hold it; after a model is opened and
    // after the Lorentzian boxes were typed in.
    void Show();
    void Open();

private:
    void Edited(const MotionTexts& motion);
    bool BoxesHoldMotion() const;

    MotionWindow& window_;
    const WindowControls& controls_;
    WindowState& state_;
    std::function<void()> recalculate_;
};

}  // namespace veldorin
