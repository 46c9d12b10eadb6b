// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/tool_window.h"

#include <QWidget>

namespace veldorin {

void ShowToolWindow(QWidget& tool, QPoint firstPlace) {
    if (!tool.isVisible() && tool.pos().isNull()) tool.move(firstPlace);
    tool.show();
    tool.raise();
    tool.activateWindow();
}

}  // namespace veldorin
