// The window's handlers of the menu, of the pointer moves that drive the help list, and of
// the graph panel's readout and enlarging.

#include "window/graph_interaction.h"
#include "window/help_panels.h"
#include "help/help_text.h"
#include "window/modeling.h"
#include "window/options_panel.h"

namespace veldorin {

void Modeling::ShowHelpSection(const QString& title) { help_->ShowSection(title); }

void Modeling::Options_Click() {
    ResetPanels();
    options_->Open();
}

void Modeling::Theory_Click() {
    ResetPanels();
    help_->OpenTheory();
}

void Modeling::h_Click() {
    ResetPanels();
    help_->OpenHelp();
}

void Modeling::About__Click() {
    ResetPanels();
    help_->OpenAbout();
}

void Modeling::Form_MouseMove() {
    ResetPanels();
    graph_->ClearReadout();
}

void Modeling::Frame1_MouseMove(int index) {
    if (options_->isVisible()) options_->HideDirectoryList();
    if (index == 1) ResetPanels();
    ShowHelpSection(kHelpSpinSystem);
}

// Every letter of the word mark shows the same line of the introduction.
void Modeling::Label16_MouseMove(int) { help_->ShowLine(kHelpWordMarkLine); }

void Modeling::Picture1_MouseMove(QPointF position) {
    if (pik_ == 0) ResetPanels();
    graph_->ShowReadout(position);
    ShowHelpSection(kHelpPlot);
}

void Modeling::Picture1_Click() {
    if (pik_ != 0) {
        ResetPanels();
        return;
    }
    if (!graph_->Enlarge(centralWidget()->size())) return;
    pik_ = 1;
    Recalculate();
}

}  // namespace veldorin
