// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "spins/nucleus_menu.h"

#include <QAbstractItemView>
#include <QComboBox>

#include "engine/model.h"
#include "spins/spin_diagram.h"
#include "ui/slim_arrow_style.h"
#include "ui/spoken_name.h"

namespace veldorin {

NucleusMenu::NucleusMenu(QComboBox& list) : list_(list) {
    auto* style = new SlimArrowStyle;
    style->setParent(&list_);
    list_.setStyle(style);
}

QStringList NucleusMenu::ItemsFor(int slot) {
    QStringList items;
    for (std::string_view name : OfferedNuclei(slot)) {
        items << QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
    }
    return items;
}

void NucleusMenu::OpenOver(const QWidget& box, int slot, const QString& nucleus) {
    list_.move(list_.parentWidget()->mapFromGlobal(box.mapToGlobal(QPoint(0, 0))));
    list_.show();
    SetSpokenName(list_, SpokenNucleus(slot));
    list_.clear();
    // The shown text is the nucleus itself, not an item: an item chosen from the list
    // is applied even when it is the nucleus already set.
    list_.setPlaceholderText(nucleus);
    list_.addItems(ItemsFor(slot));
    list_.setCurrentIndex(-1);
}

void NucleusMenu::OpenList() {
    list_.setFocus(Qt::OtherFocusReason);
    list_.showPopup();
    const int shown = list_.findText(list_.placeholderText());
    if (shown >= 0) list_.view()->setCurrentIndex(list_.model()->index(shown, list_.modelColumn()));
}

void NucleusMenu::Hide() { list_.hide(); }

}  // namespace veldorin
