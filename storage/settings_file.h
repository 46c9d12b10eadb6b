// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <optional>

namespace veldorin {

// What reading the settings file found.
enum class SettingsReadStatus {
    Read,        // the first line was read
    Missing,     // there is no file
    Unreadable,  // not an ordinary file, or it could not be opened or read
    Empty,       // the first line is empty
    NotText,     // the first line holds a NUL byte or bytes that are not in the 8-bit encoding
    TooLong,     // the first line is longer than SettingsFile::kMaxLineBytes
};

struct SettingsRead {
    SettingsReadStatus status;
    QString line;  // the first line without its line break; empty unless status is Read
};

// The one-line settings file: the working directory, in the platform's 8-bit encoding,
// followed by CR LF. Only the first line counts; the rest is ignored and lost at the
// next write.
class SettingsFile {
public:
    // Longest first line accepted; a folder path never comes near it.
    static constexpr qint64 kMaxLineBytes = 4096;

    explicit SettingsFile(QString path);

    const QString& Path() const { return path_; }

    // The first line, up to CR LF or LF alone; never reads more than a maximal line.
    SettingsRead ReadFirstLine() const;

    // Makes the line and CR LF the whole file, through SaveAside: a failed write leaves
    // the old file as it was, and a file that already holds exactly that is left alone.
    // Nothing when the line is stored; otherwise why not (the line cannot be one line
    // of the encoding, or the file cannot be written).
    std::optional<QString> Store(const QString& line) const;

    // Deletes the file; true when it is gone afterwards.
    bool Remove() const;

private:
    QString path_;
};

}  // namespace veldorin
