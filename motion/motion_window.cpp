// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "motion/motion_window.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/program_text.h"
#include "ui/spoken_name.h"
#include "ui/utf8_text.h"

namespace veldorin {
namespace {

bool Lists(MotionKind kind, MotionParameter parameter) {
    const auto listed = ParametersOf(kind);
    return std::find(listed.begin(), listed.end(), parameter) != listed.end();
}

}  // namespace

MotionTexts DefaultMotionTexts(MotionKind kind) {
    MotionTexts texts;
    texts.kind = kind;
    const std::pair<MotionParameter, const char*> values[] = {
        {MotionParameter::TauM, "5"},           {MotionParameter::S2, "0.85"},
        {MotionParameter::TauE, "50"},          {MotionParameter::S2Fast, "0.9"},
        {MotionParameter::S2Slow, "0.9"},       {MotionParameter::TauS, "1"},
        {MotionParameter::TauF, "0"},           {MotionParameter::DParallel, "4"},
        {MotionParameter::DPerpendicular, "3"}, {MotionParameter::DiffusionRatio, "1.5"},
        {MotionParameter::Theta, "20"},
    };
    for (const auto& [parameter, value] : values) texts[parameter] = value;
    return texts;
}

MotionWindow::MotionWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool), kinds_(new QComboBox(this)), status_(new QLabel(this)) {
    setWindowTitle(QStringLiteral("Motion"));
    setObjectName(QStringLiteral("motionWindow"));
    kinds_->setObjectName(QStringLiteral("motionKind"));
    SetSpokenName(*kinds_, QStringLiteral("Motion model"));
    for (int kind = 0; kind < kMotionKindCount; ++kind) {
        kinds_->addItem(TextOf(NameOf(static_cast<MotionKind>(kind))));
    }
    auto* grid = new QGridLayout;
    for (int p = 0; p < kMotionParameterCount; ++p) {
        const MotionParameterInfo info = InfoOf(static_cast<MotionParameter>(p));
        const QString name = TextOf(info.label);
        const QString unit = TextOf(info.unit);
        labels_[p] = new QLabel(unit.isEmpty() ? name : name + QStringLiteral(" (") + unit + ')');
        boxes_[p] = new QLineEdit;
        boxes_[p]->setObjectName(QStringLiteral("motion_") + TextOf(info.key));
        boxes_[p]->setAccessibleName(unit.isEmpty() ? name : name + QStringLiteral(", ") + unit);
        problems_[p] = new QLabel;
        problems_[p]->setAccessibleName(name + QStringLiteral(": problem"));
        problems_[p]->setStyleSheet(QStringLiteral("color: #b00000"));
        // A message beside a box wraps rather than squeezing the box to a few digits.
        problems_[p]->setWordWrap(true);
        boxes_[p]->setMinimumWidth(
            boxes_[p]->fontMetrics().horizontalAdvance(QStringLiteral("0.000000000")));
        labels_[p]->setBuddy(boxes_[p]);
        grid->addWidget(labels_[p], p, 0);
        grid->addWidget(boxes_[p], p, 1);
        grid->addWidget(problems_[p], p, 2);
        connect(boxes_[p], &QLineEdit::textEdited, this, &MotionWindow::Edited);
    }
    status_->setWordWrap(true);
    status_->setAccessibleName(QStringLiteral("Motion status"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(kinds_);
    layout->addLayout(grid);
    layout->addWidget(status_);
    layout->addStretch();
    connect(kinds_, &QComboBox::activated, this,
            [this](int index) { ChooseKind(static_cast<MotionKind>(index)); });
    ShowMotion(std::nullopt, false);
}

QLineEdit* MotionWindow::parameterBox(MotionParameter parameter) const {
    return boxes_[static_cast<std::size_t>(parameter)];
}

void MotionWindow::ShowMotion(const std::optional<MotionTexts>& motion, bool editedByHand) {
    const MotionTexts texts = motion.value_or(DefaultMotionTexts(MotionKind::Rigid));
    editedByHand_ = editedByHand;
    const QSignalBlocker blocker(kinds_);
    kinds_->setCurrentIndex(static_cast<int>(texts.kind));
    for (int p = 0; p < kMotionParameterCount; ++p) {
        const QString text = QString::fromStdString(texts.texts[p]);
        ShowProgramText(*boxes_[p], text);
    }
    ShowKind(texts.kind);
    if (!motion) {
        ShowSpokenText(*status_,
                       QStringLiteral("No motion in use: the Lorentzian boxes are as typed. "
                                      "Edit a parameter to set them from a motion."));
    }
}

void MotionWindow::ChooseKind(MotionKind kind) {
    // What the boxes of the kind left held is no part of the new one: a file keeps only
    // its kind's texts, and another kind's boxes may hold an older motion's.
    const MotionTexts defaults = DefaultMotionTexts(kind);
    for (const MotionParameter parameter : ParametersOf(kind)) {
        if (!Lists(shownKind_, parameter)) {
            ShowProgramText(*parameterBox(parameter), QString::fromStdString(defaults[parameter]));
        }
    }
    ShowKind(kind);
    Edited();
}

void MotionWindow::ShowKind(MotionKind kind) {
    shownKind_ = kind;
    for (int p = 0; p < kMotionParameterCount; ++p) {
        const bool listed = Lists(kind, static_cast<MotionParameter>(p));
        labels_[p]->setVisible(listed);
        boxes_[p]->setVisible(listed);
        problems_[p]->setVisible(listed);
    }
    ShowProblems();
}

void MotionWindow::ShowProblems() {
    const MotionReading reading = ReadMotion(Texts());
    std::array<QString, kMotionParameterCount> reasons;
    for (const MotionProblem& problem : reading.problems) {
        reasons[static_cast<std::size_t>(problem.parameter)] =
            QString::fromStdString(problem.reason);
    }
    for (int p = 0; p < kMotionParameterCount; ++p) ShowSpokenText(*problems_[p], reasons[p]);
    if (!reading.motion) {
        ShowSpokenText(*status_, QStringLiteral("The Lorentzians keep their values until the "
                                                "motion can be used."));
    } else if (editedByHand_) {
        ShowSpokenText(*status_,
                       QStringLiteral("Edited by hand: the Lorentzian boxes no longer follow "
                                      "this motion. Edit a parameter to set them again."));
    } else {
        ShowSpokenText(*status_, QStringLiteral("The Lorentzian boxes hold this motion."));
    }
}

MotionTexts MotionWindow::Texts() const {
    MotionTexts texts;
    texts.kind = static_cast<MotionKind>(std::max(0, kinds_->currentIndex()));
    for (int p = 0; p < kMotionParameterCount; ++p)
        texts.texts[p] = boxes_[p]->text().toStdString();
    return texts;
}

void MotionWindow::Edited() {
    editedByHand_ = false;
    ShowProblems();
    Q_EMIT motionEdited(Texts());
}

}  // namespace veldorin
