// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "graph_panel/graph_export_menu.h"

#include <QClipboard>
#include <QGuiApplication>
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
    menu_->addAction(tr("Save picture as…"), this, &GraphExportMenu::SavePictureAs);
    saveCurves_ = menu_->addAction(tr("Save curves as…"), this, &GraphExportMenu::SaveCurvesAs);
    saveFigure_ = menu_->addAction(tr("Save figure…"), figureSaver_, &FigureSaver::Start);
    saveFigure_->setObjectName("saveFigure");
    canvas.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&canvas, &QWidget::customContextMenuRequested, this, &GraphExportMenu::Show);
}

void GraphExportMenu::Show(const QPoint& position) {
    saveCurves_->setEnabled(!canvas_.curves().curves.empty());
    saveFigure_->setEnabled(saveCurves_->isEnabled());
    menu_->popup(canvas_.mapToGlobal(position));
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
    const QString path = ChooseSaveName(&canvas_, tr("Save curves as"), QString(),
                                        {{tr("Comma-separated values"), QStringLiteral("csv")}});
    if (path.isEmpty()) return;
    if (const auto failure = SaveCurves(canvas_.curves(), path)) {
        QMessageBox::warning(&canvas_, tr("Save curves as"), *failure);
    }
}

}  // namespace veldorin
