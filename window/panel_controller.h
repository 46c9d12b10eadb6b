// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPointF>
#include <functional>

#include "ui/twips.h"
#include "window/layout.h"
#include "window/window_state.h"

namespace veldorin {

class GraphInteraction;
class HelpPanels;

// Which of the pop-up panels is open, and whether the graph is enlarged. At most one
// panel is open at a time: opening one first resets the window, which closes every
// panel and editor and puts the graph and the help list back in their places. Moving
// the pointer over the window's bare background resets it too.
class PanelController {
public:
    PanelController(const TwipScale& scale, const WindowControls& controls, HelpPanels& help,
                    GraphInteraction& graph, WindowState& state, std::function<void()> recalculate);

    // Closes every pop-up panel and editor and puts the graph and the help list back in
    // their places; recalculates once, at the standard size, if the graph was enlarged.
    void Reset();
    void Open(Panel panel);
    // A click on the graph enlarges it over the window's top; a second click restores it.
    void ToggleGraphEnlarged();

    // What a pointer move over each part of the window does to the panels.
    void BackgroundHovered();
    void FrameHovered(bool spinFrame);
    void GraphHovered(QPointF position);

private:
    TwipScale scale_;
    const WindowControls& controls_;
    HelpPanels& help_;
    GraphInteraction& graph_;
    WindowState& state_;
    std::function<void()> recalculate_;
};

}  // namespace veldorin
