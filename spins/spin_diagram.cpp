// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "spins/spin_diagram.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <algorithm>
#include <functional>

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
const QColor kFocusRing(0, 0, 0);
constexpr int kRingMargin = 2;

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
    // Nuclei are chosen from the nucleus menu, which Enter or Space opens. The boxes are
    // not tab stops: the arrows reach them from the distance and abundance labels.
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::ClickFocus);
    // A press on the box opens the nucleus menu, whatever the button.
    edit->setContextMenuPolicy(Qt::NoContextMenu);
    const Rgb back = central ? kCentralSpeciesBack : kOtherSpeciesBack;
    edit->setPalette(DesignPalette());
    SetRole(edit, QPalette::Base, QColor(back.red, back.green, back.blue));
    return edit;
}

// Around a box, or around the text of a label, a little outside it.
QRect RingAround(const QWidget& part) {
    QRect ring = part.geometry();
    if (const auto* label = qobject_cast<const QLabel*>(&part)) {
        const int textWidth = label->fontMetrics().horizontalAdvance(label->text());
        const int width = std::min(ring.width(), textWidth + kRingMargin);
        if (label->alignment() & Qt::AlignRight) {
            ring.setLeft(ring.right() + 1 - width);
        } else {
            ring.setWidth(width);
        }
    }
    return ring.adjusted(-kRingMargin, -kRingMargin, kRingMargin - 1, kRingMargin - 1);
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
        TakeTabFocus(*nucleus_[slot]);
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
        TakeTabFocus(*distance_[slot]);
        TakeTabFocus(*abundance_[slot]);
    }
}

// A label is a tab stop and takes no focus from a click, which opens its editor.
void SpinDiagram::TakeTabFocus(QWidget& part) {
    if (qobject_cast<QLabel*>(&part)) part.setFocusPolicy(Qt::TabFocus);
    part.installEventFilter(this);
}

// The boxes and labels in the order the arrows go through them: the centre, then each
// neighbour's box, distance and abundance; those hidden are passed over.
void SpinDiagram::MoveKeyboard(QWidget& from, int step) {
    std::vector<QWidget*> parts{nucleus_[kCentralSlot]};
    for (int slot = 0; slot < kNeighbourCount; ++slot) {
        parts.insert(parts.end(), {nucleus_[slot], distance_[slot], abundance_[slot]});
    }
    std::erase_if(parts, [&](QWidget* part) { return part != &from && part->isHidden(); });
    const auto at = std::find(parts.begin(), parts.end(), &from) - parts.begin();
    const auto count = static_cast<std::ptrdiff_t>(parts.size());
    parts[static_cast<std::size_t>((at + step + count) % count)]->setFocus(Qt::OtherFocusReason);
}

// The ring follows the keyboard as it moves, and stays off while a click put it there;
// a window or pop-up that takes the keyboard for a while leaves it as it was.
bool SpinDiagram::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<const QKeyEvent*>(event);
        const int step = key->key() == Qt::Key_Up || key->key() == Qt::Key_Left      ? -1
                         : key->key() == Qt::Key_Down || key->key() == Qt::Key_Right ? 1
                                                                                     : 0;
        if (step == 0 || key->modifiers() != Qt::NoModifier) return false;
        MoveKeyboard(*static_cast<QWidget*>(watched), step);
        return true;
    }
    if (event->type() != QEvent::FocusIn && event->type() != QEvent::FocusOut) return false;
    const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return false;
    const bool ring = event->type() == QEvent::FocusIn && reason != Qt::MouseFocusReason;
    QWidget* ringed = ring ? static_cast<QWidget*>(watched) : nullptr;
    if (ringed != ringed_) {
        ringed_ = ringed;
        update();
    }
    return false;
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
    // Without a neighbour no label is shown to reach the boxes from: the centre's box
    // takes Tab until one comes.
    const bool alone = std::none_of(bondShown_.begin(), bondShown_.end(), std::identity{});
    nucleus_[kCentralSlot]->setFocusPolicy(alone ? Qt::StrongFocus : Qt::ClickFocus);
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
    if (ringed_ && ringed_->isVisible()) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(kFocusRing, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(RingAround(*ringed_));
    }
}

}  // namespace veldorin
