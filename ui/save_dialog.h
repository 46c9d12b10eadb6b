// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QString>

class QFileDialog;
class QWidget;

namespace veldorin {

// One format a save dialog offers: what it is called and its file name ending.
struct SaveFormat {
    QString description;
    QString suffix;  // without the dot
};

// A dialog that asks for the name to save under, offering the formats in their order.
// A name typed without an ending gets the chosen format's before the dialog checks for
// an existing file, so replacing a file is always asked first. Not yet shown.
QFileDialog* NewSaveDialog(QWidget* parent, const QString& title, const QString& start,
                           const QList<SaveFormat>& formats);

// The same dialog, modal; the name chosen, or empty when the user cancels.
QString ChooseSaveName(QWidget* parent, const QString& title, const QString& start,
                       const QList<SaveFormat>& formats);

}  // namespace veldorin
