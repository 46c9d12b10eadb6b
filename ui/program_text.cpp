// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/program_text.h"

#include <QLineEdit>

namespace veldorin {

void ShowProgramText(QLineEdit& box, const QString& text) {
    if (box.text() == text) return;
    box.setText(text);
    if (!box.hasFocus()) box.setCursorPosition(0);
}

}  // namespace veldorin
