// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/document_controls.h"

#include <QComboBox>
#include <QLineEdit>

#include "spins/spin_diagram.h"
#include "ui/program_text.h"

namespace veldorin {

namespace {

void ShowText(QLineEdit& box, const std::string& text) {
    ShowProgramText(box, QString::fromStdString(text));
}

}  // namespace

void ShowDocument(const ModelDocument& document, const WindowControls& controls) {
    const ModelTexts& texts = document.texts;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (!(controls.spinDiagram->Slot(slot) == texts.slots[slot])) {
            controls.spinDiagram->ShowSlot(slot, texts.slots[slot]);
        }
    }
    for (int row = 0; row < kLorentzianCount; ++row) {
        ShowText(*controls.weightBoxes[row], texts.weights[row]);
        ShowText(*controls.timeBoxes[row], texts.times[row]);
    }
    ShowText(*controls.csaBox->lineEdit(), texts.csa);
    ShowText(*controls.rexBox->lineEdit(), texts.rex);
    controls.plotList->setCurrentIndex(static_cast<int>(document.plotMode));
    controls.arrayParameterList->setCurrentIndex(static_cast<int>(document.arrayParameter));
}

std::array<std::string, kLorentzianCount> ColumnTexts(
    const std::array<QLineEdit*, kLorentzianCount>& column) {
    std::array<std::string, kLorentzianCount> texts;
    for (int row = 0; row < kLorentzianCount; ++row) texts[row] = column[row]->text().toStdString();
    return texts;
}

}  // namespace veldorin
