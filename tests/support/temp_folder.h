// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace veldorin::testing {

// A fresh folder for every file a test makes; removed with everything in it.
class TempFolder {
public:
    TempFolder();

    // The absolute path of a name inside the folder ("" for the folder itself).
    QString Path(const QString& relative = QString()) const;
    // Creates the folder and any missing parents; returns its path.
    QString MakeDir(const QString& relative) const;
    // Creates the file (and its folders) with the given bytes; returns its path.
    QString MakeFile(const QString& relative, const QByteArray& bytes = "x") const;

private:
    QTemporaryDir dir_;
};

QByteArray ReadBytes(const QString& path);

}  // namespace veldorin::testing
