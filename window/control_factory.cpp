// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/control_factory.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "graph_panel/drawn_surface.h"
#include "graph_panel/graph_canvas.h"
#include "help/theory_page.h"
#include "results/results_list.h"
#include "spins/spin_diagram.h"
#include "ui/design_palette.h"
#include "ui/spoken_name.h"

namespace veldorin {

namespace {

// This face's space is narrower than the one the spaced texts were composed in: half a
// pixel more after every letter puts each of their words back over its column, clear of
// the boxes beside it or under the label that covers it.
constexpr double kSpacedLetterTwips = 7.5;

Qt::Alignment HorizontalOf(Align align) {
    switch (align) {
        case Align::Left: return Qt::AlignLeft;
        case Align::Centre: return Qt::AlignHCenter;
        case Align::Right: return Qt::AlignRight;
    }
    return Qt::AlignLeft;
}

// Which palette roles carry a control's text and background colours.
struct Roles {
    std::vector<QPalette::ColorRole> text;
    std::vector<QPalette::ColorRole> back;
    bool fillsBackground;  // labels and panels are transparent unless a colour is given
};

Roles RolesOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::TextBox:
        case ControlKind::ListBox:
        case ControlKind::ResultsList: return {{QPalette::Text}, {QPalette::Base}, false};
        case ControlKind::EditableList:
        case ControlKind::DropList:
            return {
                {QPalette::Text, QPalette::ButtonText}, {QPalette::Base, QPalette::Button}, false};
        case ControlKind::Button: return {{QPalette::ButtonText}, {QPalette::Button}, false};
        case ControlKind::Label:
        case ControlKind::GraphPanel:
        case ControlKind::PicturePanel:
        case ControlKind::TheoryPage:
        case ControlKind::Frame:
        case ControlKind::SpinDiagram: return {{QPalette::WindowText}, {QPalette::Window}, true};
    }
    return {{}, {}, false};
}

QFont FontOf(const Look& look, const TwipScale& scale) {
    QFont font = DesignFont(look.points, look.italic);
    if (look.spacedWords) {
        font.setLetterSpacing(QFont::AbsoluteSpacing, scale.ToPixelsExact(kSpacedLetterTwips));
    }
    return font;
}

void ApplyLook(QWidget* widget, ControlKind kind, const Look& look, const TwipScale& scale) {
    widget->setFont(FontOf(look, scale));
    const Roles roles = RolesOf(kind);
    QPalette palette = DesignPalette();
    if (const auto colour = Resolve(look.text)) {
        for (const auto role : roles.text) palette.setColor(role, *colour);
    }
    if (const auto colour = Resolve(look.back)) {
        for (const auto role : roles.back) palette.setColor(role, *colour);
        widget->setAutoFillBackground(roles.fillsBackground);
    }
    widget->setPalette(palette);
}

QWidget* MakeWidget(const ControlSpec& entry, const TwipScale& scale, QWidget* parent) {
    const QString text = QString::fromStdString(entry.text);
    const Qt::Alignment horizontal = HorizontalOf(entry.look.align);
    switch (entry.kind) {
        case ControlKind::Label: {
            auto* label = new QLabel(text, parent);
            label->setAlignment(horizontal | Qt::AlignTop);
            label->setWordWrap(entry.look.wrap);
            return label;
        }
        case ControlKind::TextBox: {
            auto* box = new QLineEdit(text, parent);
            box->setAlignment(horizontal | Qt::AlignVCenter);
            // A disabled box only shows a value and never holds the cursor: a pixel of the
            // inner margin at either end goes to the text.
            if (!entry.enabled) box->setTextMargins(-1, 0, -1, 0);
            return box;
        }
        case ControlKind::EditableList:
        case ControlKind::DropList: {
            auto* list = new QComboBox(parent);
            if (entry.kind == ControlKind::EditableList) {
                list->setEditable(true);
                // The typed text is the value: it neither completes itself from the
                // items nor becomes an item of its own.
                list->setCompleter(nullptr);
                list->setInsertPolicy(QComboBox::NoInsert);
            }
            for (const auto& item : entry.items) list->addItem(QString::fromStdString(item));
            return list;
        }
        case ControlKind::Button: return new QPushButton(text, parent);
        case ControlKind::ListBox: return new QListWidget(parent);
        case ControlKind::ResultsList: return new ResultsList(scale, parent);
        case ControlKind::GraphPanel: return new GraphCanvas(scale, parent);
        case ControlKind::PicturePanel: return new QWidget(parent);
        case ControlKind::TheoryPage: return new TheoryPage(parent);
        case ControlKind::Frame: return new FramePanel(scale, text, parent);
        case ControlKind::SpinDiagram: return new SpinDiagram(scale, parent);
    }
    return new QWidget(parent);
}

}  // namespace

QWidget* MakeControl(const ControlSpec& entry, const TwipScale& scale, QWidget* parent) {
    QWidget* widget = MakeWidget(entry, scale, parent);
    widget->setObjectName(QString::fromStdString(entry.objectName));
    const TwipRect& place = entry.place;
    widget->setGeometry(scale.Rect(place));
    ApplyLook(widget, entry.kind, entry.look, scale);
    widget->setEnabled(entry.enabled);
    if (!entry.spoken.name.empty()) {
        SetSpokenName(*widget, QString::fromStdString(entry.spoken.name));
    }
    widget->setAccessibleDescription(QString::fromStdString(entry.spoken.description));
    if (!entry.visible) widget->hide();
    return widget;
}

}  // namespace veldorin
