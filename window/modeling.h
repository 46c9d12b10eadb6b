#pragma once

// Modeling is the program's one window, and the model is the text of its controls.
// Recalculate reads those texts into ModelTexts; the Recalculation of the graph
// library turns them into the normalised weights, shown in the boxes Text5, the
// results table, which TableWriter lists in List3 and writes to "table.dat", and
// drawing commands, which GraphCanvas replays in the graph panel Picture1. The spin
// diagram (SpinDiagram) shows the spin system and SpinEditors edits it; SpinEditors,
// LorentzianEntry and the Rex and CSA boxes check typed numbers at every key release
// and recalculate. WordMark animates the word mark. HelpPanels keeps the help list
// and the panels of the menu, GraphInteraction the pointer readout and the enlarging
// of the graph, and OptionsPanel the working directory, which start-up settles with
// WorkingDirectorySettler.

#include <QMainWindow>
#include <QPointF>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "window/control_set.h"
#include "recalculation.h"
#include "storage/startup_places.h"
#include "ui/twips.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace veldorin {

class DrawnSurface;
class GraphCanvas;
class EventHooks;
class LorentzianEntry;
class GraphInteraction;
class HelpPanels;
class OptionsPanel;
class PointerRouter;
class ResultsList;
class RunReport;
class SpinDiagram;
class SpinEditors;
class WordMark;

class Modeling : public QMainWindow {
    Q_OBJECT

public:
    explicit Modeling(QWidget* parent = nullptr);
    ~Modeling() override;

    // Start-up: settles the working directory beside the program (or in the user's
    // data folder when the program's folder cannot hold it or the program is installed
    // for all users), makes it the current directory, selects the start items of the lists (each
    // selection recalculates; only the one made after the window is shown computes
    // anything) and starts the word mark.
    void Form_Load(const StartupPlaces& places);

    // Reads every input afresh from the controls and recomputes the normalised
    // weights, the results table, "table.dat" and the graph. While the window is
    // hidden it only derives the kinds of the spin slots.
    void Recalculate();
    void PlotMol();
    // Closes every pop-up panel and editor and puts the graph and the help list back
    // in their places; recalculates once if the graph was enlarged.
    void ResetPanels();

    void Command1_Click();
    void Command3_Click();
    void Combo1_Click(int index);
    void Combo2_Click();
    void Combo4_Click();
    void Form_MouseMove();
    void Frame1_MouseMove(int index);
    void Label16_MouseMove(int index);
    // The pointer at `position` (pixels in the panel) over the graph panel.
    void Picture1_MouseMove(QPointF position);
    void Picture1_Click();
    void Options_Click();
    void Theory_Click();
    void h_Click();
    void About__Click();
    // Scrolls the help list to the section with this title.
    void ShowHelpSection(const QString& title);

    // 1 while the graph panel is enlarged, else 0.
    std::int16_t pik() const { return pik_; }
    void setPik(std::int16_t pik) { pik_ = pik; }

    const ControlSet& controls() const { return controls_; }
    SpinDiagram& spinDiagram() const { return *spins_; }
    SpinEditors& spinEditors() const { return *spinEditors_; }
    WordMark& wordMark() const { return *wordMark_; }

Q_SIGNALS:
    // A recalculation got past the hidden-window check.
    void runStarted();
    // A recalculation went on to draw the curves.
    void curvesStarted();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void BuildMenus();
    void ConnectHandlers();
    void RoutePointer();
    void SetTabOrder();
    ModelTexts ReadModel() const;
    GraphSettings ReadGraphSettings() const;
    void SelectStartItem(QComboBox* list, int index, const std::function<void()>& handler);
    void PlaceTwips(QWidget* widget, int left, int top, int width, int height) const;

    TwipScale scale_;
    DrawnSurface* clientArea_;
    ControlSet controls_;
    OptionsPanel* options_;  // Frame1(0)
    SpinDiagram* spins_;
    std::array<QLineEdit*, kLorentzianCount> weights_{};     // Text7
    std::array<QLineEdit*, kLorentzianCount> normalised_{};  // Text5
    std::array<QLineEdit*, kLorentzianCount> times_{};       // Text8
    std::array<QComboBox*, 3> combo1_{};                     // Combo1(1) Rex, Combo1(2) CSA
    QComboBox* combo2_;
    QComboBox* combo4_;
    QPushButton* command1_;
    QPushButton* command3_;
    QLineEdit* text3_;
    ResultsList* list3_;
    GraphCanvas* picture1_;
    WordMark* wordMark_;
    PointerRouter* router_;
    EventHooks* keys_;
    SpinEditors* spinEditors_ = nullptr;
    std::unique_ptr<LorentzianEntry> lorentzians_;
    std::unique_ptr<HelpPanels> help_;
    std::unique_ptr<GraphInteraction> graph_;
    std::unique_ptr<RunReport> report_;
    Recalculation recalculation_;
    std::uint64_t runCount_ = 0;  // recalculations that got past the hidden-window check
    std::int16_t pik_ = 0;
};

}  // namespace veldorin
