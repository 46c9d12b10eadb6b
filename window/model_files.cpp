// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/model_files.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <tuple>

#include "ui/save_dialog.h"

namespace veldorin {

namespace {

const QString kMessageTitle = QStringLiteral("VELDORIN");
const QString kModelSuffix = QStringLiteral("veldorin");
const QString kFilter = QStringLiteral("VELDORIN models (*.veldorin);;All files (*)");

}  // namespace

ModelFiles::ModelFiles(QWidget& window, QString caption, ModelDocument& document,
                       std::function<void()> showDocument, std::function<void()> recalculate)
    : QObject(&window),
      window_(window),
      caption_(std::move(caption)),
      document_(document),
      showDocument_(std::move(showDocument)),
      recalculate_(std::move(recalculate)) {
    const std::tuple<const char*, QKeySequence, void (ModelFiles::*)()> commands[] = {
        {"Open model…", QKeySequence(Qt::CTRL | Qt::Key_O), &ModelFiles::OpenChosenFile},
        {"Save model", QKeySequence(Qt::CTRL | Qt::Key_S), &ModelFiles::Save},
        {"Save model as…", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
         &ModelFiles::SaveAsChosenFile},
    };
    for (const auto& [text, key, command] : commands) {
        auto* action = new QAction(QString::fromUtf8(text), this);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setShortcutVisibleInContextMenu(true);
        connect(action, &QAction::triggered, this, command);
        actions_.append(action);
    }
}

std::optional<QString> ModelFiles::Open(const QString& path) {
    const ModelFileRead read = ReadModelFile(path);
    if (!read.document) return read.error;
    document_ = *read.document;
    showDocument_();
    Remember(path, document_);
    recalculate_();
    // The live fit of that run changed the values it fits, and no user did.
    fileDocument_ = document_;
    ShowWhetherModified();
    return std::nullopt;
}

std::optional<QString> ModelFiles::SaveTo(const QString& path) {
    if (auto error = WriteModelFile(path, document_)) return error;
    Remember(path, document_);
    return std::nullopt;
}

void ModelFiles::Remember(const QString& path, const ModelDocument& document) {
    currentPath_ = path;
    fileDocument_ = document;
    fileStamp_ = StampOf(path);
    window_.setWindowFilePath(path);
    window_.setWindowTitle(QStringLiteral("%1[*] - %2").arg(QFileInfo(path).fileName(), caption_));
    ShowWhetherModified();
}

void ModelFiles::LeaveFile() {
    currentPath_.clear();
    fileStamp_.reset();
    window_.setWindowFilePath(QString());
    window_.setWindowModified(false);
    window_.setWindowTitle(caption_);
}

void ModelFiles::ShowWhetherModified() {
    if (currentPath_.isEmpty()) return;  // no file: nothing to differ from, and no cost
    window_.setWindowModified(!SameModel(document_, fileDocument_));
}

bool ModelFiles::MayLeaveModel() {
    ShowWhetherModified();
    if (!window_.isWindowModified()) return true;
    const auto answer = QMessageBox::question(
        &window_, kMessageTitle,
        QStringLiteral("The model has changed since it was opened from or saved to %1.\n\n"
                       "Save the changes?")
            .arg(QFileInfo(currentPath_).fileName()),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Discard) return true;
    if (answer != QMessageBox::Save || !MayOverwrite()) return false;
    const auto error = SaveTo(currentPath_);
    if (error) Report(*error);
    return !error;
}

void ModelFiles::OpenChosenFile() {
    const QString path =
        QFileDialog::getOpenFileName(&window_, QStringLiteral("Open model"), currentPath_, kFilter);
    if (!path.isEmpty()) OpenAndReport(path);
}

void ModelFiles::Save() {
    if (currentPath_.isEmpty()) {
        SaveAsChosenFile();
        return;
    }
    if (!MayOverwrite()) return;
    if (const auto error = SaveTo(currentPath_)) Report(*error);
}

bool ModelFiles::MayOverwrite() {
    const std::optional<FileStamp> now = StampOf(currentPath_);
    if (!now || now == fileStamp_) return true;
    return QMessageBox::question(
               &window_, kMessageTitle,
               QStringLiteral("%1 was changed by another program since it was opened or saved "
                              "here.\n\nOverwrite it?")
                   .arg(QFileInfo(currentPath_).fileName()),
               QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

void ModelFiles::SaveAsChosenFile() {
    const QString path = ChooseSaveName(&window_, QStringLiteral("Save model as"), currentPath_,
                                        {{QStringLiteral("VELDORIN models"), kModelSuffix}});
    if (path.isEmpty()) return;
    if (const auto error = SaveTo(path)) Report(*error);
}

void ModelFiles::OpenAndReport(const QString& path) {
    if (!MayLeaveModel()) return;
    if (const auto error = Open(path)) Report(*error);
}

void ModelFiles::Report(const QString& error) {
    QMessageBox::warning(&window_, kMessageTitle, error);
}

}  // namespace veldorin
