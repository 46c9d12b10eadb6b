// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Renders the Theory page to a PNG file: theory_snapshot OUT.png [WIDTH HEIGHT]
// (default 513 x 501 pixels, the open page at 96 dots per inch).

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>

#include "help/theory_page.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 2 && args.size() != 4) {
        std::fprintf(stderr, "usage: theory_snapshot OUT.png [WIDTH HEIGHT]\n");
        return 2;
    }
    QSize size(513, 501);
    if (args.size() == 4) size = QSize(args[2].toInt(), args[3].toInt());
    if (size.isEmpty()) {
        std::fprintf(stderr, "theory_snapshot: the size must be positive\n");
        return 2;
    }
    veldorin::TheoryPage page;
    page.resize(size);
    if (!page.grab().save(args[1])) {
        std::fprintf(stderr, "theory_snapshot: cannot write %s\n", qPrintable(args[1]));
        return 1;
    }
    return 0;
}
