// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// MainWindow is the program's main window. Its parts:
//  - ModelDocument (document/): the model being edited, which every window shows and
//    sends its edits to; the window holds it.
//  - WindowState: what the window holds of its own view (the enlarged graph).
//  - WindowControls: every control, typed, built once from the layout table (layout.h).
//  - RunCourse: the course of a run in the window, through MainWindowSide; its steps are
//    those of a Recalculation (recalculation/) of the document.
//  - MainWindowSide: the window's side of a run, what it reads and shows.
//  - TableWriter (results/): lists each line of the table and writes it to "table.dat".
//  - GraphCanvas (graph_panel/): replays the drawing commands of a run.
//  - SpinEditors: the spin system's editors, which check typed numbers at every key.
//  - LorentzianEntry: checks the Lorentzians' typed numbers at every key release.
//  - PanelController: opens and closes the menu's panels and enlarges the graph.
//  - PointerRouter: sends each pointer move to the hover handler under it.
//  - HelpPanels: the help list the hover handlers scroll, the Theory and About panels.
//  - WordMark: animates the word mark.
//  - ModelFiles: opens and saves the document as a model file (storage/), each save
//    through a side file (files/).
//  - MotionController (motion/) and MeasurementsController (measurements/): show the
//    document in the Motion and Measurements windows and send their edits to it.
//  - ProteinController (protein_window/): a whole protein in the Protein window; a
//    residue chosen there becomes the document, and its edits go back to the protein.
//  - WorkingDirectorySettler (storage/): settles the working directory at start.
//  - OptionsPanel (options/): shows the working directory and lets the user change it.
//
// A key release in an input box, a choice from a list or a press of a button puts what
// its control shows into the document and runs Recalculate. RunCourse takes the document
// through MainWindowSide: the table step (the live fit, the normalised weights, the
// results table that TableWriter lists and writes, the markers that GraphCanvas draws,
// the measurements against the model) and, after pending events have run and unless a
// newer run overtook it, the curve step of the document as it is then; the failure line
// says how the run ended.

#include <QMainWindow>
#include <QPointF>
#include <functional>
#include <memory>

#include "document/model_document.h"
#include "storage/startup_places.h"
#include "ui/twips.h"
#include "window/layout.h"
#include "window/window_state.h"

class QAction;
class QComboBox;

namespace veldorin {

class DrawnSurface;
class EventHooks;
class GraphInteraction;
class HelpPanels;
class LorentzianEntry;
class ModelFiles;
class MotionController;
class MeasurementsController;
class MeasurementsWindow;
class MotionWindow;
class PanelController;
class PointerRouter;
class ProteinController;
class ProteinWindow;
class RunCourse;
class SpinEditors;
class MainWindowSide;
class WordMark;

class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Start-up: settles the working directory beside the program (or in the user's
    // data folder when the program's folder cannot hold it or the program is installed
    // for all users), makes it the current directory, selects the start items of the
    // lists (each selection recalculates; only the one made after the window is shown
    // computes anything) and starts the word mark. A model file, when given, is opened
    // then; one that cannot be read is reported and the window keeps the defaults.
    void Start(const StartupPlaces& places, const QString& modelFile = {});

    // Recomputes the document: the normalised weights, the results table, "table.dat", the
    // graph and the measurements against the model. While the window is hidden it only
    // updates the diagram.
    void Recalculate();

    void OnTableModeClicked();
    void OnArrayClicked();
    // A choice from the Rex or CSA list, or a key released in its box.
    void OnRexOrCsaEdited(QComboBox& box);
    // A choice from the graph option list or the array parameter list.
    void OnPlotChosen();
    void OnArrayParameterChosen();

    PanelController& panels() const { return *panels_; }
    const WindowState& state() const { return state_; }
    const ModelDocument& document() const { return document_; }
    const WindowControls& controls() const { return controls_; }
    SpinEditors& spinEditors() const { return *spinEditors_; }
    ModelFiles& modelFiles() const { return *modelFiles_; }
    MotionWindow& motionWindow() const { return *motionWindow_; }
    // Ctrl+M and the Lorentzians' right-button menu: the Motion window beside this one.
    void OpenMotionWindow();
    MeasurementsWindow& measurementsWindow() const { return *measurementsWindow_; }
    // Ctrl+E and the results list's right-button menu: the Measurements window.
    void OpenMeasurementsWindow();
    // Ctrl+P and the context menus: the Protein window.
    void OpenProteinWindow();
    ProteinWindow& proteinWindow() const { return *proteinWindow_; }
    ProteinController& proteinController() const { return *proteinController_; }
    // A protein's residue as the document, after the model shown may be left; false when
    // the user kept it.
    bool ShowResidueDocument(ModelDocument document);
    WordMark& wordMark() const { return *wordMark_; }

Q_SIGNALS:
    // A recalculation got past the hidden-window check.
    void runStarted();
    // A recalculation went on to draw the curves.
    void curvesStarted();
    // The curves are computed; their drawing into the graph follows.
    void curvesComputed();

protected:
    // A model from a file that changed since is saved, discarded or kept open, as asked.
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    // A model file dropped on the window is opened; a protein's data or project goes to the
    // Protein window.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildMenus();
    // Esc closes every panel and editor; Ctrl+Q closes the window. F1 belongs to the
    // Help item of the menu bar.
    void AddWindowKeys();
    // Ctrl+O, Ctrl+S, Ctrl+Shift+S, and a context menu on the spin system and on the
    // Lorentzians that shows the same three with their keys; the menu bar keeps its four
    // items.
    void AddModelFileCommands();
    // Ctrl+M, Ctrl+E and Ctrl+P: the Motion, Measurements and Protein windows, from any
    // window of the program, even while a text box has the keyboard.
    void AddToolWindowCommands();
    // The button captions, their descriptions and the array controls show the table mode
    // and array mode; the tool windows show the document.
    void ShowState();
    // The whole document in the controls and the tool windows: after a model is opened.
    void ShowModel();
    // What a tool window changed in the document shows in the controls; then a run.
    void ShowToolEdit();
    // The spin diagram's texts, as its editors left them, into the document.
    void TakeSpinSystem();
    void ConnectHandlers();
    void RoutePointer();
    void SetTabOrder();
    // A selection made by the program runs the list's handler, as a choice of the user does.
    void SelectStartItem(QComboBox* list, int index, const std::function<void()>& handler);
    // A model file opens here; a protein's data or project in the Protein window.
    void OpenAnyFile(const QString& path);

    TwipScale scale_;
    WindowState state_;
    ModelDocument document_ = DefaultModelDocument();
    DrawnSurface* clientArea_;
    WindowControls controls_;
    WordMark* wordMark_;
    PointerRouter* router_;
    EventHooks* hooks_;
    SpinEditors* spinEditors_ = nullptr;
    std::unique_ptr<LorentzianEntry> lorentzians_;
    std::unique_ptr<HelpPanels> help_;
    std::unique_ptr<GraphInteraction> graph_;
    std::unique_ptr<PanelController> panels_;
    std::unique_ptr<MainWindowSide> windowSide_;
    RunCourse* runCourse_;
    ModelFiles* modelFiles_;
    MotionWindow* motionWindow_;
    MotionController* motionController_;
    MeasurementsWindow* measurementsWindow_;
    MeasurementsController* measurementsController_;
    QAction* motionCommand_ = nullptr;
    ProteinWindow* proteinWindow_;
    ProteinController* proteinController_;
    QAction* measurementsCommand_ = nullptr;
    QAction* proteinCommand_ = nullptr;
};

}  // namespace veldorin
