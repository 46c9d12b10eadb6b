// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPalette>

namespace veldorin {

// The window's colours are part of its design, so it looks the same on every desktop:
// a light palette with every role set, whatever the desktop theme offers (a dark theme
// would otherwise put white text on the design's white and pink boxes). Every control
// starts from it and sets the design's own colours on top.
QPalette DesignPalette();

}  // namespace veldorin
