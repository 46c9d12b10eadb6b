// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

class QIODevice;

namespace veldorin {

// Writes a whole file through `write`: into a new file beside it, which is flushed to
// the disk and checked, and only then renamed over the old one, so that a failed write
// (a full disk included) leaves what was there before. A link is followed to the file
// it names. Returns nothing when the file was written; otherwise a sentence for the
// user that names the file, the system's reason and that the old file is unchanged.
std::optional<QString> SaveAside(const QString& path, const std::function<bool(QIODevice&)>& write);

// SaveAside of bytes that are ready.
std::optional<QString> SaveBytesAside(const QString& path, const QByteArray& bytes);

}  // namespace veldorin
