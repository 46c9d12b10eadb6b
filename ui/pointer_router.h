// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QHash>
#include <QObject>
#include <QPointF>
#include <functional>
#include <utility>

class QMouseEvent;
class QWidget;

namespace veldorin {

// Delivers pointer moves to the control under the pointer, as each control of the
// window has its own move handler: a move over a registered control (or over any part
// of it, such as a list's viewport) runs that control's handler, if it has one. A
// disabled control takes no pointer moves: a move over it belongs to its parent, in the
// end the client area itself, whatever other control lies below it. Moves with a button
// held are routed the same way, by where the pointer is, and still reach the control
// that took the press, which may be dragging a selection or a scroll bar.
class PointerRouter : public QObject {
    Q_OBJECT

public:
    // Given the pointer's position in the control that owns the handler.
    using Handler = std::function<void(QPointF position)>;

    explicit PointerRouter(QWidget* window);

    // Moves over the control stay with it; nothing happens.
    void Absorb(QWidget* control);
    // Moves over the control run the handler.
    void SetHandler(QWidget* control, Handler handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Runs the handler of the registered control that owns `widget`; false when none does.
    bool Route(QWidget* widget, QPointF position);
    void RouteHeldMove(const QMouseEvent& move);

    QWidget* window_;
    QHash<const QWidget*, Handler> handlers_;
    // The last move with a button held that was routed. The toolkit offers a move that
    // the pressed control leaves alone to each of its parents in turn; it counts once.
    std::pair<quint64, QPointF> lastHeldMove_;
};

}  // namespace veldorin
