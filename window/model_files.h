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
#include "window/layout.h"
#include "window/window_state.h"

class QAction;
class QWidget;

namespace veldorin {

// The model the window shows, as a document: the texts of its controls exactly as typed,
// the table mode, the graph option and array mode.
ModelDocument DocumentOf(const WindowControls& controls, const WindowState& state);

// Opens and saves model files for the window. A file that cannot be read leaves the
// window as it was and says why; saving writes aside and renames, so a failed save
// never loses the old file. The file last opened or saved is the one Save writes to.
class ModelFiles : public QObject {
    Q_OBJECT

public:
    // `caption` is the window's title without a file; `showState` shows the state's
    // captions and array controls; `recalculate` runs once after a model is shown.
    ModelFiles(QWidget& window, QString caption, const WindowControls& controls, WindowState& state,
               std::function<void()> showState, std::function<void()> recalculate);

    // Shows the model of the file and recalculates; the error, naming the file, if the
    // file does not hold a model (the window is then unchanged).
    std::optional<QString> Open(const QString& path);
    // Writes the shown model to the file; the error, naming the file, if it could not.
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
    // Before the model is put aside (the window closes, another model is opened): when it
    // came from a file and changed since, asks to save it, to discard the changes or to
    // cancel. True when the model may go.
    bool MayPutAside();

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
    const WindowControls& controls_;
    WindowState& state_;
    std::function<void()> showState_;
    std::function<void()> recalculate_;
    QString currentPath_;
    ModelDocument fileDocument_;          // the model as the file at currentPath_ holds it
    std::optional<FileStamp> fileStamp_;  // that file as last opened or saved
    QList<QAction*> actions_;
};

}  // namespace veldorin
