#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSet>
#include <QTest>

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

}  // namespace
}  // namespace veldorin::test
