// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/pointer_router.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

namespace veldorin {

PointerRouter::PointerRouter(QWidget* window) : QObject(window), window_(window) {
    // The application sees every move first, even over widgets that track nothing, so
    // controls need no pointer code of their own.
    QCoreApplication::instance()->installEventFilter(this);
}

void PointerRouter::Absorb(QWidget* control) { handlers_.insert(control, Handler{}); }

void PointerRouter::SetHandler(QWidget* control, Handler handler) {
    control->setMouseTracking(true);
    handlers_.insert(control, std::move(handler));
}

bool PointerRouter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseMove || !watched->isWidgetType()) return false;
    const auto& move = static_cast<const QMouseEvent&>(*event);
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->window() != window_) return false;
    if (move.buttons() != Qt::NoButton) {
        RouteHeldMove(move);
        return false;
    }
    if (!Route(widget, move.position())) return false;
    event->accept();  // handled here: the move must not reach the owner's parents
    return true;
}

void PointerRouter::RouteHeldMove(const QMouseEvent& move) {
    const std::pair<quint64, QPointF> key{move.timestamp(), move.globalPosition()};
    if (key == lastHeldMove_) return;
    lastHeldMove_ = key;
    const QPoint inWindow = window_->mapFromGlobal(move.globalPosition()).toPoint();
    QWidget* under = window_->childAt(inWindow);
    if (under == nullptr) return;  // off the window, or over its frame
    Route(under, under->mapFromGlobal(move.globalPosition()));
}

bool PointerRouter::Route(QWidget* widget, QPointF position) {
    for (const QWidget* owner = widget; owner != nullptr; owner = owner->parentWidget()) {
        if (!owner->isEnabled()) continue;
        const auto found = handlers_.constFind(owner);
        if (found == handlers_.constEnd()) continue;
        if (*found) (*found)(widget->mapTo(owner, position));
        return true;
    }
    return false;
}

}  // namespace veldorin
