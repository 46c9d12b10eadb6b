#pragma once

#include <QColor>
#include <QPainter>
#include <QSizeF>

#include "graph/draw_command.h"

namespace veldorin {

// What the drawing commands set and later ones draw with.
struct PictureState {
    QSizeF userScale;  // empty until a command sets it
    int lineWidth = 1;
    QColor foreground{Qt::black};

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

// Plays drawing commands on a painter whose surface measures `surface` (pixels): the
// user scale (or, before one is set, `defaultScale`) stretched over it, line widths in
// pixels, Clear filling the surface with the background. The axis caption is not
// part of the picture and is not drawn.
class PicturePainter {
public:
    PicturePainter(QPainter& painter, QSizeF surface, QSizeF defaultScale, QColor background,
                   PictureState& state);

    void Play(const DrawCommands& commands);

    void operator()(const draw::Clear&);
    void operator()(const draw::Line& line);
    void operator()(const draw::LineInColour& line);
    // Commands that set state or concern the window only.
    template <typename Command>
    void operator()(const Command&) {}

private:
    QPointF Map(float x, float y) const;
    void Stroke(float x1, float y1, float x2, float y2, const QColor& colour);

    QPainter& painter_;
    QSizeF surface_;
    QSizeF defaultScale_;
    QColor background_;
    PictureState& state_;
    QPen pen_{Qt::NoPen};
};

}  // namespace veldorin
