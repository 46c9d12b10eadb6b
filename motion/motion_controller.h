// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <functional>

#include "document/model_document.h"

namespace veldorin {

class MotionWindow;

// Shows the document's motion in the Motion window and puts the window's edits into the
// document, where a usable motion sets the weights and times. Whether they still follow
// the motion is derived from the document each time, never kept: a box edited by hand
// shows at once.
class MotionController : public QObject {
    Q_OBJECT

public:
    // `motionSet` runs after every edit of the motion (what the fit frees may have
    // changed); `lorentziansSet` after an edit that set the weights and times.
    MotionController(MotionWindow& window, ModelDocument& document, std::function<void()> motionSet,
                     std::function<void()> lorentziansSet);

    // Shows the document's motion and whether the weights and times hold it; after a model
    // is opened or fitted and after the Lorentzian boxes were typed in.
    void Show();
    void Open();

private:
    void Edited(const MotionTexts& motion);

    MotionWindow& window_;
    ModelDocument& document_;
    std::function<void()> motionSet_;
    std::function<void()> lorentziansSet_;
};

}  // namespace veldorin
