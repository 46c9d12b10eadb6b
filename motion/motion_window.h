// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>
#include <array>
#include <optional>

#include "engine/motion.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace veldorin {

// A tool window beside the main one that describes the motion in physical terms: a
// kind (rigid, model-free, extended model-free, axially symmetric diffusion) and its
// parameters with their units. Every edit reports the motion's texts; a parameter the
// motion cannot take is named beside its box. A kind chosen starts the parameters it does
// not share with the kind before from their defaults. It shows what it is told and keeps
// nothing else.
class MotionWindow : public QWidget {
    Q_OBJECT

public:
    explicit MotionWindow(QWidget* parent);

    // Shows the motion (or the default of the first kind, when there is none) and whether
    // the Lorentzian boxes still follow it or were edited by hand since.
    void ShowMotion(const std::optional<MotionTexts>& motion, bool editedByHand);

    QComboBox* kindList() const { return kinds_; }
    QLineEdit* parameterBox(MotionParameter parameter) const;

Q_SIGNALS:
    // The user changed the kind or a parameter: the texts as they now stand.
    void motionEdited(const MotionTexts& motion);

private:
    void ChooseKind(MotionKind kind);
    void ShowKind(MotionKind kind);
    void ShowProblems();
    MotionTexts Texts() const;
    void Edited();

    QComboBox* kinds_;
    std::array<QLabel*, kMotionParameterCount> labels_{};
    std::array<QLineEdit*, kMotionParameterCount> boxes_{};
    std::array<QLabel*, kMotionParameterCount> problems_{};
    QLabel* status_;
    MotionKind shownKind_ = MotionKind::Rigid;  // whose boxes are shown
    bool editedByHand_ = false;
};

// The parameters' texts a new motion starts from: a protein of about 10 kDa.
MotionTexts DefaultMotionTexts(MotionKind kind);

}  // namespace veldorin
