#include "help/help_list.h"

#include <QListWidget>
#include <algorithm>

#include "help/help_text.h"

namespace veldorin {

namespace {
// The title line and the empty line under it.
constexpr int kSectionHeadLines = 2;
}  // namespace

void FillHelpList(QListWidget* list) {
    list->clear();
    list->addItems(HelpLines());
    // A scroll step of one line lets the list stop with any line at the top.
    list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
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
