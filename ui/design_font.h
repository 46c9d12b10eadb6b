// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFont>

namespace veldorin {

// The window's text face: Liberation Sans (the platform's sans-serif where it is missing),
// bold, at the given point size. Every control takes its font from here.
QFont DesignFont(double points, bool italic = false);

inline constexpr double kNormalPoints = 8.25;
inline constexpr double kHeadingPoints = 9.75;

}  // namespace veldorin
