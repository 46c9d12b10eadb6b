// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "storage/startup_places.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace veldorin {

StartupPlaces StartupPlaces::OfThisProgram() {
    const QString programDirectory = QCoreApplication::applicationDirPath();
    return {programDirectory, QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation),
            IsSystemProgramFolder(programDirectory)};
}

bool StartupPlaces::IsSystemProgramFolder(const QString& folder) {
    const QString path = QDir::cleanPath(folder);
    for (const char* prefix : {"/usr", "/bin", "/sbin", "/opt", "/snap", "/app"}) {
        const QString system = QString::fromLatin1(prefix);
        if (path == system || path.startsWith(system + QLatin1Char('/'))) return true;
    }
    return false;
}

}  // namespace veldorin
