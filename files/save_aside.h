// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

class QIODevice;

namespace veldorin {

// What a save does when its name is that of something other than an ordinary file: a
// device, a FIFO, a socket, or one of the program's open files named through
// /proc/self/fd or /dev/fd (/dev/stdout). Such a thing is never replaced by a file.
enum class NotOrdinary {
    Refuse,        // a save from the window: "not an ordinary file"
    WriteInPlace,  // a file named on the command line, as a shell's redirection would
};

// Writes a whole file through `write`: into a side file beside it, which is flushed to
// the disk and checked, and only then renamed over the old one, so that a failed write
// (a full disk included) leaves what was there before. Links are followed to the file
// they name, which is made when it does not exist yet. Returns nothing when the file was
// written; otherwise a sentence for the user that names the file, the system's reason
// and that the old file is unchanged.
std::optional<QString> SaveAside(const QString& path, const std::function<bool(QIODevice&)>& write,
                                 NotOrdinary notOrdinary = NotOrdinary::Refuse);

// SaveAside of bytes that are ready.
std::optional<QString> SaveBytesAside(const QString& path, const QByteArray& bytes,
                                      NotOrdinary notOrdinary = NotOrdinary::Refuse);

}  // namespace veldorin
