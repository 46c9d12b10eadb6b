// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <utility>

#include "graph/draw_command.h"
#include "graph/figure_layout.h"
#include "graph/sampled_curves.h"

class QIODevice;
class QPainter;
class QPaintDevice;
class QSize;

namespace veldorin {

// The printed size of a figure and the resolution it is drawn at; by default one
// journal column.
struct FigureSize {
    double width = 85.0;   // mm
    double height = 75.0;  // mm
    int dotsPerInch = 600;

    QSize Pixels() const;
    qint64 PixelCount() const;
};

// The most pixels a PNG figure may have. It is drawn whole in memory first, four bytes a
// pixel, so this keeps it to 1 GB; SVG and PDF are drawn as lines and text, whatever
// their size and resolution.
inline constexpr qint64 kMaxFigurePixels = 250'000'000;

// "PNG: 2008 × 1772 pixels", and when that is more than a PNG may have, says so and
// what can be saved instead.
QString PngSizeNote(const FigureSize& size);

// What a figure is drawn from: its layout at a size in millimetres, with text as wide as
// a device sets it.
struct FigureSource {
    using LayOut = std::function<FigureLayout(double width, double height, const TextWidth&)>;

    explicit FigureSource(LayOut layOut) : layOut(std::move(layOut)) {}
    // The graph's figure: the curves' values and the commands of the panel's picture,
    // whose marker lines it shows, and what the figure shows differently. Both are
    // referred to, not copied.
    FigureSource(const SampledCurves& curves, const DrawCommands& panelCommands,
                 const FigureOptions& options = {});

    LayOut layOut;
};

// Text widths (mm) as a device sets the figure's type, at its logical resolution; the
// device must outlive them.
TextWidth FigureTextWidth(const QPaintDevice& device);

// Draws a laid-out figure onto an active painter, `pixelsPerMillimetre` of the painter's
// coordinates to the millimetre, on a white ground.
void PaintFigureLayout(QPainter& painter, const FigureLayout& figure, double pixelsPerMillimetre);

// Draws the figure laid out for `device` (its resolution sets the type's size in pixels)
// onto a painter that is active on it, in its pixels.
void PaintFigure(QPainter& painter, QPaintDevice& device, const FigureSource& source,
                 const FigureSize& size);

// Each returns whether everything was written; a PNG beyond kMaxFigurePixels is not.
bool WriteFigurePng(const FigureSource& source, const FigureSize& size, QIODevice& device);
bool WriteFigureSvg(const FigureSource& source, const FigureSize& size, QIODevice& device);
bool WriteFigurePdf(const FigureSource& source, const FigureSize& size, QIODevice& device);

// SVG or PDF when the name ends in ".svg" or ".pdf" (in any case), otherwise PNG. A PNG
// with more pixels than kMaxFigurePixels, or more than the memory at hand can hold, is
// refused before anything is written.
std::optional<QString> SaveFigure(const FigureSource& source, const FigureSize& size,
                                  const QString& path);

}  // namespace veldorin
