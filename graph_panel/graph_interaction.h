// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPointF>
#include <QSize>
#include <optional>

#include "ui/twips.h"

class QComboBox;
class QLabel;

namespace veldorin {

class GraphCanvas;

// Where a click puts the graph panel in a client area of the given size (twips): over the
// window's top, its full width and all but 2000 twips of its height. None when the client
// area is not taller than that.
std::optional<TwipRect> EnlargedGraphPlace(int clientWidth, int clientHeight);

// The graph panel's own behaviour: the pointer readout in its two labels, one for the
// vertical value and one for the horizontal value, in the units of the plot chosen in the
// graph-option list, which also names the plot in the panel's description for a screen
// reader; and the enlarged place of the panel, with that list over its
// top-left corner.
class GraphInteraction {
public:
    GraphInteraction(const TwipScale& scale, GraphCanvas* canvas, QComboBox* plotList,
                     QLabel* vertical, QLabel* horizontal);

    // The pointer at `pointer` (pixels in the panel) in the panel's user scale, twips from
    // its top-left corner, read out in the plot's units. With no plot chosen the vertical
    // label keeps its caption.
    void ShowReadout(QPointF pointer);
    void ClearReadout();

    // Moves the panel and its list to the enlarged place in the client area of the given
    // size (pixels); false, and nothing moved, when the client area is too low for it.
    bool Enlarge(QSize clientArea);

private:
    TwipScale scale_;
    GraphCanvas* canvas_;
    QComboBox* plotList_;
    QLabel* vertical_;
    QLabel* horizontal_;
};

}  // namespace veldorin
