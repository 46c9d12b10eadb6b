#include "ui/key_release_filter.h"

#include <QKeyEvent>
#include <QWidget>

namespace veldorin {

KeyReleaseFilter::KeyReleaseFilter(QObject* parent) : QObject(parent) {}

void KeyReleaseFilter::Watch(QWidget* control, Handler handler) {
    handlers_.insert(control, std::move(handler));
    control->installEventFilter(this);
}

bool KeyReleaseFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyRelease) return false;
    if (static_cast<const QKeyEvent*>(event)->isAutoRepeat()) return false;
    const auto found = handlers_.constFind(watched);
    if (found != handlers_.constEnd()) (*found)();
    return false;
}

}  // namespace veldorin
