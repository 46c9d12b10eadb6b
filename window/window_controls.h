// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLatin1StringView>
#include <array>
#include <utility>
#include <vector>

#include "engine/model.h"
#include "ui/twips.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;

namespace veldorin {

class DrawnSurface;
class FramePanel;
class GraphCanvas;
class OptionsPanel;
class ResultsList;
class SpinDiagram;
class TheoryPage;
class WordMark;

// Every control the window's code works with, typed, built once from the layout table.
struct WindowControls {
    // The spin system.
    FramePanel* spinFrame = nullptr;
    SpinDiagram* spinDiagram = nullptr;
    QComboBox* rexBox = nullptr;
    QComboBox* csaBox = nullptr;
    QComboBox* nucleusMenu = nullptr;
    QLineEdit* distanceEditor = nullptr;
    QLineEdit* abundanceEditor = nullptr;
    // The Lorentzians: typed weights ci, their normalised values ci/{ci}, times ti in ps.
    std::array<QLineEdit*, kLorentzianCount> weightBoxes{};
    std::array<QLineEdit*, kLorentzianCount> normalisedWeightBoxes{};
    std::array<QLineEdit*, kLorentzianCount> timeBoxes{};
    // Array mode.
    QComboBox* arrayParameterList = nullptr;
    QPushButton* arrayButton = nullptr;
    QLabel* arrayRangeCaption = nullptr;
    QLineEdit* arrayFromBox = nullptr;
    QLineEdit* arrayStepBox = nullptr;
    // The results table.
    ResultsList* resultsList = nullptr;
    QLabel* failureLine = nullptr;
    QPushButton* tableModeButton = nullptr;
    // The graph.
    GraphCanvas* graphCanvas = nullptr;
    QLabel* verticalReadout = nullptr;
    QLabel* horizontalReadout = nullptr;
    QComboBox* plotList = nullptr;
    QLabel* axisCaption = nullptr;
    // The help list and the panels of the menu.
    QListWidget* helpList = nullptr;
    TheoryPage* theoryPage = nullptr;
    QListWidget* aboutList = nullptr;
    OptionsPanel* optionsPanel = nullptr;
    // The controls that keep the pointer moves over them while they are enabled.
    std::vector<QWidget*> pointerTargets;
    // The controls whose pointer moves scroll the help list to a section of its own.
    std::vector<std::pair<QWidget*, QLatin1StringView>> helpSections;
};

// Creates every control of the table on the client area, in table order, gives the
// lines and shapes to the client area, and adds the Options panel, which brings its
// own controls.
WindowControls BuildWindowControls(const TwipScale& scale, DrawnSurface& clientArea);

}  // namespace veldorin
