// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>
#include <vector>

#include "ui/colours.h"
#include "ui/twips.h"

namespace veldorin {

// A straight line drawn on the client area, under all controls.
struct LineSpec {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // twips
    int pixels = 1;                      // width
    Paint colour{};
};

// A filled rectangle drawn on the client area, under all controls.
struct ShapeSpec {
    TwipRect place;
    Rgb fill;
};

// A surface that paints the design's lines and filled shapes under its child controls:
// the client area itself, and every frame.
class DrawnSurface : public QWidget {
    Q_OBJECT

public:
    DrawnSurface(const TwipScale& scale, QWidget* parent);

    void AddLine(const LineSpec& line);
    void AddShape(const ShapeSpec& shape);

protected:
    void paintEvent(QPaintEvent* event) override;
    // Lines and shapes in their table order.
    void PaintDrawing(QPainter& painter) const;
    const TwipScale& scale() const { return scale_; }

private:
    TwipScale scale_;
    std::vector<LineSpec> lines_;
    std::vector<ShapeSpec> shapes_;
};

// A frame: an etched border with its caption at the top left, over the surface.
class FramePanel : public DrawnSurface {
    Q_OBJECT

public:
    FramePanel(const TwipScale& scale, const QString& caption, QWidget* parent);

    QString caption() const { return caption_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption_;
};

}  // namespace veldorin
