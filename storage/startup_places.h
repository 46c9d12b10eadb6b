// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

namespace veldorin {

// Where start-up looks for the program's data folder "Lumen_Forge".
struct StartupPlaces {
    QString programDirectory;   // the folder that holds the program file
    QString userDataDirectory;  // the user's own data folder, used when the program's folder
                                // cannot hold "Lumen_Forge"; empty means there is none
    // The program is installed for all users (in a system folder such as /usr/bin): its
    // folder is never written to, even by a user who could.
    bool programDirectoryShared = false;

    // The running program's places; needs the application object.
    static StartupPlaces OfThisProgram();

    // Whether a program folder belongs to the system rather than to a user.
    static bool IsSystemProgramFolder(const QString& folder);
};

}  // namespace veldorin
