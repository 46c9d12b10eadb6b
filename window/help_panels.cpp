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

HelpPanels::HelpPanels(const TwipScale& scale, QListWidget* list1, QWidget* picture2,
                       QListWidget* list2)
    : scale_(scale), list1_(list1), picture2_(picture2), list2_(list2) {
    FillHelpList(list1_);
    // Every line fits the list's width instead of a horizontal scroll bar, which would take
    // the height of one of its five lines.
    list1_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FitHelpFont(list1_);
    // The About lines are few: a long one wraps rather than being cut.
    list2_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list2_->setWordWrap(true);
    list2_->addItems(AboutLines());
}

void HelpPanels::OpenTheory() { OpenAtTop(picture2_, scale_.ToPixels(kTheoryHeight)); }

void HelpPanels::OpenHelp() {
    keptTopLine_ = TopLine();
    OpenAtTop(list1_, scale_.ToPixels(kOpenHelpHeight));
}

void HelpPanels::OpenAbout() { OpenAtTop(list2_, scale_.ToPixels(kAboutHeight)); }

void HelpPanels::RestoreHelpList() {
    const bool wasOpen = HelpListOpen();
    list1_->setGeometry(list1_->x(), scale_.ToPixels(kHelpListPlace.top), list1_->width(),
                        scale_.ToPixels(kHelpListPlace.height));
    // The open list cannot scroll as far down as the small one, so opening it may have
    // moved its top line up.
    if (wasOpen) ShowHelpLine(list1_, keptTopLine_);
}

void HelpPanels::ShowSection(const QString& title) { ShowHelpSection(list1_, title); }

void HelpPanels::ShowLine(int row) { ShowHelpLine(list1_, row); }

// The list scrolls by whole lines, so its scroll value is the index of its top line.
int HelpPanels::TopLine() const { return list1_->verticalScrollBar()->value(); }

bool HelpPanels::HelpListOpen() const {
    return list1_->height() != scale_.ToPixels(kHelpListPlace.height) ||
           list1_->y() != scale_.ToPixels(kHelpListPlace.top);
}

}  // namespace veldorin
