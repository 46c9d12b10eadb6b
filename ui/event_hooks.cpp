// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/event_hooks.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace veldorin {
namespace {

void Run(const QHash<const QObject*, EventHooks::Handler>& handlers, const QObject* control) {
    if (const auto found = handlers.constFind(control); found != handlers.constEnd()) (*found)();
}

bool IsActivationKey(const QKeyEvent& key) {
    if (key.isAutoRepeat() || (key.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        return false;
    }
    return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter || key.key() == Qt::Key_Space;
}

}  // namespace

EventHooks::EventHooks(QObject* parent) : QObject(parent) {}

void EventHooks::OnKeyRelease(QWidget* control, Handler handler) {
    keyReleases_.insert(control, std::move(handler));
    Watch(control);
}

void EventHooks::OnPress(QWidget* control, Handler handler) {
    presses_.insert(control, std::move(handler));
    Watch(control);
}

void EventHooks::OnClick(QWidget* control, Handler handler) {
    clicks_.insert(control, std::move(handler));
    Watch(control);
}

void EventHooks::OnActivationKey(QWidget* control, Handler handler) {
    activations_.insert(control, std::move(handler));
    Watch(control);
}

// Installing the same filter again on a control leaves it installed once.
void EventHooks::Watch(QWidget* control) { control->installEventFilter(this); }

bool EventHooks::WatchesPointer(const QObject* control) const {
    return presses_.contains(control) || clicks_.contains(control);
}

bool EventHooks::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
            if (activations_.contains(watched) &&
                IsActivationKey(*static_cast<const QKeyEvent*>(event))) {
                Run(activations_, watched);
                return true;
            }
            break;
        case QEvent::KeyRelease:
            if (!static_cast<const QKeyEvent*>(event)->isAutoRepeat()) Run(keyReleases_, watched);
            break;
        // The second press of a double click arrives as a double click of its own.
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (WatchesPointer(watched)) Press(watched, *event);
            break;
        case QEvent::MouseButtonRelease: Release(watched, *event); break;
        default: break;
    }
    return false;
}

void EventHooks::Press(QObject* control, const QEvent& event) {
    const bool startsClick = event.type() == QEvent::MouseButtonPress &&
                             static_cast<const QMouseEvent&>(event).button() == Qt::LeftButton;
    pressedForClick_ = startsClick ? control : nullptr;
    Run(presses_, control);
}

void EventHooks::Release(const QObject* control, const QEvent& event) {
    const auto& release = static_cast<const QMouseEvent&>(event);
    if (release.button() != Qt::LeftButton || pressedForClick_ != control) return;
    pressedForClick_ = nullptr;
    const auto* widget = static_cast<const QWidget*>(control);
    if (widget->rect().contains(release.position().toPoint())) Run(clicks_, control);
}

}  // namespace veldorin
