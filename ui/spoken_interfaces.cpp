// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/spoken_interfaces.h"

#include <QAbstractItemView>
#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLineEdit>
#include <algorithm>

namespace veldorin {
namespace {

// A drop-down list that says its name and gives its typed text or choice as its value.
// Qt on Linux makes the value the name of every list, and an editable list's line edit
// would be heard as "0" or "-25".
class NamedListInterface : public QAccessibleWidget {
public:
    explicit NamedListInterface(QComboBox* list) : QAccessibleWidget(list, QAccessible::ComboBox) {}

    // The pop-up list, and the line edit that holds the keyboard in an editable one.
    int childCount() const override { return list()->isEditable() ? 2 : 1; }
    QAccessibleInterface* child(int index) const override {
        if (index == 0) return QAccessible::queryAccessibleInterface(list()->view());
        if (index == 1 && list()->isEditable())
            return QAccessible::queryAccessibleInterface(list()->lineEdit());
        return nullptr;
    }
    int indexOfChild(const QAccessibleInterface* part) const override {
        for (int index = 0; index < childCount(); ++index) {
            if (child(index) == part) return index;
        }
        return -1;
    }
    QAccessibleInterface* focusChild() const override {
        return list()->isEditable() ? child(1) : nullptr;
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value) return list()->currentText();
        const QString text = QAccessibleWidget::text(kind);
        // A list nobody named is known by its value, as Qt has it.
        return kind == QAccessible::Name && text.isEmpty() ? list()->currentText() : text;
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.expanded = list()->view()->isVisible();
        state.editable = list()->isEditable();
        return state;
    }

    QStringList actionNames() const override {
        return QAccessibleWidget::actionNames() << showMenuAction() << pressAction();
    }
    void doAction(const QString& action) override {
        if (action != showMenuAction() && action != pressAction()) {
            QAccessibleWidget::doAction(action);
        } else if (list()->view()->isVisible()) {
            list()->hidePopup();
        } else {
            list()->showPopup();
        }
    }

private:
    QComboBox* list() const { return static_cast<QComboBox*>(widget()); }
};

// A SpokenWhole: its name, where its parts stand, and no children.
class WholeInterface : public QAccessibleObject {
public:
    explicit WholeInterface(SpokenWhole* whole) : QAccessibleObject(whole) {}

    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(object()->parent());
    }
    QWindow* window() const override { return parent()->window(); }
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Name ? whole()->name() : QString();
    }
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.invisible = rect().isEmpty();
        return state;
    }
    QRect rect() const override { return whole()->ScreenRect(); }

private:
    SpokenWhole* whole() const { return static_cast<SpokenWhole*>(object()); }
};

// A plain widget, a window when it stands alone, whose children include the parts of a
// SpokenWhole: the whole stands in its first part's place.
class WidgetWithWholesInterface : public QAccessibleWidget {
public:
    using QAccessibleWidget::QAccessibleWidget;

    int childCount() const override { return static_cast<int>(Children().size()); }
    QAccessibleInterface* child(int index) const override {
        const QList<QAccessibleInterface*> children = Children();
        return index >= 0 && index < children.size() ? children[index] : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const QList<QAccessibleInterface*> children = Children();
        const auto found = std::ranges::find(children, child);
        return found == children.end() ? -1 : static_cast<int>(found - children.begin());
    }

private:
    QList<QAccessibleInterface*> Children() const {
        const QList<SpokenWhole*> wholes =
            widget()->findChildren<SpokenWhole*>(Qt::FindDirectChildrenOnly);
        QList<QAccessibleInterface*> children;
        for (int index = 0; index < QAccessibleWidget::childCount(); ++index) {
            QAccessibleInterface* child = QAccessibleWidget::child(index);
            const auto whole = std::ranges::find_if(wholes, [child](const SpokenWhole* whole) {
                return whole->Holds(child->object());
            });
            if (whole != wholes.end()) child = QAccessible::queryAccessibleInterface(*whole);
            if (!children.contains(child)) children << child;
        }
        return children;
    }
};

// Called for each class of the object from the most derived up, before Qt's own factory;
// a plain QWidget is reached only when no class below it has an interface of its own.
QAccessibleInterface* SpokenInterface(const QString& className, QObject* object) {
    if (auto* whole = qobject_cast<SpokenWhole*>(object)) return new WholeInterface(whole);
    if (!object->isWidgetType()) return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (className == QLatin1String("QComboBox"))
        return new NamedListInterface(static_cast<QComboBox*>(widget));
    if (className != QLatin1String("QWidget")) return nullptr;
    const QAccessible::Role role = widget->isWindow() ? QAccessible::Window : QAccessible::Client;
    if (widget->findChild<SpokenWhole*>(QString(), Qt::FindDirectChildrenOnly) != nullptr)
        return new WidgetWithWholesInterface(widget, role);
    return widget->isWindow() ? new QAccessibleWidget(widget, role) : nullptr;
}

}  // namespace

SpokenWhole::SpokenWhole(const QString& name, const std::vector<QWidget*>& parts, QWidget& parent)
    : QObject(&parent), name_(name), parts_(parts.begin(), parts.end()) {}

bool SpokenWhole::Holds(const QObject* object) const {
    return std::ranges::find(parts_, object) != parts_.end();
}

QRect SpokenWhole::ScreenRect() const {
    QRect united;
    for (const QPointer<QWidget>& part : parts_) {
        if (part != nullptr && part->isVisible())
            united |= QRect(part->mapToGlobal(QPoint(0, 0)), part->size());
    }
    return united;
}

void InstallSpokenInterfaces() { QAccessible::installFactory(&SpokenInterface); }

}  // namespace veldorin
