// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/panel_controller.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>

#include "graph_panel/graph_canvas.h"
#include "graph_panel/graph_interaction.h"
#include "help/help_text.h"
#include "help/theory_page.h"
#include "options/options_panel.h"
#include "window/help_panels.h"

namespace veldorin {

PanelController::PanelController(const TwipScale& scale, const WindowControls& controls,
                                 HelpPanels& help, GraphInteraction& graph, WindowState& state,
                                 std::function<void()> recalculate)
    : scale_(scale),
      controls_(controls),
      help_(help),
      graph_(graph),
      state_(state),
      recalculate_(std::move(recalculate)) {}

void PanelController::Reset() {
    for (QWidget* popUp : std::initializer_list<QWidget*>{
             controls_.abundanceEditor, controls_.theoryPage, controls_.nucleusMenu,
             controls_.distanceEditor, controls_.optionsPanel}) {
        popUp->hide();
    }
    controls_.plotList->move(scale_.Point(kGraphOptionPlace.left, kGraphOptionPlace.top));
    controls_.graphCanvas->setGeometry(scale_.Rect(kGraphPlace));
    help_.RestoreHelpList();
    controls_.aboutList->hide();
    if (state_.graphEnlarged) {
        state_.graphEnlarged = false;
        QCoreApplication::processEvents();
        recalculate_();
    }
}

void PanelController::Open(Panel panel) {
    Reset();
    switch (panel) {
        case Panel::Options: controls_.optionsPanel->Open(); break;
        case Panel::Theory: help_.OpenTheory(); break;
        case Panel::Help: help_.OpenHelp(); break;
        case Panel::About: help_.OpenAbout(); break;
    }
}

void PanelController::ToggleGraphEnlarged() {
    if (state_.graphEnlarged) {
        Reset();
        return;
    }
    // A client area too low to leave room under the enlarged graph keeps it as it is.
    if (!graph_.Enlarge(controls_.graphCanvas->parentWidget()->size())) return;
    state_.graphEnlarged = true;
    recalculate_();
}

void PanelController::BackgroundHovered() {
    Reset();
    graph_.ClearReadout();
}

void PanelController::FrameHovered(bool spinFrame) {
    if (controls_.optionsPanel->isVisible()) controls_.optionsPanel->HideDirectoryList();
    if (spinFrame) Reset();
    help_.ShowSection(kHelpSpinSystem);
}

void PanelController::GraphHovered(QPointF position) {
    // The enlarged graph stays as it is while the pointer is over it.
    if (!state_.graphEnlarged) Reset();
    graph_.ShowReadout(position);
    help_.ShowSection(kHelpPlot);
}

}  // namespace veldorin
