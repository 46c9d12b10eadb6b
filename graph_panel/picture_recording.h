// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QSizeF>

#include "graph/draw_command.h"

namespace veldorin {

// What the drawing commands set and later ones draw with.
struct PictureState {
    QSizeF userScale;  // empty until a command sets it
    int lineWidth = 1;
    QRgb foreground = qRgb(0, 0, 0);

    // Takes over what a scale, line width or colour command sets; other commands leave
    // the state as it is.
    void Apply(const DrawCommand& command);
};

// The commands that drew the panel's current picture: from the last Clear on, with the
// state they started from, so that the picture can be drawn again on another surface.
// Only commands that change the picture are kept.
class PictureRecording {
public:
    // Adds commands that were played from `state`; a Clear starts the picture afresh.
    void Append(const DrawCommands& commands, PictureState state);

    const PictureState& start() const { return start_; }
    const DrawCommands& commands() const { return commands_; }

private:
    PictureState start_;
    DrawCommands commands_;
};

}  // namespace veldorin
