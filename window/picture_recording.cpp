#include "window/picture_recording.h"

#include "ui/colours.h"

namespace veldorin {

void PictureState::Apply(const DrawCommand& command) {
    if (const auto* scale = std::get_if<draw::SetScale>(&command)) {
        userScale = QSizeF(scale->width, scale->height);
    } else if (const auto* width = std::get_if<draw::SetLineWidth>(&command)) {
        lineWidth = width->pixels;
    } else if (const auto* colour = std::get_if<draw::SetColour>(&command)) {
        foreground = ToQColor(colour->colour);
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

PicturePainter::PicturePainter(QPainter& painter, QSizeF surface, QSizeF defaultScale,
                               QColor background, PictureState& state)
    : painter_(painter),
      surface_(surface),
      defaultScale_(defaultScale),
      background_(background),
      state_(state) {}

void PicturePainter::Play(const DrawCommands& commands) {
    for (const DrawCommand& command : commands) {
        state_.Apply(command);
        std::visit(*this, command);
    }
}

QPointF PicturePainter::Map(float x, float y) const {
    const QSizeF scale = state_.userScale.isEmpty() ? defaultScale_ : state_.userScale;
    return {x * surface_.width() / scale.width(), y * surface_.height() / scale.height()};
}

void PicturePainter::Stroke(float x1, float y1, float x2, float y2, const QColor& colour) {
    if (pen_.color() != colour || pen_.width() != state_.lineWidth) {
        pen_ = QPen(colour, state_.lineWidth, Qt::SolidLine, Qt::FlatCap);
        painter_.setPen(pen_);
    }
    // Smooth curves; crisp axis-parallel marker and reference lines, which are also
    // drawn many times over themselves and must not darken with every pass.
    painter_.setRenderHint(QPainter::Antialiasing, x1 != x2 && y1 != y2);
    painter_.drawLine(Map(x1, y1), Map(x2, y2));
}

void PicturePainter::operator()(const draw::Clear&) {
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.fillRect(QRectF(QPointF(0, 0), surface_), background_);
}

void PicturePainter::operator()(const draw::Line& line) {
    Stroke(line.x1, line.y1, line.x2, line.y2, state_.foreground);
}

void PicturePainter::operator()(const draw::LineInColour& line) {
    Stroke(line.x1, line.y1, line.x2, line.y2, ToQColor(line.colour));
}

}  // namespace veldorin
