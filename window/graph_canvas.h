#pragma once

#include <QImage>
#include <QWidget>

#include "graph/draw_command.h"
#include "ui/twips.h"

namespace veldorin {

// The graph panel. It keeps its picture in an image of its own size in
// device pixels and paints nothing but that image. A recalculation's drawing commands
// are replayed into the image in the user scale they set (x 0..width from the left,
// y 0..height from the top); line widths are in pixels. The axis caption is not part
// of the panel: it is passed on through axisCaptionChanged.
class GraphCanvas : public QWidget {
    Q_OBJECT

public:
    GraphCanvas(const TwipScale& scale, QWidget* parent);

    void Replay(const DrawCommands& commands);

    const QImage& image() const { return image_; }
    // The panel's size in twips, the user scale a recalculation asks for.
    QSizeF sizeInTwips() const;

Q_SIGNALS:
    void axisCaptionChanged(const QString& caption);
    // The left button was pressed and released again over the panel.
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct Painting;

    // An image that matches the panel's current size and pixel ratio; what was drawn
    // before a change of size stays in the top-left corner.
    void FitImage();
    QColor background() const;

    TwipScale twips_;
    QImage image_;
    QSizeF userScale_;  // empty until a run sets it: twips
    int lineWidth_ = 1;
    QColor foreground_{Qt::black};
    bool pressed_ = false;  // the left button went down over the panel
};

}  // namespace veldorin
