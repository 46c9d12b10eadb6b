// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>

namespace veldorin::test {

// Stands for the window's background: counts the pointer moves that reach it.
class MoveCountingWidget : public QWidget {
public:
    MoveCountingWidget() { setMouseTracking(true); }
    int moves = 0;

protected:
    void mouseMoveEvent(QMouseEvent*) override { ++moves; }
};

}  // namespace veldorin::test
