// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "graph_panel/drawn_surface.h"

#include <QPainter>

namespace veldorin {

namespace {

// Caption inset from the frame's left edge, in twips.
constexpr int kCaptionInset = 120;

}  // namespace

DrawnSurface::DrawnSurface(const TwipScale& scale, QWidget* parent)
    : QWidget(parent), scale_(scale) {}

void DrawnSurface::AddLine(const LineSpec& line) {
    lines_.push_back(line);
    update();
}

void DrawnSurface::AddShape(const ShapeSpec& shape) {
    shapes_.push_back(shape);
    update();
}

void DrawnSurface::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintDrawing(painter);
}

void DrawnSurface::PaintDrawing(QPainter& painter) const {
    for (const ShapeSpec& shape : shapes_) {
        const TwipRect& p = shape.place;
        painter.fillRect(scale_.Rect(p), ToQColor(shape.fill));
    }
    for (const LineSpec& line : lines_) {
        QPen pen(Resolve(line.colour).value_or(Qt::black), line.pixels);
        pen.setCapStyle(Qt::FlatCap);
        painter.setPen(pen);
        painter.drawLine(scale_.Point(line.x1, line.y1), scale_.Point(line.x2, line.y2));
    }
}

FramePanel::FramePanel(const TwipScale& scale, const QString& caption, QWidget* parent)
    : DrawnSurface(scale, parent), caption_(caption) {}

void FramePanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintDrawing(painter);

    const QFontMetrics metrics(font());
    const int top = metrics.height() / 2;
    const QRect border(0, top, width() - 2, height() - top - 2);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(border.translated(1, 1));
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(border);

    const int left = scale().ToPixels(kCaptionInset);
    const QRect text(left, 0, metrics.horizontalAdvance(caption_) + 4, metrics.height());
    painter.fillRect(text, palette().color(QPalette::Window));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(text, Qt::AlignCenter, caption_);
}

}  // namespace veldorin
