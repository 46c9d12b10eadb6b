// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <variant>
#include <vector>

#include "engine/constants.h"

namespace veldorin {

// The drawing operations of the graph panel, in the panel's user scale (x from 0 at
// the left to the scale width, y from 0 at the top to the scale height). A run
// produces them in order; the window replays them on its retained image.
namespace draw {
// One command a line: the list reads as a table.
// clang-format off
struct RetainOn {};                    // drawing goes to the retained image
struct RetainOff {};                   // present what was drawn so far
struct Refresh {};                     // present the retained image again
struct Clear {};                       // erase to the panel's background
struct SetScale { float width, height; };
struct SetLineWidth { int pixels; };
struct SetColour { Rgb colour; };      // the foreground colour
struct Line { float x1, y1, x2, y2; };  // in the foreground colour
struct LineInColour { float x1, y1, x2, y2; Rgb colour; };  // foreground unchanged
struct SetAxisCaption { std::string text; };  // the caption under the panel
// clang-format on
}  // namespace draw

using DrawCommand = std::variant<draw::RetainOn, draw::RetainOff, draw::Refresh, draw::Clear,
                                 draw::SetScale, draw::SetLineWidth, draw::SetColour, draw::Line,
                                 draw::LineInColour, draw::SetAxisCaption>;

using DrawCommands = std::vector<DrawCommand>;

}  // namespace veldorin
