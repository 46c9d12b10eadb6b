// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "storage/working_directory_settler.h"

#include <QDir>
#include <QFileInfo>
#include <utility>

#include "storage/working_directory.h"

namespace veldorin {
namespace {

QString DataFolderIn(const QString& base) {
    return QDir(base).filePath(QLatin1String(kDataFolderName));
}

QString SettingsFileIn(const QString& dataFolder) {
    return QDir(dataFolder).filePath(QLatin1String(kSettingsFileName));
}

}  // namespace

WorkingDirectorySettler::WorkingDirectorySettler(StartupPlaces places)
    : places_(std::move(places)) {}

WorkingDirectorySettler::DataFolder WorkingDirectorySettler::ChooseDataFolder() const {
    struct Place {
        const QString& base;
        bool inUserDataFolder;
    };
    const Place places[] = {{places_.programDirectory, false}, {places_.userDataDirectory, true}};
    for (const Place& place : places) {
        if (place.base.isEmpty() || (!place.inUserDataFolder && places_.programDirectoryShared)) {
            continue;
        }
        const QString folder = DataFolderIn(place.base);
        if (!QDir().mkpath(folder)) {
            continue;
        }
        DataFolder candidate{folder, SettingsFile(SettingsFileIn(folder)), place.inUserDataFolder};
        if (QFileInfo::exists(candidate.settings.Path()) ||
            !candidate.settings.Store(WorkingDirectoryText(folder))) {
            return candidate;
        }
    }
    const bool inUserDataFolder =
        places_.programDirectoryShared && !places_.userDataDirectory.isEmpty();
    const QString folder =
        DataFolderIn(inUserDataFolder ? places_.userDataDirectory : places_.programDirectory);
    return {folder, SettingsFile(SettingsFileIn(folder)), inUserDataFolder};
}

SettledWorkingDirectory WorkingDirectorySettler::Settle() const {
    // A rejected setting is deleted and the sequence runs once more, which stores the
    // default; should that fail too (the file cannot be deleted or read), another pass
    // could only repeat it, so start-up goes on with the default.
    constexpr int kPasses = 2;
    bool rejected = false;
    DataFolder folder = ChooseDataFolder();
    for (int pass = 1;; ++pass) {
        const SettingsRead stored = folder.settings.ReadFirstLine();
        if (stored.status == SettingsReadStatus::Read && IsAcceptedWorkingDirectory(stored.line)) {
            // Showing the directory in the list at every start stores the list's own
            // form of it as the file's one line, as a change of the list does.
            const QString text = WorkingDirectoryText(stored.line);
            const bool written = !folder.settings.Store(text);
            return {text, folder.settings.Path(), rejected, folder.inUserDataFolder, written};
        }
        if (stored.status == SettingsReadStatus::Missing) {
            break;  // no settings file could be made: nothing to reject or retry
        }
        rejected = true;
        folder.settings.Remove();
        if (pass == kPasses) {
            break;
        }
        folder = ChooseDataFolder();
    }
    return {WorkingDirectoryText(folder.path), folder.settings.Path(), rejected,
            folder.inUserDataFolder, false};
}

}  // namespace veldorin
