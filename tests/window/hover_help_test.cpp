// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolTip>

#include "help/help_list.h"
#include "help/help_text.h"
#include "tests/support/window_fixture.h"
#include "window/word_mark.h"

namespace veldorin::test {
namespace {

class HoverHelp : public WindowTest {
protected:
    QListWidget* HelpList() const { return controls().helpList; }
    int TopLine() const { return HelpList()->indexAt(QPoint(1, 1)).row(); }
    int TextLineOf(QLatin1StringView title) const {
        return HelpSectionIndex(HelpLines(), title) + 2;
    }
    // A real move from somewhere neutral, so that the move under test is a change of place.
    void MoveOver(QWidget* target, QPoint at) {
        QTest::mouseMove(window_->centralWidget(), QPoint(260, 5));
        QTest::mouseMove(target, at);
    }
    void ChooseMenu(const char* name) {
        QMenuBar* bar = window_->menuBar();
        for (QAction* action : bar->actions()) {
            if (action->objectName() == QLatin1String(name)) {
                QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(action).center());
                return;
            }
        }
        ADD_FAILURE() << "no menu item " << name;
    }
};

constexpr int kNoLine = -1;

struct HoverRow {
    const char* name;
    ControlOf control;  // null: the client area
    int letter;         // a word-mark letter instead of a control; -1: none
    QPoint at;          // in the control
    const char* title;  // section the help list scrolls to; null: it stays
    int line;           // line it scrolls to without a title; kNoLine: none
    bool closes;        // an open panel closes
};

using C = WindowControls;

// What a move over each part of the window does to the help list and to an open panel.
// Bare background, frames, disabled controls and the graph panel reset the panels; other
// controls keep the pointer moves over them to themselves. Array mode is on, so that its
// range caption and boxes show.
const HoverRow kHoverRows[] = {
    {"ci box", Of<&C::weightBoxes, 0>, -1, {10, 5}, kHelpLorentzians.data(), kNoLine, false},
    {"ti box", Of<&C::timeBoxes, 5>, -1, {10, 5}, kHelpLorentzians.data(), kNoLine, false},
    {"array button", Of<&C::arrayButton>, -1, {10, 5}, kHelpArray.data(), kNoLine, false},
    {"range caption", Of<&C::arrayRangeCaption>, -1, {5, 5}, kHelpArray.data(), kNoLine, false},
    {"results list", Of<&C::resultsList>, -1, {100, 40}, kHelpTable.data(), kNoLine, false},
    {"graph panel", Of<&C::graphCanvas>, -1, {100, 100}, kHelpPlot.data(), kNoLine, true},
    {"spin frame", Of<&C::spinFrame>, -1, {20, 150}, kHelpSpinSystem.data(), kNoLine, true},
    {"first word-mark letter", nullptr, 0, {3, 5}, nullptr, kHelpWordMarkLine, false},
    {"last word-mark letter", nullptr, 17, {3, 5}, nullptr, kHelpWordMarkLine, false},
    {"readout label", Of<&C::verticalReadout>, -1, {5, 5}, nullptr, kNoLine, false},
    {"rates button", Of<&C::tableModeButton>, -1, {10, 5}, nullptr, kNoLine, false},
    {"graph option list", Of<&C::plotList>, -1, {10, 5}, nullptr, kNoLine, false},
    {"Rex list", Of<&C::rexBox>, -1, {10, 5}, nullptr, kNoLine, false},
    {"help list", Of<&C::helpList>, -1, {100, 30}, nullptr, kNoLine, false},
    {"disabled axis caption", Of<&C::axisCaption>, -1, {40, 8}, nullptr, kNoLine, true},
    {"disabled normalised weight",
     Of<&C::normalisedWeightBoxes, 2>,
     -1,
     {10, 5},
     nullptr,
     kNoLine,
     true},
    {"disabled range box over the caption",
     Of<&C::arrayFromBox>,
     -1,
     {10, 5},
     nullptr,
     kNoLine,
     true},
    {"failure line, empty", Of<&C::failureLine>, -1, {5, 5}, nullptr, kNoLine, true},
    {"bare background", nullptr, -1, {300, 420}, nullptr, kNoLine, true},
};

constexpr int kStartLine = 30;  // not the first text line of any section

TEST_F(HoverHelp, EachPartOfTheWindowShowsItsTopicOrLeavesTheList) {
    Started();
    QTest::mouseClick(controls().arrayButton, Qt::LeftButton);
    for (const auto& row : kHoverRows) {
        ShowHelpLine(HelpList(), kStartLine);
        // An open panel, kept behind everything so that it does not catch the pointer.
        controls().aboutList->show();
        controls().aboutList->lower();
        QWidget* target = row.letter >= 0 ? window_->wordMark().letter(row.letter)
                          : row.control   ? Reached(row.control)
                                          : window_->centralWidget();

        MoveOver(target, row.at);

        int expected = kStartLine;
        if (row.title != nullptr) expected = TextLineOf(QLatin1StringView(row.title));
        if (row.line != kNoLine) expected = row.line;
        EXPECT_EQ(TopLine(), expected) << row.name;
        EXPECT_EQ(!controls().aboutList->isVisible(), row.closes) << row.name;
    }
}

// Every control the table gives a help section scrolls the list there.
TEST_F(HoverHelp, EveryControlWithAHelpSectionScrollsToIt) {
    Started();
    QTest::mouseClick(controls().arrayButton, Qt::LeftButton);
    for (const auto& [control, section] : controls().helpSections) {
        ShowHelpLine(HelpList(), kStartLine);
        MoveOver(control, QPoint(3, 3));
        EXPECT_EQ(TopLine(), TextLineOf(section)) << section.data();
    }
}

// A disabled control leaves the pointer to the client area: an open panel closes and the
// help list stays where it was.
TEST_F(HoverHelp, ADisabledControlLeavesThePointerToTheWindow) {
    Started();
    int checked = 0;
    for (QWidget* control :
         window_->centralWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!control->isVisible() || control->isEnabled()) continue;
        ShowHelpLine(HelpList(), kStartLine);
        controls().aboutList->show();
        controls().aboutList->lower();
        MoveOver(control, QPoint(3, 3));
        const std::string name = control->accessibleName().toStdString();
        EXPECT_EQ(TopLine(), kStartLine) << name;
        EXPECT_FALSE(controls().aboutList->isVisible()) << name;
        ++checked;
    }
    EXPECT_GE(checked, 4);
}

TEST_F(HoverHelp, WeightsThenResultsThenWeightsScrollThereAndBack) {
    Started();
    MoveOver(controls().weightBoxes[3], QPoint(5, 5));
    EXPECT_EQ(TopLine(), TextLineOf(kHelpLorentzians));
    MoveOver(controls().resultsList, QPoint(50, 50));
    EXPECT_EQ(TopLine(), TextLineOf(kHelpTable));
    MoveOver(controls().timeBoxes[0], QPoint(5, 5));
    EXPECT_EQ(TopLine(), TextLineOf(kHelpLorentzians));
}

// The help list scrolls to the table while a row's tooltip explains its numbers.
TEST_F(HoverHelp, AResultsRowScrollsToTheTableAndShowsItsContributions) {
    Started();
    auto* results = controls().resultsList;
    const QPoint row = results->visualItemRect(results->item(5)).center();
    MoveOver(results->viewport(), row);
    EXPECT_EQ(TopLine(), TextLineOf(kHelpTable));

    QHelpEvent ask(QEvent::ToolTip, row, results->viewport()->mapToGlobal(row));
    QCoreApplication::sendEvent(results->viewport(), &ask);
    EXPECT_TRUE(QToolTip::text().startsWith("Rates at 600 MHz, 1/s\n"));
    QToolTip::hideText();
}

TEST_F(HoverHelp, TheLastLineShowsTheLastPageOfFiveWholeLines) {
    Started();
    EXPECT_EQ(HelpList()->count(), HelpLines().size());
    EXPECT_FALSE(HelpList()->horizontalScrollBar()->isVisible());
    EXPECT_TRUE(
        HelpList()->viewport()->rect().contains(HelpList()->visualItemRect(HelpList()->item(4))));

    ShowHelpLine(HelpList(), HelpList()->count() - 1);

    const QScrollBar* bar = HelpList()->verticalScrollBar();
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_EQ(TopLine(), HelpList()->count() - 5);
    const QRect last = HelpList()->visualItemRect(HelpList()->item(HelpList()->count() - 1));
    EXPECT_TRUE(HelpList()->viewport()->rect().contains(last));
}

TEST_F(HoverHelp, EverySectionAHoverShowsHasItsTitleInTheHelpText) {
    Started();
    std::vector<QLatin1StringView> titles{kHelpSpinSystem, kHelpPlot};
    for (const auto& [control, section] : window_->controls().helpSections) {
        titles.push_back(section);
    }
    QStringList lines;
    for (int i = 0; i < HelpList()->count(); ++i) lines.append(HelpList()->item(i)->text());
    for (const QLatin1StringView title : titles) {
        EXPECT_GE(HelpSectionIndex(lines, title), 0) << title.data();
    }
}

// Each menu item opens its panel; checks whether that panel is the one open.
struct MenuRow {
    const char* item;
    bool (*isOpen)(const WindowControls&);
};

bool OptionsOpen(const WindowControls& c) { return c.optionsPanel->isVisible(); }
bool TheoryOpen(const WindowControls& c) { return c.theoryPage->isVisible(); }
bool HelpOpen(const WindowControls& c) { return c.helpList->y() == 0; }
bool AboutOpen(const WindowControls& c) { return c.aboutList->isVisible(); }

const MenuRow kMenus[] = {
    {"Options", OptionsOpen}, {"Theory", TheoryOpen}, {"h", HelpOpen}, {"About_", AboutOpen}};

TEST_F(HoverHelp, EveryMenuItemClosesThePanelAnotherOneOpened) {
    Started();
    for (const auto& first : kMenus) {
        for (const auto& second : kMenus) {
            ChooseMenu(first.item);
            ASSERT_TRUE(first.isOpen(controls())) << first.item;
            ChooseMenu(second.item);
            for (const auto& other : kMenus) {
                EXPECT_EQ(other.isOpen(controls()), &other == &second)
                    << first.item << " then " << second.item << ": " << other.item;
            }
        }
    }
}

TEST_F(HoverHelp, PanelsOpenOverTheTopOfTheWindowAtTheirHeights) {
    Started();
    ChooseMenu("Theory");
    EXPECT_EQ(controls().theoryPage->geometry(), QRect(8, 0, 513, 501));
    ChooseMenu("h");
    EXPECT_EQ(controls().helpList->geometry(), QRect(16, 0, 499, 500));
    ChooseMenu("About_");
    EXPECT_EQ(controls().aboutList->geometry(), QRect(32, 0, 489, 251));
    QStringList about;
    for (int i = 0; i < controls().aboutList->count(); ++i) {
        about.append(controls().aboutList->item(i)->text());
    }
    EXPECT_EQ(about, AboutLines());
    ChooseMenu("Options");
    EXPECT_EQ(controls().optionsPanel->geometry(), QRect(8, 0, 393, 217));
    EXPECT_FALSE(controls().optionsPanel->directoryList()->isVisible());
}

TEST_F(HoverHelp, PanelsCoverTheWordMarkAndTheGraph) {
    Started();
    const QWidget* clientArea = window_->centralWidget();
    const QLabel* letter = window_->wordMark().letter(3);
    const QPoint onLetter = letter->geometry().center();
    const QPoint onGraph = controls().graphCanvas->geometry().center();
    for (const char* item : {"Theory", "h"}) {
        ChooseMenu(item);
        const QWidget* panel = std::string_view(item) == "h"
                                   ? static_cast<QWidget*>(controls().helpList)
                                   : controls().theoryPage;
        for (const QPoint at : {onLetter, onGraph}) {
            const QWidget* top = clientArea->childAt(at);
            EXPECT_TRUE(top == panel || panel->isAncestorOf(top)) << item;
        }
    }
}

TEST_F(HoverHelp, TheoryWhileAboutIsOpenReplacesItUntilThePointerReachesTheEdge) {
    Started();
    ChooseMenu("About_");
    ChooseMenu("Theory");
    EXPECT_FALSE(controls().aboutList->isVisible());
    ASSERT_TRUE(controls().theoryPage->isVisible());

    MoveOver(controls().theoryPage, QPoint(250, 250));
    EXPECT_TRUE(controls().theoryPage->isVisible());

    // The right margin, beside the page.
    MoveOver(window_->centralWidget(), QPoint(527, 300));
    EXPECT_FALSE(controls().theoryPage->isVisible());
}

struct ScrolledRow {
    QLatin1StringView title;
    ControlOf control;
    QPoint at;
};

TEST_F(HoverHelp, TheHelpListGoesBackToItsPlaceScrolledWhereItWas) {
    Started();
    const ScrolledRow rows[] = {{kHelpSpinSystem, Of<&C::spinFrame>, {20, 150}},
                                {kHelpTable, Of<&C::resultsList>, {50, 50}}};
    for (const auto& row : rows) {
        MoveOver(Reached(row.control), row.at);
        const int before = TopLine();
        ASSERT_EQ(before, TextLineOf(row.title));

        ChooseMenu("h");
        ASSERT_EQ(controls().helpList->geometry(), QRect(16, 0, 499, 500));
        // The bottom margin, under the open list.
        MoveOver(window_->centralWidget(), QPoint(300, 510));

        EXPECT_EQ(controls().helpList->geometry(), QRect(16, 432, 499, 69)) << row.title.data();
        EXPECT_EQ(TopLine(), before) << row.title.data();
    }
}

TEST_F(HoverHelp, TheOptionsPanelHidesItsListUnderThePointerAndClosesBesideIt) {
    Started();
    ChooseMenu("Options");
    QTest::mouseClick(controls().optionsPanel->directoryBox(), Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_TRUE(controls().optionsPanel->directoryList()->isVisible());
    ShowHelpLine(HelpList(), kStartLine);

    // The panel's own background, on its separator line.
    MoveOver(controls().optionsPanel, QPoint(200, 144));
    EXPECT_FALSE(controls().optionsPanel->directoryList()->isVisible());
    EXPECT_TRUE(controls().optionsPanel->isVisible());
    EXPECT_EQ(TopLine(), TextLineOf(kHelpSpinSystem));

    // The strip of the spin-system frame left of the panel.
    MoveOver(controls().spinFrame, QPoint(3, 100));
    EXPECT_FALSE(controls().optionsPanel->isVisible());
}

}  // namespace
}  // namespace veldorin::test
