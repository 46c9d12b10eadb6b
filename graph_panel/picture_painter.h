// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QPainter>
#include <QSizeF>
#include <utility>
#include <vector>

#include "graph/draw_command.h"
#include "graph_panel/picture_recording.h"

namespace veldorin {

// Plays drawing commands on a painter whose surface measures `surface` (pixels): the
// user scale (or, before one is set, `defaultScale`) stretched over it, line widths in
// pixels, Clear filling the surface with the background. The axis caption is not
// part of the picture and is not drawn.
//
// Axis-parallel lines are drawn crisp in an opaque colour, so a later crisp line over the
// same pixels hides an earlier one completely: on an image it is enough to draw the last
// of them (the panel's markers and reference lines are drawn again for every neighbour
// at every field), and to set the painter's state only when it changes. A drawing file
// keeps every line, and every state it was written with.
class PicturePainter {
public:
    enum class Surface { Image, DrawingFile };

    PicturePainter(QPainter& painter, QSizeF surface, QSizeF defaultScale, QColor background,
                   PictureState& state, Surface target = Surface::DrawingFile);

    void Play(const DrawCommands& commands);

    void operator()(const draw::Clear&);
    void operator()(const draw::Line& line);
    void operator()(const draw::LineInColour& line);
    // Commands that set state or concern the window only.
    template <typename Command>
    void operator()(const Command&) {}

private:
    // For each command, whether it is a crisp line that a later crisp line of the same
    // commands covers pixel for pixel.
    std::vector<bool> HiddenCrispLines(const DrawCommands& commands) const;
    QSizeF UserScale(const PictureState& state) const;
    // What a line's pen is made of: its opaque colour and its width.
    struct PenKey {
        QRgb colour;
        int width;
        friend bool operator==(const PenKey&, const PenKey&) = default;
    };
    // A solid pen of the colour and width with flat caps.
    const QPen& KeptPen(PenKey key);
    QPointF Map(float x, float y) const;
    void Stroke(float x1, float y1, float x2, float y2, QRgb colour);

    QPainter& painter_;
    QSizeF surface_;
    QSizeF defaultScale_;
    QColor background_;
    PictureState& state_;
    Surface target_;
    // The painter's pen. Until the first is set the painter's own pen, which draws the
    // lines in black 1 pixel wide (with square caps), serves the first such lines.
    PenKey pen_{qRgb(0, 0, 0), 1};
    bool painterOwnPen_ = true;
    // Curves of two colours take turns segment by segment: the pens made are kept, and
    // compared by their keys, which is cheap.
    std::vector<std::pair<PenKey, QPen>> pens_;
    bool hiddenLine_ = false;  // the line being played is hidden: it only takes its pen
};

}  // namespace veldorin
