// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "help/help_list.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetricsF>
#include <QListWidget>
#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <algorithm>

#include "help/help_text.h"
#include "ui/design_font.h"

namespace veldorin {
namespace {

int Pixels(const QWidget& widget, int twips) { return twips * widget.logicalDpiY() / 1440; }

// The help list as the window shows it: 7485 x 1035 twips, bold 8.25 point text, five
// lines to a page and no horizontal scroll bar, which would take a line's height.
class HelpList : public testing::Test {
protected:
    void SetUp() override {
        list_.setFont(DesignFont(kNormalPoints));
        list_.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        FillHelpList(&list_);
        Resize(1035);
        list_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&list_));
    }

    void Resize(int heightTwips) {
        list_.resize(Pixels(list_, 7485), Pixels(list_, heightTwips));
        QCoreApplication::processEvents();
    }

    int TopRow() const { return list_.indexAt(QPoint(2, 2)).row(); }

    bool FullyVisible(int row) const {
        const QRect rect = list_.visualItemRect(list_.item(row));
        return list_.viewport()->rect().contains(rect);
    }

    int Index(QLatin1StringView title) const { return HelpSectionIndex(HelpLines(), title); }

    QListWidget list_;
};

TEST_F(HelpList, SectionOpensWithItsFirstTextLineAtTheTop) {
    for (QLatin1StringView title : {kHelpIntroduction, kHelpInstallation, kHelpSpinSystem,
                                    kHelpLorentzians, kHelpArray, kHelpPlot}) {
        ShowHelpSection(&list_, title);
        EXPECT_EQ(TopRow(), Index(title) + 2) << title.data();
    }
}

// Tall enough for the last section's ten lines.
TEST_F(HelpList, LastSectionShowsTheListsLastPage) {
    Resize(2 * 1035);
    ShowHelpSection(&list_, kHelpTitles.back());
    EXPECT_EQ(TopRow(), Index(kHelpTitles.back()) + 2);
    EXPECT_TRUE(FullyVisible(list_.count() - 1));
    EXPECT_EQ(list_.verticalScrollBar()->value(), list_.verticalScrollBar()->maximum());
}

TEST_F(HelpList, SectionTooCloseToTheEndForATallerListShowsTheLastPageInstead) {
    Resize(4 * 1035);
    ShowHelpSection(&list_, kHelpTitles.back());
    EXPECT_TRUE(FullyVisible(list_.count() - 1));
    EXPECT_LT(TopRow(), Index(kHelpTitles.back()) + 2);
    EXPECT_EQ(list_.verticalScrollBar()->value(), list_.verticalScrollBar()->maximum());
}

TEST_F(HelpList, FillingAgainReplacesTheLines) {
    FillHelpList(&list_);
    EXPECT_EQ(list_.count(), HelpLines().size());
    EXPECT_EQ(list_.item(0)->text(), kHelpIntroduction);
}

TEST_F(HelpList, HoveringBackAndForthReturnsToTheSamePlace) {
    ShowHelpSection(&list_, kHelpLorentzians);
    const int first = TopRow();
    ShowHelpSection(&list_, kHelpTable);
    EXPECT_NE(TopRow(), first);
    ShowHelpSection(&list_, kHelpLorentzians);
    EXPECT_EQ(TopRow(), first);
}

TEST_F(HelpList, UnknownTitleLeavesTheListWhereItIs) {
    ShowHelpSection(&list_, kHelpArray);
    const int before = TopRow();
    ShowHelpSection(&list_, QStringLiteral("array"));
    ShowHelpSection(&list_, QString());
    EXPECT_EQ(TopRow(), before);
}

TEST_F(HelpList, WordMarkLineGoesToTheTop) {
    ShowHelpSection(&list_, kHelpTable);
    ShowHelpLine(&list_, kHelpWordMarkLine);
    EXPECT_EQ(TopRow(), kHelpWordMarkLine);
}

TEST_F(HelpList, EnlargedListStillScrollsToTheSection) {
    Resize(7500);
    ShowHelpSection(&list_, kHelpSpinSystem);
    EXPECT_EQ(TopRow(), Index(kHelpSpinSystem) + 2);
    ShowHelpSection(&list_, kHelpTitles.back());
    EXPECT_TRUE(FullyVisible(list_.count() - 1));
}

qreal WidestHelpLine(const QFont& font) {
    const QFontMetricsF metrics(font);
    qreal widest = 0.0;
    for (const QString& line : HelpLines()) {
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    return widest;
}

// The window's font where the longest line fits, else the largest pixel size where it does.
TEST(HelpListFont, IsTheLargestInWhichEveryLineShowsWhole) {
    const QFont designFont = DesignFont(kNormalPoints);
    for (const int widthTwips : {7485, 6000, 4500}) {
        QListWidget list;
        list.setFont(designFont);
        FillHelpList(&list);
        list.resize(Pixels(list, widthTwips), Pixels(list, 1035));
        FitHelpFont(&list);
        list.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));

        const int margin =
            list.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &list) + 1;
        const qreal room = list.visualItemRect(list.item(0)).width() - 2 * margin;
        const QFont fitted = list.font();
        EXPECT_LE(WidestHelpLine(fitted), room) << widthTwips;
        EXPECT_EQ(list.textElideMode(), Qt::ElideNone);
        const int pixels = QFontInfo(fitted).pixelSize();
        if (pixels == QFontInfo(designFont).pixelSize()) continue;
        QFont larger = fitted;
        larger.setPixelSize(pixels + 1);
        EXPECT_GT(WidestHelpLine(larger), room) << widthTwips;
    }
}

TEST(HelpListScrolling, EmptyListAndRowsBeyondTheEndAreHarmless) {
    QListWidget list;
    ShowHelpLine(&list, 4);
    ShowHelpSection(&list, kHelpTable);
    list.addItems({QStringLiteral("a"), QStringLiteral("b")});
    ShowHelpLine(&list, 40);
    ShowHelpLine(&list, -3);
    EXPECT_EQ(list.count(), 2);
}

}  // namespace
}  // namespace veldorin
