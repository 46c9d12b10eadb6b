// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

namespace veldorin {

// Runs a control's handler when the user releases a key in it, presses a mouse button
// on it, clicks it or presses Enter or Space in it. The events still reach the controls
// afterwards, except the Enter or Space that ran a handler.
class EventHooks : public QObject {
    Q_OBJECT

public:
    using Handler = std::function<void()>;

    explicit EventHooks(QObject* parent);

    // A held key repeats as pairs of press and release that the system marks as
    // auto-repeat; only the final release of a held key counts, so holding a key down
    // commits and recalculates once.
    void OnKeyRelease(QWidget* control, Handler handler);
    // A press of any button; the second press of a double click counts too.
    void OnPress(QWidget* control, Handler handler);
    // The left button pressed and then released over the same control.
    void OnClick(QWidget* control, Handler handler);
    // Enter, Return or Space pressed, what a click is to the keyboard; a held key counts
    // once.
    void OnActivationKey(QWidget* control, Handler handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Watch(QWidget* control);
    bool WatchesPointer(const QObject* control) const;
    void Press(QObject* control, const QEvent& event);
    void Release(const QObject* control, const QEvent& event);

    QHash<const QObject*, Handler> keyReleases_;
    QHash<const QObject*, Handler> presses_;
    QHash<const QObject*, Handler> clicks_;
    QHash<const QObject*, Handler> activations_;
    // Where the left button last went down, if on a control watched for the pointer.
    QPointer<QObject> pressedForClick_;
};

}  // namespace veldorin
