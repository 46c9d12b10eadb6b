// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

namespace veldorin {

enum class OpenedFileKind { Model, ProteinProject, ProteinData };

// What a file named on the command line or dropped on a window holds, by its ending and
// its first characters: a protein project (".veldorin-protein"), a model (another JSON
// object), or a protein's relaxation data (anything else, read as such).
OpenedFileKind KindOfFile(const QString& path);

}  // namespace veldorin
