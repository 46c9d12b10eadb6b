// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <optional>
#include <variant>

#include "engine/constants.h"

namespace veldorin {

// Colours the design names by their desktop role rather than by value.
enum class SystemColour { CaptionText, HighlightText, ButtonShadow, Window, WindowFrame };

// A colour of the design: none (the toolkit's own), a fixed value, or a desktop role.
using Paint = std::variant<std::monostate, Rgb, SystemColour>;

QColor ToQColor(Rgb rgb);
// The same colour as a plain value, cheap to compare.
QRgb ToQRgb(Rgb rgb);
// The colour of a desktop role in the design's own palette, never the desktop theme's.
QColor ColourOf(SystemColour role);
std::optional<QColor> Resolve(const Paint& paint);

}  // namespace veldorin
