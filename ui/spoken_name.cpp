// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/spoken_name.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>

namespace veldorin {

void SetSpokenName(QWidget& control, const QString& name) {
    control.setAccessibleName(name);
    auto* list = qobject_cast<QComboBox*>(&control);
    if (list == nullptr) return;
    list->view()->setAccessibleName(name);
    if (list->lineEdit() != nullptr) list->lineEdit()->setAccessibleName(name);
}

}  // namespace veldorin
