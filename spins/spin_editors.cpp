#include "spins/spin_editors.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "ui/entry_rules.h"
#include "ui/event_hooks.h"
#include "spins/nucleus_menu.h"
#include "spins/spin_diagram.h"

namespace veldorin {

namespace {

constexpr int kDistanceBox = 0;
constexpr int kAbundanceBox = 8;

}  // namespace

SpinEditors::SpinEditors(const Controls& controls, Actions actions, EventHooks& hooks)
    : QObject(&controls.diagram),
      diagram_(controls.diagram),
      menu_(std::make_unique<NucleusMenu>(controls.menu)),
      distanceBox_(controls.distanceBox),
      abundanceBox_(controls.abundanceBox),
      actions_(std::move(actions)) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        hooks.OnPress(diagram_.nucleusBox(slot), [this, slot] { Text1_MouseDown(slot); });
    }
    for (int slot = 0; slot < kNeighbourCount; ++slot) {
        hooks.OnClick(diagram_.distanceLabel(slot), [this, slot] { Label2_Click(slot); });
        hooks.OnClick(diagram_.abundanceLabel(slot), [this, slot] { Label1_Click(slot); });
    }
    connect(&controls.menu, &QComboBox::activated, this, &SpinEditors::Combo3_Click);
    hooks.OnKeyRelease(&distanceBox_, [this] { Text42_KeyUp(kDistanceBox); });
    hooks.OnKeyRelease(&abundanceBox_, [this] { Text42_KeyUp(kAbundanceBox); });
}

SpinEditors::~SpinEditors() = default;

void SpinEditors::Text1_MouseDown(int index) {
    QLineEdit* box = diagram_.nucleusBox(index);
    menu_->OpenOver(*box, index, box->text());
    distanceBox_.hide();
    abundanceBox_.hide();
    indd_ = static_cast<std::uint8_t>(index);
    actions_.plotMol();
}

void SpinEditors::Combo3_Click(int item) {
    const QString nucleus = menu_->list().itemText(item);
    diagram_.nucleusBox(indd_)->setText(nucleus);
    const bool centralSpecies = nucleus == QStringLiteral("Like") || indd_ == kCentralSlot;
    diagram_.SetNucleusBack(indd_, centralSpecies ? kCentralSpeciesBack : kOtherSpeciesBack);
    actions_.plotMol();
    actions_.recalculate();
    menu_->Hide();
}

void SpinEditors::Label2_Click(int index) {
    indd_ = static_cast<std::uint8_t>(index);
    QLabel* label = diagram_.distanceLabel(index);
    OpenBoxOver(distanceBox_, *label);
    distanceBox_.setFocus(Qt::MouseFocusReason);
    menu_->Hide();
    abundanceBox_.hide();
    distanceBox_.setText(label->text());
    actions_.plotMol();
}

void SpinEditors::Label1_Click(int index) {
    indd_ = static_cast<std::uint8_t>(index);
    QLabel* label = diagram_.abundanceLabel(index);
    // The abundance box waits for a click into it before it takes the keys.
    OpenBoxOver(abundanceBox_, *label);
    menu_->Hide();
    distanceBox_.hide();
    abundanceBox_.setText(label->text());
    actions_.plotMol();
}

void SpinEditors::OpenBoxOver(QLineEdit& box, const QWidget& label) {
    box.move(box.parentWidget()->mapFromGlobal(label.mapToGlobal(QPoint(0, 0))));
    box.show();
}

void SpinEditors::Text42_KeyUp(int index) {
    if (index == kAbundanceBox) {
        Enforce(kAbundanceRule, abundanceBox_);
        diagram_.abundanceLabel(indd_)->setText(abundanceBox_.text());
    } else {
        Enforce(kDistanceRule, distanceBox_);
        if (indd_ < kCentralSlot) diagram_.distanceLabel(indd_)->setText(distanceBox_.text());
    }
    actions_.recalculate();
}

}  // namespace veldorin
