// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "graph_panel/graph_canvas.h"

#include <QAccessibleWidget>
#include <QMouseEvent>
#include <QPainter>

#include "graph_panel/picture_painter.h"

namespace veldorin {

namespace {

// To a screen reader the panel is a chart, not a bare area of the window.
QAccessibleInterface* ChartOf(const QString& className, QObject* object) {
    if (className != QLatin1String(GraphCanvas::staticMetaObject.className())) return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Chart);
}

}  // namespace

GraphCanvas::GraphCanvas(const TwipScale& scale, QWidget* parent) : QWidget(parent), twips_(scale) {
    static const bool chartRole = (QAccessible::installFactory(ChartOf), true);
    Q_UNUSED(chartRole);
    // The image covers the whole panel in opaque colours: what lies beneath need not be
    // painted first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Tab reaches the graph for its menu; a click enlarges it and leaves the keyboard be.
    setFocusPolicy(Qt::TabFocus);
}

QSizeF GraphCanvas::sizeInTwips() const {
    return {twips_.ToTwips(width()), twips_.ToTwips(height())};
}

QColor GraphCanvas::background() const { return palette().color(QPalette::Window); }

void GraphCanvas::FitImage() {
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (image_.size() == pixels && image_.devicePixelRatio() == ratio) return;
    QImage fitted(pixels, QImage::Format_ARGB32_Premultiplied);
    fitted.setDevicePixelRatio(ratio);
    fitted.fill(background());
    if (!image_.isNull()) {
        QPainter painter(&fitted);
        painter.drawImage(QPointF(0, 0), image_);
    }
    image_ = fitted;
}

void GraphCanvas::Replay(const DrawCommands& commands) {
    FitImage();
    recording_.Append(commands, state_);
    {
        QPainter painter(&image_);
        PicturePainter(painter, size(), sizeInTwips(), background(), state_,
                       PicturePainter::Surface::Image)
            .Play(commands);
    }
    for (const DrawCommand& command : commands) {
        if (std::holds_alternative<draw::Clear>(command)) curves_ = SampledCurves();
        if (const auto* caption = std::get_if<draw::SetAxisCaption>(&command)) {
            Q_EMIT axisCaptionChanged(QString::fromStdString(caption->text));
        }
    }
    if (presentationHolds_ > 0) {
        presentationPending_ = true;
    } else {
        update();
    }
}

void GraphCanvas::HoldPresentation() { ++presentationHolds_; }

void GraphCanvas::ReleasePresentation() {
    if (--presentationHolds_ > 0 || !presentationPending_) return;
    presentationPending_ = false;
    update();
}

void GraphCanvas::KeepCurves(const SampledCurves& curves) { curves_ = curves; }

PanelPicture GraphCanvas::picture() const {
    return {recording_, size(), sizeInTwips(), background()};
}

void GraphCanvas::paintEvent(QPaintEvent*) {
    FitImage();
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), image_);
    // Over the picture, not in it: a saved or copied picture has no ring. Inverted, the
    // ring shows on any background the plot has.
    if (hasFocus()) {
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.setPen(QPen(Qt::white, 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(1, 1, -2, -2));
    }
}

void GraphCanvas::focusInEvent(QFocusEvent*) { update(); }

void GraphCanvas::focusOutEvent(QFocusEvent*) { update(); }

void GraphCanvas::resizeEvent(QResizeEvent*) { FitImage(); }

void GraphCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) pressed_ = true;
}

void GraphCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const bool click = pressed_ && rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click) Q_EMIT clicked();
}

}  // namespace veldorin
