#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

namespace veldorin {

// Turns mouse events on watched controls into the two gestures the spin diagram
// answers: a press of any button, and a click (the left button pressed and released
// over the same control). The events still reach the controls.
class PointerGestures : public QObject {
    Q_OBJECT

public:
    using Handler = std::function<void()>;

    explicit PointerGestures(QObject* parent);

    void OnPress(QWidget* control, Handler handler);
    void OnClick(QWidget* control, Handler handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QHash<const QObject*, Handler> presses_;
    QHash<const QObject*, Handler> clicks_;
    QPointer<QObject> pressedForClick_;  // where the left button went down, if watched
};

}  // namespace veldorin
