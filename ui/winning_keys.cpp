// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/winning_keys.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>

namespace veldorin {

WinningKeys::WinningKeys(QObject* parent) : QObject(parent) {
    QCoreApplication::instance()->installEventFilter(this);
}

void WinningKeys::Add(QAction* action) { actions_.append(action); }

// The event stays ignored: unclaimed, it goes to the shortcuts.
bool WinningKeys::eventFilter(QObject*, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride) return false;
    const QKeySequence key(static_cast<const QKeyEvent*>(event)->keyCombination());
    for (const QAction* action : std::as_const(actions_)) {
        if (action && action->isEnabled() && action->shortcut() == key) return true;
    }
    return false;
}

}  // namespace veldorin
