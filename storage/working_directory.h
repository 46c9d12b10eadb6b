// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

namespace veldorin {

// A folder path as the working directory's text: cleaned, '/' as separator, ending with
// exactly one '/' (the root stays "/"), so appending "table.dat" names a file inside it.
QString WorkingDirectoryText(const QString& directoryPath);

// True when the folder holds at least one ordinary file. Hidden files (names beginning
// with a dot, or hidden by the platform), system entries and subdirectories do not count.
bool HoldsOrdinaryFile(const QString& directoryPath);

// A stored working directory is accepted when it is an absolute path of an existing
// folder that holds an ordinary file. A relative path is refused: its meaning would
// depend on where the program happened to be started from.
bool IsAcceptedWorkingDirectory(const QString& storedText);

// Makes the working directory the process's current directory; false if it cannot.
// Kept apart from settling the directory so that only the window changes process state.
bool EnterWorkingDirectory(const QString& workingDirectory);

}  // namespace veldorin
