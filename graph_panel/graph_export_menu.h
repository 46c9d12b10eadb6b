// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QKeySequence>
#include <QObject>

class QAction;
class QMenu;
class QPoint;

namespace veldorin {

class FigureSaver;
class GraphCanvas;

// The graph panel's menu on the right button: the picture to the clipboard, the picture
// saved as PNG or SVG, the curves' values saved as CSV, and the curves saved as a figure
// with axes and a legend. It belongs to the panel. The Menu key or Shift+F10 opens it
// while the panel has the keyboard; the saves have keys of their own, which the menu
// shows and which work anywhere in the panel's window.
class GraphExportMenu : public QObject {
    Q_OBJECT

public:
    explicit GraphExportMenu(GraphCanvas& canvas);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A save item with its key, in the menu and on the panel.
    QAction* AddSave(const QString& text, QKeySequence key, void (GraphExportMenu::*save)());
    void Show(const QPoint& position);
    void SaveFigure();
    void CopyPicture();
    void SavePictureAs();
    void SaveCurvesAs();

    GraphCanvas& canvas_;
    QMenu* menu_;
    QAction* saveCurves_;
    QAction* saveFigure_;
    FigureSaver* figureSaver_;
};

}  // namespace veldorin
