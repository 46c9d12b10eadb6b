#pragma once

#include <QColor>
#include <optional>
#include <variant>

#include "constants.h"

class QPalette;

namespace veldorin {

// Colours the design names by their desktop role rather than by value.
enum class SystemColour { CaptionText, HighlightText, ButtonShadow, Window, WindowFrame };

// A colour of the design: none (the toolkit's own), a fixed value, or a desktop role.
using Paint = std::variant<std::monostate, Rgb, SystemColour>;

QColor ToQColor(Rgb rgb);
// The desktop's colour for a role, taken from the given palette.
QColor ColourOf(SystemColour role, const QPalette& palette);
std::optional<QColor> Resolve(const Paint& paint, const QPalette& palette);

}  // namespace veldorin
