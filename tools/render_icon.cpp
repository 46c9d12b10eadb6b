// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Draws the program's SVG icon as a PNG of one size: render_icon IN.svg OUT.png SIZE.
// The build makes every desktop icon size with it, so the PNGs never drift from the SVG.

#include <QImage>
#include <QString>
#include <cstdio>

#include "app/program_icon.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: render_icon IN.svg OUT.png SIZE\n");
        return 2;
    }
    bool isNumber = false;
    const int size = QString::fromLocal8Bit(argv[3]).toInt(&isNumber);
    if (!isNumber || size <= 0) {
        std::fprintf(stderr, "render_icon: the size must be a positive whole number\n");
        return 2;
    }
    const QImage image = veldorin::RenderIcon(QString::fromLocal8Bit(argv[1]), size);
    if (image.isNull()) {
        std::fprintf(stderr, "render_icon: cannot read %s as SVG\n", argv[1]);
        return 1;
    }
    if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "render_icon: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
