// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "protein_window/opened_file_kind.h"

#include <QFile>
#include <string_view>

namespace veldorin {

namespace {

// Enough to pass a byte-order mark and blank lines.
constexpr std::size_t kLookedAtBytes = 4096;

}  // namespace

OpenedFileKind KindOfFile(const QString& path) {
    if (path.endsWith(QStringLiteral(".veldorin-protein"), Qt::CaseInsensitive)) {
        return OpenedFileKind::ProteinProject;
    }
    if (path.endsWith(QStringLiteral(".veldorin"), Qt::CaseInsensitive)) {
        return OpenedFileKind::Model;
    }
    // A file that cannot be read goes to the model files, which say why.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return OpenedFileKind::Model;
    const QByteArray start = file.read(kLookedAtBytes);
    std::string_view bytes(start.constData(), static_cast<std::size_t>(start.size()));
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    const std::size_t first = bytes.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && bytes[first] == '{' ? OpenedFileKind::Model
                                                                  : OpenedFileKind::ProteinData;
}

}  // namespace veldorin
