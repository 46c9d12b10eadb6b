// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "graph_panel/picture_export.h"

#include <QPainter>
#include <QSvgGenerator>

#include "files/save_aside.h"
#include "graph_panel/picture_painter.h"

namespace veldorin {

bool WriteSvg(const PanelPicture& picture, QIODevice& device) {
    QSvgGenerator generator;
    generator.setOutputDevice(&device);
    generator.setSize(picture.size.toSize());
    generator.setViewBox(QRectF(QPointF(0, 0), picture.size));
    QPainter painter;
    if (!painter.begin(&generator)) return false;
    PictureState state = picture.recording.start();
    PicturePainter(painter, picture.size, picture.defaultScale, picture.background, state)
        .Play(picture.recording.commands());
    return painter.end();
}

bool WritePng(const QImage& image, QIODevice& device) { return image.save(&device, "PNG"); }

bool WriteCsv(const SampledCurves& curves, QIODevice& device) {
    const std::string text = CurvesCsv(curves);
    return device.write(text.data(), static_cast<qint64>(text.size())) ==
           static_cast<qint64>(text.size());
}

std::optional<QString> SavePicture(const PanelPicture& picture, const QImage& image,
                                   const QString& path) {
    if (path.endsWith(".svg", Qt::CaseInsensitive)) {
        return SaveAside(path, [&](QIODevice& device) { return WriteSvg(picture, device); });
    }
    return SaveAside(path, [&](QIODevice& device) { return WritePng(image, device); });
}

std::optional<QString> SaveCurves(const SampledCurves& curves, const QString& path) {
    return SaveAside(path, [&](QIODevice& device) { return WriteCsv(curves, device); });
}

}  // namespace veldorin
