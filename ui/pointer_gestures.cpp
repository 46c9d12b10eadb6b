#include "ui/pointer_gestures.h"

#include <QMouseEvent>
#include <QWidget>

namespace veldorin {

PointerGestures::PointerGestures(QObject* parent) : QObject(parent) {}

void PointerGestures::OnPress(QWidget* control, Handler handler) {
    presses_.insert(control, std::move(handler));
    control->installEventFilter(this);
}

void PointerGestures::OnClick(QWidget* control, Handler handler) {
    clicks_.insert(control, std::move(handler));
    control->installEventFilter(this);
}

bool PointerGestures::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        // The second press of a double click arrives as a double click of its own.
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            const auto* press = static_cast<const QMouseEvent*>(event);
            const bool startsClick =
                event->type() == QEvent::MouseButtonPress && press->button() == Qt::LeftButton;
            pressedForClick_ = startsClick ? watched : nullptr;
            if (const auto found = presses_.constFind(watched); found != presses_.constEnd()) {
                (*found)();
            }
            break;
        }
        case QEvent::MouseButtonRelease: {
            const auto* release = static_cast<const QMouseEvent*>(event);
            if (release->button() != Qt::LeftButton || pressedForClick_ != watched) break;
            pressedForClick_ = nullptr;
            const auto* control = static_cast<const QWidget*>(watched);
            if (!control->rect().contains(release->position().toPoint())) break;
            if (const auto found = clicks_.constFind(watched); found != clicks_.constEnd()) {
                (*found)();
            }
            break;
        }
        default:
            break;
    }
    return false;
}

}  // namespace veldorin
