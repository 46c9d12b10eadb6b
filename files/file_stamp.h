// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <optional>

namespace veldorin {

// Which file a name leads to and when it was last changed: another program that
// replaces or rewrites the file changes its stamp.
struct FileStamp {
    unsigned long long device = 0;
    unsigned long long inode = 0;
    long long modifiedSeconds = 0;
    long long modifiedNanoseconds = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The stamp of the file the name leads to, through links; nothing when there is none.
std::optional<FileStamp> StampOf(const QString& path);

}  // namespace veldorin
