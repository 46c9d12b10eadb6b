// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/model_files.h"

#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <tuple>

#include "spins/spin_diagram.h"
#include "ui/save_dialog.h"
#include "window/main_window_side.h"

namespace veldorin {

namespace {

const QString kMessageTitle = QStringLiteral("VELDORIN");
const QString kModelSuffix = QStringLiteral("veldorin");
const QString kFilter = QStringLiteral("VELDORIN models (*.veldorin);;All files (*)");

}  // namespace

ModelDocument DocumentOf(const WindowControls& controls, const WindowState& state) {
    ModelDocument document;
    document.texts = ModelTextsOf(controls, state);
    document.plotMode = PlotModeAt(controls.plotList->currentIndex()).value_or(PlotMode::Rates);
    document.arrayOn = state.arrayOn;
    document.arrayParameter =
        ArrayParameterAt(controls.arrayParameterList->currentIndex()).value_or(ArrayParameter::C1);
    document.motion = state.motion;
    document.measurements = state.measurements;
    const MotionFitChoice& choice = state.fitChoice;
    document.fit = {choice.free, choice.rex, choice.csa, state.liveFit};
    return document;
}

ModelFiles::ModelFiles(QWidget& window, QString caption, const WindowControls& controls,
                       WindowState& state, std::function<void()> showState,
                       std::function<void()> recalculate)
    : QObject(&window),
      window_(window),
      caption_(std::move(caption)),
      controls_(controls),
      state_(state),
      showState_(std::move(showState)),
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
    const ModelDocument& document = *read.document;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        controls_.spinDiagram->ShowSlot(slot, document.texts.slots[slot]);
    }
    for (int row = 0; row < kLorentzianCount; ++row) {
        controls_.weightBoxes[row]->setText(QString::fromStdString(document.texts.weights[row]));
        controls_.timeBoxes[row]->setText(QString::fromStdString(document.texts.times[row]));
    }
    controls_.csaBox->setEditText(QString::fromStdString(document.texts.csa));
    controls_.rexBox->setEditText(QString::fromStdString(document.texts.rex));
    controls_.plotList->setCurrentIndex(static_cast<int>(document.plotMode));
    controls_.arrayParameterList->setCurrentIndex(static_cast<int>(document.arrayParameter));
    state_.tableMode = document.texts.tableMode;
    state_.arrayOn = document.arrayOn;
    state_.pairFrequencies = document.texts.pairFrequencies;
    state_.motion = document.motion;
    state_.measurements = document.measurements;
    state_.fitChoice = {document.fit.free, document.fit.rex, document.fit.csa};
    state_.liveFit = document.fit.live;
    showState_();
    Remember(path, document);
    recalculate_();
    return std::nullopt;
}

std::optional<QString> ModelFiles::SaveTo(const QString& path) {
    const ModelDocument document = DocumentOf(controls_, state_);
    if (auto error = WriteModelFile(path, document)) return error;
    Remember(path, document);
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

void ModelFiles::ShowWhetherModified() {
    if (currentPath_.isEmpty()) return;  // no file: nothing to differ from, and no cost
    window_.setWindowModified(!SameModel(DocumentOf(controls_, state_), fileDocument_));
}

bool ModelFiles::MayPutAside() {
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
    if (!MayPutAside()) return;
    if (const auto error = Open(path)) Report(*error);
}

void ModelFiles::Report(const QString& error) {
    QMessageBox::warning(&window_, kMessageTitle, error);
}

}  // namespace veldorin
