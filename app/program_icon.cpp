// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/program_icon.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace veldorin {

namespace {

const QString kBuiltInIcon = QStringLiteral(":/veldorin.svg");

}  // namespace

QImage RenderIcon(const QString& svgPath, int size) {
    if (size <= 0) return {};
    QSvgRenderer renderer(svgPath);
    if (!renderer.isValid()) return {};
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, size, size));
    return image;
}

QIcon ProgramIcon() {
    QIcon icon;
    for (const int size : kProgramIconSizes) {
        const QImage image = RenderIcon(kBuiltInIcon, size);
        if (!image.isNull()) icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

}  // namespace veldorin
