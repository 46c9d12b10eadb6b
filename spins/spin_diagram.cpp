// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "spins/spin_diagram.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>

#include "ui/design_font.h"
#include "ui/design_palette.h"

namespace veldorin {

namespace {

struct Bond {
    int x1, y1, x2, y2;
};
struct Spot {
    int left, top;
};

// One slot of the diagram, in twips inside the frame.
struct SlotPlace {
    TwipRect box;
    Bond bond;
    Spot distance;
    Spot abundance;
    bool abundanceOnLeft;  // right-aligned, so that the number sits next to its box
};

// Neighbours clockwise from the upper left; the central slot last (no bond, no distance).
constexpr std::array<SlotPlace, kSlotCount> kPlaces{{
    {{990, 360, 420, 195}, {1200, 480, 1800, 1320}, {1200, 600}, {480, 360}, true},
    {{1845, 360, 375, 195}, {2040, 480, 1680, 1200}, {1800, 600}, {2280, 360}, false},
    {{2400, 915, 375, 195}, {2640, 960, 1680, 1200}, {2040, 960}, {2880, 915}, false},
    {{2400, 1485, 375, 195}, {1680, 1200, 2640, 1560}, {2040, 1440}, {2880, 1485}, false},
    {{1845, 2040, 375, 195}, {1680, 1200, 2040, 2160}, {1800, 1800}, {2280, 2040}, false},
    {{1035, 2040, 375, 195}, {1680, 1200, 1200, 2160}, {1080, 1800}, {600, 2040}, true},
    {{600, 1485, 375, 195}, {1680, 1200, 840, 1560}, {960, 1440}, {120, 1485}, true},
    {{585, 915, 375, 195}, {1560, 1200, 720, 960}, {960, 960}, {120, 915}, true},
    {{1440, 1080, 495, 315}, {}, {}, {1560, 1440}, false},
}};

constexpr int kLabelWidth = 375;
constexpr int kLabelHeight = 165;
constexpr int kBondPixels = 2;

const QColor kBondColour(128, 255, 128);
const QColor kDistanceText(0, 0, 0);
const QColor kAbundanceText(255, 0, 0);

void SetRole(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

QLabel* MakeLabel(QWidget* parent, const TwipScale& scale, Spot spot, const std::string& text,
                  const QColor& colour, Qt::Alignment alignment, const QString& tip) {
    auto* label = new QLabel(QString::fromStdString(text), parent);
    label->setGeometry(scale.Rect(spot.left, spot.top, kLabelWidth, kLabelHeight));
    label->setFont(DesignFont(kNormalPoints));
    label->setAlignment(alignment | Qt::AlignTop);
    label->setToolTip(tip);
    label->setPalette(DesignPalette());
    SetRole(label, QPalette::WindowText, colour);
    return label;
}

QLineEdit* MakeNucleusBox(QWidget* parent, const TwipScale& scale, const TwipRect& place,
                          const std::string& text, bool central) {
    auto* edit = new QLineEdit(QString::fromStdString(text), parent);
    edit->setGeometry(scale.Rect(place));
    edit->setFont(DesignFont(central ? kHeadingPoints : kNormalPoints));
    edit->setAlignment(Qt::AlignCenter);
    // The neighbour boxes are only 13 pixels high at 96 DPI: no room for a frame.
    edit->setFrame(central);
    edit->setTextMargins(0, 0, 0, 0);
    // Nuclei are chosen from the nucleus menu; the boxes are not tab stops.
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::ClickFocus);
    // A press on the box opens the nucleus menu, whatever the button.
    edit->setContextMenuPolicy(Qt::NoContextMenu);
    const Rgb back = central ? kCentralSpeciesBack : kOtherSpeciesBack;
    edit->setPalette(DesignPalette());
    SetRole(edit, QPalette::Base, QColor(back.red, back.green, back.blue));
    return edit;
}

QString SpokenNeighbour(int neighbour) { return QStringLiteral("Neighbour %1").arg(neighbour + 1); }

}  // namespace

QString SpokenNucleus(int slot) {
    return slot == kCentralSlot ? QStringLiteral("Central nucleus")
                                : SpokenNeighbour(slot) + QStringLiteral(" nucleus");
}

QString SpokenDistance(int neighbour) {
    return SpokenNeighbour(neighbour) + QStringLiteral(" distance, Å");
}

QString SpokenAbundance(int neighbour) {
    return SpokenNeighbour(neighbour) + QStringLiteral(" abundance");
}

SpinDiagram::SpinDiagram(const TwipScale& scale, QWidget* parent) : QWidget(parent), scale_(scale) {
    const ModelTexts defaults = DefaultModel();
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const SlotPlace& place = kPlaces[slot];
        const SpinSlot& texts = defaults.slots[slot];
        const bool central = slot == kCentralSlot;
        nucleus_[slot] = MakeNucleusBox(this, scale_, place.box, texts.nucleus, central);
        nucleus_[slot]->setAccessibleName(SpokenNucleus(slot));
        const Qt::Alignment side = place.abundanceOnLeft ? Qt::AlignRight : Qt::AlignLeft;
        abundance_[slot] = MakeLabel(this, scale_, place.abundance, texts.abundance, kAbundanceText,
                                     side, QStringLiteral("Abundance"));
        if (central) {
            // The central nucleus is always fully abundant and never offered for editing.
            abundance_[slot]->hide();
            continue;
        }
        distance_[slot] = MakeLabel(this, scale_, place.distance, texts.distance, kDistanceText,
                                    Qt::AlignLeft, QStringLiteral("distance, A"));
        // A label's name is the value it shows; what the value is goes into its description.
        distance_[slot]->setAccessibleDescription(SpokenDistance(slot));
        abundance_[slot]->setAccessibleDescription(SpokenAbundance(slot));
    }
}

void SpinDiagram::ShowNeighbours() {
    // Every recalculation comes here: the diagram is drawn again only when a bond came
    // or went, not at every key.
    const auto bondsBefore = bondShown_;
    for (int i = 0; i < kNeighbourCount; ++i) {
        kinds_[i] = KindOfNucleus(nucleus_[i]->text().toStdString());
        const bool present = kinds_[i] != SlotKind::Empty;
        bondShown_[i] = present;
        distance_[i]->setVisible(present);
        abundance_[i]->setVisible(present);
    }
    if (bondShown_ != bondsBefore) update();
}

void SpinDiagram::SetNucleusBack(int slot, Rgb colour) {
    SetRole(nucleus_[slot], QPalette::Base, QColor(colour.red, colour.green, colour.blue));
}

void SpinDiagram::SetNucleus(int slot, const QString& nucleus) {
    nucleus_[slot]->setText(nucleus);
    const bool centralSpecies = nucleus == QStringLiteral("Like") || slot == kCentralSlot;
    SetNucleusBack(slot, centralSpecies ? kCentralSpeciesBack : kOtherSpeciesBack);
}

void SpinDiagram::ShowSlot(int slot, const SpinSlot& texts) {
    SetNucleus(slot, QString::fromStdString(texts.nucleus));
    abundance_[slot]->setText(QString::fromStdString(texts.abundance));
    if (slot != kCentralSlot) distance_[slot]->setText(QString::fromStdString(texts.distance));
}

Rgb SpinDiagram::nucleusBack(int slot) const {
    const QColor colour = nucleus_[slot]->palette().color(QPalette::Base);
    return {static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
            static_cast<std::uint8_t>(colour.blue())};
}

SpinSlot SpinDiagram::Slot(int slot) const {
    SpinSlot texts;
    texts.nucleus = nucleus_[slot]->text().toStdString();
    texts.abundance = abundance_[slot]->text().toStdString();
    if (slot != kCentralSlot) texts.distance = distance_[slot]->text().toStdString();
    return texts;
}

void SpinDiagram::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(kBondColour, kBondPixels);
    pen.setCapStyle(Qt::RoundCap);
    painter.setPen(pen);
    for (int i = 0; i < kNeighbourCount; ++i) {
        if (!bondVisible(i)) continue;
        const Bond& bond = kPlaces[i].bond;
        painter.drawLine(QPointF(scale_.ToPixelsExact(bond.x1), scale_.ToPixelsExact(bond.y1)),
                         QPointF(scale_.ToPixelsExact(bond.x2), scale_.ToPixelsExact(bond.y2)));
    }
}

}  // namespace veldorin
