// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/save_dialog.h"

#include <QFileDialog>
#include <memory>

namespace veldorin {

QFileDialog* NewSaveDialog(QWidget* parent, const QString& title, const QString& start,
                           const QList<SaveFormat>& formats) {
    auto* dialog = new QFileDialog(parent, title, start);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    // A desktop's own dialog checks for an existing file before the ending is added, and
    // would replace "name.veldorin" unasked when "name" is typed.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    QStringList filters;
    for (const SaveFormat& format : formats) {
        filters << QStringLiteral("%1 (*.%2)").arg(format.description, format.suffix);
    }
    dialog->setNameFilters(filters);
    dialog->setDefaultSuffix(formats.value(0).suffix);
    QObject::connect(dialog, &QFileDialog::filterSelected, dialog,
                     [dialog, formats, filters](const QString& filter) {
                         dialog->setDefaultSuffix(formats.value(filters.indexOf(filter)).suffix);
                     });
    return dialog;
}

QString ChooseSaveName(QWidget* parent, const QString& title, const QString& start,
                       const QList<SaveFormat>& formats) {
    const std::unique_ptr<QFileDialog> dialog(NewSaveDialog(parent, title, start, formats));
    if (dialog->exec() != QDialog::Accepted) return {};
    return dialog->selectedFiles().value(0);
}

}  // namespace veldorin
