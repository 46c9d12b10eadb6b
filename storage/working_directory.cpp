// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "storage/working_directory.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

namespace veldorin {

QString WorkingDirectoryText(const QString& directoryPath) {
    const QString cleaned = QDir::cleanPath(directoryPath);
    return cleaned.endsWith(QLatin1Char('/')) ? cleaned : cleaned + QLatin1Char('/');
}

bool HoldsOrdinaryFile(const QString& directoryPath) {
    // Without QDir::Hidden and QDir::System the platform's hidden and special entries are
    // skipped; dot-names are skipped on every platform.
    QDirIterator entries(directoryPath, QDir::Files | QDir::NoDotAndDotDot);
    while (entries.hasNext()) {
        entries.next();
        if (!entries.fileName().startsWith(QLatin1Char('.'))) {
            return true;
        }
    }
    return false;
}

bool IsAcceptedWorkingDirectory(const QString& storedText) {
    if (storedText.isEmpty() || !QDir::isAbsolutePath(storedText)) {
        return false;
    }
    const QString folder = QDir::cleanPath(storedText);
    return QFileInfo(folder).isDir() && HoldsOrdinaryFile(folder);
}

bool EnterWorkingDirectory(const QString& workingDirectory) {
    return QDir::setCurrent(workingDirectory);
}

}  // namespace veldorin
