// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "graph_panel/picture_recording.h"

#include "ui/colours.h"

namespace veldorin {

void PictureState::Apply(const DrawCommand& command) {
    if (const auto* scale = std::get_if<draw::SetScale>(&command)) {
        userScale = QSizeF(scale->width, scale->height);
    } else if (const auto* width = std::get_if<draw::SetLineWidth>(&command)) {
        lineWidth = width->pixels;
    } else if (const auto* colour = std::get_if<draw::SetColour>(&command)) {
        foreground = ToQRgb(colour->colour);
    }
}

namespace {

// Retaining, presenting and the axis caption leave the picture as it is.
bool ChangesPicture(const DrawCommand& command) {
    return !std::holds_alternative<draw::RetainOn>(command) &&
           !std::holds_alternative<draw::RetainOff>(command) &&
           !std::holds_alternative<draw::Refresh>(command) &&
           !std::holds_alternative<draw::SetAxisCaption>(command);
}

}  // namespace

void PictureRecording::Append(const DrawCommands& commands, PictureState state) {
    for (const DrawCommand& command : commands) {
        if (std::holds_alternative<draw::Clear>(command)) {
            start_ = state;
            commands_.clear();
        }
        if (ChangesPicture(command)) commands_.push_back(command);
        state.Apply(command);
    }
}

}  // namespace veldorin
