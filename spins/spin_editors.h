#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>

class QComboBox;
class QLineEdit;
class QWidget;

namespace veldorin {

class EventHooks;
class NucleusMenu;
class SpinDiagram;

// The editors of the spin diagram. A press on a nucleus box opens the nucleus menu over
// it; a choice from the menu sets the nucleus and recalculates. A click on a distance
// or abundance label opens its edit box over the label, and every key release in the
// box checks the text and commits it to the label, then recalculates. At most one of
// the three editors shows at a time; indd is the slot being edited.
class SpinEditors : public QObject {
    Q_OBJECT

public:
    struct Controls {
        SpinDiagram& diagram;
        QComboBox& menu;          // Combo3
        QLineEdit& distanceBox;   // Text42(0)
        QLineEdit& abundanceBox;  // Text42(8)
    };
    struct Actions {
        std::function<void()> plotMol;
        std::function<void()> recalculate;
    };

    SpinEditors(const Controls& controls, Actions actions, EventHooks& hooks);
    ~SpinEditors() override;

    std::uint8_t indd() const { return indd_; }

    void Text1_MouseDown(int index);
    void Combo3_Click(int item);
    void Label2_Click(int index);
    void Label1_Click(int index);
    // index 0: the distance box; 8: the abundance box.
    void Text42_KeyUp(int index);

private:
    void OpenBoxOver(QLineEdit& box, const QWidget& label);

    SpinDiagram& diagram_;
    std::unique_ptr<NucleusMenu> menu_;
    QLineEdit& distanceBox_;
    QLineEdit& abundanceBox_;
    Actions actions_;
    std::uint8_t indd_ = 0;
};

}  // namespace veldorin
