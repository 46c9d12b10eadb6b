// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QLineEdit;
class QString;

namespace veldorin {

// Puts a text the program made, not one the user typed, into a box. A box that already
// shows it is left alone, so that its cursor stays where the user left it. Otherwise a
// narrow box shows the text's beginning, where a number's leading digits are, unless the
// user is in it: setText would leave the cursor at the end and the box scrolled there.
void ShowProgramText(QLineEdit& box, const QString& text);

}  // namespace veldorin
