// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QImage>
#include <QSizeF>
#include <QString>
#include <optional>

#include "graph/sampled_curves.h"
#include "graph_panel/picture_recording.h"

class QIODevice;

namespace veldorin {

// The graph panel's picture as the commands that drew it, with the surface they drew on.
struct PanelPicture {
    const PictureRecording& recording;
    QSizeF size;          // the panel in pixels
    QSizeF defaultScale;  // the user scale until a run sets one: the panel in twips
    QColor background;
};

// Each returns whether everything was written.
// The picture drawn again from its commands as an SVG drawing of the panel's size.
bool WriteSvg(const PanelPicture& picture, QIODevice& device);
bool WritePng(const QImage& image, QIODevice& device);
// The curves as comma-separated text, one line per sample.
bool WriteCsv(const SampledCurves& curves, QIODevice& device);

// A drawing when the name ends in ".svg" (in any case), otherwise the image as PNG.
// Each returns nothing when the file was written, otherwise SaveAside's message.
std::optional<QString> SavePicture(const PanelPicture& picture, const QImage& image,
                                   const QString& path);
std::optional<QString> SaveCurves(const SampledCurves& curves, const QString& path);

}  // namespace veldorin
