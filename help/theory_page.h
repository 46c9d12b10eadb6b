// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The Theory page: the equations of the calculation, their legend and a table of typical
// distances between atoms, and on a second page the motions and the fit, drawn as text and
// vector strokes on the page's own background. A click turns to the other page, the wheel
// forward or back.

#include <QColor>
#include <QFont>
#include <QWidget>
#include <vector>

#include "help/theory_page_layout.h"

namespace veldorin {

inline constexpr QColor kTheoryBackground{255, 224, 192};

class TheoryPage : public QWidget {
public:
    explicit TheoryPage(QWidget* parent = nullptr);

    int page() const { return page_; }  // from 0
    void ShowPage(int page);            // clamped to the pages there are

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // The pages are laid out in twips on the first paint and kept: a new size only changes
    // the scale they are drawn at. The layouts' fonts take what they do not set from the
    // application's font, so a new application font lays the pages out again.
    std::vector<TheoryPageLayout> layouts_;
    int page_ = 0;
    QFont layoutApplicationFont_;
};

}  // namespace veldorin
