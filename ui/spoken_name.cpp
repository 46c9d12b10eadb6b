// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/spoken_name.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "ui/spoken_interfaces.h"

namespace veldorin {

void SetSpokenName(QWidget& control, const QString& name) {
    control.setAccessibleName(name);
    auto* list = qobject_cast<QComboBox*>(&control);
    if (list == nullptr) return;
    list->view()->setAccessibleName(name);
    if (list->lineEdit() != nullptr) list->lineEdit()->setAccessibleName(name);
}

void ShowSpokenText(QLabel& label, const QString& text) {
    // Unchanged, a screen reader is not told again.
    if (label.text() == text && label.accessibleDescription() == text) return;
    label.setText(text);
    // Qt tells a screen reader of the new description itself.
    label.setAccessibleDescription(text);
}

void SpeakAsOne(const std::vector<QWidget*>& parts, const QString& name) {
    new SpokenWhole(name, parts, *parts.front()->parentWidget());
}

}  // namespace veldorin
