// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>
#include <array>

#include "engine/constants.h"
#include "engine/model.h"
#include "ui/twips.h"

class QLabel;
class QLineEdit;

namespace veldorin {

// Nucleus box backgrounds: the central nucleus and the neighbours "Like" it in yellow,
// every other neighbour in pink.
inline constexpr Rgb kCentralSpeciesBack{255, 255, 128};
inline constexpr Rgb kOtherSpeciesBack{255, 192, 255};

// What a screen reader calls the parts of a slot, counting the neighbours from 1:
// "Neighbour 3 nucleus", "Central nucleus", "Neighbour 3 distance, Å". The editors that
// open over a slot take the same names.
QString SpokenNucleus(int slot);
QString SpokenDistance(int neighbour);
QString SpokenAbundance(int neighbour);

// The diagram inside the "Spin system" frame: the central nucleus and its eight
// neighbours, each in a nucleus box with an abundance label, and for each neighbour a
// distance label and a bond drawn to the centre. The controls never move;
// ShowNeighbours only shows and hides them. The texts of the boxes and labels are the
// model: the calculation reads them through Slot(). Tab reaches the boxes and labels,
// and the one that has the keyboard, unless a click gave it, is ringed.
class SpinDiagram : public QWidget {
    Q_OBJECT

public:
    SpinDiagram(const TwipScale& scale, QWidget* parent);

    // Derives the kind of every neighbour slot from its nucleus text and shows the
    // bond and both labels of the present ones, hiding those of the empty ones.
    void ShowNeighbours();

    const SlotKinds& kinds() const { return kinds_; }
    // The slot's texts as shown: nucleus box, distance caption (none for the centre)
    // and abundance caption.
    SpinSlot Slot(int slot) const;

    QLineEdit* nucleusBox(int slot) const { return nucleus_[slot]; }
    void SetNucleusBack(int slot, Rgb colour);
    // The nucleus in its box, on the colour of its species: the central nucleus and a
    // "Like" neighbour share one, every other nucleus has the other.
    void SetNucleus(int slot, const QString& nucleus);
    // All texts of a slot, as a model file gives them (the central slot has no distance).
    void ShowSlot(int slot, const SpinSlot& texts);
    Rgb nucleusBack(int slot) const;
    QLabel* abundanceLabel(int slot) const { return abundance_[slot]; }
    QLabel* distanceLabel(int neighbour) const { return distance_[neighbour]; }
    bool bondVisible(int neighbour) const { return bondShown_[neighbour]; }
    // The box or label ringed as having the keyboard; none while a click gave it.
    const QWidget* ringed() const { return ringed_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The boxes and labels take the keyboard from Tab; the diagram watches them take it.
    void TakeTabFocus(QWidget& part);
    void MoveKeyboard(QWidget& from, int step);

    TwipScale scale_;
    QWidget* ringed_ = nullptr;
    std::array<QLineEdit*, kSlotCount> nucleus_{};
    std::array<QLabel*, kSlotCount> abundance_{};
    std::array<QLabel*, kNeighbourCount> distance_{};
    SlotKinds kinds_{};  // Empty until the first ShowNeighbours
    // As designed, every bond and label shows until the first ShowNeighbours.
    std::array<bool, kNeighbourCount> bondShown_{true, true, true, true, true, true, true, true};
};

}  // namespace veldorin
