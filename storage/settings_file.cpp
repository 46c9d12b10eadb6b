// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "storage/settings_file.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>
#include <utility>

#include "files/save_aside.h"

namespace veldorin {
namespace {

SettingsRead Failed(SettingsReadStatus status) { return {status, QString()}; }

bool BreaksTheLine(const QString& line) {
    return line.contains(QLatin1Char('\n')) || line.contains(QLatin1Char('\r')) ||
           line.contains(QChar(0));
}

}  // namespace

SettingsFile::SettingsFile(QString path) : path_(std::move(path)) {}

SettingsRead SettingsFile::ReadFirstLine() const {
    const QFileInfo info(path_);
    if (!info.exists()) {
        return Failed(SettingsReadStatus::Missing);
    }
    // A folder or a device in its place must neither be read nor block the start.
    if (!info.isFile()) {
        return Failed(SettingsReadStatus::Unreadable);
    }
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly)) {
        return Failed(SettingsReadStatus::Unreadable);
    }
    // Room for the longest accepted line and its CR LF, so a huge file is never read whole.
    const QByteArray head = file.read(kMaxLineBytes + 2);
    if (file.error() != QFileDevice::NoError) {
        return Failed(SettingsReadStatus::Unreadable);
    }
    const qsizetype lineEnd = head.indexOf('\n');
    if (lineEnd < 0 && !file.atEnd()) {
        return Failed(SettingsReadStatus::TooLong);
    }
    QByteArray line = lineEnd < 0 ? head : head.left(lineEnd);
    if (line.endsWith('\r')) {
        line.chop(1);
    }
    if (line.size() > kMaxLineBytes) {
        return Failed(SettingsReadStatus::TooLong);
    }
    if (line.isEmpty()) {
        return Failed(SettingsReadStatus::Empty);
    }
    if (line.contains('\0')) {
        return Failed(SettingsReadStatus::NotText);
    }
    QStringDecoder decode(QStringConverter::System, QStringConverter::Flag::Stateless);
    QString text = decode(line);
    if (decode.hasError()) {
        return Failed(SettingsReadStatus::NotText);
    }
    return {SettingsReadStatus::Read, text};
}

std::optional<QString> SettingsFile::Store(const QString& line) const {
    QStringEncoder encode(QStringConverter::System, QStringConverter::Flag::Stateless);
    QByteArray bytes = encode(line);
    if (BreaksTheLine(line) || encode.hasError()) {
        return QStringLiteral("%1 cannot be kept as one line of %2").arg(line, path_);
    }
    bytes.append("\r\n");
    // Every start stores the line again; a file that holds it already is not touched,
    // so that a start on a full disk cannot harm it.
    QFile current(path_);
    if (QFileInfo(path_).isFile() && current.open(QIODevice::ReadOnly) &&
        current.read(bytes.size() + 1) == bytes) {
        return std::nullopt;
    }
    return SaveBytesAside(path_, bytes);
}

bool SettingsFile::Remove() const { return QFile::remove(path_) || !QFileInfo::exists(path_); }

}  // namespace veldorin
