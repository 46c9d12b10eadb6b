// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QString;
class QWidget;

namespace veldorin {

class EventHooks;
class NucleusMenu;
class SpinDiagram;

// The editors of the spin diagram. A press on a nucleus box opens the nucleus menu over
// it; a choice from the menu sets the nucleus and recalculates. A click on a distance
// or abundance label opens its editor over the label, and every key release in the
// editor checks the text and commits it to the label, then recalculates. At most one of
// the three editors shows at a time; editedSlot() is the slot they last opened for.
// The keyboard does the same: Enter or Space on a box opens the menu with its list, on a
// label the editor with the keyboard. An editor opens with its text selected, so that
// typing replaces it; Enter in it closes it. What the keyboard opened hands the keyboard
// back to its box or label when it closes.
class SpinEditors : public QObject {
    Q_OBJECT

public:
    struct Controls {
        SpinDiagram& diagram;
        QComboBox& nucleusMenu;
        QLineEdit& distanceEditor;
        QLineEdit& abundanceEditor;
    };
    struct Actions {
        std::function<void()> showNeighbours;
        std::function<void()> recalculate;
    };

    SpinEditors(const Controls& controls, Actions actions, EventHooks& hooks);
    ~SpinEditors() override;

    std::uint8_t editedSlot() const { return editedSlot_; }

    // Opens the nucleus menu over the slot's box, offering what the slot may hold.
    void OpenNucleusMenu(int slot);
    // The same, with the list open on the box's nucleus and the keyboard in it.
    void OpenNucleusListByKey(int slot);
    // The menu's item becomes the edited slot's nucleus; recalculates.
    void ChooseNucleus(int item);
    // Opens the distance editor over the slot's distance label, with the keyboard focus.
    void EditDistance(int slot);
    // Opens the abundance editor over the slot's abundance label; it takes the keys only
    // after a click into it.
    void EditAbundance(int slot);
    // Either editor opened from its label with the keyboard in it.
    void EditDistanceByKey(int slot);
    void EditAbundanceByKey(int slot);
    // The editor's text, checked, becomes the edited slot's label; recalculates. A
    // distance commits to no label while the central slot is the edited one.
    void CommitDistance();
    void CommitAbundance();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The editor over the label, named for the slot it edits, its text selected.
    void OpenEditorOver(QLineEdit& editor, const QLabel& label, const QString& name);
    // Enter in an editor: it closes, and its label has the keyboard.
    void CloseEditor(QLineEdit& editor, QLabel& label);

    SpinDiagram& diagram_;
    std::unique_ptr<NucleusMenu> nucleusMenu_;
    QLineEdit& distanceEditor_;
    QLineEdit& abundanceEditor_;
    Actions actions_;
    std::uint8_t editedSlot_ = 0;
    // The box or label whose editor the keyboard opened; none after a click.
    QPointer<QWidget> keyboardOrigin_;
};

}  // namespace veldorin
