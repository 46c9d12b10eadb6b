// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QGroupBox>
#include <QString>
#include <optional>

#include "storage/settings_file.h"
#include "ui/twips.h"

class QFrame;
class QLabel;
class QLineEdit;

namespace veldorin {

class DirectoryBox;
class DirectoryList;

// The Options panel: the directory box holding the working directory, and the directory
// list in which the user opens another folder. Opening a folder makes it the working
// directory and stores it in the settings file at once. Text typed into the box is the
// working directory too, but is not stored. Hidden until Open().
class OptionsPanel : public QGroupBox {
    Q_OBJECT

public:
    OptionsPanel(const TwipScale& scale, SettingsFile settings, QWidget* parent = nullptr);

    // Shows the panel at its full height, over the controls it covers.
    void Open();

    // Start-up: where a change of the directory is stored from now on.
    void UseSettingsFile(SettingsFile settings);

    // Start-up: the settled working directory into the box and the list; stores nothing.
    void ShowWorkingDirectory(const QString& workingDirectory);

    // The box's text, as the next recalculation reads it.
    QString WorkingDirectory() const;

    // A press of any mouse button in the box shows the directory list.
    void ShowDirectoryList();

    // The list's path changed: the box becomes that path and '/', and the settings file is
    // rewritten with it. The box changes even when the file cannot be written; the result
    // is why it was not, if so. Neither recalculates nor changes the current directory.
    std::optional<QString> StoreListedDirectory();

    // The pointer crossed a frame while the panel is open.
    void HideDirectoryList();

    QLineEdit* directoryBox() const;
    DirectoryList* directoryList() const { return directoryList_; }
    QLabel* directoryCaption() const { return directoryCaption_; }

Q_SIGNALS:
    // The user opened a folder in the list; the argument is the new working directory.
    void workingDirectoryChanged(const QString& workingDirectory);
    // The folder the user opened in the list could not be stored for the next start.
    void workingDirectoryNotStored(const QString& why);
    // The pointer moved over the panel's own background (not over one of its controls);
    // the directory list has been hidden. Moves over the panel never reach the window.
    void backgroundPointerMoved();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    TwipScale scale_;
    SettingsFile settings_;
    QLabel* directoryCaption_;
    DirectoryBox* directoryBox_;
    DirectoryList* directoryList_;
    QFrame* separator_;
};

}  // namespace veldorin
