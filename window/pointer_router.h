#pragma once

#include <QHash>
#include <QObject>
#include <QPointF>
#include <functional>

class QWidget;

namespace veldorin {

// Delivers pointer moves made without a pressed button to the control under the
// pointer, as each control of the window has its own move handler: a move over a
// registered control (or over any part of it, such as a list's viewport) runs that
// control's handler, if it has one, and goes no further. A disabled control takes no
// pointer moves: a move over it belongs to its parent, in the end the client area
// itself, whatever other control lies below it.
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
    QWidget* window_;
    QHash<const QWidget*, Handler> handlers_;
};

}  // namespace veldorin
