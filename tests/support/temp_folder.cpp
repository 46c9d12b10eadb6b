// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtGlobal>

namespace veldorin::testing {

TempFolder::TempFolder() {
    if (!dir_.isValid()) {
        qFatal("cannot create a temporary folder");
    }
}

QString TempFolder::Path(const QString& relative) const {
    return relative.isEmpty() ? dir_.path() : dir_.filePath(relative);
}

QString TempFolder::MakeDir(const QString& relative) const {
    const QString path = Path(relative);
    QDir().mkpath(path);
    return path;
}

QString TempFolder::MakeFile(const QString& relative, const QByteArray& bytes) const {
    const QString path = Path(relative);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(bytes);
    }
    return path;
}

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace veldorin::testing
