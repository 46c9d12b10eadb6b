// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "help/help_list.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QListWidget>
#include <QScrollBar>
#include <algorithm>

#include "help/help_text.h"

namespace veldorin {

namespace {

// The title line and the empty line under it.
constexpr int kSectionHeadLines = 2;
// Smaller text no longer reads; the list would rather shorten a line.
constexpr int kSmallestPixels = 6;

qreal WidestLine(const QFont& font) {
    const QFontMetricsF metrics(font);
    qreal widest = 0.0;
    for (const QString& line : HelpLines()) {
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    return widest;
}

qreal LineRoom(const QListWidget& list) {
    const QStyle* style = list.style();
    const int scrollBar =
        style->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list.verticalScrollBar());
    // A line is drawn a focus-frame margin and one pixel in from either end of its row.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &list) + 1;
    return list.width() - 2 * list.frameWidth() - scrollBar - 2 * margin;
}

}  // namespace

void FillHelpList(QListWidget* list) {
    list->clear();
    list->addItems(HelpLines());
    // A scroll step of one line lets the list stop with any line at the top.
    list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
}

void FitHelpFont(QListWidget* list) {
    // The lines are fitted beside the scroll bar, so it stays even where all would show.
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    list->setTextElideMode(Qt::ElideNone);
    const qreal room = LineRoom(*list);
    QFont font = list->font();
    // Fonts are drawn at whole pixel sizes: one pixel smaller is the next size there is.
    int pixels = QFontInfo(font).pixelSize();
    while (WidestLine(font) > room && pixels > kSmallestPixels) font.setPixelSize(--pixels);
    list->setFont(font);
}

void ShowHelpLine(QListWidget* list, int row) {
    const int last = list->count() - 1;
    if (last < 0) return;
    list->scrollToItem(list->item(std::clamp(row, 0, last)), QAbstractItemView::PositionAtTop);
}

void ShowHelpSection(QListWidget* list, const QString& title) {
    QStringList lines;
    lines.reserve(list->count());
    for (int i = 0; i < list->count(); ++i) lines.append(list->item(i)->text());
    const int index = HelpSectionIndex(lines, title);
    if (index < 0) return;
    ShowHelpLine(list, index + kSectionHeadLines);
}

}  // namespace veldorin
