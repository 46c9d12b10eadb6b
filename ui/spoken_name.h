// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QString;
class QWidget;

namespace veldorin {

// The name a screen reader gives a control. A drop-down list hands it on to the parts
// that hold the keyboard in its place: its line edit and its pop-up list.
void SetSpokenName(QWidget& control, const QString& name);

}  // namespace veldorin
