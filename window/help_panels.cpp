// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/help_panels.h"

#include <QListWidget>
#include <QScrollBar>

#include "help/help_list.h"
#include "help/help_text.h"
#include "window/layout.h"

namespace veldorin {

namespace {

// Heights and places of the open panels, in twips; lefts and widths stay as designed.
constexpr int kTheoryHeight = 7515;
constexpr int kOpenHelpHeight = 7500;
constexpr int kAboutHeight = 3765;

void OpenAtTop(QWidget* panel, int height) {
    panel->setGeometry(panel->x(), 0, panel->width(), height);
    panel->show();
    // Over the word mark and the graph, which lie in front of it in the design's order.
    panel->raise();
}

}  // namespace

HelpPanels::HelpPanels(const TwipScale& scale, QListWidget* helpList, QWidget* theoryPage,
                       QListWidget* aboutList)
    : scale_(scale), helpList_(helpList), theoryPage_(theoryPage), aboutList_(aboutList) {
    FillHelpList(helpList_);
    // Every line fits the list's width instead of a horizontal scroll bar, which would take
    // the height of one of its five lines.
    helpList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FitHelpFont(helpList_);
    // The About lines are few: a long one wraps rather than being shortened.
    aboutList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    aboutList_->setWordWrap(true);
    aboutList_->addItems(AboutLines());
}

void HelpPanels::OpenTheory() { OpenAtTop(theoryPage_, scale_.ToPixels(kTheoryHeight)); }

void HelpPanels::OpenHelp() {
    keptTopLine_ = TopLine();
    OpenAtTop(helpList_, scale_.ToPixels(kOpenHelpHeight));
}

void HelpPanels::OpenAbout() { OpenAtTop(aboutList_, scale_.ToPixels(kAboutHeight)); }

void HelpPanels::RestoreHelpList() {
    const bool wasOpen = HelpListOpen();
    helpList_->setGeometry(helpList_->x(), scale_.ToPixels(kHelpListPlace.top), helpList_->width(),
                           scale_.ToPixels(kHelpListPlace.height));
    // The open list cannot scroll as far down as the small one, so opening it may have
    // moved its top line up.
    if (wasOpen) ShowHelpLine(helpList_, keptTopLine_);
}

void HelpPanels::ShowSection(const QString& title) { ShowHelpSection(helpList_, title); }

void HelpPanels::ShowLine(int row) { ShowHelpLine(helpList_, row); }

// The list scrolls by whole lines, so its scroll value is the index of its top line.
int HelpPanels::TopLine() const { return helpList_->verticalScrollBar()->value(); }

bool HelpPanels::HelpListOpen() const {
    return helpList_->height() != scale_.ToPixels(kHelpListPlace.height) ||
           helpList_->y() != scale_.ToPixels(kHelpListPlace.top);
}

}  // namespace veldorin
