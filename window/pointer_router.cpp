#include "pointer_router.h"

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
    if (move.buttons() != Qt::NoButton) return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->window() != window_) return false;
    for (const QWidget* owner = widget; owner != nullptr; owner = owner->parentWidget()) {
        if (!owner->isEnabled()) continue;
        const auto found = handlers_.constFind(owner);
        if (found == handlers_.constEnd()) continue;
        if (*found) (*found)(widget->mapTo(owner, move.position()));
        event->accept();  // handled here: the move must not reach the owner's parents
        return true;
    }
    return false;
}

}  // namespace veldorin
