// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "motion/motion_controller.h"

#include "motion/motion_window.h"
#include "ui/tool_window.h"

namespace veldorin {

MotionController::MotionController(MotionWindow& window, ModelDocument& document,
                                   std::function<void()> motionSet,
                                   std::function<void()> lorentziansSet)
    : QObject(&window),
      window_(window),
      document_(document),
      motionSet_(std::move(motionSet)),
      lorentziansSet_(std::move(lorentziansSet)) {
    connect(&window_, &MotionWindow::motionEdited, this, &MotionController::Edited);
}

void MotionController::Open() {
    Show();
    ShowToolWindow(window_, window_.parentWidget()->frameGeometry().topRight() + QPoint(8, 0));
}

void MotionController::Show() {
    if (!document_.motion && !window_.isVisible()) return;  // nothing to show: no cost per key
    window_.ShowMotion(document_.motion, document_.motion && !document_.LorentziansHoldMotion());
}

void MotionController::Edited(const MotionTexts& motion) {
    const bool lorentziansSet = document_.SetMotion(motion);
    motionSet_();
    if (lorentziansSet) lorentziansSet_();
}

}  // namespace veldorin
