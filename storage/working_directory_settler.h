// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include "storage/settings_file.h"
#include "storage/startup_places.h"

namespace veldorin {

inline constexpr char kDataFolderName[] = "Lumen_Forge";
inline constexpr char kSettingsFileName[] = "VELDORIN.ini";

// The working directory start-up settled on.
struct SettledWorkingDirectory {
    QString workingDirectory;         // ends with '/'
    QString settingsFilePath;         // where a change of the directory is stored
    bool storedTextRejected = false;  // the settings file's text was refused; the default
                                      // replaced it
    bool inUserDataFolder = false;    // the program's folder could not hold the data folder
    bool settingsStored = false;      // the working directory was stored as the file's one line
};

// Settles the working directory at start-up: makes sure the data folder and its
// settings file exist, reads the stored directory and checks it, and falls back to the
// data folder itself when the stored one is missing, empty of ordinary files, or not a
// readable path. Always finishes: if even the default cannot be made valid, it is used
// as it is.
class WorkingDirectorySettler {
public:
    explicit WorkingDirectorySettler(StartupPlaces places);

    SettledWorkingDirectory Settle() const;

private:
    struct DataFolder {
        QString path;
        SettingsFile settings;
        bool inUserDataFolder;
    };

    // The first place whose data folder exists (created if needed) and holds a settings
    // file (created with the default if needed); the program's place when none does.
    DataFolder ChooseDataFolder() const;

    StartupPlaces places_;
};

}  // namespace veldorin
