#pragma once

#include <QObject>

class QAction;
class QMenu;
class QPoint;

namespace veldorin {

class GraphCanvas;

// The graph panel's menu on the right button: the picture to the clipboard, the picture
// saved as PNG or SVG, and the curves' values saved as CSV. It belongs to the panel.
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
};

}  // namespace veldorin
