// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QAction;

namespace veldorin {

// Keeps the keyboard's focus from claiming the keys of some commands. Before a shortcut
// runs, the control with the focus may claim its key for itself, and a text box claims
// several Ctrl keys on Linux desktops (Ctrl+E is the end of the line). Installed on the
// application, this lets no control claim the key of an enabled action it was given, so
// that action's shortcut runs wherever the keyboard is; where the action's shortcut does
// not apply (a modal dialog), the key still reaches the control.
class WinningKeys : public QObject {
    Q_OBJECT

public:
    explicit WinningKeys(QObject* parent);

    void Add(QAction* action);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QPointer<QAction>> actions_;
};

}  // namespace veldorin
