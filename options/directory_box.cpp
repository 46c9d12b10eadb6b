// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "options/directory_box.h"

namespace veldorin {

void DirectoryBox::mousePressEvent(QMouseEvent* event) {
    Q_EMIT pressed();
    QLineEdit::mousePressEvent(event);
}

}  // namespace veldorin
