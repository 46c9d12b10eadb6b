// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "graph_panel/graph_export_menu.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>

#include "graph_panel/figure_saver.h"
#include "graph_panel/graph_canvas.h"
#include "graph_panel/picture_export.h"
#include "ui/save_dialog.h"

namespace veldorin {

GraphExportMenu::GraphExportMenu(GraphCanvas& canvas)
    : QObject(&canvas),
      canvas_(canvas),
      menu_(new QMenu(&canvas)),
      figureSaver_(new FigureSaver(canvas)) {
    menu_->addAction(tr("Copy picture"), this, &GraphExportMenu::CopyPicture);
    // Ctrl+Shift+S saves the model under a new name; these take the save's other letters.
    AddSave(tr("Save picture as…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P),
            &GraphExportMenu::SavePictureAs);
    saveCurves_ = AddSave(tr("Save curves as…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C),
                          &GraphExportMenu::SaveCurvesAs);
    saveFigure_ = AddSave(tr("Save figure…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F),
                          &GraphExportMenu::SaveFigure);
    saveFigure_->setObjectName("saveFigure");
    // Out of the menu the keys stay live; a save without curves then does nothing.
    connect(menu_, &QMenu::aboutToHide, this, [this] {
        saveCurves_->setEnabled(true);
        saveFigure_->setEnabled(true);
    });
    canvas.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&canvas, &QWidget::customContextMenuRequested, this, &GraphExportMenu::Show);
    canvas.installEventFilter(this);
}

QAction* GraphExportMenu::AddSave(const QString& text, QKeySequence key,
                                  void (GraphExportMenu::*save)()) {
    QAction* action = menu_->addAction(text, this, save);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WindowShortcut);
    action->setShortcutVisibleInContextMenu(true);
    canvas_.addAction(action);
    return action;
}

// Where the pointer is would be anywhere: the keyboard's menu opens in the panel's middle.
bool GraphExportMenu::eventFilter(QObject*, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const QKeyCombination key = static_cast<const QKeyEvent*>(event)->keyCombination();
    if (key != QKeyCombination(Qt::Key_Menu) && key != (Qt::SHIFT | Qt::Key_F10)) return false;
    Show(canvas_.rect().center());
    return true;
}

void GraphExportMenu::Show(const QPoint& position) {
    saveCurves_->setEnabled(!canvas_.curves().curves.empty());
    saveFigure_->setEnabled(saveCurves_->isEnabled());
    menu_->popup(canvas_.mapToGlobal(position));
}

void GraphExportMenu::SaveFigure() {
    if (!canvas_.curves().curves.empty()) figureSaver_->Start();
}

void GraphExportMenu::CopyPicture() { QGuiApplication::clipboard()->setImage(canvas_.image()); }

void GraphExportMenu::SavePictureAs() {
    const QString path =
        ChooseSaveName(&canvas_, tr("Save picture as"), QString(),
                       {{tr("PNG picture"), QStringLiteral("png")},
                        {tr("SVG drawing, sharp at any size"), QStringLiteral("svg")}});
    if (path.isEmpty()) return;
    if (const auto failure = SavePicture(canvas_.picture(), canvas_.image(), path)) {
        QMessageBox::warning(&canvas_, tr("Save picture as"), *failure);
    }
}

void GraphExportMenu::SaveCurvesAs() {
    if (canvas_.curves().curves.empty()) return;
    const QString path = ChooseSaveName(&canvas_, tr("Save curves as"), QString(),
                                        {{tr("Comma-separated values"), QStringLiteral("csv")}});
    if (path.isEmpty()) return;
    if (const auto failure = SaveCurves(canvas_.curves(), path)) {
        QMessageBox::warning(&canvas_, tr("Save curves as"), *failure);
    }
}

}  // namespace veldorin
