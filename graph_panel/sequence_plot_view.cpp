// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "graph_panel/sequence_plot_view.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <iterator>

#include "graph_panel/figure_export.h"
#include "graph_panel/figure_saver.h"

namespace veldorin {

namespace {

constexpr double kMillimetresPerInch = 25.4;
constexpr double kRingLine = 0.25;     // mm
constexpr double kRingGap = 0.8;       // mm, between a mark and its ring
constexpr double kReadoutInset = 1.5;  // mm, from the plot's frame

}  // namespace

SequencePlotView::SequencePlotView(QWidget* parent)
    : QWidget(parent),
      menu_(new QMenu(this)),
      saver_(new FigureSaver(
          *this, FigureSource([this](double width, double height, const TextWidth& textWidth) {
              return LayOutSequencePlot(plot_, width, height, textWidth).figure;
          }))) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    QAction* save = menu_->addAction(tr("Save figure…"), saver_, &FigureSaver::Start);
    save->setObjectName("saveFigure");
}

void SequencePlotView::setPlot(SequencePlot plot) {
    plot_ = std::move(plot);
    layout_.reset();
    Point(-1);
    update();
}

double SequencePlotView::PixelsPerMillimetre() const { return logicalDpiX() / kMillimetresPerInch; }

const SequenceLayout& SequencePlotView::Layout() {
    if (!layout_) {
        const double scale = PixelsPerMillimetre();
        layout_ =
            LayOutSequencePlot(plot_, width() / scale, height() / scale, FigureTextWidth(*this));
    }
    return *layout_;
}

int SequencePlotView::PointAt(const QPointF& position) {
    const double scale = PixelsPerMillimetre();
    const auto nearest = NearestPoint(Layout(), {position.x() / scale, position.y() / scale});
    return nearest ? static_cast<int>(*nearest) : -1;
}

void SequencePlotView::Point(int index) {
    if (index == pointed_) return;
    pointed_ = index;
    update();
    Q_EMIT pointed(index);
}

void SequencePlotView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const SequenceLayout& layout = Layout();
    PaintFigureLayout(painter, layout.figure, PixelsPerMillimetre());
    PaintPointed(painter, layout);
}

// A ring around the pointed point's mark and its readout in the plot's top-left corner.
void SequencePlotView::PaintPointed(QPainter& painter, const SequenceLayout& layout) {
    if (pointed_ < 0) return;
    const auto mark = std::find(layout.pointOfMark.begin(), layout.pointOfMark.end(),
                                static_cast<std::size_t>(pointed_));
    if (mark == layout.pointOfMark.end()) return;
    const double scale = PixelsPerMillimetre();
    const FigureLayout& figure = layout.figure;
    const FigurePoint at =
        figure.points[static_cast<std::size_t>(std::distance(layout.pointOfMark.begin(), mark))].at;
    const double radius = (figure.pointWidth / 2.0 + kRingGap) * scale;
    painter.setPen(QPen(Qt::black, kRingLine * scale));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(at.x * scale, at.y * scale), radius, radius);

    const QString text =
        QString::fromStdString(PointReadout(plot_, static_cast<std::size_t>(pointed_)));
    painter.setFont(font());
    const QPointF corner((figure.plot.left + kReadoutInset) * scale,
                         (figure.plot.top + kReadoutInset) * scale);
    const QRectF box = painter.boundingRect(QRectF(corner, QSizeF(width(), height())),
                                            Qt::AlignLeft | Qt::AlignTop, text);
    painter.fillRect(box.adjusted(-2.0, -1.0, 2.0, 1.0), QColor(255, 255, 255, 220));
    painter.setPen(Qt::black);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop, text);
}

void SequencePlotView::resizeEvent(QResizeEvent* event) {
    layout_.reset();
    QWidget::resizeEvent(event);
}

void SequencePlotView::mouseMoveEvent(QMouseEvent* event) { Point(PointAt(event->position())); }

void SequencePlotView::mousePressEvent(QMouseEvent* event) {
    const int index = event->button() == Qt::LeftButton ? PointAt(event->position()) : -1;
    if (index >= 0) Q_EMIT chosen(index);
    QWidget::mousePressEvent(event);
}

void SequencePlotView::leaveEvent(QEvent* event) {
    Point(-1);
    QWidget::leaveEvent(event);
}

void SequencePlotView::contextMenuEvent(QContextMenuEvent* event) {
    menu_->popup(event->globalPos());
}

}  // namespace veldorin
