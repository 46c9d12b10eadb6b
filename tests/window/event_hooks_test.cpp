// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/event_hooks.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <vector>

namespace veldorin::test {
namespace {

enum class Hook { KeyRelease, Press, Click };

// One event sent to the hooked control, or to a second control hooked the same way.
struct Step {
    QEvent::Type type;
    Qt::MouseButton button = Qt::LeftButton;
    bool outside = false;     // a release beyond the control's edges
    bool autoRepeat = false;  // a key release of a held key
    bool onOther = false;
};

constexpr Step kLeftPress{QEvent::MouseButtonPress};
constexpr Step kLeftRelease{QEvent::MouseButtonRelease};
constexpr Step kLeftDoublePress{QEvent::MouseButtonDblClick};
constexpr Step kLeftReleaseOutside{QEvent::MouseButtonRelease, Qt::LeftButton, true};
constexpr Step kLeftPressOnOther{QEvent::MouseButtonPress, Qt::LeftButton, false, false, true};
constexpr Step kRightPress{QEvent::MouseButtonPress, Qt::RightButton};
constexpr Step kRightRelease{QEvent::MouseButtonRelease, Qt::RightButton};
constexpr Step kKeyRelease{QEvent::KeyRelease, Qt::NoButton};
constexpr Step kHeldKeyRelease{QEvent::KeyRelease, Qt::NoButton, false, true};
// The toolkit sends the second press of a double click as a double click of its own.
const std::vector<Step> kDoubleClick{kLeftPress, kLeftRelease, kLeftDoublePress, kLeftRelease};
const std::vector<Step> kHeldKey{kHeldKeyRelease, kHeldKeyRelease, kKeyRelease};

struct HookRow {
    const char* name;
    Hook hook;
    int runs;
    std::vector<Step> steps;
};

const HookRow kHookRows[] = {
    {"a key release", Hook::KeyRelease, 1, {kKeyRelease}},
    {"a held key's final release", Hook::KeyRelease, 1, kHeldKey},
    {"a key release is no press", Hook::Press, 0, {kKeyRelease}},
    {"a press of the right button", Hook::Press, 1, {kRightPress}},
    {"both presses of a double click", Hook::Press, 2, kDoubleClick},
    {"a release is no press", Hook::Press, 0, {kLeftRelease}},
    {"a left click", Hook::Click, 1, {kLeftPress, kLeftRelease}},
    {"a press alone", Hook::Click, 0, {kLeftPress}},
    {"a release beyond the control", Hook::Click, 0, {kLeftPress, kLeftReleaseOutside}},
    {"a right click", Hook::Click, 0, {kRightPress, kRightRelease}},
    {"a press on another control", Hook::Click, 0, {kLeftPressOnOther, kLeftRelease}},
    {"a double click clicks once", Hook::Click, 1, kDoubleClick},
    {"a key release is no click", Hook::Click, 0, {kKeyRelease}},
};

// Counts the events that get through to it.
class CountingControl : public QWidget {
public:
    int received = 0;

protected:
    bool event(QEvent* event) override {
        switch (event->type()) {
            case QEvent::KeyRelease:
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
            case QEvent::MouseButtonRelease: ++received; break;
            default: break;
        }
        return QWidget::event(event);
    }
};

void Send(QWidget* control, const Step& step) {
    if (step.type == QEvent::KeyRelease) {
        QKeyEvent key(step.type, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"), step.autoRepeat);
        QApplication::sendEvent(control, &key);
        return;
    }
    const QPointF at = step.outside ? QPointF(-20, -20) : QPointF(2, 2);
    const Qt::MouseButtons held =
        step.type == QEvent::MouseButtonRelease ? Qt::NoButton : step.button;
    QMouseEvent mouse(step.type, at, control->mapToGlobal(at), step.button, held, Qt::NoModifier);
    QApplication::sendEvent(control, &mouse);
}

void Hooked(EventHooks& hooks, Hook hook, QWidget* control, EventHooks::Handler handler) {
    switch (hook) {
        case Hook::KeyRelease: hooks.OnKeyRelease(control, std::move(handler)); break;
        case Hook::Press: hooks.OnPress(control, std::move(handler)); break;
        case Hook::Click: hooks.OnClick(control, std::move(handler)); break;
    }
}

TEST(EventHooks, EachControlRunsItsHandlerForItsOwnGestureAndEveryEventPassesOn) {
    for (const HookRow& row : kHookRows) {
        QWidget parent;
        parent.resize(100, 100);
        auto* control = new CountingControl;
        auto* other = new CountingControl;
        for (QWidget* each : {static_cast<QWidget*>(control), static_cast<QWidget*>(other)}) {
            each->setParent(&parent);
            each->resize(30, 30);
        }
        other->move(50, 50);
        EventHooks hooks(&parent);
        int runs = 0;
        Hooked(hooks, row.hook, control, [&runs] { ++runs; });
        Hooked(hooks, row.hook, other, [] {});
        for (const Step& step : row.steps) Send(step.onOther ? other : control, step);
        EXPECT_EQ(runs, row.runs) << row.name;
        EXPECT_EQ(control->received + other->received, static_cast<int>(row.steps.size()))
            << row.name;
    }
}

}  // namespace
}  // namespace veldorin::test
