// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "graph_panel/picture_painter.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <optional>
#include <unordered_set>

#include "ui/colours.h"

namespace veldorin {

PicturePainter::PicturePainter(QPainter& painter, QSizeF surface, QSizeF defaultScale,
                               QColor background, PictureState& state, Surface target)
    : painter_(painter),
      surface_(surface),
      defaultScale_(defaultScale),
      background_(background),
      state_(state),
      target_(target) {}

void PicturePainter::Play(const DrawCommands& commands) {
    const std::vector<bool> hidden = target_ == Surface::Image
                                         ? HiddenCrispLines(commands)
                                         : std::vector<bool>(commands.size(), false);
    for (std::size_t i = 0; i < commands.size(); ++i) {
        state_.Apply(commands[i]);
        // A hidden line still takes up its pen, so that every line drawn has the pen
        // it would have had.
        hiddenLine_ = hidden[i];
        std::visit(*this, commands[i]);
    }
}

namespace {

// What decides the pixels of a crisp line: its ends in the user scale, the scale, the
// line width and whether the painter's own pen (square caps) draws it; not its colour,
// which is opaque. Compared bit for bit.
struct CrispLineShape {
    std::array<std::uint32_t, 4> ends;
    std::array<std::uint64_t, 2> scale;
    int width;
    bool painterPen;

    friend bool operator==(const CrispLineShape&, const CrispLineShape&) = default;
};

struct CrispLineShapeHash {
    std::size_t operator()(const CrispLineShape& shape) const {
        std::size_t hash = static_cast<std::size_t>(shape.width) * 2 + shape.painterPen;
        const auto mix = [&hash](std::uint64_t bits) { hash = (hash ^ bits) * 0x100000001b3u; };
        for (const std::uint32_t bits : shape.ends) mix(bits);
        for (const std::uint64_t bits : shape.scale) mix(bits);
        return hash;
    }
};

// A line command's ends and colour.
struct LineEnds {
    std::array<float, 4> ends;
    QRgb colour;

    bool crisp() const { return ends[0] == ends[2] || ends[1] == ends[3]; }
};

std::optional<LineEnds> LineOf(const DrawCommand& command, const PictureState& state) {
    if (const auto* line = std::get_if<draw::Line>(&command)) {
        return LineEnds{{line->x1, line->y1, line->x2, line->y2}, state.foreground};
    }
    if (const auto* coloured = std::get_if<draw::LineInColour>(&command)) {
        return LineEnds{{coloured->x1, coloured->y1, coloured->x2, coloured->y2},
                        ToQRgb(coloured->colour)};
    }
    return std::nullopt;
}

}  // namespace

std::vector<bool> PicturePainter::HiddenCrispLines(const DrawCommands& commands) const {
    std::vector<std::optional<CrispLineShape>> shapes(commands.size());
    PictureState state = state_;
    // The pen as Stroke changes it: the painter's own until a line needs another.
    QRgb penColour = pen_.colour;
    int penWidth = pen_.width;
    bool painterPen = painterOwnPen_;
    for (std::size_t i = 0; i < commands.size(); ++i) {
        state.Apply(commands[i]);
        const auto line = LineOf(commands[i], state);
        if (!line) continue;
        if (penColour != line->colour || penWidth != state.lineWidth) {
            penColour = line->colour;
            penWidth = state.lineWidth;
            painterPen = false;
        }
        if (!line->crisp()) continue;
        const std::array<float, 4>& ends = line->ends;
        const QSizeF scale = UserScale(state);
        shapes[i] = CrispLineShape{
            {std::bit_cast<std::uint32_t>(ends[0]), std::bit_cast<std::uint32_t>(ends[1]),
             std::bit_cast<std::uint32_t>(ends[2]), std::bit_cast<std::uint32_t>(ends[3])},
            {std::bit_cast<std::uint64_t>(scale.width()),
             std::bit_cast<std::uint64_t>(scale.height())},
            state.lineWidth,
            painterPen};
    }
    std::vector<bool> hidden(commands.size(), false);
    std::unordered_set<CrispLineShape, CrispLineShapeHash> drawnLater;
    for (std::size_t i = commands.size(); i-- > 0;) {
        if (shapes[i]) hidden[i] = !drawnLater.insert(*shapes[i]).second;
    }
    return hidden;
}

QSizeF PicturePainter::UserScale(const PictureState& state) const {
    return state.userScale.isEmpty() ? defaultScale_ : state.userScale;
}

QPointF PicturePainter::Map(float x, float y) const {
    const QSizeF scale = UserScale(state_);
    return {x * surface_.width() / scale.width(), y * surface_.height() / scale.height()};
}

const QPen& PicturePainter::KeptPen(PenKey key) {
    const auto kept =
        std::find_if(pens_.begin(), pens_.end(), [&](const auto& pen) { return pen.first == key; });
    if (kept != pens_.end()) return kept->second;
    return pens_
        .emplace_back(key, QPen(QColor::fromRgb(key.colour), key.width, Qt::SolidLine, Qt::FlatCap))
        .second;
}

void PicturePainter::Stroke(float x1, float y1, float x2, float y2, QRgb colour) {
    const PenKey key{colour, state_.lineWidth};
    if (key != pen_) {
        painter_.setPen(KeptPen(key));
        pen_ = key;
        painterOwnPen_ = false;
    }
    if (hiddenLine_) return;
    // Smooth curves; crisp axis-parallel marker and reference lines, which are also
    // drawn many times over themselves and must not darken with every pass.
    const bool smooth = x1 != x2 && y1 != y2;
    // An image's engine redoes its set-up on every setting of the hints, even to the
    // same; a drawing file starts a new group of elements for it.
    if (target_ == Surface::DrawingFile ||
        painter_.testRenderHint(QPainter::Antialiasing) != smooth) {
        painter_.setRenderHint(QPainter::Antialiasing, smooth);
    }
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
    Stroke(line.x1, line.y1, line.x2, line.y2, ToQRgb(line.colour));
}

}  // namespace veldorin
