// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The Theory page: the equations of the calculation, their legend and a table of typical
// distances between atoms, drawn as text and vector strokes on the page's own background.

#include <QColor>
#include <QFont>
#include <QWidget>
#include <optional>

#include "help/theory_page_layout.h"

namespace veldorin {

inline constexpr QColor kTheoryBackground{255, 224, 192};

class TheoryPage : public QWidget {
public:
    explicit TheoryPage(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The page is laid out in twips on its first paint and kept: a new size only changes
    // the scale it is drawn at. The layout's fonts take what they do not set from the
    // application's font, so a new application font lays the page out again.
    std::optional<TheoryPageLayout> layout_;
    QFont layoutApplicationFont_;
};

}  // namespace veldorin
