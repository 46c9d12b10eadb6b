// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringList>

class QComboBox;
class QWidget;

namespace veldorin {

// The nucleus menu: a closed drop-down list laid over the pressed nucleus box,
// showing the box's nucleus until the user opens the list and chooses another.
class NucleusMenu {
public:
    explicit NucleusMenu(QComboBox& list);

    // What a slot may hold: a neighbour may also be empty or "Like" the central nucleus.
    static QStringList ItemsFor(int slot);

    // Lays the menu over the box, its top-left corner on the box's, and fills it for the
    // slot with the box's text shown and no item chosen yet.
    void OpenOver(const QWidget& box, int slot, const QString& nucleus);
    // Opens the list with the keyboard in it, on the shown nucleus: the arrows start
    // there, and Enter on it chooses it again.
    void OpenList();
    void Hide();

    QComboBox& list() const { return list_; }

private:
    QComboBox& list_;
};

}  // namespace veldorin
