// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "graph_panel/figure_view.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>

#include "graph_panel/figure_saver.h"

namespace veldorin {

namespace {

constexpr double kMillimetresPerInch = 25.4;

FigureLayout Empty(double width, double height, const TextWidth&) {
    FigureLayout figure;
    figure.width = width;
    figure.height = height;
    return figure;
}

}  // namespace

FigureView::FigureView(QWidget* parent)
    : QWidget(parent),
      source_(Empty),
      menu_(new QMenu(this)),
      saver_(new FigureSaver(
          *this, FigureSource([this](double width, double height, const TextWidth& textWidth) {
              return source_.layOut(width, height, textWidth);
          }))) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    QAction* save = menu_->addAction(tr("Save figure…"), saver_, &FigureSaver::Start);
    save->setObjectName("saveFigure");
}

void FigureView::setSource(FigureSource source) {
    source_ = std::move(source);
    figure_.reset();
    update();
}

double FigureView::PixelsPerMillimetre() const { return logicalDpiX() / kMillimetresPerInch; }

const FigureLayout& FigureView::figure() {
    if (!figure_) {
        const double scale = PixelsPerMillimetre();
        figure_ = source_.layOut(width() / scale, height() / scale, FigureTextWidth(*this));
    }
    return *figure_;
}

void FigureView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    PaintFigureLayout(painter, figure(), PixelsPerMillimetre());
}

void FigureView::resizeEvent(QResizeEvent* event) {
    figure_.reset();
    QWidget::resizeEvent(event);
}

void FigureView::contextMenuEvent(QContextMenuEvent* event) { menu_->popup(event->globalPos()); }

}  // namespace veldorin
