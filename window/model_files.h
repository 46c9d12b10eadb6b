// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

#include "files/file_stamp.h"
#include "storage/model_file.h"

class QAction;
class QWidget;

namespace veldorin {

// Opens and saves model files for the window. A file that cannot be read leaves the
// window as it was and says why; saving writes aside and renames, so a failed save
// never loses the old file. The file last opened or saved is the one Save writes to.
class ModelFiles : public QObject {
    Q_OBJECT

public:
    // `caption` is the window's title without a file; `showDocument` shows the document
    // in every window; `recalculate` runs once after a model is shown.
    ModelFiles(QWidget& window, QString caption, ModelDocument& document,
               std::function<void()> showDocument, std::function<void()> recalculate);

    // Makes the file's model the document, shows it and recalculates; the error, naming
    // the file, if the file does not hold a model (the document is then unchanged).
    std::optional<QString> Open(const QString& path);
    // Writes the document to the file; the error, naming the file, if it could not.
    std::optional<QString> SaveTo(const QString& path);

    // What the keys, the context menus and a dropped file do: dialogs and messages.
    void OpenChosenFile();
    void Save();
    void SaveAsChosenFile();
    void OpenAndReport(const QString& path);
    // Open, Save and Save as, with their keys (Ctrl+O, Ctrl+S, Ctrl+Shift+S), which a
    // context menu shows too; the window takes them for its keys.
    QList<QAction*> actions() const { return actions_; }

    // Marks the window's title when the shown model differs from its file's; after every
    // change of the model.
    void ShowWhetherModified();
    // Before the window leaves the model (it closes, another model is opened): when the
    // model came from a file and changed since, asks to save it, to discard the changes or
    // to cancel. True when the model may go.
    bool MayLeaveModel();

    // The window's model no longer comes from a file (a protein's residue replaced it):
    // the title loses the file's name, and Save asks for one.
    void LeaveFile();

    const QString& currentPath() const { return currentPath_; }

private:
    void Report(const QString& error);
    // Before Save writes to the file last opened or saved: when another program has
    // replaced or changed it since, asks whether to overwrite it. True when it may be.
    bool MayOverwrite();
    // The file the window's model now comes from, as opened or saved.
    void Remember(const QString& path, const ModelDocument& document);

    QWidget& window_;
    QString caption_;
    ModelDocument& document_;
    std::function<void()> showDocument_;
    std::function<void()> recalculate_;
    QString currentPath_;
    // The model as the file at currentPath_ holds it, after the run that showed it opened:
    // what the live fit changed then is no change of the user's.
    ModelDocument fileDocument_;
    std::optional<FileStamp> fileStamp_;  // that file as last opened or saved
    QList<QAction*> actions_;
};

}  // namespace veldorin
