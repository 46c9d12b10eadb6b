// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/tool_window.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace veldorin {
namespace {

// The coordinate nearest `wanted` at which a length of `size` lies within [low, high),
// or `low` where it cannot.
int Within(int wanted, int size, int low, int high) {
    return std::max(low, std::min(wanted, high - size));
}

// Sizes the tool to the screen at `place` and moves it to the place nearest `place` at
// which it lies wholly on that screen, its frame counted as large as its parent's.
void FitOnScreen(QWidget& tool, QPoint place) {
    const QScreen* screen = QGuiApplication::screenAt(place);
    if (!screen) screen = tool.screen();
    const QRect room = screen->availableGeometry();
    const QWidget* parent = tool.parentWidget();
    const QSize frame =
        parent ? parent->frameGeometry().size() - parent->geometry().size() : QSize(0, 0);
    tool.resize(tool.size().boundedTo(room.size() - frame));
    const QSize outer = tool.size() + frame;
    tool.move(Within(place.x(), outer.width(), room.left(), room.right() + 1),
              Within(place.y(), outer.height(), room.top(), room.bottom() + 1));
}

}  // namespace

void ShowToolWindow(QWidget& tool, QPoint firstPlace) {
    if (!tool.isVisible() && tool.pos().isNull()) FitOnScreen(tool, firstPlace);
    tool.show();
    tool.raise();
    tool.activateWindow();
}

}  // namespace veldorin
