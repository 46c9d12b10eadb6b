#pragma once

#include <QFont>

namespace veldorin {

// The window's text face: the platform's sans-serif user-interface font, bold, at the
// given point size. Every control takes its font from here.
QFont DesignFont(double points, bool italic = false);

inline constexpr double kNormalPoints = 8.25;
inline constexpr double kHeadingPoints = 9.75;

}  // namespace veldorin
