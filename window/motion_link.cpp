// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/motion_link.h"

#include <algorithm>

#include <QLineEdit>

#include "motion/motion_window.h"
#include "ui/tool_window.h"

namespace veldorin {

MotionLink::MotionLink(MotionWindow& window, const WindowControls& controls, WindowState& state,
                       std::function<void()> recalculate)
    : QObject(&window),
      window_(window),
      controls_(controls),
      state_(state),
      recalculate_(std::move(recalculate)) {
    connect(&window_, &MotionWindow::motionEdited, this, &MotionLink::Edited);
}

void MotionLink::Open() {
    Show();
    ShowToolWindow(window_, window_.parentWidget()->frameGeometry().topRight() + QPoint(8, 0));
}

void MotionLink::Show() {
    if (!state_.motion && !window_.isVisible()) return;  // nothing to show: no cost per key
    window_.ShowMotion(state_.motion, state_.motion && !BoxesHoldMotion());
}

void MotionLink::Edited(const MotionTexts& motion) {
    state_.motion = motion;
    // The fit frees only what the motion has: another kind's parameter moves nothing.
    const auto own = ParametersOf(motion.kind);
    std::erase_if(state_.fitChoice.free, [&own](MotionParameter parameter) {
        return std::ranges::find(own, parameter) == own.end();
    });
    const MotionReading reading = ReadMotion(motion);
    if (!reading.motion) return;
    const LorentzianTexts texts = TextsOf(ToLorentzians(*reading.motion));
    for (int row = 0; row < kLorentzianCount; ++row) {
        controls_.weightBoxes[row]->setText(QString::fromStdString(texts.weights[row]));
        controls_.timeBoxes[row]->setText(QString::fromStdString(texts.times[row]));
    }
    recalculate_();
}

bool MotionLink::BoxesHoldMotion() const {
    const MotionReading reading = ReadMotion(*state_.motion);
    if (!reading.motion) return false;
    const LorentzianTexts texts = TextsOf(ToLorentzians(*reading.motion));
    for (int row = 0; row < kLorentzianCount; ++row) {
        if (controls_.weightBoxes[row]->text().toStdString() != texts.weights[row] ||
            controls_.timeBoxes[row]->text().toStdString() != texts.times[row]) {
            return false;
        }
    }
    return true;
}

}  // namespace veldorin
