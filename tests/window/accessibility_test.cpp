// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QAccessible>
#include <QSet>

#include "tests/support/window_fixture.h"

namespace veldorin::test {
namespace {

// What takes input or shows a result; a label showing nothing yet says what it will show.
const QSet<QAccessible::Role> kNamedRoles{
    QAccessible::EditableText, QAccessible::ComboBox, QAccessible::PushButton, QAccessible::List,
    QAccessible::Table,        QAccessible::Tree,     QAccessible::Chart,
};

// Every unnamed control under the interface, hidden ones included, by its class.
void CollectUnnamed(QAccessibleInterface* node, QStringList& unnamed) {
    const QAccessible::Role role = node->role();
    if (node->text(QAccessible::Name).trimmed().isEmpty() &&
        (kNamedRoles.contains(role) ||
         (role == QAccessible::StaticText && node->text(QAccessible::Description).isEmpty()))) {
        unnamed << node->object()->metaObject()->className() + node->object()->objectName();
    }
    for (int i = 0; i < node->childCount(); ++i) CollectUnnamed(node->child(i), unnamed);
}

class Accessibility : public WindowTest {};

// In the main window and in the tool windows beside it.
TEST_F(Accessibility, EveryControlThatTakesInputOrShowsAResultIsNamed) {
    QStringList unnamed;
    QList<QWidget*> windows = Started().findChildren<QWidget*>();
    windows << window_.get();
    for (QWidget* shown : windows) {
        if (!shown->isWindow() || shown->windowType() == Qt::Popup) continue;
        CollectUnnamed(QAccessible::queryAccessibleInterface(shown), unnamed);
    }
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(", ").toStdString();
}

}  // namespace
}  // namespace veldorin::test
