// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QImage>
#include <QWidget>

#include "graph/draw_command.h"
#include "graph/sampled_curves.h"
#include "graph_panel/picture_export.h"
#include "graph_panel/picture_recording.h"
#include "ui/twips.h"

namespace veldorin {

// The graph panel. It keeps its picture in an image of its own size in
// device pixels and paints nothing but that image. A recalculation's drawing commands
// are replayed into the image in the user scale they set (x 0..width from the left,
// y 0..height from the top); line widths are in pixels. The axis caption is not part
// of the panel: it is handed on through axisCaptionChanged. The commands that drew the
// current picture and the values behind its curves are kept, so that the picture can be
// saved as a drawing and the curves as numbers.
class GraphCanvas : public QWidget {
    Q_OBJECT

public:
    GraphCanvas(const TwipScale& scale, QWidget* parent);

    void Replay(const DrawCommands& commands);
    // While held (holds nest), replays draw into the image without showing it; the last
    // release shows what was drawn meanwhile, once.
    void HoldPresentation();
    void ReleasePresentation();
    // The values behind the curves just drawn; a Clear forgets them with the picture.
    void KeepCurves(const SampledCurves& curves);

    const QImage& image() const { return image_; }
    // The current picture as commands, on the panel's surface.
    PanelPicture picture() const;
    const SampledCurves& curves() const { return curves_; }
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
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // An image that matches the panel's current size and pixel ratio; what was drawn
    // before a change of size stays in the top-left corner.
    void FitImage();
    QColor background() const;

    TwipScale twips_;
    QImage image_;
    PictureState state_;  // the user scale is empty until a run sets it: twips
    PictureRecording recording_;
    SampledCurves curves_;
    bool pressed_ = false;  // the left button went down over the panel
    int presentationHolds_ = 0;
    bool presentationPending_ = false;  // drawn while held, not yet shown
};

}  // namespace veldorin
