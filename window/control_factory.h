// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>

#include "ui/twips.h"
#include "window/layout.h"

namespace veldorin {

// Creates one control of the design under its parent: the widget of its kind, at its
// place, with its start content, font, colours, visibility, enabled state and the name
// and description a screen reader gives it.
QWidget* MakeControl(const ControlSpec& entry, const TwipScale& scale, QWidget* parent);

}  // namespace veldorin
