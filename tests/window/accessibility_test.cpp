#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSet>
#include <QTest>
#include <QTimer>

#include "spins/spin_diagram.h"
#include "tests/support/window_fixture.h"
#include "window/graph_canvas.h"

namespace veldorin::test {
namespace {

// The roles of what takes input or shows a result: each must be named.
const QSet<QAccessible::Role> kNamedRoles{
    QAccessible::EditableText, QAccessible::ComboBox, QAccessible::PushButton,
    QAccessible::List,         QAccessible::Table,    QAccessible::Tree,
    QAccessible::Chart,        QAccessible::Graphic,  QAccessible::Canvas,
};

// Every unnamed control under the interface, hidden ones included, as "objectName (role)".
// A label is named by what it shows; one that shows nothing yet must say what it will show.
void CollectUnnamed(QAccessibleInterface* node, QStringList& unnamed) {
    const QAccessible::Role role = node->role();
    const bool named = !node->text(QAccessible::Name).trimmed().isEmpty();
    const bool described = !node->text(QAccessible::Description).trimmed().isEmpty();
    if ((kNamedRoles.contains(role) && !named) ||
        (role == QAccessible::StaticText && !named && !described)) {
        const QObject* object = node->object();
        unnamed << QStringLiteral("%1 %2 in %3 (role %4)")
                       .arg(QLatin1String(object->metaObject()->className()), object->objectName(),
                            object->parent() ? object->parent()->objectName() : QString())
                       .arg(role);
    }
    for (int i = 0; i < node->childCount(); ++i) {
        if (QAccessibleInterface* child = node->child(i)) CollectUnnamed(child, unnamed);
    }
}

class Accessibility : public WindowTest {};

TEST_F(Accessibility, every_control_that_takes_input_or_shows_a_result_is_named) {
    Started();
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(window_.get());
    ASSERT_NE(root, nullptr);
    QStringList unnamed;
    CollectUnnamed(root, unnamed);
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(", ").toStdString();
    EXPECT_EQ(QAccessible::queryAccessibleInterface(Control("Picture1"))->role(),
              QAccessible::Chart);
}

TEST_F(Accessibility, the_graph_describes_each_plot_in_its_own_words) {
    Started();
    auto* plots = Control<QComboBox>("Combo4");
    QSet<QString> descriptions;
    for (int index = 0; index < plots->count(); ++index) {
        plots->setCurrentIndex(index);
        descriptions << Control("Picture1")->accessibleDescription();
    }
    EXPECT_EQ(descriptions.size(), plots->count());
}

// An editor opened over a label takes the name of what the label shows.
TEST_F(Accessibility, the_spin_editors_are_named_for_the_slot_they_edit) {
    Started();
    SpinDiagram& spins = *window_->controls().spinDiagram;
    for (const int slot : {0, 5}) {
        QTest::mouseClick(spins.distanceLabel(slot), Qt::LeftButton);
        EXPECT_EQ(Control("Text42(0)")->accessibleName(),
                  spins.distanceLabel(slot)->accessibleDescription());
        QTest::mouseClick(spins.abundanceLabel(slot), Qt::LeftButton);
        EXPECT_EQ(Control("Text42(8)")->accessibleName(),
                  spins.abundanceLabel(slot)->accessibleDescription());
        QTest::mouseClick(spins.nucleusBox(slot), Qt::LeftButton);
        EXPECT_EQ(Control("Combo3")->accessibleName(), spins.nucleusBox(slot)->accessibleName());
    }
}

struct ContextMenuRow {
    const char* name;
    const char* owner;  // empty: the client area, whose menu belongs to the Lorentzians
    const char* near;   // the control at whose centre the menu is asked for
    int keys;           // how many of its items have a key
};

const ContextMenuRow kContextMenus[] = {
    {"spin system", "Frame1(1)", "Label3(17)", 3},
    {"Lorentzians", "", "Label3(12)", 3},
    {"results list", "List3", "List3", 1},
    {"graph", "Picture1", "Picture1", 0},
};

TEST_F(Accessibility, the_right_button_menus_show_the_keys_of_their_items) {
    Started();
    ExpectPopups(true);
    for (const auto& row : kContextMenus) {
        QWidget* owner = *row.owner ? Control(row.owner) : window_->centralWidget();
        QWidget* near = Control(row.near);
        const QPoint at = owner->mapFromGlobal(near->mapToGlobal(near->rect().center()));
        int keys = -1;
        int shown = 0;
        QTimer::singleShot(0, owner, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu == nullptr) return;
            keys = 0;
            for (const QAction* item : menu->actions()) {
                if (item->shortcut().isEmpty()) continue;
                ++keys;
                shown += item->isShortcutVisibleInContextMenu() ? 1 : 0;
            }
            menu->close();
        });
        Q_EMIT owner->customContextMenuRequested(at);
        EXPECT_TRUE(QTest::qWaitFor([&] { return keys >= 0; })) << row.name;
        EXPECT_EQ(keys, row.keys) << row.name;
        EXPECT_EQ(shown, keys) << row.name;
    }
}

}  // namespace
}  // namespace veldorin::test
