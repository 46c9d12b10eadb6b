// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPoint>

class QWidget;

namespace veldorin {

// Shows a tool window and brings it forward: the first time at `firstPlace` (beside the
// main window rather than over it), moved and made smaller as far as it must be to lie on
// the screen; later where the user left it.
void ShowToolWindow(QWidget& tool, QPoint firstPlace);

}  // namespace veldorin
