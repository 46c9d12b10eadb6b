// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "files/file_stamp.h"

#include <sys/stat.h>

#include "files/native_name.h"

namespace veldorin {

std::optional<FileStamp> StampOf(const QString& path) {
    struct stat status {};
    if (::stat(NativeName(path).constData(), &status) != 0) return std::nullopt;
    return FileStamp{status.st_dev, status.st_ino, status.st_mtim.tv_sec, status.st_mtim.tv_nsec};
}

}  // namespace veldorin
