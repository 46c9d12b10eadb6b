// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <optional>

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
};

// What a figure is drawn from: the curves' values and the commands of the panel's
// picture, whose marker lines it shows, and what the figure shows differently.
struct FigureSource {
    const SampledCurves& curves;
    const DrawCommands& panelCommands;
    FigureOptions options = {};
};

// Draws the figure laid out for `device` (its resolution sets the type's size in pixels)
// onto a painter that is active on it, in its pixels.
void PaintFigure(QPainter& painter, QPaintDevice& device, const FigureSource& source,
                 const FigureSize& size);

// Each returns whether everything was written.
bool WriteFigurePng(const FigureSource& source, const FigureSize& size, QIODevice& device);
bool WriteFigureSvg(const FigureSource& source, const FigureSize& size, QIODevice& device);
bool WriteFigurePdf(const FigureSource& source, const FigureSize& size, QIODevice& device);

// SVG or PDF when the name ends in ".svg" or ".pdf" (in any case), otherwise PNG.
std::optional<QString> SaveFigure(const FigureSource& source, const FigureSize& size,
                                  const QString& path);

}  // namespace veldorin
