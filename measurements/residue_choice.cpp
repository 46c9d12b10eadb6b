// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "measurements/residue_choice.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace veldorin {

std::optional<std::string> ChooseResidue(QWidget* parent,
                                         const std::vector<ResidueRows>& residues) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("residueChoice"));
    dialog.setWindowTitle(QStringLiteral("Import one residue"));
    auto* list = new QListWidget(&dialog);
    list->setAccessibleName(QStringLiteral("Residues"));
    for (const ResidueRows& residue : residues) {
        const QString name = residue.residue.empty() ? QStringLiteral("(no name)")
                                                     : QString::fromStdString(residue.residue);
        list->addItem(QStringLiteral("%1 — %2 row%3")
                          .arg(name)
                          .arg(residue.rows)
                          .arg(residue.rows == 1 ? QString() : QStringLiteral("s")));
    }
    list->setCurrentRow(0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(
        new QLabel(QStringLiteral("The file holds the rows of %1 residues, and the "
                                  "window fits one. Which one's rows shall it import?")
                       .arg(residues.size()),
                   &dialog));
    layout->addWidget(list);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
    if (dialog.exec() != QDialog::Accepted || list->currentRow() < 0) return std::nullopt;
    return residues[static_cast<std::size_t>(list->currentRow())].residue;
}

}  // namespace veldorin
