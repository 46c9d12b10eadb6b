// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "spins/spin_editors.h"

#include <QComboBox>
#include <QEvent>
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
    // The abundance editor takes the keys after a click into it, or when the keyboard
    // opened it: neither Tab nor the distance editor closing under the focus may hand it
    // the keyboard.
    abundanceEditor_.setFocusPolicy(Qt::ClickFocus);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        QWidget* box = diagram_.nucleusBox(slot);
        hooks.OnPress(box, [this, slot] { OpenNucleusMenu(slot); });
        hooks.OnActivationKey(box, [this, slot] { OpenNucleusListByKey(slot); });
    }
    for (int slot = 0; slot < kNeighbourCount; ++slot) {
        QWidget* distance = diagram_.distanceLabel(slot);
        QWidget* abundance = diagram_.abundanceLabel(slot);
        hooks.OnClick(distance, [this, slot] { EditDistance(slot); });
        hooks.OnClick(abundance, [this, slot] { EditAbundance(slot); });
        hooks.OnActivationKey(distance, [this, slot] { EditDistanceByKey(slot); });
        hooks.OnActivationKey(abundance, [this, slot] { EditAbundanceByKey(slot); });
    }
    connect(&controls.nucleusMenu, &QComboBox::activated, this, &SpinEditors::ChooseNucleus);
    hooks.OnKeyRelease(&distanceEditor_, [this] { CommitDistance(); });
    hooks.OnKeyRelease(&abundanceEditor_, [this] { CommitAbundance(); });
    // The central slot has no distance label, and its abundance is not offered.
    connect(&distanceEditor_, &QLineEdit::returnPressed, this, [this] {
        if (editedSlot_ < kCentralSlot) {
            CloseEditor(distanceEditor_, *diagram_.distanceLabel(editedSlot_));
        }
    });
    connect(&abundanceEditor_, &QLineEdit::returnPressed, this, [this] {
        if (editedSlot_ < kCentralSlot) {
            CloseEditor(abundanceEditor_, *diagram_.abundanceLabel(editedSlot_));
        }
    });
    for (QWidget* editor :
         {static_cast<QWidget*>(&controls.nucleusMenu), static_cast<QWidget*>(&distanceEditor_),
          static_cast<QWidget*>(&abundanceEditor_)}) {
        editor->installEventFilter(this);
    }
}

SpinEditors::~SpinEditors() = default;

void SpinEditors::OpenNucleusMenu(int slot) {
    keyboardOrigin_ = nullptr;
    QLineEdit* box = diagram_.nucleusBox(slot);
    nucleusMenu_->OpenOver(*box, slot, box->text());
    distanceEditor_.hide();
    abundanceEditor_.hide();
    editedSlot_ = static_cast<std::uint8_t>(slot);
    actions_.showNeighbours();
}

void SpinEditors::OpenNucleusListByKey(int slot) {
    OpenNucleusMenu(slot);
    keyboardOrigin_ = diagram_.nucleusBox(slot);
    nucleusMenu_->OpenList();
}

void SpinEditors::ChooseNucleus(int item) {
    diagram_.SetNucleus(editedSlot_, nucleusMenu_->list().itemText(item));
    actions_.showNeighbours();
    actions_.recalculate();
    nucleusMenu_->Hide();
}

void SpinEditors::EditDistance(int slot) {
    keyboardOrigin_ = nullptr;
    editedSlot_ = static_cast<std::uint8_t>(slot);
    OpenEditorOver(distanceEditor_, *diagram_.distanceLabel(slot), SpokenDistance(slot));
    distanceEditor_.setFocus(Qt::MouseFocusReason);
    nucleusMenu_->Hide();
    abundanceEditor_.hide();
    actions_.showNeighbours();
}

void SpinEditors::EditAbundance(int slot) {
    keyboardOrigin_ = nullptr;
    editedSlot_ = static_cast<std::uint8_t>(slot);
    OpenEditorOver(abundanceEditor_, *diagram_.abundanceLabel(slot), SpokenAbundance(slot));
    nucleusMenu_->Hide();
    distanceEditor_.hide();
    actions_.showNeighbours();
}

void SpinEditors::EditDistanceByKey(int slot) {
    EditDistance(slot);
    keyboardOrigin_ = diagram_.distanceLabel(slot);
}

void SpinEditors::EditAbundanceByKey(int slot) {
    EditAbundance(slot);
    keyboardOrigin_ = diagram_.abundanceLabel(slot);
    abundanceEditor_.setFocus(Qt::OtherFocusReason);
}

void SpinEditors::OpenEditorOver(QLineEdit& editor, const QLabel& label, const QString& name) {
    editor.move(editor.parentWidget()->mapFromGlobal(label.mapToGlobal(QPoint(0, 0))));
    editor.setAccessibleName(name);
    editor.setText(label.text());
    editor.selectAll();
    editor.show();
}

void SpinEditors::CloseEditor(QLineEdit& editor, QLabel& label) {
    keyboardOrigin_ = &label;
    editor.hide();
}

// An editor or the menu that closes with the keyboard in it, however it closes (a
// choice, Enter, Esc), hands the keyboard back to where the keyboard opened it. A window
// that closes takes its editors with it and leaves the keyboard alone.
bool SpinEditors::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Hide || event->spontaneous() || !keyboardOrigin_ ||
        !keyboardOrigin_->isVisible()) {
        return false;
    }
    const auto* editor = static_cast<const QWidget*>(watched);
    // The window's own focus: a pop-up list that just closed may not have handed the
    // application's back yet.
    const QWidget* focus = editor->window()->focusWidget();
    if (focus && (focus == editor || editor->isAncestorOf(focus))) {
        keyboardOrigin_->setFocus(Qt::OtherFocusReason);
        keyboardOrigin_ = nullptr;
    }
    return false;
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
