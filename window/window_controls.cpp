// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/window_controls.h"

#include <QLabel>
#include <QLineEdit>

#include "graph_panel/drawn_surface.h"
#include "graph_panel/graph_canvas.h"
#include "help/theory_page.h"
#include "options/directory_list.h"
#include "options/options_panel.h"
#include "window/control_factory.h"
#include "window/layout.h"

namespace veldorin {

namespace {

// Nothing is stored until start-up has settled where the settings file is.
OptionsPanel* MakeOptionsPanel(const TwipScale& scale, QWidget& clientArea,
                               WindowControls& controls) {
    auto* panel = new OptionsPanel(scale, SettingsFile(QString()), &clientArea);
    for (QWidget* part : std::initializer_list<QWidget*>{
             panel, panel->directoryCaption(), panel->directoryBox(), panel->directoryList()}) {
        controls.pointerTargets.push_back(part);
    }
    return panel;
}

}  // namespace

WindowControls BuildWindowControls(const TwipScale& scale, DrawnSurface& clientArea) {
    WindowControls controls;
    const auto parentOf = [&](Parent parent) -> QWidget* {
        switch (parent) {
            case Parent::SpinFrame: return controls.spinFrame;
            case Parent::GraphPanel: return controls.graphCanvas;
            case Parent::ClientArea: break;
        }
        return &clientArea;
    };
    for (const ControlSpec& entry : ControlTable()) {
        QWidget* control = MakeControl(entry, scale, parentOf(entry.parent));
        if (entry.store) entry.store(controls, control);
        if (entry.takesPointer) controls.pointerTargets.push_back(control);
        if (!entry.helpSection.isEmpty()) {
            controls.helpSections.emplace_back(control, entry.helpSection);
        }
    }
    for (const LineSpec& line : LineTable()) clientArea.AddLine(line);
    for (const ShapeSpec& shape : ShapeTable()) clientArea.AddShape(shape);
    controls.optionsPanel = MakeOptionsPanel(scale, clientArea, controls);
    return controls;
}

}  // namespace veldorin
