// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "spins/spin_editors.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "spins/nucleus_menu.h"
#include "spins/spin_diagram.h"
#include "ui/entry_rules.h"
#include "ui/event_hooks.h"

namespace veldorin {

SpinEditors::SpinEditors(const Controls& controls, Actions actions, EventHooks& hooks)
    : QObject(&controls.diagram),
      diagram_(controls.diagram),
      nucleusMenu_(std::make_unique<NucleusMenu>(controls.nucleusMenu)),
      distanceEditor_(controls.distanceEditor),
      abundanceEditor_(controls.abundanceEditor),
      actions_(std::move(actions)) {
    // The abundance editor takes the keys only after a click into it: neither Tab nor the
    // distance editor closing under the focus may hand it the keyboard.
    abundanceEditor_.setFocusPolicy(Qt::ClickFocus);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        hooks.OnPress(diagram_.nucleusBox(slot), [this, slot] { OpenNucleusMenu(slot); });
    }
    for (int slot = 0; slot < kNeighbourCount; ++slot) {
        hooks.OnClick(diagram_.distanceLabel(slot), [this, slot] { EditDistance(slot); });
        hooks.OnClick(diagram_.abundanceLabel(slot), [this, slot] { EditAbundance(slot); });
    }
    connect(&controls.nucleusMenu, &QComboBox::activated, this, &SpinEditors::ChooseNucleus);
    hooks.OnKeyRelease(&distanceEditor_, [this] { CommitDistance(); });
    hooks.OnKeyRelease(&abundanceEditor_, [this] { CommitAbundance(); });
}

SpinEditors::~SpinEditors() = default;

void SpinEditors::OpenNucleusMenu(int slot) {
    QLineEdit* box = diagram_.nucleusBox(slot);
    nucleusMenu_->OpenOver(*box, slot, box->text());
    distanceEditor_.hide();
    abundanceEditor_.hide();
    editedSlot_ = static_cast<std::uint8_t>(slot);
    actions_.showNeighbours();
}

void SpinEditors::ChooseNucleus(int item) {
    diagram_.SetNucleus(editedSlot_, nucleusMenu_->list().itemText(item));
    actions_.showNeighbours();
    actions_.recalculate();
    nucleusMenu_->Hide();
}

void SpinEditors::EditDistance(int slot) {
    editedSlot_ = static_cast<std::uint8_t>(slot);
    QLabel* label = diagram_.distanceLabel(slot);
    OpenEditorOver(distanceEditor_, *label, SpokenDistance(slot));
    distanceEditor_.setFocus(Qt::MouseFocusReason);
    nucleusMenu_->Hide();
    abundanceEditor_.hide();
    distanceEditor_.setText(label->text());
    actions_.showNeighbours();
}

void SpinEditors::EditAbundance(int slot) {
    editedSlot_ = static_cast<std::uint8_t>(slot);
    QLabel* label = diagram_.abundanceLabel(slot);
    OpenEditorOver(abundanceEditor_, *label, SpokenAbundance(slot));
    nucleusMenu_->Hide();
    distanceEditor_.hide();
    abundanceEditor_.setText(label->text());
    actions_.showNeighbours();
}

void SpinEditors::OpenEditorOver(QLineEdit& editor, const QWidget& label, const QString& name) {
    editor.move(editor.parentWidget()->mapFromGlobal(label.mapToGlobal(QPoint(0, 0))));
    editor.setAccessibleName(name);
    editor.show();
}

void SpinEditors::CommitDistance() {
    Enforce(kDistanceRule, distanceEditor_);
    // The central slot has no distance label: after its menu, a commit sets no label.
    if (editedSlot_ < kCentralSlot) {
        diagram_.distanceLabel(editedSlot_)->setText(distanceEditor_.text());
    }
    actions_.recalculate();
}

void SpinEditors::CommitAbundance() {
    Enforce(kAbundanceRule, abundanceEditor_);
    diagram_.abundanceLabel(editedSlot_)->setText(abundanceEditor_.text());
    actions_.recalculate();
}

}  // namespace veldorin
