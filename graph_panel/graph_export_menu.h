// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

class QAction;
class QMenu;
class QPoint;

namespace veldorin {

class FigureSaver;
class GraphCanvas;

// The graph panel's menu on the right button: the picture to the clipboard, the picture
// saved as PNG or SVG, the curves' values saved as CSV, and the curves saved as a figure
// with axes and a legend. It belongs to the panel.
class GraphExportMenu : public QObject {
    Q_OBJECT

public:
    explicit GraphExportMenu(GraphCanvas& canvas);

private:
    void Show(const QPoint& position);
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
