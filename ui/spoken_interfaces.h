// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <vector>

namespace veldorin {

// Widgets a screen reader takes as one element, such as letters placed one by one that
// make one word. It lives under their parent, which lists it in its first part's place
// and leaves the parts out.
class SpokenWhole : public QObject {
    Q_OBJECT

public:
    SpokenWhole(const QString& name, const std::vector<QWidget*>& parts, QWidget& parent);

    const QString& name() const { return name_; }
    bool Holds(const QObject* object) const;
    // The parts' union on the screen; empty while none is shown.
    QRect ScreenRect() const;

private:
    QString name_;
    std::vector<QPointer<QWidget>> parts_;
};

// Gives screen readers the program's own interfaces where Qt's say less than the window
// shows: a drop-down list announced by its name with its text as its value, a window of
// its own with the role of a window, and a SpokenWhole in place of its parts. Qt makes a
// widget's interface at its first change, so this comes before any widget is made;
// installing again changes nothing.
void InstallSpokenInterfaces();

}  // namespace veldorin
