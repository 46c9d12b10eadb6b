// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/colours.h"

#include "ui/design_palette.h"

namespace veldorin {

QColor ToQColor(Rgb rgb) { return {rgb.red, rgb.green, rgb.blue}; }

QRgb ToQRgb(Rgb rgb) { return qRgb(rgb.red, rgb.green, rgb.blue); }

QColor ColourOf(SystemColour role) {
    static const QPalette palette = DesignPalette();
    switch (role) {
        // The toolkit has no title-bar text role; its bright text is the usual white.
        case SystemColour::CaptionText: return palette.color(QPalette::BrightText);
        case SystemColour::HighlightText: return palette.color(QPalette::HighlightedText);
        case SystemColour::ButtonShadow: return palette.color(QPalette::Dark);
        case SystemColour::Window: return palette.color(QPalette::Base);
        case SystemColour::WindowFrame: return palette.color(QPalette::WindowText);
    }
    return palette.color(QPalette::WindowText);
}

std::optional<QColor> Resolve(const Paint& paint) {
    if (const auto* rgb = std::get_if<Rgb>(&paint)) return ToQColor(*rgb);
    if (const auto* role = std::get_if<SystemColour>(&paint)) return ColourOf(*role);
    return std::nullopt;
}

}  // namespace veldorin
